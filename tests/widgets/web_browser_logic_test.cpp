#include <gtest/gtest.h>

#include <glib.h>

#include <atomic>
#include <cmath>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/property_block.h"
#include "widgets/web_browser_logic.h"
#include "widgets/web_guard.h"
#include "widgets/web_sandbox.h"

namespace {

runtime::Bytes block(std::initializer_list<uint32_t> fields) {
    runtime::BlockWriter w;
    for (uint32_t f : fields) w.u32(f);
    return w.take();
}

}  // namespace

TEST(WebBrowserBlock, ReadsFieldsAndResetsDefaultsFirst) {
    auto empty = widgets::web_browser::Block::parse({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->borderStyle, 0);
    EXPECT_FALSE(empty->silent);
    EXPECT_FALSE(empty->offline);
    EXPECT_TRUE(empty->dropTarget);
    EXPECT_FALSE(empty->registerAsBrowser);

    auto tmpl = widgets::web_browser::Block::parse(block({1, 4, 1, 0, 1, 0}));
    ASSERT_TRUE(tmpl);
    EXPECT_EQ(tmpl->borderStyle, 4);
    EXPECT_TRUE(tmpl->silent);
    EXPECT_TRUE(tmpl->dropTarget);
    EXPECT_EQ(tmpl->serialize(), block({1, 4, 1, 0, 1, 0}));

    auto v0 = widgets::web_browser::Block::parse(block({0, 5, 0, 1, 0, 1}));
    ASSERT_TRUE(v0);
    EXPECT_TRUE(v0->offline);
    EXPECT_FALSE(v0->dropTarget);
    EXPECT_TRUE(v0->registerAsBrowser);
}

TEST(WebBrowserBlock, RefusesNewerVersionsAndTruncatedBlocks) {
    EXPECT_FALSE(widgets::web_browser::Block::parse(block({2, 0, 1, 0, 1, 0})));
    EXPECT_FALSE(widgets::web_browser::Block::parse(block({0xFFFFFFFF, 0, 0, 0, 0, 0})));
    EXPECT_FALSE(widgets::web_browser::Block::parse(block({1, 0, 1, 0, 1})));
    EXPECT_FALSE(widgets::web_browser::Block::parse({1, 0, 0}));
    // A border style the frame cannot draw falls back to none.
    EXPECT_EQ(widgets::web_browser::Block::parse(block({1, 9, 0, 0, 0, 0}))->borderStyle, 0);
    EXPECT_EQ(widgets::web_browser::Block::parse(block({1, 0xFFFFFFFF, 0, 0, 0, 0}))->borderStyle, 0);
}

TEST(WebBrowserBorder, RingCountsPerStyle) {
    const size_t widths[] = {0, 2, 3, 1, 5, 1};
    for (int style = 0; style <= 5; ++style)
        EXPECT_EQ(widgets::web_browser::borderRings(style).size(), widths[style]) << style;
    EXPECT_TRUE(widgets::web_browser::borderRings(-1).empty());
    // The combined style is the dialog frame outside the client edge.
    auto both = widgets::web_browser::borderRings(4);
    EXPECT_EQ(std::vector<widgets::web_browser::BorderRing>(both.begin(), both.begin() + 3),
        widgets::web_browser::borderRings(2));
    EXPECT_EQ(std::vector<widgets::web_browser::BorderRing>(both.begin() + 3, both.end()),
        widgets::web_browser::borderRings(1));
    EXPECT_EQ(widgets::web_browser::borderRings(5)[0], (widgets::web_browser::BorderRing{0, 0}));
}

TEST(WebBrowserAddress, HostLikeTextGetsHttp) {
    struct Case {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"www.example.com/x", "http://www.example.com/x"},
        {"  www.example.com  ", "http://www.example.com"},
        {"localhost:8080", "http://localhost:8080"},
        {"localhost", "http://localhost"},
        {"127.0.0.1:3000/a?b=c", "http://127.0.0.1:3000/a?b=c"},
        {"例子.中国/页", "http://例子.中国/页"},
        {"http://www.example.com/", "http://www.example.com/"},
        {"about:blank", "about:blank"},
        {"javascript:alert(1)", "javascript:alert(1)"},
        {"mailto:a@b.com", "mailto:a@b.com"},
        {"file:///tmp/x.html", "file:///tmp/x.html"},
        {"hello world.com", "hello world.com"},
        {"nohost", "nohost"},
        {"1.5", "1.5"},
        {"a..b", "a..b"},
        {"host.com:99999999", "host.com:99999999"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(widgets::web_browser::normaliseAddress(c.input), c.expected) << c.input;
}

TEST(WebBrowserAddress, RequestAddressEscapesNonAsciiBytes) {
    EXPECT_EQ(widgets::web_browser::requestAddress("http://h.example/new.html?q=变态#页"),
        "http://h.example/new.html?q=%E5%8F%98%E6%80%81#%E9%A1%B5");
    EXPECT_EQ(widgets::web_browser::requestAddress("http://例子.中国/页"), "http://xn--fsqu00a.xn--fiqs8s/%E9%A1%B5");
    EXPECT_EQ(
        widgets::web_browser::requestAddress("http://h.example:8080/a b?c=%41"), "http://h.example:8080/a b?c=%41");
    EXPECT_EQ(widgets::web_browser::requestAddress("变态"), "%E5%8F%98%E6%80%81");
    EXPECT_EQ(widgets::web_browser::requestAddress(std::string_view("http://\xff/x\x80", 11)), "http://%FF/x%80");
    EXPECT_EQ(widgets::web_browser::requestAddress(""), "");
}

TEST(WebBrowserHeaders, ParsesLinesAndDropsBadOnes) {
    auto h = widgets::web_browser::parseHeaders(
        "X-One: 1\r\nX-Two:two words \r\nno colon\r\n: empty\r\nBad Name: x\nX-Three: 3");
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0], (std::pair<std::string, std::string>{"X-One", "1"}));
    EXPECT_EQ(h[1], (std::pair<std::string, std::string>{"X-Two", "two words"}));
    EXPECT_EQ(h[2], (std::pair<std::string, std::string>{"X-Three", "3"}));
    EXPECT_TRUE(widgets::web_browser::parseHeaders("").empty());
    EXPECT_EQ(widgets::web_browser::formatHeaders(h), "X-One: 1\r\nX-Two: two words\r\nX-Three: 3\r\n");
}

TEST(WebBrowserLoadState, ProgressIsTheFractionInTenThousandthsWithinItsRange) {
    EXPECT_EQ(widgets::web_browser::progressValue(0.3746), 3746);
    EXPECT_EQ(widgets::web_browser::progressValue(1.0), widgets::web_browser::kProgressMaximum);
    EXPECT_EQ(widgets::web_browser::progressValue(1.5), widgets::web_browser::kProgressMaximum);
    EXPECT_EQ(widgets::web_browser::progressValue(-0.1), 0);
    EXPECT_EQ(widgets::web_browser::progressValue(std::nan("")), 0);
}

TEST(WebBrowserCommands, ReportsOnlyChangesForwardFirst) {
    widgets::web_browser::CommandStates s;
    using Changes = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(s.update(false, false), Changes{});
    EXPECT_EQ(s.update(true, false), (Changes{{widgets::web_browser::command::kBack, true}}));
    EXPECT_EQ(s.update(true, false), Changes{});
    EXPECT_EQ(s.update(false, true),
        (Changes{{widgets::web_browser::command::kForward, true}, {widgets::web_browser::command::kBack, false}}));
}

TEST(WebBrowserColours, CssTextsBothWays) {
    EXPECT_EQ(widgets::web_browser::parseCssColour("rgb(255, 0, 16)"), 0x001000FFu);
    EXPECT_EQ(widgets::web_browser::parseCssColour("rgba(1, 2, 3, 0.5)"), 0x00030201u);
    EXPECT_EQ(widgets::web_browser::parseCssColour("#102030"), 0x00302010u);
    EXPECT_FALSE(widgets::web_browser::parseCssColour("rgb(300, 0, 0)"));
    EXPECT_FALSE(widgets::web_browser::parseCssColour("red"));
    EXPECT_FALSE(widgets::web_browser::parseCssColour(""));
    EXPECT_EQ(widgets::web_browser::cssColour(0x00302010), "#102030");
}

TEST(WebBrowserNewWindowSlots, AcceptOnlyWhileOpenLastAcceptWins) {
    widgets::web_browser::NewWindowSlots slots;
    int32_t a = slots.open();
    int32_t b = slots.open();
    EXPECT_NE(a, b);
    EXPECT_GT(a, 0);
    EXPECT_TRUE(slots.accept(a, {1, 2}));
    EXPECT_TRUE(slots.accept(a, {1, 3}));
    EXPECT_EQ(slots.close(b), std::nullopt);
    auto held = slots.close(a);
    ASSERT_TRUE(held);
    EXPECT_EQ(*held, (runtime::ComponentRef{1, 3}));
    EXPECT_FALSE(slots.isOpen(a));
    EXPECT_FALSE(slots.accept(a, {1, 2}));
    EXPECT_FALSE(slots.accept(0, {1, 2}));
}

// ---- defences against hostile pages ------------------------------------

namespace {

bool validUtf8(const std::string& s) { return g_utf8_validate(s.data(), static_cast<gssize>(s.size()), nullptr); }

std::string repeat(std::string_view unit, size_t n) {
    std::string out;
    out.reserve(unit.size() * n);
    for (size_t i = 0; i < n; ++i) out += unit;
    return out;
}

}  // namespace

TEST(WebBrowserPageText, CutsAtCharactersNeverInsideOne) {
    using widgets::web_browser::cutPageText;
    EXPECT_EQ(cutPageText("short title"), "short title");
    EXPECT_EQ(cutPageText(""), "");
    // A title of megabytes of three-byte characters keeps 1024 of them.
    std::string bomb = repeat("标", 2'000'000);
    std::string cut = cutPageText(bomb);
    EXPECT_EQ(cut.size(), 1024u * 3);
    EXPECT_TRUE(validUtf8(cut));
    // Mixed widths up to the limit: 1023 ASCII letters and then a four-byte
    // character are 1024 characters, all kept; the next one is not.
    std::string mixed = repeat("a", 1023) + "\xF0\x9F\x98\x80" + "b";
    EXPECT_EQ(cutPageText(mixed), repeat("a", 1023) + "\xF0\x9F\x98\x80");
    EXPECT_EQ(cutPageText("中文字", 2), "中文");
}

TEST(WebBrowserPopupBudget, TwentyWindowsPerGestureThenRefusedUntilTheNextPress) {
    widgets::web_browser::PopupBudget budget;
    budget.gesture();
    for (int i = 0; i < widgets::web_browser::PopupBudget::kPerGesture; ++i) ASSERT_TRUE(budget.take()) << i;
    EXPECT_FALSE(budget.firstRefusal());
    EXPECT_FALSE(budget.take());
    EXPECT_TRUE(budget.firstRefusal());  // told once...
    for (int i = 0; i < 280; ++i) EXPECT_FALSE(budget.take());
    EXPECT_FALSE(budget.firstRefusal());  // ...not for every refused window
    budget.gesture();
    EXPECT_TRUE(budget.take());
}

TEST(WebBrowserNavigationLog, ADownloadNeedsARecentGestureNavigationToTheSameAddress) {
    constexpr int64_t kSecond = 1'000'000;
    const std::string file = "http://site.example/client.exe";
    {
        widgets::web_browser::NavigationLog log;
        log.record(file, true, 0);
        EXPECT_FALSE(log.takeGesture("http://site.example/other.exe", kSecond));
        EXPECT_TRUE(log.takeGesture(file, kSecond));
        EXPECT_FALSE(log.takeGesture(file, kSecond)) << "one click, one download";
    }
    {
        // A click long ago, then the page loads the same address by itself:
        // the latest decision counts.
        widgets::web_browser::NavigationLog log;
        log.record(file, true, 0);
        log.record(file, false, kSecond);
        EXPECT_FALSE(log.takeGesture(file, 2 * kSecond));
    }
    {
        widgets::web_browser::NavigationLog log;
        log.record(file, true, 0);
        EXPECT_FALSE(log.takeGesture(file, widgets::web_browser::NavigationLog::kGestureLifetimeUs + 1)) << "too old";
    }
    {
        widgets::web_browser::NavigationLog log;
        log.record(file, false, 0);
        EXPECT_FALSE(log.takeGesture(file, 0)) << "an iframe or a timer, no click";
    }
    {
        // A page that navigates many frames pushes an old click out.
        widgets::web_browser::NavigationLog log;
        log.record(file, true, 0);
        for (size_t i = 0; i < widgets::web_browser::NavigationLog::kEntries; ++i) log.record("about:blank", false, 0);
        EXPECT_FALSE(log.takeGesture(file, 0));
    }
}

TEST(WebBrowserDownloadName, ServerNamesBecomeSafeBaseNames) {
    struct Row {
        const char* name;
        std::string proposed;
        std::string expected;
    };
    const Row rows[] = {
        {"plain", "client.exe", "client.exe"},
        {"chinese", "游戏登录器.zip", "游戏登录器.zip"},
        {"climbs_out", "../../.client setup.exe", "client setup.exe"},
        {"backslashes", "C:\\Windows\\system32\\evil.dll", "evil.dll"},
        {"trailing_separator", "folder/", ""},
        {"only_dots", "....", ""},
        {"dots_and_spaces_first", " . .profile", "profile"},
        {"control_characters",
            std::string("a\x01"
                        "b\x7f"
                        "c\n.exe"),
            "abc.exe"},
        {"nul_inside", std::string("good.txt\0.exe", 13), "good.txt.exe"},
        {"c1_control", "x\xC2\x85y.bin", "xy.bin"},
        {"invalid_utf8",
            "\xFF\xFE"
            "a.exe",
            "__a.exe"},
        {"overlong_slash",
            "a\xC0\xAF"
            "b",
            "a__b"},
    };
    for (const Row& r : rows) EXPECT_EQ(widgets::web_browser::safeBaseName(r.proposed), r.expected) << r.name;

    // Too long: cut at a character, the extension kept.
    std::string longName = widgets::web_browser::safeBaseName(repeat("名", 200) + ".exe");
    EXPECT_LE(longName.size(), widgets::web_browser::kMaxFileNameBytes);
    EXPECT_GT(longName.size(), widgets::web_browser::kMaxFileNameBytes - 3);
    EXPECT_TRUE(validUtf8(longName));
    EXPECT_EQ(longName.substr(longName.size() - 4), ".exe");
    std::string noExtension = widgets::web_browser::safeBaseName(repeat("x", 400));
    EXPECT_EQ(noExtension, repeat("x", widgets::web_browser::kMaxFileNameBytes));
}

TEST(WebBrowserSandbox, TheUsersVariableWinsAndAFailedProbeRunsUnsandboxed) {
    static int probes = 0;
    auto works = [](std::string*) {
        ++probes;
        return true;
    };
    auto fails = [](std::string* why) {
        ++probes;
        *why = "no user namespaces";
        return false;
    };
    std::string why;
    probes = 0;
    EXPECT_EQ(widgets::web_browser::chooseSandbox("1", works, &why), widgets::web_browser::SandboxChoice::kUserRefused);
    EXPECT_EQ(widgets::web_browser::chooseSandbox("0", works, &why), widgets::web_browser::SandboxChoice::kUserRefused);
    EXPECT_EQ(probes, 0) << "no probe when the user has decided";
    EXPECT_EQ(widgets::web_browser::chooseSandbox(nullptr, works, &why), widgets::web_browser::SandboxChoice::kOn);
    EXPECT_EQ(widgets::web_browser::chooseSandbox("", works, &why), widgets::web_browser::SandboxChoice::kOn);
    EXPECT_EQ(
        widgets::web_browser::chooseSandbox(nullptr, fails, &why), widgets::web_browser::SandboxChoice::kUnavailable);
    EXPECT_EQ(why, "no user namespaces");
}

TEST(WebBrowserSandbox, AnEarlyCheckRunsOnceOffTheCallersThreadAndIsTakenOnce) {
    using widgets::web_browser::EarlySandboxChoice;
    using widgets::web_browser::SandboxChoice;
    static std::atomic<int> probes{0};
    static std::thread::id probedOn;
    auto fails = [](std::string* why) {
        ++probes;
        probedOn = std::this_thread::get_id();
        *why = "no user namespaces";
        return false;
    };
    auto mustNotRun = [](std::string*) {
        ADD_FAILURE() << "the started check's answer was not used";
        return true;
    };
    std::string why;

    EarlySandboxChoice started;
    started.start(nullptr, fails);
    started.start(nullptr, fails);  // a second start changes nothing
    EXPECT_EQ(started.take(nullptr, mustNotRun, &why), SandboxChoice::kUnavailable);
    EXPECT_EQ(why, "no user namespaces");
    EXPECT_EQ(probes.load(), 1);
    EXPECT_NE(probedOn, std::this_thread::get_id());
    // Taken once: a later view (or a test) asks again and gets a fresh answer.
    EXPECT_EQ(started.take(nullptr, fails, &why), SandboxChoice::kUnavailable);
    EXPECT_EQ(probedOn, std::this_thread::get_id());

    // The variable as it was at the start decides, and then nothing runs.
    probes = 0;
    EarlySandboxChoice refused;
    std::string variable = "1";
    refused.start(variable.c_str(), fails);
    variable.clear();
    EXPECT_EQ(refused.take(nullptr, mustNotRun, &why), SandboxChoice::kUserRefused);
    EXPECT_EQ(probes.load(), 0);

    // Never started: the caller's own thread makes the choice.
    EarlySandboxChoice late;
    EXPECT_EQ(late.take(nullptr, fails, &why), SandboxChoice::kUnavailable);
    EXPECT_EQ(probedOn, std::this_thread::get_id());
}
