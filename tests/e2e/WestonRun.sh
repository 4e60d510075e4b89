#!/usr/bin/env bash
# Runs a command as a native Wayland client of a private weston (headless back
# end, 1280 x 1024, screenshots allowed), stopped by its process id whatever
# happens. WESTON_SOCKET names its socket.
set -u
command -v weston >/dev/null || { echo "weston is missing"; exit 1; }
runtime=$(mktemp -d)
socket=${WESTON_SOCKET:-aquendo-e2e-$$}
# No fading in and out: a screenshot shows the windows as they are.
printf '[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n' \
  >"$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime weston --config="$runtime/weston.ini" --backend=headless-backend.so --use-pixman --width=1280 --height=1024 \
  --socket="$socket" --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [ -e "$runtime/$socket" ] && break
  sleep 0.05
done
[ -e "$runtime/$socket" ] || { cat "$runtime/weston.log"; exit 1; }
# Under LeakSanitizer: Mesa has no frame pointers, and only a full unwind
# reaches the library that its leak suppression names.
[ -n "${LSAN_OPTIONS:-}" ] && export LSAN_OPTIONS="$LSAN_OPTIONS:fast_unwind_on_malloc=0"
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
