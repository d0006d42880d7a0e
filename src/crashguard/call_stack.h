// The chain of return addresses of a thread, and its text: which registered
// routine, exported symbol or loaded object each address belongs to.
#pragma once

#include <cstdint>

#include "crashguard/elf_symbols.h"
#include "crashguard/modules.h"
#include "crashguard/routines.h"
#include "crashguard/text_buffer.h"

namespace crashguard {

// Innermost first: the faulting address, then return addresses outwards.
struct FrameList {
    static constexpr int kCapacity = 128;
    uintptr_t addresses[kCapacity];
    int count = 0;
    // Set when the stack pointer lay outside the thread's stack, so that no
    // unwinding was tried; the list then holds the faulting address alone.
    bool unwalkable = false;
    uintptr_t stack_pointer = 0;
    void push(uintptr_t a) {
        if (count < kCapacity) addresses[count++] = a;
    }
};

// Signal context. Unwinds from the handler through the signal frame, whose
// saved instruction pointer is `resume_ip`; the list starts at `fault_ip`,
// then `resume_ip` when the two differ (the caller of a call through a bad
// pointer), then the frames outwards. When the unwind cannot find the
// interrupted frame the list holds those first addresses alone.
void collectSignalFrames(uintptr_t fault_ip, uintptr_t resume_ip, FrameList& list);
// Normal context. The list starts at an address inside the caller of this
// routine, `skip` frames further up when skip > 0.
void collectCallerFrames(int skip, FrameList& list);

using SymbolHit = ElfSymbol;
using SymbolLookup = bool (*)(const Module& module, uintptr_t address, SymbolHit* hit);

// Signal context: async-signal-safe, takes no lock. The module's exported
// symbol that covers the address (inside its size).
bool exportedSymbol(const Module& module, uintptr_t address, SymbolHit* hit);

// Lines of the call-stack text are indented one space per line from the
// outermost caller inwards, up to this many spaces: 128 frames at one more
// space each would take 8,128 bytes of spaces alone.
constexpr int kMaxIndent = 16;

struct WalkInputs {
    const ModuleTable* modules = nullptr;
    const RoutineTable* routines = nullptr;
    SymbolLookup lookup = nullptr;
    int32_t search_distance = 4096;
    bool skip_system_frames = false;
};

// Any context: async-signal-safe apart from what `lookup` does. Writes one
// line per frame from the outermost caller inwards, each indented one space
// more than the one before (at most kMaxIndent). When the lines do not all
// fit, the outermost ones are left out: the faulting frame and its callers
// are what a reader needs. An unwalkable list starts with a line that says
// so and names the stack pointer.
void formatCallStack(const FrameList& frames, const WalkInputs& in, TextBuffer& out);

// Any context. The first return address up the chain that lies in the main
// executable, or the address at which the chain leaves every loaded object.
// When the faulting address is no code (a call through a bad pointer), the
// caller's return address stands first in the chain.
bool analysisPosition(const FrameList& frames, const ModuleTable& modules, uintptr_t* position);

}  // namespace crashguard
