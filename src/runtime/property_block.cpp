#include "property_block.h"

#include "gbk.h"

namespace runtime {

BlockWriter& BlockWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) data_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

BlockWriter& BlockWriter::bytes(const Bytes& b) {
    u32(static_cast<uint32_t>(b.size()));
    data_.insert(data_.end(), b.begin(), b.end());
    return *this;
}

BlockWriter& BlockWriter::text(std::string_view utf8) {
    std::string g = gbk::encode(utf8);
    return bytes(Bytes(g.begin(), g.end()));
}

std::optional<uint32_t> BlockReader::u32() {
    if (!ok_ || data_.size() - pos_ < 4) {
        ok_ = false;
        return std::nullopt;
    }
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return v;
}

std::optional<int32_t> BlockReader::i32() {
    auto v = u32();
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<Bytes> BlockReader::bytes() {
    auto len = u32();
    if (!len) return std::nullopt;
    if (*len > data_.size() - pos_) {
        ok_ = false;
        return std::nullopt;
    }
    Bytes out(data_.begin() + static_cast<long>(pos_), data_.begin() + static_cast<long>(pos_ + *len));
    pos_ += *len;
    return out;
}

std::optional<std::string> BlockReader::text() {
    auto b = bytes();
    if (!b) return std::nullopt;
    return gbk::decode(std::string_view(reinterpret_cast<const char*>(b->data()), b->size()));
}

}  // namespace runtime
