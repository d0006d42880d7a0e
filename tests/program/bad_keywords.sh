#!/usr/bin/env bash
# Keywords pasted into the search box that the GBK code page cannot hold,
# and a huge one: characters outside GBK (an emoji, CJK extensions A and B)
# are sent as their GB18030 bytes, mixed with ordinary ones; a 100 KB
# keyword is encoded and sent without the program locking up, and searching
# works normally afterwards; a quit clicked while a long keyword is encoded
# ends the program with status 0.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"

search_for() {
  paste_into_search_box "$1"
  press Return
}

tabs=1
listing_site_mark
search_for "变😀态"
tabs=$((tabs + 1))
check "an emoji goes as its four GB18030 bytes between GBK ones" \
  wait_until received_bytes "/search.asp?key=%B1%E4%94%39%FC%36%CC%AC&otype=name"
check "... and its result opens in a new tab" wait_until tabs_are $tabs

listing_site_mark
search_for "㐀𠀀a"
tabs=$((tabs + 1))
check "rare CJK (extensions A and B) go as GB18030, then the ASCII" \
  wait_until received_bytes "/search.asp?key=%81%39%EE%39%95%32%82%36%61&otype=name"
check "... and the site decodes the key back (title)" wait_until name_is "搜索结果：㐀𠀀a"
check "... in a new tab" wait_until tabs_are $tabs

# 100 KB of GBK: 51200 times 变, two bytes each.
listing_site_mark
search_for "$(python3 -c 'print("变" * 51200, end="")')"
tabs=$((tabs + 1))
# The escaped key is 300 KB, more than the site's 64 KB request line: the
# site answers with its own error page instead of logging the request.
check "a 100 KB keyword opens its search in a new tab" wait_until tabs_are $tabs
check "... which shows the site's answer to the long request" wait_until name_is "Error response"
listing_site_mark
click "${hot_label_x[0]}" "$hot_label_y"
check "searching still works afterwards" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"
check "the program is still running" alive

# Quit while a long keyword is encoded: the encoding lets queued clicks
# through after every byte, so a quit click sent right behind the Enter
# closes the window in the middle of it. The program must then end as any
# quit does, not with a runtime error about a missing tab template.
paste_into_search_box "$(python3 -c 'print("变" * 51200, end="")')"
window_geometry || fatal "no main window geometry"
xdotool windowfocus --sync "$w" 2>/dev/null || true
# With several tabs the quit button (42 x 17) stands 3 pixels left of the
# close-current-tab button (25 wide), 3 in from the top right corner.
xdotool key Return mousemove --window "$w" $((WIDTH - 3 - 25 - 3 - 42 + 20)) $((3 + 8)) click 1
check "a quit click during the encoding ends the program" wait_until not alive
alive && fatal "the program still runs"
status=0
wait "$app" || status=$?
check "... with status 0" test "$status" -eq 0
check "... and no runtime error" not grep -q "runtime error" "$work/program.log"
finish
