#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program's main job as far as it exists:
# until the main window and the batch mode are built, this is the protocol core linking
# ten simulated programmer units on pseudo-terminals and downloading 1 MiB to each of them
# at the real line rate. Arguments go to that run (for example a unit count: 4).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/run -j "$(nproc)" --target qx740vrd qx740vrd-zh unitsim bench_download
if [ $# -eq 0 ]; then
  set -- 10
fi
exec build/run/tests/bench/bench_download "$@"
