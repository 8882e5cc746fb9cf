#!/usr/bin/env bash
# The installed client on a session bus of its own: its MPRIS name appears, the play state,
# the programme's name and the next programme go through it, and a fake screen saver records
# the inhibit request while a movie plays and its release on pause.
# Usage: mpris_e2e.sh BUILD_DIR FAKE_SCREENSAVER (under xvfb-run and dbus-run-session)
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"
source "$(dirname "$0")/mpris.sh"

"$2" >"$work/saver.log" 2>&1 &
pids+=($!)
wait_for 10 grep -qx ready "$work/saver.log" || { echo "fake screen saver did not start"; exit 1; }

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
start_service "$root" svc || { echo "service did not start"; exit 1; }
write_platform_ini "$root" "http://127.0.0.1:$port"
# Node 2 of channel 23 is the cached Flash movie 日 月 山 水; node 3 the audio 读一读：日月山水.
start_on "$root" 2

gdbus monitor --session --dest "$mpris_name" >"$work/monitor.log" 2>&1 &
pids+=($!)
"$root/Client/lumora-channel" >"$work/client.out" 2>&1 &
pids+=($!)

saver_says() { grep -qE "$1" "$work/saver.log"; }

check "the MPRIS name appears on the session bus" wait_for 30 on_bus "$mpris_name"
identity_is() { property Identity | grep -qF "'$1'"; }
check "Identity is the window's caption" identity_is 宝宝学识字
check "PlaybackStatus is Playing while the movie plays" wait_for 30 status_is Playing
check "Metadata holds the programme's name" title_is "日 月 山 水"
check "the screen saver is inhibited while the movie plays" \
  wait_for 10 saver_says '^Inhibit 1 .+'
player Pause
check "PlaybackStatus is Paused after Pause" wait_for 10 status_is Paused
check "the inhibition is released on pause" wait_for 10 saver_says '^UnInhibit 1$'
check "the change is announced with PropertiesChanged" wait_for 10 \
  grep -qF "'PlaybackStatus': <'Paused'>" "$work/monitor.log"
player Next
check "Next starts the next programme" wait_for 20 title_is "读一读：日月山水"
check "the next programme is remembered as the window's own choice" \
  wait_for 10 grep -qx "23=3" "$root/Client/Config/local.ini"
check "audio does not inhibit the screen saver" bash -c "sleep 2; ! grep -q '^Inhibit 2' '$work/saver.log'"
summary
