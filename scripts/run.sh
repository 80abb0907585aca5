#!/usr/bin/env bash
# The main command: builds the program and runs it under Wine with the stand-in repair tools
# (Wine has none of its own). On the user's display when there is one; otherwise in Xvfb,
# saving a screenshot every two seconds.
#   scripts/run.sh                  ZSR_RUN_SECONDS (headless only, default 30) bounds the run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" x64

bin="$root/build/x64/bin"
# The program removes its own folder once closed: run a copy in a folder of its own.
stamp=$(date +%Y%m%d-%H%M%S)
folder="$root/out/run/$stamp/MendoraZorvexSfcRepair"
mkdir -p "$folder"
cp "$bin/MendoraZorvexSfcRepair.exe" "$bin/ZorvexSfcRepair.dll" "$bin/ZorvexFeedbackInformation.dll" "$folder/"

headless=0
[ -n "${DISPLAY:-}" ] || headless=1

run_program() {
  # The interpreter looks in the current directory first: Wine's own dism.exe and ping.exe
  # must not be found before the stand-ins.
  cd "$bin/standins"
  if [ "$headless" -eq 0 ]; then
    "$root/scripts/wine-run.sh" "$folder/MendoraZorvexSfcRepair.exe"
    return
  fi
  local shots="$root/out/run/$stamp/screenshots"
  mkdir -p "$shots"
  "$root/scripts/wine-run.sh" "$folder/MendoraZorvexSfcRepair.exe" &
  local program=$! seconds=${ZSR_RUN_SECONDS:-30} n=0
  while [ "$n" -lt $((seconds / 2)) ] && kill -0 "$program" 2>/dev/null; do
    sleep 2
    n=$((n + 1))
    xwd -root -display "$DISPLAY" | convert xwd:- "$shots/$(printf '%03d' "$n").png" || true
  done
  echo "screenshots: $shots"
}

export -f run_program
export root bin folder stamp headless
"$root/scripts/in-wine-session.sh" bash -c run_program
