#!/usr/bin/env bash
# clang-tidy, with the checks of .clang-tidy, over the game's own sources (not
# the tests). Prints every finding and fails when there is any.
# Usage: scripts/lint.sh [BUILD_DIR]   (default build-lint; configured with clang++)
# Needs clang and clang-tidy (Debian: apt-get install clang clang-tidy).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$top/build-lint}"

for tool in clang++ clang-tidy run-clang-tidy; do
  command -v "$tool" >/dev/null || { echo "lint: $tool is missing (Debian: apt-get install clang clang-tidy)" >&2; exit 2; }
done

# Only the compile commands are needed; no source includes a generated file.
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DAQUENDO_BENCHMARKS=OFF >/dev/null

log="$build/clang-tidy.log"
jobs="${LINT_JOBS:-2}"
run-clang-tidy -p "$build" -j "$jobs" -quiet "$top/(core|store|view|game|windows|app|tools|fuzz|bench)/" >"$log" 2>&1 || true
findings="$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' | sort -u || true)"
if [[ -n "$findings" ]]; then
  echo "$findings"
  echo "lint: $(wc -l <<<"$findings") finding(s); the whole output is in $log" >&2
  exit 1
fi
files=$(grep -c '^clang-tidy' "$log" || true)
echo "lint: clean ($files files)"
