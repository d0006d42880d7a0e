#!/usr/bin/env bash
# Pages and addresses that attack the program itself: the web process runs
# sandboxed in namespaces of its own; a title of megabytes reaches the
# window cut to at most 1024 characters and the program keeps answering; an
# address the engine refuses by itself (a blocked port, an unknown scheme)
# shows the explanation page instead of a blank "载入.." tab.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site
start_program "http://127.0.0.1:9/"
check "a blocked port given at start shows the explanation page" wait_until name_is "无法显示此网页"

# The sandbox: where bubblewrap runs at all, every web process is in a
# mount namespace other than the program's.
own_namespaces() {
  local p mine
  mine=$(readlink "/proc/$app/ns/mnt") || return 1
  [ -n "$(web_pids)" ] || return 1
  for p in $(web_pids); do
    [ "$(readlink "/proc/$p/ns/mnt" 2>/dev/null)" != "$mine" ] || return 1
  done
}
if bwrap --ro-bind / / --unshare-all true 2>/dev/null; then
  check "the web process runs in a mount namespace of its own" own_namespaces
else
  echo "skipped: bubblewrap cannot run here, the program runs pages unsandboxed"
fi

# Back to one tab: the close-current-tab button (25 x 17, 3 pixels in from
# the top right) closes the current tab.
close_current() {
  window_geometry
  click $((WIDTH - 3 - 12)) 11
}

# A title of two million characters, changed ten times a second.
listing_site_mark
click "${address_box[@]}"
press ctrl+a
type_text "$site/test/title-bomb.html"
press ctrl+Return
bombed() { local t; t=$(window_name); [ "${t#*标}" != "$t" ]; }
check "a title bomb names the window" wait_until bombed
check "... with at most 1024 characters" [ "$(window_name | python3 -c 'import sys; print(len(sys.stdin.read().rstrip("\n")))')" -le 1024 ]
listing_site_mark
click "${hot_label_x[0]}" "$hot_label_y"
check "... and the program still answers a click" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"
close_current
close_current
check "... its tab closes" wait_until tabs_are 1

# Addresses the engine refuses by itself are explained like failed loads.
for refused in "http://127.0.0.1:9/" "unknown-scheme://somewhere/"; do
  click "${address_box[@]}"
  press ctrl+a
  type_text "$site/"
  press Return
  wait_until name_is "新开服务器一览" || fatal "the home page did not come back"
  click "${address_box[@]}"
  press ctrl+a
  type_text "$refused"
  press Return
  check "$refused typed into the address box shows the explanation page" wait_until name_is "无法显示此网页"
done

finish
