#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$top/scripts/setup.sh" "$top/build"
exec "$top/build/bin/aquendo" "$@"
