#!/usr/bin/env bash
# Benchmarks the program in one throw-away Wine session and prints a table:
#  - start-up to the shown start page, against a minimal dialog program built the same way
#    (medians of several runs, taking turns, and their ratio);
#  - processor share while a run waits on an sfc that hangs silently, over 60 s;
#  - peak private memory (as the system's process list reports it);
#  - output latency: from a stand-in's write to the change of the popup's status line, read
#    from outside, with the engine's own delivery latency measured in the same session;
#  - size of each binary (the release builds when scripts/package.sh has made them).
#   scripts/bench-program.sh            environment: ZSR_BENCH_RUNS (7), ZSR_BENCH_SECONDS (60),
#                                       ZSR_BENCH_LATENCY_RUNS (10),
#                                       ZSR_BENCH_BUILD (build folder, default build/bench-x64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZSR_BENCH_BUILD:-$root/build/bench-x64}
runs=${ZSR_BENCH_RUNS:-7}
seconds=${ZSR_BENCH_SECONDS:-60}
latency_runs=${ZSR_BENCH_LATENCY_RUNS:-10}
jobs=${ZSR_JOBS:-2}
title=系统文件修复工具
minimal_title=最小对话框

winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

if [ "${1:-}" = "--in-session" ]; then
  # Inside the Wine session: the measurements proper.
  bin=$2 tools=$3 scenario=$4 results=$5 latency=$6
  drv="$tools/program_bench.exe"
  /usr/lib/wine/wine64 "$drv" startup "$runs" \
    "$(winpath "$bin/MendoraZorvexSfcRepair.exe")" "$title" \
    "$(winpath "$tools/bench_minimal_dialog.exe")" "$minimal_title" | tr -d '\r' >> "$results"
  /usr/lib/wine/wine64 "$drv" waiting "$seconds" \
    "$(winpath "$bin/MendoraZorvexSfcRepair.exe")" "$(winpath "$bin/standins")" "$(winpath "$scenario")" \
    | tr -d '\r' >> "$results" || echo "waiting_failed 1" >> "$results"
  /usr/lib/wine/wine64 "$drv" latency "$latency_runs" \
    "$(winpath "$bin/MendoraZorvexSfcRepair.exe")" "$(winpath "$bin/standins")" "$(winpath "$latency")" \
    | tr -d '\r' >> "$results" || echo "latency_failed 1" >> "$results"
  # The engine's own delivery latency, in the same session (engine_bench finds bench_writer
  # in its own folder).
  (cd "$tools" && /usr/lib/wine/wine64 "$tools/engine_bench.exe") | tr -d '\r' | grep 'median' |
    sed 's/^/engine /' >> "$results" || true
  exit 0
fi

program_targets=(MendoraZorvexSfcRepair ZorvexSfcRepair ZorvexFeedbackInformation
  standin_sfc standin_dism standin_ping standin_tiworker standin_trustedinstaller standin_timeout standin_urlrecorder)
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DZSR_WERROR=ON >/dev/null
fi
if ! cmake --build "$build" -j "$jobs" --target "${program_targets[@]}"; then
  echo "bench-program.sh: the program or the stand-ins do not build; nothing measured" >&2
  exit 1
fi
cmake --build "$build" -j "$jobs" --target program_bench bench_minimal_dialog engine_bench bench_writer
tools="$build/bin"

work=$(mktemp -d /tmp/zsr-bench.XXXXXX); trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scenario"
# The run waits: sfc writes nothing and never ends; the probe answers, the servicing idles.
printf 'hang\n' > "$work/scenario/sfc.txt"
# Latency: program_bench writes the sfc scenario of each run into its own folder.
mkdir -p "$work/latency"
results="$work/results.txt"; : > "$results"
echo "bench-program.sh: measuring ($runs start-ups each, $seconds s of waiting) ..." >&2
"$root/scripts/in-wine-session.sh" "$0" --in-session "$build/bin" "$tools" "$work/scenario" "$results" "$work/latency"

value() { awk -v k="$1" '$1 == k { print $2 }' "$results" | tail -1; }
mib() {
  if [ -z "$1" ]; then echo "n/a"
  elif [ "$1" = 0 ]; then echo "0 (Wine leaves this counter at zero)"
  else awk -v b="$1" 'BEGIN { printf "%.1f MiB", b / 1048576 }'; fi
}
size_of() { [ -f "$1" ] && stat -c %s "$1" || echo "-"; }

prog_ms=$(value startup_a_median_ms); min_ms=$(value startup_b_median_ms)
ratio=$(awk -v a="${prog_ms:-0}" -v b="${min_ms:-0}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }')

echo
echo "Program benchmark (Wine $(/usr/lib/wine/wine64 --version 2>/dev/null), x64, $(date -u +%FT%TZ))"
printf '%-64s %s\n' "Measure" "Value"
printf '%-64s %s\n' "-------" "-----"
printf '%-64s %s ms  (runs: %s)\n' "Start-up to shown start page, median" "${prog_ms:-n/a}" "$(grep '^startup_a_runs' "$results" | cut -d' ' -f2- )"
printf '%-64s %s ms  (runs: %s)\n' "Start-up of the minimal dialog, median" "${min_ms:-n/a}" "$(grep '^startup_b_runs' "$results" | cut -d' ' -f2-)"
printf '%-64s %s\n' "Ratio program / minimal dialog" "$ratio"
if [ -z "$(value waiting_failed)" ] && [ -n "$(value wait_cpu_percent)" ]; then
  printf '%-64s %s %% of one processor (%s s CPU in %s s; sfc still waiting: %s)\n' \
    "CPU while a run waits" "$(value wait_cpu_percent)" "$(value wait_cpu_seconds)" "$(value wait_seconds)" \
    "$( [ "$(value wait_sfc_still_running)" = 1 ] && echo yes || echo NO)"
  printf '%-64s %s\n' "Visible top-level windows of the program while waiting" "$(value wait_visible_windows)"
  printf '%-64s %s\n' "Peak private memory (PeakPagefileUsage, process list)" "$(mib "$(value peak_pagefile_bytes)")"
  printf '%-64s %s\n' "Largest PrivatePageCount seen while waiting" "$(mib "$(value max_private_page_count_bytes)")"
  printf '%-64s %s\n' "Peak working set" "$(mib "$(value peak_working_set_bytes)")"
  printf '%-64s %s\n' "Private usage (GetProcessMemoryInfo, at the end)" "$(mib "$(value psapi_private_usage_bytes)")"
else
  printf '%-64s %s\n' "CPU while a run waits" "not measured: the waiting run failed (see above)"
  printf '%-64s %s\n' "Peak private memory" "not measured"
fi
printf '%-64s %s\n' "Peak private memory at the shown start page (program)" "$(mib "$(value startup_a_peak_private_bytes)")"
printf '%-64s %s\n' "Peak private memory at the shown dialog (minimal dialog)" "$(mib "$(value startup_b_peak_private_bytes)")"
if [ -z "$(value latency_failed)" ] && [ -n "$(value latency_median_ms)" ]; then
  printf '%-64s %s ms median, %s ms min, %s ms max  (runs: %s)\n' "Output latency, stand-in write to popup status line" \
    "$(value latency_median_ms)" "$(value latency_min_ms)" "$(value latency_max_ms)" \
    "$(grep '^latency_runs' "$results" | cut -d' ' -f2-)"
else
  printf '%-64s %s\n' "Output latency, stand-in write to popup status line" "not measured: the latency runs failed (see above)"
fi
grep '^engine ' "$results" | while read -r _ line; do
  printf '%-64s %s\n' "Engine delivery, write to callback (same session)" "$(echo "$line" | sed 's/  */ /g')"
done
for f in MendoraZorvexSfcRepair.exe ZorvexSfcRepair.dll ZorvexFeedbackInformation.dll; do
  printf '%-64s %s\n' "Size $f (release x64 / x86, stripped)" \
    "$(size_of "$root/build/release-x64/bin/$f") / $(size_of "$root/build/release-x86/bin/$f") bytes"
  printf '%-64s %s\n' "Size $f (this benchmark build, x64)" "$(size_of "$build/bin/$f") bytes"
done
printf '%-64s %s\n' "Size bench_minimal_dialog.exe (x64)" "$(size_of "$tools/bench_minimal_dialog.exe") bytes"
