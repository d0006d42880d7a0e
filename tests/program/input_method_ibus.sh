#!/usr/bin/env bash
# Chinese input through ibus with its pinyin engine, on a session bus of the
# test's own: composing letters and picking a candidate in the search box
# and the address box (see pinyin_checks in lib.sh).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"
command -v ibus-daemon >/dev/null || fatal "ibus is not installed"
[ -e /usr/share/ibus/component/libpinyin.xml ] || fatal "ibus-libpinyin is not installed"
gtk_im_module_installed ibus || fatal "GTK's ibus module (ibus-gtk3) is not installed"

start_session_bus
export GTK_IM_MODULE=ibus GSETTINGS_BACKEND=memory
ibus-daemon --panel=disable >>"$work/ibus.log" 2>&1 &
_pids+=($!)
# Each question to ibus is bounded, as a busy daemon would hold the call.
ibus_answers() { timeout 5 ibus list-engine --name-only >/dev/null 2>&1; }
WAIT_SECONDS=60 wait_until ibus_answers || fatal "ibus did not answer on the session bus"

start_site
start_program
wait_received "/" || fatal "the first tab did not load the home page"
# Setting the engine reports failure when no input context has the focus
# yet; asking afterwards tells whether it took.
libpinyin_on() { timeout 5 ibus engine libpinyin >/dev/null 2>&1; [ "$(timeout 5 ibus engine 2>/dev/null)" = libpinyin ]; }
switch_on() { wait_until libpinyin_on || fatal "ibus did not switch to libpinyin"; }
pinyin_checks switch_on
check "the program is still running" alive
finish
