// Real faults in child processes: how the child ends and what it reports.
#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "crashguard/call_stack.h"
#include "crashguard/crash_guard.h"
#include "crashguard/guard_state.h"
#include "crashguard/text_buffer.h"
#include "faults.h"

namespace {

using namespace crashguard_test;

std::string hex16(uintptr_t value) {
    char text[17];
    crashguard::TextBuffer out(text, sizeof(text));
    out.appendHex(value, 16);
    return text;
}

// The module name the report gives this test program.
std::string programName() {
    std::string path = std::filesystem::read_symlink("/proc/self/exe").string();
    return path.substr(path.rfind('/') + 1);
}

void guardOn() {
    crashguard::install();
    crashguard::configure();
}

void guardOnWithExitMode(int exit_mode) {
    crashguard::install();
    crashguard::Options options;
    options.show_message_box = 0;
    options.exit_mode = exit_mode;
    crashguard::configure(options);
}

void* faultThread(void* fault) {
    reinterpret_cast<void (*)()>(fault)();
    return nullptr;
}

// Runs `fault` on a new thread and waits for it.
void onThread(void (*fault)()) {
    pthread_t thread;
    if (pthread_create(&thread, nullptr, faultThread, reinterpret_cast<void*>(fault)) != 0) _exit(90);
    pthread_join(thread, nullptr);
}

// The lines of the call-stack section, without their line ends.
std::vector<std::string> callStackLines(const std::string& err) {
    std::vector<std::string> lines;
    size_t stack = err.find("CallStack:\r\n");
    if (stack == std::string::npos) return lines;
    std::istringstream in(err.substr(stack + 12));
    std::string line;
    while (std::getline(in, line) && !line.empty() && line != "\r") {
        if (line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A stand-in for the message box helper that writes its caption and the
// text it read to a file.
struct BoxHelper {
    std::string folder, script, out;
    BoxHelper() {
        char name[] = "/tmp/crashguard-test-XXXXXX";
        folder = mkdtemp(name) ? name : "/tmp";
        script = folder + "/box.sh";
        out = folder + "/box.txt";
        std::ofstream file(script);
        file << "#!/bin/sh\n{ echo \"caption=$1\"; cat; } >> '" << out << "'\n";
        file.close();
        chmod(script.c_str(), 0755);
    }
    ~BoxHelper() {
        std::remove(out.c_str());
        std::remove(script.c_str());
        rmdir(folder.c_str());
    }
    std::string shown() const {
        std::ifstream file(out);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

struct FaultCase {
    const char* name;
    void (*fault)();
    int signal;
    const char* message;
};

TEST(CrashReport, EachFaultKindGivesItsMessageAndEndsByItsSignal) {
    const FaultCase cases[] = {
        {"null read", nullRead, SIGSEGV, "错误信息:内存读取异常\r\n目标地址:0000000000000000\r\n"},
        {"divide by zero", divideByZero, SIGFPE, "错误信息:非法除0异常\r\n"},
        {"ud2", illegalInstruction, SIGILL, "错误信息:非法CPU指令\r\n"},
        {"int3", breakpoint, SIGTRAP, "错误信息:int3调试中断\r\n"},
        {"hlt", privilegedInstruction, SIGSEGV, "错误信息:无法执行Ring0指令\r\n"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChildEnd end = runInChild([&] {
            guardOn();
            c.fault();
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, c.signal);
        EXPECT_EQ(end.err.rfind("警告:程序发生错误\r\n", 0), 0u) << end.err;
        EXPECT_TRUE(end.has(c.message)) << end.err;
        EXPECT_TRUE(end.has("发生位置:")) << end.err;
        EXPECT_TRUE(end.has("相对地址:[" + programName() + "].")) << end.err;
        EXPECT_FALSE(end.has("错误参数")) << end.err;
    }
}

TEST(CrashReport, WriteToReadOnlyPageNamesWriteAndTheTarget) {
    ChildEnd end = runInChild([] {
        readOnlyPageAddress();
        guardOn();
        std::fprintf(stderr, "page=%s\n", hex16(readOnlyPageAddress() + 16).c_str());
        std::fflush(stderr);
        writeReadOnlyPage();
    });
    ASSERT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    std::string target = end.err.substr(end.err.find("page=") + 5, 16);
    EXPECT_TRUE(end.has("错误信息:内存写入异常\r\n目标地址:" + target + "\r\n")) << end.err;
}

TEST(CrashReport, Int3IsReportedAtTheInstructionItself) {
    ChildEnd end = runInChild([] {
        guardOn();
        std::fprintf(stderr, "site=%s\n", hex16(breakpointAddress()).c_str());
        std::fflush(stderr);
        breakpoint();
    });
    std::string site = end.err.substr(end.err.find("site=") + 5, 16);
    EXPECT_TRUE(end.has("发生位置:" + site + "\r\n")) << end.err;
}

TEST(CrashReport, StackOverflowReportStartsWithItsMessageOnMainThreadAndWorker) {
    for (bool worker : {false, true}) {
        SCOPED_TRACE(worker ? "worker" : "main");
        ChildEnd end = runInChild([worker] {
            guardOn();
            if (worker) onThread(overflowStack);
            else overflowStack();
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, SIGSEGV);
        EXPECT_EQ(end.err.rfind("错误信息:线程堆栈溢出异常\r\n发生位置:", 0), 0u) << end.err;
    }
}

TEST(CrashReport, GLibThreadRunsUnderTheGuard) {
    ChildEnd end = runInChild([] {
        guardOn();
        void* glib = dlopen("libglib-2.0.so.0", RTLD_NOW);
        if (!glib) _exit(91);
        using NewFn = void* (*)(const char*, void* (*)(void*), void*);
        using JoinFn = void* (*)(void*);
        auto g_thread_new = reinterpret_cast<NewFn>(dlsym(glib, "g_thread_new"));
        auto g_thread_join = reinterpret_cast<JoinFn>(dlsym(glib, "g_thread_join"));
        if (!g_thread_new || !g_thread_join) _exit(92);
        // A worker of GLib's overflows its stack: only its own alternate
        // stack, set up by the thread hook, lets the report be made.
        g_thread_join(g_thread_new("overflow", faultThread, reinterpret_cast<void*>(overflowStack)));
    });
    EXPECT_TRUE(end.signaled) << end.exit_code;
    EXPECT_EQ(end.err.rfind("错误信息:线程堆栈溢出异常\r\n", 0), 0u) << end.err;
}

TEST(CrashReport, UncaughtExceptionIsReportedOrPassedOnUntouched) {
    for (int passOn : {0, 1}) {
        SCOPED_TRACE(passOn);
        ChildEnd end = runInChild([passOn] {
            crashguard::install();
            crashguard::Options options;
            options.show_message_box = 0;
            options.pass_on_throw = passOn;
            crashguard::configure(options);
            onThread(throwUncaught);  // the test runner would catch it on this thread
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, SIGABRT);
        if (passOn == 0) {
            EXPECT_TRUE(end.has("警告:程序发生错误\r\n错误信息:执行Virtual C++ throw()指令\r\n")) << end.err;
        } else {
            EXPECT_FALSE(end.has("警告:程序发生错误")) << end.err;
            EXPECT_TRUE(end.has("nobody catches this")) << end.err;  // the library's own message
        }
    }
}

TEST(CrashReport, SignalsSentByProcessesShowTheirOwnCode) {
    const std::pair<int, const char*> cases[] = {
        {SIGSEGV, "错误代码:0000000B\r\n"},
        {SIGSYS, "错误代码:0000001F\r\n"},
        {SIGABRT, "错误代码:00000006\r\n"},
    };
    for (const auto& [signal, line] : cases) {
        SCOPED_TRACE(signal);
        ChildEnd end = runInChild([signal = signal] {
            guardOn();
            kill(getpid(), signal);
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, signal);
        EXPECT_TRUE(end.has(line)) << end.err;
    }
}

TEST(CrashReport, BeforeConfigureAFaultPassesUntouched) {
    ChildEnd end = runInChild([] {
        crashguard::install();
        nullRead();
    });
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.err, "");
}

TEST(CrashReport, ExitModeOneEndsOnlyTheWorkerButTheWholeProcessFromMain) {
    ChildEnd worker = runInChild([] {
        guardOnWithExitMode(1);
        onThread(nullRead);
        onThread(divideByZero);  // the guard still reports after the first
        _exit(42);
    });
    EXPECT_TRUE(worker.exited);
    EXPECT_EQ(worker.exit_code, 42);
    EXPECT_EQ(worker.count("警告:程序发生错误"), 2) << worker.err;

    ChildEnd main_thread = runInChild([] {
        guardOnWithExitMode(1);
        nullRead();
        _exit(42);
    });
    EXPECT_TRUE(main_thread.signaled);
    EXPECT_EQ(main_thread.signal, SIGSEGV);
}

pthread_barrier_t g_barrier;

void* crashTogether(void*) {
    pthread_barrier_wait(&g_barrier);
    nullRead();
    return nullptr;
}

TEST(CrashReport, TwoThreadsCrashingTogetherGiveOneReport) {
    ChildEnd end = runInChild([] {
        guardOn();
        pthread_barrier_init(&g_barrier, nullptr, 2);
        pthread_t a, b;
        pthread_create(&a, nullptr, crashTogether, nullptr);
        pthread_create(&b, nullptr, crashTogether, nullptr);
        pthread_join(a, nullptr);
        pthread_join(b, nullptr);
    });
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.count("警告:程序发生错误"), 1) << end.err;
}

__attribute__((noinline)) void registeredFaultingRoutine() {
    crashguard::registerRoutine("测试.崩溃子程序");
    nullRead();
    asm volatile("" ::: "memory");
}

TEST(CrashReport, CallStackNamesRegisteredRoutinesAndIndentsInwards) {
    ChildEnd end = runInChild([] {
        guardOn();
        registeredFaultingRoutine();
    });
    size_t stack = end.err.find("CallStack:\r\n");
    ASSERT_NE(stack, std::string::npos) << end.err;
    std::istringstream lines(end.err.substr(stack + 12));
    std::string line;
    std::vector<std::string> frames;
    while (std::getline(lines, line) && !line.empty() && line != "\r") frames.push_back(line);
    ASSERT_GE(frames.size(), 3u) << end.err;
    // The outermost caller has no indentation, each inner line one more.
    for (size_t i = 0; i < frames.size(); ++i) {
        size_t spaces = frames[i].find_first_not_of(' ');
        EXPECT_EQ(spaces, i) << frames[i];
    }
    // The system's own frames at the outer end are left out.
    EXPECT_EQ(frames[0].find("[libc.so"), std::string::npos) << end.err;
    bool named = false;
    for (const std::string& f : frames) named = named || f.find("测试.崩溃子程序+0x") != std::string::npos;
    EXPECT_TRUE(named) << end.err;
    EXPECT_TRUE(end.has("[libc.so.6].__libc_start_main+0x")) << end.err;  // an exported symbol
}

TEST(CrashReport, RuntimeErrorReportEndsWithStatus255) {
    ChildEnd end = runInChild([] {
        guardOn();
        crashguard::setAdditionalInfo("tab 3");
        crashguard::onRuntimeError(3, "组件不存在");
    });
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.exit_code, 255);
    EXPECT_EQ(end.err.rfind("运行时出错!\r\n\r\n错误代码：3\r\n\r\n错误信息：组件不存在\r\nCallStack:\r\n", 0), 0u)
        << end.err;
    EXPECT_TRUE(end.has("\r\n附属信息：tab 3")) << end.err;
    // The error routines lie close behind install(), but outside its extent.
    EXPECT_FALSE(end.has("KOVA-SEH._启动子程序+")) << end.err;

    ChildEnd before = runInChild([] {
        crashguard::install();
        _exit(crashguard::onRuntimeError(3, "x") ? 1 : 7);
    });
    EXPECT_EQ(before.exit_code, 7);
}

const char kFallback[] = "程序发生严重错误，无法获取异常信息，程序准备关闭";

int countOf(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

TEST(CrashReport, CallbackAndMessageBoxHelperGetTheReport) {
    // With standard input closed the helper's pipe may come out as fd 0.
    for (bool stdin_closed : {false, true}) {
        SCOPED_TRACE(stdin_closed ? "stdin closed" : "stdin open");
        BoxHelper box;
        ChildEnd end = runInChild([&] {
            if (stdin_closed) close(0);
            crashguard::install();
            crashguard::setMessageBoxHelper(box.script);
            crashguard::Options options;
            options.crash_callback = [] { write(2, "callback ran\n", 13); };
            crashguard::configure(options);  // message box on by default
            divideByZero();
        });
        EXPECT_EQ(end.count("callback ran"), 1) << end.err;
        std::string shown = box.shown();
        EXPECT_EQ(shown.rfind("caption=程序异常：\n警告:程序发生错误\r\n错误信息:非法除0异常", 0), 0u) << shown;
        // Nothing went wrong on the way out: one box, and the process ends by
        // the fault's own signal.
        EXPECT_EQ(countOf(shown, "caption="), 1) << shown;
        EXPECT_FALSE(end.has(kFallback)) << end.err;
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, SIGFPE);
    }
}

TEST(CrashReport, FaultingCallbackGetsOneCallAndTheFallbackMessageOnce) {
    BoxHelper box;
    ChildEnd end = runInChild(
        [&] {
        crashguard::install();
        crashguard::setMessageBoxHelper(box.script);
        crashguard::Options options;
        options.crash_callback = [] {
            write(2, "callback ran\n", 13);
            nullRead();
        };
        crashguard::configure(options);
        divideByZero();
        },
        30);
    EXPECT_FALSE(end.timed_out);
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.count("callback ran"), 1) << end.err;
    EXPECT_EQ(end.count(kFallback), 1) << end.err;
    EXPECT_EQ(end.count("警告:程序发生错误"), 1) << end.err;  // the report came first
    // The callback faulted before the report's box: the one box shown is
    // the fallback's, without caption.
    std::string shown = box.shown();
    EXPECT_EQ(shown.rfind("caption=\n" + std::string(kFallback), 0), 0u) << shown;
    EXPECT_EQ(countOf(shown, "caption="), 1) << shown;
}

TEST(CrashReport, SmashedStackPointerIsReportedWithoutWalkingTheStack) {
    ChildEnd end = runInChild(
        [] {
        guardOn();
        faultWithSmashedStackPointer();
        },
        30);
    EXPECT_FALSE(end.timed_out);
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.count("警告:程序发生错误\r\n错误信息:内存读取异常\r\n目标地址:0000000000000000\r\n"), 1) << end.err;
    std::vector<std::string> lines = callStackLines(end.err);
    ASSERT_EQ(lines.size(), 2u) << end.err;
    EXPECT_EQ(lines[0], "无法回溯调用栈:栈指针0000000000001000不在本线程的栈内");
    EXPECT_EQ(lines[1].find("[" + programName() + "]+0x"), 0u) << lines[1];
    EXPECT_FALSE(end.has(kFallback)) << end.err;
}

TEST(CrashReport, DeepRecursionKeepsTheInnermostFrames) {
    ChildEnd end = runInChild(
        [] {
        guardOn();
        recurseThenFault(0);
        },
        30);
    EXPECT_TRUE(end.signaled);
    std::vector<std::string> lines = callStackLines(end.err);
    ASSERT_GT(lines.size(), 20u) << end.err;
    // The faulting frame closes the text, whole; the outermost callers went.
    const std::string& last = lines.back();
    EXPECT_EQ(last.find(std::string(crashguard::kMaxIndent, ' ') + kRecursionName + "+0x"), 0u) << last;
    EXPECT_EQ(last.size(), crashguard::kMaxIndent + std::strlen(kRecursionName) + std::strlen("+0x00=") + 16) << last;
    EXPECT_FALSE(end.has("__libc_start_main")) << end.err;
    for (const std::string& line : lines) EXPECT_LE(line.find_first_not_of(' '), size_t(crashguard::kMaxIndent));
}

TEST(CrashReport, CallThroughNullPointerNamesTheCaller) {
    ChildEnd end = runInChild(
        [] {
        guardOn();
        callThroughNullPointer();
        },
        30);
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_TRUE(end.has("发生位置:0000000000000000\r\n")) << end.err;
    EXPECT_TRUE(end.has("分析位置:")) << end.err;
    std::vector<std::string> lines = callStackLines(end.err);
    ASSERT_GE(lines.size(), 2u) << end.err;
    EXPECT_NE(lines.back().find("测试.空指针调用者+0x"), std::string::npos) << end.err;
}

TEST(CrashReport, WatchdogEndsAStuckReportByItsSignal) {
    ChildEnd end = runInChild(
        [] {
        guardOn();
        crashguard::detail::setWatchdogSeconds(1);
        crashguard::detail::armWatchdog(SIGBUS);
        for (;;) pause();  // a report that never finishes
        },
        30);
    EXPECT_FALSE(end.timed_out);
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGBUS);
    EXPECT_EQ(end.count(kFallback), 1) << end.err;
    EXPECT_LT(end.seconds, 10.0);
}

int g_holder_ready[2];

void* loadLockHolder(void*) {
    // Its initialiser reports on the pipe, then never returns: this thread
    // keeps the loader's locks.
    dlopen(CRASHGUARD_LOCK_HOLDER, RTLD_NOW);
    return nullptr;
}

TEST(CrashReport, CrashWhileAnotherThreadHoldsTheLoaderLockEndsInTime) {
    ChildEnd end = runInChild(
        [] {
        guardOn();
        if (pipe(g_holder_ready) != 0) _exit(93);
        setenv("CRASHGUARD_HOLDER_FD", std::to_string(g_holder_ready[1]).c_str(), 1);
        pthread_t holder;
        pthread_create(&holder, nullptr, loadLockHolder, nullptr);
        char byte;
        if (read(g_holder_ready[0], &byte, 1) != 1) _exit(94);
        nullRead();
        },
        40);
    EXPECT_FALSE(end.timed_out) << end.err;
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_TRUE(end.has("错误信息:内存读取异常") || end.has(kFallback)) << end.err;
    EXPECT_LT(end.seconds, 15.0);
    // Names still come: from the tables in memory, not from the loader.
    EXPECT_TRUE(end.has("[libc.so.6].__libc_start_main+0x")) << end.err;
}

}  // namespace
