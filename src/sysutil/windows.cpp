#include "windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

#include <cstring>

#include "runtime/gbk.h"

namespace sysutil {
namespace {

std::vector<WindowEntry>& windowList() {
    static std::vector<WindowEntry> list;
    return list;
}

// One property of a window as raw items; empty when it is missing or of
// another type. Windows may vanish at any moment, so callers run inside an
// error trap.
std::vector<unsigned char> property(Display* dpy, Window w, Atom name, Atom type, int& format, unsigned long& items) {
    Atom actualType = None;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    items = 0;
    format = 0;
    if (XGetWindowProperty(dpy, w, name, 0, 1024, False, type, &actualType, &format, &items, &after, &data) !=
            Success ||
        actualType != type || !data) {
        if (data) XFree(data);
        items = 0;
        return {};
    }
    size_t unit = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
    std::vector<unsigned char> out(data, data + items * unit);
    XFree(data);
    return out;
}

bool hasPid(Display* dpy, Window w, Atom pidAtom, uint32_t& pid) {
    int format = 0;
    unsigned long items = 0;
    auto bytes = property(dpy, w, pidAtom, XA_CARDINAL, format, items);
    if (format != 32 || items < 1) return false;
    long value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    pid = static_cast<uint32_t>(value);
    return true;
}

std::string cut(const std::string& utf8) { return runtime::gbk::cutToBytes(utf8, kMaxTextBytes); }

// Another program's title may be cut mid-character or simply malformed; the
// list only ever holds valid UTF-8.
std::string validPrefix(const std::string& text) {
    const gchar* end = nullptr;
    g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end);
    return text.substr(0, static_cast<size_t>(end - text.data()));
}

std::string titleOf(Display* dpy, Window w) {
    int format = 0;
    unsigned long items = 0;
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    auto name = property(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False), utf8, format, items);
    if (format == 8 && !name.empty()) return cut(validPrefix(std::string(name.begin(), name.end())));
    // The legacy name is Latin-1 by the protocol; its ASCII part is kept, and
    // the list stops at the first byte that is not valid UTF-8.
    name = property(dpy, w, XA_WM_NAME, XA_STRING, format, items);
    return cut(validPrefix(std::string(name.begin(), name.end())));
}

std::string classOf(Display* dpy, Window w) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, w, &hint)) return {};
    std::string cls = hint.res_class ? hint.res_class : "";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return cut(validPrefix(cls));
}

// Under a window manager the root's children are frames and the program's
// window sits one level down; without one it is the root's child itself.
Window clientOf(Display* dpy, Window top, Atom pidAtom, uint32_t& pid) {
    if (hasPid(dpy, top, pidAtom, pid)) return top;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = top;
    if (XQueryTree(dpy, top, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            if (hasPid(dpy, children[i], pidAtom, pid)) {
                found = children[i];
                break;
            }
        }
        if (children) XFree(children);
    }
    return found;
}

void collect(Display* dpy, std::vector<WindowEntry>& out) {
    Window root = DefaultRootWindow(dpy), rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, root, &rootReturn, &parent, &children, &count)) return;
    Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
    // The server lists children bottom-most first; the list goes top-most
    // first, the order in which a user sees them.
    for (unsigned int i = count; i-- > 0;) {
        XWindowAttributes attrs{};
        if (!XGetWindowAttributes(dpy, children[i], &attrs) || attrs.map_state != IsViewable) continue;
        if (attrs.c_class == InputOnly) continue;
        WindowEntry e;
        Window client = clientOf(dpy, children[i], pidAtom, e.processId);
        e.handle = client;
        e.title = titleOf(dpy, client);
        e.className = classOf(dpy, client);
        out.push_back(std::move(e));
    }
    if (children) XFree(children);
}

}  // namespace

const std::vector<WindowEntry>& enumerateWindows() {
    std::vector<WindowEntry>& list = windowList();
    list.clear();
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return list;
    Display* dpy = gdk_x11_display_get_xdisplay(display);
    gdk_x11_display_error_trap_push(display);
    collect(dpy, list);
    gdk_x11_display_error_trap_pop_ignored(display);
    return list;
}

unsigned long firstWindowOf(const std::vector<WindowEntry>& list, uint32_t processId) {
    for (const WindowEntry& e : list)
        if (e.processId == processId) return e.handle;
    return 0;
}

unsigned long windowOfProcess(uint32_t processId) { return firstWindowOf(enumerateWindows(), processId); }

}  // namespace sysutil
