#!/usr/bin/env bash
# Runs a command against a private Xvfb server: a display of its own, started
# with -noreset, stopped by its process id whatever happens. XVFB_SCREEN sets
# the screen (1024x768x24); XVFB_WM=openbox gives it a window manager.
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is missing"; exit 1; }
# Xvfb picks the free display itself and says which once it takes
# connections: choosing one here raced with another run starting at once.
ready="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -noreset -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
wm=
trap 'kill $wm $xvfb 2>/dev/null; wait $wm $xvfb 2>/dev/null; rm -f "$ready"' EXIT
for _ in $(seq 200); do
  display="$(head -n1 "$ready")"
  [ -n "$display" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start"; exit 1; }
  sleep 0.05
done
[ -n "$display" ] || { echo "Xvfb named no display"; exit 1; }
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
