#!/usr/bin/env bash
# Desktops the program runs on: without any X display it says so and fails;
# in a Wayland session (a headless compositor with XWayland) it keeps to
# X11 through XWayland, so its window is an X11 window carrying the
# single-instance marker.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

no_display_output=$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" about:blank 2>&1)
no_display_status=$?
check "without an X display the program fails" [ "$no_display_status" -ne 0 ]
check "... with one message of its own" [ "$(printf '%s\n' "$no_display_output" | grep -c '^varomel: .*X display')" = 1 ]
only_wayland=$(env -u DISPLAY WAYLAND_DISPLAY=wayland-none "$exe" about:blank 2>&1)
check "a Wayland socket alone is not taken instead of X" [ $? -ne 0 ]

# The compositor starts XWayland on a display number of its own choosing and
# names it in its log.
command -v weston >/dev/null || fatal "weston is not installed"
socket=varomel-test-$$
weston --backend=headless-backend.so --xwayland --socket="$socket" --idle-time=0 \
  --log="$work/weston.log" >/dev/null 2>&1 &
_pids+=($!)
xwayland_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" 2>/dev/null | head -n 1; }
wait_until [ -S "$XDG_RUNTIME_DIR/$socket" ] || fatal "weston did not start: $(tail -n 5 "$work/weston.log" 2>/dev/null)"
WAIT_SECONDS=60 wait_until [ -n "$(xwayland_display)" ] ||
  fatal "weston did not offer XWayland: $(tail -n 8 "$work/weston.log" 2>/dev/null)"
export DISPLAY=$(xwayland_display) WAYLAND_DISPLAY=$socket
echo "XWayland display $DISPLAY"

start_on_xwayland() {
  "$exe" about:blank >>"$work/program.log" 2>&1 &
  app=$!
  _pids+=("$app")
}
start_on_xwayland
WAIT_SECONDS=60 wait_until _find_main_window || fatal "no X11 window appeared on XWayland: $(tail -n 5 "$work/program.log")"
marker() { xprop -id "$w" 2>/dev/null | sed -n 's/^5fwe5wre([A-Z]*) = //p'; }
check "the window on XWayland carries the marker 5fwe5wre = 1" wait_until [ "$(marker)" = 1 ]
check "the program is still running" alive
finish
