#!/usr/bin/env bash
# End to end: a keyword typed into the search box and Enter reach the
# listing site as a keyword search, through WebKit's proxy setting pointing
# at the local listing-site fixture; the home button, a hot-search label and
# the reminder box for a blank keyword are checked on the same run.
set -euo pipefail
exe=$1
: "${DISPLAY:?needs a display}"
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
# Real key presses go to whichever window has the focus, so this test gets
# an X server of its own where no other test can take the focus away.
if [ -z "${SEARCH_TEST_PRIVATE_X:-}" ]; then
  SEARCH_TEST_PRIVATE_X=1 exec "$src/scripts/with-xvfb" bash "$0" "$@"
fi
export WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1 NO_AT_BRIDGE=1
work=$(mktemp -d)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "requests:" >&2; cat "$work/requests.log" >&2 || true; exit 1; }

# Waits (up to 30 s) until a command succeeds.
wait_until() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}
requested() { grep -qxF -- "$1" "$work/requests.log" 2>/dev/null; }
count_of() { grep -cxF -- "$1" "$work/requests.log" 2>/dev/null || true; }

python3 "$src/tests/fixtures/listing_site.py" --port-file "$work/port" --log "$work/requests.log" >/dev/null &
pids+=($!)
wait_until test -s "$work/port" || fail "the listing site did not start"
export http_proxy="http://127.0.0.1:$(cat "$work/port")/" HTTP_PROXY="http://127.0.0.1:$(cat "$work/port")/"
unset no_proxy NO_PROXY

"$exe" >/dev/null 2>&1 & pids+=($!); app=$!
find_window() { w=$(xdotool search --all --onlyvisible --pid "$app" --class varomel 2>/dev/null | head -n 1); [ -n "$w" ]; }
wait_until find_window || fail "the main window did not appear"
wait_until requested "/" || fail "the first tab did not load the home page through the proxy"

# Client coordinates of the main window's components.
click() { xdotool mousemove --window "$w" "$1" "$2" click 1; }
xdotool windowfocus --sync "$w"
click 60 69                     # the search box
xdotool type --delay 30 "变态"
xdotool key Return
wait_until requested "/search.asp?key=%B1%E4%CC%AC&otype=name" || fail "the typed search did not arrive"

click 270 68                    # hot-search label 1, 合击
wait_until requested "/search.asp?key=%BA%CF%BB%F7&otype=name" || fail "the hot-search label did not search"

before=$(count_of "/")
click 75 37                     # the home button
more_home_pages() { [ "$(count_of "/")" -gt "$before" ]; }
wait_until more_home_pages || fail "the home button did not open the home page"

# A blank keyword: the reminder box appears, owned by the main window, and
# nothing is requested.
click 60 69
xdotool key ctrl+a BackSpace space Return
find_box() { box=$(xdotool search --all --onlyvisible --pid "$app" --name "友情提示：" 2>/dev/null | head -n 1); [ -n "$box" ]; }
wait_until find_box || fail "the reminder box did not appear for a blank keyword"
owner=$(xprop -id "$box" WM_TRANSIENT_FOR | sed -n 's/.*# //p')
[ "$((owner))" = "$w" ] || fail "the reminder box is owned by '$owner', not the main window $w"
! grep -q 'key=%20' "$work/requests.log" || fail "a blank keyword was searched for"
xdotool windowfocus --sync "$box" key Return
wait_until bash -c "! xdotool search --all --onlyvisible --pid $app --name '友情提示：' >/dev/null 2>&1" ||
  fail "the reminder box did not close on Enter"
kill -0 "$app" || fail "the program died"
echo "1 passed, 0 failed"
