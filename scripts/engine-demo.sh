#!/usr/bin/env bash
# Builds Windows x64 and runs one command line through the
# repair engine in a throw-away Wine session, with the stand-in repair tools found first.
#   scripts/engine-demo.sh [command line...]        default: sfc /scannow
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" x64

bin="$root/build/x64/bin"
# The interpreter looks in the current directory first: Wine's own dism.exe and ping.exe
# must not be found before the stand-ins.
exec "$root/scripts/in-wine-session.sh" -C "$bin/standins" "$root/scripts/wine-run.sh" "$bin/engine_demo.exe" "$@"
