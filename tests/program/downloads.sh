#!/usr/bin/env bash
# Downloads the user decides: a page that starts attachment downloads on
# load, from a timer and from an iframe writes nothing anywhere; a link the
# user clicks asks where to save ("另存为"), cancel writes nothing, accept
# writes exactly the server's bytes under a safe name; a download typed into
# the address box or saved from the context menu is the user's too, and
# cancelled while it runs it leaves no partial file.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

start_site
# The program runs in a folder of its own, so a file written "here" is seen.
mkdir -p "$work/cwd"
cd "$work/cwd" || fatal "no working folder"
# Files under HOME and the working folder, leaving out the toolkit's own
# settings and its list of recent files, which must stay empty (below).
files() {
  find "$HOME" "$work/cwd" -type f -not -path "*/dconf/*" -not -name recently-used.xbel 2>/dev/null | sort
}
no_recent_files() { ! grep -qs "<bookmark " "$HOME/.local/share/recently-used.xbel"; }
expected=$work/expected.bin
python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import listing_site as s
open(sys.argv[2], "wb").write(s.attachment_bytes())' "$src/tests/fixtures" "$expected" ||
  fatal "the expected bytes could not be made"

start_program "$site/test/download-on-load.html"
before=$(files)
check "a page tries downloads on load, from a timer and from an iframe" \
  wait_until received "/test/file.bin?timer"
check "... and reaches its end" wait_until name_is "自动下载完"
check "... the on-load and iframe attempts reached the server too" \
  eval 'received "/test/file.bin?on-load" && received "/test/file.bin?iframe"'
# A shown top-level window with exactly this name (one listing of the X
# server's windows, cheap enough to poll on a busy machine).
window_named() {
  local x
  for x in $(xwininfo -root -children 2>/dev/null | awk -v name="\"$1\"" 'index($0, " " name ": ") {print $1}'); do
    shown "$x" && { echo "$x"; return 0; }
  done
}
shown() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
destroyed() { ! xwininfo -id "$1" >/dev/null 2>&1; }
# Presses a key in one of the program's windows, as a person would.
key_in() { xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key --window "$1" "$2"; }
# Answers the save dialog with a key; a key that arrives while the chooser
# is still settling is lost, so it is pressed again until the dialog goes.
answer_dialog() {
  local _
  for _ in 1 2 3; do
    key_in "$1" "$2"
    WAIT_SECONDS=10 wait_until destroyed "$1" && return 0
  done
  return 1
}
save_dialog() { window_named "另存为"; }
progress_window() { window_named "下载"; }
dialog_shows() { [ -n "$(save_dialog)" ]; }
# The file chooser reads the folder and its icons before it shows, which on
# a busy machine takes long.
wait_for_dialog() { WAIT_SECONDS=60 wait_until dialog_shows; }
progress_shows() { [ -n "$(progress_window)" ]; }
check "... no save dialog appeared" not dialog_shows
check "... and no file was written under HOME or the working folder" [ "$(files)" = "$before" ]

click "${address_box[@]}"
press ctrl+a
type_text "$site/test/download-link.html"
press Return
wait_until name_is "下载链接测试" || fatal "the download link page did not show"

listing_site_mark
click 300 250
wait_for_dialog || fatal "a click on an attachment link did not ask where to save"
check "a click on an attachment link asks where to save" dialog_shows
dialog=$(save_dialog)
check "... in a dialog owned by the main window" \
  eval '[ "$(xprop -id "$dialog" WM_TRANSIENT_FOR 2>/dev/null | grep -o "0x[0-9a-f]*")" = "$(printf "0x%x" "$w")" ]'
check "cancelling the dialog closes it" answer_dialog "$dialog" Escape
check "... and writes nothing" [ "$(files)" = "$before" ]

# The pointer leaves and comes back, as a person's would: the page saw no
# motion while the modal dialog held the pointer.
move_to 600 350
click 300 250
wait_for_dialog || fatal "the second click did not ask where to save"
dialog=$(save_dialog)
answer_dialog "$dialog" Return
saved=$HOME/"client setup.exe"
complete() { [ -f "$saved" ] && cmp -s "$saved" "$expected"; }
check "accepting saves exactly the server's bytes under a safe name in the home folder" wait_until complete
check "... and nothing else" [ "$(files)" = "$(printf '%s\n' "$before" "$saved" | sed '/^$/d' | sort)" ]
check "... and noted nowhere in the list of recent files" no_recent_files
rm -f "$saved"
check "... while a small window showed its progress" progress_shows

progress=$(progress_window)
[ -n "$progress" ] && key_in "$progress" space
check "... whose button closes it once done" wait_until destroyed "$progress"

# The context menu's save item of a link (the third item) is the user's too.
shown_count() {
  local x n=0
  for x in $(xdotool search --pid "$app" --name '' 2>/dev/null); do shown "$x" && n=$((n + 1)); done
  echo "$n"
}
windows_before=$(shown_count)
right_click 100 130
menu_shows() { [ "$(shown_count)" -gt "$windows_before" ]; }
wait_until menu_shows || fatal "no context menu on the link"
xdotool key Down Down Down Return
check "the context menu's save item asks where to save" wait_for_dialog
dialog=$(save_dialog)
check "... and its cancel writes nothing" eval 'answer_dialog "$dialog" Escape && [ "$(files)" = "$before" ]'

# A slow download typed into the address box, cancelled while it runs.
listing_site_mark
click "${address_box[@]}"
press ctrl+a
type_text "$site/test/file.bin?slow"
press Return
check "a download typed into the address box asks where to save" wait_for_dialog
dialog=$(save_dialog)
answer_dialog "$dialog" Return
check "... then shows its progress" wait_until progress_shows
progress=$(progress_window)
key_in "$progress" space
check "its cancel button closes the progress window" wait_until destroyed "$progress"
check "... ends the transfer" wait_received "/test/file.bin?slow abandoned"
check "... and leaves no partial file" [ "$(files)" = "$before" ]
click "${hot_label_x[0]}" "$hot_label_y"
check "the program still answers" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"
finish
