// What a fault was, in the exception codes the crash report speaks, and how a
// signal maps onto them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

namespace code {
constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint32_t kIntegerDivide = 0xC0000094;
constexpr uint32_t kFloatDivide = 0xC000008E;
constexpr uint32_t kFloatInexact = 0xC000008F;
constexpr uint32_t kFloatInvalid = 0xC0000090;
constexpr uint32_t kFloatOverflow = 0xC0000091;
constexpr uint32_t kFloatUnderflow = 0xC0000093;
constexpr uint32_t kIntegerOverflow = 0xC0000095;
constexpr uint32_t kStackOverflow = 0xC00000FD;
constexpr uint32_t kIllegalInstruction = 0xC000001D;
constexpr uint32_t kBreakpoint = 0x80000003;
constexpr uint32_t kSingleStep = 0x80000004;
constexpr uint32_t kPrivilegedInstruction = 0xC0000096;
constexpr uint32_t kCxxThrow = 0xE06D7363;
constexpr uint32_t kGuardedStatus = 0x206D7361;
}  // namespace code

constexpr int kMaxFaultParams = 15;

struct FaultInfo {
    uint32_t code = 0;
    uintptr_t address = 0;  // where it happened
    uint32_t param_count = 0;
    uintptr_t params[kMaxFaultParams] = {};
};

// Everything about a signal that the classification looks at, copied out of
// the siginfo and the machine context by the handler.
struct SignalFacts {
    int signal = 0;
    int si_code = 0;
    uintptr_t fault_address = 0;  // si_addr, meaningful for kernel faults only
    bool page_fault = false;      // trap number 14: the error code below is real
    uint64_t error_code = 0;
    uintptr_t ip = 0;
    uintptr_t sp = 0;
    const uint8_t* code_bytes = nullptr;  // the bytes at ip, when readable
    size_t code_length = 0;
    uintptr_t stack_low = 0;  // the thread's usable stack, when known
    uintptr_t stack_high = 0;
    uintptr_t guard_size = 0;
};

// Any context: async-signal-safe.
FaultInfo classifySignal(const SignalFacts& facts);
bool isPrivilegedInstruction(const uint8_t* bytes, size_t length);
bool looksLikeStackOverflow(const SignalFacts& facts);

}  // namespace crashguard
