#!/usr/bin/env bash
# Checks the release zips: built twice from empty build folders they are the same byte for
# byte, and each holds exactly the four files the program's folder removal allows, with a
# read-me that Notepad shows right (UTF-8 with byte order mark, CR LF only).
#   tests/packaging/check_release_zips.sh [COMMIT]     (two clean release builds: several minutes)
# ZSR_CHECK_CONTENTS_ONLY=1 checks the zips already in out/ without building.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(ZorvexSfcRepair VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
sums="$root/out/MendoraZorvexSfcRepair-$version-SHA256SUMS.txt"
# Others may commit meanwhile: both builds take the same commit.
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The bytes of the zip's entry number N.
entry() { /usr/bin/python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); sys.stdout.buffer.write(z.read(z.infolist()[int(sys.argv[2])]))' "$1" "$2"; }

binary_sums() {
  (cd "$root/build" && sha256sum release-x64/bin/*.exe release-x64/bin/*.dll release-x86/bin/*.exe release-x86/bin/*.dll)
}

if [ "${ZSR_CHECK_CONTENTS_ONLY:-0}" != 1 ]; then
  "$root/scripts/package.sh" --clean "$commit" >/dev/null
  cp "$sums" "$work/first.txt"; binary_sums > "$work/first-bin.txt"
  "$root/scripts/package.sh" --clean "$commit" >/dev/null
  binary_sums > "$work/second-bin.txt"
  diff "$work/first-bin.txt" "$work/second-bin.txt" || fail "binaries differ between two clean builds"
  diff "$work/first.txt" "$sums" || fail "zips differ between two clean builds"
  echo "reproducible:"; cat "$sums"
fi

expected=$'MendoraZorvexSfcRepair.exe\nZorvexSfcRepair.dll\nZorvexFeedbackInformation.dll\n使用说明.txt'
for arch in x64 x86; do
  zip="$root/out/MendoraZorvexSfcRepair-$version-$arch.zip"
  names=$(/usr/bin/python3 - "$zip" <<'PY'
import struct, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for info in z.infolist():
        name = info.filename
        # Names outside ASCII: the Unicode Path field carries the real name.
        extra = info.extra
        while len(extra) >= 4:
            tag, size = struct.unpack("<HH", extra[:4])
            if tag == 0x7075:
                name = extra[9:4 + size].decode("utf-8")
            extra = extra[4 + size:]
        assert name == "MendoraZorvexSfcRepair.exe" or info.filename.encode("cp437") == name.encode("cp936") or name.isascii(), name
        print(name)
PY
)
  [ "$names" = "$expected" ] || fail "$arch zip holds: $names"
  entry "$zip" 0 > "$work/program.exe"
  [ "$(head -c 2 "$work/program.exe")" = MZ ] || fail "$arch program is no PE file"
  entry "$zip" 3 > "$work/readme.txt"
  [ "$(head -c 3 "$work/readme.txt" | od -An -tx1 | tr -d ' \n')" = efbbbf ] || fail "$arch read-me has no byte order mark"
  lf=$(tr -cd '\n' < "$work/readme.txt" | wc -c); crlf=$(grep -c $'\r$' "$work/readme.txt")
  [ "$lf" -gt 5 ] && [ "$lf" = "$crlf" ] || fail "$arch read-me line ends: $lf LF, $crlf CR LF"
  for word in "sfc /scannow" "RestoreHealth" "管理员" "Windows 7" "Windows 11" "泽沃" "https://kb.zorvex.com" "删除"; do
    grep -q "$word" "$work/readme.txt" || fail "$arch read-me lacks $word"
  done
done
echo "PASS: release zips"
