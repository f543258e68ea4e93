#!/usr/bin/env bash
# Builds Korvex, writes the synthetic sample game folder when it is missing and opens Korvex on it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh ca-certificates cmake ninja-build g++ qt6-base-dev libgl-dev libcsv-dev fonts-dejavu-core
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_TESTS=OFF
cmake --build build
# Written only when missing, so what was edited there last time is still there; it is made
# beside and moved into place, so an interrupted run never leaves half a folder behind.
if [ ! -d sample-game ]; then
    rm -rf sample-game.new
    build/korvex-sample sample-game.new
    mv sample-game.new sample-game
fi
# Started from the sample folder, Korvex takes it as the game folder until one is chosen.
cd sample-game
exec ../build/korvex
