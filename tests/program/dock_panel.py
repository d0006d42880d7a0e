#!/usr/bin/env python3
"""A desktop panel for tests: a dock window along the top or bottom edge of
the screen that reserves its height through _NET_WM_STRUT_PARTIAL, as a
real panel does. It stays until killed.

    dock_panel.py top|bottom HEIGHT
"""
import ctypes
import ctypes.util
import signal
import sys

edge, height = sys.argv[1], int(sys.argv[2])
if edge not in ("top", "bottom") or height <= 0:
    sys.exit("usage: dock_panel.py top|bottom HEIGHT")

x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultScreen.argtypes = [ctypes.c_void_p]
x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("dock_panel.py: cannot open the display")
screen = x11.XDefaultScreen(display)
width, screen_height = x11.XDisplayWidth(display, screen), x11.XDisplayHeight(display, screen)
top = 0 if edge == "top" else screen_height - height
window = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, top, width, height, 0, 0, 0x404040)


def atom(name):
    return x11.XInternAtom(display, name.encode(), 0)


XA_ATOM, XA_CARDINAL, PROP_MODE_REPLACE = 4, 6, 0
dock = (ctypes.c_long * 1)(atom("_NET_WM_WINDOW_TYPE_DOCK"))
x11.XChangeProperty(display, window, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PROP_MODE_REPLACE, dock, 1)
# left, right, top, bottom, then the start and end of each along its edge.
strut = [0] * 12
if edge == "top":
    strut[2], strut[8], strut[9] = height, 0, width - 1
else:
    strut[3], strut[10], strut[11] = height, 0, width - 1
values = (ctypes.c_long * 12)(*strut)
x11.XChangeProperty(display, window, atom("_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32, PROP_MODE_REPLACE, values, 12)
x11.XChangeProperty(display, window, atom("_NET_WM_STRUT"), XA_CARDINAL, 32, PROP_MODE_REPLACE, values, 4)
# The place is the panel's own (user-specified position and size), or the
# window manager would place it where it likes.
US_POSITION, US_SIZE, P_POSITION, P_SIZE = 1, 2, 4, 8
hints = (ctypes.c_long * 18)(US_POSITION | US_SIZE | P_POSITION | P_SIZE, 0, top, width, height)
wm_size_hints = atom("WM_SIZE_HINTS")
x11.XChangeProperty(display, window, atom("WM_NORMAL_HINTS"), wm_size_hints, 32, PROP_MODE_REPLACE, hints, 18)
x11.XMapWindow(display, window)
x11.XSync(display, 0)
print(window, flush=True)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
signal.pause()
