// Per-thread state of the guard: the alternate signal stack, the thread's
// stack range, its last report and its stack of guarded blocks.
#pragma once

#include <setjmp.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace crashguard {

struct GuardedFrame {
    sigjmp_buf resume;
    unsigned catches = 0;  // Catch bits of the block
    int caught = 0;        // the Catch value that took the fault
    uint32_t status = 0;
};

struct ThreadRecord {
    static constexpr int kMaxGuardedFrames = 64;

    pid_t tid = 0;
    uintptr_t stack_low = 0;  // usable stack, lowest address
    uintptr_t stack_high = 0;
    uintptr_t guard_size = 0;

    char report[4096] = {};
    char call_stack[8192] = {};
    char additional_info[1024] = {};
    char full_text[14336] = {};
    char module_name[256] = {};

    // Guarded blocks, innermost last. The count is only changed by the
    // owning thread and read by its own signal handler.
    volatile int frame_count = 0;
    GuardedFrame frames[kMaxGuardedFrames];
    uint32_t last_status = 0;  // status of the fault the last block caught

    // Set up by the thread-start wrapper: the way out of the thread when
    // exit mode 1 ends only the faulting thread.
    volatile bool has_exit_point = false;
    sigjmp_buf exit_point;

    void* mapping = nullptr;  // the block holding the alternate stack and this record
    size_t mapping_size = 0;
};

// Size of each thread's alternate signal stack (one guard page sits below it).
constexpr size_t kAltStackSize = 96 * 1024;

// Any context: the calling thread's record, or null.
ThreadRecord* currentRecord();
// Normal context. Gives the calling thread a record with its alternate stack
// and stack range, made on first use; null when memory runs out. The record
// is freed when the thread ends.
ThreadRecord* ensureCurrentRecord();
// Normal context, once per process: lets thread exit free the records.
void initThreadRecords();

pid_t currentTid();
bool isMainThread();

}  // namespace crashguard
