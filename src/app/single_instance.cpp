#include <X11/Xlib.h>

#include "single_instance.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace app {

std::string instanceObjectName(const std::string& marker, const char* display) {
    std::string name = marker + "/" + std::to_string(getuid()) + "/";
    name += display ? display : "";
    return name;
}

InstanceObject::InstanceObject(const std::string& name) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // Abstract namespace: a leading NUL, no file on disk.
    size_t len = std::min(name.size(), sizeof addr.sun_path - 1);
    std::memcpy(addr.sun_path + 1, name.data(), len);
    socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), size) == 0) {
        fd_ = fd;
        return;
    }
    existed_ = errno == EADDRINUSE;
    ::close(fd);
}

InstanceObject::~InstanceObject() { close(); }

void InstanceObject::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void setInstanceProperty(Display* display, XWindowId window, const std::string& marker) {
    Atom atom = XInternAtom(display, marker.c_str(), False);
    long value = 1;
    XChangeProperty(
        display, window, atom, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
    XFlush(display);
}

namespace {

struct XFreeDeleter {
    void operator()(void* p) const {
        if (p) XFree(p);
    }
};

bool hasMarker(Display* display, Window window, Atom atom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(
            display, window, atom, 0, 1, False, AnyPropertyType, &type, &format, &count, &after, &data) != Success)
        return false;
    std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    if (!data || count < 1 || format != 32) return false;
    return *reinterpret_cast<long*>(data) == 1;
}

std::vector<Window> childrenTopFirst(Display* display, Window window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return {};
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    // X lists children bottom-most first.
    return std::vector<Window>(std::make_reverse_iterator(children + count), std::make_reverse_iterator(children));
}

// A window manager frame holds the client a level or two down.
Window markedWindowWithin(Display* display, Window window, Atom atom, int depth) {
    if (hasMarker(display, window, atom)) return window;
    if (depth == 0) return None;
    for (Window child : childrenTopFirst(display, window))
        if (Window w = markedWindowWithin(display, child, atom, depth - 1)) return w;
    return None;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

XWindowId findInstanceWindow(Display* display, const std::string& marker) {
    Atom atom = XInternAtom(display, marker.c_str(), False);
    // Windows may vanish during the walk; their errors are of no interest.
    auto previous = XSetErrorHandler(ignoreErrors);
    Window found = None;
    for (Window top : childrenTopFirst(display, DefaultRootWindow(display)))
        if ((found = markedWindowWithin(display, top, atom, 2))) break;
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

bool isMinimised(Display* display, XWindowId window) {
    Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false;
    if (XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (count >= 1 && format == 32) iconic = *reinterpret_cast<long*>(data) == IconicState;
        XFree(data);
    }
    return iconic;
}

void restoreWindow(Display* display, XWindowId window) {
    // Mapping an iconic client asks the window manager to make it normal.
    XMapWindow(display, window);
    XFlush(display);
}

SingleInstanceResult runSingleInstanceCheck(Display* display, XWindowId mainWindow, const std::string& marker) {
    static std::unique_ptr<InstanceObject> kept;
    SingleInstanceResult result;
    auto object = std::make_unique<InstanceObject>(instanceObjectName(marker, display ? DisplayString(display) : ""));
    if (!object->existedBefore()) {
        if (display && mainWindow) setInstanceProperty(display, mainWindow, marker);
        if (object->held()) kept = std::move(object);
        return result;
    }
    if (display) {
        Window earlier = findInstanceWindow(display, marker);
        result.foundEarlier = earlier != None;
        if (earlier && isMinimised(display, earlier)) {
            restoreWindow(display, earlier);
            result.restoredEarlier = true;
        }
    }
    object->close();
    return result;
}

}  // namespace app
