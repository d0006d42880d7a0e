#!/usr/bin/env bash
# Chinese input through fcitx5 with its pinyin engine, on a session bus of
# the test's own: composing letters and picking a candidate in the search
# box and the address box (see pinyin_checks in lib.sh).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"
command -v fcitx5 >/dev/null || fatal "fcitx5 is not installed"
[ -e "$(pkg-config --variable=libdir gtk+-3.0)/fcitx5/libpinyin.so" ] || fatal "fcitx5's pinyin engine is not installed"
gtk_im_module_installed fcitx || fatal "GTK's fcitx5 module (fcitx5-frontend-gtk3) is not installed"

start_session_bus
# Only GTK talks to the input method (over the session bus); the helpers
# the test runs (the clipboard owner, xdotool) stay out of it.
export GTK_IM_MODULE=fcitx
# One group: the plain keyboard, then pinyin, which switching on selects.
mkdir -p "$HOME/.config/fcitx5"
cat >"$HOME/.config/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
PROFILE
# Only what typing pinyin into a GTK box needs: no tray, no notifications,
# no XIM,
# no network candidates.
fcitx5 --disable=cloudpinyin,notificationitem,notifications,kimpanel,wayland,waylandim,ibusfrontend,fcitx4frontend,xim \
  >>"$work/fcitx5.log" 2>&1 &
_pids+=($!)
# Each question to fcitx5 is bounded: a busy fcitx5 (loading its
# dictionaries on a loaded machine) would otherwise hold the call.
fcitx5_answers() { timeout 5 fcitx5-remote >/dev/null 2>&1; }
WAIT_SECONDS=60 wait_until fcitx5_answers || fatal "fcitx5 did not answer on the session bus: $(tail -n 5 "$work/fcitx5.log")"
echo "fcitx5 answers on the session bus"

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"
# Switching on goes to the input context that has the focus.
pinyin_on() { timeout 5 fcitx5-remote -o >/dev/null 2>&1; [ "$(timeout 5 fcitx5-remote 2>/dev/null)" = 2 ]; }
switch_on() { wait_until pinyin_on || fatal "fcitx5 did not switch pinyin on"; }
pinyin_checks switch_on
check "the program is still running" alive
finish
