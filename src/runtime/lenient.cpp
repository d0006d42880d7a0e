#include "lenient.h"

#include "runtime.h"

namespace runtime::lenient {

bool live(ComponentRef ref) { return !ref.isNull() && Runtime::instance().exists(ref); }

bool visible(ComponentRef ref) { return live(ref) && asBool(Runtime::instance().get(ref, prop::kVisible)); }

void setVisible(ComponentRef ref, bool shown) { set(ref, prop::kVisible, shown); }

int32_t number(ComponentRef ref, int index) { return live(ref) ? asInt(Runtime::instance().get(ref, index)) : 0; }

std::string text(ComponentRef ref, int index) { return live(ref) ? asText(Runtime::instance().get(ref, index)) : ""; }

void set(ComponentRef ref, int index, const Value& v) {
    if (live(ref)) Runtime::instance().set(ref, index, v);
}

Value arg(const Event& e, size_t i) { return i < e.args.size() ? e.args[i] : Value{}; }

int32_t intArg(const Event& e, size_t i) { return i < e.args.size() ? asInt(e.args[i]) : 0; }

}  // namespace runtime::lenient
