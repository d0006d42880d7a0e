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
void program_crash_callback() {}

void copy_text(char* storage, size_t capacity, const char* text) {
    TextBuffer out(storage, capacity);
    out.append(text);
}

// Normal context: the running program's path, and the helper's default
// found from it.
void find_paths() {
    ssize_t n = readlink("/proc/self/exe", detail::g_exe_path, sizeof(detail::g_exe_path) - 1);
    detail::g_exe_path[n > 0 ? n : 0] = '\0';
    copy_text(detail::g_helper_path, sizeof(detail::g_helper_path), helper_path_for(detail::g_exe_path).c_str());
}

[[noreturn]] void pass_terminate_on() {
    detail::leave_report();
    detail::let_abort_pass();
    if (g_previous_terminate) g_previous_terminate();
    std::abort();
}

// Normal context: an exception nobody caught, or another reason for
// std::terminate.
void on_terminate() {
    if (!detail::enter_report()) detail::fallback_stop(SIGABRT);
    if (!detail::enabled()) pass_terminate_on();
    bool thrown = std::current_exception() != nullptr;
    if (thrown && g_settings.pass_on_throw == 1) pass_terminate_on();
    FaultInfo fault;
    fault.code = thrown ? code::kCxxThrow : static_cast<uint32_t>(SIGABRT);
    FrameList frames;
    collect_caller_frames(0, frames);
    fault.address = frames.count > 0 ? frames.addresses[0] : 0;
    detail::handle_unhandled(fault, frames, SIGABRT);
}

// Normal context. Builds, stores and writes the runtime-error report, then
// ends the process as the runtime would after its own report.
[[noreturn]] __attribute__((noinline)) void report_runtime_error(int code, const char* message) {
    if (!detail::enter_report()) detail::fallback_stop(SIGABRT);
    FrameList frames;
    collect_caller_frames(0, frames);
    if (!detail::claim_reporter(SIGABRT)) detail::fallback_stop(SIGABRT);
    detail::arm_watchdog(SIGABRT);
    ThreadRecord* rec = ensure_current_record();
    if (rec) {
        ReportPlace place;
        detail::build_call_stack(rec, frames, 0, &place);
        TextBuffer report(rec->report, sizeof(rec->report));
        compose_runtime_error_report(code, message, report);
        TextBuffer full(rec->full_text, sizeof(rec->full_text));
        compose_full_text(rec->report, rec->call_stack, g_settings.include_call_stack == 1, rec->additional_info, full);
        std::fflush(nullptr);
        detail::write_all(2, rec->full_text);
        detail::write_all(2, "\n");
        detail::disarm_watchdog();
        detail::notify(rec->full_text, "程序异常：");
    } else {
        std::string text = runtime_error_text(code, message);
        detail::write_all(2, text.c_str());
    }
    std::fflush(nullptr);
    _exit(255);
}

}  // namespace

void install() {
    if (detail::installed()) return;
    g_settings = Settings{};
    detail::set_enabled(false);
    find_paths();
    init_thread_records();
    ensure_current_record();

    // Everything the handler calls for the first time does its lazy work
    // here (symbol binding, unwinder set-up) instead of inside a crash.
    FrameList frames;
    collect_caller_frames(0, frames);
    readable(reinterpret_cast<uintptr_t>(&install));
    detail::resolve_thread_hook();

    register_routine_at("KOVA-SEH._启动子程序", reinterpret_cast<const void*>(&install));
    register_routine_at("KOVA-SEH.__catch_status", reinterpret_cast<const void*>(&catch_status));
    register_routine_at("KOVA-SEH.__catch_text", reinterpret_cast<const void*>(&catch_text));
    register_routine_at("KOVA-SEH.__catch_all", reinterpret_cast<const void*>(&catch_all));

    detail::install_signal_handlers();
    g_previous_terminate = std::set_terminate(on_terminate);
    detail::set_installed();
}

void configure(Options& options) {
    g_settings = apply_options(g_settings, options);
    detail::reassert_signal_handlers();
    detail::set_enabled(true);
}

void configure() {
    Options options;
    options.crash_callback = program_crash_callback;
    options.show_message_box = 0;
    options.exit_mode = 0;
    configure(options);
}

bool onRuntimeError(int code, const std::string& message) {
    if (!detail::enabled() || g_settings.hook_runtime_errors == 0) return false;
    report_runtime_error(code, message.c_str());
}

std::string runtime_error_text(int code, const std::string& message) {
    std::string storage(64 + message.size(), '\0');
    TextBuffer out(storage.data(), storage.size());
    compose_runtime_error_report(code, message.c_str(), out);
    return std::string(out.c_str(), out.size());
}

void reassert_handlers() {
    if (detail::installed()) detail::reassert_signal_handlers();
}

void set_additional_info(const std::string& text) {
    ThreadRecord* rec = ensure_current_record();
    if (rec) copy_text(rec->additional_info, sizeof(rec->additional_info), text.c_str());
}

void set_message_box_helper(const std::string& path) {
    copy_text(detail::g_helper_path, sizeof(detail::g_helper_path), path.c_str());
}

}  // namespace crashguard
