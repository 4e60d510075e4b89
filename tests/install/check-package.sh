#!/usr/bin/env bash
# Checks of the Debian package, made by cpack from the build tree and
# unpacked with dpkg-deb -x into a root of its own (never installed on the
# machine). The game and its files in that root are then checked by
# check-installed.sh like an installed tree. Exit 77 tells ctest a check was
# skipped.
#   check-package.sh build BUILD OUT VERSION   (makes OUT/*.deb and OUT/root)
#   check-package.sh lintian OUT
#   check-package.sh dist SOURCE OUT VERSION   (the release tarball of HEAD)
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

what="$1"
shift
case "$what" in
build)
  build="$1" out="$2" version="$3"
  command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps is not installed (Debian: dpkg-dev)"
  rm -rf "$out"
  mkdir -p "$out"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$out/cpack.log")"
  deb="$out/aquendo_$version-1_$(dpkg --print-architecture).deb"
  [[ -f "$deb" ]] || fail "no $deb; cpack made: $(ls "$out")"
  # The same commit gives the same bytes: a second package, made a few
  # seconds later, is the first one.
  mkdir -p "$out/again"
  sleep 1
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out/again" >"$out/again/cpack.log" 2>&1 ||
    fail "the second cpack failed: $(cat "$out/again/cpack.log")"
  cmp "$deb" "$out/again/$(basename "$deb")" ||
    fail "two packages of one commit differ: $(diff <(dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time) \
      <(dpkg-deb --fsys-tarfile "$out/again/$(basename "$deb")" | tar -tv --full-time) | head)"
  rm -rf "$out/again"
  [[ "$(dpkg-deb -f "$deb" Package Version Section)" == $'Package: aquendo\nVersion: '"$version"$'-1\nSection: games' ]] ||
    fail "control fields: $(dpkg-deb -f "$deb" Package Version Section)"
  # Versioned library packages come only from dpkg-shlibdeps reading the binaries.
  depends="$(dpkg-deb -f "$deb" Depends)"
  for lib in libc6 libqt6widgets6 libqt6multimedia6; do
    [[ "$depends" == *"$lib (>= "* ]] || fail "Depends lacks a computed $lib: $depends"
  done
  [[ -z "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'postinst|postrm|preinst|prerm')" ]] ||
    fail "the package has maintainer scripts: $(dpkg-deb --ctrl-tarfile "$deb" | tar -t)"
  dpkg-deb -x "$deb" "$out/root" || fail "dpkg-deb -x failed"
  doc="$out/root/usr/share/doc/aquendo"
  head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
  # A new version needs its own changelog entry.
  gzip -dc "$doc/changelog.Debian.gz" >"$out/changelog" || fail "changelog.Debian.gz is no gzip file"
  logged="$(dpkg-parsechangelog -l "$out/changelog" -S Version)"
  [[ "$logged" == "$version-1" ]] || fail "the changelog's last entry is $logged, the package is $version-1"
  echo "$(basename "$deb"): Depends: $depends"
  ;;
lintian)
  out="$1"
  command -v lintian >/dev/null || skip "lintian is not installed"
  debs=("$out"/aquendo_*.deb)
  # Every override says why, in the comment above it.
  overrides="$out/root/usr/share/lintian/overrides/aquendo"
  if [[ -f "$overrides" ]]; then
    bare="$(awk '/^#/ { why = 1; next } /^[[:space:]]*$/ { why = 0; next } !why' "$overrides")"
    [[ -z "$bare" ]] || fail "lintian overrides without a comment: $bare"
  fi
  # Every tag down to the pedantic ones; only the overrides may silence one.
  report="$(lintian -I --pedantic --fail-on error,warning,info,pedantic --tag-display-limit 0 "${debs[@]}" 2>&1)"
  status=$?
  report="$(grep -v 'running with root privileges' <<<"$report")"
  [[ $status -eq 0 && -z "$report" ]] || fail "lintian -I --pedantic (status $status): $report"
  echo "lintian -I --pedantic: nothing but the reasoned overrides"
  ;;
dist)
  top="$1" out="$2" version="$3"
  command -v git >/dev/null || skip "git is not installed"
  git -C "$top" rev-parse -q --verify HEAD >/dev/null 2>&1 || skip "$top is no git checkout (perhaps the tarball itself)"
  rm -rf "$out"
  tarball="$(bash "$top/scripts/dist.sh" "$out" 2>/dev/null)" || fail "scripts/dist.sh failed"
  [[ "$tarball" == "$out/aquendo-$version.tar.gz" ]] || fail "the tarball is $tarball"
  tar -xzf "$tarball" -C "$out" || fail "the tarball does not unpack"
  src="$out/aquendo-$version"
  for f in play.sh test.sh scripts/setup.sh; do
    [[ -x "$src/$f" ]] || fail "$f is not in the tarball as a program"
  done
  # The build takes these when they are there, so a missing one would not
  # stop the configure step below.
  for f in levels/aqnd.dat help/aqnd2.html media/glyphs/icon.svg; do
    [[ -f "$src/$f" ]] || fail "$f is not in the tarball"
  done
  # Configuring finds every CMakeLists.txt and every source file named in them.
  cmake -S "$src" -B "$out/build" -G Ninja -DAQUENDO_BENCHMARKS=OFF >"$out/configure.log" 2>&1 ||
    fail "the unpacked tarball does not configure: $(tail -20 "$out/configure.log")"
  echo "$(basename "$tarball"): unpacks and configures"
  ;;
*)
  fail "unknown check $what"
  ;;
esac
