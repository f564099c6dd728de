#!/usr/bin/env bash
# Installs what is needed, builds both language builds with warnings as errors, and runs
# every test: a release build, an AddressSanitizer + UBSan build, a ThreadSanitizer build of
# the serial tests, and a short run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
build() {  # dir, cmake options... [-- targets...]
  local dir=$1; shift
  local opts=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=("$@")
  cmake -S . -B "$dir" -G Ninja -DQX_WERROR=ON "${opts[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
  else
    cmake --build "$dir" -j "$jobs"
  fi
}

passed=0
failed=0
run_ctest() {  # dir, ctest options...: runs ctest and adds its counts to the totals
  local dir=$1; shift
  local log
  log=$(mktemp)
  local rc=0
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "$@") 2>&1 | tee "$log" || rc=$?
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [ -n "$line" ]; then
    local total bad
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
build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
test -x build/release/app/qx740vrd
test -x build/release/app/qx740vrd-zh
run_ctest build/release

echo "== AddressSanitizer + UBSan build"
build build/asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 run_ctest build/asan

if [ -d tests/serial ] && ls tests/serial/*.cpp >/dev/null 2>&1; then
  echo "== ThreadSanitizer build of the serial tests"
  build build/tsan -DCMAKE_BUILD_TYPE=Debug -DQX_TSAN=ON -DQX_GUI=OFF -- serial_tests
  TSAN_OPTIONS=halt_on_error=1 run_ctest build/tsan -R '^Serial|^TComm'
fi

if ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "== fuzz targets, a short run each"
  names=()
  for src in tests/fuzz/fuzz_*.cpp; do names+=("$(basename "$src" .cpp)"); done
  CC=clang CXX=clang++ build build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQX_FUZZ=ON -DQX_GUI=OFF -- "${names[@]}"
  targets=()
  for n in "${names[@]}"; do targets+=("build/fuzz/tests/fuzz/$n"); done
  per=$(( 60 / ${#targets[@]} ))
  [ "$per" -lt 10 ] && per=10
  for t in "${targets[@]}"; do
    corpus="build/fuzz/corpus/$(basename "$t")"
    mkdir -p "$corpus"
    echo "-- $(basename "$t") for ${per}s"
    "$t" -max_total_time="$per" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  done
fi
echo "== all stages passed"
echo "$passed passed, $failed failed"
