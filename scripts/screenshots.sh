#!/usr/bin/env bash
# Screenshots for docs/: the main window with four simulated units linked, the chip-selection
# dialog, an option-byte dialog and the main-flash grid holding a loaded file, in the English
# and the Chinese build, under Xvfb with the X11 platform plugin. Installs what it needs (apt), builds the release preset's unit
# simulator and screenshot programs, writes docs/*-en.png and docs/*-zh.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh build screens
[ -f build/release/build.ninja ] || cmake --preset release
cmake --build --preset release --target unitsim screens-en screens-zh
bin=build/release/tests
mkdir -p docs

work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for lang in en zh; do
  dir="$work/$lang"
  mkdir -p "$dir"
  # Four units that report the firmware the program carries: linked without an upgrade.
  "$bin/unitsim/unitsim" --write-firmware "$dir/QX740VRD.FWR" V2.4 >/dev/null
  # The flash driver of the chip whose main flash the last picture shows.
  "$bin/unitsim/unitsim" --write-driver AC78013xCxx "$dir" >/dev/null
  "$bin/unitsim/unitsim" --units 4 --dir "$dir" >"$dir/units.txt" &
  sim_pid=$!
  for _ in $(seq 50); do
    [ "$(grep -c '^unit ' "$dir/units.txt" || true)" -ge 4 ] && break
    sleep 0.1
  done
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/screens/screens-$lang" --dir "$dir" --out "$root/docs"
  kill "$sim_pid"
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
done
ls -l docs/*.png
