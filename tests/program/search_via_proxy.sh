#!/usr/bin/env bash
# End to end: a keyword entered into the search box and Enter reach the
# listing site as a keyword search, through WebKit's proxy setting pointing
# at the local listing-site fixture; the home button, a hot-search label and
# the reminder box for a blank keyword are checked on the same run.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page through the proxy"

paste_into_search_box "变态"
press Return
check "the typed search arrives" wait_received "/search.asp?key=%B1%E4%CC%AC&otype=name"

click 270 68                    # hot-search label 1, 合击
check "the hot-search label searches" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"

before=$(listing_site_count "/")
click "${home_button[@]}"
more_home_pages() { [ "$(listing_site_count "/")" -gt "$before" ]; }
check "the home button opens the home page" wait_until more_home_pages

# A blank keyword: the reminder box appears, owned by the main window, and
# nothing is requested.
click "${search_box[@]}"
press ctrl+a BackSpace space Return
find_box() { box=$(xdotool search --all --onlyvisible --pid "$app" --name "友情提示：" 2>/dev/null | head -n 1); [ -n "$box" ]; }
wait_until find_box || fatal "the reminder box did not appear for a blank keyword"
owner=$(xprop -id "$box" WM_TRANSIENT_FOR | sed -n 's/.*# //p')
check "the reminder box is owned by the main window" [ "$((owner))" = "$w" ]
check "a blank keyword is not searched for" not grep -q 'key=%20' "$LISTING_LOG"
xdotool windowfocus --sync "$box" key Return
box_gone() { ! xdotool search --all --onlyvisible --pid "$app" --name "友情提示：" >/dev/null 2>&1; }
check "the reminder box closes on Enter" wait_until box_gone
check "the program is still running" alive
finish
