#include "value.h"

#include <cmath>

namespace runtime {

int32_t asInt(const Value& v) {
    if (auto p = std::get_if<int32_t>(&v)) return *p;
    if (auto p = std::get_if<bool>(&v)) return *p ? 1 : 0;
    if (auto p = std::get_if<double>(&v)) {
        if (!std::isfinite(*p)) return 0;
        if (*p >= 2147483647.0) return INT32_MAX;
        if (*p <= -2147483648.0) return INT32_MIN;
        return static_cast<int32_t>(*p);  // truncation toward zero
    }
    if (auto p = std::get_if<std::string>(&v)) {
        try {
            return static_cast<int32_t>(std::stol(*p));
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

bool asBool(const Value& v) {
    if (auto p = std::get_if<bool>(&v)) return *p;
    if (auto p = std::get_if<std::string>(&v)) return !p->empty();
    return asInt(v) != 0;
}

std::string asText(const Value& v) {
    if (auto p = std::get_if<std::string>(&v)) return *p;
    if (auto p = std::get_if<int32_t>(&v)) return std::to_string(*p);
    if (auto p = std::get_if<bool>(&v)) return *p ? "真" : "假";
    if (auto p = std::get_if<double>(&v)) {
        std::string s = std::to_string(*p);
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
        return s;
    }
    return {};
}

double asDouble(const Value& v) {
    if (auto p = std::get_if<double>(&v)) return *p;
    return asInt(v);
}

ComponentRef asRef(const Value& v) {
    if (auto p = std::get_if<ComponentRef>(&v)) return *p;
    return {};
}

const Bytes& asBytes(const Value& v) {
    static const Bytes empty;
    if (auto p = std::get_if<Bytes>(&v)) return *p;
    return empty;
}

}  // namespace runtime
