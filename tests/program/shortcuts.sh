#!/usr/bin/env bash
# A keyboard user drives the browser: the tab shortcuts open, select (with
# wrapping) and close tabs; Ctrl+L, F6 and Ctrl+K put the cursor in the
# address or search box with its text selected, so typing replaces it;
# Alt+Left/Right and the mouse's back/forward buttons walk the history; F5
# and Ctrl+R reload; Escape stops a page that is loading; Tab and Shift+Tab
# walk between the boxes.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

home="新开服务器一览"
new="今日新开服务器"
# The number of times the site was asked for a line since the last mark.
times() { listing_site_count "$1"; }
times_exceed() { [ "$(times "$1")" -gt "$2" ]; }

start_site
start_program
wait_received "/" && wait_until name_is "$home" || fatal "the first tab did not load the home page"
wait_until tabs_are 1 || fatal "not one tab at start"

listing_site_mark
press ctrl+t
check "Ctrl+T asks for what the new-tab button opens" wait_received "/new.html"
check "... in a new tab" wait_until tabs_are 2
check "... which becomes current" wait_until name_is "$new"

press ctrl+1
check "Ctrl+1 selects the first tab" wait_until name_is "$home"
press ctrl+9
check "Ctrl+9 selects the last tab" wait_until name_is "$new"
press ctrl+Tab
check "Ctrl+Tab on the last tab wraps to the first" wait_until name_is "$home"
press ctrl+shift+Tab
check "Ctrl+Shift+Tab on the first tab wraps to the last" wait_until name_is "$new"
press ctrl+Prior
check "Ctrl+Page Up selects the previous tab" wait_until name_is "$home"
press ctrl+Next
check "Ctrl+Page Down selects the next tab" wait_until name_is "$new"
# Ctrl+3 names no tab here; Ctrl+2 after it must still find tab 2 current
# and Ctrl+1 must still work.
press ctrl+3 ctrl+1
check "Ctrl+3 with two tabs changes nothing, Ctrl+1 after it works" wait_until name_is "$home"
check "... and no tab was opened or closed on the way" tabs_are 2

# The address box holds the current page's address; typing after the
# shortcut replaces all of it.
listing_site_mark
press ctrl+l
type_text "$site/test/opened.html"
press Return
check "Ctrl+L then typing replaces the address" wait_received "/test/opened.html"
check "... and loads it in the current tab" wait_until name_is "新窗口页面"
listing_site_mark
press F6
type_text "$site/test/status.html"
press Return
check "F6 then typing replaces the address" wait_until name_is "状态文本测试"
press alt+d
type_text "$site/new.html"
press Return
check "Alt+D then typing replaces the address" wait_until name_is "$new"
check "the address shortcuts opened no tab" tabs_are 2

press alt+Left
check "Alt+Left goes back" wait_until name_is "状态文本测试"
press alt+Right
check "Alt+Right goes forward" wait_until name_is "$new"
park_pointer
xdotool click 8
check "the mouse's back button goes back" wait_until name_is "状态文本测试"
xdotool click 9
check "the mouse's forward button goes forward" wait_until name_is "$new"
# At the end of the history the forward button is not shown, so Alt+Right
# does nothing; Alt+Left after it goes back exactly one step.
press alt+Right alt+Left
check "Alt+Right at the end of the history does nothing" wait_until name_is "状态文本测试"

listing_site_mark
press F5
check "F5 reloads the page" wait_received "/test/status.html"
listing_site_mark
press ctrl+r
check "Ctrl+R reloads the page" wait_received "/test/status.html"

listing_site_mark
press ctrl+k
type_text "zhanshen"
press Return
check "Ctrl+K then typing searches for the typed words" wait_received "/search.asp?key=zhanshen&otype=name"
wait_until name_is "搜索结果：zhanshen" || fatal "the search results did not show"

# Tab walks from the address box to the search box, Shift+Tab back.
listing_site_mark
press ctrl+l Tab
type_text "jipin"
press Return
check "Tab from the address box reaches the search box" wait_received "/search.asp?key=jipin&otype=name"
wait_until name_is "搜索结果：jipin" || fatal "the second search did not show"
press ctrl+k shift+Tab
type_text "$site/test/opened.html"
press Return
check "Shift+Tab from the search box reaches the address box" wait_until name_is "新窗口页面"

# Counted with the pointer parked, so that no close button is lit.
park_pointer
count=$(tab_count)
# What a failed close leaves: the tabs on screen and the window with focus.
tabs_and_focus() { echo "  tabs on screen: $(park_pointer; tab_count), focus on: $(xdotool getwindowfocus getwindowname 2>&1)" >&2; }
press ctrl+w
check "Ctrl+W closes the current tab" wait_until tabs_are $((count - 1)) || tabs_and_focus
count=$((count - 1))
if [ "$count" -gt 1 ]; then
  press ctrl+F4
  check "Ctrl+F4 closes the current tab" wait_until tabs_are $((count - 1)) || tabs_and_focus
fi

# A page whose answer comes late: while the program waits for it the stop
# button shows, and Escape (in the address box, where the cursor still is)
# stops the load, so the page never shows.
press ctrl+l
type_text "$site/test/late.html?delay=3"
listing_site_mark
press Return
wait_received "/test/late.html?delay=3" || fatal "the late page was not asked for"
press Escape
late_page_shows() { WAIT_SECONDS=6 wait_until name_is "迟到页面"; }
check "Escape while loading stops the page" not late_page_shows
# Escape with nothing loading is the page's or the box's own key again.
press ctrl+l
type_text "$site/test/opened.html"
press Return
check "after the stop the same tab loads again" wait_until name_is "新窗口页面"
check "the program is still running" alive
finish
