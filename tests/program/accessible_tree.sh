#!/usr/bin/env bash
# A screen-reader user drives the browser through the accessible tree
# (AT-SPI): every button, link and page tab is there with its role and
# name; "click" on 后退 goes back, on a hot-search label searches, on a page
# tab selects it, on a tab's close button closes that tab; the tree follows
# fifty tabs opened and closed. The test's own session bus brings up the
# accessibility bus; its launcher and registry are stopped at the end.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
program_test_setup "$@"

client() { timeout 60 /usr/bin/python3 "$src/tests/program/accessible_tree.py" "$@"; }
has() { client has "$app" "$1" "$2" 2>/dev/null; }
states_of() { client states "$app" "$1" "$2"; }
shows_enabled() { local s; s=$(states_of "$1" "$2") && [[ " $s " == *" showing "* && " $s " == *" enabled "* ]]; }
shows_disabled() { local s; s=$(states_of "$1" "$2") && [[ " $s " == *" showing "* && " $s " != *" enabled "* ]]; }
tabs() { client tabs "$app"; }
tab_total() { tabs | wc -l; }
tab_total_is() { [ "$(tab_total)" = "$1" ]; }
selected_tab() { tabs | awk '$2 == 1 { print $1 }'; }
tab_selected() { [ "$(selected_tab)" = "$1" ]; }
tab_named() { tabs | cut -d' ' -f3- | grep -qxF -- "$1"; }
env_wait() { local s=$1; shift; WAIT_SECONDS=$s wait_until "$@"; }
close_buttons_are() { [ "$(client count "$app" "push button" "关闭标签 ")" = "$1" ]; }

command -v dbus-daemon >/dev/null || fatal "dbus-daemon is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || fatal "at-spi2-core is not installed"
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  fatal "the AT-SPI bindings for /usr/bin/python3 are not installed (python3-pyatspi)"

# What the buses start for this test carries its private HOME. Stopping the
# buses can make one of them start a helper again (the registry, when the
# program asks for it on its way out), so after the usual clean-up every
# process left with that HOME is stopped too, by its id.
_stop_left_helpers() {
  local d p _
  for _ in $(seq 50); do
    p=()
    for d in /proc/[0-9]*; do
      [ "${d#/proc/}" = "$$" ] && continue
      tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qxF "HOME=$HOME" && p+=("${d#/proc/}")
    done
    [ "${#p[@]}" -eq 0 ] && break
    kill "${p[@]}" 2>/dev/null
    sleep 0.1
  done
  rm -rf "$work" 2>/dev/null
}
trap '_program_test_cleanup; _stop_left_helpers' EXIT

start_session_bus
# The other program tests keep GTK's accessibility bridge off; this one is
# about it.
unset NO_AT_BRIDGE
start_site
start_program
wait_received "/" && wait_until name_is "新开服务器一览" || fatal "the first tab did not load the home page"
wait_until has "page tab list" "" || fatal "the program's tree never reached the accessibility bus"
# Stopped with everything else this script started.
read -r -a bus_pids <<<"$(client bus-pids)" || fatal "the accessibility bus's processes are not known"
_pids+=("${bus_pids[@]}")
check "the accessibility bus launcher, its bus and the registry run" [ "${#bus_pids[@]}" -ge 3 ]
client walk "$app" >"$work/tree.txt"
echo "accessible tree at start:"
sed 's/^/  /' "$work/tree.txt"

for name in 后退 前进 主页 刷新 停止 最小化 最大化 还原 退出程序 关闭当前标签 转到 搜索 新建标签 \
            "关闭标签 新开服务器一览"; do
  check "push button $name" has "push button" "$name"
done
for name in 合击 极品 185 变态 仿盛大 176 轻变 中变 今天 明天 昨天 后天; do
  check "link $name" has link "$name"
done
check "text 搜索关键字" has text 搜索关键字
check "text 网址" has text 网址
check "label Varomel (the title bar)" has label Varomel
check "label 热搜：" has label 热搜：
check "the go button's tip is its description" grep -qF "push button | '转到' | '按 Ctrl+Enter 在新窗口中打开网页。" "$work/tree.txt"
check "one page tab, 新开服务器一览, selected" [ "$(tabs)" = "0 1 新开服务器一览" ]
check "with no history the greyed 后退 shows, not enabled" shows_disabled "push button" 后退
check "and so does the greyed 前进" shows_disabled "push button" 前进
check "the progress label reads as it shows" grep -qE "^ +label \| '[0-9.]+%'" "$work/tree.txt"

# Two pages in the first tab, then back through the accessible 后退.
paste_into_address_box "$site/new.html?q=a"
press Return
wait_until name_is "今日新开服务器" || fatal "the first navigation did not show"
paste_into_address_box "$site/test/opened.html"
press Return
wait_until name_is "新窗口页面" || fatal "the second navigation did not show"
check "after two pages 后退 shows enabled" wait_until shows_enabled "push button" 后退
check "... and its page tab is named by the new caption" wait_until tab_named 新窗口页面
client click "$app" "push button" 后退
check "click on 后退 goes back" wait_until name_is "今日新开服务器"
check "... and then 前进 shows enabled" wait_until shows_enabled "push button" 前进

listing_site_mark
client click "$app" link 合击
check "click on the link 合击 searches for it" wait_received "/search.asp?key=%BA%CF%BB%F7&otype=name"
check "... in a second tab" wait_until tab_total_is 2
check "... which is the selected page tab" wait_until tab_selected 1
check "... named by its caption" wait_until tab_named "搜索结果：合击"

client click-tab "$app" 0
check "click on page tab 0 selects it" wait_until tab_selected 0
check "... and shows its page" wait_until name_is "今日新开服务器"

client close-tab "$app" 1
check "click on the second tab's close button removes its page tab" wait_until tab_total_is 1
check "... the one named 搜索结果：合击" not tab_named "搜索结果：合击"
check "... and its close button" wait_until close_buttons_are 1

# The new-tab button goes out of sight once the headers fill the strip; the
# hot-search labels stay.
client click "$app" link 合击 50
# Fifty pages load at once: slow on a loaded machine or under the sanitizers.
check "fifty clicks on 合击 make fifty-one page tabs" env_wait 120 tab_total_is 51
check "... with fifty-one close buttons" wait_until close_buttons_are 51
check "... the last one selected" wait_until tab_selected 50
client click "$app" "push button" 关闭当前标签 50
check "fifty clicks on 关闭当前标签 leave one page tab" env_wait 120 tab_total_is 1
check "... and one close button" wait_until close_buttons_are 1
check "... and it is selected" wait_until tab_selected 0
check "the program still runs" alive
finish
