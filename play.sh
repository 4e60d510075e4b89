#!/usr/bin/env bash
# Installs what the game needs and is missing, builds the game, and starts it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$top/scripts/setup.sh" --game "$top/build"
exec "$top/build/bin/aquendo" "$@"
