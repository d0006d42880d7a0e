#include "faults.h"

#include <sys/mman.h>

#include <cstring>
#include <stdexcept>

#include "crashguard/routines.h"

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
__attribute__((noinline, no_sanitize("undefined"))) void nullRead() {
    volatile int* p = nullptr;
    (void)*p;
}

uintptr_t readOnlyPageAddress() {
    if (!g_read_only) g_read_only = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return reinterpret_cast<uintptr_t>(g_read_only);
}

__attribute__((noinline)) void writeReadOnlyPage() {
    volatile char* p = reinterpret_cast<volatile char*>(readOnlyPageAddress());
    p[16] = 1;
}

__attribute__((noinline, no_sanitize("undefined"))) void divideByZero() {
    volatile int a = 1, b = 0;
    a = a / b;
}

__attribute__((noinline)) void illegalInstruction() { asm volatile("ud2"); }

__attribute__((noinline)) void breakpoint() { asm volatile(".globl cg_test_int3_site\ncg_test_int3_site:\n int3"); }

uintptr_t breakpointAddress() { return reinterpret_cast<uintptr_t>(cg_test_int3_site); }

__attribute__((noinline)) void privilegedInstruction() { asm volatile("hlt"); }

__attribute__((noinline)) void overflowStack() { recurse(0); }

__attribute__((noinline)) void throwUncaught() { throw std::runtime_error("nobody catches this"); }

__attribute__((noinline, no_sanitize("address", "undefined"))) void faultWithSmashedStackPointer() {
    asm volatile(
        "mov $0x1000, %%rsp\n\t"
        "xor %%eax, %%eax\n\t"
        "mov (%%rax), %%rax\n\t" ::
            : "rax", "memory");
}

__attribute__((noinline, no_sanitize("undefined"))) void callThroughNullPointer() {
    crashguard::registerRoutine("测试.空指针调用者");
    void (*volatile target)() = nullptr;
    target();
    asm volatile("" ::: "memory");  // no tail call: the caller's frame stays
}

const char kRecursionName[] =
    "测试.递归子程序_with_a_name_long_enough_that_two_hundred_frames_cannot_all_fit_in_the_call_stack_text";

__attribute__((noinline, no_sanitize("undefined"))) int recurseThenFault(int depth) {
    if (depth == 0) crashguard::registerRoutine(kRecursionName);
    if (depth == 199) {
        volatile int* p = nullptr;
        return *p;
    }
    int r = recurseThenFault(depth + 1);
    asm volatile("" : "+r"(r));  // keeps every frame: no loop, no tail call
    return r + 1;
}

__attribute__((noinline)) size_t badStrlen() {
    // A page of 'x' with nothing mapped behind it: strlen runs off its end.
    char* page = static_cast<char*>(mmap(nullptr, 8192, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    munmap(page + 4096, 4096);
    std::memset(page, 'x', 4096);
    const char* volatile text = page;
    return std::strlen(text);
}

}  // namespace crashguard_test
