import flash.Lib;
import flash.display.Shape;
import flash.events.Event;
import flash.text.TextField;
import flash.text.TextFormat;

// A demo ActionScript 3 programme: its root timeline has many frames (added after compiling);
// each frame draws a bar as long as the frame number and the number itself. The parameter
// "stopAt" makes the movie stop itself on that frame, as movies that wait for a click do.
class Movie {
	static function main() {
		var root = Lib.current;
		var bar = new Shape();
		var label = new TextField();
		label.defaultTextFormat = new TextFormat("_sans", 48, 0xffffff);
		label.width = 400;
		label.height = 80;
		label.y = 120;
		root.addChild(bar);
		root.addChild(label);
		var stopAt = Std.parseInt(Reflect.field(root.loaderInfo.parameters, "stopAt"));
		if (stopAt != null && stopAt > 0)
			root.addFrameScript(stopAt - 1, root.stop);
		function draw(_) {
			var frame = root.currentFrame;
			bar.graphics.clear();
			bar.graphics.beginFill(0x30a0f0);
			bar.graphics.drawRect(0, 0, 20 * frame, 100);
			bar.graphics.endFill();
			label.text = frame + " / " + root.totalFrames;
		}
		root.addEventListener(Event.ENTER_FRAME, draw);
		draw(null);
	}
}
