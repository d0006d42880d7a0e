#!/usr/bin/env bash
# GTK's own input method composes a character from its code: Ctrl+Shift+U,
# 4e2d, Enter commits 中 and nothing else; only a second Enter searches (in
# the search box) or navigates (in the address box). The browser's
# shortcuts wait while a composition is pending.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"
export GTK_IM_MODULE=gtk-im-context-simple
site=http://www.varomel-servers.example

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"

listing_site_mark
click "${search_box[@]}"
press ctrl+a BackSpace ctrl+shift+u 4 e 2 d Return
wait_until search_box_has_text || fatal "the composed character did not reach the search box"
press Return
check "search box: the second Enter searches for 中" wait_received "/search.asp?key=%D6%D0&otype=name"
check "... and the Enter that committed it searched nothing" [ "$(searches_received)" = 1 ]
check "... nor raised the reminder box" not reminder_box_shown

paste_into_address_box "$site/new.html?q="
listing_site_mark
press End ctrl+shift+u 4 e 2 d Return Return
check "address box: the second Enter goes to the address with 中" wait_received "/new.html?q=%E4%B8%AD"
check "... and the Enter that committed it went nowhere" [ "$(listing_site_count "/new.html?q=")" = 0 ]

# No shortcut acts while a composition is pending: Ctrl+W closes no tab;
# Escape cancels the composition, after which Ctrl+T opens a tab again.
count=$(tab_count)
click "${search_box[@]}"
listing_site_mark
press ctrl+shift+u 4 e 2 d ctrl+w Escape ctrl+t
check "after the composition Ctrl+T opens a tab" wait_received "/new.html"
check "... and Ctrl+W during it closed none" wait_until tabs_are $((count + 1))
check "the program is still running" alive
finish
