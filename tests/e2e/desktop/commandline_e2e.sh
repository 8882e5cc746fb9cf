#!/usr/bin/env bash
# --help and --version answer at once and exit 0 with no display at all, for the built program
# and for a copy stamped as another edition.
# Usage: commandline_e2e.sh BUILD_DIR
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"
program=$build/Client/lumora-channel
cp "$program" "$work/lumora-channel"
bash "$(dirname "$0")/../../../scripts/stamp-version" "$work/lumora-channel" 3.1.4.7 >/dev/null

ask() { # ask PROGRAM ARGUMENT — runs it headless, output into $work/out
  env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u QT_QPA_PLATFORM \
    timeout 10 "$@" >"$work/out" 2>"$work/err"
}
says() { grep -qF -- "$1" "$work/out"; }

check "--version exits 0 without a display" ask "$program" --version
check "--version names the version and the edition" says "lumora-channel 2.0.0.23 Lumora学汉字"
check "a stamped copy names its own edition" ask "$work/lumora-channel" --version
check "the stamped version and the premium edition" says "lumora-channel 3.1.4.7 Lumora精品版"
check "--help exits 0 without a display" ask "$program" --help
check "--help explains -START" says "-START"
check "--help lists the editions by build number" says "25  幼儿英语2013"
check "--help says where the settings live" says "$(dirname "$program")/Config/local.ini"
check "nothing on the error stream" test ! -s "$work/err"
summary
