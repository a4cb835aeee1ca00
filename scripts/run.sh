#!/usr/bin/env bash
# Sets up, builds and starts nettv on the program folder build/app (the
# delivered data copied there on first start), or on the folder given by --dir.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
exec "$ROOT/build/app/nettv" "$@"
