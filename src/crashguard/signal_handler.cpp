// The signal handler: the guard's top-level handler on every thread.
#include <sys/uio.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/guard_state.h"

namespace crashguard::detail {

namespace {

struct sigaction g_previous[NSIG];

// Set while a previous handler runs, so that one which hands the signal
// back to us does not loop.
__attribute__((tls_model("initial-exec"))) thread_local bool t_passing_on = false;

// Signal context.
void pass_on(int signal, siginfo_t* info, void* context) {
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
    die_by_signal(signal);
}

// Signal context: copies safely what the classification needs.
SignalFacts read_facts(int signal, const siginfo_t* info, const ucontext_t* uc, const ThreadRecord* rec,
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
    struct iovec local = {code_bytes, code_capacity};
    struct iovec remote = {reinterpret_cast<void*>(f.ip), code_capacity};
    ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (n > 0) {
        f.code_bytes = code_bytes;
        f.code_length = static_cast<size_t>(n);
    }
    return f;
}

// Signal context, on the thread's alternate stack when it has one.
void on_signal(int signal, siginfo_t* info, void* context) {
    int saved_errno = errno;
    if (t_passing_on) die_by_signal(signal);
    auto* uc = static_cast<ucontext_t*>(context);
    ThreadRecord* rec = current_record();

    uint8_t code_bytes[16];
    SignalFacts facts = read_facts(signal, info, uc, rec, code_bytes, sizeof(code_bytes));
    FaultInfo fault = classify_signal(facts);

    // Guarded blocks work whether or not the guard is switched on.
    if (rec && rec->frame_count > 0) {
        FrameList frames;
        collect_signal_frames(facts.ip, frames);
        resume_guarded(rec, fault, frames);
    }
    if (!enabled() || (signal == SIGABRT && abort_passes_on())) {
        errno = saved_errno;
        pass_on(signal, info, context);
        errno = saved_errno;
        return;
    }
    FrameList frames;
    collect_signal_frames(facts.ip, frames);
    handle_unhandled(fault, frames, signal);
}

void install_one(int signal, bool save_previous) {
    struct sigaction action = {};
    action.sa_sigaction = on_signal;
    sigemptyset(&action.sa_mask);
    // No deferral: a fault inside the handler comes back to it and ends in
    // the fallback stop instead of a silent kill by the kernel.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    struct sigaction previous = {};
    if (sigaction(signal, &action, &previous) == 0 && save_previous) g_previous[signal] = previous;
}

}  // namespace

__attribute__((tls_model("initial-exec"))) thread_local bool t_abort_passes = false;

bool abort_passes_on() { return t_abort_passes; }
void let_abort_pass() { t_abort_passes = true; }

void install_signal_handlers() {
    for (int signal : kGuardedSignals) install_one(signal, true);
}

void reassert_signal_handlers() {
    for (int signal : kGuardedSignals) {
        struct sigaction current = {};
        if (sigaction(signal, nullptr, &current) != 0) continue;
        bool ours = (current.sa_flags & SA_SIGINFO) && current.sa_sigaction == on_signal;
        if (ours) continue;
        // Whoever took the signal since install is chained to from now on.
        g_previous[signal] = current;
        install_one(signal, false);
    }
}

}  // namespace crashguard::detail
