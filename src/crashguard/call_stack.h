// The chain of return addresses of a thread, and its text: which registered
// routine, exported symbol or loaded object each address belongs to.
#pragma once

#include <cstdint>

#include "crashguard/modules.h"
#include "crashguard/routines.h"
#include "crashguard/text_buffer.h"

namespace crashguard {

// Innermost first: the faulting address, then return addresses outwards.
struct FrameList {
    static constexpr int kCapacity = 128;
    uintptr_t addresses[kCapacity];
    int count = 0;
    void push(uintptr_t a) {
        if (count < kCapacity) addresses[count++] = a;
    }
};

// Signal context. Unwinds from the handler through the signal frame; the
// list starts at `fault_ip`. When the unwind cannot find the interrupted
// frame the list holds `fault_ip` alone.
void collect_signal_frames(uintptr_t fault_ip, FrameList& list);
// Normal context. The list starts at an address inside the caller of this
// routine, `skip` frames further up when skip > 0.
void collect_caller_frames(int skip, FrameList& list);

struct SymbolHit {
    const char* name = nullptr;
    uintptr_t start = 0;
};
using SymbolLookup = bool (*)(uintptr_t address, SymbolHit* hit);

// The object's exported symbol that covers the address (inside its size).
// Signal context tolerated: dladdr1 takes the loader's lock for a moment.
bool exported_symbol(uintptr_t address, SymbolHit* hit);

struct WalkInputs {
    const ModuleTable* modules = nullptr;
    const RoutineTable* routines = nullptr;
    SymbolLookup lookup = nullptr;
    int32_t search_distance = 4096;
    bool skip_system_frames = false;
};

// Any context: async-signal-safe apart from what `lookup` does. Writes one
// line per frame from the outermost caller inwards, each indented one space
// more than the one before.
void format_call_stack(const FrameList& frames, const WalkInputs& in, TextBuffer& out);

// Any context. The first return address up the chain that lies in the main
// executable, or the address at which the chain leaves every loaded object.
bool analysis_position(const FrameList& frames, const ModuleTable& modules, uintptr_t* position);

}  // namespace crashguard
