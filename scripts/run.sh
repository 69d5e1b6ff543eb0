#!/usr/bin/env bash
# Builds Radove and starts it, with the given .redu file or the 16x2 example simulation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target radove radove-cli radove_db radove_examples radove_previews
if [ $# -eq 0 ]; then
  set -- build/bin/examples/lcm1602_hello.redu
fi
exec build/bin/radove "$@"
