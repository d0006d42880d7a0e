// Programmer errors: a caller broke a function's contract (a tab number or
// page index out of range, a reference to a component that is not there
// where one must be). VAROMEL_CHECK(condition) is the condition's value; when
// it is false it also logs a GLib critical naming the condition, file and
// line, and the function goes on with its usual refusal, so a user keeps a
// working program. The tests run with criticals fatal (G_DEBUG=
// fatal-criticals), so there a broken contract stops the test at its cause
// instead of passing as a quiet no-op.
//
//   if (!VAROMEL_CHECK(isTab(n))) return;
#pragma once

namespace runtime {

// Logs the failed check; returns false.
bool checkFailed(const char* condition, const char* file, int line);

}  // namespace runtime

#define VAROMEL_CHECK(condition) ((condition) ? true : ::runtime::checkFailed(#condition, __FILE__, __LINE__))
