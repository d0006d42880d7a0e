// Whether the web process can run in the engine's sandbox (bubblewrap). A
// page that breaks the engine then finds itself in namespaces of its own
// without the user's files; where the sandbox cannot run (a container
// without user namespaces) the program still starts, unsandboxed, and says
// so once.
#pragma once

#include <future>
#include <string>
#include <utility>

namespace widgets::web_browser {

enum class SandboxChoice {
    kOn,           // the sandbox is enabled
    kUserRefused,  // the user's WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS
    kUnavailable,  // bubblewrap or the D-Bus proxy cannot run here
};

// What to do, from the user's variable and the probe's result (the probe
// runs only when its answer matters).
SandboxChoice chooseSandbox(const char* disableVariable, bool (*probe)(std::string* why), std::string* why);

// The probe starts a process and waits for it: 10 to 20 ms in the middle of
// making the first web view, more on a busy machine. Started early on a
// thread of its own, it runs while the window is built, and the first view
// takes the answer ready; a view made without that start makes the choice
// itself, as before.
class EarlySandboxChoice {
public:
    using Probe = bool (*)(std::string* why);

    // Begins the choice on a thread. The user's variable is read by the
    // caller, so the thread touches no environment.
    void start(const char* disableVariable, Probe probe);

    // The started choice once it is ready (at most once), or one made now.
    SandboxChoice take(const char* disableVariable, Probe probe, std::string* why);

private:
    std::future<std::pair<SandboxChoice, std::string>> early_;
};

// Runs bubblewrap once with every namespace unshared (a few milliseconds)
// and looks for the D-Bus proxy the engine starts beside it.
bool probeBubblewrap(std::string* why);

}  // namespace widgets::web_browser
