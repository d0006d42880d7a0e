// Guarded blocks: run a stretch of code so that a fault inside it returns
// control to the caller instead of ending the process.
//
//   auto outcome = crashguard::runGuarded(crashguard::kCatchAll, [&] { risky(); });
//   if (outcome.caught == crashguard::kCatchAll) log(crashguard::catch_text());
//
// A fault leaves the body by a jump: objects the body holds at that moment
// are not destroyed, so keep the body's own state trivial at fault points.
// The caller's objects are untouched, since the jump lands in a frame that
// holds none.
#pragma once

#include <cstdint>
#include <exception>
#include <type_traits>
#include <utility>

namespace crashguard {

// Which catch routines a block has; one of them is reported as caught.
enum Catch : unsigned {
    kCatchNone = 0,
    kCatchStatus = 1,  // status exceptions with selector 1
    kCatchText = 2,    // status exceptions with selector 2
    kCatchAll = 4,     // every other fault, and status exceptions no other routine takes
};

struct BlockOutcome {
    unsigned caught = kCatchNone;  // kCatchNone: the body ran through
    uint32_t status = 0;           // parameter 1 of a status exception, else 0
};

// Normal context. Runs body(context) inside a guarded block. A fault the
// block does not catch goes to the next block outwards, then to the crash
// report. Blocks nest at most 64 deep; deeper ones run unguarded (with a
// note on stderr).
BlockOutcome runGuardedRaw(unsigned catches, void (*body)(void*), void* context);

template <typename Body>
BlockOutcome runGuarded(unsigned catches, Body&& body) {
    struct Call {
        std::remove_reference_t<Body>* body;
        std::exception_ptr error;
    } call{&body, nullptr};
    // A C++ exception must not leave through the block's frame: it is
    // carried out and thrown again once the block is closed.
    BlockOutcome outcome = runGuardedRaw(
        catches,
        [](void* p) {
        auto* c = static_cast<Call*>(p);
        try {
            (*c->body)();
        } catch (...) {
            c->error = std::current_exception();
        }
        },
        &call);
    if (call.error) std::rethrow_exception(call.error);
    return outcome;
}

// Normal context. Raises a status exception: the innermost block with a
// matching catch routine resumes with `status`; selector 1 picks
// kCatchStatus, 2 kCatchText, anything else kCatchAll. Without a block to
// take it, it is reported like any other fault.
[[noreturn]] void raiseStatus(uint32_t status, uint32_t selector);

// Normal context, after a block caught a fault on this thread: the status of
// that fault, and its full report text.
uint32_t catch_status();
const char* catch_text();
uint32_t catch_all();

}  // namespace crashguard
