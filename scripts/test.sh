#!/usr/bin/env bash
# The test command: installs what it needs, builds both Windows targets and the native
# logic build, then runs every test (Windows tests under a fresh headless Wine session).
#   scripts/test.sh [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" all

native_status=0
if [ -x "$root/scripts/test-native.sh" ]; then
  "$root/scripts/test-native.sh" || native_status=$?
fi

ctest_status=0
"$root/scripts/in-wine-session.sh" -C "$root/build/x64" ctest --output-on-failure --timeout 300 "$@" || ctest_status=$?

if [ "$native_status" -ne 0 ]; then
  echo "native logic tests failed (exit $native_status)" >&2
  exit "$native_status"
fi
exit "$ctest_status"
