#include <gtest/gtest.h>

#include <cmath>

#include "runtime/property_block.h"
#include "widgets/web_browser_logic.h"

namespace wb = widgets::web_browser;

namespace {

rt::Bytes block(std::initializer_list<uint32_t> fields) {
    rt::BlockWriter w;
    for (uint32_t f : fields) w.u32(f);
    return w.take();
}

}  // namespace

TEST(WebBrowserBlock, ReadsFieldsAndResetsDefaultsFirst) {
    auto empty = wb::Block::parse({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->borderStyle, 0);
    EXPECT_FALSE(empty->silent);
    EXPECT_FALSE(empty->offline);
    EXPECT_TRUE(empty->dropTarget);
    EXPECT_FALSE(empty->registerAsBrowser);

    auto tmpl = wb::Block::parse(block({1, 4, 1, 0, 1, 0}));
    ASSERT_TRUE(tmpl);
    EXPECT_EQ(tmpl->borderStyle, 4);
    EXPECT_TRUE(tmpl->silent);
    EXPECT_TRUE(tmpl->dropTarget);
    EXPECT_EQ(tmpl->serialize(), block({1, 4, 1, 0, 1, 0}));

    auto v0 = wb::Block::parse(block({0, 5, 0, 1, 0, 1}));
    ASSERT_TRUE(v0);
    EXPECT_TRUE(v0->offline);
    EXPECT_FALSE(v0->dropTarget);
    EXPECT_TRUE(v0->registerAsBrowser);
}

TEST(WebBrowserBlock, RefusesNewerVersionsAndTruncatedBlocks) {
    EXPECT_FALSE(wb::Block::parse(block({2, 0, 1, 0, 1, 0})));
    EXPECT_FALSE(wb::Block::parse(block({0xFFFFFFFF, 0, 0, 0, 0, 0})));
    EXPECT_FALSE(wb::Block::parse(block({1, 0, 1, 0, 1})));
    EXPECT_FALSE(wb::Block::parse({1, 0, 0}));
    // A border style the frame cannot draw falls back to none.
    EXPECT_EQ(wb::Block::parse(block({1, 9, 0, 0, 0, 0}))->borderStyle, 0);
    EXPECT_EQ(wb::Block::parse(block({1, 0xFFFFFFFF, 0, 0, 0, 0}))->borderStyle, 0);
}

TEST(WebBrowserBorder, RingCountsPerStyle) {
    const size_t widths[] = {0, 2, 3, 1, 5, 1};
    for (int style = 0; style <= 5; ++style) EXPECT_EQ(wb::borderRings(style).size(), widths[style]) << style;
    EXPECT_TRUE(wb::borderRings(-1).empty());
    // The combined style is the dialog frame outside the client edge.
    auto both = wb::borderRings(4);
    EXPECT_EQ(std::vector<wb::BorderRing>(both.begin(), both.begin() + 3), wb::borderRings(2));
    EXPECT_EQ(std::vector<wb::BorderRing>(both.begin() + 3, both.end()), wb::borderRings(1));
    EXPECT_EQ(wb::borderRings(5)[0], (wb::BorderRing{0, 0}));
}

TEST(WebBrowserAddress, HostLikeTextGetsHttp) {
    struct Case { const char* input; const char* expected; };
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
    for (const Case& c : cases) EXPECT_EQ(wb::normaliseAddress(c.input), c.expected) << c.input;
}

TEST(WebBrowserAddress, RequestAddressEscapesNonAsciiBytes) {
    EXPECT_EQ(wb::requestAddress("http://h.example/new.html?q=变态#页"),
              "http://h.example/new.html?q=%E5%8F%98%E6%80%81#%E9%A1%B5");
    EXPECT_EQ(wb::requestAddress("http://例子.中国/页"), "http://xn--fsqu00a.xn--fiqs8s/%E9%A1%B5");
    EXPECT_EQ(wb::requestAddress("http://h.example:8080/a b?c=%41"), "http://h.example:8080/a b?c=%41");
    EXPECT_EQ(wb::requestAddress("变态"), "%E5%8F%98%E6%80%81");
    EXPECT_EQ(wb::requestAddress(std::string_view("http://\xff/x\x80", 11)), "http://%FF/x%80");
    EXPECT_EQ(wb::requestAddress(""), "");
}

TEST(WebBrowserHeaders, ParsesLinesAndDropsBadOnes) {
    auto h = wb::parseHeaders("X-One: 1\r\nX-Two:two words \r\nno colon\r\n: empty\r\nBad Name: x\nX-Three: 3");
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0], (std::pair<std::string, std::string>{"X-One", "1"}));
    EXPECT_EQ(h[1], (std::pair<std::string, std::string>{"X-Two", "two words"}));
    EXPECT_EQ(h[2], (std::pair<std::string, std::string>{"X-Three", "3"}));
    EXPECT_TRUE(wb::parseHeaders("").empty());
    EXPECT_EQ(wb::formatHeaders(h), "X-One: 1\r\nX-Two: two words\r\nX-Three: 3\r\n");
}

TEST(WebBrowserLoadState, ReadyStateAndProgress) {
    EXPECT_EQ(wb::readyState(wb::LoadPhase::kNone), 0);
    EXPECT_EQ(wb::readyState(wb::LoadPhase::kStarted), 1);
    EXPECT_EQ(wb::readyState(wb::LoadPhase::kRedirected), 1);
    EXPECT_EQ(wb::readyState(wb::LoadPhase::kCommitted), 3);
    EXPECT_EQ(wb::readyState(wb::LoadPhase::kFinished), 4);
    EXPECT_EQ(wb::progressValue(0.3746), 3746);
    EXPECT_EQ(wb::progressValue(1.0), wb::kProgressMaximum);
    EXPECT_EQ(wb::progressValue(1.5), wb::kProgressMaximum);
    EXPECT_EQ(wb::progressValue(-0.1), 0);
    EXPECT_EQ(wb::progressValue(std::nan("")), 0);
}

TEST(WebBrowserCommands, ReportsOnlyChangesForwardFirst) {
    wb::CommandStates s;
    using Changes = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(s.update(false, false), Changes{});
    EXPECT_EQ(s.update(true, false), (Changes{{wb::command::kBack, true}}));
    EXPECT_EQ(s.update(true, false), Changes{});
    EXPECT_EQ(s.update(false, true), (Changes{{wb::command::kForward, true}, {wb::command::kBack, false}}));
}

TEST(WebBrowserColours, CssTextsBothWays) {
    EXPECT_EQ(wb::parseCssColour("rgb(255, 0, 16)"), 0x001000FFu);
    EXPECT_EQ(wb::parseCssColour("rgba(1, 2, 3, 0.5)"), 0x00030201u);
    EXPECT_EQ(wb::parseCssColour("#102030"), 0x00302010u);
    EXPECT_FALSE(wb::parseCssColour("rgb(300, 0, 0)"));
    EXPECT_FALSE(wb::parseCssColour("red"));
    EXPECT_FALSE(wb::parseCssColour(""));
    EXPECT_EQ(wb::cssColour(0x00302010), "#102030");
}

TEST(WebBrowserNewWindowSlots, AcceptOnlyWhileOpenLastAcceptWins) {
    wb::NewWindowSlots slots;
    int32_t a = slots.open();
    int32_t b = slots.open();
    EXPECT_NE(a, b);
    EXPECT_GT(a, 0);
    EXPECT_TRUE(slots.accept(a, {1, 2}));
    EXPECT_TRUE(slots.accept(a, {1, 3}));
    EXPECT_EQ(slots.close(b), std::nullopt);
    auto held = slots.close(a);
    ASSERT_TRUE(held);
    EXPECT_EQ(*held, (rt::ComponentRef{1, 3}));
    EXPECT_FALSE(slots.isOpen(a));
    EXPECT_FALSE(slots.accept(a, {1, 2}));
    EXPECT_FALSE(slots.accept(0, {1, 2}));
}
