// The loaded objects of the process (the executable, shared libraries) with
// the address range each one's mappings cover, read from /proc/self/maps.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

struct Module {
    uintptr_t start = 0;
    uintptr_t end = 0;    // last mapped byte + 1; lookups include it, as a return address may sit there
    char name[256] = {};  // file name without its folder
};

struct CodeRange {
    uintptr_t start = 0;
    uintptr_t end = 0;
};

// Filled from the maps text; the main executable comes first when found.
// Large (about 120 KiB): keep it static or on the heap, never on a signal stack.
struct ModuleTable {
    static constexpr int kMaxModules = 384;
    static constexpr int kMaxCodeRanges = 768;
    int module_count = 0;
    Module modules[kMaxModules];
    int code_count = 0;
    CodeRange code[kMaxCodeRanges];

    // Any context: async-signal-safe.
    const Module* moduleOf(uintptr_t address) const;
    // True when the address lies in an executable mapping.
    bool isCode(uintptr_t address) const;
    bool isMainExecutable(const Module* module) const { return module_count > 0 && module == &modules[0]; }
};

// Builds a module table from maps text fed in pieces of any size.
// Any context: async-signal-safe.
class MapsParser {
public:
    // `main_path` is the executable's full path, or null.
    MapsParser(ModuleTable& table, const char* main_path);
    void feed(const char* data, size_t length);
    void finish();

private:
    void takeLine();
    void addModule(const char* path, uintptr_t start, uintptr_t end);

    ModuleTable& table_;
    const char* main_path_;
    int main_index_ = -1;
    char line_[4352];
    size_t line_length_ = 0;
    bool line_overflow_ = false;
};

// Signal context allowed: open/read/close only. False when the maps file
// cannot be read (the table is then empty).
bool snapshotModules(ModuleTable& table, const char* main_path);

// True for the C library and the dynamic loader, whose frames lead every
// thread's stack and carry nothing of ours.
// Any context: async-signal-safe.
bool isSystemModule(const char* name);

}  // namespace crashguard
