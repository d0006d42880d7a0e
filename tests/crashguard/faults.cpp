#include "faults.h"

#include <sys/mman.h>

#include <stdexcept>

extern "C" char cg_test_int3_site[];

namespace crashguard_test {

namespace {

void* g_read_only = nullptr;

#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int recurse(int depth) {
    volatile char pad[512];
    pad[0] = static_cast<char>(depth);
    return recurse(depth + 1) + pad[0];
}

}  // namespace

// The sanitizer build would stop these deliberate faults before the guard
// sees the signal they are meant to raise.
__attribute__((noinline, no_sanitize("undefined"))) void null_read() {
    volatile int* p = nullptr;
    (void)*p;
}

uintptr_t read_only_page_address() {
    if (!g_read_only) g_read_only = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return reinterpret_cast<uintptr_t>(g_read_only);
}

__attribute__((noinline)) void write_read_only_page() {
    volatile char* p = reinterpret_cast<volatile char*>(read_only_page_address());
    p[16] = 1;
}

__attribute__((noinline, no_sanitize("undefined"))) void divide_by_zero() {
    volatile int a = 1, b = 0;
    a = a / b;
}

__attribute__((noinline)) void illegal_instruction() { asm volatile("ud2"); }

__attribute__((noinline)) void breakpoint() { asm volatile(".globl cg_test_int3_site\ncg_test_int3_site:\n int3"); }

uintptr_t breakpoint_address() { return reinterpret_cast<uintptr_t>(cg_test_int3_site); }

__attribute__((noinline)) void privileged_instruction() { asm volatile("hlt"); }

__attribute__((noinline)) void overflow_stack() { recurse(0); }

__attribute__((noinline)) void throw_uncaught() { throw std::runtime_error("nobody catches this"); }

}  // namespace crashguard_test
