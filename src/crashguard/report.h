// The texts of the crash report.
#pragma once

#include <cstdint>

#include "crashguard/fault.h"
#include "crashguard/text_buffer.h"

namespace crashguard {

struct ReportPlace {
    const char* module_name = nullptr;  // null or empty: the address lies in no loaded object
    uintptr_t module_offset = 0;
    bool has_analysis = false;
    uintptr_t analysis = 0;
};

// Any context: async-signal-safe.
void composeFaultReport(const FaultInfo& fault, const ReportPlace& place, TextBuffer& out);
void composeRuntimeErrorReport(int code, const char* message, TextBuffer& out);
// The text shown and written out: the report, then the call stack when it is
// wanted and not empty, then the additional info when there is any.
void composeFullText(
    const char* report, const char* call_stack, bool include_call_stack, const char* additional_info, TextBuffer& out);

}  // namespace crashguard
