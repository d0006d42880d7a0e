#include "crashguard/fault.h"

#include <signal.h>

namespace crashguard {

namespace {

// A fault this close to the stack pointer, or inside the region just below
// the stack, can only be the stack running out.
constexpr uintptr_t kNearStackPointer = 64 * 1024;
constexpr uintptr_t kBelowStackSlack = 64 * 1024;

FaultInfo accessViolation(const SignalFacts& f, uintptr_t target) {
    FaultInfo info;
    info.code = code::kAccessViolation;
    info.address = f.ip;
    info.param_count = 2;
    // The page-fault error code says write in bit 1; anything else (a general
    // protection fault, an instruction fetch) is reported as a read.
    info.params[0] = (f.page_fault && (f.error_code & 2) != 0) ? 1 : 0;
    info.params[1] = target;
    return info;
}

FaultInfo plain(uint32_t c, uintptr_t address) {
    FaultInfo info;
    info.code = c;
    info.address = address;
    return info;
}

}  // namespace

bool looksLikeStackOverflow(const SignalFacts& f) {
    uintptr_t a = f.fault_address;
    if (a == 0) return false;
    if (f.sp != 0) {
        uintptr_t distance = a > f.sp ? a - f.sp : f.sp - a;
        bool inside_stack = f.stack_high == 0 || a < f.stack_high;
        if (distance <= kNearStackPointer && inside_stack) return true;
    }
    if (f.stack_low != 0) {
        uintptr_t reach = f.guard_size + kBelowStackSlack;
        uintptr_t bottom = f.stack_low > reach ? f.stack_low - reach : 0;
        if (a >= bottom && a < f.stack_low) return true;
    }
    return false;
}

bool isPrivilegedInstruction(const uint8_t* b, size_t n) {
    size_t i = 0;
    // Legacy prefixes, then at most one REX prefix.
    while (i < n && i < 14) {
        uint8_t p = b[i];
        bool legacy = p == 0x66 || p == 0x67 || p == 0xF0 || p == 0xF2 || p == 0xF3 || p == 0x2E || p == 0x3E ||
                      p == 0x26 || p == 0x64 || p == 0x65 || p == 0x36;
        if (!legacy) break;
        ++i;
    }
    if (i < n && (b[i] & 0xF0) == 0x40) ++i;
    if (i >= n) return false;
    uint8_t op = b[i];
    switch (op) {
        case 0xF4:  // hlt
        case 0xFA:  // cli
        case 0xFB:  // sti
        case 0x6C:
        case 0x6D:
        case 0x6E:
        case 0x6F:  // ins, outs
        case 0xE4:
        case 0xE5:
        case 0xE6:
        case 0xE7:  // in, out with an immediate port
        case 0xEC:
        case 0xED:
        case 0xEE:
        case 0xEF:  // in, out through dx
            return true;
        case 0x0F: break;
        default: return false;
    }
    if (i + 1 >= n) return false;
    uint8_t op2 = b[i + 1];
    switch (op2) {
        case 0x06:
        case 0x07:
        case 0x08:
        case 0x09:  // clts, sysret, invd, wbinvd
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:  // moves to and from control and debug registers
        case 0x30:
        case 0x32:
        case 0x35:  // wrmsr, rdmsr, sysexit
            return true;
        case 0x00:
        case 0x01: {
            if (i + 2 >= n) return false;
            uint8_t modrm = b[i + 2];
            int reg = (modrm >> 3) & 7;
            if (op2 == 0x00) return reg == 2 || reg == 3;              // lldt, ltr
            return reg == 2 || reg == 3 || reg == 6 || modrm == 0xF8;  // lgdt, lidt, lmsw, swapgs
        }
        default: return false;
    }
}

FaultInfo classifySignal(const SignalFacts& f) {
    // Sent by a process (kill, raise, abort, sigqueue): no fault to decode,
    // so the report names the signal itself.
    bool from_kernel = f.si_code > 0;
    switch (f.signal) {
        case SIGSEGV:
        case SIGBUS:
            if (!from_kernel) break;
            if (f.fault_address == 0 && f.si_code == SI_KERNEL) {
                if (isPrivilegedInstruction(f.code_bytes, f.code_length))
                    return plain(code::kPrivilegedInstruction, f.ip);
                // A general protection fault hides its target (a non-canonical
                // pointer); report it as an access to the top of memory.
                return accessViolation(f, ~static_cast<uintptr_t>(0));
            }
            if (f.signal == SIGSEGV && looksLikeStackOverflow(f)) return plain(code::kStackOverflow, f.ip);
            return accessViolation(f, f.fault_address);
        case SIGFPE:
            if (!from_kernel) break;
            switch (f.si_code) {
                case FPE_INTDIV: return plain(code::kIntegerDivide, f.ip);
                case FPE_INTOVF: return plain(code::kIntegerOverflow, f.ip);
                case FPE_FLTDIV: return plain(code::kFloatDivide, f.ip);
                case FPE_FLTOVF: return plain(code::kFloatOverflow, f.ip);
                case FPE_FLTUND: return plain(code::kFloatUnderflow, f.ip);
                case FPE_FLTRES: return plain(code::kFloatInexact, f.ip);
                default: return plain(code::kFloatInvalid, f.ip);
            }
        case SIGILL:
            if (!from_kernel) break;
            return plain(code::kIllegalInstruction, f.ip);
        case SIGTRAP:
            if (!from_kernel) break;
            // int3 reports the instruction behind it; the report names the int3.
            if (f.si_code == SI_KERNEL || f.si_code == TRAP_BRKPT)
                return plain(code::kBreakpoint, f.ip > 0 && f.si_code == SI_KERNEL ? f.ip - 1 : f.ip);
            return plain(code::kSingleStep, f.ip);
        default: break;
    }
    return plain(static_cast<uint32_t>(f.signal), f.ip);
}

}  // namespace crashguard
