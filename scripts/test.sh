#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test through the
# CMake presets: the release build (both executables, all tests), an AddressSanitizer + UBSan
# build, a ThreadSanitizer build of the serial tests, and a short run of each fuzz target
# (each from the seeds the test fixtures write).
#   QX_BUILD_JOBS   parallel compile jobs (default: every core, $(nproc))
set -euo pipefail
[ $# -eq 0 ] || { echo "usage: $0   (QX_BUILD_JOBS=N sets the compile jobs)" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/build-jobs.sh
bash scripts/install-deps.sh build test fuzz
# A missing outside reference tool fails the object-file round trips instead of skipping them.
export QX_REQUIRE_TOOLS=1

build() {  # preset [targets...]
  local preset=$1; shift
  cmake --preset "$preset" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" -j "$jobs" --target "$@"
  else
    cmake --build --preset "$preset" -j "$jobs"
  fi
}

passed=0
failed=0
run_ctest() {  # preset: runs its tests and adds their counts to the totals
  local log rc=0 line total bad
  log=$(mktemp)
  ctest --preset "$1" -j "$(nproc)" 2>&1 | tee "$log" || rc=$?
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  if [ "$rc" -ne 0 ]; then
    echo "$passed passed, $failed failed"
    exit "$rc"
  fi
}

echo "== release build (English and Chinese executables, tests)"
build release
test -x build/release/app/qx740vrd
test -x build/release/app/qx740vrd-zh
run_ctest release

echo "== AddressSanitizer + UBSan build"
build asan
run_ctest asan

echo "== ThreadSanitizer build of the serial tests"
build tsan serial_tests
run_ctest tsan

echo "== fuzz targets, a short run each"
names=(write_fuzz_seeds)
for src in tests/fuzz/fuzz_*.cpp; do names+=("$(basename "$src" .cpp)"); done
build fuzz "${names[@]}"
run_ctest fuzz

echo "== all stages passed"
echo "$passed passed, $failed failed"
