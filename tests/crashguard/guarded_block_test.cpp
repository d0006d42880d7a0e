// Guarded blocks, each scenario in a child so that a mistake in the jump
// cannot take the test runner with it. A child exits 0 when every check
// held, else it names the first failed check on stderr and exits 1.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "child_process.h"
#include "crashguard/crash_guard.h"
#include "crashguard/thread_record.h"
#include "faults.h"

namespace {

using namespace crashguard_test;
using crashguard::BlockOutcome;
using crashguard::runGuarded;

#define CHILD_CHECK(cond)                                    \
    do {                                                     \
        if (!(cond)) {                                       \
            const char text[] = "check failed: " #cond "\n"; \
            write(2, text, sizeof(text) - 1);                \
            _exit(1);                                        \
        }                                                    \
    } while (0)

void expectChildPasses(const std::function<void()>& scenario) {
    ChildEnd end = runInChild(scenario);
    EXPECT_TRUE(end.exited) << "signal " << end.signal << "\n" << end.err;
    EXPECT_EQ(end.exit_code, 0) << end.err;
}

int depth() { return crashguard::currentRecord() ? crashguard::currentRecord()->frame_count : 0; }

TEST(GuardedBlock, InnermostBlockCatchesAndOuterRunsOn) {
    expectChildPasses([] {
        crashguard::install();
        crashguard::configure();
        BlockOutcome inner;
        bool after_inner = false;
        BlockOutcome outer = runGuarded(crashguard::kCatchAll, [&] {
            inner = runGuarded(crashguard::kCatchAll, [] { nullRead(); });
            after_inner = true;
        });
        CHILD_CHECK(inner.caught == crashguard::kCatchAll);
        CHILD_CHECK(after_inner);
        CHILD_CHECK(outer.caught == crashguard::kCatchNone);
        CHILD_CHECK(depth() == 0);
        CHILD_CHECK(std::strstr(crashguard::catch_text(), "错误信息:内存读取异常") != nullptr);
    });
}

TEST(GuardedBlock, FaultTheInnerBlockDoesNotCatchGoesOutwards) {
    expectChildPasses([] {
        crashguard::install();
        bool after_inner = false;
        BlockOutcome outer = runGuarded(crashguard::kCatchAll, [&] {
            runGuarded(crashguard::kCatchText, [] { divideByZero(); });
            after_inner = true;
        });
        CHILD_CHECK(outer.caught == crashguard::kCatchAll);
        CHILD_CHECK(!after_inner);
        CHILD_CHECK(depth() == 0);
    });
}

TEST(GuardedBlock, StatusExceptionSelectsItsCatchRoutine) {
    expectChildPasses([] {
        crashguard::install();
        unsigned all = crashguard::kCatchStatus | crashguard::kCatchText | crashguard::kCatchAll;
        BlockOutcome s = runGuarded(all, [] { crashguard::raiseStatus(7, 1); });
        CHILD_CHECK(s.caught == crashguard::kCatchStatus && s.status == 7);
        CHILD_CHECK(crashguard::catch_status() == 7);
        BlockOutcome t = runGuarded(all, [] { crashguard::raiseStatus(8, 2); });
        CHILD_CHECK(t.caught == crashguard::kCatchText && t.status == 8);
        CHILD_CHECK(std::strstr(crashguard::catch_text(), "错误代码:206D7361\r\n") != nullptr);
        CHILD_CHECK(std::strstr(crashguard::catch_text(), "错误参数2:0000000000000002\r\n") != nullptr);
        BlockOutcome a = runGuarded(all, [] { crashguard::raiseStatus(9, 5); });
        CHILD_CHECK(a.caught == crashguard::kCatchAll && a.status == 9);
        // Selector 2 with no text routine falls back to the catch-all one.
        BlockOutcome fallback = runGuarded(crashguard::kCatchAll, [] { crashguard::raiseStatus(3, 2); });
        CHILD_CHECK(fallback.caught == crashguard::kCatchAll && fallback.status == 3);
        CHILD_CHECK(depth() == 0);
    });
}

TEST(GuardedBlock, TenThousandCatchesKeepTheSignalMask) {
    expectChildPasses([] {
        crashguard::install();
        crashguard::configure();
        sigset_t before, after;
        sigemptyset(&before);
        sigaddset(&before, SIGUSR1);
        pthread_sigmask(SIG_BLOCK, &before, nullptr);
        pthread_sigmask(SIG_SETMASK, nullptr, &before);
        for (int i = 0; i < 10000; ++i) {
            BlockOutcome o = runGuarded(crashguard::kCatchAll, [] { nullRead(); });
            CHILD_CHECK(o.caught == crashguard::kCatchAll);
        }
        pthread_sigmask(SIG_SETMASK, nullptr, &after);
        for (int s = 1; s < NSIG; ++s) CHILD_CHECK(sigismember(&before, s) == sigismember(&after, s));
        CHILD_CHECK(depth() == 0);
    });
}

TEST(GuardedBlock, RecoversFromStackOverflowMoreThanOnce) {
    expectChildPasses([] {
        crashguard::install();
        crashguard::configure();
        for (int i = 0; i < 3; ++i) {
            BlockOutcome o = runGuarded(crashguard::kCatchAll, [] { overflowStack(); });
            CHILD_CHECK(o.caught == crashguard::kCatchAll);
            const char expected[] = "错误信息:线程堆栈溢出异常\r\n";
            CHILD_CHECK(std::strncmp(crashguard::catch_text(), expected, sizeof(expected) - 1) == 0);
        }
    });
}

TEST(GuardedBlock, FaultInsideACLibraryCallIsCaught) {
    expectChildPasses([] {
        crashguard::install();
        crashguard::configure();
        for (int i = 0; i < 2; ++i) {  // and the block works again after it
            BlockOutcome o = runGuarded(crashguard::kCatchAll, [] { badStrlen(); });
            CHILD_CHECK(o.caught == crashguard::kCatchAll);
            CHILD_CHECK(std::strstr(crashguard::catch_text(), "错误信息:内存读取异常") != nullptr);
            CHILD_CHECK(std::strstr(crashguard::catch_text(), "[libc.so.6]") != nullptr);
        }
        CHILD_CHECK(depth() == 0);
    });
}

TEST(GuardedBlock, AbortsAndSignalsFromProcessesAreNeverResumed) {
    // abort(), the allocator's own stop on a broken heap, and signals that a
    // process sent all go past the block to the report.
    struct Case {
        const char* name;
        void (*body)();
        int signal;
        const char* line;
    };
    const Case cases[] = {
        {"abort", [] { abort(); }, SIGABRT, "错误代码:00000006\r\n"},
        {"raise SIGSEGV", [] { raise(SIGSEGV); }, SIGSEGV, "错误代码:0000000B\r\n"},
        {"kill SIGBUS", [] { kill(getpid(), SIGBUS); }, SIGBUS, "错误代码:00000007\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChildEnd end = runInChild(
            [&] {
            crashguard::install();
            crashguard::configure();
            runGuarded(crashguard::kCatchAll, c.body);
            write(2, "resumed\n", 8);
            _exit(3);
            },
            30);
        EXPECT_TRUE(end.signaled) << end.err;
        EXPECT_EQ(end.signal, c.signal);
        EXPECT_FALSE(end.has("resumed")) << end.err;
        EXPECT_EQ(end.count(c.line), 1) << end.err;
    }
}

TEST(GuardedBlock, CxxExceptionLeavesTheBlockClosed) {
    expectChildPasses([] {
        crashguard::install();
        bool caught = false;
        try {
            runGuarded(crashguard::kCatchAll, [] { throw std::runtime_error("through"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
        CHILD_CHECK(caught);
        CHILD_CHECK(depth() == 0);
    });
}

TEST(GuardedBlock, FaultAfterTheBlocksClosedGoesToTheReport) {
    ChildEnd end = runInChild([] {
        crashguard::install();
        crashguard::configure();
        runGuarded(crashguard::kCatchAll, [] { nullRead(); });
        nullRead();
    });
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.count("警告:程序发生错误"), 1) << end.err;

    ChildEnd status = runInChild([] {
        crashguard::install();
        crashguard::configure();
        runGuarded(crashguard::kCatchStatus, [] { crashguard::raiseStatus(1, 2); });
    });
    EXPECT_TRUE(status.signaled);
    EXPECT_TRUE(status.has("错误代码:206D7361\r\n")) << status.err;
    EXPECT_TRUE(status.has("错误参数1:0000000000000001\r\n")) << status.err;
}

}  // namespace
