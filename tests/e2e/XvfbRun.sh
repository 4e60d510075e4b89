#!/usr/bin/env bash
# Runs a command against a private Xvfb server: a display of its own, started
# with -noreset, stopped by its process id whatever happens. XVFB_SCREEN sets
# the screen (1024x768x24); XVFB_WM gives it a window manager: openbox,
# kwin_x11, mutter or xfwm4. One that is missing or ends at its start skips the
# run (exit 77).
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is missing"; exit 1; }
# Xvfb picks the free display itself and says which once it takes
# connections: choosing one here raced with another run starting at once.
ready="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -noreset -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
wm=
# A window manager with a session bus of its own runs in a process group of
# its own, bus included, and goes with it.
trap '[ -n "$wm" ] && kill -- -$wm 2>/dev/null; kill $xvfb 2>/dev/null; wait $wm $xvfb 2>/dev/null; rm -f "$ready"' EXIT
for _ in $(seq 200); do
  display="$(head -n1 "$ready")"
  [ -n "$display" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start"; exit 1; }
  sleep 0.05
done
[ -n "$display" ] || { echo "Xvfb named no display"; exit 1; }
case "${XVFB_WM:-}" in
  openbox) start=(openbox --config-file /dev/null) ;;
  kwin_x11) start=(dbus-run-session -- kwin_x11) ;;
  mutter) start=(dbus-run-session -- mutter --x11) ;;
  xfwm4) start=(dbus-run-session -- xfwm4 --compositor=off) ;;
  '') start=() ;;
  *) echo "unknown window manager $XVFB_WM"; exit 1 ;;
esac
if [ ${#start[@]} -gt 0 ]; then
  if ! command -v "${XVFB_WM}" >/dev/null || { [ "${start[0]}" = dbus-run-session ] && ! command -v dbus-run-session >/dev/null; }; then
    echo "skipped: ${XVFB_WM} is not installed (scripts/setup.sh installs it)"
    [ "$XVFB_WM" = openbox ] && exit 1
    exit 77
  fi
  DISPLAY=":$display" setsid "${start[@]}" >"${XVFB_WM_LOG:-/dev/null}" 2>&1 &
  wm=$!  # the command waits until it answers
  sleep 0.5
  kill -0 $wm 2>/dev/null || { echo "skipped: ${XVFB_WM} did not start here"; wm=; exit 77; }
fi
# In the background, so that a TERM (a test timeout) reaches the command too.
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@" &
child=$!
trap 'kill $child 2>/dev/null' TERM INT HUP
wait $child
status=$?
# A signal ended the first wait: the command's own end is waited for.
kill -0 $child 2>/dev/null && { wait $child; status=$?; }
# mutter under a loaded Xvfb has been seen to end in the middle of a run: the
# window manager's end is no finding about the game.
if [ $status -ne 0 ] && [ -n "$wm" ] && [ "$XVFB_WM" != openbox ] && ! kill -0 $wm 2>/dev/null; then
  echo "skipped: ${XVFB_WM} ended during the run"
  exit 77
fi
exit $status
