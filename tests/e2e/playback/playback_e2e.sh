#!/usr/bin/env bash
# Playback of the installed client on the demo service: a video through the engine, audio with
# its page, the next programme at the end, full screen and back, and the news pop-up.
# Usage: playback_e2e.sh BUILD_DIR (under xvfb-run)
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"
shots=$build/e2e-screenshots
mkdir -p "$shots"

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
start_service "$root" svc || { echo "service did not start"; exit 1; }
site=http://127.0.0.1:$port
log=$work/svc.log
mkdir -p "$root/Client/Config"
printf '%s\n' "[Info]" "1=$site" "3=$site/files/" "10=$site/Mp3PageHtml/Mp3PageHtml" \
  "11=$site/mini_index.html" "12=" "14=$site/ad/StatusBar.html" \
  "15=$site/ad/ChannelAds.html" >"$root/Client/Config/platform.ini"

# Nodes of channel 23: 2 日 月 山 水 (Flash, cached), 3 读一读 (audio, on the service),
# 8 读一读：口耳目手 (audio, cached), 11 火字的故事 (video, on the service),
# 14 读一读：明 休 尖 (audio, on the service), 17 会意字动画 (ActionScript 3 Flash, cached, the
# last of its category).
client=
run_client() { # run_client REMEMBERED_INDEX [ENV...] — starts the client on that programme
  [ -n "$client" ] && { kill "$client" 2>/dev/null; wait "$client" 2>/dev/null; }
  printf '[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n23=%s\n' "$1" \
    >"$root/Client/Config/local.ini"
  # The pages' console (the host's loads, the player movie's stream events) goes to the log.
  env QT_LOGGING_RULES='js.info=true' QT_MESSAGE_PATTERN='%{time process} %{category}: %{message}' \
    "${@:2}" "$root/Client/lumora-channel" >"$work/client.out" 2>&1 &
  client=$!
  pids+=("$client")
  wait_for 30 window_id >/dev/null
}
on_failure() { # the client's last words, to tell a stalled page from a silent player
  echo "--- the client's log, last lines:"
  grep -v '^$' "$work/client.out" | tail -n 25 | sed 's/^/    /'
}
window_id() { xdotool search --all --onlyvisible --pid "$client" --class '^TfrmMain$' | head -1; }
logged() { grep -qE "$1" "$log"; }
remembered() { grep -qx "23=$1" "$root/Client/Config/local.ini"; }
shot() { import -window root "$1"; }
changes() { # changes FILE_A — the screen now differs from FILE_A in the player area
  import -window root -crop 400x300+500+200 +repage "$work/now.png" &&
    [ "$(compare -metric AE "$1" "$work/now.png" null: 2>&1)" -gt 100 ]
}
player_shot() { import -window root -crop 400x300+500+200 +repage "$1"; }

# --- a video only on the service: the engine fetches it and the player movie plays it -------
run_client 11
check "the video is requested from the service by the engine" \
  wait_for 20 logged '^GET /files/19/[0-9A-F]{16}\.flv 20[06] '
check "the engine's download completes in its store" \
  wait_for 30 bash -c "ls '$root/Client/P2PStore/'*.flv >/dev/null 2>&1"
sleep 2
player_shot "$work/v1.png"
check "the video plays (the picture changes)" wait_for 15 changes "$work/v1.png"
shot "$shots/video.png"

# --- audio from the cache, with the audio page of the channel ------------------------------
run_client 8
check "the audio page is probed" wait_for 20 logged '^GET /Mp3PageHtml/Mp3PageHtml_23\.html 200 InetURL'
check "the audio page is shown" wait_for 20 logged '^GET /Mp3PageHtml/Mp3PageHtml_23\.html 200 .*Mozilla'
shot "$shots/audio.png"

# --- a Flash movie from the cache; at its end the next one of the category starts ----------
run_client 2
sleep 2
shot "$shots/maximised.png"
geometry=$(xdotool getwindowgeometry "$(window_id)")
check "the window is maximised to the screen" grep -q 'Geometry: 1280x1024' <<<"$geometry"
check "at the end of the movie the next programme of the category starts (mode 0)" \
  wait_for 40 remembered 3
check "the next programme comes through the engine" \
  wait_for 20 logged '^GET /files/18/[0-9A-F]{16}\.mp3 20[06] '

# --- an ActionScript 3 movie plays its own timeline to the end; the category starts over ---
run_client 17
check "an ActionScript 3 movie plays through to the next programme (mode 0)" \
  wait_for 40 remembered 14

# --- full screen and back ------------------------------------------------------------------
# The full-screen button of the transport bar, in the maximised 1280 x 1024 window.
full_screen_button() { xdotool mousemove 558 977 click 1; }
caption_colour() { convert "$1" -crop 1x1+640+5 -format '%[hex:p{0,0}]' info:; }
caption_shown() { import -window root "$work/fs.png" && [ "$(caption_colour "$work/fs.png")" = "$caption" ]; }
caption_hidden() { ! caption_shown; }
run_client 2
sleep 3
import -window root "$work/normal.png"
caption=$(caption_colour "$work/normal.png")
full_screen_button
check "a Flash movie goes full screen over the whole window" wait_for 10 caption_hidden
shot "$shots/flash-fullscreen.png"
xdotool key Escape
check "Esc brings the window back" wait_for 10 caption_shown

views() { xdotool search --all --onlyvisible --pid "$client" --name '.*' 2>/dev/null | wc -l; }
run_client 11
player_shot "$work/f1.png"
check "the video plays before full screen" wait_for 20 changes "$work/f1.png"
shot "$shots/video-before-fullscreen.png"
before=$(views)
full_screen_button
full_window() { # a window of the client that covers the whole screen
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$client" --name '.*'); do
    xdotool getwindowgeometry "$w" | grep -q 'Geometry: 1280x1024' &&
      [ "$w" != "$(window_id)" ] && return 0
  done
  return 1
}
check "a video goes full screen in the player movie's own window" wait_for 10 full_window
shot "$shots/video-fullscreen.png"
xdotool key Escape
check "Esc ends the video's full screen" \
  wait_for 10 bash -c "[ \$(xdotool search --all --onlyvisible --pid $client --name '.*' | wc -l) -le $before ]"

# --- the transport bar in each play state --------------------------------------------------
# In the maximised window the bar lies at 213,944 (600 x 50); btnPlay's picture at 261,953.
bar_shot() { import -window root -crop 600x50+213+944 +repage "$shots/transport-$1.png"; }
# btnPlay's picture by its colour: green "play" (paused, stopped), orange "pause" (playing);
# neither while it is disabled (loading).
share() { # share FX — part of btnPlay's pixels for which FX holds
  import -window root -crop 30x24+259+965 +repage "$work/btn.png" &&
    [ "$(convert "$work/btn.png" -fx "$1 ? 1 : 0" -format '%[fx:mean>0.05]' info:)" = 1 ]
}
shows_play() { share 'g>r+0.2 && g>b+0.2'; }
shows_pause() { share 'r>g+0.2 && r>b+0.2'; }
play_button() { xdotool mousemove 274 977 click 1; }
shows_neither() { ! shows_play && ! shows_pause; }
run_client 2
wait_for 5 shows_neither && bar_shot loading
check "a Flash movie plays: btnPlay offers pause" wait_for 30 shows_pause
bar_shot playing
play_button
check "pause: btnPlay offers play again" wait_for 10 shows_play
bar_shot paused
play_button

# --- full screen ends when the programme changes kind -------------------------------------
# 天地人 (4, a video) lies in the download folder under a name holding blanks, '+', '&' and
# '%'; the text programme 识字卡片说明 (5) follows it.
odd='天地 人+&%'
mv "$root/Client/DL/天地人.flv" "$root/Client/DL/$odd.flv"
xml=$root/Client/Resource/xml/23.xml # GB2312, as catalogues are
iconv -f gbk -t utf-8 "$xml" | sed 's/name="天地人"/name="天地 人+\&amp;%"/' | iconv -f utf-8 -t gbk >"$work/23.xml"
mv "$work/23.xml" "$xml"
videos() { grep -c '^GET /files/.*\.flv' "$log"; }
asked=$(videos)
# The video's picture is bright; the blank player and a file that failed to open stay black.
bright_player() {
  player_shot "$work/player.png" &&
    [ "$(convert "$work/player.png" -format '%[fx:mean>0.3]' info:)" = 1 ]
}
run_client 4
check "a video whose file name holds blanks, + & and % plays from the download folder" \
  wait_for 60 bright_player
check "... without asking the service for it" test "$(videos)" -eq "$asked"
full_screen_button
check "the video goes full screen" wait_for 10 full_window
check "at its end the text programme follows" wait_for 40 remembered 5
no_full_window() { ! full_window; }
check "full screen ends with the video" wait_for 10 no_full_window
check "the text programme shows the stopped state" wait_for 10 shows_play
dark_player() { ! bright_player; }
check "... on a blank player" wait_for 10 dark_player
bar_shot stopped
shot "$shots/text-after-video-fullscreen.png"

# 木林森 (12, a Flash movie) in full screen; at its end the video 火字的故事 (11) follows.
run_client 12
sleep 3
full_screen_button
check "the Flash movie goes full screen" wait_for 10 caption_hidden
import -window root -crop 40x34+0+0 +repage "$shots/transport-fullscreen-exit.png"
check "at its end the video follows" wait_for 40 remembered 11
check "the window's full screen ends with the movie" wait_for 10 caption_shown
check "the video's transport bar is back" wait_for 10 shows_pause
bar_shot after-fullscreen

# --- the news pop-up, its minutes made short for the test ----------------------------------
run_client 5 LUMORA_TEST_MINUTE_MS=200
check "the news page is probed at the third minute" \
  wait_for 20 logged '^GET /mini_index\.html 200 InetURL'
news() { xdotool search --all --onlyvisible --pid "$client" --name '^最新消息$' | head -1; }
slid_in() { # the pop-up stands in the bottom right corner of the work area
  local w
  w=$(news)
  [ -n "$w" ] && xdotool getwindowgeometry "$w" | grep -q 'Position: 930,723'
}
check "the pop-up slides in at the bottom right of the work area" wait_for 20 slid_in
shot "$shots/news.png"

# --- the caption: double-click restores the design size, again maximises ------------------
size_is() { xdotool getwindowgeometry "$(window_id)" | grep -q "Geometry: $1"; }
xdotool mousemove 640 9 click --repeat 2 --delay 80 1
check "a double-click on the caption restores the window" wait_for 10 size_is 823x592
shot "$shots/normal.png"
xdotool mousemove 640 225 click --repeat 2 --delay 80 1
check "a second double-click maximises it again" wait_for 10 size_is 1280x1024

# --- the close button asks first (closeAction "1") -----------------------------------------
# The visible question box of the client; fails while there is none.
question() {
  local box
  box=$(xdotool search --all --onlyvisible --pid "$client" --name '^提示$' 2>/dev/null | head -1)
  [ -n "$box" ] && echo "$box"
}
has_question() { question >/dev/null; }
no_question() { ! has_question; }
# Answers the box with a key, again while it stays (a key sent as it maps may be lost).
answer() { # answer KEY
  local box
  box=$(question) || return 0
  type_key "$box" "$1"
  sleep 0.5
  no_question
}
close_button() { xdotool mousemove 1253 9 click 1; }
close_button
check "the close button asks before ending" wait_for 10 has_question
wait_for 10 answer Escape
check "Cancel keeps the program running" kill -0 "$client"
check "Cancel closes the box" no_question
close_button
wait_for 10 has_question
wait_for 10 answer Return
check "OK ends the program" wait_for 10 bash -c "! kill -0 $client 2>/dev/null"

summary
