// Exported symbols of a loaded object, read from its dynamic symbol table in
// memory. The loader's own lookup (dladdr) takes the loader's lock, which a
// thread may hold at the moment another one crashes; this reads the tables
// through the kernel instead, so a torn or unmapped table gives no name
// rather than a hang or a second fault.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

struct ElfSymbol {
    uintptr_t start = 0;
    char name[256] = {};
};

// Signal context: async-signal-safe. The defined function symbol of the
// object whose lowest mapping starts at `object_start` (where its ELF header
// lies) that covers `address`: start <= address <= start + size, the end
// included for a call that is a routine's last instruction. When several
// cover it, the one starting closest below wins. `object_end` is one past
// the object's last mapped byte.
bool elfSymbolAt(uintptr_t object_start, uintptr_t object_end, uintptr_t address, ElfSymbol* out);

}  // namespace crashguard
