# Shared by the end-to-end scripts: work folder, process clean-up, checks and the demo service.
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
pids=()
passed=0
failed=0

cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() { # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}

wait_for() { # wait_for SECONDS COMMAND...
  local until=$((SECONDS + $1))
  shift
  while [ $SECONDS -lt $until ]; do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

start_service() { # start_service ROOT NAME [OPTIONS] — sets $service (pid) and $port
  local portfile=$work/$2.port
  "$1/bin/lumora-demo-service" --site "$1/share/lumora-demo/site" \
    --files "$1/share/lumora-demo/files" --port 0 --port-file "$portfile" \
    --log "$work/$2.log" "${@:3}" >/dev/null 2>&1 &
  service=$!
  pids+=("$service")
  wait_for 10 test -s "$portfile" || return 1
  port=$(cat "$portfile")
}

summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
