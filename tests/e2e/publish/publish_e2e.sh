#!/usr/bin/env bash
# The demo catalogue published with lumora-publish and served by nginx with the demo's own
# configuration: the client fetches a programme it does not have from nginx through its engine
# and plays it; the demo service keeps only the pages and the sign-in.
# Usage: publish_e2e.sh BUILD_DIR (under xvfb-run and dbus-run-session)
set -uo pipefail
build=$1
source "$(dirname "$0")/../common.sh"
source "$(dirname "$0")/../desktop/mpris.sh"

root=$work/root
cmake --install "$build" --prefix "$root" >/dev/null || { echo "install failed"; exit 1; }
tree=$work/published
"$root/bin/lumora-publish" "$root/Client/Resource/xml/23.xml" "$root/share/lumora-demo/files" \
  "$tree" >"$work/publish.log" 2>&1
check "lumora-publish lays out the tree" test $? -eq 0
check "the catalogue is published as it is" cmp -s "$root/Client/Resource/xml/23.xml" "$tree/xml/23.xml"
check "the audio 2304 lies under folder 18 and its enciphered name" \
  bash -c "ls '$tree'/files/18/ | grep -qE '^[0-9A-F]{16}\.mp3$'"

# nginx as an ordinary user would run it: the demo's server block inside a minimal main file.
chmod 755 "$work"
mkdir -p "$work/nginx"
nginx_up() {
  nginx_port=$((20000 + RANDOM % 40000))
  sed -e "s|listen 8080;|listen 127.0.0.1:$nginx_port;|" -e "s|root /srv/lumora-published;|root $tree;|" \
    "$root/share/lumora-demo/nginx/lumora-published.conf" >"$work/nginx/site.conf"
  cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events {}
http {
  access_log $work/nginx/access.log;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  include $work/nginx/site.conf;
}
CONF
  nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' >>"$work/nginx/start.log" 2>&1 &
  nginx_pid=$!
  pids+=("$nginx_pid")
  wait_for 5 curl -fso /dev/null "http://127.0.0.1:$nginx_port/xml/23.xml"
}
for _ in 1 2 3 4 5; do nginx_up && break; kill "$nginx_pid" 2>/dev/null; done
files=http://127.0.0.1:$nginx_port/files/
mp3=$files$(cd "$tree/files" && ls 18/*.mp3 | head -1)
range_served() { # the first ten bytes come as a partial answer
  local h
  h=$(curl -sS -o /dev/null -D - -r 0-9 "$1")
  grep -q '^HTTP/1.1 206' <<<"$h" && grep -qi '^Content-Length: 10' <<<"$h"
}
type_served() { curl -sSI "$1" | grep -qi "^Content-Type: $2"; }
check "nginx answers a Range request with 206 and the part" range_served "$mp3"
check "nginx names the audio's content type" type_served "$mp3" audio/mpeg

start_service "$root" svc || { echo "service did not start"; exit 1; }
write_platform_ini "$root" "http://127.0.0.1:$port" "$files"
# Node 3 of channel 23, the audio 2304 读一读：日月山水, is neither cached nor downloaded.
start_on "$root" 3
check "the client does not have the programme" bash -c "! ls '$root'/Client/Caches/23/2304.* '$root'/Client/DL/读一读* 2>/dev/null"
"$root/Client/lumora-channel" >"$work/client.out" 2>&1 &
pids+=($!)

check "the engine fetches the programme from nginx" \
  wait_for 30 grep -qE "\"GET /files/18/[0-9A-F]{16}\.mp3 HTTP/1\.[01]\" 20[06] " "$work/nginx/access.log"
check "the programme plays" wait_for 30 status_is Playing
check "and it is the programme asked for" title_is "读一读：日月山水"
check "the demo service served no programme" bash -c "! grep -q '^GET /files/' '$work/svc.log'"
# Told to end, the master takes its worker along; a killed master would leave it behind.
kill -TERM "$nginx_pid" && wait "$nginx_pid"
summary
