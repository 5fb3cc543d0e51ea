#!/usr/bin/env bash
# Builds every target and runs all tests from the native build folder: unit
# tests, and integration tests natively and under Wine (which use
# build/win32 and build/win64). Ends with "N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")"

./build.sh --build-only || { echo "0 passed, 1 failed"; exit 1; }

log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --test-dir build/native -j2 --output-on-failure 2>&1 | tee "$log"
status=${PIPESTATUS[0]}

# ctest closes with "NN% tests passed, M tests failed out of T".
summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
if [[ -z $summary ]]; then
  echo "0 passed, 1 failed"
  exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
echo "$((total - failed)) passed, $failed failed"
[[ $status -eq 0 && $failed -eq 0 ]]
