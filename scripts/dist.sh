#!/usr/bin/env bash
# The release tarball: every tracked file of a commit (HEAD unless named),
# below aquendo-VERSION/, written as OUT_DIR/aquendo-VERSION.tar.gz. Only
# what git tracks goes in, so build folders and stray files stay out; git
# gives every file the commit's time, so the same commit gives the same bytes.
# Usage: scripts/dist.sh OUT_DIR [COMMIT]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:?output folder}"
rev="${2:-HEAD}"

git -C "$top" rev-parse --verify -q "$rev^{commit}" >/dev/null ||
  { echo "dist: $top is no git checkout with a commit $rev; the tarball is made from one" >&2; exit 2; }
version="$(git -C "$top" show "$rev:CMakeLists.txt" | sed -n 's/^project(Aquendo VERSION \([0-9.]*\).*/\1/p')"
[[ -n "$version" ]] || { echo "dist: no version in the project() line of CMakeLists.txt" >&2; exit 2; }
if [[ "$rev" == HEAD && -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]]; then
  echo "dist: note: changes not committed are not in the tarball" >&2
fi
mkdir -p "$out"
out="$(cd "$out" && pwd)"
name="aquendo-$version"
git -C "$top" -c tar.umask=022 archive --format=tar.gz --prefix="$name/" -o "$out/$name.tar.gz" "$rev"
echo "$out/$name.tar.gz"
