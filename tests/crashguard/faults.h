// Deliberate faults for the crash tests. Each one is out of line so that the
// optimiser can neither drop it nor fold it into its caller.
#pragma once

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

}  // namespace crashguard_test
