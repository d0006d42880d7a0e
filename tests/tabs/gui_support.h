// Test support for the tab GUI tests: a page server on 127.0.0.1, the main
// and status windows with the components the tab code drives (names,
// rectangles and bindings as in the program's own descriptions), and waiting
// on the main loop with a deadline.
#pragma once

#include <gtest/gtest.h>
#include <libsoup/soup.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace tabs_test {

class PageServer {
public:
    PageServer();
    ~PageServer();
    void add(const std::string& path, const std::string& html) { pages_[path] = html; }
    std::string url(const std::string& path) const { return base_ + path; }
    int hits(const std::string& path) const;

private:
    static void serve(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer data);
    SoupServer* server_ = nullptr;
    std::string base_;
    std::map<std::string, std::string> pages_;
    std::vector<std::string> requests_;
};

// Runs the main loop until the condition holds; false when the deadline
// passes first.
bool waitFor(const std::function<bool()>& done, int seconds = 30);

// Web processes this test program started that are still running.
int webProcessCount();

// A press and release of a mouse button delivered straight to a GDK window.
void clickAt(GdkWindow* window, int x, int y, guint button = 1);

rt::WindowDescription testMainWindow(std::function<rt::Value(rt::Event&)> created);
rt::WindowDescription testStatusWindow();

// The main window with tab 1 open on firstUrl, loaded through the real
// runtime, widgets and WebKit; torn down with the tab state after each test.
class TabWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    rt::Runtime& rt() { return rt::Runtime::instance(); }
    // Opens the main window; tab 1 shows url.
    void openWindow(const std::string& url);
    // Waits until no tab's browser is loading any more.
    bool settle();
    rt::ComponentRef browser(int n) const;
    rt::ComponentRef closeButton(int n) const;
    std::string tag(rt::ComponentRef ref);
    bool shown(rt::ComponentRef ref);
    std::string caption(int page);
    std::string tip(int page);
    std::string windowCaption();
    std::string address();
    // Raises a browser event on tab n's browser as the engine would.
    void raise(int n, int event, std::vector<rt::Value> args = {});
    int componentCount();

    PageServer server_;
    std::vector<std::string> errors_;
    uint32_t mainWindow_ = 0;
};

}  // namespace tabs_test
