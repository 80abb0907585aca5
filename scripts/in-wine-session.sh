#!/usr/bin/env bash
# Runs one command inside a throw-away Wine session and stops the session afterwards,
# also when the command fails or is interrupted.
#   scripts/in-wine-session.sh [-C dir] command [arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

dir=$PWD
if [ "${1:-}" = "-C" ]; then dir=$2; shift 2; fi

session=$(mktemp -d /tmp/zsr-wine.XXXXXX)
cleanup() { "$root/scripts/wine-session.sh" stop "$session" || true; }
trap cleanup EXIT INT TERM
eval "$("$root/scripts/wine-session.sh" start "$session")"

cd "$dir"
status=0
"$@" || status=$?
exit "$status"
