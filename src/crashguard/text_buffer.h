// Fixed-capacity text building for the crash guard. Nothing here allocates or
// touches stdio, so it may run inside a signal handler.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard {

// Appends into caller-owned storage and always keeps it NUL-terminated. Text
// that does not fit is dropped and remembered as truncated.
// Any context: async-signal-safe.
class TextBuffer {
public:
    TextBuffer(char* storage, size_t capacity);

    void append(const char* text);
    void append(const char* text, size_t length);
    void appendChar(char c);
    void appendSpaces(int count);
    // Upper-case hexadecimal with exactly `digits` digits (1 to 16).
    void appendHex(uint64_t value, int digits);
    // Distances: 2 digits up to 0xFF, 4 up to 0xFFFF, 8 up to 0xFFFFFFFF,
    // else 16.
    void appendAutoHex(uint64_t value);
    void appendDecimal(int64_t value);
    void clear();
    // Drops everything after the first `length` bytes.
    void truncate(size_t length);

    const char* c_str() const { return storage_; }
    size_t size() const { return length_; }
    // Bytes that can still be appended.
    size_t room() const { return capacity_ > 0 ? capacity_ - 1 - length_ : 0; }
    bool empty() const { return length_ == 0; }
    bool truncated() const { return truncated_; }

private:
    char* storage_;
    size_t capacity_;
    size_t length_ = 0;
    bool truncated_ = false;
};

// Address width on this platform, in hex digits.
constexpr int kAddressDigits = 16;

// Any context: async-signal-safe.
size_t safeStrlen(const char* text);
bool safeStreq(const char* a, const char* b);

}  // namespace crashguard
