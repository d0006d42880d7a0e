#include "crashguard/guarded_block.h"

#include <unistd.h>

#include "crashguard/guard_state.h"

namespace crashguard {

namespace {

// Signal or normal context. The catch routine of frame `g` that takes the
// fault, or kCatchNone.
unsigned pickCatch(GuardedFrame& g, const FaultInfo& fault) {
    if (fault.code == code::kGuardedStatus && fault.param_count == 2) {
        g.status = static_cast<uint32_t>(fault.params[0]);
        uintptr_t selector = fault.params[1];
        if (selector == 1 && (g.catches & kCatchStatus)) return kCatchStatus;
        if (selector == 2 && (g.catches & kCatchText)) return kCatchText;
    }
    return (g.catches & kCatchAll) ? kCatchAll : kCatchNone;
}

}  // namespace

namespace detail {

void resumeGuarded(ThreadRecord* rec, const FaultInfo& fault, const FrameList& frames) {
    int signal = fault.code == code::kGuardedStatus ? SIGABRT : SIGSEGV;
    if (!buildFaultReport(rec, fault, frames)) fallbackStop(signal);
    for (int i = rec->frame_count - 1; i >= 0; --i) {
        GuardedFrame& g = rec->frames[i];
        unsigned caught = pickCatch(g, fault);
        if (caught == kCatchNone) continue;
        g.caught = static_cast<int>(caught);
        // Blocks inside the one that catches are left by the jump.
        rec->frame_count = i + 1;
        leaveReport();
        siglongjmp(g.resume, 1);
    }
}

}  // namespace detail

// Kept out of line and free of objects with destructors: the jump back from
// the handler lands in this frame.
__attribute__((noinline)) BlockOutcome runGuardedRaw(unsigned catches, void (*body)(void*), void* context) {
    ThreadRecord* rec = ensureCurrentRecord();
    if (!rec || rec->frame_count >= ThreadRecord::kMaxGuardedFrames) {
        detail::writeAll(2, "varomel: guarded blocks nested too deep or out of memory; running unguarded\n");
        body(context);
        return {};
    }
    int index = rec->frame_count;
    GuardedFrame& g = rec->frames[index];
    g.catches = catches;
    g.caught = kCatchNone;
    g.status = 0;
    if (sigsetjmp(g.resume, 1) == 0) {
        __atomic_signal_fence(__ATOMIC_SEQ_CST);
        rec->frame_count = index + 1;
        body(context);
        rec->frame_count = index;
        return {};
    }
    BlockOutcome outcome{static_cast<unsigned>(rec->frames[index].caught), rec->frames[index].status};
    rec->frame_count = index;
    rec->last_status = outcome.status;
    return outcome;
}

__attribute__((noinline)) void raiseStatus(uint32_t status, uint32_t selector) {
    FaultInfo fault;
    fault.code = code::kGuardedStatus;
    fault.param_count = 2;
    fault.params[0] = status;
    fault.params[1] = selector;
    if (!detail::enterReport()) detail::fallbackStop(SIGABRT);
    FrameList frames;
    collectCallerFrames(0, frames);
    fault.address = frames.count > 0 ? frames.addresses[0] : 0;
    ThreadRecord* rec = ensureCurrentRecord();
    if (rec && rec->frame_count > 0) detail::resumeGuarded(rec, fault, frames);
    if (!detail::enabled()) detail::dieBySignal(SIGABRT);
    detail::handleUnhandled(fault, frames, SIGABRT);
}

uint32_t catch_status() {
    ThreadRecord* rec = currentRecord();
    return rec ? rec->last_status : 0;
}

uint32_t catch_all() { return catch_status(); }

const char* catch_text() {
    ThreadRecord* rec = currentRecord();
    return rec ? rec->full_text : "";
}

}  // namespace crashguard
