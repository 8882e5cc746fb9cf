#!/usr/bin/env bash
# Processor and memory use of the installed program while it plays, against Chromium playing
# the same movie with the same Ruffle build on a plain page. Each scenario runs one at a time,
# under its own virtual display (1280x800x24, Mesa's software rasteriser), on a fresh copy of
# the installation with the demo service. The processor time of a whole process tree (the
# program and its web helpers, or the browser and its children) is summed from /proc over a
# span that starts once the programme has settled; figures are percent of one core. The short
# demo programmes repeat (play mode "repeat"; the browser's page restarts the video itself).
#   run.sh ROOT [SECONDS]   ROOT: an installation (cmake --install); SECONDS measured (20)
# Environment: CLIENT_ENV  extra variables for the program only, e.g. "QSG_RHI_BACKEND=opengl"
#              SCENARIOS   a subset of: flash video audio paused stopped memory (all),
#                          flash-still video-still audio-still paused-still stopped-still (the
#                          same with still pages beside the player); stopped is the movie
#                          stopping itself on its fifth frame, as one waiting for a click does
#              SETTLE      seconds between the window showing and the measurement (8)
#              SHOTS       a folder that keeps each run's screenshot and log
#              TOP         how many of the busiest threads to list (5)
#              PSS_DETAIL  a file that gets each measured process's largest mappings (memory)
#              PROGRAMMES  long (a minute each, the default) or demo (the demo's own files)
# Prints per scenario and subject (client, chromium):
#   cpu SCENARIO SUBJECT PERCENT LOAD1       (LOAD1: the machine's load average at the start)
#   procs SCENARIO SUBJECT PROCESS:PID PERCENT, ... (each process of the tree, busiest first)
#   top SCENARIO SUBJECT THREAD PERCENT, ... (the busiest threads, as process[type]/thread)
#   pss SCENARIO client KB PROCESSES         (memory after start-up, playing the first movie:
#                                             demo, and a 100,000-entry catalogue)
#   pssprocs SCENARIO client PROCESS:PID MB, ... (each process of the tree, largest first)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(readlink -f "${1:?usage: run.sh ROOT [SECONDS]}")
seconds=${2:-20}
settle=${SETTLE:-8}
scenarios=${SCENARIOS:-flash video audio paused stopped memory}
source "$here/../common.sh"
export LC_ALL=C.UTF-8

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

start_demo_service "$root"
disown
wait_file "$work/svc.port" || { echo "the demo service did not start" >&2; exit 1; }
site=http://127.0.0.1:$(cat "$work/svc.port")

# The demo's programmes last 3 to 10 s, and the playlist starts them again and again: that
# measures starting, not playing. Unless PROGRAMMES=demo, the measured programmes last a minute,
# files of the same kinds: a 320x240 12 fps movie, a 15 fps FLV video, an MP3.
programmes=$work/programmes
mkdir -p "$programmes"
if [ "${PROGRAMMES:-long}" = long ]; then
  ff=(ffmpeg -hide_banner -loglevel error -nostdin -y)
  tone=(-f lavfi -i "sine=frequency=523:duration=60")
  mp3=(-c:a libmp3lame -ar 22050 -b:a 48k)
  "${ff[@]}" -f lavfi -i "testsrc=size=320x240:rate=12:duration=60" "${tone[@]}" \
    -c:v flv1 -q:v 5 "${mp3[@]}" -f swf "$programmes/2303.swf"
  "${ff[@]}" -f lavfi -i "testsrc=size=320x240:rate=15:duration=60" "${tone[@]}" \
    -c:v flv1 -q:v 5 -g 15 "${mp3[@]}" -flvflags add_keyframe_index "$programmes/天地人.flv"
  "${ff[@]}" "${tone[@]}" "${mp3[@]}" "$programmes/2309.mp3"
else
  cp "$root/Client/Caches/23/2303.swf" "$root/Client/Caches/23/2309.mp3" \
    "$root/Client/DL/天地人.flv" "$programmes/"
fi
python3 "$here/stopat.py" "$programmes/2303.swf" "$programmes/stopped.swf" 5

# The same files for the browser, served from a folder of ours: the 320x240 12 fps movie of
# node 2 (日 月 山 水, in the cache), and the player movie with the video of node 4 (天地人, in
# the download folder).
web=$work/web
mkdir -p "$web"
cp -a "$root/Client/ruffle" "$web/ruffle"
cp "$programmes/2303.swf" "$web/movie.swf"
cp "$programmes/stopped.swf" "$web/stopped.swf"
cp "$root/Client/flvplayer.swf" "$web/flvplayer.swf"
cp "$programmes/天地人.flv" "$web/video.flv"
web_port=$(free_port)
python3 -m http.server --bind 127.0.0.1 --directory "$web" "$web_port" >/dev/null 2>&1 &
pids+=($!)
disown
# The program's player area in its maximised 1280x800 window, measured from a screenshot: the
# page's player element has the same size.
area_w=1065 area_h=699
page() { # page NAME MOVIE SCALE PARAMETERS
  cat >"$web/$1.html" <<HTML
<!DOCTYPE html>
<html><head><meta charset="utf-8">
<style>html, body { margin: 0; background: #000; overflow: hidden; }
#player { display: block; width: ${area_w}px; height: ${area_h}px; }</style>
<script>window.RufflePlayer = { config: { polyfills: false, logLevel: "error" } };</script>
<script src="ruffle/ruffle.js"></script></head>
<body><div id="stage"></div><script>
const player = window.RufflePlayer.newest().createPlayer();
player.id = "player";
document.getElementById("stage").appendChild(player);
player.ruffle().load({ url: "$2", parameters: "$4", scale: "$3", letterbox: "off",
  allowScriptAccess: true, autoplay: "on", splashScreen: false, unmuteOverlay: "hidden",
  contextMenu: "off", allowNetworking: "all" });
// The player movie stops at the end of the video; start it again, as the program's repeat does.
setInterval(() => {
  if (typeof player.getPlayState === "function" && player.getPlayState() === 0)
    player.sendEvent("playpause");
}, 500);
</script></body></html>
HTML
}
# Still pages for the side panes, to tell the program's own cost from the animations of the
# demo's pages (a ticker in the status bar, a bobbing badge, dancing bars on the audio page).
printf '<!DOCTYPE html><html><body style="margin:0;background:#2c5d8f"></body></html>\n' \
  >"$web/still.html"
cp "$web/still.html" "$web/Mp3PageHtml_23.html"
page flash movie.swf exactFit ""
page stopped stopped.swf exactFit ""
page video flvplayer.swf noScale \
  "file=video.flv&overstretch=true&showdigits=true&autostart=true&showplayerbar=true&callback=true&enablejs=true&streamscript=http://"

# installation NAME [big|still] — a fresh copy on the demo service, with the big catalogue, or
# with still pages in the status bar, the channel's pane and the audio page. Memory is measured
# on the demo's own programmes (the big copy and the one named memory), the rest on the
# measured programmes above; copies named stopped... have the self-stopping movie instead.
installation() {
  local copy=$work/$1 panes=$site/ad mp3=$site/Mp3PageHtml/Mp3PageHtml
  rm -rf "$copy"
  cp -a "$root" "$copy"
  if [ "$1" != memory ] && [ "${2:-}" != big ]; then
    cp "$programmes/2303.swf" "$programmes/2309.mp3" "$copy/Client/Caches/23/"
    cp "$programmes/天地人.flv" "$copy/Client/DL/"
  fi
  [[ "$1" != stopped* ]] || cp "$programmes/stopped.swf" "$copy/Client/Caches/23/2303.swf"
  mkdir -p "$copy/Client/Config"
  if [ "${2:-}" = still ]; then
    panes=http://127.0.0.1:$web_port mp3=http://127.0.0.1:$web_port/Mp3PageHtml
    ln -sf still.html "$web/StatusBar.html"
    ln -sf still.html "$web/ChannelAds.html"
  fi
  printf '%s\n' "[Info]" "1=$site" "3=$site/files/" "10=$mp3" "11=$site/mini_index.html" "12=" \
    "14=$panes/StatusBar.html" "15=$panes/ChannelAds.html" >"$copy/Client/Config/platform.ini"
  if [ "${2:-}" = big ]; then
    python3 "$here/../startup/make-catalogue.py" "$copy/Client/Resource/xml/23.xml"
    # Its first programme (a Flash movie, id 1001) gets the demo's movie in the cache, so that
    # both catalogues start up playing the same thing.
    cp "$copy/Client/Caches/23/2303.swf" "$copy/Client/Caches/23/1001.swf"
  fi
}

# measure SCENARIO SUBJECT WHAT ACTION COMMAND... — runs COMMAND under a fresh display, waits
# for its window and SETTLE seconds, does ACTION (none, pause) and measures WHAT (cpu, pss).
measure() {
  local name=$1 subject=$2 what=$3 action=$4
  shift 4
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  # A display that never came up (now and then its server is not there when the subject
  # starts), or a subject that ended early, costs the figure: such a run is made again, once,
  # on another display.
  local attempt
  for attempt in 1 2; do
  rm -f "$work/$name.$subject.ended"
  # A display number of its own: the last run's server on :99 may still be going away.
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash -c '
    out=$1 what=$2 action=$3 seconds=$4 settle=$5 helper=$6
    shift 6
    # A runtime folder of its own: the program'"'"'s single-instance lock lives there.
    export XDG_RUNTIME_DIR=$out.runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    "$@" >"$out.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 1500); do
      [ -n "$(xdotool search --all --onlyvisible --pid "$pid" --name ".*" 2>/dev/null)" ] && break
      sleep 0.02
    done
    sleep "$settle"
    if [ "$action" = pause ]; then
      # The transport bar'"'"'s play/pause button in the maximised 1280x800 window.
      xdotool mousemove 273 753 click 1
      sleep 2
      import -window root -crop 30x24+259+741 +repage "$out.button.png"
      convert "$out.button.png" -fx "g>r+0.2 && g>b+0.2 ? 1 : 0" -format "%[fx:mean>0.05]" info: \
        >"$out.paused"
    fi
    import -window root "$out.png"
    if [ "$what" = cpu ]; then
      python3 "$helper" cpu "$pid" "$seconds" "${TOP:-5}" >"$out.result"
    else
      python3 "$helper" pss "$pid" >"$out.result"
    fi
    family=$(python3 "$helper" pids "$pid")
    # A subject that ended during the run measured nothing.
    kill "$pid" 2>/dev/null || touch "$out.ended"
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    for p in $family; do kill -9 "$p" 2>/dev/null || true; done
  ' _ "$work/$name.$subject" "$what" "$action" "$seconds" "$settle" "$here/proctree.py" "$@" ||
    echo "warning: $name $subject: the run ended abnormally" >&2
  if grep -qs "could not connect to display" "$work/$name.$subject.log"; then
    echo "warning: $name $subject: no display (attempt $attempt)" >&2
  elif [ -e "$work/$name.$subject.ended" ]; then
    echo "warning: $name $subject: it ended during the run (attempt $attempt)" >&2
    [ "$attempt" = 1 ] || : >"$work/$name.$subject.result" # its figure prints as none
  else
    break
  fi
  done
  if [ "$action" = pause ] && [ "$(cat "$work/$name.$subject.paused" 2>/dev/null)" != 1 ]; then
    echo "warning: $name: the play button did not show paused" >&2
  fi
  # SHOTS=FOLDER keeps each run's screenshot and log, to check what was measured.
  [ -z "${SHOTS:-}" ] || cp "$work/$name.$subject.png" "$work/$name.$subject.log" "$SHOTS/" || true
  if [ "$what" = cpu ]; then
    echo "cpu $name $subject $(sed -n 's/^cpu //p' "$work/$name.$subject.result" | grep . || echo none) $load"
    echo "procs $name $subject $(sed -n 's/^procs //p' "$work/$name.$subject.result")"
    echo "top $name $subject $(sed -n 's/^top //p' "$work/$name.$subject.result")"
  else
    echo "pss $name $subject $(sed -n 's/^pss //p' "$work/$name.$subject.result" | grep . || echo none)"
    echo "pssprocs $name $subject $(sed -n 's/^pssprocs //p' "$work/$name.$subject.result")"
  fi
}

# client SCENARIO COPY REMEMBERED_INDEX WHAT ACTION — the program on a programme of channel 23,
# maximised, with play mode "repeat" so that the short demo programmes go on for the window
client() {
  local copy=$work/$2
  printf '[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=2\n12=\n23=%s\n' "$3" \
    >"$copy/Client/Config/local.ini"
  rm -rf "$copy/Client/P2PStore"
  # shellcheck disable=SC2086 # CLIENT_ENV holds NAME=VALUE words
  measure "$1" client "$4" "$5" env ${CLIENT_ENV:-} "$copy/Client/lumora-channel"
}

chromium_on() { # chromium_on SCENARIO PAGE
  local profile=$work/chromium-profile
  rm -rf "$profile"
  local sandbox=()
  [ "$(id -u)" -ne 0 ] || sandbox=(--no-sandbox)
  measure "$1" chromium cpu none chromium "${sandbox[@]}" --user-data-dir="$profile" \
    --no-first-run --no-default-browser-check --test-type --disable-features=Translate \
    --autoplay-policy=no-user-gesture-required --window-position=0,0 --window-size=1280,800 \
    --app="http://127.0.0.1:$web_port/$2.html"
}

# on_still_pages SCENARIO REMEMBERED_INDEX ACTION [COPY] — the client's CPU with still pages
# beside it, on one installation made for all such scenarios (still, or stopped-still).
on_still_pages() {
  local copy=${4:-still}
  [ -d "$work/$copy" ] || installation "$copy" still
  client "$1" "$copy" "$2" cpu "$3"
}

installation demo
for s in $scenarios; do
  case "$s" in
    flash) client flash demo 2 cpu none; chromium_on flash flash ;;
    video) client video demo 4 cpu none; chromium_on video video ;;
    audio) client audio demo 8 cpu none ;;
    paused) client paused demo 2 cpu pause ;;
    stopped) installation stopped; client stopped stopped 2 cpu none; chromium_on stopped stopped ;;
    flash-still) on_still_pages flash-still 2 none ;;
    video-still) on_still_pages video-still 4 none ;;
    audio-still) on_still_pages audio-still 8 none ;;
    paused-still) on_still_pages paused-still 2 pause ;;
    stopped-still) on_still_pages stopped-still 2 none stopped-still ;;
    memory)
      installation memory
      client memory-demo memory 0 pss none
      installation big big
      client memory-big big 0 pss none ;;
    *) echo "unknown scenario $s" >&2; exit 2 ;;
  esac
done
