// The status window's fade and what a status text does to it.
#include <gtest/gtest.h>

#include <vector>

#include "tabs/status_fade.h"

namespace {

using tabs::StatusFade;
using tabs::StatusTextAction;

std::vector<int> runToEnd(StatusFade& f, StatusFade::Tick* last) {
    std::vector<int> seen{f.opacity()};
    for (int i = 0; i < 100 && f.running(); ++i) {
        *last = f.tick();
        if (*last == StatusFade::Tick::kOpacityChanged) seen.push_back(f.opacity());
    }
    return seen;
}

TEST(StatusFade, InStepsByTwentyToTheMaximumAndStops) {
    StatusFade f;
    f.setMaxOpacity(200);
    f.startIn();
    EXPECT_EQ(f.direction(), 1);
    StatusFade::Tick last{};
    std::vector<int> seen = runToEnd(f, &last);
    std::vector<int> expected;
    for (int a = 0; a <= 200; a += 20) expected.push_back(a);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(last, StatusFade::Tick::kStopped);
    EXPECT_FALSE(f.running());
}

TEST(StatusFade, OutStepsDownToZeroAndHides) {
    StatusFade f;
    f.setMaxOpacity(200);
    f.setOpacity(200);
    f.startOut();
    StatusFade::Tick last{};
    std::vector<int> seen = runToEnd(f, &last);
    std::vector<int> expected;
    for (int a = 200; a >= 0; a -= 20) expected.push_back(a);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(last, StatusFade::Tick::kHideAndStop);
    // Fading in again starts from nothing.
    f.startIn();
    EXPECT_EQ(f.opacity(), 0);
}

TEST(StatusText, DecisionFollowsTheCurrentTabAndTheFade) {
    using A = StatusTextAction;
    EXPECT_EQ(tabs::statusTextAction(false, false, true, "x", false), A::kIgnore);
    EXPECT_EQ(tabs::statusTextAction(true, true, true, "x", true), A::kIgnore);
    EXPECT_EQ(tabs::statusTextAction(true, false, false, "x", false), A::kRefreshSelection);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "Done", true), A::kFadeOut);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "完毕", true), A::kFadeOut);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "", false), A::kNothing);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "Done", false), A::kNothing);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "http://127.0.0.1/a", false), A::kShowText);
    EXPECT_EQ(tabs::statusTextAction(true, false, true, "done", true), A::kShowText);
}

TEST(StatusFade, OpacityOutsideTheByteRangeIsOpaque) {
    EXPECT_DOUBLE_EQ(tabs::opacityFraction(0), 0.0);
    EXPECT_DOUBLE_EQ(tabs::opacityFraction(255), 1.0);
    EXPECT_DOUBLE_EQ(tabs::opacityFraction(256), 1.0);
    EXPECT_DOUBLE_EQ(tabs::opacityFraction(-1), 1.0);
}

}  // namespace
