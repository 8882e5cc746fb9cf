#!/usr/bin/env bash
# The UI thread's longest stall: the program beats every 10 ms on its event loop and reports
# the worst lateness. Each scenario runs a fresh copy of an installation under its own virtual
# display, with the demo service, or with a site that accepts connections and never answers.
#   run.sh ROOT [SECONDS]     ROOT: an installation (cmake --install); SECONDS per programme (60)
#   SCENARIOS="audio video" limits the run to those scenarios (default: all).
# Prints "stall SCENARIO WORST_MS WINDOW_MS" per scenario (WINDOW_MS: start to visible window).
set -euo pipefail
root=$(readlink -f "${1:?usage: run.sh ROOT [SECONDS]}")
seconds=${2:-60}
source "$(dirname "$0")/../common.sh"

# The demo service, and a listener that takes every connection and holds it without a word.
start_demo_service "$root"
python3 "$(dirname "$0")/../../tests/e2e/mute-listener.py" "$work/hang.port" &
pids+=($!)
wait_file "$work/svc.port" && wait_file "$work/hang.port" || { echo "servers did not start" >&2; exit 1; }
site=http://127.0.0.1:$(cat "$work/svc.port")
hang=http://127.0.0.1:$(cat "$work/hang.port")

# scenario NAME SITE MP3PAGE REMEMBERED_INDEX SECONDS
# Nodes of the demo channel 23: 2 a cached Flash movie, 8 a cached audio programme with its
# page, 11 a video that the engine fetches from the service.
scenario() {
  local name=$1 home=$2 mp3=$3 index=$4 secs=$5 copy=$work/$1
  [[ " ${SCENARIOS:-$name} " == *" $name "* ]] || return 0
  cp -a "$root" "$copy"
  mkdir -p "$copy/Client/Config"
  printf '%s\n' "[Info]" "1=$home" "3=$home/files/" "10=$mp3" "11=$home/mini_index.html" "12=" \
    "14=$home/ad/StatusBar.html" "15=$home/ad/ChannelAds.html" >"$copy/Client/Config/platform.ini"
  printf '[Info]\n1=0\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n23=%s\n' "$index" \
    >"$copy/Client/Config/local.ini"
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x800x24" bash -c '
    report=$1 program=$2 secs=$3
    start=$(date +%s%N)
    LUMORA_STALL_REPORT=$report "$program" >/dev/null 2>&1 &
    pid=$!
    win=
    for _ in $(seq 1 1500); do
      win=$(xdotool search --all --pid "$pid" --onlyvisible --class "^TfrmMain$" 2>/dev/null | head -1 || true)
      [ -n "$win" ] && break
      sleep 0.02
    done
    echo $((($(date +%s%N) - start) / 1000000)) >"$report.window"
    sleep "$secs"
    kill "$pid"; wait "$pid" 2>/dev/null || true
  ' _ "$work/$name.stall" "$copy/Client/lumora-channel" "$secs"
  echo "stall $name $(cat "$work/$name.stall" 2>/dev/null || echo none) $(cat "$work/$name.stall.window")"
  rm -rf "$copy"
}

scenario startup-site-hangs "$hang" "$hang/Mp3PageHtml/Mp3PageHtml" 2 30
scenario flash "$site" "$site/Mp3PageHtml/Mp3PageHtml" 2 "$seconds"
scenario video "$site" "$site/Mp3PageHtml/Mp3PageHtml" 11 "$seconds"
scenario audio "$site" "$site/Mp3PageHtml/Mp3PageHtml" 8 "$seconds"
scenario audio-page-hangs "$site" "$hang/Mp3PageHtml/Mp3PageHtml" 8 "$seconds"
