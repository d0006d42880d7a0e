#include "runtime/check.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Catches criticals instead of ending the test on them, for as long as it
// lives.
class CriticalCatcher {
public:
    CriticalCatcher() : fatal_(g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK))) {
        handler_ = g_log_set_handler(nullptr, G_LOG_LEVEL_CRITICAL, &CriticalCatcher::keep, this);
    }
    ~CriticalCatcher() {
        g_log_remove_handler(nullptr, handler_);
        g_log_set_always_fatal(fatal_);
    }
    CriticalCatcher(const CriticalCatcher&) = delete;
    CriticalCatcher& operator=(const CriticalCatcher&) = delete;

    int count = 0;
    std::string last;

private:
    static void keep(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
        auto* c = static_cast<CriticalCatcher*>(self);
        ++c->count;
        c->last = message;
    }
    GLogLevelFlags fatal_;
    guint handler_ = 0;
};

TEST(Check, IsTheConditionAndLogsOnlyAFailureWithItsPlace) {
    CriticalCatcher criticals;
    int n = 3;
    EXPECT_TRUE(VAROMEL_CHECK(n == 3));
    EXPECT_EQ(criticals.count, 0);

    const int line = __LINE__ + 1;
    EXPECT_FALSE(VAROMEL_CHECK(n >= 1 && n <= 2));
    EXPECT_EQ(criticals.count, 1);
    EXPECT_NE(criticals.last.find("check_test.cpp:" + std::to_string(line) + ": check failed: n >= 1 && n <= 2"),
        std::string::npos)
        << criticals.last;
}

TEST(Check, ConditionIsEvaluatedOnce) {
    int calls = 0;
    EXPECT_TRUE(VAROMEL_CHECK(++calls == 1));
    EXPECT_EQ(calls, 1);
}

// The test environment makes criticals fatal, so a broken contract stops
// the test that broke it.
TEST(CheckDeathTest, AFailedCheckEndsATestRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(VAROMEL_CHECK(1 + 1 == 3), "check failed: 1 \\+ 1 == 3");
}

}  // namespace
