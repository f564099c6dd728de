#!/usr/bin/env bash
# Installs the Debian packages of the named sets; safe to run again.
#   build    compiler, CMake, Ninja, Qt 6 Widgets and its translations (both executables,
#            the unit simulator)
#   test     GoogleTest, the outside reference tools (objcopy, srec_cat), zlib
#   fuzz     clang with libFuzzer
#   screens  Xvfb and fonts for the screenshots of docs/
# With no set named: build, test and fuzz (what scripts/test.sh runs).
set -euo pipefail
usage() { echo "usage: $0 [build] [test] [fuzz] [screens]" >&2; exit 2; }

declare -A sets=(
  [build]="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n"
  [test]="libgtest-dev libgmock-dev googletest binutils srecord zlib1g-dev"
  [fuzz]="clang libclang-rt-14-dev"
  [screens]="xvfb xauth fonts-dejavu-core fonts-wqy-microhei"
)
chosen=("$@")
[ ${#chosen[@]} -eq 0 ] && chosen=(build test fuzz)
packages=()
for s in "${chosen[@]}"; do
  [ -n "${sets[$s]+x}" ] || usage
  read -r -a more <<<"${sets[$s]}"
  packages+=("${more[@]}")
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
