#include "crashguard/routines.h"

#include <unwind.h>

#include <mutex>

#include "crashguard/text_buffer.h"

namespace crashguard {

namespace {

std::mutex& writer_lock() {
    static std::mutex lock;
    return lock;
}

struct IpList {
    uintptr_t ips[64];
    int count = 0;
};

_Unwind_Reason_Code collect_ip(struct _Unwind_Context* context, void* arg) {
    auto* list = static_cast<IpList*>(arg);
    if (list->count >= 64) return _URC_END_OF_STACK;
    int before = 0;
    list->ips[list->count++] = _Unwind_GetIPInfo(context, &before);
    return _URC_NO_REASON;
}

}  // namespace

bool RoutineTable::add(uintptr_t start, const char* name) {
    if (start == 0) return false;
    std::lock_guard<std::mutex> hold(writer_lock());
    int n = __atomic_load_n(&count_, __ATOMIC_ACQUIRE);
    for (int i = 0; i < n; ++i)
        if (entries_[i].start == start) return false;
    if (n >= kCapacity) return false;
    entries_[n].start = start;
    TextBuffer text(entries_[n].name, sizeof(entries_[n].name));
    text.append(name);
    __atomic_store_n(&count_, n + 1, __ATOMIC_RELEASE);
    return true;
}

const Routine* RoutineTable::nearest(uintptr_t address) const {
    int n = __atomic_load_n(&count_, __ATOMIC_ACQUIRE);
    const Routine* best = nullptr;
    for (int i = 0; i < n; ++i) {
        const Routine& r = entries_[i];
        if (r.start > address) continue;
        if (!best || address - r.start < address - best->start) best = &r;
    }
    return best;
}

int RoutineTable::size() const { return __atomic_load_n(&count_, __ATOMIC_ACQUIRE); }

void RoutineTable::clear() {
    std::lock_guard<std::mutex> hold(writer_lock());
    __atomic_store_n(&count_, 0, __ATOMIC_RELEASE);
}

RoutineTable& routine_table() {
    static RoutineTable table;
    return table;
}

// Out of line so that its own frame is the first one the unwind sees and
// `level` counts from its caller.
__attribute__((noinline)) bool register_routine(const char* name, int level) {
    if (level < 0) return false;
    IpList list;
    _Unwind_Backtrace(collect_ip, &list);
    int index = level + 1;
    if (index >= list.count) return false;
    // A return address may lie just past the routine's end when the call was
    // its last instruction, so look up the byte before it.
    void* entry = _Unwind_FindEnclosingFunction(reinterpret_cast<void*>(list.ips[index] - 1));
    bool added = entry && routine_table().add(reinterpret_cast<uintptr_t>(entry), name);
    asm volatile("" ::: "memory");  // keeps this call from becoming a tail call
    return added;
}

bool register_routine_at(const char* name, const void* entry) {
    return routine_table().add(reinterpret_cast<uintptr_t>(entry), name);
}

}  // namespace crashguard
