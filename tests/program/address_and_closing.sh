#!/usr/bin/env bash
# A person uses the address box and closes tabs: Enter navigates the
# current tab, Ctrl+Enter opens a new one; a tab's own close button and a
# right click on a header each close that tab; closing the only tab keeps
# it and shows one search engine, then the other.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

# The engines are on https: through the proxy each is a CONNECT to its
# host, which the offline site refuses (no test reaches the internet).
engine_a="CONNECT www.google.com:443"
engine_b="CONNECT www.baidu.com:443"

# Replaces the address box's text and presses the given keys.
address() {
  click "${address_box[@]}"
  press ctrl+a
  type_text "$1"
  shift
  press "$@"
}

# Clicks (button 1) or right-clicks (3) tab k (1-based): its close button,
# or its header a little left of that button.
on_tab() {
  local k=$1 what=$2 sx sy cx cy
  park_pointer
  read -r sx sy < <(close_buttons | sed -n "${k}p")
  [ -n "${sx:-}" ] || return 1
  if [ "$what" = close ]; then
    read -r cx cy < <(to_client $((sx + 8)) $((sy + 8)))
    click "$cx" "$cy"
  elif [ "$what" = select ]; then
    read -r cx cy < <(to_client $((sx - 30)) $((sy + 8)))
    click "$cx" "$cy"
  else
    read -r cx cy < <(to_client $((sx - 30)) $((sy + 8)))
    right_click "$cx" "$cy"
  fi
}

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"
wait_until tabs_are 1 || fatal "not one tab at start"

listing_site_mark
# Chinese in an address goes out as its UTF-8 escapes, once.
paste_into_address_box "$site/new.html?q=变态"
press Return
check "Enter in the address box loads the address" wait_received "/new.html?q=%E5%8F%98%E6%80%81"
check "... in the current tab (its title shows)" wait_until name_is "今日新开服务器"
check "... and opens no tab" tabs_are 1

address "$site/test/opened.html" ctrl+Return
check "Ctrl+Enter in the address box loads the address" wait_received "/test/opened.html"
check "... in a new tab" wait_until tabs_are 2
check "... which becomes current" wait_until name_is "新窗口页面"

address "$site/test/status.html" ctrl+Return
wait_until tabs_are 3 && wait_until name_is "状态文本测试" || fatal "a third tab did not open"

on_tab 2 close
check "a tab's close button closes that tab" wait_until tabs_are 2
check "the current tab stays current" name_is "状态文本测试"
on_tab 1 select
check "a click on the first header selects the first tab" wait_until name_is "今日新开服务器"
on_tab 2 select
check "the second header now belongs to the former third tab" wait_until name_is "状态文本测试"

on_tab 1 header
check "a right click on a header closes that tab" wait_until tabs_are 1
check "the remaining tab is the one that was current" wait_until name_is "状态文本测试"

listing_site_mark
on_tab 1 close
check "closing the only tab shows search engine A" wait_received "$engine_a"
check "... in that same tab" tabs_are 1
check "... and asks for no other engine" not received "$engine_b"
# The refused engine's page shows the explanation at its address.
wait_until name_is "无法显示此网页" || fatal "engine A's failure page did not show"
listing_site_mark
on_tab 1 close
check "closing it again shows search engine B" wait_received "$engine_b"
check "... and not A" not received "$engine_a"
wait_until name_is "无法显示此网页" || fatal "engine B's failure page did not show"
listing_site_mark
on_tab 1 header
check "a right click on the only header shows engine A again" wait_received "$engine_a"
check "... and not B" not received "$engine_b"
check "one tab is left" tabs_are 1
check "the program is still running" alive
finish
