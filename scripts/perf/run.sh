#!/usr/bin/env bash
# The game against a bare Qt window of its size, under Xvfb, with public tools
# only (Xvfb, /proc). Prints, for the game and the bare window:
#   startup  milliseconds from exec to the main window mapped, median of RUNS
#   rss      resident memory 2 s after start, median of 3
#   idle     CPU of a level left running for 30 s, as % of one core
# Usage: scripts/perf/run.sh [BUILD_DIR] [RUNS]   (defaults: build, 11)
# The build must have AQUENDO_BENCHMARKS on (the default). AQUENDO_PERF_GAME
# names another game binary to measure (with its level file beside it), and
# AQUENDO_PERF_LEVEL the stored level it starts (default 250: a long clock).
# AQUENDO_PERF_BEFORE names a second game binary whose start-up is timed in
# the same turns, for a before and after in one run.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$top/build}"
runs="${2:-11}"
bin="$build/bin"
cmake --build "$build" --target aquendo aquendo-bare-window aquendo-map-watch >/dev/null

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses; -noreset, or the server resets when its last
# client leaves and refuses the next one.
display=99
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.05; done
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb

# A settings file that lets the game start straight into play: the language
# chosen (no dialog waits), a level with more than 30 s on its clock.
export XDG_CONFIG_HOME="$work/config"
# A runtime folder of its own: a game already running for this user (one
# game per user) would otherwise take the start and end the measured one.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
fresh_settings() {
  rm -rf "$XDG_CONFIG_HOME"
  mkdir -p "$XDG_CONFIG_HOME/MoxelGames/Aquendo"
  printf '[common]\ntongue=0\nlevel=%s\n' "${AQUENDO_PERF_LEVEL:-250}" >"$XDG_CONFIG_HOME/MoxelGames/Aquendo/V2.ini"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# startup: exec to the mapping of the 500 x 366 main window (not the splash),
# the game and the bare window in turn, so that a busy machine slows both alike.
startups() {
  for _ in $(seq "$runs"); do
    for which in game bare ${before:+before}; do
      fresh_settings
      local program="$game"
      [[ $which == bare ]] && program="$bare"
      [[ $which == before ]] && program="$before"
      echo "$which $("$bin/aquendo-map-watch" 500 366 20000 "$program")"
      sleep 0.3
    done
  done >"$work/startups"
}
startup_of() { awk -v w="$1" '$1 == w {print $2}' "$work/startups" | median; }

rss_kb() {
  local program="$1"
  for _ in 1 2 3; do
    fresh_settings
    "$program" >/dev/null 2>&1 &
    local pid=$!
    sleep 2
    awk '/^VmRSS:/ {print $2}' "/proc/$pid/status"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done | median
}

# CPU over 30 s, from 5 s after start (the splash gone): utime + stime of
# /proc/PID/stat in clock ticks, and, finer, the nanoseconds on a CPU of all
# threads from /proc/PID/task/*/schedstat.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }
idle_percent() {
  local program="$1"
  fresh_settings
  "$program" >/dev/null 2>&1 &
  local pid=$!
  sleep 5
  local ticks0 ns0 ticks1 ns1 hz
  hz=$(getconf CLK_TCK)
  ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  ns0=$(cpu_ns "$pid")
  sleep 30
  ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  ns1=$(cpu_ns "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v t=$((ticks1 - ticks0)) -v hz="$hz" -v ns=$((ns1 - ns0)) \
    'BEGIN {printf "%.3f %% (%.4f %%)\n", 100 * t / hz / 30, 100 * ns / 1e9 / 30}'
}

game="${AQUENDO_PERF_GAME:-$bin/aquendo}"
before="${AQUENDO_PERF_BEFORE:-}"
bare="$bin/aquendo-bare-window"
startups
game_start=$(startup_of game)
bare_start=$(startup_of bare)
game_rss=$(rss_kb "$game")
bare_rss=$(rss_kb "$bare")
game_idle=$(idle_percent "$game")
bare_idle=$(idle_percent "$bare")

printf '%-10s %12s %12s %10s\n' "" "game" "bare window" "game/bare"
awk -v g="$game_start" -v b="$bare_start" 'BEGIN {printf "%-10s %9.1f ms %9.1f ms %9.2fx\n", "startup", g, b, g / b}'
if [[ -n "$before" ]]; then
  awk -v g="$(startup_of before)" -v b="$bare_start" 'BEGIN {printf "%-10s %9.1f ms %9.1f ms %9.2fx\n", "before", g, b, g / b}'
fi
awk -v g="$game_rss" -v b="$bare_rss" 'BEGIN {printf "%-10s %9.1f MB %9.1f MB %+8.1f MB\n", "rss", g / 1024, b / 1024, (g - b) / 1024}'
printf '%-10s %s   bare window: %s\n' "idle" "$game_idle" "$bare_idle"
echo "(startup: median of $runs runs each, game and bare window in turn; rss: median of 3, 2 s after start; idle: CPU over 30 s of a running level,"
echo " from utime + stime, in brackets from schedstat)"
