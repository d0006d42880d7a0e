#!/usr/bin/env bash
# A person searches: with 变态 in the search box a click on the search button
# searches as Enter does; each of the twelve hot-search labels sends its own
# key (the four day labels today's local date moved by their offset); the
# new-tab button opens the new servers page. Every one of them opens a tab
# of its own, seen as one more tab header, and the window takes the result
# page's title.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"
check "one tab at start" wait_until tabs_are 1

# Enter in the search box (the request itself is search_via_proxy's); here
# the new tab and its title.
paste_into_search_box "变态"
press Return
listing_site_wait "/search.asp?key=%B1%E4%CC%AC&otype=name" || fatal "the typed search did not arrive"
check "Enter in the search box opens a second tab" wait_until tabs_are 2
check "the window shows the result page's title" wait_until name_is "搜索结果：变态"

listing_site_mark
click "${search_button[@]}"
check "the search button sends the typed keyword" wait_received "/search.asp?key=%B1%E4%CC%AC&otype=name"
check "the search button opens a third tab" wait_until tabs_are 3

keys=("%BA%CF%BB%F7" "%BC%AB%C6%B7" "%A3%B1%A3%B8%A3%B5" "%B1%E4%CC%AC"
      "%B7%C2%CA%A2%B4%F3" "%A3%B1%A3%B7%A3%B6" "%C7%E1%B1%E4" "%D6%D0%B1%E4")
titles=("合击" "极品" "１８５" "变态" "仿盛大" "１７６" "轻变" "中变")
day_offsets=(0 1 -1 2)   # 今天 明天 昨天 后天
tabs=3
for i in $(seq 0 11); do
  listing_site_mark
  if [ "$i" -lt 8 ]; then
    url="/search.asp?key=${keys[$i]}&otype=name"
    title="搜索结果：${titles[$i]}"
  else
    day=$(date_key "${day_offsets[$((i - 8))]}")
    url="/search.asp?page=1&key=$day&otype=Sdate&menu=all"
    title="开服日期：$day"
  fi
  click "${hot_label_x[$i]}" "$hot_label_y"
  tabs=$((tabs + 1))
  check "hot-search label $((i + 1)) requests $url" wait_received "$url"
  check "hot-search label $((i + 1)) shows '$title'" wait_until name_is "$title"
done

check "fifteen tabs after fifteen searches" wait_until tabs_are "$tabs"

# The new-tab button sits just right of the last header.
listing_site_mark
park_pointer
_header_strip
read -r bx by < <(python3 "$screen_py" find "$src/assets/pictures/new_tab_normal.gif" "${strip[@]}" | tail -n 1)
[ -n "${bx:-}" ] || fatal "the new-tab button is not on the header strip"
read -r cx cy < <(to_client $((bx + 7)) $((by + 7)))
click "$cx" "$cy"
check "the new-tab button requests new.html" wait_received "/new.html"
check "the new-tab button opens a tab" wait_until tabs_are $((tabs + 1))
check "the new tab shows the new servers page" wait_until name_is "今日新开服务器"
check "the program is still running" alive
finish
