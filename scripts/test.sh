#!/usr/bin/env bash
# Installs what is needed, builds both language builds with warnings as errors, and runs
# every test: a release build, an AddressSanitizer + UBSan build, a ThreadSanitizer build of
# the serial tests, and a short run of each fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
build() {  # dir, cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DQX_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

echo "== release build (English and Chinese executables, tests)"
build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
test -x build/release/app/qx740vrd
test -x build/release/app/qx740vrd-zh
(cd build/release && ctest --output-on-failure -j "$jobs")

echo "== AddressSanitizer + UBSan build"
build build/asan -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")

if [ -d tests/serial ] && ls tests/serial/*.cpp >/dev/null 2>&1; then
  echo "== ThreadSanitizer build of the serial tests"
  build build/tsan -DCMAKE_BUILD_TYPE=Debug -DQX_TSAN=ON -DQX_GUI=OFF
  (cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -R '^Serial|^TComm' -j "$jobs")
fi

if ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "== fuzz targets, a short run each"
  CC=clang CXX=clang++ build build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQX_FUZZ=ON -DQX_GUI=OFF
  targets=(build/fuzz/tests/fuzz/fuzz_*)
  per=$(( 60 / ${#targets[@]} ))
  [ "$per" -lt 10 ] && per=10
  for t in "${targets[@]}"; do
    [ -x "$t" ] || continue
    corpus="build/fuzz/corpus/$(basename "$t")"
    mkdir -p "$corpus"
    echo "-- $(basename "$t") for ${per}s"
    "$t" -max_total_time="$per" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  done
fi
echo "== all tests passed"
