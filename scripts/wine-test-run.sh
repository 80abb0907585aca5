#!/usr/bin/env bash
# Runs a Windows test program in the current Wine session for CTest (its cross-compiling
# emulator). The program's output goes through files rather than CTest's pipe: Wine's
# desktop and service processes that a test happens to start inherit the descriptors, and
# CTest would wait for them to close the pipe long after the test has ended.
set -uo pipefail
out=$(mktemp /tmp/zsr-test-out.XXXXXX)
err=$(mktemp /tmp/zsr-test-err.XXXXXX)
"$(dirname "$0")/wine-run.sh" "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit "$status"
