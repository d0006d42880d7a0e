# Shared helpers for whole-program tests (source it; bash only).
#
#   program_test_setup "$@"   the program's path is $1; sets site (the
#                             listing base URL without its "/"); runs the test again
#                             on an X server of its own (real key presses go
#                             to the focused window, and no other test may
#                             take the focus), makes a private HOME and
#                             runtime directory, and stops everything started
#                             here when the script ends
#   start_site                the offline listing site as the program's proxy
#   start_program [ARGS...]   starts the program; sets app (its pid) and w
#                             (its main window), waits until the window shows
#   wait_until CMD...         polls CMD until it succeeds (30 s at most)
#   check "what" CMD...       one named check: counts it passed or failed
#   finish                    prints "N passed, M failed" and exits
#
# Input goes where a person would put it: click X Y and friends take the
# main window's client coordinates. What the tests read back is what a
# person sees (window names, pictures on the screen, visible windows) or
# what the listing site received.

program_test_setup() {
  exe=$1
  src=${VAROMEL_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
  # The listing site's base URL the program was built with (the build
  # writes it beside the program); $site is it without the trailing "/".
  if [ -z "${VAROMEL_LISTING_URL:-}" ]; then
    VAROMEL_LISTING_URL=$(cat "$(dirname "$exe")/listing-url") || { echo "no listing-url beside $exe" >&2; exit 1; }
  fi
  export VAROMEL_LISTING_URL
  site=${VAROMEL_LISTING_URL%/}
  if [ -z "${PROGRAM_TEST_PRIVATE_X:-}" ]; then
    PROGRAM_TEST_PRIVATE_X=1 exec "$src/scripts/with-xvfb" bash "$0" "$@"
  fi
  export NO_AT_BRIDGE=1
  work=$(mktemp -d)
  export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  _pids=()
  _passed=0
  _failed=0
  trap _program_test_cleanup EXIT
  # shellcheck source=../fixtures/listing_site.sh
  source "$src/tests/fixtures/listing_site.sh"
  close_tab_picture=$src/assets/pictures/close_tab_normal.gif
  screen_py=$src/tests/program/screen.py
}

# Whether a process has ended (gone, or a child not yet waited for).
_ended() {
  [ ! -e "/proc/$1" ] || [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" = Z ]
}

_program_test_cleanup() {
  local p i
  # Last started, first stopped: the program before the input method, the
  # input method before the session bus it talks to (fcitx5 could hang in
  # its own shutdown once the bus was gone). Whatever has not ended 5 s
  # after SIGTERM gets SIGKILL, so a hung helper cannot hold the test.
  for ((i = ${#_pids[@]} - 1; i >= 0; i--)); do
    p=${_pids[i]}
    kill "$p" 2>/dev/null || continue
    WAIT_SECONDS=5 wait_until _ended "$p" || kill -9 "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  listing_site_stop
  # Web processes of a killed program may still be writing their caches.
  rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; }
}

start_site() {
  listing_site_start "$work/site"
}

# Waits (up to ${WAIT_SECONDS:-30} s) until a command succeeds.
wait_until() {
  local _
  for _ in $(seq $((${WAIT_SECONDS:-30} * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

check() {
  local what=$1
  shift
  if "$@"; then
    _passed=$((_passed + 1))
    echo "ok: $what"
  else
    _failed=$((_failed + 1))
    echo "FAIL: $what" >&2
  fi
}

# Ends the script at once: the state is not fit for the checks that follow.
fatal() {
  _failed=$((_failed + 1))
  echo "FAIL: $*" >&2
  [ -n "${LISTING_LOG:-}" ] && { echo "requests (last 20):" >&2; tail -n 20 "$LISTING_LOG" >&2; }
  [ -s "$work/program.log" ] && { echo "program output (last 10 lines):" >&2; tail -n 10 "$work/program.log" >&2; }
  finish
}

finish() {
  echo "$_passed passed, $_failed failed"
  [ "$_failed" -eq 0 ] && exit 0
  [ -s "$work/program.log" ] && { echo "program output (last 20 lines):" >&2; tail -n 20 "$work/program.log" >&2; }
  exit 1
}

not() { ! "$@"; }
alive() { kill -0 "$app" 2>/dev/null; }

_find_main_window() {
  w=$(xdotool search --all --onlyvisible --pid "$app" --class varomel 2>/dev/null | head -n 1)
  [ -n "$w" ]
}

# Starts the program with the given arguments and waits for its window and
# for the maximise of start-up.
start_program() {
  "$exe" "$@" >>"$work/program.log" 2>&1 &
  app=$!
  _pids+=("$app")
  wait_until _find_main_window || fatal "the main window did not appear"
  wait_until _window_is_wide || fatal "the main window was not maximised at start"
  focus_main_window
}

_window_is_wide() { window_geometry && [ "$WIDTH" -gt 1030 ]; }

# Sets X Y WIDTH HEIGHT to the main window's screen rectangle.
window_geometry() {
  local out
  out=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null) || return 1
  eval "$out"
}

window_name() { xdotool getwindowname "$w" 2>/dev/null; }
name_is() { [ "$(window_name)" = "$1" ]; }

# Pointer input in the main window's client coordinates.
move_to() { xdotool mousemove --window "$w" "$1" "$2"; }
click() { xdotool mousemove --window "$w" "$1" "$2" click 1; }
right_click() { xdotool mousemove --window "$w" "$1" "$2" click 3; }
double_click() { xdotool mousemove --window "$w" "$1" "$2" click --repeat 2 --delay 80 1; }
# Where the pointer rests while the screen is read: on the title label,
# which has no hover picture and reacts to nothing but a double click.
park_pointer() { move_to 400 10; }

# Focuses the main window and types text or presses keys.
# (xdotool waits for the focus to arrive without end; a window that never
# gets it, say behind an input method's own window, must not hang the test.)
focus_main_window() { timeout 10 xdotool windowfocus --sync "$w" 2>/dev/null || true; }
type_text() { focus_main_window; xdotool type --delay 20 -- "$1"; }
press() { focus_main_window; xdotool key "$@"; }

# Client positions of the main window's components (design positions that
# the layout keeps at every window size, or places the layout computes).
search_box=(60 69)
search_button=(190 69)
home_button=(75 37)
address_box=(300 37)
# Hot-search labels 1 to 12: a little right of each label's left edge,
# on its text (some labels overlap their neighbours).
hot_label_x=(274 314 354 386 426 474 506 546 586 626 666 706)
hot_label_y=68

# The tab headers' strip: the tab control starts below the title label and
# the toolbar (3 + 20 + 60) and its headers are about 20 pixels high.
_header_strip() {
  window_geometry || return 1
  strip=($((X > 0 ? X : 0)) $((Y + 83)) $((WIDTH + (X < 0 ? X : 0))) 26)
}

# The number of tabs a person sees: one small close button per tab header.
tab_count() {
  _header_strip || return 1
  python3 "$screen_py" count "$close_tab_picture" "${strip[@]}"
}
tabs_are() { park_pointer; [ "$(tab_count)" = "$1" ]; }

# Screen positions of the tabs' close buttons, left to right ("x y" lines).
close_buttons() {
  _header_strip || return 1
  python3 "$screen_py" find "$close_tab_picture" "${strip[@]}" | sort -n
}

# Puts text on the clipboard, as another program would, for a Ctrl+V: a
# small helper owns the clipboard until the next call or the test's end.
# Pasting is how a person enters what a keyboard does not type.
set_clipboard() {
  if [ -n "${_clipboard_pid:-}" ]; then
    kill "$_clipboard_pid" 2>/dev/null
    wait "$_clipboard_pid" 2>/dev/null
  fi
  printf '%s' "$1" >"$work/clipboard"
  rm -f "$work/clipboard-ready"
  python3 -c '
import sys, tkinter
root = tkinter.Tk()
root.withdraw()
root.clipboard_clear()
root.clipboard_append(open(sys.argv[1], encoding="utf-8").read())
root.update()
open(sys.argv[2], "w").close()
root.mainloop()' "$work/clipboard" "$work/clipboard-ready" &
  _clipboard_pid=$!
  _pids+=("$_clipboard_pid")
  wait_until test -e "$work/clipboard-ready"
}

# Dark pixels (text) inside a rectangle of the main window's client area.
ink_in() {
  window_geometry || return 1
  python3 "$screen_py" ink $(($1 + X)) $(($2 + Y)) "$3" "$4"
}
# The search box (8, 59, 155 x 20) shows more than a caret.
search_box_has_text() { [ "$(ink_in 10 61 150 16)" -gt 30 ]; }
# The address box (from 127, 28, 20 high; its start) likewise.
address_box_has_text() { [ "$(ink_in 129 30 300 16)" -gt 30 ]; }

# Replaces an edit box's content with text pasted from the clipboard
# (typing Chinese through xdotool's borrowed key codes can lose characters
# on a busy machine; a paste cannot), and waits until it shows.
paste_into_search_box() { _paste_into search_box_has_text "${search_box[@]}" "$1"; }
paste_into_address_box() { _paste_into address_box_has_text "${address_box[@]}" "$1"; }
_paste_into() {
  local shows=$1 x=$2 y=$3 text=$4
  set_clipboard "$text" || fatal "the clipboard helper did not start"
  click "$x" "$y"
  press ctrl+a BackSpace ctrl+v
  # Pasting takes a round trip to the helper.
  wait_until "$shows" || fatal "the pasted text did not show in the box at $x, $y"
}

# Converts a screen position to the main window's client coordinates.
to_client() {
  window_geometry
  echo $(($1 - X)) $(($2 - Y))
}

# The listing site received a line (after the last listing_site_mark).
received() { [ "$(listing_site_count "$1")" -gt 0 ]; }
# The same, for a request whose escapes the network layer may have
# normalised: it decodes %XX of letters and digits (RFC 3986 counts %39 and
# 9 as the same), so the bytes are compared after decoding.
received_bytes() {
  tail -n "+$((_listing_skip + 1))" "$LISTING_LOG" | python3 -c '
import sys, urllib.parse
want = urllib.parse.unquote_to_bytes(sys.argv[1])
sys.exit(0 if any(urllib.parse.unquote_to_bytes(l.rstrip("\n")) == want for l in sys.stdin) else 1)' "$1"
}
wait_received() { wait_until received "$1"; }

# Web content processes the program runs now, at any depth below it: in
# the sandbox they are children of bubblewrap, not of the program.
web_pids() {
  local queue=("$app") p c
  while [ ${#queue[@]} -gt 0 ]; do
    p=${queue[0]}
    queue=("${queue[@]:1}")
    for c in $(pgrep -P "$p" 2>/dev/null); do
      queue+=("$c")
      case "$(cat "/proc/$c/comm" 2>/dev/null)" in WebKitWebProces*) echo "$c" ;; esac
    done
  done
}
web_processes() { web_pids | wc -l; }

# Today's date plus an offset in days, as the listing site's date keys
# write it (no leading zeros).
date_key() { date -d "$1 day" +%Y-%-m-%-d; }

# Search requests the listing site received (after the last mark).
searches_received() { tail -n "+$((_listing_skip + 1))" "$LISTING_LOG" | grep -c '^/search\.asp' || true; }
reminder_box_shown() { xdotool search --all --onlyvisible --pid "$app" --name "友情提示：" >/dev/null 2>&1; }

# Typing with a Chinese input method, in the search box and the address box:
# Enter while letters are being composed only puts the letters in; a digit
# and Enter then search for (or go to) letters and digit, and never for the
# letters alone. A space picks the first candidate, 变态, and Enter then
# searches for it. The arguments switch the input method on for the box
# that has the focus.
pinyin_checks() {
  local site=http://www.varomel-servers.example
  listing_site_mark
  click "${search_box[@]}"
  "$@"
  press ctrl+a BackSpace
  type_text biantai
  press Return
  wait_until search_box_has_text || fatal "the composed letters did not reach the search box"
  type_text 1
  press Return
  check "search box: Enter while composing puts the letters in" \
    wait_until received_bytes "/search.asp?key=biantai1&otype=name"
  check "... and searches nothing" [ "$(searches_received)" = 1 ]
  check "... nor raises the reminder box" not reminder_box_shown

  press ctrl+a BackSpace
  type_text biantai
  press space Return
  check "search box: biantai, space, Enter searches 变态" wait_received "/search.asp?key=%B1%E4%CC%AC&otype=name"

  click "${address_box[@]}"
  "$@"
  paste_into_address_box "$site/new.html?q="
  listing_site_mark
  press End
  type_text biantai
  press Return
  type_text 1
  press Return
  check "address box: Enter while composing puts the letters in" wait_received "/new.html?q=biantai1"
  check "... and goes nowhere" [ "$(listing_site_count "/new.html?q=biantai")" = 0 ]
  paste_into_address_box "$site/new.html?q="
  press End
  type_text biantai
  press space Return
  check "address box: biantai, space, Enter goes to 变态" wait_received "/new.html?q=%E5%8F%98%E6%80%81"
}

# A session bus of the test's own (for input methods), stopped at the end.
start_session_bus() {
  local out
  out=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1) || fatal "no session bus"
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
  _pids+=("$(sed -n 2p <<<"$out")")
}

# GTK 3 lists the input-method modules it can load in its module cache.
gtk_im_module_installed() {
  local cache
  cache=$(pkg-config --variable=libdir gtk+-3.0 2>/dev/null)/gtk-3.0/3.0.0/immodules.cache
  grep -q "^\"$1\"" "$cache" 2>/dev/null
}

# A window manager of the test's own on the test's X server; returns once
# it manages the screen.
start_openbox() {
  command -v openbox >/dev/null || fatal "openbox is not installed"
  local attempt pid
  _wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  _wm_up_or_gone() { _wm_running || ! kill -0 "$pid" 2>/dev/null; }
  # On the shared test machine openbox now and then fails its very first
  # connection to a fresh server ("Failed to open the display"; about one
  # start in twenty under load) while the server answers every other
  # client at once. A second start is tried then, and only then.
  for attempt in 1 2; do
    openbox --sm-disable >>"$work/openbox.log" 2>&1 &
    pid=$!
    _pids+=("$pid")
    wait_until _wm_up_or_gone
    _wm_running && return 0
    kill -0 "$pid" 2>/dev/null && break
    grep -q 'Failed to open the display' "$work/openbox.log" && xdpyinfo >/dev/null 2>&1 || break
    [ "$attempt" = 1 ] && echo "note: openbox could not open the display that answers; starting it once more" >&2
  done
  # A display that does not answer is the test machine's fault, not the
  # window manager's: the message says which.
  fatal "openbox did not start: $(tail -n 5 "$work/openbox.log");" \
    "the display $DISPLAY $(xdpyinfo >/dev/null 2>&1 && echo answers || echo 'does not answer either')"
}

# A panel along the top or bottom edge reserving HEIGHT pixels; waits until
# the window manager has taken it off the work area. Sets panel_pid.
start_panel() {
  local edge=$1 height=$2 before
  before=$(xprop -root _NET_WORKAREA 2>/dev/null)
  python3 "$src/tests/program/dock_panel.py" "$edge" "$height" >>"$work/panel.log" 2>&1 &
  panel_pid=$!
  _pids+=("$panel_pid")
  _work_area_changed() { [ "$(xprop -root _NET_WORKAREA 2>/dev/null)" != "$before" ]; }
  wait_until _work_area_changed || fatal "the $edge panel did not change the work area"
}
