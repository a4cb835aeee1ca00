#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer into build-asan/ and
# runs every test but the fuzzers (which have a sanitizer build of their
# own), under Xvfb where they need a display. Takes a while: every source is
# compiled again.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh" >/dev/null
FLAGS="-fsanitize=address -fno-omit-frame-pointer"
cmake -S "$ROOT" -B "$ROOT/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNETTV_TCMALLOC=OFF \
  -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address" >/dev/null
cd "$ROOT/build-asan"
cmake --build .
# Qt and the browser's processes keep memory to the end on purpose: leaks are
# not the question here, faults are. The browser library (a build without
# sized deallocation) frees some objects through a base of another size.
# A handler that writes into a frame that has returned corrupts whatever
# frame is there now; only the fake stack sees it.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0:detect_stack_use_after_return=1 \
  ctest -LE fuzz --output-on-failure "$@"
