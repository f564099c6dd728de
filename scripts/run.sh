#!/usr/bin/env bash
# The program's main job: installs what the build needs, builds, and runs the real program in
# batch mode against ten simulated programmer units answering at the line rate. A temporary
# program folder gets the program, the units' connection file, a firmware file, a sample
# project (a random image for a chip that needs a flash driver, with data flash and serial
# numbers) and that driver; the program downloads the project to every unit with "OFF" and
# ends by itself. Prints each unit's result, the result file, the log and the run's time.
#   usage: scripts/run.sh [--window]
#   --window   the window shown and no "OFF": a person watches and tries the commands, the
#              units start their own programming, and the job ends when the window is closed
#   QX_BUILD_JOBS   parallel compile jobs (default: every core, $(nproc))
set -euo pipefail
usage() { echo "usage: $0 [--window]   (QX_BUILD_JOBS=N sets the compile jobs)" >&2; exit 2; }
window=0
if [ $# -gt 1 ]; then usage; fi
if [ $# -eq 1 ]; then
  [ "$1" = "--window" ] || usage
  window=1
fi

units=10
limit=120      # seconds the batch may take before the run counts as failed
line_rate=90909  # bytes per second: 1,000,000 baud, 8N2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  if [ "$window" -eq 1 ]; then
    echo "run.sh: --window needs a display (DISPLAY or WAYLAND_DISPLAY is not set)" >&2
    exit 2
  fi
  export QT_QPA_PLATFORM=offscreen
fi

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/build-jobs.sh
bash scripts/install-deps.sh build
cmake --preset run >/dev/null
cmake --build --preset run -j "$jobs" --target qx740vrd qx740vrd-zh unitsim write_sample_project
build=build/run

dir=$(mktemp -d "${TMPDIR:-/tmp}/qx740vrd-run.XXXXXX")
sim_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
# Qt wants a private runtime folder; a root shell or a bare container has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  mkdir -m 700 "$dir/runtime"
  export XDG_RUNTIME_DIR="$dir/runtime"
fi

# The program takes its folder from its own path: it runs from the temporary folder.
ln "$build/app/qx740vrd" "$dir/qx740vrd" 2>/dev/null || cp "$build/app/qx740vrd" "$dir/qx740vrd"
sim=$build/tests/unitsim/unitsim
"$sim" --write-firmware "$dir/QX740VRD.FWR" V2.4 >/dev/null
"$sim" --write-driver SA32B12xx "$dir" >/dev/null
"$build/tests/sample/write_sample_project" "$dir/job.pqz"

"$sim" --units "$units" --dir "$dir" --pace >"$dir/units.txt" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
  [ "$(grep -c '^unit [0-9]*: /' "$dir/units.txt" || true)" -ge "$units" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { cat "$dir/units.txt" >&2; exit 1; }
  sleep 0.05
done
cat "$dir/units.txt"

args=("$dir/job.pqz" OFF)
[ "$window" -eq 1 ] && args=("$dir/job.pqz")
echo "running: qx740vrd ${args[*]}"
start=$(date +%s.%N)
"$dir/qx740vrd" "${args[@]}" >"$dir/program.txt" 2>&1 &
program_pid=$!
finished=1
if [ "$window" -eq 1 ]; then
  echo "the window is open: close it to end the run"
  wait "$program_pid" || true
else
  deadline=$(( $(date +%s%N) + limit * 1000000000 ))
  while kill -0 "$program_pid" 2>/dev/null; do
    if [ "$(date +%s%N)" -ge "$deadline" ]; then finished=0; break; fi
    sleep 0.02
  done
  if [ "$finished" -eq 1 ]; then wait "$program_pid" || finished=0; fi
fi
end=$(date +%s.%N)
if kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid"; wait "$program_pid" 2>/dev/null || true; fi
program_pid=""

# The simulator prints one summary line per unit when it is stopped.
kill -INT "$sim_pid"
wait "$sim_pid" || true
sim_pid=""

echo
echo "== each unit's result (what the simulated unit received)"
grep '^unit [0-9]*: [0-9]* bytes' "$dir/units.txt" || true
echo
echo "== result file ResDW.Txt"
if [ -f "$dir/ResDW.Txt" ]; then cat "$dir/ResDW.Txt"; else echo "(none)"; fi
echo
echo "== log"
log=$(ls "$dir"/KVTxLogS/*.log 2>/dev/null | head -n 1 || true)
if [ -n "$log" ]; then tr -d '\r' <"$log"; else echo "(no log file)"; fi
if [ -s "$dir/program.txt" ]; then
  echo
  echo "== program output"
  cat "$dir/program.txt"
fi

if [ "$finished" -ne 1 ]; then
  echo
  echo "run.sh: the batch did not finish within $limit s; the program was stopped" >&2
  exit 1
fi

# The sample's bytes on the line: the most any unit received, at the line rate.
bytes=$(grep -o '^unit [0-9]*: [0-9]* bytes' "$dir/units.txt" | awk '{ if ($3 > max) max = $3 } END { print max + 0 }')
echo
awk -v s="$start" -v e="$end" -v b="$bytes" -v r="$line_rate" -v w="$window" 'BEGIN {
  run = e - s; line = b / r
  if (w == 1) printf "the program ran %.2f s, until its window was closed\n", run
  else printf "batch run: %.2f s from program start to exit\n", run
  printf "the sample on the line: %.2f s (%d bytes to each unit at %d bytes/s)\n", line, b, r
  if (w != 1) printf "left beyond the line time plus 10 %%, for start-up, linking and the close: %.2f s\n", run - 1.1 * line
}'

if [ "$window" -eq 1 ]; then exit 0; fi
if [ "$(cat "$dir/ResDW.Txt" 2>/dev/null)" != $'Download Success\r' ]; then
  echo "run.sh: the batch ended without its result file" >&2
  exit 1
fi
echo "run.sh: the batch finished: every unit took the project"
