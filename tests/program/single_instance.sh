#!/usr/bin/env bash
# Two instances on one display: the marker property is set on a window
# started with an argument and never on one started without; a second
# instance with an argument starts normally beside the first; no file is
# left anywhere.
set -euo pipefail
exe=$1
: "${DISPLAY:?needs a display}"
work=$(mktemp -d)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits for a new visible main window of the given process.
window_of() {
  local pid=$1
  for _ in $(seq 300); do
    local w
    w=$(xdotool search --all --onlyvisible --pid "$pid" --class varomel 2>/dev/null | head -n 1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
marker() { xprop -id "$1" 2>/dev/null | sed -n 's/^5fwe5wre([A-Z]*) = //p'; }

touch "$work/stamp"
"$exe" >/dev/null 2>&1 & pids+=($!); plain=$!
"$exe" about:blank >/dev/null 2>&1 & pids+=($!); first=$!
w_plain=$(window_of $plain) || fail "window without argument did not appear"
w_first=$(window_of $first) || fail "window with argument did not appear"
[ -z "$(marker "$w_plain")" ] || fail "a window started without argument carries the marker"
[ "$(marker "$w_first")" = 1 ] || fail "the window started with an argument lacks 5fwe5wre = 1"
grep -q '@5fwe5wre' /proc/net/unix || fail "the instance object is missing"

"$exe" about:blank >/dev/null 2>&1 & pids+=($!); second=$!
w_second=$(window_of $second) || fail "the second instance did not start its own window"
[ -z "$(marker "$w_second")" ] || fail "the second instance marked itself although the first holds the object"
kill -0 $first || fail "the first instance died"

new_files=$(find /tmp "$HOME" -newer "$work/stamp" -name '*5fwe5wre*' 2>/dev/null | head -n 3)
[ -z "$new_files" ] || fail "a file appeared: $new_files"
echo "1 passed, 0 failed"
