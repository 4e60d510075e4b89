#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: install what is missing, configure, build.
# Usage: scripts/setup.sh [--game] BUILD_DIR [extra cmake arguments...]
#   --game   only what building and running the game needs, and only the game
#            with what it loads; without it, everything the tests need as well.
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
game_only=false
if [[ "${1:-}" == --game ]]; then
  game_only=true
  shift
fi
build="${1:?build folder}"
shift

# Debian packages, one per line, so a new dependency is a one-line change.
# What building and running the game needs:
game_packages=(
  cmake
  ninja-build
  g++
  pkg-config
  qt6-base-dev
  libgl-dev
  libxcb1-dev
  qt6-svg-dev
  qt6-multimedia-dev
  qt6-wayland
  # Qt's platform window: a modal dialog mapped again on Wayland.
  qt6-base-private-dev
  # Qt's own dialogs in the desktop's language.
  qt6-translations-l10n
  fonts-dejavu-core
  fonts-liberation
)
# What the tests, the benchmarks and the package checks need besides:
test_packages=(
  git
  libxtst-dev
  xvfb
  openbox
  weston
  # A dialog's keyboard under sway, with real input: wtype types.
  sway
  wtype
  # The placement under the window managers of Plasma and GNOME on X11.
  kwin-x11
  kwin-style-breeze
  mutter
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  # The checks of the installed tree: desktop entry, metainfo, man pages.
  desktop-file-utils
  appstream
  groff-base
  # The Debian package: dpkg-shlibdeps for its Depends, and its check.
  dpkg-dev
  lintian
)

packages=("${game_packages[@]}")
$game_only || packages+=("${test_packages[@]}")

# The fuzz targets and a clang build need clang and its sanitizer runtime,
# scripts/lint.sh clang-tidy and clang-format; only installed when asked for.
if [[ " $* " == *" -DAQUENDO_FUZZ=ON "* || " $* " == *" -DCMAKE_CXX_COMPILER=clang++ "* ]]; then
  packages+=(clang libclang-rt-14-dev clang-tidy clang-format)
fi

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

# The sound tests want a pulse server of their own. Where PipeWire's pulse
# server is installed (a GNOME desktop) they start a private PipeWire with it:
# wireplumber links the streams, on a bus of its own, and pactl looks at them.
# Elsewhere a private pulseaudio, taken only where it comes without removing
# anything (on Debian 12 it conflicts with pipewire-audio, which GNOME needs).
sound_packages=()
if ! $game_only && ! installed pulseaudio; then
  if installed pipewire-pulse; then
    wanted=(pulseaudio-utils wireplumber dbus-daemon)
  else
    wanted=(pulseaudio)
  fi
  for p in "${wanted[@]}"; do
    installed "$p" || sound_packages+=("$p")
  done
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  as_root=(sudo)
fi
# sudo resets the environment: the setting goes on apt-get's own command line.
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)

if ((${#missing[@]} + ${#sound_packages[@]})); then
  if ((${#as_root[@]})) && ! command -v sudo >/dev/null; then
    echo "Need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
  "${apt[@]}" update -qq
fi

if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  # --no-remove: apt refuses rather than take anything away from the machine.
  if ! "${apt[@]}" install -y -qq --no-install-recommends --no-remove "${missing[@]}"; then
    echo "apt-get could not install ${missing[*]} without removing other packages (or failed" >&2
    echo "otherwise, see above); nothing was removed. Install them by hand once you know what" >&2
    echo "apt-get -s install ${missing[*]} would take away." >&2
    exit 1
  fi
fi

if ((${#sound_packages[@]})); then
  if "${apt[@]}" -s install --no-install-recommends "${sound_packages[@]}" 2>/dev/null | grep -q '^Remv '; then
    echo "Not installing ${sound_packages[*]}: it would remove other packages. The sound tests skip."
  else
    echo "Installing ${sound_packages[*]} for the sound tests"
    "${apt[@]}" install -y -qq --no-install-recommends --no-remove "${sound_packages[@]}" ||
      echo "${sound_packages[*]} could not be installed; the sound tests skip."
  fi
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

options=()
if $game_only && [[ ! -f "$build/CMakeCache.txt" ]]; then
  # A new tree for playing: the tests' and benchmarks' packages are not here.
  # test.sh switches them on in the same tree later.
  options=(-DBUILD_TESTING=OFF -DAQUENDO_BENCHMARKS=OFF)
elif ! $game_only && grep -qx 'BUILD_TESTING:BOOL=OFF' "$build/CMakeCache.txt" 2>/dev/null; then
  # A tree play.sh made: now with everything.
  options=(-DBUILD_TESTING=ON -DAQUENDO_BENCHMARKS=ON)
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${AQUENDO_BUILD_TYPE:-RelWithDebInfo}" \
  "${launcher[@]}" "${options[@]}" "$@" >/dev/null
if $game_only; then
  # The game, and what it loads: its level and help files and the sound module.
  cmake --build "$build" -j "$(nproc)" --target aquendo aquendo-sound aquendo_files
else
  cmake --build "$build" -j "$(nproc)"
fi
