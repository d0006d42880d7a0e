// The routine table: entry addresses of routines that registered a name, so
// that call-stack lines can name them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

struct Routine {
    uintptr_t start = 0;
    char name[128] = {};
};

// Grows only. Writers (normal context) serialise on a mutex; a reader in a
// signal handler sees every entry published before the count it reads.
class RoutineTable {
public:
    static constexpr int kCapacity = 1024;

    // Normal context. False when the address is 0, already present or the
    // table is full.
    bool add(uintptr_t start, const char* name);
    // Any context: the entry with the smallest distance address - start >= 0;
    // the first entry wins a tie. Null when none starts at or below address.
    const Routine* nearest(uintptr_t address) const;
    int size() const;
    // Normal context; for tests.
    void clear();

private:
    Routine entries_[kCapacity];
    int count_ = 0;  // accessed atomically
};

RoutineTable& routine_table();

// Normal context. Registers the routine `level` frames above the caller
// (0: the caller itself) under `name`; its entry comes from the unwind tables.
bool register_routine(const char* name, int level = 0);
// Normal context. Registers a routine by its entry address.
bool register_routine_at(const char* name, const void* entry);

}  // namespace crashguard
