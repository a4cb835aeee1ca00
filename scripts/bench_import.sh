#!/usr/bin/env bash
# Measures `nettv import` of one M3U playlist of a million entries (each with
# a group, a Referer and its own address, 136 MB) into an empty program
# folder: processor time, wall time and peak memory as /usr/bin/time
# measures them. The build folder is the first argument (default build/).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target nettv
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
python3 - "$WORK/big.m3u" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("#EXTM3U\n")
    for i in range(1000000):
        f.write(f'#EXTINF:-1 group-title="组{i % 50}",频道 {i}\n'
                f"#EXTVLCOPT:http-referrer=http://p.example.cn/{i}\n"
                f"http://live{i % 100}.example.cn/ch/{i}.m3u8\n")
PY
mkdir "$WORK/dir"
/usr/bin/time -f "%U s processor, %e s wall, %M KB peak" \
  "$BUILD/app/nettv" import "$WORK/big.m3u" --dir "$WORK/dir"
