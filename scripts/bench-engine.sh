#!/usr/bin/env bash
# Benchmarks the repair engine in a throw-away Wine session: delivery latency from a
# child's write to the callback (median and maximum), and the processor time an open,
# idle engine costs over 10 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" x64

bin="$root/build/x64/bin"
# engine_bench starts bench_writer.exe from its own folder.
exec "$root/scripts/in-wine-session.sh" -C "$bin" "$root/scripts/wine-run.sh" "$bin/engine_bench.exe"
