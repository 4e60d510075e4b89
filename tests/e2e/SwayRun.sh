#!/usr/bin/env bash
# Runs a command as a native Wayland client of a private headless sway
# (1280 x 1024, no input devices: input comes through swaymsg's seat commands
# and wtype's virtual keyboard), stopped by its process id whatever happens.
# sway refuses to run as root: as root it runs under a user id no account has.
# Skips (exit 77) where sway, swaymsg or wtype is missing.
set -u
for tool in sway swaymsg wtype setpriv; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
runtime=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; wait 2>/dev/null; rm -rf "$runtime"' EXIT
as=()
if [ "$(id -u)" = 0 ]; then
  uid=$((300000 + $$))
  as=(setpriv --reuid="$uid" --regid="$uid" --clear-groups)
  chown "$uid:$uid" "$runtime"
  # A build below a folder that lets no one else pass (/root): then in /tmp.
  if ! "${as[@]}" test -w "$runtime"; then
    rm -rf "$runtime"
    runtime=$(mktemp -d -p /tmp)
    chown "$uid:$uid" "$runtime"
  fi
fi
printf 'output HEADLESS-1 resolution 1280x1024\n' >"$runtime/config"
XDG_RUNTIME_DIR=$runtime HOME=$runtime WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  "${as[@]}" sway -c "$runtime/config" >"$runtime/sway.log" 2>&1 &
pid=$!
for _ in $(seq 200); do
  socket=$(cd "$runtime" && ls wayland-* 2>/dev/null | grep -v lock | head -n1)
  ipc=$(ls "$runtime"/sway-ipc.* 2>/dev/null | head -n1)
  [ -n "$socket" ] && [ -n "$ipc" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.05
done
if [ -z "${socket:-}" ] || [ -z "${ipc:-}" ]; then
  cat "$runtime/sway.log"
  exit 1
fi
# Under LeakSanitizer: Mesa has no frame pointers, and only a full unwind
# reaches the library that its leak suppression names.
[ -n "${LSAN_OPTIONS:-}" ] && export LSAN_OPTIONS="$LSAN_OPTIONS:fast_unwind_on_malloc=0"
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket SWAYSOCK=$ipc QT_QPA_PLATFORM=wayland "$@"
