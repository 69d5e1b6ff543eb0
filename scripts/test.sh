#!/usr/bin/env bash
# Builds Radove with warnings as errors and runs every test; then runs the
# run-control tests again under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DRADOVE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

# The worker thread, its host requests and the device lock under TSan.
cmake -S . -B build-tsan -G Ninja -DRADOVE_WERROR=ON -DRADOVE_SANITIZE=thread \
  -DRADOVE_BUILD_UI=OFF -DRADOVE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_core
TSAN_OPTIONS="halt_on_error=1" build-tsan/bin/test_core --gtest_brief=1
