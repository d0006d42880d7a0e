// Asking the loaded document a question by script, for the properties that
// only the page knows (the selection's font and colours).
#pragma once

#include <webkit2/webkit2.h>

#include <optional>
#include <string>

namespace widgets::web_browser {

// Evaluates an expression in the program's own script world (page scripts
// cannot see or replace what it uses) and waits for its value as text in a
// nested main loop, at most timeoutMs. Gives nothing on timeout, script
// error or a closed page. Event handlers may run while it waits.
std::optional<std::string> evaluateText(WebKitWebView* view, const std::string& expression, int timeoutMs = 1000);

// document.queryCommandValue(name) and document.queryCommandState(name).
std::string queryCommandValue(WebKitWebView* view, const std::string& name);
bool queryCommandState(WebKitWebView* view, const std::string& name);

}  // namespace widgets::web_browser
