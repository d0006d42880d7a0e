// Prints the moment a top-level window's caption first holds a given text,
// on the monotonic clock the harness reads (Python's time.monotonic()).
//
//   caption_watch TEXT [TIMEOUT_SECONDS]
//
// It prints "ready" once it listens, so the harness starts the program only
// then; every window made afterwards has its property changes watched from
// its creation, so no caption change is missed and none is seen late through
// polling. Exit status 0 with the time, 1 on timeout, 2 on bad use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::string captionOf(Display* d, Window w, Atom netWmName, Atom utf8) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(d, w, netWmName, 0, 4096, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data) {
        out.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: caption_watch TEXT [TIMEOUT_SECONDS]\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const double timeout = argc > 2 ? std::atof(argv[2]) : 30.0;
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "caption_watch: no X display\n");
        return 2;
    }
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    std::printf("ready\n");
    std::fflush(stdout);

    const double deadline = now() + timeout;
    pollfd pfd{ConnectionNumber(d), POLLIN, 0};
    while (true) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            Window w = None;
            if (e.type == CreateNotify) {
                w = e.xcreatewindow.window;
                XSelectInput(d, w, PropertyChangeMask);
            } else if (e.type == PropertyNotify && e.xproperty.atom == netWmName) {
                w = e.xproperty.window;
            }
            if (w != None && captionOf(d, w, netWmName, utf8).find(wanted) != std::string::npos) {
                std::printf("%.6f\n", now());
                return 0;
            }
        }
        const double left = deadline - now();
        if (left <= 0) return 1;
        poll(&pfd, 1, static_cast<int>(left * 1000) + 1);
    }
}
