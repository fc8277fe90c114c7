#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its run folder
# (build/release/run: ConsoleOut.txt and Settings.ini are written there, data/
# is a link to the source tree's data folder).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF >/dev/null
ninja -C "$build" tidewrack language_base

cd "$build/run"
exec ./tidewrack "$@"
