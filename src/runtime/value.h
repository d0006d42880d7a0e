// Values carried by component properties and event arguments.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace runtime {

// Names one component of a loaded window. The window itself is component 0
// of its own window.
struct ComponentRef {
    uint32_t window = 0;
    uint32_t component = 0;
    bool operator==(const ComponentRef&) const = default;
    bool isNull() const { return window == 0 && component == 0; }
};

using Bytes = std::vector<uint8_t>;

// Text inside the program is UTF-8; the GBK form exists only in property
// blocks and in the byte arithmetic that gbk.h provides.
using Value = std::variant<std::monostate, int32_t, bool, std::string, Bytes, double, ComponentRef>;

// Lenient readers: a handler that expects an integer and gets a logical (or
// the reverse) sees the obvious conversion instead of a crash.
int32_t asInt(const Value& v);
bool asBool(const Value& v);
std::string asText(const Value& v);
double asDouble(const Value& v);
ComponentRef asRef(const Value& v);
const Bytes& asBytes(const Value& v);

}  // namespace runtime
