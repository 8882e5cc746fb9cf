#!/usr/bin/env bash
# The demo service as the client and its engine meet it: pages, enciphered downloads with
# Range, sign-in, chosen status codes, refused paths, throttle and a taken port.
# Usage: demo_service_e2e.sh BUILD_DIR
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
files=$root/share/lumora-demo/files
start_service "$root" svc --status /ad/StatusBar23.html=404 --status /ad/ChannelAds22.html=302 ||
  { echo "service did not start"; exit 1; }
base=http://127.0.0.1:$port
status_of() { curl -s -o /dev/null -w '%{http_code}' --path-as-is "${@:2}" "$base$1"; }

check "site pages are served" test "$(status_of /ad/ChannelAds23.html)$(status_of /Mp3PageHtml/Mp3PageHtml_25.html)$(status_of /mini_index.html)$(status_of /)" = 200200200200
check "every edition has its banner and advertisement" \
  bash -c 'for e in 0 21 22 23 24 25; do for p in StatusBar ChannelAds; do [ -s "$1/$p$e.html" ] || exit 1; done; done' _ "$root/share/lumora-demo/site/ad"
check "a chosen 404 answers 404" test "$(status_of /ad/StatusBar23.html)" = 404
check "a chosen 302 points at the home page" \
  bash -c 'curl -s -D - -o /dev/null "$1" | tr -d "\r" | grep -qx "Location: /index.html"' _ "$base/ad/ChannelAds22.html"
check "sign-in with a code answers 200" test "$(status_of '/client/login?code=33554455')" = 200
check "sign-in without a code answers 400" test "$(status_of /client/login)" = 400
for bad in /../share/lumora-demo/site/index.html /ad/../../bin/lumora-demo-service \
  /ad/%2e%2e/index.html /files/..%2f..%2fsite/index.html '/ad\..\index.html' //etc/passwd; do
  check "refused: $bad" test "$(status_of "$bad")" = 404
done

# Every programme file is offered under the address the client builds for it.
list=$("$root/bin/lumora-demo-service" --site "$root/share/lumora-demo/site" --files "$files" --list)
check "one download address per programme file" \
  test "$(wc -l <<<"$list")" -eq "$(ls "$files" | wc -l)" -a "$(ls "$files" | wc -l)" -ge 30
# ceil(2304 / 128) = 18; the enciphered part is 16 upper-case hex digits.
address=$(awk '$2 == "2304.mp3" { print $1 }' <<<"$list")
check "download address of 2304.mp3 has folder 18 and 16 hex digits" \
  bash -c '[[ "$1" =~ ^/files/18/[0-9A-F]{16}\.mp3$ ]]' _ "$address"
check "the whole download equals the file" \
  bash -c 'curl -s "$1" | cmp -s - "$2"' _ "$base$address" "$files/2304.mp3"
check "a range answers 206 with those bytes" bash -c '
  [ "$(curl -s -o "$3" -w "%{http_code}" -r 100-299 "$1")" = 206 ] &&
  cmp -s "$3" <(tail -c +101 "$2" | head -c 200)' _ "$base$address" "$files/2304.mp3" "$work/part"
check "an open range resumes to the end" bash -c '
  size=$(stat -c %s "$2"); curl -s -r 1000- "$1" | cmp -s - <(tail -c +1001 "$2")' _ \
  "$base$address" "$files/2304.mp3"
check "a range from the end on answers 416 with the size" bash -c '
  curl -s -D - -o /dev/null -r "$(stat -c %s "$2")-" "$1" | tr -d "\r" |
    grep -qx "Content-Range: bytes \*/$(stat -c %s "$2")"' _ "$base$address" "$files/2304.mp3"
check "an unknown enciphered name answers 404" test "$(status_of /files/18/0000000000000000.mp3)" = 404
check "a programme under another folder answers 404" \
  test "$(status_of "${address/\/18\//\/17\/}")" = 404

check "requests are logged with their user agent" \
  grep -qx 'GET /client/login?code=33554455 200 probe/1' <(curl -s -A probe/1 -o /dev/null "$base/client/login?code=33554455"; sleep 0.2; cat "$work/svc.log")

# A second service on the same port fails and says so.
"$root/bin/lumora-demo-service" --site "$root/share/lumora-demo/site" --files "$files" \
  --port "$port" 2>"$work/taken.err" >/dev/null &
second=$!
pids+=("$second")
wait_for 5 bash -c "! kill -0 $second 2>/dev/null"
wait "$second"
check "a taken port ends the second service with a message" \
  bash -c '[ "$1" -ne 0 ] && grep -q "is taken" "$2"' _ $? "$work/taken.err"

# 20000 bytes a second: the download takes about size / 20000 seconds.
start_service "$root" slow --throttle 20000 || exit 1
size=$(stat -c %s "$files/2304.mp3")
t=$(curl -s -o /dev/null -w '%{time_total}' "http://127.0.0.1:$port$address")
check "throttle slows a download to about its rate" \
  awk -v t="$t" -v s="$size" 'BEGIN { e = s / 20000; exit !(t > e * 0.7 && t < e * 2 + 1) }'

kill -TERM "$service"
check "the service ends on SIGTERM" wait_for 5 bash -c "! kill -0 $service 2>/dev/null"
summary
