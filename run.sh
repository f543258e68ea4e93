#!/usr/bin/env bash
# Builds Korvex, writes the synthetic sample game folder and opens Korvex on it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh ca-certificates cmake ninja-build g++ qt6-base-dev libgl-dev libcsv-dev fonts-dejavu-core
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_TESTS=OFF
cmake --build build
rm -rf sample-game
build/korvex-sample sample-game
# Started from the sample folder, Korvex takes it as the game folder until one is chosen.
cd sample-game
exec ../build/korvex
