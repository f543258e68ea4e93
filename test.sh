#!/usr/bin/env bash
# Builds Korvex with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors, and
# runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
# LibreOffice proves the CSV guards against a real spreadsheet; clang builds the fuzz targets.
scripts/deps.sh ca-certificates cmake ninja-build g++ qt6-base-dev libgl-dev libbenchmark-dev libcsv-dev fonts-dejavu-core \
    libreoffice-calc-nogui clang libclang-rt-14-dev
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON -DKORVEX_WERROR=ON -DKORVEX_BENCH=ON
cmake --build build-test
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2
# Every reader's fuzz target for about 10 s (clang build in build-fuzz): a parser fault fails the run.
../scripts/fuzz.sh 10
