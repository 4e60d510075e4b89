#!/usr/bin/env bash
# The layout of .clang-format over every C++ file of the tree, then
# clang-tidy, with the checks of .clang-tidy, over the game's own sources (not
# the tests). Prints every finding and fails when there is any.
# Usage: scripts/lint.sh [BUILD_DIR]   (default build-lint; configured with clang++)
#        scripts/lint.sh --format      (reformats the tree in place, nothing else)
# Needs clang, clang-tidy and clang-format (Debian: apt-get install clang clang-tidy clang-format).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$top/build-lint}"

for tool in clang++ clang-tidy run-clang-tidy clang-format; do
  command -v "$tool" >/dev/null ||
    { echo "lint: $tool is missing (Debian: apt-get install clang clang-tidy clang-format)" >&2; exit 2; }
done

mapfile -t sources < <(git -C "$top" ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--format" ]]; then
  (cd "$top" && clang-format -i "${sources[@]}")
  exit 0
fi
unformatted="$(cd "$top" && clang-format --dry-run "${sources[@]}" 2>&1 | grep -oE '^[^:]+:[0-9]+:[0-9]+: warning' | cut -d: -f1 | sort -u || true)"
if [[ -n "$unformatted" ]]; then
  echo "$unformatted"
  echo "lint: $(wc -l <<<"$unformatted") file(s) not laid out as .clang-format says; scripts/lint.sh --format mends them" >&2
  exit 1
fi
echo "lint: layout clean (${#sources[@]} files)"

# Only the compile commands are needed; no source includes a generated file.
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=OFF \
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
