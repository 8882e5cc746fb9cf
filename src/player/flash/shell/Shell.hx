import flash.Lib;
import flash.display.Loader;
import flash.display.MovieClip;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.external.ExternalInterface;
import flash.net.URLRequest;
import flash.system.ApplicationDomain;
import flash.system.LoaderContext;

// The ActionScript 3 shell: loads the movie at the "lumoraMovie" parameter into an application
// domain of its own (its classes may carry the same names as ours) and answers the host's frame
// questions for the movie's root timeline. It draws nothing itself.
class Shell {
	var content:MovieClip;
	var loop:Bool;

	static function main() {
		new Shell();
	}

	function new() {
		Lib.current.stop();
		var params:Dynamic = Lib.current.loaderInfo.parameters;
		loop = Reflect.field(params, "lumoraLoop") != "0";
		var loader = new Loader();
		var info = loader.contentLoaderInfo;
		info.addEventListener(Event.INIT, function(_) content = Std.downcast(loader.content, MovieClip));
		// A movie that cannot be read leaves the shell empty; the host sees no frames move.
		info.addEventListener(IOErrorEvent.IO_ERROR, function(_) {});
		Lib.current.addChild(loader);
		Lib.current.addEventListener(Event.ENTER_FRAME, function(_) holdAtEnd());
		registerCallbacks();
		var address:String = Reflect.field(params, "lumoraMovie");
		if (address != null)
			loader.load(new URLRequest(address), new LoaderContext(false, new ApplicationDomain()));
	}

	// Without loop the movie stays on its last frame rather than starting over.
	function holdAtEnd() {
		if (!loop && content != null && content.totalFrames > 1 && frame() == content.totalFrames)
			content.stop();
	}

	// currentFrame counts within the current scene; the host counts the whole timeline.
	function frame():Int {
		var start = 0;
		for (scene in content.scenes) {
			if (scene.name == content.currentScene.name)
				return start + content.currentFrame;
			start += scene.numFrames;
		}
		return content.currentFrame;
	}

	function goto(frame:Int, play:Bool) {
		var start = 0;
		for (scene in content.scenes) {
			if (frame <= start + scene.numFrames) {
				if (play)
					content.gotoAndPlay(frame - start, scene.name);
				else
					content.gotoAndStop(frame - start, scene.name);
				return;
			}
			start += scene.numFrames;
		}
	}

	function registerCallbacks() {
		if (!ExternalInterface.available)
			return;
		ExternalInterface.addCallback("lumoraFrame", function() return content == null ? 1 : frame());
		// Zero until the movie is in: the host keeps the header's count meanwhile.
		ExternalInterface.addCallback("lumoraTotal", function() return content == null ? 0 : content.totalFrames);
		ExternalInterface.addCallback("lumoraGoto", function(frame:Int, play:Bool) if (content != null) goto(frame, play));
		ExternalInterface.addCallback("lumoraPlay", function() if (content != null) content.play());
		ExternalInterface.addCallback("lumoraStop", function() if (content != null) content.stop());
		ExternalInterface.addCallback("lumoraIsPlaying", function() return content == null || content.isPlaying);
	}
}
