// Downloads the user decides. Every download of the shared context passes
// one gate: a download that no user action approved is cancelled before a
// byte is written; an approved one asks where to save ("另存为", owned by the
// window of the view it came from), shows its progress in a small window
// with a cancel button, and leaves no partial file when it fails or is
// cancelled.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

namespace widgets::web_browser {

// Connects the gate to the context; once, before the first view loads.
void guardDownloads(WebKitWebContext* context);

// The user started a download of uri in view: a click decided with a
// gesture, or the context menu's save item. The next download of that
// address from that view passes the gate.
void approveDownload(WebKitWebView* view, const std::string& uri);

// Downloads that are asking for a place or still running.
int activeDownloadCount();

}  // namespace widgets::web_browser
