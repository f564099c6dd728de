#!/usr/bin/env bash
# The program's main job. Installs what it needs, builds, and runs it. Until the main
# window's batch mode is built, this is the protocol core linking simulated programmer
# units on pseudo-terminals and downloading 1 MiB to each of them at the real line rate.
#   usage: scripts/run.sh [UNITS]     UNITS: 1..10, default 10
set -euo pipefail
usage() { echo "usage: $0 [UNITS]   (1..10, default 10)" >&2; exit 2; }
units=10
if [ $# -gt 1 ]; then usage; fi
if [ $# -eq 1 ]; then
  [[ "$1" =~ ^([1-9]|10)$ ]] || usage
  units=$1
fi
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh build
cmake --preset run >/dev/null
cmake --build --preset run -j "$(nproc)" --target qx740vrd qx740vrd-zh unitsim bench_download
exec build/run/tests/bench/bench_download "$units"
