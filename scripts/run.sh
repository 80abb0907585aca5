#!/usr/bin/env bash
# The main command: builds the program and runs it under Wine with the stand-in repair tools
# (Wine has none of its own) playing a successful repair.
#  - On the user's display (DISPLAY set) the tool opens there for the user to drive.
#  - Without a display it runs in Xvfb, where a scripted walk plays the whole success as a
#    user would (tools/walk) and a screenshot of each window is saved on the way.
# Everything lands in out/run/<time>/: the copies of the tool (it removes its own folder once
# closed), the scenario and the stand-ins' call record, the screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" x64

bin="$root/build/x64/bin"
run_dir="$root/out/run/$(date +%Y%m%d-%H%M%S)"
copy_tool() {
  mkdir -p "$1"
  cp "$bin/MendoraZorvexSfcRepair.exe" "$bin/ZorvexSfcRepair.dll" "$bin/ZorvexFeedbackInformation.dll" "$1/"
}
copy_tool "$run_dir/MendoraZorvexSfcRepair"

# sfc works a few seconds and writes its report; DISM prints its header and progress up to
# 100.0 record by record, as it does into a pipe. The probe and the servicing idle by default.
scenario="$run_dir/scenario"
mkdir -p "$scenario"
printf 'pause 3000\nwrite sfc-zh-no-violations.bin\n' > "$scenario/sfc.txt"
printf '%s\n' 'write dism-zh-success.bin 0 79' 'pause 1000' 'dism-progress 0.1 90.1 step 15 pause 1000' \
  'write dism-zh-success.bin 729' > "$scenario/dism.txt"
export ZSR_SCENARIO_DIR="$scenario"

headless=0
[ -n "${DISPLAY:-}" ] || headless=1
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# The picture of a window: the screen there, with the window's dialog laid over it from its own
# X window. Without a window manager the X server may leave a dialog that shows over a layered
# frame out of the screen's picture, although the dialog itself is drawn.
shoot() {
  local out=$1 left=$2 top=$3 right=$4 bottom=$5 inner_left=$6 inner_top=$7 inner_right=$8 inner_bottom=$9 id
  [ "$left" -ge 0 ] || left=0
  [ "$top" -ge 0 ] || top=0
  xwd -root -display "$DISPLAY" | convert xwd:- -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out"
  local geometry="$((inner_right - inner_left))x$((inner_bottom - inner_top))+$inner_left+$inner_top"
  id=$(xwininfo -root -tree -display "$DISPLAY" |
    awk -v g=" $geometry " 'tolower($0) ~ /mendorazorvexsfcrepair/ && index($0, g) { print $1; exit }')
  [ -n "$id" ] || return 0
  xwd -id "$id" -display "$DISPLAY" |
    convert "$out" xwd:- -geometry "+$((inner_left - left))+$((inner_top - top))" -composite "$out"
}

# Answers the walk's screenshot requests (shots/request) until the walk ends; returns the
# walk's exit code.
take_screenshots() {
  local walk=$1 shots=$2 request
  while kill -0 "$walk" 2>/dev/null; do
    if [ -f "$shots/request" ]; then
      read -r -a request < "$shots/request"
      shoot "$shots/${request[0]}.png" "${request[@]:1}" || echo "run.sh: screenshot ${request[0]} failed" >&2
      rm -f "$shots/request"
    fi
    sleep 0.2
  done
  wait "$walk"
}

run_program() {
  # Wine's fresh prefix reports Windows 7, whose run takes the early-success path; show the
  # usual one of later versions.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\AppDefaults\MendoraZorvexSfcRepair.exe' \
    /v Version /t REG_SZ /d win10 /f >/dev/null 2>&1
  # The interpreter looks in the current directory first: Wine's own dism.exe and ping.exe
  # must not be found before the stand-ins.
  cd "$bin/standins"
  if [ "$headless" -eq 0 ]; then
    "$root/scripts/wine-run.sh" "$run_dir/MendoraZorvexSfcRepair/MendoraZorvexSfcRepair.exe"
    return
  fi
  # A second copy is closed before any run: that offers the problem-solved window.
  copy_tool "$run_dir/second/MendoraZorvexSfcRepair"
  local shots="$run_dir/screenshots" status=0
  mkdir -p "$shots"
  "$root/scripts/wine-run.sh" "$bin/program_walk.exe" "$(winpath "$shots")" \
    "$(winpath "$run_dir/MendoraZorvexSfcRepair/MendoraZorvexSfcRepair.exe")" \
    "$(winpath "$run_dir/second/MendoraZorvexSfcRepair/MendoraZorvexSfcRepair.exe")" &
  take_screenshots $! "$shots" || status=$?
  # Each closed tool removes its folder a few seconds later; the session must outlive that.
  local n
  for n in $(seq 100); do
    [ -e "$run_dir/MendoraZorvexSfcRepair" ] || [ -e "$run_dir/second/MendoraZorvexSfcRepair" ] || break
    sleep 0.2
  done
  echo "screenshots: $shots"
  ls "$shots"
  return "$status"
}

export -f run_program take_screenshots shoot copy_tool winpath
export root bin run_dir headless
"$root/scripts/in-wine-session.sh" bash -c run_program
