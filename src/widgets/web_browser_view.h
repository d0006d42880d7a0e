// Making the WebKit views that browser controls show, all with the same lean
// settings in one private (ephemeral) context.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "runtime/gobject_ptr.h"

namespace widgets::web_browser {

// Begins the check of whether the web process can run in its sandbox on a
// thread, so that the first view finds the answer ready. Optional: without
// it the first view runs the check itself.
void startSandboxCheck();

// A new view of the shared context, owned by the caller (not floating).
runtime::GObjectPtr<WebKitWebView> newView();
// A new view that shares the opener's web process and session, so that a
// page opened by the opener (window.open, target=_blank) can load into it.
runtime::GObjectPtr<WebKitWebView> newRelatedView(WebKitWebView* opener);

// Views made by newView and newRelatedView that are not yet finalised.
int liveViewCount();

// The running program's path, as the full-name property gives it.
std::string executablePath();

}  // namespace widgets::web_browser
