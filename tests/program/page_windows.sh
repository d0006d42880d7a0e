#!/usr/bin/env bash
# Pages that ask for windows: a script's window.open and a target=_blank
# link each get a tab of their own; a link's status text fades the status
# window in along the bottom of the browser area and it fades out again
# when the pointer leaves the link; a page that closes itself with
# window.close, in the only tab, leaves the program running with its tab.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

# The test pages are blocks 300 pixels high from the top of the page, which
# starts below the tab headers (client y about 110).
first_block=(300 250)
second_block=(300 560)

header_of_tab() {
  local sx sy cx cy
  park_pointer
  read -r sx sy < <(close_buttons | sed -n "${1}p")
  [ -n "${sx:-}" ] || return 1
  read -r cx cy < <(to_client $((sx - 30)) $((sy + 8)))
  click "$cx" "$cy"
}

start_site
start_program "$site/test/new-window.html"
wait_received "/test/new-window.html" || fatal "the first tab did not load its argument"
wait_until name_is "新窗口测试" || fatal "the test page did not show"

listing_site_mark
click "${first_block[@]}"
check "a window.open link loads its page" wait_received "/test/opened.html"
check "... in a new tab" wait_until tabs_are 2
check "... which becomes current" wait_until name_is "新窗口页面"

header_of_tab 1
wait_until name_is "新窗口测试" || fatal "could not go back to the first tab"
listing_site_mark
click "${second_block[@]}"
check "a target=_blank link loads its page" wait_received "/test/opened.html"
check "... in a new tab" wait_until tabs_are 3
check "... which becomes current" wait_until name_is "新窗口页面"

# The status window: another window of the program, hidden until a status
# text arrives.
status_window() {
  local x
  for x in $(xdotool search --all --onlyvisible --pid "$app" 2>/dev/null); do
    [ "$x" != "$w" ] && { echo "$x"; return 0; }
  done
  return 1
}
status_shown() { status_window >/dev/null; }
status_hidden() { ! status_shown; }
# Full opacity is 0xFFFFFFFF; the status window stops fading in at 200/255.
opacity_is_200() {
  local sw value
  sw=$(status_window) || return 1
  value=$(xprop -id "$sw" _NET_WM_WINDOW_OPACITY 2>/dev/null | sed -n 's/.* = //p')
  [ -n "$value" ] && [ $((value / 16843009)) -eq 200 ]   # 0xFFFFFFFF / 255
}
placed_along_the_bottom() {
  local sw out
  sw=$(status_window) || return 1
  window_geometry
  local mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
  out=$(xdotool getwindowgeometry --shell "$sw") && eval "$out"
  [ "$X" -eq $((mx + 5)) ] && [ "$Y" -eq $((my + mh - 3 - HEIGHT - 1)) ] && [ "$WIDTH" -eq $((mw - 26)) ]
}

address_enter() {
  click "${address_box[@]}"
  press ctrl+a
  type_text "$1"
  press Return
}
address_enter "$site/test/status.html"
wait_until name_is "状态文本测试" || fatal "the status test page did not show"
park_pointer
wait_until status_hidden || fatal "the status window is shown before any link is touched"
move_to "${first_block[@]}"
check "pointing at a link shows the status window" wait_until status_shown
check "... fading in to opacity 200" wait_until opacity_is_200
check "... along the bottom of the browser area" placed_along_the_bottom
park_pointer
check "leaving the link fades the status window out and hides it" wait_until status_hidden
check "the program is still running" alive

# window.close in the only tab: a program of its own (the refresh button
# is at its design place, 91, 24, 27 x 27).
kill "$app"
wait "$app" 2>/dev/null
listing_site_mark
start_program "$site/test/close.html"
check "a page that closes itself runs its window.close" wait_received "/test/closing"
# The refresh button reloads the page: the tab is still there and works.
# The page's last request can reach the site before the program hears that
# the page has loaded; until then the stop button stands in the refresh
# button's place and takes the click, so a click that reloads nothing is
# made again, as a person would.
reloaded() { [ "$(grep -cxF /test/close.html "$LISTING_LOG")" -ge 2 ]; }
refresh_reloads() {
  local _
  for _ in 1 2 3 4 5; do
    click 104 37
    WAIT_SECONDS=4 wait_until reloaded && return 0
  done
  return 1
}
check "... and its tab stays, reloading on refresh" refresh_reloads
check "... the program keeps running with its one tab" tabs_are 1
check "... and its window" _find_main_window
finish
