#!/bin/sh
# Builds and runs the catalogue benchmark (Release). "ratio" is the load time over the time of
# xmllint --noout on the same file (median of 7 runs, process start included); BM_ParseOnly is
# the same parse without a process.
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$src/build-bench}
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMORA_BUILD_BENCH=ON -DLUMORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target bench_catalogue -j2 >/dev/null
exec "$build/bench/catalogue/bench_catalogue" "$@"
