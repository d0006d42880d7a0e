#!/usr/bin/env bash
# The program with a page loaded gets SIGSEGV sent to one of its threads:
# first its user-interface thread, then a worker thread of the web engine.
# Each time it prints its crash report, whose place and call stack are that
# thread's own, and ends by the signal (status 139), not by a hang or an
# exit status of its own.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"


# Sends SIGSEGV to thread $2 of process $1 (tgkill, system call 234) the
# moment it is seen waiting in a system call, and prints the user-space
# instruction pointer it waited at (the last field of
# /proc/PID/task/TID/syscall) as 16 upper-case hex digits. Reading and
# sending in one process keeps the thread from moving on in between.
crash_waiting_thread() {
  python3 - "$1" "$2" <<'PY'
import ctypes, sys, time
pid, tid = int(sys.argv[1]), int(sys.argv[2])
libc = ctypes.CDLL(None, use_errno=True)
deadline = time.time() + 10
while time.time() < deadline:
    try:
        fields = open("/proc/%d/task/%d/syscall" % (pid, tid)).read().split()
    except OSError:
        sys.exit(1)
    if len(fields) >= 9:  # "running" while it runs
        if libc.syscall(234, pid, tid, 11) != 0:
            sys.exit(1)
        print("%016X" % int(fields[-1], 16))
        sys.exit(0)
    time.sleep(0.005)
sys.exit(1)
PY
}

# A thread of the web engine that accepts SIGSEGV (bit 11 of its blocked
# set clear).
engine_thread() {
  local t name blocked
  for t in /proc/"$app"/task/*; do
    name=$(cat "$t/comm" 2>/dev/null) || continue
    case $name in
      ReceiveQueue|PressureMonitor|VBlankMonitor|*DataStore*|WebKit*|JSC*|HeapHelper) ;;
      *) continue ;;
    esac
    blocked=$(sed -n 's/^SigBlk:[[:space:]]*//p' "$t/status" 2>/dev/null)
    (( (16#${blocked:-0} >> 10) & 1 )) && continue
    basename "$t"
    return 0
  done
  return 1
}

# Crashes thread $1 of the running program while it waits, and checks the
# report against $2 (the thread's name in messages) and the call-stack line
# patterns that follow: each must match some line.
crash_thread() {
  local tid=$1 what=$2 place="" status=0 report
  shift 2
  local log_before
  log_before=$(wc -c <"$work/program.log")
  # Catch the thread inside a wait, so that its position is known.
  place=$(crash_waiting_thread "$app" "$tid") || fatal "could not catch the $what thread waiting"
  wait_until not alive || fatal "the program did not end after SIGSEGV on its $what thread"
  wait "$app" || status=$?
  check "a crash on the $what thread ends the program by the signal" [ "$status" -eq 139 ]
  report=$(tail -c +$((log_before + 1)) "$work/program.log" | tr -d '\r')
  check "... with a report for a sent SIGSEGV" grep -q '^错误代码:0000000B$' <<<"$report"
  check "... placed where that thread waited" grep -q "^发生位置:$place\$" <<<"$report"
  local stack innermost
  stack=$(sed -n '/^CallStack:$/,/^$/p' <<<"$report" | sed '/^$/d')
  innermost=$(tail -n 1 <<<"$stack")
  check "... whose call stack ends in the C library's wait" grep -q '^ *\[libc.so.6\]' <<<"$innermost"
  local pattern
  for pattern in "$@"; do
    if [ "${pattern:0:1}" = "!" ]; then
      check "... and has no line like ${pattern:1}" not grep -q -- "${pattern:1}" <<<"$stack"
    else
      check "... and a line like $pattern" grep -q -- "$pattern" <<<"$stack"
    fi
  done
  [ "$_failed" -eq 0 ] || { echo "$report" >&2; }
}

start_site
start_program "$site/"
wait_received "/" || fatal "the home page was not requested"
wait_until name_is "新开服务器一览" || fatal "the home page did not load"
crash_thread "$app" "user-interface" '^ *\[libc.so.6\]\.__libc_start_main+0x' \
  '^ *\[varomel\]\._ZN7runtime7Runtime3run' '^ *\[libglib-2\.0\.so[.0-9]*\]\.g_main_loop_run+0x'

start_program "$site/"
wait_received "/" || fatal "the home page was not requested the second time"
wait_until name_is "新开服务器一览" || fatal "the home page did not load the second time"
engine=""
wait_until engine_thread >/dev/null && engine=$(engine_thread)
[ -n "$engine" ] || fatal "no worker thread of the web engine found"
echo "engine thread: $engine ($(cat /proc/"$app"/task/"$engine"/comm))"
crash_thread "$engine" "web engine worker" '^ *\[libjavascriptcoregtk-4\.1\.so[.0-9]*\]' \
  '!__libc_start_main' '!_ZN7runtime7Runtime3run'

finish
