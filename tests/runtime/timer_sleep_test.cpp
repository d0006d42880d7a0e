// A timer that sleeps while another component is hidden: it must wake when
// that component is shown or destroyed, and keep its interval throughout.
#include "runtime/kinds/builtin_kinds.h"
#include "runtime/runtime.h"
#include "support/gui_wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

class TimerSleepTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override {
        runtime::registerBuiltinKinds(runtime);
        runtime.setRuntimeErrorHook([this](int code, const std::string&) {
            errors.push_back(code);
            return true;
        });
        runtime::WindowDescription w;
        runtime::ComponentDescription t;
        t.kind = "Timer";
        t.name = "timer";
        t.block = runtime::TimerBlock{1}.serialize();
        t.bindings[runtime::timer::kTick] = [this](runtime::Event&) {
            ++ticks;
            if (loop) g_main_loop_quit(loop);
            return runtime::Value{};
        };
        runtime::ComponentDescription label;
        label.kind = "Label";
        label.name = "label";
        label.rect = {0, 0, 40, 12};
        label.visible = false;
        label.block = runtime::LabelBlock{}.serialize();
        w.components = {t, label};
        window = runtime.loadWindow(w).window;
        timer = *runtime.find(window, "timer");
        watched = *runtime.find(window, "label");
    }

    bool armed() { return runtime::timerArmed(runtime.component(timer)); }

    // Runs the loop until the next tick, or gives up after ten seconds.
    bool waitForTick() {
        int before = ticks;
        loop = g_main_loop_new(nullptr, FALSE);
        testsupport::runLoop(loop, std::chrono::seconds(10));
        g_main_loop_unref(loop);
        loop = nullptr;
        return ticks > before;
    }

    runtime::Runtime runtime;
    uint32_t window = 0;
    runtime::ComponentRef timer, watched;
    int ticks = 0;
    GMainLoop* loop = nullptr;
    std::vector<int> errors;
};

TEST_F(TimerSleepTest, SleepsWhileHiddenAndTicksOnceShown) {
    ASSERT_TRUE(armed());
    ASSERT_TRUE(runtime.sleepWhileHidden(timer, watched));
    EXPECT_FALSE(armed());
    // Asleep, it still reports and accepts its interval.
    EXPECT_EQ(runtime::asInt(runtime.get(timer, runtime::prop::own(runtime::timer::kInterval))), 1);
    runtime.set(timer, runtime::prop::own(runtime::timer::kInterval), 5);
    EXPECT_FALSE(armed());

    runtime.set(watched, runtime::prop::kVisible, true);
    EXPECT_TRUE(armed());
    EXPECT_TRUE(waitForTick());

    runtime.set(watched, runtime::prop::kVisible, false);
    EXPECT_FALSE(armed());
    // A stopped timer stays stopped when woken.
    runtime.set(timer, runtime::prop::own(runtime::timer::kInterval), 0);
    runtime.set(watched, runtime::prop::kVisible, true);
    EXPECT_FALSE(armed());
    EXPECT_TRUE(errors.empty());
}

TEST_F(TimerSleepTest, DestroyingTheWatchedComponentWakesTheTimer) {
    ASSERT_TRUE(runtime.sleepWhileHidden(timer, watched));
    ASSERT_FALSE(armed());
    runtime.destroy(watched);
    EXPECT_TRUE(armed());
    EXPECT_TRUE(waitForTick());
}

TEST_F(TimerSleepTest, OnlyATimerCanSleepAndADestroyedTimerIsForgotten) {
    EXPECT_FALSE(runtime.sleepWhileHidden(watched, timer));
    EXPECT_FALSE(runtime.sleepWhileHidden(timer, runtime::ComponentRef{window, 999}));
    EXPECT_EQ(errors, (std::vector<int>{runtime::runtime_error::kBadArgument, runtime::runtime_error::kBadArgument}));
    errors.clear();
    ASSERT_TRUE(runtime.sleepWhileHidden(timer, watched));
    runtime.destroy(timer);
    // Showing the watched component must not touch the destroyed timer.
    runtime.set(watched, runtime::prop::kVisible, true);
    runtime.set(watched, runtime::prop::kVisible, false);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
