#!/usr/bin/env bash
# Builds Radove and starts it, with the given .redu file or an example simulation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target radove radove-cli
if [ $# -eq 0 ]; then
  example=$(ls data/examples/*.redu 2>/dev/null | head -n 1 || true)
  [ -n "$example" ] && set -- "$example"
fi
exec build/bin/radove "$@"
