#!/usr/bin/env bash
# Times an installed client from start to its visible main window, then measures its idle CPU and
# its resident memory once it has settled.
#   run.sh PROGRAM [RUNS [IDLE_SECONDS]]    e.g. run.sh build-bench/root/Client/lumora-channel 5 60
# Prints "startup_ms MEDIAN MIN MAX", "rss_kb PROGRAM WITH_HELPERS" (read after SETTLE_SECONDS,
# default 10) and "idle_cpu_percent P" of the program with its helper processes while the
# start-up programme is paused (IDLE_SECONDS 0 skips it), and "failed_starts N", starts that ended before their window showed. Each run has its
# own virtual display; STARTUP_LOG=FILE collects the program's messages.
set -euo pipefail
self=$(readlink -f "$0")

# The program and its helpers (QtWebEngine's renderer and GPU processes).
family() {
  echo "$1"
  local child
  for child in $(pgrep -P "$1"); do family "$child"; done
}
# CPU ticks used so far by the program's family: utime and stime are fields 14 and 15 of stat,
# counted after the command name, which may hold spaces.
ticks() {
  local p total=0
  for p in $(family "$1"); do
    total=$((total + $(sed 's/.*) //' "/proc/$p/stat" 2>/dev/null | awk '{print $12 + $13}' || echo 0)))
  done
  echo "$total"
}
rss() {
  local p total=0
  for p in $(family "$1"); do
    total=$((total + $(awk '/^VmRSS/ {print $2}' "/proc/$p/status" 2>/dev/null || echo 0)))
  done
  echo "$total"
}

# Runs inside the virtual display: start, poll for the window, optionally stay for the idle and
# memory readings, then end the program.
measure() {
  local program=$1 idle=$2 settle=$3
  local start end pid win=
  start=$(date +%s%N)
  "$program" >/dev/null 2>>"${STARTUP_LOG:-/dev/null}" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    win=$(xdotool search --all --pid "$pid" --onlyvisible --class '^TfrmMain$' 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.02
  done
  end=$(date +%s%N)
  [ -n "$win" ] || { echo "error no-window"; return 0; }
  echo "startup_ms $(((end - start) / 1000000))"
  if [ "$idle" -ge 0 ]; then
    # The start-up programme (the demo's first, a 10 s movie) is paused by its play/pause
    # button, at this place in the maximised window on the 1280x1024 screen.
    sleep 3
    xdotool mousemove 274 977 click 1
    sleep "$settle"
    echo "rss_kb $(awk '/^VmRSS/ {print $2}' "/proc/$pid/status") $(rss "$pid")"
  fi
  if [ "$idle" -gt 0 ]; then
    local tick t0 t1
    tick=$(getconf CLK_TCK)
    t0=$(ticks "$pid")
    sleep "$idle"
    t1=$(ticks "$pid")
    awk -v a="$t0" -v b="$t1" -v hz="$tick" -v s="$idle" \
      'BEGIN { printf "idle_cpu_percent %.2f\n", (b - a) / hz / s * 100 }'
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
}
# Inside the virtual display (xvfb-run's shell drops exported functions, hence the re-entry).
if [ "${1:-}" = --inside ]; then
  shift
  measure "$@"
  exit 0
fi

program=$(readlink -f "$1")
runs=${2:-5}
idle=${3:-60}
settle=${SETTLE_SECONDS:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/xdg"
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

times=()
failed=0
for n in $(seq 1 "$runs"); do
  # The last run stays for the idle and memory readings.
  stay=-1
  [ "$n" = "$runs" ] && stay=$idle
  # A start that dies before showing its window is counted and tried again, twice at most.
  for attempt in 1 2 3; do
    out=$(env -u http_proxy -u https_proxy -u HTTP_PROXY -u HTTPS_PROXY \
      XDG_RUNTIME_DIR="$work/xdg" xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" bash "$self" --inside "$program" "$stay" "$settle")
    grep -q '^error' <<<"$out" || break
    failed=$((failed + 1))
    [ "$attempt" -lt 3 ] || { echo "no window after 3 starts" >&2; exit 1; }
  done
  times+=("$(awk '/^startup_ms/ {print $2}' <<<"$out")")
  grep -v '^startup_ms' <<<"$out" || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "failed_starts $failed"
echo "startup_ms $(sed -n "$(((runs + 1) / 2))p" <<<"$sorted") $(head -1 <<<"$sorted") $(tail -1 <<<"$sorted")"
