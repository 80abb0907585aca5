#!/usr/bin/env bash
# The window-free logic on the host: its tests under ThreadSanitizer, then its output
# interpretation under libFuzzer (with AddressSanitizer and UndefinedBehaviorSanitizer).
#   scripts/test-native.sh
#   ZSR_FUZZ_SECONDS=600 scripts/test-native.sh     longer fuzzing (default 60 s; 0 skips it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${ZSR_JOBS:-$(nproc)}
fuzz_seconds=${ZSR_FUZZ_SECONDS:-60}

tsan_dir="$root/build/native-tsan"
cmake -S "$root" -B "$tsan_dir" -G Ninja -DBUILD_TESTING=ON -DZSR_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_C_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$tsan_dir" -j "$jobs"
(
  cd "$tsan_dir"
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
    ctest --output-on-failure --timeout 300 -j "$jobs"
)

if [ "$fuzz_seconds" -gt 0 ]; then
  fuzz_dir="$root/build/native-fuzz"
  cmake -S "$root" -B "$fuzz_dir" -G Ninja -DBUILD_TESTING=OFF -DZSR_FUZZ=ON -DZSR_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" >/dev/null
  cmake --build "$fuzz_dir" -j "$jobs" --target output_fuzzer

  # Seeds: each capture behind each mode byte (0 probe, 1 local, 2 online).
  corpus="$fuzz_dir/corpus"
  mkdir -p "$corpus"
  for fixture in "$root"/tests/fixtures/*.bin; do
    name=$(basename "$fixture" .bin)
    for mode in 0 1 2; do
      { printf "\\x0$mode"; cat "$fixture"; } >"$corpus/$name-$mode"
    done
  done
  "$fuzz_dir/bin/output_fuzzer" -max_total_time="$fuzz_seconds" -max_len=8192 -timeout=10 \
    -print_final_stats=1 "$corpus"
fi
