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
    # A script may define on_failure to print what explains the failure (the client's log).
    if declare -F on_failure >/dev/null; then on_failure; fi
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

write_platform_ini() { # write_platform_ini ROOT SITE [DOWNLOADS] — downloads default to SITE/files/
  mkdir -p "$1/Client/Config"
  printf '%s\n' "[Info]" "1=$2" "3=${3:-$2/files/}" "10=$2/Mp3PageHtml/Mp3PageHtml" \
    "11=$2/mini_index.html" "12=" "14=$2/ad/StatusBar.html" \
    "15=$2/ad/ChannelAds.html" >"$1/Client/Config/platform.ini"
}

type_key() { # type_key WINDOW KEY — focuses WINDOW and types KEY as the keyboard does
  # Not xdotool key --window: a key sent to one window loses its release when that window
  # closes, and the program's next question box was then answered at once.
  xdotool windowfocus "$1" 2>/dev/null && xdotool key "$2"
}

summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

start_mute_site() { # a site that accepts and never answers: sets $mute_port; $work/mute.accepted counts
  python3 "$(dirname "${BASH_SOURCE[0]}")/mute-listener.py" "$work/mute.port" "$work/mute.accepted" &
  pids+=($!)
  wait_for 10 test -s "$work/mute.port" || return 1
  mute_port=$(cat "$work/mute.port")
}
