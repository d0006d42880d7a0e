// The routine table: entry addresses of routines that registered a name, so
// that call-stack lines can name them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

struct Routine {
    uintptr_t start = 0;
    uintptr_t end = 0;  // one past the last byte; 0 when the extent is unknown
    char name[128] = {};
};

// Grows only. Writers (normal context) serialise on a mutex; a reader in a
// signal handler sees every entry published before the count it reads.
class RoutineTable {
public:
    static constexpr int kCapacity = 1024;

    // Normal context. False when the address is 0, already present or the
    // table is full. `end` is one past the routine's last byte, or 0 when
    // unknown.
    bool add(uintptr_t start, const char* name, uintptr_t end = 0);
    // Any context: among the routines that cover the address, the one with
    // the smallest distance address - start; the first entry wins a tie. A
    // routine with a known extent covers start..end (the end included: a
    // call that is its last instruction returns there); one without covers
    // `reach` bytes from its start. Null when none covers it.
    const Routine* nearest(uintptr_t address, uintptr_t reach) const;
    int size() const;
    // Normal context; for tests.
    void clear();

private:
    Routine entries_[kCapacity];
    int count_ = 0;  // accessed atomically
};

RoutineTable& routineTable();

// Normal context. Registers the routine `level` frames above the caller
// (0: the caller itself) under `name`; its entry and extent come from the
// unwind tables.
bool registerRoutine(const char* name, int level = 0);
// Normal context. Registers a routine by its entry address; its extent
// comes from the unwind tables when they describe it.
bool registerRoutineAt(const char* name, const void* entry);

// Normal context. The code range [start, end) the unwind tables give for
// the routine that contains `address`; false when they have none.
bool routineExtent(uintptr_t address, uintptr_t* start, uintptr_t* end);

}  // namespace crashguard
