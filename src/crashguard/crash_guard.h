// The crash guard: catches unhandled faults on every thread and reports them.
#pragma once

#include <string>

namespace crashguard {

// Installs the handlers; passive until configure() is called.
void install();
// Applies the program's settings and turns the guard on.
void configure();
// The runtime-error hook: reports the error and ends the process.
bool onRuntimeError(int code, const std::string& message);

}  // namespace crashguard
