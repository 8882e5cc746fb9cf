#!/bin/sh
# Builds and runs the engine benchmark (Release): a large loopback download by the engine and by
# curl, and the time from a programme request to the first byte of its play address.
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$src/build-bench}
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMORA_BUILD_BENCH=ON -DLUMORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_engine -j2 >/dev/null
exec env -u http_proxy -u https_proxy -u HTTP_PROXY -u HTTPS_PROXY "$build/bench/engine/bench_engine" "$@"
