// Test support for the tab GUI tests: a page server on 127.0.0.1, the main
// and status windows with the components the tab code drives (names,
// rectangles and bindings as in the program's own descriptions), and waiting
// on the main loop with a deadline.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "support/gui_wait.h"
#include "support/page_server.h"
#include "support/web_processes.h"

namespace tabs_test {

using testsupport::clickAt;
using testsupport::PageServer;
using testsupport::webProcessCount;

// Runs the main loop until the condition holds, allowing for page loads;
// false when the deadline passes first.
inline bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = testsupport::kPageWait) {
    return testsupport::waitFor(done, timeout);
}

runtime::WindowDescription testMainWindow(std::function<runtime::Value(runtime::Event&)> created);
runtime::WindowDescription testStatusWindow();

// The main window with tab 1 open on firstUrl, loaded through the real
// runtime, widgets and WebKit; torn down with the tab state after each test.
class TabWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    runtime::Runtime& rt() { return runtime::Runtime::instance(); }
    // Opens the main window; tab 1 shows url.
    void openWindow(const std::string& url);
    // Waits until no tab's browser is loading any more.
    bool settle();
    runtime::ComponentRef browser(int n) const;
    runtime::ComponentRef closeButton(int n) const;
    std::string tag(runtime::ComponentRef ref);
    bool shown(runtime::ComponentRef ref);
    std::string caption(int page);
    std::string tip(int page);
    std::string windowCaption();
    std::string address();
    // The tab table in one line: each tab's number as its browser's tag
    // says it, in table order, the current tab marked "*" ("1 2* 3"). What
    // disagrees is spelt out: "!" on a tab whose browser is shown though not
    // current or hidden though current, and " page=P" / " pages=K" when the
    // tab control's current page or page count does not match the table.
    std::string tabState();
    // Raises a browser event on tab n's browser as the engine would.
    void raise(int n, int event, std::vector<runtime::Value> args = {});
    int componentCount();

    PageServer server_;
    std::vector<std::string> errors_;
    uint32_t mainWindow_ = 0;
};

}  // namespace tabs_test
