#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build with warnings as errors, once under AddressSanitizer and UBSan; the
# gallery client's worker threads once more under ThreadSanitizer; then each
# libFuzzer target for a few seconds (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# ccache, when installed, spares the sanitizer builds what another build compiled.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi

bash scripts/build.sh build -DVEXCLK_WERROR=ON
(cd build && ctest --output-on-failure -j"$(nproc)")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
bash scripts/build.sh build-asan -DVEXCLK_SANITIZE=ON -DVEXCLK_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ctest --output-on-failure -j"$(nproc)")

export TSAN_OPTIONS=halt_on_error=1
# Only the test program: the windows and tools have no threads of their own to check.
cmake -S . -B build-tsan -DVEXCLK_SANITIZE_THREAD=ON -DVEXCLK_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-tsan -j"$(nproc)" --target vexclk_tests
build-tsan/tests/vexclk_tests --gtest_filter='Gallery*'
bash scripts/fuzz.sh 5
