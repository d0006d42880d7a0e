#include "crashguard/text_buffer.h"

namespace crashguard {

TextBuffer::TextBuffer(char* storage, size_t capacity) : storage_(storage), capacity_(capacity) {
    if (capacity_ > 0) storage_[0] = '\0';
}

void TextBuffer::append(const char* text) { append(text, safeStrlen(text)); }

void TextBuffer::append(const char* text, size_t length) {
    if (capacity_ == 0) {
        truncated_ = truncated_ || length > 0;
        return;
    }
    size_t room = capacity_ - 1 - length_;
    if (length > room) {
        truncated_ = true;
        length = room;
    }
    for (size_t i = 0; i < length; ++i) storage_[length_ + i] = text[i];
    length_ += length;
    storage_[length_] = '\0';
}

void TextBuffer::appendChar(char c) { append(&c, 1); }

void TextBuffer::appendSpaces(int count) {
    for (int i = 0; i < count; ++i) appendChar(' ');
}

void TextBuffer::appendHex(uint64_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    if (digits < 1) digits = 1;
    if (digits > 16) digits = 16;
    char text[16];
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = kDigits[value & 0xF];
        value >>= 4;
    }
    append(text, static_cast<size_t>(digits));
}

void TextBuffer::appendAutoHex(uint64_t value) {
    int digits = value <= 0xFF ? 2 : value <= 0xFFFF ? 4 : value <= 0xFFFFFFFFu ? 8 : 16;
    appendHex(value, digits);
}

void TextBuffer::appendDecimal(int64_t value) {
    char text[24];
    int n = 0;
    // Work on the magnitude as unsigned so that the smallest int64 survives.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        text[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) appendChar('-');
    while (n > 0) appendChar(text[--n]);
}

void TextBuffer::clear() {
    length_ = 0;
    truncated_ = false;
    if (capacity_ > 0) storage_[0] = '\0';
}

void TextBuffer::truncate(size_t length) {
    if (length >= length_) return;
    length_ = length;
    truncated_ = false;
    storage_[length_] = '\0';
}

size_t safeStrlen(const char* text) {
    size_t n = 0;
    if (text)
        while (text[n] != '\0') ++n;
    return n;
}

bool safeStreq(const char* a, const char* b) {
    if (!a || !b) return a == b;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace crashguard
