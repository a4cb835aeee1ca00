#!/usr/bin/env bash
# Benchmarks `nettv check` over 200 stations served on 127.0.0.1 (100 that
# play, 60 refused, 40 silent; --jobs 16 --timeout 5): verdict counts, wall
# time and peak memory as /usr/bin/time -v measures them. The build folder
# is the first argument (default build/).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target nettv nettv_bench
exec "$BUILD/bench/nettv_bench" --benchmark_filter=CheckCommand200Stations
