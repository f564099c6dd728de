#!/usr/bin/env bash
# Installs what is needed, builds the English program and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/run -j "$(nproc)" --target qx740vrd
exec build/run/app/qx740vrd "$@"
