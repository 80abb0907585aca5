#!/usr/bin/env bash
# Builds the release zips for Windows x86 and x64 into out/:
#   out/MendoraZorvexSfcRepair-<version>-<arch>.zip and out/MendoraZorvexSfcRepair-<version>-SHA256SUMS.txt
# Each zip holds the program, its two libraries and the Chinese read-me, nothing else (the
# program removes its folder on closing only when the folder holds just these four names).
# The zips are the same byte for byte for the same commit: the sources are the commit's own
# (exported from git, so edits in the work tree do not leak in), release builds without link
# time stamps, stripped, a fixed file order and the commit's time on every entry.
#   scripts/package.sh [--clean] [COMMIT]    --clean: build from empty build folders;
#                                            COMMIT: default HEAD
# SOURCE_DATE_EPOCH, when set, replaces the commit's time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TZ=UTC LC_ALL=C.UTF-8

clean=0
if [ "${1:-}" = "--clean" ]; then clean=1; shift; fi
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}") || { echo "usage: $0 [--clean] [COMMIT]" >&2; exit 2; }

# The commit's sources in a folder of their own; refreshed only when the commit changes.
src="$root/build/release-src"
if [ "$clean" = 1 ] || [ "$(cat "$src/.commit" 2>/dev/null)" != "$commit" ]; then
  rm -rf "$src"; mkdir -p "$src"
  # -m: fresh file times, so the builds below see every changed file as new.
  git -C "$root" archive "$commit" | tar -x -m -C "$src"
  echo "$commit" > "$src/.commit"
fi

version=$(sed -n 's/^project(ZorvexSfcRepair VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct "$commit")}
echo "package.sh: packaging commit $commit (version $version)" >&2

program=MendoraZorvexSfcRepair
files=("$program.exe" ZorvexSfcRepair.dll ZorvexFeedbackInformation.dll)
readme=使用说明.txt
jobs=${ZSR_JOBS:-2}
# No PE time stamps; no symbols (they would carry nothing a user needs).
link_flags="-Wl,--no-insert-timestamp -s"

build_release() {
  local arch=$1 dir="$root/build/release-$1"
  # A build folder configured from another source folder cannot be reused.
  if [ "$clean" = 1 ] || ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$src" "$dir/CMakeCache.txt" 2>/dev/null; then
    rm -rf "$dir"
  fi
  cmake -S "$src" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DZSR_WERROR=ON \
    -DCMAKE_EXE_LINKER_FLAGS="$link_flags" -DCMAKE_SHARED_LINKER_FLAGS="$link_flags" >/dev/null
  if ! cmake --build "$dir" -j "$jobs" --target "$program" ZorvexSfcRepair ZorvexFeedbackInformation; then
    echo "package.sh: the $arch release build failed: the program $program does not build (yet); no zip made" >&2
    exit 1
  fi
  local f
  for f in "${files[@]}"; do
    [ -f "$dir/bin/$f" ] || { echo "package.sh: $arch build made no $f" >&2; exit 1; }
  done
}

stage_and_zip() {
  local arch=$1 dir="$root/build/release-$1/bin"
  local stage="$root/out/stage-$arch" zip="$root/out/$program-$version-$arch.zip"
  rm -rf "$stage"; mkdir -p "$stage"
  local f
  for f in "${files[@]}"; do cp "$dir/$f" "$stage/$f"; done
  # Notepad on a Chinese Windows 7 reads UTF-8 only with a byte order mark, and wants CR LF.
  { printf '\xef\xbb\xbf'; sed 's/\r$//; s/$/\r/' "$src/packaging/$readme"; } > "$stage/$readme"
  chmod 644 "$stage"/*
  touch -d "@$epoch" "$stage"/*
  local paths=()
  for f in "${files[@]}" "$readme"; do paths+=("$stage/$f"); done
  /usr/bin/python3 "$src/packaging/make_zip.py" "$zip" "$epoch" "${paths[@]}"
  rm -rf "$stage"
}

mkdir -p "$root/out"
for arch in x64 x86; do build_release "$arch"; done
for arch in x64 x86; do stage_and_zip "$arch"; done

sums="$root/out/$program-$version-SHA256SUMS.txt"
(cd "$root/out" && sha256sum "$program-$version-x64.zip" "$program-$version-x86.zip" > "$sums")
cat "$sums"
