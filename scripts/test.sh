#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
cd "$ROOT/build"
ctest --output-on-failure -j2 "$@"
