#!/usr/bin/env bash
# A high-DPI screen at GDK_SCALE=2 (2560 x 1600, 1280 x 800 logical pixels):
# the window and its parts are laid out in logical pixels and drawn at twice
# their design size, the pictures pixel for pixel doubled, and clicks on
# them work.
set -uo pipefail
export XVFB_SCREEN=2560x1600x24 GDK_SCALE=2
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

geometry_is() { window_geometry && [ "$X $Y $WIDTH $HEIGHT" = "$1" ]; }
# A picture doubled in both directions, as the screen should show it.
doubled() { convert "$src/assets/pictures/$1" -filter point -resize 200% "$work/doubled-$1.png" && echo "$work/doubled-$1.png"; }
# How often a doubled picture shows in a rectangle of the window (screen
# pixels, relative to the window).
shows_doubled() {
  local picture
  picture=$(doubled "$1") || return 1
  window_geometry || return 1
  [ "$(python3 "$screen_py" count "$picture" $((X + $2 > 0 ? X + $2 : 0)) $((Y + $3 > 0 ? Y + $3 : 0)) "$4" "$5")" = 1 ]
}

start_site
WAIT_SECONDS=60 start_program
wait_received "/" || fatal "the first tab did not load the home page"
check "maximised over the screen: the logical work area at twice the size" geometry_is "-6 -6 2574 1614"
park_pointer() { move_to 800 20; }
park_pointer
# (The quit button hangs a pixel past the screen's right edge, as it does
# at scale 1; the minimise button stands fully on it.)
check "the minimise button shows at twice its size in the title bar" \
  wait_until shows_doubled minimise_normal.gif $((2574 - 260)) 0 120 50
check "the search button likewise, at twice its design place" shows_doubled search_normal.jpg 320 104 120 70

listing_site_mark
click $((hot_label_x[0] * 2)) $((hot_label_y * 2))
check "a click on a hot-search label searches" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"
double_click 800 20
check "a double click on the title restores 1030 x 750 at 50, 50 logical pixels" \
  wait_until geometry_is "100 100 2060 1500"
check "the program is still running" alive
finish
