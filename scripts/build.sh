#!/usr/bin/env bash
# Builds the Windows x64 build (with tests) and the Windows x86 build (deliverables only).
#   scripts/build.sh [x64|x86|all]     default: all
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
jobs=${ZSR_JOBS:-$(nproc)}

configure_and_build() {
  local arch=$1 testing=$2
  local dir="$root/build/$arch"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING="$testing" -DZSR_WERROR=ON >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
}

case "$which" in
  x64) configure_and_build x64 ON ;;
  x86) configure_and_build x86 OFF ;;
  all) configure_and_build x64 ON; configure_and_build x86 OFF ;;
  *) echo "usage: $0 [x64|x86|all]" >&2; exit 2 ;;
esac
