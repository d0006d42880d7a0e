#include "crashguard/crash_guard.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "crashguard/guard_state.h"
#include "crashguard/helper_path.h"
#include "crashguard/report.h"
#include "crashguard/safe_memory.h"

namespace crashguard {

namespace {

using detail::g_settings;

std::terminate_handler g_previous_terminate = nullptr;

// The program's crash callback: it has nothing to add.
void programCrashCallback() {}

void copyText(char* storage, size_t capacity, const char* text) {
    TextBuffer out(storage, capacity);
    out.append(text);
}

// Normal context: the running program's path, and the helper's default
// found from it.
void findPaths() {
    ssize_t n = readlink("/proc/self/exe", detail::g_exe_path, sizeof(detail::g_exe_path) - 1);
    detail::g_exe_path[n > 0 ? n : 0] = '\0';
    copyText(detail::g_helper_path, sizeof(detail::g_helper_path), helperPathFor(detail::g_exe_path).c_str());
}

[[noreturn]] void passTerminateOn() {
    detail::leaveReport();
    detail::letAbortPass();
    if (g_previous_terminate) g_previous_terminate();
    std::abort();
}

// Normal context: an exception nobody caught, or another reason for
// std::terminate.
void onTerminate() {
    if (!detail::enterReport()) detail::fallbackStop(SIGABRT);
    if (!detail::enabled()) passTerminateOn();
    bool thrown = std::current_exception() != nullptr;
    if (thrown && g_settings.pass_on_throw == 1) passTerminateOn();
    FaultInfo fault;
    fault.code = thrown ? code::kCxxThrow : static_cast<uint32_t>(SIGABRT);
    FrameList frames;
    collectCallerFrames(0, frames);
    fault.address = frames.count > 0 ? frames.addresses[0] : 0;
    detail::handleUnhandled(fault, frames, SIGABRT);
}

// Normal context. Builds, stores and writes the runtime-error report, then
// ends the process as the runtime would after its own report.
[[noreturn]] __attribute__((noinline)) void reportRuntimeError(int code, const char* message) {
    if (!detail::enterReport()) detail::fallbackStop(SIGABRT);
    FrameList frames;
    collectCallerFrames(0, frames);
    if (!detail::claimReporter(SIGABRT)) detail::fallbackStop(SIGABRT);
    detail::armWatchdog(SIGABRT);
    ThreadRecord* rec = ensureCurrentRecord();
    if (rec) {
        ReportPlace place;
        detail::buildCallStack(rec, frames, 0, &place);
        TextBuffer report(rec->report, sizeof(rec->report));
        composeRuntimeErrorReport(code, message, report);
        TextBuffer full(rec->full_text, sizeof(rec->full_text));
        composeFullText(rec->report, rec->call_stack, g_settings.include_call_stack == 1, rec->additional_info, full);
        std::fflush(nullptr);
        detail::writeAll(2, rec->full_text);
        detail::writeAll(2, "\n");
        detail::disarmWatchdog();
        detail::notify(rec->full_text, "程序异常：");
    } else {
        std::string text = runtimeErrorText(code, message);
        detail::writeAll(2, text.c_str());
    }
    std::fflush(nullptr);
    _exit(255);
}

}  // namespace

void install() {
    if (detail::installed()) return;
    g_settings = Settings{};
    detail::setEnabled(false);
    findPaths();
    initThreadRecords();
    ensureCurrentRecord();

    // Everything the handler calls for the first time does its lazy work
    // here (symbol binding, unwinder set-up) instead of inside a crash.
    FrameList frames;
    collectCallerFrames(0, frames);
    readable(reinterpret_cast<uintptr_t>(&install));
    detail::resolveThreadHook();

    registerRoutineAt("KOVA-SEH._启动子程序", reinterpret_cast<const void*>(&install));
    registerRoutineAt("KOVA-SEH.__catch_status", reinterpret_cast<const void*>(&catch_status));
    registerRoutineAt("KOVA-SEH.__catch_text", reinterpret_cast<const void*>(&catch_text));
    registerRoutineAt("KOVA-SEH.__catch_all", reinterpret_cast<const void*>(&catch_all));

    detail::installSignalHandlers();
    g_previous_terminate = std::set_terminate(onTerminate);
    detail::setInstalled();
}

void configure(Options& options) {
    g_settings = applyOptions(g_settings, options);
    detail::reassertSignalHandlers();
    detail::setEnabled(true);
}

void configure() {
    Options options;
    options.crash_callback = programCrashCallback;
    options.show_message_box = 0;
    options.exit_mode = 0;
    configure(options);
}

bool onRuntimeError(int code, const std::string& message) {
    if (!detail::enabled() || g_settings.hook_runtime_errors == 0) return false;
    reportRuntimeError(code, message.c_str());
}

std::string runtimeErrorText(int code, const std::string& message) {
    std::string storage(64 + message.size(), '\0');
    TextBuffer out(storage.data(), storage.size());
    composeRuntimeErrorReport(code, message.c_str(), out);
    return std::string(out.c_str(), out.size());
}

void reassertHandlers() {
    if (detail::installed()) detail::reassertSignalHandlers();
}

void setAdditionalInfo(const std::string& text) {
    ThreadRecord* rec = ensureCurrentRecord();
    if (rec) copyText(rec->additional_info, sizeof(rec->additional_info), text.c_str());
}

void setMessageBoxHelper(const std::string& path) {
    copyText(detail::g_helper_path, sizeof(detail::g_helper_path), path.c_str());
}

}  // namespace crashguard
