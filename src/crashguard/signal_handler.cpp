// The signal handler: the guard's top-level handler on every thread.
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/guard_state.h"
#include "crashguard/safe_memory.h"

namespace crashguard::detail {

namespace {

struct sigaction g_previous[NSIG];

// Set while a previous handler runs, so that one which hands the signal
// back to us does not loop.
__attribute__((tls_model("initial-exec"))) thread_local bool t_passing_on = false;

// Signal context.
void passOn(int signal, siginfo_t* info, void* context) {
    const struct sigaction& previous = g_previous[signal];
    bool sent_by_process = info && info->si_code <= 0;
    if (previous.sa_flags & SA_SIGINFO) {
        if (previous.sa_sigaction) {
            t_passing_on = true;
            previous.sa_sigaction(signal, info, context);
            t_passing_on = false;
            return;
        }
    } else if (previous.sa_handler == SIG_IGN) {
        // Returning from a hardware fault would only fault again.
        if (sent_by_process) return;
    } else if (previous.sa_handler != SIG_DFL) {
        t_passing_on = true;
        previous.sa_handler(signal);
        t_passing_on = false;
        return;
    }
    dieBySignal(signal);
}

// Signal context: copies safely what the classification needs.
SignalFacts readFacts(int signal, const siginfo_t* info, const ucontext_t* uc, const ThreadRecord* rec,
    uint8_t* code_bytes, size_t code_capacity) {
    SignalFacts f;
    f.signal = signal;
    f.si_code = info ? info->si_code : 0;
    f.fault_address = info ? reinterpret_cast<uintptr_t>(info->si_addr) : 0;
    const greg_t* regs = uc->uc_mcontext.gregs;
    f.ip = static_cast<uintptr_t>(regs[REG_RIP]);
    f.sp = static_cast<uintptr_t>(regs[REG_RSP]);
    f.page_fault = regs[REG_TRAPNO] == 14;
    f.error_code = static_cast<uint64_t>(regs[REG_ERR]);
    if (rec) {
        f.stack_low = rec->stack_low;
        f.stack_high = rec->stack_high;
        f.guard_size = rec->guard_size;
    }
    // The instruction bytes come through the kernel, which refuses an
    // unreadable address instead of faulting again.
    // An instruction may end just before an unmapped page: then only the
    // bytes up to the page's end are read.
    size_t length = code_capacity;
    if (!safeRead(f.ip, code_bytes, length)) {
        size_t to_page_end = 4096 - (f.ip % 4096);
        length = to_page_end < code_capacity ? to_page_end : 0;
        if (length > 0 && !safeRead(f.ip, code_bytes, length)) length = 0;
    }
    if (length > 0) {
        f.code_bytes = code_bytes;
        f.code_length = length;
    }
    return f;
}

// How far below its lowest usable byte a thread's stack pointer may stand
// and still be that stack's: the guard region, and a frame that moved the
// pointer down before touching it.
constexpr uintptr_t kBelowStackSlack = 64 * 1024;

// Signal context. Whether unwinding may start from this stack pointer. The
// unwinder reads memory relative to it without checks; a pointer smashed to
// some other place sends it reading wherever that is.
bool stackPointerUsable(uintptr_t sp, const ThreadRecord* rec) {
    if (rec && rec->stack_high != 0) {
        uintptr_t reach = rec->guard_size + kBelowStackSlack;
        uintptr_t low = rec->stack_low > reach ? rec->stack_low - reach : 0;
        if (sp >= low && sp <= rec->stack_high) return true;
        // A handler of another library that runs on this thread's alternate
        // stack and faults there.
        uintptr_t alt = reinterpret_cast<uintptr_t>(rec->mapping);
        return sp >= alt && sp < alt + rec->mapping_size;
    }
    // A thread whose stack we do not know: at least the top must be readable.
    return readable(sp);
}

// Signal context. The frames of the interrupted code, innermost first.
void collectFrames(int signal, const SignalFacts& f, ucontext_t* uc, const ThreadRecord* rec, FrameList& frames) {
    frames.count = 0;
    if (!stackPointerUsable(f.sp, rec)) {
        frames.push(f.ip);
        frames.unwalkable = true;
        frames.stack_pointer = f.sp;
        return;
    }
    // Nothing ran at an instruction pointer that cannot be fetched (a call
    // through a null or wild pointer), and the unwinder knows no frame there.
    // The call left its return address on top of the stack: unwinding starts
    // in the caller, as if the call had returned, and the saved registers are
    // put back afterwards.
    bool no_code = f.code_length == 0 || (signal == SIGSEGV && f.fault_address == f.ip);
    uintptr_t caller = 0;
    if (no_code && safeRead(f.sp, &caller, sizeof(caller)) && readable(caller)) {
        greg_t* regs = uc->uc_mcontext.gregs;
        greg_t ip = regs[REG_RIP];
        greg_t sp = regs[REG_RSP];
        regs[REG_RIP] = static_cast<greg_t>(caller);
        regs[REG_RSP] = sp + static_cast<greg_t>(sizeof(caller));
        __atomic_signal_fence(__ATOMIC_SEQ_CST);
        collectSignalFrames(f.ip, caller, frames);
        __atomic_signal_fence(__ATOMIC_SEQ_CST);
        regs[REG_RIP] = ip;
        regs[REG_RSP] = sp;
        return;
    }
    collectSignalFrames(f.ip, f.ip, frames);
}

// Signal context, on the thread's alternate stack when it has one.
void onSignal(int signal, siginfo_t* info, void* context) {
    int saved_errno = errno;
    if (t_passing_on) dieBySignal(signal);
    // Before anything else: a second fault while this thread is still in
    // here (in the unwinder, the report, the crash callback) means the first
    // one cannot be reported; nothing more is tried.
    if (!enterReport()) fallbackStop(signal);
    auto* uc = static_cast<ucontext_t*>(context);
    ThreadRecord* rec = currentRecord();

    uint8_t code_bytes[16];
    SignalFacts facts = readFacts(signal, info, uc, rec, code_bytes, sizeof(code_bytes));
    FaultInfo fault = classifySignal(facts);

    // Guarded blocks work whether or not the guard is switched on, but only
    // for faults of the code they guard. An abort (the program's own, or the
    // allocator's on finding its heap broken) may leave locks held that a
    // jump out would never release, and a signal another process sent is no
    // fault of the block's: both go on to the report.
    bool resumable = signal != SIGABRT && info && info->si_code > 0;
    if (resumable && rec && rec->frame_count > 0) {
        FrameList frames;
        collectFrames(signal, facts, uc, rec, frames);
        resumeGuarded(rec, fault, frames);
    }
    if (!enabled() || (signal == SIGABRT && abortPassesOn())) {
        leaveReport();
        errno = saved_errno;
        passOn(signal, info, context);
        errno = saved_errno;
        return;
    }
    FrameList frames;
    collectFrames(signal, facts, uc, rec, frames);
    handleUnhandled(fault, frames, signal);
}

void installOne(int signal, bool save_previous) {
    struct sigaction action = {};
    action.sa_sigaction = onSignal;
    sigemptyset(&action.sa_mask);
    // No deferral: a fault inside the handler comes back to it and ends in
    // the fallback stop instead of a silent kill by the kernel.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    struct sigaction previous = {};
    if (sigaction(signal, &action, &previous) == 0 && save_previous) g_previous[signal] = previous;
}

}  // namespace

__attribute__((tls_model("initial-exec"))) thread_local bool t_abort_passes = false;

bool abortPassesOn() { return t_abort_passes; }
void letAbortPass() { t_abort_passes = true; }

void installSignalHandlers() {
    for (int signal : kGuardedSignals) installOne(signal, true);
}

void reassertSignalHandlers() {
    for (int signal : kGuardedSignals) {
        struct sigaction current = {};
        if (sigaction(signal, nullptr, &current) != 0) continue;
        bool ours = (current.sa_flags & SA_SIGINFO) && current.sa_sigaction == onSignal;
        if (ours) continue;
        // Whoever took the signal since install is chained to from now on.
        g_previous[signal] = current;
        installOne(signal, false);
    }
}

}  // namespace crashguard::detail
