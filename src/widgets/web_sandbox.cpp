#include "web_sandbox.h"

#include <glib.h>

#include <cstdlib>

namespace widgets::web_browser {

SandboxChoice chooseSandbox(const char* disableVariable, bool (*probe)(std::string* why), std::string* why) {
    // The engine honours any non-empty value of its variable, "0" included.
    if (disableVariable && *disableVariable) return SandboxChoice::kUserRefused;
    return probe(why) ? SandboxChoice::kOn : SandboxChoice::kUnavailable;
}

void EarlySandboxChoice::start(const char* disableVariable, Probe probe) {
    if (early_.valid()) return;
    std::string variable = disableVariable ? disableVariable : "";
    early_ = std::async(std::launch::async, [variable, probe] {
        std::string why;
        SandboxChoice choice = chooseSandbox(variable.c_str(), probe, &why);
        return std::make_pair(choice, why);
    });
}

SandboxChoice EarlySandboxChoice::take(const char* disableVariable, Probe probe, std::string* why) {
    if (!early_.valid()) return chooseSandbox(disableVariable, probe, why);
    auto [choice, reason] = early_.get();
    *why = std::move(reason);
    return choice;
}

bool probeBubblewrap(std::string* why) {
    // The engine starts these two from its own fixed places; the search path
    // is what a packager installs them into.
    for (const char* program : {"bwrap", "xdg-dbus-proxy"}) {
        gchar* path = g_find_program_in_path(program);
        if (!path) {
            *why = std::string(program) + " is not installed";
            return false;
        }
        g_free(path);
    }
    const gchar* argv[] = {"bwrap", "--ro-bind", "/", "/", "--unshare-all", "--die-with-parent", "true", nullptr};
    gchar* errors = nullptr;
    gint status = 0;
    GError* error = nullptr;
    bool ran = g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL), nullptr, nullptr, nullptr, &errors,
        &status, &error);
    if (!ran) {
        *why = error ? error->message : "bwrap could not be started";
        g_clear_error(&error);
        return false;
    }
    bool ok = g_spawn_check_wait_status(status, nullptr);
    if (!ok) {
        std::string text = errors ? errors : "";
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        *why = text.empty() ? "bwrap failed" : text;
    }
    g_free(errors);
    return ok;
}

}  // namespace widgets::web_browser
