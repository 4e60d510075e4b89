#!/usr/bin/env bash
# Checks of the installed game, run by ctest in a tree installed under a
# temporary prefix. Exit 77 tells ctest a check was skipped.
#   check-installed.sh install BUILD PREFIX PROGRAM_DIR DATA_DIR APP_ID "ICON_SIZES" (empty sizes: no icon)
#   check-installed.sh game|desktop|metainfo|man PREFIX PROGRAM_DIR DATA_DIR APP_ID [BIN_DIR]
# PROGRAM_DIR holds the game and its sound module, DATA_DIR its level and help
# files. BIN_DIR is the folder, below PREFIX, of the link that starts the game
# (bin, or games in the Debian package; the level tool is in bin); man pages
# may be gzipped.
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

what="$1"
shift
case "$what" in
install)
  build="$1" prefix="$2" program_dir="$3" data_dir="$4" app_id="$5" sizes="$6"
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
  for f in "$program_dir/aquendo" "$program_dir/aquendo-sound.so" "$data_dir/aqnd.dat" "$data_dir/aqnd2.html" bin/aquendo-levels \
           "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
           share/man/man6/aquendo.6 share/man/man1/aquendo-levels.1; do
    [[ -f "$prefix/$f" ]] || fail "$f is not installed"
  done
  [[ -x "$prefix/$program_dir/aquendo" ]] || fail "the game is not executable"
  # The link on PATH is relative, so the tree can be moved as a whole.
  link="$(readlink "$prefix/bin/aquendo")" || fail "bin/aquendo is not a link"
  [[ "$link" != /* ]] || fail "bin/aquendo points at an absolute path: $link"
  [[ "$(realpath "$prefix/bin/aquendo")" == "$(realpath "$prefix/$program_dir/aquendo")" ]] ||
    fail "bin/aquendo does not lead to the game"
  cmp -s "$build/bin/aqnd.dat" "$prefix/$data_dir/aqnd.dat" || fail "the installed level file differs"
  if [[ -n "$sizes" ]]; then
    [[ -f "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" ]] || fail "no scalable icon"
    for s in $sizes; do
      png="$prefix/share/icons/hicolor/${s}x${s}/apps/$app_id.png"
      [[ -f "$png" ]] || fail "no ${s}px icon"
      # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
      read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
      [[ "$w $h" == "$s $s" ]] || fail "the ${s}px icon is ${w}x${h}"
    done
  else
    echo "note: no icon SVG in the source tree, so no icon is installed"
  fi
  echo "installed under $prefix"
  ;;
game)
  prefix="$1" data_dir="$3" bin_dir="${5:-bin}"
  game="$prefix/$bin_dir/aquendo"
  config="$(mktemp -d)"
  trap 'rm -rf "$config"' EXIT
  # A chosen language, so that no dialog waits; the placement of another start.
  mkdir -p "$config/MoxelGames/Aquendo"
  printf '[common]\ntongue=0\nMainForm=200,0,1,40,50,540,399\n' >"$config/MoxelGames/Aquendo/V2.ini"
  cp "$config/MoxelGames/Aquendo/V2.ini" "$config/before.ini"
  # A runtime folder of its own: a game already running for this user (or the
  # check of the other installed tree, at the same time) would take this start
  # for a second one.
  mkdir -m 700 "$config/run"
  out="$(cd / && QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$config/run" timeout 60 "$game" --quit-after-start 2>/dev/null)"
  status=$?
  [[ $status -eq 0 ]] || fail "the installed game ended with status $status (124: it did not quit, perhaps waiting on a message box)"
  records=$(( $(stat -c %s "$prefix/$data_dir/aqnd.dat") / 162 ))
  ((records > 500)) && records=500
  expected="$records levels from $(realpath "$prefix/$data_dir")/aqnd.dat"
  [[ "$out" == "$expected" ]] || fail "the game said '$out', not '$expected'"
  # It read the settings folder it was given (the language: no dialog
  # waited) and, being a check, wrote nothing there.
  cmp -s "$config/before.ini" "$config/MoxelGames/Aquendo/V2.ini" ||
    fail "--quit-after-start changed the settings: $(diff "$config/before.ini" "$config/MoxelGames/Aquendo/V2.ini")"
  echo "$out"
  # Help, version and a mistyped option need no display, and end as Linux programs do.
  nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" timeout 20 "$game")
  for help in --help -h; do
    usage="$("${nodisplay[@]}" $help 2>&1)" || fail "aquendo $help ended with status $?: $usage"
    [[ "$usage" == "Usage: "*--quit-after-start* ]] || fail "aquendo $help printed: $usage"
  done
  version="$("${nodisplay[@]}" --version 2>&1)" || fail "aquendo --version ended with status $?: $version"
  [[ "$version" =~ ^Aquendo\ [0-9]+\.[0-9]+$ ]] || fail "aquendo --version printed: $version"
  "${nodisplay[@]}" --no-such-option >"$config/out" 2>"$config/err"
  status=$?
  [[ $status -eq 2 && ! -s "$config/out" ]] && grep -q "unknown option '--no-such-option'" "$config/err" ||
    fail "an unknown option gave status $status, output '$(cat "$config/out")', errors '$(cat "$config/err")'"
  echo "--help, -h, --version and an unknown option: as expected, without a display"
  ;;
desktop)
  prefix="$1" app_id="$4"
  command -v desktop-file-validate >/dev/null || skip "desktop-file-validate is not installed (Debian: desktop-file-utils)"
  out="$(desktop-file-validate "$prefix/share/applications/$app_id.desktop" 2>&1)"
  [[ $? -eq 0 && -z "$out" ]] || fail "desktop-file-validate: $out"
  echo "desktop entry valid"
  ;;
metainfo)
  prefix="$1" app_id="$4" bin_dir="${5:-bin}"
  command -v appstreamcli >/dev/null || skip "appstreamcli is not installed (Debian: appstream)"
  # Pedantic and clean, but for one note: the maker's domain, moxelgames.example,
  # is a placeholder under the reserved top level "example", which the
  # validator does not know; the id follows the domain.
  report="$(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" 2>&1)" ||
    fail "appstreamcli validate: $report"
  issues="$(grep -E '^[EWIP]: ' <<<"$report" | grep -v -E "^I: $app_id:[0-9]+: cid-maybe-not-rdns $app_id\$")"
  [[ -z "$issues" ]] || fail "appstreamcli validate --pedantic: $issues"
  # The metainfo names the desktop entry that is installed beside it.
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo does not launch $app_id.desktop"
  # Every program it says it provides is in a PATH folder.
  for binary in $(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$prefix/share/metainfo/$app_id.metainfo.xml"); do
    [[ -x "$prefix/$bin_dir/$binary" || -x "$prefix/bin/$binary" ]] ||
      fail "the metainfo provides $binary, which is in neither $bin_dir/ nor bin/"
  done
  ;;
man)
  prefix="$1"
  command -v groff >/dev/null || skip "groff is not installed"
  for page in share/man/man6/aquendo.6 share/man/man1/aquendo-levels.1; do
    [[ -f "$prefix/$page" ]] || page="$page.gz"
    [[ -f "$prefix/$page" ]] || fail "no $page"
    warnings="$(gzip -dcf "$prefix/$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)"
    [[ -z "$warnings" ]] || fail "$page: $warnings"
  done
  echo "man pages render without warnings"
  ;;
*)
  fail "unknown check $what"
  ;;
esac
