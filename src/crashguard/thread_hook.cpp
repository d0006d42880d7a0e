// The thread-creation hook. The executable defines pthread_create and exports
// it, so that every thread of the process (ours, GLib's, GTK's, WebKit's)
// starts through it: the new thread gets its alternate signal stack and
// record first, and a way out for exit mode 1.
#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstdlib>

#include "crashguard/guard_state.h"

namespace {

using CreateFn = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

CreateFn g_real_create = nullptr;

// Normal context.
CreateFn realCreate() {
    CreateFn fn = __atomic_load_n(&g_real_create, __ATOMIC_ACQUIRE);
    if (!fn) {
        fn = reinterpret_cast<CreateFn>(dlsym(RTLD_NEXT, "pthread_create"));
        __atomic_store_n(&g_real_create, fn, __ATOMIC_RELEASE);
    }
    return fn;
}

struct StartBlock {
    void* (*start)(void*);
    void* arg;
};

// Runs on the new thread. The jump of exit mode 1 lands here; the thread
// then ends as if its start routine had returned null.
__attribute__((noinline)) void* runWithExitPoint(crashguard::ThreadRecord* rec, void* (*start)(void*), void* arg) {
    if (sigsetjmp(rec->exit_point, 1) != 0) {
        rec->has_exit_point = false;
        return nullptr;
    }
    rec->has_exit_point = true;
    void* result = start(arg);
    rec->has_exit_point = false;
    return result;
}

void* threadStart(void* p) {
    StartBlock block = *static_cast<StartBlock*>(p);
    std::free(p);
    crashguard::ThreadRecord* rec = crashguard::ensureCurrentRecord();
    if (!rec) return block.start(block.arg);
    return runWithExitPoint(rec, block.start, block.arg);
}

}  // namespace

namespace crashguard::detail {

bool resolveThreadHook() { return realCreate() != nullptr; }

}  // namespace crashguard::detail

// Normal context, on the creating thread.
extern "C" __attribute__((visibility("default"))) int pthread_create(
    pthread_t* thread, const pthread_attr_t* attr, void* (*start)(void*), void* arg) noexcept {
    CreateFn real = realCreate();
    if (!real) return EAGAIN;
    if (!crashguard::detail::installed()) return real(thread, attr, start, arg);
    auto* block = static_cast<StartBlock*>(std::malloc(sizeof(StartBlock)));
    if (!block) return real(thread, attr, start, arg);
    block->start = start;
    block->arg = arg;
    int result = real(thread, attr, threadStart, block);
    if (result != 0) std::free(block);
    return result;
}
