#!/usr/bin/env bash
# A person clicks the quit button of the title bar: the program ends
# cleanly with status 0 (no crash while tearing down).
set -euo pipefail
exe=$1
: "${DISPLAY:?needs a display}"
work=$(mktemp -d)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; echo "0 passed, 1 failed"; exit 1; }

"$exe" about:blank >"$work/log" 2>&1 &
pid=$!
w=""
for _ in $(seq 300); do
  w=$(xdotool search --all --onlyvisible --pid $pid --class varomel 2>/dev/null | head -n 1 || true)
  [ -n "$w" ] && break
  sleep 0.1
done
[ -n "$w" ] || fail "no main window"
# The quit button is 42 x 17 at the top right, left of the close-current-tab
# button's place (hidden with one tab) and 3 pixels in from the border.
for _ in $(seq 100); do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$WIDTH" -gt 1030 ] && break   # start-up maximised the window
  sleep 0.1
done
xdotool mousemove $((X + WIDTH - 3 - 42 + 20)) $((Y + 3 + 8)) click 1
status=0
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "the program did not end after the quit click"
wait $pid || status=$?
[ "$status" -eq 0 ] || { cat "$work/log" >&2; fail "exit status $status"; }
echo "1 passed, 0 failed"
