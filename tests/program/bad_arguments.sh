#!/usr/bin/env bash
# Command lines a person (or a script) may hand the program: an argument
# that is not UTF-8 is read as GBK with undecodable bytes replaced, never
# passed on as broken text; an empty argument opens the home page; a 64 KB
# URL is sent as it is. Each time the program starts, shows its one tab and
# still answers a click.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site

# Starts the program with one argument; ends the previous one first.
run_with() {
  if [ -n "${app:-}" ]; then
    kill "$app" 2>/dev/null
    wait "$app" 2>/dev/null
  fi
  : >"$work/program.log"
  listing_site_mark
  start_program "$1"
}
# Still working: hot-search label 1 opens its search in a second tab.
answers_a_click() {
  listing_site_mark
  click "${hot_label_x[0]}" "$hot_label_y"
  wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name" && wait_until tabs_are 2
}
no_broken_text() { ! grep -q "Invalid UTF-8" "$work/program.log"; }

# 变 in GBK, then a byte that is not GBK at all.
run_with "$site/new.html?"$'\xb1\xe4\xff'
check "a GBK argument is read as GBK (变, then U+FFFD)" wait_received "/new.html?%E5%8F%98%EF%BF%BD"
check "... and shows its page in the one tab" wait_until name_is "今日新开服务器"
check "... with no broken text handed to the toolkit" no_broken_text
check "... and the program answers a click" answers_a_click

run_with ""
check "an empty argument opens the home page" wait_received "/"
check "... in the one tab" wait_until name_is "新开服务器一览"
check "... and the program answers a click" answers_a_click

long="$site/new.html?k=$(head -c 65536 /dev/zero | tr '\0' k)"
run_with "$long"
# The site's request line limit is 64 KB, so this request is answered with
# the server's own "Error response" page rather than logged.
check "a 64 KB URL argument is requested and its answer shown" wait_until name_is "Error response"
check "... in the one tab" tabs_are 1
check "... and the program answers a click" answers_a_click
check "the program is still running" alive
finish
