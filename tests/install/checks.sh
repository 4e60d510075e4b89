# Sourced by the install and package checks: a failure ends the check, and
# exit 77 tells ctest it was skipped.
set -uo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }
