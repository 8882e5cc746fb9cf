#!/usr/bin/env bash
# The installed client as edition 23 on the demo service: title, site pages and their probes,
# sign-in, settings, the remembered programme and hand-over to a second start.
# Usage: demo_client_e2e.sh BUILD_DIR (under xvfb-run)
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
# The banner is missing on this service: its pane must stay hidden.
start_service "$root" svc --status /ad/StatusBar23.html=404 || { echo "service did not start"; exit 1; }
site=http://127.0.0.1:$port
mkdir -p "$root/Client/Config"
printf '%s\n' "[Info]" "1=$site" "3=$site/files/" "10=$site/Mp3PageHtml/Mp3PageHtml" \
  "11=$site/mini_index.html" "12=" "14=$site/ad/StatusBar.html" \
  "15=$site/ad/ChannelAds.html" >"$root/Client/Config/platform.ini"
log=$work/svc.log

check "the catalogue of channel 23 is installed in GB2312" \
  grep -q 'encoding="GB2312"' "$root/Client/Resource/xml/23.xml"
check "the first Flash movie of channel 23 is in the cache" test -s "$root/Client/Caches/23/2303.swf"
check "one programme waits in the download folder" test -s "$root/Client/DL/天地人.flv"
check "the offline audio page is installed" test -s "$root/Resource/Html/offline/mp3.htm"

"$root/Client/lumora-channel" >"$work/client.out" 2>&1 &
client=$!
pids+=("$client")

title_is() { # title_is PID TEXT
  local w
  w=$(xdotool search --all --onlyvisible --pid "$1" --class '^TfrmMain$' 2>/dev/null | head -1)
  [ -n "$w" ] && [ "$(xdotool getwindowname "$w")" = "$2" ]
}
logged() { grep -qE "$1" "$log"; }

check "edition 23 shows the window titled 宝宝学识字" wait_for 30 title_is "$client" "宝宝学识字"
check "the banner address was probed" wait_for 10 logged '^GET /ad/StatusBar23\.html 404 InetURL:/1\.0$'
check "the advertisement address was probed" logged '^GET /ad/ChannelAds23\.html 200 InetURL:/1\.0$'
check "the advertisement page was loaded by the pane" \
  wait_for 10 logged '^GET /ad/ChannelAds23\.html 200 .*Mozilla'
check "the missing banner was not loaded" bash -c "! grep -E '^GET /ad/StatusBar23\.html .*Mozilla' '$log'"
check "the sign-in arrived" wait_for 10 logged '^GET /client/login\?code=33554455 200'
check "local.ini exists" test -f "$root/Client/Config/local.ini"
# Nodes: 0 看图识字, 1 自然, 2 日 月 山 水 — the first playable programme, played at start.
check "the first playable programme is remembered as 23=2" \
  wait_for 10 grep -qx '23=2' "$root/Client/Config/local.ini"

sleep 2 # let the panes paint before the picture is taken
mkdir -p "$build/e2e-screenshots"
window=$(xdotool search --all --onlyvisible --pid "$client" --class '^TfrmMain$' | head -1)
check "screenshot of the main window saved" \
  import -window "$window" "$build/e2e-screenshots/demo-23.png"

# The cached movie moves its text: a later picture of the player area differs. The emulator
# draws in software, so on a busy machine a frame may take a while: wait for a change.
player_shot() { import -window "$window" -crop 300x200+400+150 +repage "$1"; }
player_changed() {
  player_shot "$work/p2.png" && [ "$(compare -metric AE "$work/p1.png" "$work/p2.png" null: 2>&1)" -gt 100 ]
}
player_shot "$work/p1.png"
check "the cached Flash movie plays (the picture changes)" wait_for 10 player_changed

# Node 3, 读一读：日月山水, is only on the service: the engine fetches it under its enciphered
# name (folder ceil(2304 / 128) = 18) and the audio page of channel 23 is probed and shown.
xdotool mousemove --window "$window" 100 132 click 1
check "a programme only on the service is downloaded through the engine" \
  wait_for 15 logged '^GET /files/18/[0-9A-F]{16}\.mp3 (200|206) '
check "the audio page of channel 23 is probed" logged '^GET /Mp3PageHtml/Mp3PageHtml_23\.html 200 InetURL:/1\.0$'
check "clicking it remembers 23=3" wait_for 5 grep -qx '23=3' "$root/Client/Config/local.ini"

t0=$SECONDS
timeout 20 "$root/Client/lumora-channel" >/dev/null 2>&1
rc=$?
check "a second start hands over and ends within 10 s" test $rc -eq 0 -a $((SECONDS - t0)) -le 10
check "the first client still runs" kill -0 "$client"
cp "$log" "$build/e2e-screenshots/demo-23-service.log" 2>/dev/null
summary
