// Whether the web process can run in the engine's sandbox (bubblewrap). A
// page that breaks the engine then finds itself in namespaces of its own
// without the user's files; where the sandbox cannot run (a container
// without user namespaces) the program still starts, unsandboxed, and says
// so once.
#pragma once

#include <string>

namespace widgets::web_browser {

enum class SandboxChoice {
    kOn,           // the sandbox is enabled
    kUserRefused,  // the user's WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS
    kUnavailable,  // bubblewrap or the D-Bus proxy cannot run here
};

// What to do, from the user's variable and the probe's result (the probe
// runs only when its answer matters).
SandboxChoice chooseSandbox(const char* disableVariable, bool (*probe)(std::string* why), std::string* why);

// Runs bubblewrap once with every namespace unshared (a few milliseconds)
// and looks for the D-Bus proxy the engine starts beside it.
bool probeBubblewrap(std::string* why);

}  // namespace widgets::web_browser
