#!/usr/bin/env bash
# Pages that misbehave: one click that opens three hundred windows gets
# twenty tabs and the program keeps answering; a page that never finishes
# loading can have its tab closed (its web process goes away, the program
# goes on), and the program quits cleanly, status 0, while such a page is
# still loading.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"
n=300
cap=20

start_site
start_program "$site/test/many-windows.html?n=$n"
wait_until name_is "多窗口测试" || fatal "the many-windows page did not show"
start_processes=$(web_processes)


processes_back() { [ "$(web_processes)" -le "$start_processes" ]; }
all_opened() {
  local i
  for i in $(seq 0 $((cap - 1))); do received "/test/opened.html?$i" || return 1; done
}
listing_site_mark
click 300 250
check "one click's $n window.open calls load the first $cap pages" wait_until all_opened
check "... each in a tab of its own" wait_until tabs_are $((cap + 1))
check "... the last one current" wait_until name_is "新窗口页面"
check "... and no more" eval '! received "/test/opened.html?$cap" && [ "$(tab_count)" = $((cap + 1)) ]'
listing_site_mark
click "${search_box[@]}"
press ctrl+a BackSpace
type_text "flood"
press Return
within_seconds() { WAIT_SECONDS=10 wait_until "$@"; }
check "a search typed afterwards reaches the site within seconds" \
  within_seconds received_bytes "/search.asp?key=%66%6C%6F%6F%64&otype=name"
check "... with its tab" wait_until tabs_are $((cap + 2))
n=$cap

# Back to one tab: the close-current-tab button (25 x 17, 3 pixels in from
# the top right) closes the current tab each time.
close_current() {
  window_geometry
  click $((WIDTH - 3 - 12)) 11
}
for _ in $(seq $((n + 1))); do close_current; done
check "closing them all with the close-current-tab button leaves one tab" wait_until tabs_are 1
check "... the first one" wait_until name_is "多窗口测试"
check "... and no web process is left over" wait_until processes_back

# A page that never finishes, in a second tab, closed while it loads.
listing_site_mark
click "${address_box[@]}"
press ctrl+a
type_text "$site/test/never.html"
press ctrl+Return
check "a never-ending page starts loading in a new tab" wait_received "/test/never.html"
check "... which shows" wait_until tabs_are 2
check "... in a web process of its own" [ "$(web_processes)" -gt "$start_processes" ]
close_current
check "closing its tab while it loads leaves one tab" wait_until tabs_are 1
check "... and ends its web process" wait_until processes_back
listing_site_mark
click "${hot_label_x[1]}" "$hot_label_y"
check "the program still answers a click" wait_received "/search.asp?key=%BC%AB%C6%B7&otype=name"

# Quit while the never-ending page loads in the current tab.
listing_site_mark
click "${address_box[@]}"
press ctrl+a
type_text "$site/test/never.html"
press Return
wait_received "/test/never.html" || fatal "the never-ending page did not start again"
window_geometry
# With two tabs the quit button (42 x 17) stands left of the close-current-
# tab button: 3 + 25 + 3 pixels from the right edge.
click $((WIDTH - 3 - 25 - 3 - 21)) 11
ended() { ! kill -0 "$app" 2>/dev/null; }
check "the quit button ends the program while a page is loading" wait_until ended
status=0
wait "$app" || status=$?
check "... with status 0" [ "$status" -eq 0 ]
finish
