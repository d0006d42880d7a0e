// What assistive technology is told, as plain data: given texts over a
// kind's own, padded captions read without padding, and which item objects
// live on when an item list changes.
#include "runtime/accessible.h"

#include <gtest/gtest.h>

namespace {

using runtime::AccessibleFacts;

AccessibleFacts item(const std::string& name, uint64_t key = 0) {
    AccessibleFacts f;
    f.role = runtime::AccessibleRole::kPageTab;
    f.name = name;
    f.key = key;
    return f;
}

std::vector<AccessibleFacts> items(const std::vector<std::string>& names) {
    std::vector<AccessibleFacts> out;
    for (const auto& n : names) out.push_back(item(n));
    return out;
}

TEST(AccessibleText, GivenTextsWinAndEmptyOnesKeepTheKinds) {
    AccessibleFacts label;
    label.role = runtime::AccessibleRole::kLabel;
    label.name = "合击";
    EXPECT_EQ(runtime::withGivenText(label, "", "").name, "合击");
    AccessibleFacts named = runtime::withGivenText(label, "热搜", "点击搜索");
    EXPECT_EQ(named.name, "热搜");
    EXPECT_EQ(named.description, "点击搜索");
    EXPECT_EQ(named.role, runtime::AccessibleRole::kLabel);

    EXPECT_EQ(runtime::spokenText("新开服务器一览     "), "新开服务器一览");
    EXPECT_EQ(runtime::spokenText(" \t两头 有空格 \r\n"), "两头 有空格");
    EXPECT_EQ(runtime::spokenText("     "), "");
    EXPECT_EQ(runtime::spokenText(""), "");
}

TEST(AccessibleItems, WithoutKeysTheRunsThatAgreeAtBothEndsLiveOn) {
    struct Case {
        const char* what;
        std::vector<std::string> before, after;
        std::vector<int> from;
    };
    const Case cases[] = {
        {"one added at the end", {"a", "b"}, {"a", "b", "c"}, {0, 1, -1}},
        {"the middle one closed", {"a", "b", "c", "d"}, {"a", "c", "d"}, {0, 2, 3}},
        {"the first one closed", {"a", "b", "c"}, {"b", "c"}, {1, 2}},
        {"one renamed keeps its object", {"a", "载入..", "c"}, {"a", "搜索结果", "c"}, {0, 1, 2}},
        {"two closed, one renamed between", {"a", "b", "c", "d", "e"}, {"a", "x", "e"}, {0, 1, 4}},
        {"all new", {}, {"a", "b"}, {-1, -1}},
        {"all gone", {"a", "b"}, {}, {}},
        {"same names twice", {"载入..", "载入..", "载入.."}, {"载入..", "载入.."}, {0, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(runtime::continuedItems(items(c.before), items(c.after)), c.from) << c.what;
}

TEST(AccessibleItems, KeysFollowTheirItemsWhateverTheirNames) {
    // The first page closed while the captions were fitted anew: by names
    // nothing would agree, by keys the other items live on.
    std::vector<AccessibleFacts> before{item("一个很长的标题", 1), item("第二个", 2), item("第三个", 3)};
    std::vector<AccessibleFacts> after{item("第二", 2), item("第三", 3), item("新的", 9)};
    EXPECT_EQ(runtime::continuedItems(before, after), (std::vector<int>{1, 2, -1}));
    // A key given twice continues one item only.
    EXPECT_EQ(runtime::continuedItems({item("a", 5)}, {item("a", 5), item("b", 5)}), (std::vector<int>{0, -1}));
    // Selection and bounds do not make another item.
    AccessibleFacts moved = item("a", 5);
    moved.selected = true;
    moved.bounds = {10, 0, 50, 20};
    EXPECT_EQ(runtime::continuedItems({item("a", 5)}, {moved}), (std::vector<int>{0}));
    // Without a key on one side, names decide.
    EXPECT_EQ(runtime::continuedItems({item("a", 5), item("b")}, {item("b", 6)}), (std::vector<int>{1}));
}

}  // namespace
