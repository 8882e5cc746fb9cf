#!/usr/bin/env bash
# The client in a Wayland session with no X11 at all (weston's headless back-end): started with
# -START it stays hidden; a second start of the same edition finds it over the session bus,
# makes it show its window and ends at once.
# Usage: wayland_e2e.sh BUILD_DIR (under dbus-run-session)
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"
source "$(dirname "$0")/../desktop/mpris.sh"

unset DISPLAY
export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-lumora
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
  >"$work/weston.log" 2>&1 &
weston=$!
wait_for 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || { echo "weston did not start"; exit 1; }

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
start_service "$root" svc || { echo "service did not start"; exit 1; }
write_platform_ini "$root" "http://127.0.0.1:$port"
start_on "$root" 2

# The protocol log of the first copy tells when it maps a window, and with which title.
WAYLAND_DEBUG=client "$root/Client/lumora-channel" -START >/dev/null 2>"$work/first.log" &
first=$!
pids+=("$first")
toplevel() { grep -q 'xdg_toplevel@[0-9]*\.set_title("宝宝学识字")' "$work/first.log"; }
drawn() { grep -A100000 'xdg_toplevel@[0-9]*\.set_title' "$work/first.log" | grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@'; }

check "the first copy runs under Wayland" wait_for 40 on_bus invalid.lumora.channel.hanzi
check "hidden, it still names its programme to the desktop" wait_for 20 title_is "日 月 山 水"
check "started with -START it shows no window" bash -c "sleep 1; ! grep -q 'xdg_toplevel@' '$work/first.log'"
started=$SECONDS
timeout 30 "$root/Client/lumora-channel" >"$work/second.out" 2>&1
status=$?
check "the second start ends with status 0" test $status -eq 0
check "and at once" test $((SECONDS - started)) -lt 10
check "the first copy shows its window, titled with the edition's caption" wait_for 15 toplevel
check "and draws it" wait_for 15 drawn
check "the first copy goes on running" kill -0 "$first"
check "neither copy needed X11" bash -c "! grep -qi 'could not connect to display' '$work/first.log' '$work/second.out'"
# Told to end, weston takes its shell and keyboard helpers along.
kill -TERM "$weston" && wait "$weston"
summary
