// Real faults in child processes: how the child ends and what it reports.
#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "crashguard/crash_guard.h"
#include "crashguard/text_buffer.h"
#include "faults.h"

namespace {

using namespace crashguard_test;

std::string hex16(uintptr_t value) {
    char text[17];
    crashguard::TextBuffer out(text, sizeof(text));
    out.append_hex(value, 16);
    return text;
}

// The module name the report gives this test program.
std::string program_name() {
    std::string path = std::filesystem::read_symlink("/proc/self/exe").string();
    return path.substr(path.rfind('/') + 1);
}

void guard_on() {
    crashguard::install();
    crashguard::configure();
}

void guard_on_with_exit_mode(int exit_mode) {
    crashguard::install();
    crashguard::Options options;
    options.show_message_box = 0;
    options.exit_mode = exit_mode;
    crashguard::configure(options);
}

void* fault_thread(void* fault) {
    reinterpret_cast<void (*)()>(fault)();
    return nullptr;
}

// Runs `fault` on a new thread and waits for it.
void on_thread(void (*fault)()) {
    pthread_t thread;
    if (pthread_create(&thread, nullptr, fault_thread, reinterpret_cast<void*>(fault)) != 0) _exit(90);
    pthread_join(thread, nullptr);
}

struct FaultCase {
    const char* name;
    void (*fault)();
    int signal;
    const char* message;
};

TEST(CrashReport, EachFaultKindGivesItsMessageAndEndsByItsSignal) {
    const FaultCase cases[] = {
        {"null read", null_read, SIGSEGV, "错误信息:内存读取异常\r\n目标地址:0000000000000000\r\n"},
        {"divide by zero", divide_by_zero, SIGFPE, "错误信息:非法除0异常\r\n"},
        {"ud2", illegal_instruction, SIGILL, "错误信息:非法CPU指令\r\n"},
        {"int3", breakpoint, SIGTRAP, "错误信息:int3调试中断\r\n"},
        {"hlt", privileged_instruction, SIGSEGV, "错误信息:无法执行Ring0指令\r\n"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChildEnd end = run_in_child([&] {
            guard_on();
            c.fault();
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, c.signal);
        EXPECT_EQ(end.err.rfind("警告:程序发生错误\r\n", 0), 0u) << end.err;
        EXPECT_TRUE(end.has(c.message)) << end.err;
        EXPECT_TRUE(end.has("发生位置:")) << end.err;
        EXPECT_TRUE(end.has("相对地址:[" + program_name() + "].")) << end.err;
        EXPECT_FALSE(end.has("错误参数")) << end.err;
    }
}

TEST(CrashReport, WriteToReadOnlyPageNamesWriteAndTheTarget) {
    ChildEnd end = run_in_child([] {
        read_only_page_address();
        guard_on();
        std::fprintf(stderr, "page=%s\n", hex16(read_only_page_address() + 16).c_str());
        std::fflush(stderr);
        write_read_only_page();
    });
    ASSERT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    std::string target = end.err.substr(end.err.find("page=") + 5, 16);
    EXPECT_TRUE(end.has("错误信息:内存写入异常\r\n目标地址:" + target + "\r\n")) << end.err;
}

TEST(CrashReport, Int3IsReportedAtTheInstructionItself) {
    ChildEnd end = run_in_child([] {
        guard_on();
        std::fprintf(stderr, "site=%s\n", hex16(breakpoint_address()).c_str());
        std::fflush(stderr);
        breakpoint();
    });
    std::string site = end.err.substr(end.err.find("site=") + 5, 16);
    EXPECT_TRUE(end.has("发生位置:" + site + "\r\n")) << end.err;
}

TEST(CrashReport, StackOverflowReportStartsWithItsMessageOnMainThreadAndWorker) {
    for (bool worker : {false, true}) {
        SCOPED_TRACE(worker ? "worker" : "main");
        ChildEnd end = run_in_child([worker] {
            guard_on();
            if (worker)
                on_thread(overflow_stack);
            else
                overflow_stack();
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, SIGSEGV);
        EXPECT_EQ(end.err.rfind("错误信息:线程堆栈溢出异常\r\n发生位置:", 0), 0u) << end.err;
    }
}

TEST(CrashReport, GLibThreadRunsUnderTheGuard) {
    ChildEnd end = run_in_child([] {
        guard_on();
        void* glib = dlopen("libglib-2.0.so.0", RTLD_NOW);
        if (!glib) _exit(91);
        using NewFn = void* (*)(const char*, void* (*)(void*), void*);
        using JoinFn = void* (*)(void*);
        auto g_thread_new = reinterpret_cast<NewFn>(dlsym(glib, "g_thread_new"));
        auto g_thread_join = reinterpret_cast<JoinFn>(dlsym(glib, "g_thread_join"));
        if (!g_thread_new || !g_thread_join) _exit(92);
        // A worker of GLib's overflows its stack: only its own alternate
        // stack, set up by the thread hook, lets the report be made.
        g_thread_join(g_thread_new("overflow", fault_thread, reinterpret_cast<void*>(overflow_stack)));
    });
    EXPECT_TRUE(end.signaled) << end.exit_code;
    EXPECT_EQ(end.err.rfind("错误信息:线程堆栈溢出异常\r\n", 0), 0u) << end.err;
}

TEST(CrashReport, UncaughtExceptionIsReportedOrPassedOnUntouched) {
    for (int pass_on : {0, 1}) {
        SCOPED_TRACE(pass_on);
        ChildEnd end = run_in_child([pass_on] {
            crashguard::install();
            crashguard::Options options;
            options.show_message_box = 0;
            options.pass_on_throw = pass_on;
            crashguard::configure(options);
            on_thread(throw_uncaught);  // the test runner would catch it on this thread
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, SIGABRT);
        if (pass_on == 0) {
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
        ChildEnd end = run_in_child([signal = signal] {
            guard_on();
            kill(getpid(), signal);
        });
        EXPECT_TRUE(end.signaled);
        EXPECT_EQ(end.signal, signal);
        EXPECT_TRUE(end.has(line)) << end.err;
    }
}

TEST(CrashReport, BeforeConfigureAFaultPassesUntouched) {
    ChildEnd end = run_in_child([] {
        crashguard::install();
        null_read();
    });
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.err, "");
}

TEST(CrashReport, ExitModeOneEndsOnlyTheWorkerButTheWholeProcessFromMain) {
    ChildEnd worker = run_in_child([] {
        guard_on_with_exit_mode(1);
        on_thread(null_read);
        on_thread(divide_by_zero);  // the guard still reports after the first
        _exit(42);
    });
    EXPECT_TRUE(worker.exited);
    EXPECT_EQ(worker.exit_code, 42);
    EXPECT_EQ(worker.count("警告:程序发生错误"), 2) << worker.err;

    ChildEnd main_thread = run_in_child([] {
        guard_on_with_exit_mode(1);
        null_read();
        _exit(42);
    });
    EXPECT_TRUE(main_thread.signaled);
    EXPECT_EQ(main_thread.signal, SIGSEGV);
}

pthread_barrier_t g_barrier;

void* crash_together(void*) {
    pthread_barrier_wait(&g_barrier);
    null_read();
    return nullptr;
}

TEST(CrashReport, TwoThreadsCrashingTogetherGiveOneReport) {
    ChildEnd end = run_in_child([] {
        guard_on();
        pthread_barrier_init(&g_barrier, nullptr, 2);
        pthread_t a, b;
        pthread_create(&a, nullptr, crash_together, nullptr);
        pthread_create(&b, nullptr, crash_together, nullptr);
        pthread_join(a, nullptr);
        pthread_join(b, nullptr);
    });
    EXPECT_TRUE(end.signaled);
    EXPECT_EQ(end.signal, SIGSEGV);
    EXPECT_EQ(end.count("警告:程序发生错误"), 1) << end.err;
}

__attribute__((noinline)) void registered_faulting_routine() {
    crashguard::register_routine("测试.崩溃子程序");
    null_read();
    asm volatile("" ::: "memory");
}

TEST(CrashReport, CallStackNamesRegisteredRoutinesAndIndentsInwards) {
    ChildEnd end = run_in_child([] {
        guard_on();
        registered_faulting_routine();
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
    ChildEnd end = run_in_child([] {
        guard_on();
        crashguard::set_additional_info("tab 3");
        crashguard::onRuntimeError(3, "组件不存在");
    });
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.exit_code, 255);
    EXPECT_EQ(end.err.rfind("运行时出错!\r\n\r\n错误代码：3\r\n\r\n错误信息：组件不存在\r\nCallStack:\r\n", 0), 0u)
        << end.err;
    EXPECT_TRUE(end.has("\r\n附属信息：tab 3")) << end.err;

    ChildEnd before = run_in_child([] {
        crashguard::install();
        _exit(crashguard::onRuntimeError(3, "x") ? 1 : 7);
    });
    EXPECT_EQ(before.exit_code, 7);
}

TEST(CrashReport, CallbackAndMessageBoxHelperGetTheReport) {
    char folder[] = "/tmp/crashguard-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string helper = std::string(folder) + "/box.sh";
    std::string out = std::string(folder) + "/box.txt";
    {
        std::ofstream script(helper);
        script << "#!/bin/sh\n{ echo \"caption=$1\"; cat; } > '" << out << "'\n";
    }
    chmod(helper.c_str(), 0755);
    ChildEnd end = run_in_child([&] {
        crashguard::install();
        crashguard::set_message_box_helper(helper);
        crashguard::Options options;
        options.crash_callback = [] { write(2, "callback ran\n", 13); };
        crashguard::configure(options);  // message box on by default
        divide_by_zero();
    });
    EXPECT_TRUE(end.has("callback ran")) << end.err;
    std::ifstream shown(out);
    std::stringstream text;
    text << shown.rdbuf();
    EXPECT_EQ(text.str().rfind("caption=程序异常：\n警告:程序发生错误\r\n错误信息:非法除0异常", 0), 0u) << text.str();
    std::remove(out.c_str());
    std::remove(helper.c_str());
    rmdir(folder);
}

}  // namespace
