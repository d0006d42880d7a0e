// Reads of memory that may be unmapped, done by the kernel: a bad address
// gives a refused read instead of a second fault inside the crash handler.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

// Any context: async-signal-safe. True when all `length` bytes were read.
bool safeRead(uintptr_t address, void* out, size_t length);

// Any context: async-signal-safe. Reads a NUL-terminated text of at most
// capacity - 1 bytes; `out` is always terminated. False when not even the
// first byte could be read.
bool safeReadText(uintptr_t address, char* out, size_t capacity);

// Any context: async-signal-safe. True when the byte at `address` is mapped
// and readable.
bool readable(uintptr_t address);

}  // namespace crashguard
