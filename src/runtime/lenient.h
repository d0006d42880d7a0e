// Reading and writing components by reference where the component may be
// missing: one the window loader left out (its kind refused its block) or
// one not made yet reads as zero or empty and ignores writes, so one bad
// picture costs its own component and not a whole layout pass. Event
// arguments past the end read as empty in the same spirit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "component.h"

namespace runtime::lenient {

// Whether the component (or window) exists in the one runtime.
bool live(ComponentRef ref);

bool visible(ComponentRef ref);
void setVisible(ComponentRef ref, bool shown);
int32_t number(ComponentRef ref, int index);
std::string text(ComponentRef ref, int index);
void set(ComponentRef ref, int index, const Value& v);

// Argument i of an event; empty (or 0) when the event carries fewer.
Value arg(const Event& e, size_t i);
int32_t intArg(const Event& e, size_t i);

}  // namespace runtime::lenient
