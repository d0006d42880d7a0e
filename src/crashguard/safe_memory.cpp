#include "crashguard/safe_memory.h"

#include <sys/uio.h>
#include <unistd.h>

namespace crashguard {

namespace {

constexpr uintptr_t kPage = 4096;

}  // namespace

bool safeRead(uintptr_t address, void* out, size_t length) {
    if (length == 0) return true;
    if (address == 0) return false;
    struct iovec local = {out, length};
    struct iovec remote = {reinterpret_cast<void*>(address), length};
    ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    return n == static_cast<ssize_t>(length);
}

bool safeReadText(uintptr_t address, char* out, size_t capacity) {
    if (capacity == 0) return false;
    out[0] = '\0';
    size_t have = 0;
    // Page by page: a text may end just before an unmapped page, and the
    // kernel refuses a read that reaches into one.
    while (have + 1 < capacity) {
        uintptr_t at = address + have;
        size_t piece = static_cast<size_t>(kPage - (at % kPage));
        if (piece > capacity - 1 - have) piece = capacity - 1 - have;
        if (!safeRead(at, out + have, piece)) {
            out[have] = '\0';
            return have > 0;
        }
        for (size_t i = 0; i < piece; ++i) {
            if (out[have + i] == '\0') return true;
        }
        have += piece;
    }
    out[have] = '\0';
    return true;
}

bool readable(uintptr_t address) {
    char byte;
    return safeRead(address, &byte, 1);
}

}  // namespace crashguard
