// Marks a running instance and finds an earlier one. The marker is a kernel
// object (an abstract-namespace socket: no file, gone with the process, even
// after a crash) plus an X window property, both named after the instance
// marker; the object's name is scoped to the user and the X display.
#pragma once

#include <string>

// Xlib types, declared here so that Xlib's macros stay out of the callers.
typedef struct _XDisplay Display;

namespace app {

using XWindowId = unsigned long;

class InstanceObject {
public:
    // Tries to create the named object; existedBefore() tells whether another
    // process holds it. Any failure counts as "did not exist".
    explicit InstanceObject(const std::string& name);
    ~InstanceObject();
    InstanceObject(const InstanceObject&) = delete;
    InstanceObject& operator=(const InstanceObject&) = delete;
    bool existedBefore() const { return existed_; }
    bool held() const { return fd_ >= 0; }
    // Closes this process's handle.
    void close();

private:
    int fd_ = -1;
    bool existed_ = false;
};

// The object's name for this user and display.
std::string instanceObjectName(const std::string& marker, const char* display);

// Sets the 32-bit property `marker` = 1 on the window.
void setInstanceProperty(Display* display, XWindowId window, const std::string& marker);
// Walks the top-level windows, top-most first, looking through window
// manager frames to the client windows; returns the first whose property
// `marker` is 1, or 0.
XWindowId findInstanceWindow(Display* display, const std::string& marker);
bool isMinimised(Display* display, XWindowId window);
void restoreWindow(Display* display, XWindowId window);

// The whole check for a program started with an argument: mark this
// instance or restore the earlier one. Returns the object to keep for the
// process's life (empty when another instance held it).
struct SingleInstanceResult {
    bool foundEarlier = false;
    bool restoredEarlier = false;
};
SingleInstanceResult runSingleInstanceCheck(Display* display, XWindowId mainWindow, const std::string& marker);

}  // namespace app
