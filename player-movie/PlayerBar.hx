import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;

// The bar under the video: play/pause button, position bar, time digits and, at the right
// end, the full-screen button.
class PlayerBar extends Sprite {
	public static inline var HEIGHT = 24;
	// Both buttons are square; the full-screen one is the last BUTTON pixels of the bar.
	public static inline var BUTTON = 24;
	static inline var TRACK_HEIGHT = 6;
	static inline var DIGITS_WIDTH = 80;
	static inline var BACKGROUND = 0x202020;
	static inline var FOREGROUND = 0xE0E0E0;

	public var onPlayPause:Void->Void;
	public var onSeek:Float->Void;
	public var onFullScreen:Void->Void;

	var playButton = new Sprite();
	var track = new Sprite();
	var progress = new Sprite();
	var fullScreenButton = new Sprite();
	var digits:TextField;
	var trackWidth = 0.0;
	var shownPlaying:Null<Bool> = null;

	public function new(showDigits:Bool) {
		super();
		for (part in [playButton, track, fullScreenButton]) {
			part.buttonMode = true;
			addChild(part);
		}
		track.addChild(progress);
		progress.mouseEnabled = false;
		if (showDigits) {
			digits = new TextField();
			digits.defaultTextFormat = new TextFormat("_sans", 11, FOREGROUND);
			digits.autoSize = TextFieldAutoSize.LEFT;
			digits.selectable = false;
			digits.mouseEnabled = false;
			digits.text = "00:00/00:00";
			addChild(digits);
		}
		drawFullScreenButton();
		playButton.addEventListener(MouseEvent.CLICK, function(_) onPlayPause());
		track.addEventListener(MouseEvent.CLICK, function(event:MouseEvent) {
			if (trackWidth > 0)
				onSeek(Math.max(0, Math.min(1, event.localX / trackWidth)));
		});
		fullScreenButton.addEventListener(MouseEvent.CLICK, function(_) onFullScreen());
	}

	// Places the bar at `top`, spanning `width`.
	public function layout(width:Float, top:Float) {
		y = top;
		graphics.clear();
		graphics.beginFill(BACKGROUND);
		graphics.drawRect(0, 0, width, HEIGHT);
		graphics.endFill();

		fullScreenButton.x = width - BUTTON;
		var right = fullScreenButton.x - 6;
		if (digits != null) {
			digits.x = right - DIGITS_WIDTH;
			digits.y = (HEIGHT - digits.height) / 2;
			right = digits.x - 4;
		}
		track.x = BUTTON + 6;
		trackWidth = Math.max(0, right - track.x);
		var g = track.graphics;
		g.clear();
		// A transparent strip over the whole height makes the thin track easy to hit.
		g.beginFill(0, 0);
		g.drawRect(0, 0, trackWidth, HEIGHT);
		g.endFill();
		g.beginFill(0x606060);
		g.drawRect(0, (HEIGHT - TRACK_HEIGHT) / 2, trackWidth, TRACK_HEIGHT);
		g.endFill();
	}

	public function update(position:Float, duration:Float, playing:Bool) {
		if (playing != shownPlaying)
			drawPlayButton(playing);
		var g = progress.graphics;
		g.clear();
		if (duration > 0 && trackWidth > 0) {
			g.beginFill(0x87CEEB);
			g.drawRect(0, (HEIGHT - TRACK_HEIGHT) / 2, trackWidth * Math.min(1, position / duration), TRACK_HEIGHT);
			g.endFill();
		}
		if (digits != null)
			digits.text = clock(position) + "/" + clock(duration);
	}

	static function clock(seconds:Float):String {
		var whole = Std.int(Math.max(0, seconds));
		return pad(Std.int(whole / 60)) + ":" + pad(whole % 60);
	}

	static function pad(value:Int):String {
		return value < 10 ? "0" + value : Std.string(value);
	}

	function drawPlayButton(playing:Bool) {
		shownPlaying = playing;
		var g = playButton.graphics;
		g.clear();
		g.beginFill(BACKGROUND);
		g.drawRect(0, 0, BUTTON, HEIGHT);
		g.endFill();
		g.beginFill(FOREGROUND);
		if (playing) {
			g.drawRect(7, 6, 4, 12);
			g.drawRect(13, 6, 4, 12);
		} else {
			g.moveTo(8, 6);
			g.lineTo(18, 12);
			g.lineTo(8, 18);
			g.lineTo(8, 6);
		}
		g.endFill();
	}

	function drawFullScreenButton() {
		var g = fullScreenButton.graphics;
		g.beginFill(BACKGROUND);
		g.drawRect(0, 0, BUTTON, HEIGHT);
		g.endFill();
		g.lineStyle(2, FOREGROUND);
		// Four corner marks.
		for (corner in [[5, 5, 1, 1], [19, 5, -1, 1], [5, 19, 1, -1], [19, 19, -1, -1]]) {
			g.moveTo(corner[0] + 5 * corner[2], corner[1]);
			g.lineTo(corner[0], corner[1]);
			g.lineTo(corner[0], corner[1] + 5 * corner[3]);
		}
	}
}
