#!/usr/bin/env bash
# Runs a command against a private Xvfb server: a free display number, started
# with -noreset, stopped by its process id whatever happens. XVFB_SCREEN sets
# the screen (1024x768x24); XVFB_WM=openbox gives it a window manager.
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is missing"; exit 1; }
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=$n; break; }
done
[ -n "${display:-}" ] || { echo "no free display"; exit 1; }
Xvfb ":$display" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null; wait $wm $xvfb 2>/dev/null' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done
if [ "${XVFB_WM:-}" = openbox ]; then
  command -v openbox >/dev/null || { echo "openbox is missing"; exit 1; }
  DISPLAY=":$display" openbox --config-file /dev/null >/dev/null 2>&1 &
  wm=$!  # the command waits until it answers
fi
# In the background, so that a TERM (a test timeout) reaches the command too.
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@" &
child=$!
trap 'kill $child 2>/dev/null' TERM INT HUP
wait $child
status=$?
# A signal ended the first wait: the command's own end is waited for.
kill -0 $child 2>/dev/null && { wait $child; status=$?; }
exit $status
