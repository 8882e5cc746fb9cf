#!/usr/bin/env bash
# Start-up of the installed program: editions, first start, single instance, "-start" and the
# Flash check. Usage: startup_e2e.sh BUILD_DIR SOURCE_DIR (under xvfb-run).
set -uo pipefail
build=$1
source=$2
source "$(dirname "$0")/../common.sh"

install_root() { # install_root DIR BUILD_NUMBER
  cmake --install "$build" --prefix "$1" >/dev/null || return 1
  bash "$source/scripts/stamp-version" "$1/Client/lumora-channel" "2.0.0.$2"
}

start() { # start DIR [ARGS] — starts the program in the background, sets $last
  "$1/Client/lumora-channel" "${@:2}" >"$work/out.$$.$RANDOM" 2>&1 &
  last=$!
  pids+=("$last")
}

window_of() { # the window ids of a process (visible or not) whose class is TfrmMain
  xdotool search --all --pid "$1" --class '^TfrmMain$' 2>/dev/null
}
visible_window_of() {
  xdotool search --all --onlyvisible --pid "$1" --class '^TfrmMain$' 2>/dev/null
}
title_is() { # title_is PID TEXT
  local w
  w=$(visible_window_of "$1" | head -1)
  [ -n "$w" ] && [ "$(xdotool getwindowname "$w")" = "$2" ]
}

# --- edition 21, first start --------------------------------------------------------------
install_root "$work/a" 21 || { echo "install failed"; exit 1; }
check "fresh installation has no settings yet" test ! -e "$work/a/Client/Config"
start "$work/a"
first=$last
check "edition 21 shows the window titled 学拼音" wait_for 20 title_is "$first" "学拼音"
expected=$'[Info]\n1=1\n6=33554455\n7=100090\n8=1\n9=0\n10=\n11=0\n12=\n21=2\n'
check "local.ini holds the eight keys, the start counted" \
  wait_for 5 bash -c "[ \"\$(cat '$work/a/Client/Config/local.ini')\" = \"\$1\" ]" _ "${expected%$'\n'}"
check "download and cache folders exist" test -d "$work/a/Client/DL" -a -d "$work/a/Client/Caches"

# --- a second copy of the same edition hands over and ends, touching nothing --------------
before=$(stat -c %Y.%s "$work/a/Client/Config/local.ini")
xdotool windowminimize --sync "$(visible_window_of "$first" | head -1)" 2>/dev/null
t0=$SECONDS
"$work/a/Client/lumora-channel" >/dev/null 2>&1
rc=$?
check "second copy ends at once with success" test $rc -eq 0 -a $((SECONDS - t0)) -le 10
check "second copy touched no file" test "$(stat -c %Y.%s "$work/a/Client/Config/local.ini")" = "$before"
check "the first copy's window is shown again" wait_for 10 title_is "$first" "学拼音"

# --- another edition runs beside it --------------------------------------------------------
install_root "$work/b" 22 || exit 1
start "$work/b"
check "edition 22 runs beside edition 21" wait_for 20 title_is "$last" "儿歌精选"
check "edition 21 still runs" kill -0 "$first"

# --- kill -9 frees the edition ------------------------------------------------------------
kill -9 "$first"
wait "$first" 2>/dev/null
start "$work/a"
check "after kill -9 the edition starts again" wait_for 20 title_is "$last" "学拼音"

# --- premium edition and "-start" ----------------------------------------------------------
install_root "$work/c" 7 || exit 1
start "$work/c" -START
hidden=$last
check "-START keeps the window hidden" wait_for 20 bash -c "[ -n \"\$(xdotool search --all --pid $hidden --class '^TfrmMain$' 2>/dev/null)\" ]"
sleep 1
check "-START shows no window" test -z "$(visible_window_of "$hidden")"
check "-START still loads the settings" test -f "$work/c/Client/Config/local.ini"
"$work/c/Client/lumora-channel" >/dev/null 2>&1
check "starting the hidden edition again shows its window" wait_for 10 title_is "$hidden" "精品版"

# --- without the Flash emulator ------------------------------------------------------------
install_root "$work/d" 24 || exit 1
rm -rf "$work/d/Client/ruffle"
start "$work/d"
noflash=$last
check "missing Flash support is reported in a box titled 提示" \
  wait_for 20 bash -c "xdotool search --all --pid $noflash --name '^提示$' >/dev/null 2>&1"
check "no local.ini without Flash support" test ! -e "$work/d/Client/Config/local.ini"
kill -9 "$noflash" 2>/dev/null

# --- without the web engine's helper process ---------------------------------------------
install_root "$work/f" 25 || exit 1
QTWEBENGINEPROCESS_PATH=$work/f/none start "$work/f"
nohelper=$last
check "a web engine without its helper is reported as missing Flash support" \
  wait_for 20 bash -c "xdotool search --all --pid $nohelper --name '^提示$' >/dev/null 2>&1"
kill -9 "$nohelper" 2>/dev/null

# --- a hidden start whose first programme cannot be requested -----------------------------
install_root "$work/e" 23 || exit 1
mkdir -p "$work/e/Client/Resource/xml" "$work/e/Client/Config"
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' '<list>' \
  '  <item type="0" id="1" pid="" name="识字"/>' '  <item type="1" id="x12" pid="1" name="日"/>' \
  '</list>' >"$work/e/Client/Resource/xml/23.xml"
# A parent's copies of the settings, named as a person may name them.
echo keep >"$work/e/Client/Config/local.ini.backup"
echo keep >"$work/e/Client/Config/local.ini.Ab12Cd"
start "$work/e" -START
badfirst=$last
error_box() { xdotool search --all --onlyvisible --pid "$badfirst" 2>/dev/null | head -1; }
check "the bad first programme is reported in the error box" wait_for 30 error_box
check "the program keeps running with the box open" kill -0 "$badfirst"
close_box() { # again while it stays: a key sent as the box maps may be lost
  local box
  box=$(error_box)
  [ -z "$box" ] && return 0
  type_key "$box" Return
  sleep 0.5
  [ -z "$(error_box)" ]
}
check "the box closes" wait_for 10 close_box
sleep 1
check "the program keeps running after the box" kill -0 "$badfirst"
"$work/e/Client/lumora-channel" >/dev/null 2>&1
check "it answers: starting it again shows its window" wait_for 10 title_is "$badfirst" "宝宝学识字"
check "a parent's files beside the settings stay" \
  test -f "$work/e/Client/Config/local.ini.backup" -a -f "$work/e/Client/Config/local.ini.Ab12Cd"

summary
