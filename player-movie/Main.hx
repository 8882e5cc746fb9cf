import flash.Lib;
import flash.display.StageAlign;
import flash.display.StageDisplayState;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.events.NetStatusEvent;
import flash.events.SecurityErrorEvent;
import flash.events.AsyncErrorEvent;
import flash.events.IOErrorEvent;
import flash.external.ExternalInterface;
import flash.media.Video;
import flash.net.NetConnection;
import flash.net.NetStream;

// The video player movie: plays the FLV named by the "file" start parameter, shows a player bar
// and answers the page through ExternalInterface (getDuration, getPosition, getPlayState,
// sendEvent).
class Main {
	// Play states as the page reads them.
	public static inline var STOPPED = 0;
	public static inline var PLAYING = 1;
	public static inline var PAUSED = 2;

	// The file name that asks for an empty player.
	static inline var BLANK_FILE = "0.swf";

	var file:String;
	var overstretch:Bool;
	var showBar:Bool;
	var stream:NetStream;
	var video:Video;
	var bar:PlayerBar;
	var state = STOPPED;
	var duration = 0.0;
	// The video's own size from its metadata, for the letterboxed layout.
	var videoWidth = 0.0;
	var videoHeight = 0.0;
	var fullScreenSince = -FULL_SCREEN_GRACE_MS;
	static inline var FULL_SCREEN_GRACE_MS = 1000;
	static inline var ESCAPE = 27;

	static function main() {
		new Main();
	}

	function new() {
		var stage = Lib.current.stage;
		stage.scaleMode = StageScaleMode.NO_SCALE;
		stage.align = StageAlign.TOP_LEFT;

		var params:Dynamic = Lib.current.loaderInfo.parameters;
		file = param(params, "file");
		overstretch = param(params, "overstretch") != "false";
		showBar = param(params, "showplayerbar") != "false";
		var blank = file == "" || file == BLANK_FILE;

		registerCallbacks();
		if (blank)
			return;

		video = new Video();
		video.smoothing = true;
		Lib.current.addChild(video);
		if (showBar) {
			bar = new PlayerBar(param(params, "showdigits") != "false");
			bar.onPlayPause = playPause;
			bar.onSeek = function(fraction) seek(fraction * duration);
			bar.onFullScreen = toggleFullScreen;
			Lib.current.addChild(bar);
		}
		stage.addEventListener(Event.RESIZE, function(_) layout());
		// The host page does not leave full screen on Esc by itself; the movie does.
		stage.addEventListener(KeyboardEvent.KEY_DOWN, function(event:KeyboardEvent) {
			if (event.keyCode == ESCAPE && stage.displayState != StageDisplayState.NORMAL)
				stage.displayState = StageDisplayState.NORMAL;
		});
		Lib.current.addEventListener(Event.ENTER_FRAME, function(_) refreshBar());
		layout();

		var connection = new NetConnection();
		connection.connect(null);
		stream = new NetStream(connection);
		stream.client = {onMetaData: onMetaData};
		stream.addEventListener(NetStatusEvent.NET_STATUS, onStatus);
		// Unhandled error events would end the movie's scripts; a bad file just stays stopped.
		stream.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
		stream.addEventListener(SecurityErrorEvent.SECURITY_ERROR, function(event) {
			note(event.type + " " + event.text);
			state = STOPPED;
		});
		stream.addEventListener(IOErrorEvent.IO_ERROR, function(event) {
			note(event.type + " " + event.text);
			state = STOPPED;
		});
		video.attachNetStream(stream);
		if (param(params, "autostart") != "false")
			start();
	}

	// What the stream says goes to the page's console, and from there to the program's log.
	static function note(text:String) {
		if (!ExternalInterface.available)
			return;
		try {
			ExternalInterface.call("console.info", "player movie: " + text);
		} catch (e:Dynamic) {}
	}

	static function param(params:Dynamic, name:String):String {
		var value:Dynamic = Reflect.field(params, name);
		return value == null ? "" : Std.string(value);
	}

	function registerCallbacks() {
		if (!ExternalInterface.available)
			return;
		try {
			ExternalInterface.addCallback("getDuration", function() return duration);
			ExternalInterface.addCallback("getPosition", position);
			ExternalInterface.addCallback("getPlayState", function() return state);
			ExternalInterface.addCallback("sendEvent", sendEvent);
		} catch (e:Dynamic) {
			// Without script access the movie still plays; the page just cannot drive it.
		}
	}

	function position():Float {
		return stream == null ? 0 : stream.time;
	}

	// Events from the page: "playpause" toggles, "position" jumps to the given second.
	function sendEvent(type:String, ?value:Dynamic):Int {
		if (stream == null)
			return 0;
		switch (Std.string(type).toLowerCase()) {
			case "playpause":
				playPause();
			case "position":
				var seconds = Std.parseFloat(Std.string(value));
				if (!Math.isNaN(seconds))
					seek(seconds);
		}
		return 1;
	}

	function start() {
		note("play " + file);
		state = PLAYING;
		stream.play(address(file));
	}

	// The player reads a local path as an address: '%', '#' and '?' of a file name must stay
	// themselves.
	static function address(file:String):String {
		if (file.charAt(0) != "/")
			return file;
		return file.split("%").join("%25").split("#").join("%23").split("?").join("%3F");
	}

	function playPause() {
		switch (state) {
			case PLAYING:
				stream.pause();
				state = PAUSED;
			case PAUSED:
				stream.resume();
				state = PLAYING;
			default:
				// Ended or never started: from the beginning.
				start();
		}
	}

	function seek(seconds:Float) {
		if (duration > 0)
			seconds = Math.min(seconds, duration);
		stream.seek(Math.max(0, seconds));
	}

	// The page clicks the button twice in a row; the second click must not undo the first.
	function toggleFullScreen() {
		var stage = Lib.current.stage;
		var now = Lib.getTimer();
		try {
			if (stage.displayState == StageDisplayState.NORMAL) {
				stage.displayState = StageDisplayState.FULL_SCREEN;
				fullScreenSince = now;
			} else if (now - fullScreenSince >= FULL_SCREEN_GRACE_MS) {
				stage.displayState = StageDisplayState.NORMAL;
			}
		} catch (e:Dynamic) {
			// Refused (no user click, or not allowed by the page): stay as we are.
		}
	}

	function onMetaData(info:Dynamic) {
		var value:Dynamic = Reflect.field(info, "duration");
		if (value != null && Std.parseFloat(Std.string(value)) > 0)
			duration = Std.parseFloat(Std.string(value));
		var width:Dynamic = Reflect.field(info, "width");
		var height:Dynamic = Reflect.field(info, "height");
		if (width != null && height != null) {
			videoWidth = Std.parseFloat(Std.string(width));
			videoHeight = Std.parseFloat(Std.string(height));
			layout();
		}
	}

	function onStatus(event:NetStatusEvent) {
		var code:String = Reflect.field(event.info, "code");
		note(code);
		switch (code) {
			case "NetStream.Play.Stop":
				state = STOPPED;
			case "NetStream.Play.StreamNotFound", "NetStream.Play.Failed":
				state = STOPPED;
			default:
		}
	}

	function layout() {
		var stage = Lib.current.stage;
		var width:Float = stage.stageWidth;
		var height:Float = stage.stageHeight - (bar == null ? 0 : PlayerBar.HEIGHT);
		if (height < 0)
			height = 0;
		if (overstretch || videoWidth <= 0 || videoHeight <= 0) {
			video.x = 0;
			video.y = 0;
			video.width = width;
			video.height = height;
		} else {
			var scale = Math.min(width / videoWidth, height / videoHeight);
			video.width = videoWidth * scale;
			video.height = videoHeight * scale;
			video.x = (width - video.width) / 2;
			video.y = (height - video.height) / 2;
		}
		if (bar != null)
			bar.layout(width, height);
	}

	function refreshBar() {
		if (bar != null)
			bar.update(position(), duration, state == PLAYING);
	}
}
