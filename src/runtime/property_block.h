// Versioned property blocks: little-endian 32-bit fields, byte blocks as a
// 32-bit length and the bytes, texts as GBK bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "value.h"

namespace runtime {

class BlockWriter {
public:
    BlockWriter& u32(uint32_t v);
    BlockWriter& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    BlockWriter& bytes(const Bytes& b);
    // Writes the GBK form of a UTF-8 text as a length-prefixed byte block.
    BlockWriter& text(std::string_view utf8);
    const Bytes& data() const { return data_; }
    Bytes take() { return std::move(data_); }

private:
    Bytes data_;
};

// Reads fields in order. Every read past the end fails softly: the reader
// turns bad and returns nothing, so a truncated block is refused, not
// misread.
class BlockReader {
public:
    explicit BlockReader(const Bytes& data) : data_(data) {}
    std::optional<uint32_t> u32();
    std::optional<int32_t> i32();
    std::optional<Bytes> bytes();
    // Reads a length-prefixed GBK text and returns it as UTF-8.
    std::optional<std::string> text();
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ == data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }

private:
    const Bytes& data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace runtime
