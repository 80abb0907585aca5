#!/usr/bin/env bash
# The program lying in a drive's root removes nothing: a folder holding only the program is
# mapped as a drive of the Wine prefix, and the helper that does the main window's removal
# is started from that drive's root.
set -euo pipefail
bin=$1
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX/dosdevices" ]; then
  echo "no Wine session"; exit 77
fi
letter=
for l in q r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$l:" ]; then letter=$l; break; fi
done
[ -n "$letter" ] || { echo "no free drive letter"; exit 77; }
drive=$(mktemp -d /tmp/zsr-drive-root.XXXXXX)
scenario=$(mktemp -d /tmp/zsr-drive-scenario.XXXXXX)
trap 'rm -f "$WINEPREFIX/dosdevices/$letter:"; rm -rf "$drive" "$scenario"' EXIT
cp "$bin/tool_folder_remover.exe" "$drive/MendoraZorvexSfcRepair.exe"
ln -s "$drive" "$WINEPREFIX/dosdevices/$letter:"

# The stand-in timeout records every start in the scenario folder's calls.txt.
export WINEPATH="Z:$(echo "$bin" | tr / '\\')\\standins"
export ZSR_SCENARIO_DIR="$scenario"
ran_from=$(cd "$drive" && /usr/lib/wine/wine64 "$letter:\\MendoraZorvexSfcRepair.exe" | tr -d '\r')
echo "ran from: $ran_from"
upper=$(echo "$letter" | tr a-z A-Z)
case "$ran_from" in
  "$upper:\\MendoraZorvexSfcRepair.exe"|"$letter:\\MendoraZorvexSfcRepair.exe") ;;
  *) echo "FAIL: the helper did not run from the drive's root"; exit 1 ;;
esac
sleep 5
[ -f "$drive/MendoraZorvexSfcRepair.exe" ] || { echo "FAIL: the drive's program was removed"; exit 1; }
if [ -s "$scenario/calls.txt" ]; then echo "FAIL: the interpreter was started:"; cat "$scenario/calls.txt"; exit 1; fi
echo "nothing removed"
