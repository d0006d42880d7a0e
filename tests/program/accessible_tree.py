#!/usr/bin/python3
"""An AT-SPI client for the accessibility test: reads the program's
accessible tree as a screen reader does and invokes actions in it.

  accessible_tree.py walk PID                 prints the tree: role | name | description | actions | states
  accessible_tree.py has PID ROLE NAME        succeeds when an object of that role and name exists
  accessible_tree.py states PID ROLE NAME     prints the states of the first such object that shows,
                                              else of the first one
  accessible_tree.py click PID ROLE NAME [N]  runs "click" on the first such object that shows, N times
  accessible_tree.py tabs PID                 prints the page tabs, one a line: index, selected (0/1), name
  accessible_tree.py click-tab PID INDEX      runs "click" on page tab INDEX
  accessible_tree.py close-tab PID INDEX      runs "click" on the close button named after page tab INDEX
  accessible_tree.py count PID ROLE PREFIX    prints how many objects of that role have names starting with PREFIX
  accessible_tree.py bus-pids                 prints the accessibility bus launcher's, its bus's and
                                              the registry's process ids

A failure prints why on stderr and exits 1. The web page's own tree (a
document inside the web view) is not walked: it is the web engine's.
"""
import os
import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

# The bindings call some of the action calls deprecated; they are the ones
# the installed library offers on every supported release.
warnings.filterwarnings("ignore", category=DeprecationWarning)
# A program busy opening tabs (a sanitizer build on a loaded machine) may
# take seconds to answer; the library's default gives up after 0.8 s and
# reports what it could not ask as empty.
Atspi.set_timeout(20000, 60000)

PAGE_TAB_LIST = "page tab list"
PAGE_TAB = "page tab"
STOP_ROLES = {"document web", "document frame"}


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    fail(f"no application with process id {pid} on the accessibility bus")


def states(obj):
    names = []
    state_set = obj.get_state_set()
    for state in state_set.get_states():
        names.append(Atspi.StateType(state).value_nick)
    return names


def actions(obj):
    action = obj.get_action_iface()
    if action is None:
        return []
    return [action.get_action_name(i) for i in range(action.get_n_actions())]


def objects(root):
    """Every object under root, depth first, with its depth."""
    stack = [(root, 0)]
    while stack:
        obj, depth = stack.pop()
        yield obj, depth
        if obj.get_role_name() in STOP_ROLES:
            continue
        children = [obj.get_child_at_index(i) for i in range(obj.get_child_count())]
        for child in reversed(children):
            if child is not None:
                stack.append((child, depth + 1))


def find(pid, role, name):
    found = [o for o, _ in objects(application(pid)) if o.get_role_name() == role and o.get_name() == name]
    showing = [o for o in found if "showing" in states(o)]
    return (showing or found or [None])[0]


def tab_list(pid):
    for obj, _ in objects(application(pid)):
        if obj.get_role_name() == PAGE_TAB_LIST:
            return obj
    fail("no page tab list")


def page_tabs(pid):
    tabs = tab_list(pid)
    return [tabs.get_child_at_index(i) for i in range(tabs.get_child_count())]


def click(obj, what, times=1):
    if obj is None:
        fail(f"no {what}")
    action = obj.get_action_iface()
    names = actions(obj)
    if "click" not in names:
        fail(f"{what} offers no click (actions: {names})")
    for _ in range(times):
        if not action.do_action(names.index("click")):
            fail(f"{what} refused the click")


def walk(pid):
    for obj, depth in objects(application(pid)):
        line = " | ".join([obj.get_role_name(), repr(obj.get_name()), repr(obj.get_description()),
                           ",".join(actions(obj)), " ".join(s for s in states(obj)
                                                            if s in ("showing", "enabled", "selected", "focusable"))])
        print("  " * depth + line)


def bus_pids():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def pid_of(connection, name):
        reply = connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                     "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)),
                                     GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, 5000, None)
        return reply.unpack()[0]

    launcher = pid_of(session, "org.a11y.Bus")
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
    a11y = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)
    pids = [launcher, pid_of(a11y, "org.a11y.atspi.Registry")]
    # The launcher's own bus daemon is its child.
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == launcher:
                        pids.append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    print(" ".join(str(p) for p in pids))


def main(argv):
    if len(argv) < 2:
        fail(__doc__)
    command = argv[1]
    if command == "bus-pids":
        return bus_pids()
    pid = int(argv[2])
    if command == "walk":
        walk(pid)
    elif command == "has":
        if find(pid, argv[3], argv[4]) is None:
            fail(f"no {argv[3]} named {argv[4]!r}")
    elif command == "states":
        obj = find(pid, argv[3], argv[4])
        if obj is None:
            fail(f"no {argv[3]} named {argv[4]!r}")
        print(" ".join(states(obj)))
    elif command == "click":
        # The same object every time: a button stays itself while tabs come and go.
        click(find(pid, argv[3], argv[4]), f"{argv[3]} named {argv[4]!r}", int(argv[5]) if len(argv) > 5 else 1)
    elif command == "tabs":
        for i, tab in enumerate(page_tabs(pid)):
            if tab.get_role_name() != PAGE_TAB or tab.get_index_in_parent() != i:
                fail(f"child {i} of the page tab list is a {tab.get_role_name()} at index {tab.get_index_in_parent()}")
            print(i, int("selected" in states(tab)), tab.get_name())
    elif command == "click-tab":
        tabs = page_tabs(pid)
        index = int(argv[3])
        click(tabs[index] if index < len(tabs) else None, f"page tab {index}")
    elif command == "close-tab":
        tabs = page_tabs(pid)
        index = int(argv[3])
        if index >= len(tabs):
            fail(f"no page tab {index}")
        name = "关闭标签 " + tabs[index].get_name()
        click(find(pid, "push button", name), f"push button named {name!r}")
    elif command == "count":
        role, prefix = argv[3], argv[4]
        print(sum(1 for o, _ in objects(application(pid))
                  if o.get_role_name() == role and o.get_name().startswith(prefix)))
    else:
        fail(f"unknown command {command}")


if __name__ == "__main__":
    main(sys.argv)
