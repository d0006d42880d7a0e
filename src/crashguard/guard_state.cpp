// The guard's shared state and the top-level crash path.
//
// A fault ends up here in this order:
//   signal handler (or terminate handler, or a status exception)
//     -> a guarded block of the thread takes it (guarded_block.cpp), or
//     -> claimReporter: only the first crashing thread reports
//     -> the watchdog is armed
//     -> buildFaultReport: module table, call stack, texts (scratch lock)
//     -> stderr; the watchdog is disarmed
//     -> crash callback, message box helper
//     -> leave the thread (exit mode 1) or die by the signal.
#include "crashguard/guard_state.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/report.h"

namespace crashguard::detail {

Settings g_settings;
char g_exe_path[4096];
char g_helper_path[4096];

namespace {

int g_installed = 0;
int g_enabled = 0;
pid_t g_reporter = 0;
pid_t g_scratch_owner = 0;
int g_fallback_entered = 0;
int g_watchdog_signal = 0;
unsigned g_watchdog_seconds = 5;
struct sigaction g_alarm_before;

// Initial-exec so that the handler reads it without the TLS resolver.
__attribute__((tls_model("initial-exec"))) thread_local bool t_in_report = false;

const char kFallbackText[] = "程序发生严重错误，无法获取异常信息，程序准备关闭";

// Shared by every report: far too large for a signal stack.
ModuleTable g_modules;
// Holds the report of a thread that never got a record of its own.
ThreadRecord g_spare_record;

constexpr int kWaitStepMs = 10;
constexpr int kWaitSteps = 1000;  // 10 seconds

void sleepALittle() {
    struct timespec step = {0, kWaitStepMs * 1000000L};
    nanosleep(&step, nullptr);
}

enum class Scratch { kTaken, kReentered, kBusy };

// Signal or normal context.
Scratch takeScratch() {
    pid_t self = currentTid();
    for (int i = 0; i < kWaitSteps; ++i) {
        pid_t expected = 0;
        if (__atomic_compare_exchange_n(&g_scratch_owner, &expected, self, false, __ATOMIC_ACQUIRE, __ATOMIC_RELAXED))
            return Scratch::kTaken;
        if (expected == self) return Scratch::kReentered;
        sleepALittle();
    }
    return Scratch::kBusy;
}

void releaseScratch() { __atomic_store_n(&g_scratch_owner, 0, __ATOMIC_RELEASE); }

// Signal context. The fallback's message, once per process: stderr, then
// the message box when it is on. False when it was shown already.
bool showFallbackMessage() {
    if (__atomic_exchange_n(&g_fallback_entered, 1, __ATOMIC_ACQ_REL) != 0) return false;
    writeAll(2, kFallbackText);
    writeAll(2, "\n");
    if (g_settings.show_message_box == 1) {
        // The box waits for the user: the watchdog no longer applies.
        disarmWatchdog();
        showMessageBox(kFallbackText, "");
    }
    return true;
}

// Signal context, on whichever thread the alarm reaches.
void onWatchdog(int) {
    int signal = __atomic_load_n(&g_watchdog_signal, __ATOMIC_ACQUIRE);
    if (signal == 0) return;  // disarmed while the alarm was on its way
    showFallbackMessage();
    dieBySignal(signal);
}

}  // namespace

bool enterReport() {
    if (t_in_report) return false;
    t_in_report = true;
    __atomic_signal_fence(__ATOMIC_SEQ_CST);
    return true;
}

void leaveReport() {
    __atomic_signal_fence(__ATOMIC_SEQ_CST);
    t_in_report = false;
}

void setWatchdogSeconds(unsigned seconds) { g_watchdog_seconds = seconds > 0 ? seconds : 1; }

void armWatchdog(int signal) {
    __atomic_store_n(&g_watchdog_signal, signal, __ATOMIC_RELEASE);
    struct sigaction action = {};
    action.sa_handler = onWatchdog;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK;
    sigaction(SIGALRM, &action, &g_alarm_before);
    // The alarm goes to any thread that does not block it; this one must not,
    // in case every other thread does.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    syscall(SYS_alarm, g_watchdog_seconds);
}

void disarmWatchdog() {
    if (__atomic_exchange_n(&g_watchdog_signal, 0, __ATOMIC_ACQ_REL) == 0) return;
    syscall(SYS_alarm, 0);
    // A thread that lives on (exit mode 1) gives the program its own alarm
    // handling back.
    sigaction(SIGALRM, &g_alarm_before, nullptr);
}

bool installed() { return __atomic_load_n(&g_installed, __ATOMIC_ACQUIRE) != 0; }
bool enabled() { return __atomic_load_n(&g_enabled, __ATOMIC_ACQUIRE) != 0; }
void setEnabled(bool on) { __atomic_store_n(&g_enabled, on ? 1 : 0, __ATOMIC_RELEASE); }
void setInstalled() { __atomic_store_n(&g_installed, 1, __ATOMIC_RELEASE); }

void writeAll(int fd, const char* text) {
    size_t left = safeStrlen(text);
    while (left > 0) {
        ssize_t n = write(fd, text, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text += n;
        left -= static_cast<size_t>(n);
    }
}

void dieBySignal(int signal) {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    syscall(SYS_tgkill, getpid(), currentTid(), signal);
    // Every guarded signal ends the process by default; this is the last
    // resort should something have changed that.
    _exit(128 + signal);
}

bool claimReporter(int signal) {
    pid_t self = currentTid();
    for (;;) {
        pid_t expected = 0;
        if (__atomic_compare_exchange_n(&g_reporter, &expected, self, false, __ATOMIC_ACQUIRE, __ATOMIC_RELAXED))
            return true;
        if (expected == self) return false;
        // Another thread is reporting; it ends the process soon. Should it
        // only end its own thread, the slot frees up and this one reports.
        int i = 0;
        while (i < kWaitSteps && __atomic_load_n(&g_reporter, __ATOMIC_ACQUIRE) != 0) {
            sleepALittle();
            ++i;
        }
        if (i == kWaitSteps) dieBySignal(signal);
    }
}

void releaseReporter() { __atomic_store_n(&g_reporter, 0, __ATOMIC_RELEASE); }

void fallbackStop(int signal) {
    // Only the message: the crash callback may be what faulted, and it has
    // had its one call.
    if (!showFallbackMessage()) dieBySignal(signal);
    disarmWatchdog();
    ThreadRecord* rec = currentRecord();
    if (g_settings.exit_mode == 1 && !isMainThread() && rec && rec->has_exit_point) {
        rec->has_exit_point = false;
        releaseScratch();
        releaseReporter();
        leaveReport();
        __atomic_store_n(&g_fallback_entered, 0, __ATOMIC_RELEASE);
        siglongjmp(rec->exit_point, 1);
    }
    dieBySignal(signal);
}

bool buildCallStack(ThreadRecord* rec, const FrameList& frames, uintptr_t fault_address, ReportPlace* place) {
    Scratch scratch = takeScratch();
    if (scratch == Scratch::kReentered) return false;
    // A busy table after the wait means another thread is stuck in its
    // report; this one goes ahead without module names rather than hang.
    bool have_modules = scratch == Scratch::kTaken && snapshotModules(g_modules, g_exe_path);

    TextBuffer stack(rec->call_stack, sizeof(rec->call_stack));
    if (have_modules) {
        if (const Module* m = g_modules.moduleOf(fault_address)) {
            place->module_name = m->name;
            place->module_offset = fault_address - m->start;
        }
        place->has_analysis = analysisPosition(frames, g_modules, &place->analysis);
        WalkInputs in;
        in.modules = &g_modules;
        in.routines = &routineTable();
        in.lookup = exportedSymbol;
        in.search_distance = g_settings.search_distance;
        in.skip_system_frames = g_settings.skip_leading_system_frames == 1;
        formatCallStack(frames, in, stack);
    }
    // The module name points into the shared table: copy it out before the
    // next report may refill it.
    if (place->module_name) {
        TextBuffer name(rec->module_name, sizeof(rec->module_name));
        name.append(place->module_name);
        place->module_name = rec->module_name;
    }
    if (scratch == Scratch::kTaken) releaseScratch();
    return true;
}

bool buildFaultReport(ThreadRecord* rec, const FaultInfo& fault, const FrameList& frames) {
    ReportPlace place;
    if (!buildCallStack(rec, frames, fault.address, &place)) return false;
    TextBuffer report(rec->report, sizeof(rec->report));
    composeFaultReport(fault, place, report);
    TextBuffer full(rec->full_text, sizeof(rec->full_text));
    composeFullText(rec->report, rec->call_stack, g_settings.include_call_stack == 1, rec->additional_info, full);
    return true;
}

void handleUnhandled(const FaultInfo& fault, const FrameList& frames, int signal) {
    if (!claimReporter(signal)) fallbackStop(signal);
    armWatchdog(signal);
    ThreadRecord* rec = currentRecord();
    if (!rec) rec = &g_spare_record;
    if (!buildFaultReport(rec, fault, frames)) fallbackStop(signal);
    writeAll(2, rec->full_text);
    writeAll(2, "\n");
    disarmWatchdog();
    notify(rec->full_text, "程序异常：");
    if (g_settings.exit_mode == 1 && !isMainThread() && rec != &g_spare_record && rec->has_exit_point) {
        rec->has_exit_point = false;
        releaseReporter();
        leaveReport();
        siglongjmp(rec->exit_point, 1);
    }
    dieBySignal(signal);
}

}  // namespace crashguard::detail
