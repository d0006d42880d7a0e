// Linked into every GoogleTest program; sets the environment before main.
//
// No test reaches the internet: pages under test are served over plain http
// on 127.0.0.1, and anything on https (the search engines the only tab
// cycles through) goes to a proxy port where nothing listens, so it fails
// at once instead of leaving the machine.
//
// A program of display-free tests runs without a display, so a test that
// needs one fails there instead of passing on a display it found by luck.
#include <cstdlib>

namespace {

const bool kEnvironment = [] {
    setenv("https_proxy", "http://127.0.0.1:9/", 1);
    setenv("HTTPS_PROXY", "http://127.0.0.1:9/", 1);
#ifdef VAROMEL_UNIT_TESTS
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
#endif
    return true;
}();

}  // namespace
