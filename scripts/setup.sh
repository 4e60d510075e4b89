#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: install what is missing, configure, build.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?build folder}"
shift

# Debian packages the build, the game and the tests need. One per line, so a
# new dependency is a one-line change.
packages=(
  cmake
  ninja-build
  g++
  pkg-config
  qt6-base-dev
  libgl-dev
  libxcb1-dev
  libxtst-dev
  xvfb
  openbox
  weston
  qt6-wayland
  qt6-translations-l10n
  qt6-svg-dev
  fonts-liberation
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  qt6-multimedia-dev
  fonts-dejavu-core
  pulseaudio
  # The checks of the installed tree: desktop entry, metainfo, man pages.
  desktop-file-utils
  appstream
  groff-base
  # The Debian package: dpkg-shlibdeps for its Depends, and its check.
  dpkg-dev
  lintian
)

# The fuzz targets and a clang build need clang and its sanitizer runtime,
# scripts/lint.sh clang-tidy and clang-format; only installed when asked for.
if [[ " $* " == *" -DAQUENDO_FUZZ=ON "* || " $* " == *" -DCMAKE_CXX_COMPILER=clang++ "* ]]; then
  packages+=(clang libclang-rt-14-dev clang-tidy clang-format)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${AQUENDO_BUILD_TYPE:-RelWithDebInfo}" \
  "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
