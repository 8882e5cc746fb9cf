# Shared by the benchmark scripts that run an installation: a work folder removed at the end with
# every process listed in pids, an environment without proxies, and the demo service.
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1

wait_file() { for _ in $(seq 1 100); do [ -s "$1" ] && return 0; sleep 0.1; done; return 1; }

start_demo_service() { # start_demo_service ROOT — adds it to pids; its port file is $work/svc.port
  "$1/bin/lumora-demo-service" --site "$1/share/lumora-demo/site" \
    --files "$1/share/lumora-demo/files" --port 0 --port-file "$work/svc.port" \
    --log "$work/svc.log" >/dev/null 2>&1 &
  pids+=($!)
}
