#!/usr/bin/env bash
# Runs a Windows program in the current Wine session (the exports of wine-session.sh start).
# CTest uses it as the cross-compiling emulator.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] && [ -n "${ZSR_WINE_ENV:-}" ]; then
  # shellcheck disable=SC1090
  . "$ZSR_WINE_ENV"
fi
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: no Wine session; start one with scripts/wine-session.sh" >&2
  exit 125
fi
exec /usr/lib/wine/wine64 "$@"
