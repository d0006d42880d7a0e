#include "crashguard/thread_record.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <new>

namespace crashguard {

namespace {

// Initial-exec so that the handler reads it without the TLS resolver.
__attribute__((tls_model("initial-exec"))) thread_local ThreadRecord* t_record = nullptr;

pthread_key_t g_cleanup_key;
bool g_key_ready = false;

size_t pageSize() {
    long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<size_t>(size) : 4096;
}

// Runs at thread exit on the exiting thread: normal context.
void releaseRecord(void* value) {
    auto* rec = static_cast<ThreadRecord*>(value);
    if (!rec) return;
    stack_t off = {};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
    if (t_record == rec) t_record = nullptr;
    void* mapping = rec->mapping;
    size_t size = rec->mapping_size;
    rec->~ThreadRecord();
    munmap(mapping, size);
}

void readStackRange(ThreadRecord* rec) {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    void* address = nullptr;
    size_t size = 0, guard = 0;
    if (pthread_attr_getstack(&attr, &address, &size) == 0) {
        rec->stack_low = reinterpret_cast<uintptr_t>(address);
        rec->stack_high = rec->stack_low + size;
    }
    if (pthread_attr_getguardsize(&attr, &guard) == 0) rec->guard_size = guard;
    pthread_attr_destroy(&attr);
}

}  // namespace

ThreadRecord* currentRecord() { return t_record; }

pid_t currentTid() { return static_cast<pid_t>(syscall(SYS_gettid)); }

bool isMainThread() { return currentTid() == getpid(); }

void initThreadRecords() {
    if (!g_key_ready) g_key_ready = pthread_key_create(&g_cleanup_key, releaseRecord) == 0;
}

ThreadRecord* ensureCurrentRecord() {
    if (t_record) return t_record;
    size_t page = pageSize();
    size_t record_size = (sizeof(ThreadRecord) + page - 1) / page * page;
    size_t total = page + kAltStackSize + record_size;
    void* mapping = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return nullptr;
    // The lowest page stays inaccessible so that a handler that overruns the
    // alternate stack faults instead of writing over whatever lies below.
    mprotect(mapping, page, PROT_NONE);
    char* base = static_cast<char*>(mapping);
    auto* rec = new (base + page + kAltStackSize) ThreadRecord();
    rec->mapping = mapping;
    rec->mapping_size = total;
    rec->tid = currentTid();
    readStackRange(rec);

    stack_t alt = {};
    alt.ss_sp = base + page;
    alt.ss_size = kAltStackSize;
    alt.ss_flags = 0;
    sigaltstack(&alt, nullptr);

    t_record = rec;
    if (g_key_ready) pthread_setspecific(g_cleanup_key, rec);
    return rec;
}

}  // namespace crashguard
