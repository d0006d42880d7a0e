# Counted checks for the test scripts that run no program of their own
# (tests/program/lib.sh has its own, tied to the program under test).
# Source it, then: check "what" command...; end with checks_summary. A
# failed check returns non-zero, so `check ... || details` explains it.
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"; else failed=$((failed + 1)); echo "FAIL: $what" >&2; return 1; fi
}
not() { ! "$@"; }
# Prints the counts; the status is 0 only when nothing failed.
checks_summary() { echo "$passed passed, $failed failed"; [ "$failed" -eq 0 ]; }
