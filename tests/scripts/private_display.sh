#!/usr/bin/env bash
# The virtual display of scripts/with-xvfb (the one ./run.sh leaves running
# without a DISPLAY) admits only clients that show its cookie, keeps its
# files where no one else can read them, and leaves nothing behind.
set -uo pipefail
exec 2>&1  # the refused clients' complaints are expected; keep them in order
src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
source "$src/tests/support/checks.sh"
connects() { xdpyinfo >/dev/null 2>&1; }

if [ -z "${PRIVATE_DISPLAY_INNER:-}" ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
  PRIVATE_DISPLAY_INNER=1 PRIVATE_DISPLAY_OUT=$out "$src/scripts/with-xvfb" bash "$0"
  status=$?
  read -r display dir pid passed failed <"$out/result" || { echo "FAIL: the inner checks did not run" >&2; exit 1; }
  check "the command's status comes back" test "$status" -eq "$failed"
  check "the server's directory is removed at the end" not test -e "$dir"
  check "the server is stopped at the end" test "$pid" -gt 0 -a ! -e "/proc/$pid"
  checks_summary
  exit
fi

# Inside the private display.
dir=$(dirname "$XAUTHORITY")
check "a client with the cookie connects" connects
# Programs started one after another each find the server up: it must not
# reset (and refuse newcomers) whenever its last client leaves.
connects_every_time() {
  local i
  for i in $(seq 300); do connects || return 1; done
}
check "300 clients one after another all connect" connects_every_time
check "a client without any cookie is refused" not env -u XAUTHORITY HOME=/nonexistent xdpyinfo
wrong=$(mktemp)
xauth -q -f "$wrong" add "$DISPLAY" MIT-MAGIC-COOKIE-1 00112233445566778899aabbccddeeff
check "a client with another cookie is refused" not env XAUTHORITY="$wrong" xdpyinfo
rm -f "$wrong"
check "the server's directory is open to its owner only" test "$(stat -c '%a %u' "$dir")" = "700 $(id -u)"
check "the cookie file is readable by its owner only" test "$(stat -c '%a' "$XAUTHORITY")" = 600
check "the display-number pipe lives in that directory" test -p "$dir/displayfd"
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  # Another local user can neither read the cookie nor connect without it.
  check "another user cannot read the cookie" not setpriv --reuid=nobody --regid=nogroup --clear-groups cat "$XAUTHORITY"
  check "another user cannot connect" \
    not setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent XAUTHORITY="$XAUTHORITY" xdpyinfo
fi
pid=$(pgrep -n -x Xvfb -P "$PPID" || true)
echo "$DISPLAY $dir ${pid:-0} $passed $failed" >"$PRIVATE_DISPLAY_OUT/result"
exit "$failed"
