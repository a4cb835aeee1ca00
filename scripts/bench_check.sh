#!/usr/bin/env bash
# Benchmarks `nettv check` over 2,000 stations served on 127.0.0.1 (1,000
# that play, 500 refused, 500 that never answer; --timeout 5, --jobs 16 and
# --jobs 64): verdict counts, wall time, peak memory and the sockets open at
# once. The build folder is the first argument (default build/).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target nettv nettv_bench
exec "$BUILD/bench/nettv_bench" --benchmark_filter=CheckCommand2000Stations
