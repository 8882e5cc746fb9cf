#!/usr/bin/env bash
# Builds the Debian package in build-pkg and checks it without touching the system: its file
# list and dependencies, the menu entry and AppStream metainfo through their validators, the
# icons, lintian, then the extracted package started under a virtual display with a throwaway
# HOME until its main window shows the default edition's title.
#   packaging/test-deb.sh [--apt]   --apt also installs it with apt-get, starts it, removes it
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$src/build-pkg}
apt=0
[ "${1:-}" = --apt ] && apt=1
title=宝宝学识字


# A build of its own goes through ccache where there is one; a build folder already made (the
# tests') keeps its compiler, or every object would be made again.
launcher=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMORA_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 >/dev/null
rm -f "$build"/lumora-channel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/lumora-channel_*.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1))"

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- contents ---
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
for f in /opt/lumora-channel/Client/lumora-channel /opt/lumora-channel/Client/libLumora.so \
  /opt/lumora-channel/Client/flvplayer.swf /opt/lumora-channel/Client/ruffle/ruffle.js \
  /opt/lumora-channel/Client/Resource/xml/23.xml \
  /opt/lumora-channel/Config/Source.ini /opt/lumora-channel/Resource/Html/offline/mp3.htm \
  /usr/bin/lumora-channel /usr/share/applications/lumora-channel.desktop \
  /usr/share/icons/hicolor/scalable/apps/lumora-channel.svg \
  /usr/share/metainfo/lumora-channel.metainfo.xml; do
  grep -qx -- "$f" "$work/files" || fail "$f is not in the package"
done
echo "contents: $(wc -l <"$work/files") entries, the expected files present"
outside=$(grep -v -e '^/opt/lumora-channel' -e '^/usr/bin/lumora-channel$' \
  -e '^/usr/share/applications' -e '^/usr/share/icons' -e '^/usr/share/metainfo' \
  -e '^/usr/share/doc/\(lumora-channel/.*\)\?$' -e '^/usr/share/man/\(man1/\(lumora-channel\.1\.gz\)\?\)\?$' \
  -e '^/usr/share/lintian/\(overrides/\(lumora-channel\)\?\)\?$' -e '^/$' -e '^/opt/$' -e '^/usr/$' \
  -e '^/usr/bin/$' -e '^/usr/share/$' "$work/files" || true)
[ -z "$outside" ] || fail "unexpected files: $outside"

# --- control ---
dpkg-deb -f "$deb" Package Version Architecture Maintainer Depends Recommends
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6webenginewidgets6 libcurl4 libxml2 qt6-qpa-plugins \
  qt6-image-formats-plugins gstreamer1.0-plugins-good gstreamer1.0-libav fonts-noto-cjk; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d"
done
[ "$(dpkg-deb -f "$deb" Version)" = 2.0.0.23 ] || fail "wrong version"

# --- desktop integration and lintian ---
meta=$work/meta
dpkg-deb -x "$deb" "$meta"
desktop-file-validate "$meta/usr/share/applications/lumora-channel.desktop" || fail "desktop file"
appstreamcli validate --no-net "$meta/usr/share/metainfo/lumora-channel.metainfo.xml" ||
  fail "AppStream metainfo"
for size in 16 22 24 32 48 64 128 256; do
  icon=$meta/usr/share/icons/hicolor/${size}x$size/apps/lumora-channel.png
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "icon $size"
done
echo "desktop: menu entry and metainfo valid, icons in 8 sizes"
# Tags that stay are overridden inside the package, each with its reason.
lintian --fail-on error,warning --display-level '>=warning' "$deb" || fail "lintian"
echo "lintian: clean"

# Starts LAUNCHER with a fresh HOME under a virtual display, waits for the main window, checks its
# title and the user's private tree, then ends the program.
run_once() {
  local launcher=$1 system=$2 label=$3
  local home=$work/home-$label
  mkdir -p "$home" "$work/xdg-$label"
  chmod 700 "$work/xdg-$label"
  env -u http_proxy -u https_proxy -u HTTP_PROXY -u HTTPS_PROXY \
    HOME="$home" XDG_RUNTIME_DIR="$work/xdg-$label" LUMORA_SYSTEM_DIR="$system" \
    xvfb-run -a bash -c '
      "$1" & pid=$!
      for _ in $(seq 1 300); do
        win=$(xdotool search --all --pid $pid --onlyvisible --class "^TfrmMain\$" 2>/dev/null | head -1)
        [ -n "$win" ] && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
      done
      name=$(xdotool getwindowname "$win" 2>/dev/null || true)
      echo "window=${win:-none} title=$name"
      kill $pid 2>/dev/null; wait $pid 2>/dev/null || true' _ "$launcher" >"$work/run-$label.log" 2>&1 || true
  local result
  result=$(grep '^window=' "$work/run-$label.log" || true)
  echo "$label: $result"
  grep -q '^window=[0-9]' <<<"$result" || { cat "$work/run-$label.log" >&2; fail "$label: no main window"; }
  [ "${result#*title=}" = "$title" ] || fail "$label: title is not $title"
  local tree=$home/.local/share/lumora-channel
  [ -f "$tree/Client/lumora-channel" ] && [ ! -L "$tree/Client/lumora-channel" ] ||
    fail "$label: the program is not a private copy"
  [ -L "$tree/Client/libLumora.so" ] || fail "$label: the library is not a link"
  [ "$(readlink -f "$tree/Config/Source.ini")" = "$(readlink -f "$system/Config/Source.ini")" ] ||
    fail "$label: Source.ini does not point into $system"
  echo "$label: private tree $(find "$tree" -type l | wc -l) links, $(find "$tree" -type f | wc -l) files"
}

# --- extracted package ---
root=$work/root
dpkg-deb -x "$deb" "$root"
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/before"
run_once "$root/usr/bin/lumora-channel" "$root/opt/lumora-channel" extracted
(cd "$root" && find . -printf '%p %s %T@\n' | sort) >"$work/after"
cmp -s "$work/before" "$work/after" || fail "the program wrote into the installation"
echo "extracted: the installation under /opt stayed unchanged"

# --- a real installation ---
if [ $apt = 1 ]; then
  apt-get install -y --no-install-recommends "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install"; }
  dpkg -s lumora-channel | grep -E '^(Status|Version)'
  run_once /usr/bin/lumora-channel /opt/lumora-channel installed
  apt-get remove -y lumora-channel >"$work/apt.log" 2>&1 || fail "apt-get remove"
  [ ! -e /usr/bin/lumora-channel ] && [ ! -e /opt/lumora-channel/Client/lumora-channel ] ||
    fail "files left after removal"
  echo "installed: apt-get install, start and remove all worked"
fi
echo "PASS"
