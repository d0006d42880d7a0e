// Process-wide state of the guard shared by its parts. Not part of the
// public interface.
#pragma once

#include <signal.h>

#include <cstdint>

#include "crashguard/call_stack.h"
#include "crashguard/fault.h"
#include "crashguard/modules.h"
#include "crashguard/report.h"
#include "crashguard/settings.h"
#include "crashguard/thread_record.h"

namespace crashguard::detail {

extern Settings g_settings;
extern char g_exe_path[4096];
extern char g_helper_path[4096];

// Any context.
bool installed();
bool enabled();
void setEnabled(bool on);
void setInstalled();

// The signals the guard catches.
constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS};

// Normal context.
void installSignalHandlers();
void installTerminateHandler();

// Signal or normal context. Writes the call-stack text into `rec` and finds
// where the fault address lies. False when this thread faulted while already
// composing one.
bool buildCallStack(ThreadRecord* rec, const FrameList& frames, uintptr_t fault_address, ReportPlace* place);

// Signal or normal context. Composes report, call stack and full text into
// `rec`. False when this thread faulted while already composing one.
bool buildFaultReport(ThreadRecord* rec, const FaultInfo& fault, const FrameList& frames);

// Signal or normal context: the top-level path for a fault no guarded block
// takes. Reports once per process, notifies, then ends the thread (exit mode
// 1 on a thread with an exit point) or the process by `signal`.
[[noreturn]] void handleUnhandled(const FaultInfo& fault, const FrameList& frames, int signal);

// Signal or normal context. Passes control to the innermost guarded block
// of the thread that takes the fault; returns when none does.
void resumeGuarded(ThreadRecord* rec, const FaultInfo& fault, const FrameList& frames);

// Signal context: restores the default action and sends the signal to this
// thread again, so that the process ends by it (and may dump core).
[[noreturn]] void dieBySignal(int signal);

// Signal context: the crash callback and the message box helper.
void notify(const char* text, const char* caption);
// Signal context: the message box helper alone.
void showMessageBox(const char* text, const char* caption);

// Any context. Marks the calling thread as composing a crash report (in the
// handler, or a report made in normal context). False when it already was:
// a fault inside the report itself, after which nothing of the first fault
// can be trusted and the caller takes the fallback stop.
bool enterReport();
void leaveReport();

// Signal or normal context. The watchdog bounds the time a report takes to
// compose: when it runs out, the fallback message is shown and the process
// ends by `signal`, whatever the reporting thread is stuck in. Disarmed
// before the crash callback and the message box, which wait for the user.
void armWatchdog(int signal);
void disarmWatchdog();
// Normal context; 5 seconds unless changed (tests shorten it).
void setWatchdogSeconds(unsigned seconds);

// Signal context: write(2) until done.
void writeAll(int fd, const char* text);

// The reporter slot: the thread id of the thread reporting a crash, or 0.
// Normal or signal context. Returns false when this thread already holds it
// (a fault inside the report) after which the caller takes the fallback stop.
bool claimReporter(int signal);
void releaseReporter();
[[noreturn]] void fallbackStop(int signal);

// Normal context: resolves the real thread-creation routine; referencing it
// from install() also keeps the thread hook in the link.
bool resolveThreadHook();

}  // namespace crashguard::detail

namespace crashguard::detail {

// Normal context: puts our handlers back where another library replaced
// them, chaining to that library's handlers when a signal is passed on.
void reassertSignalHandlers();

// Set by the terminate handler when it passes an exception on: the abort
// that follows belongs to the previous handler and is passed on untouched.
bool abortPassesOn();
void letAbortPass();

}  // namespace crashguard::detail
