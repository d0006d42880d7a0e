#!/usr/bin/env bash
# 300 tabs opened and closed one after the other, with the home button and
# the close-current-tab button: the program neither crashes nor falls
# behind, ends with the tabs it had, answers a click, and runs as many web
# processes as before.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"
rounds=${TAB_CHURN_ROUNDS:-300}

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"
wait_until tabs_are 1 || fatal "not one tab at start"

# A second tab first, so that the close-current-tab button (25 x 17 at the
# top right) stays where it is throughout; with one tab the quit button
# would stand there. The home button keeps its place at every tab count.
listing_site_mark
click "${hot_label_x[0]}" "$hot_label_y"
wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name" && wait_until name_is "搜索结果：合击" ||
  fatal "the second tab did not open"
wait_until tabs_are 2 || fatal "not two tabs"
start_processes=$(web_processes)
processes_back() { [ "$(web_processes)" -le "$start_processes" ]; }
window_geometry
close_x=$((WIDTH - 3 - 12))

home_pages() { grep -cxF / "$LISTING_LOG"; }
# Waits until the home page has been asked for more than n times in all;
# polls often, since this runs many times.
home_pages_exceed() {
  local n=$1 _
  for _ in $(seq 1000); do
    [ "$(home_pages)" -gt "$n" ] && return 0
    sleep 0.02
  done
  return 1
}

# Nine tabs of ten are opened and closed at once, as fast as xdotool
# clicks; every tenth waits until its page has been requested before it is
# closed, so that clicks never pile up far and web processes come and go.
lost=""
for i in $(seq "$rounds"); do
  if [ $((i % 10)) -ne 0 ]; then
    xdotool mousemove --window "$w" "${home_button[@]}" click 1 mousemove --window "$w" "$close_x" 11 click 1
    continue
  fi
  before=$(home_pages)
  xdotool mousemove --window "$w" "${home_button[@]}" click 1
  home_pages_exceed "$before" || { lost=$i; break; }
  xdotool mousemove --window "$w" "$close_x" 11 click 1
  if [ $((i % 100)) -eq 0 ]; then
    check "round $i: back to two tabs" wait_until tabs_are 2
  fi
done
check "every tenth of $rounds new tabs loaded its page${lost:+ (round $lost did not)}" [ -z "$lost" ]
check "the program is still running" alive
check "the second tab is current again" wait_until name_is "搜索结果：合击"
check "the web processes are back to their number before ($start_processes)" wait_until processes_back
listing_site_mark
click "${hot_label_x[1]}" "$hot_label_y"
check "the program answers a click" wait_received "/search.asp?key=%BC%AB%C6%B7&otype=name"
check "... with a new tab" wait_until tabs_are 3
finish
