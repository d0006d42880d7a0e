#!/usr/bin/env bash
# A double click on the title label restores the maximised window to
# 1030 x 750 at 50, 50 and shows the maximise button in place of the restore
# button; a second double click maximises it again over the work area (the
# whole screen here, with no taskbar, widened by the 3-pixel border).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_program about:blank
window_geometry
work_area="$X $Y $WIDTH $HEIGHT"
screen=$(xdpyinfo 2>/dev/null | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
read -r sw sh <<<"${screen:-1280 1024}"
check "start-up covers the work area" [ "$work_area" = "-3 -3 $((sw + 7)) $((sh + 7))" ]

geometry_is() { window_geometry && [ "$X $Y $WIDTH $HEIGHT" = "$1" ]; }
# Title-bar button pictures seen in the title bar's right end.
title_bar_shows() {
  window_geometry || return 1
  park_pointer
  [ "$(python3 "$screen_py" count "$src/assets/pictures/$1" $((X + WIDTH - 200 > 0 ? X + WIDTH - 200 : 0)) $((Y > 0 ? Y : 0)) 190 24)" = 1 ]
}
check "the restore button shows while maximised" wait_until title_bar_shows restore_normal.gif

double_click 400 12
check "a double click on the title label restores 1030 x 750 at 50, 50" wait_until geometry_is "50 50 1030 750"
check "... and shows the maximise button" wait_until title_bar_shows maximise_normal.gif
check "... not the restore button" not title_bar_shows restore_normal.gif

# A person's pause between two double clicks: presses within twice the
# double-click time (400 ms) of the last pair make a triple click instead.
sleep 0.9
double_click 400 12
check "a second double click maximises again" wait_until geometry_is "$work_area"
check "... and shows the restore button again" wait_until title_bar_shows restore_normal.gif
check "the program is still running" alive
finish
