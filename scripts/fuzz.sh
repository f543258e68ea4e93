#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz, seeds each from our own sample generator and
# runs each for SECONDS (default 60): scripts/fuzz.sh [SECONDS]
# Exits non-zero when a target reports a finding; the input that caused it is kept in
# build-fuzz/findings/<target>/ and the target's output in build-fuzz/logs/<target>.log.
# Replay one with: build-fuzz/fuzz/fuzz_<target> build-fuzz/findings/<target>/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DKORVEX_FUZZ=ON >/dev/null
cmake --build "$build"

# The targets write their scratch files many thousand times a second: a RAM disk when there is one.
scratch=$(mktemp -d "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/korvex-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

"$build/fuzz/korvex-fuzz-seeds" "$build/corpus"

# Target and its longest input: a few records of a database, a short sheet.
targets=(
  "managers 2400" "teams 6200" "players 3000"
  "csv_managers 4096" "csv_teams 4096" "csv_players 4096"
  "halloffame 5000" "savedgames 640" "ini 2200"
)

failed=0
printf '%-14s %12s %9s\n' target executions findings
for entry in "${targets[@]}"; do
  read -r name maxlen <<<"$entry"
  findings="$build/findings/$name"
  log="$build/logs/$name.log"
  mkdir -p "$findings" "$build/logs"
  before=$(find "$findings" -type f | wc -l)
  status=0
  "$build/fuzz/fuzz_$name" "$build/corpus/$name" -max_total_time="$seconds" -max_len="$maxlen" \
      -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
  found=$(($(find "$findings" -type f | wc -l) - before))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -n "$execs" ] || execs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  printf '%-14s %12s %9s\n' "$name" "${execs:-?}" "$found"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    grep -E 'rule broken|^\*\*\* |ERROR:|SUMMARY:|Test unit written' "$log" | head -8 | sed 's/^/    /'
  fi
done
exit "$failed"
