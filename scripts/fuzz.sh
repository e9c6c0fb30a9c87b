#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) into
# build-fuzz/ and runs each for SECONDS (default 60):
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: reply_parser transcript command
# Each starts from its seeds in fuzz/corpus/TARGET; what it finds new goes to
# build-fuzz/corpus/TARGET (kept between runs), a crashing input to
# build-fuzz/artifacts/.  Exits non-zero when a target fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(reply_parser transcript command)

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXCLK_FUZZ=ON \
  -DVEXCLK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "fuzzing $t for ${seconds}s" >&2
  "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
    "build-fuzz/corpus/$t" "fuzz/corpus/$t" 2>"build-fuzz/$t.log" ||
    { tail -n 40 "build-fuzz/$t.log" >&2; exit 1; }
  grep -E '^stat::number_of_executed_units' "build-fuzz/$t.log" >&2 || true
done
