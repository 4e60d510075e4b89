#!/usr/bin/env bash
# Builds the fuzz targets with clang (installed by the set-up when asked for)
# and runs the media item fuzzer. Usage: fuzz/run.sh [SECONDS]  (default 600)
# Crashes land in build-fuzz/findings; copy one to tests/view/fuzz-regressions/
# to keep it as a test.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-600}"
"$top/scripts/setup.sh" "$top/build-fuzz" -DAQUENDO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DAQUENDO_BENCHMARKS=OFF
corpus="$top/build-fuzz/corpus"
findings="$top/build-fuzz/findings"
mkdir -p "$corpus" "$findings"
# Seeds: the small built-in items and the kept regressions.
cp "$top"/media/waves/2.item "$corpus/wave2"
for i in 2 4 5; do cp "$top/media/bitmaps/$i.item" "$corpus/bitmap$i"; done
cp "$top"/tests/view/fuzz-regressions/* "$corpus/" 2>/dev/null || true
# The small pictures as bitmap files, for the bitmap decoder.
exported="$(mktemp -d)"
"$top/build-fuzz/bin/aquendo-mediagen" export "$exported" >/dev/null
for i in 2 4 5; do cp "$exported/bitmaps/$i.bmp" "$corpus/bitmap$i.bmp"; done
rm -rf "$exported"
cd "$findings"
"$top/build-fuzz/bin/media_item_fuzz" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$corpus"
