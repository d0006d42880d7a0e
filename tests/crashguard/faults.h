// Deliberate faults for the crash tests. Each one is out of line so that the
// optimiser can neither drop it nor fold it into its caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crashguard_test {

void nullRead();
void writeReadOnlyPage();
uintptr_t readOnlyPageAddress();
void divideByZero();
void illegalInstruction();
void breakpoint();
uintptr_t breakpointAddress();
void privilegedInstruction();
void overflowStack();
void throwUncaught();
// Moves the stack pointer to 0x1000, then reads address 0.
void faultWithSmashedStackPointer();
// Registers itself as "测试.空指针调用者", then calls through a null
// function pointer.
void callThroughNullPointer();
// Registers itself under a long name, recurses `depth` frames deep and
// reads address 0 in the innermost one.
int recurseThenFault(int depth);
extern const char kRecursionName[];
// Reads past the end of a mapping inside the C library's strlen.
size_t badStrlen();

}  // namespace crashguard_test
