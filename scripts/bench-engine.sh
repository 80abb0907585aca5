#!/usr/bin/env bash
# Benchmarks the repair engine in a throw-away Wine session: delivery latency from a
# child's write to the callback (median and maximum), and the processor time an open,
# idle engine costs over 10 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" x64

bin="$root/build/x64/bin"
session=$(mktemp -d /tmp/zsr-bench.XXXXXX)
cleanup() { "$root/scripts/wine-session.sh" stop "$session" || true; }
trap cleanup EXIT INT TERM
eval "$("$root/scripts/wine-session.sh" start "$session")"

cd "$bin" # engine_bench starts bench_writer.exe from here
"$root/scripts/wine-run.sh" "$bin/engine_bench.exe"
