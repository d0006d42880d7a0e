// The crash guard: catches unhandled faults on every thread and reports them.
#pragma once

#include <string>

#include "crashguard/guarded_block.h"
#include "crashguard/routines.h"
#include "crashguard/settings.h"

namespace crashguard {

// Normal context, once, on the main thread before other threads start:
// installs the handlers; passive until configure() is called.
void install();
// Applies the program's own settings (no callback, no message box, the
// whole process ends) and turns the guard on.
void configure();
// Applies `options` (omitted fields take their defaults) and turns the guard
// on. An empty owner window class is replaced by the current one.
void configure(Options& options);
// The runtime-error hook: when the guard is on and hooks runtime errors, it
// reports the error and ends the process with status 255; otherwise it
// returns false and leaves the error to the runtime.
bool onRuntimeError(int code, const std::string& message);

// Normal context. Call after the first web view exists: its script engine
// may have installed signal handlers of its own; ours go back in front and
// chain to theirs.
void reassertHandlers();
// Normal context. Text added to this thread's crash report after
// "附属信息：" (at most 1023 bytes).
void setAdditionalInfo(const std::string& text);
// Normal context. The program that shows a crash text when the message box
// is on; it reads the text on standard input and gets the caption and the
// owner window class as arguments. Default: helperPathFor() of the
// running program.
void setMessageBoxHelper(const std::string& path);

// Normal context: the runtime-error report's text, as onRuntimeError
// writes it.
std::string runtimeErrorText(int code, const std::string& message);

}  // namespace crashguard
