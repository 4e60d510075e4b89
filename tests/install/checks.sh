# What the check scripts start with: pipes that fail, and a failure or a skip
# (exit 77 tells ctest a check was skipped) that ends the check with its reason.
set -uo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }
