// Deliberate faults for the crash tests. Each one is out of line so that the
// optimiser can neither drop it nor fold it into its caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard_test {

void null_read();
void write_read_only_page();
uintptr_t read_only_page_address();
void divide_by_zero();
void illegal_instruction();
void breakpoint();
uintptr_t breakpoint_address();
void privileged_instruction();
void overflow_stack();
void throw_uncaught();
// Moves the stack pointer to 0x1000, then reads address 0.
void fault_with_smashed_stack_pointer();
// Registers itself as "测试.空指针调用者", then calls through a null
// function pointer.
void call_through_null_pointer();
// Registers itself under a long name, recurses `depth` frames deep and
// reads address 0 in the innermost one.
int recurse_then_fault(int depth);
extern const char kRecursionName[];
// Reads past the end of a mapping inside the C library's strlen.
size_t bad_strlen();

}  // namespace crashguard_test
