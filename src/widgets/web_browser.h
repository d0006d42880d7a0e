// The WebBrowser kind's numbers, for program code that drives a browser by
// reference: own properties (component index 8 + k), methods and events.
//
//   rt.call(browser, web_browser::method::kNavigate, {url});
//   std::string title = runtime::asText(rt.get(browser, web_browser::prop::kLocationName));
//
// New windows: event kNewWindow's first argument is a slot. The handler makes
// (or picks) another browser and calls kAcceptNewWindow on it with that
// argument; when the handler returns, the requested page opens in that
// browser, which then raises the events of the load.
#pragma once

#include <string>

#include "runtime/runtime.h"

namespace widgets::web_browser {

// Own property k; the component property index is 8 + k (use index()).
namespace prop {
constexpr int kBorderStyle = 0;  // 0..5, read/write
constexpr int kSilent = 1;       // logical, read/write: script dialogs answered unseen
constexpr int kOffline = 2;      // logical, read/write: no network navigations
constexpr int kRegisterAsDropTarget = 3;
constexpr int kRegisterAsBrowser = 4;
constexpr int kAddressBar = 5;  // 5..14 read-only logical
constexpr int kFullScreen = 6;
constexpr int kMenuBar = 7;
constexpr int kReserved = 8;  // reads succeed with no value
constexpr int kStatusBar = 9;
constexpr int kTheaterMode = 10;
constexpr int kToolBar = 11;
constexpr int kVisible = 12;
constexpr int kBusy = 13;
constexpr int kTopLevelContainer = 14;
constexpr int kReadyState = 15;    // 0..4
constexpr int kFullName = 16;      // text: the running program's path
constexpr int kLocationUrl = 17;   // text
constexpr int kLocationName = 18;  // text: the page title, the URL while there is none
constexpr int kType = 19;          // text: MIME type of the main resource
constexpr int kEditMode = 20;      // logical, read/write
constexpr int kFontName = 21;      // text, read/write (the selection's)
constexpr int kFontSize = 22;      // integer 1..7, read/write
constexpr int kForeColour = 23;    // 0x00BBGGRR, read/write
constexpr int kBackColour = 24;    // 0x00BBGGRR, read/write
constexpr int kBold = 25;          // 25..31 read-only logical
constexpr int kItalic = 26;
constexpr int kUnderline = 27;
constexpr int kStrikeThrough = 28;
constexpr int kSuperscript = 29;
constexpr int kSubscript = 30;
constexpr int kOverWrite = 31;
constexpr int kCanPaste = 32;  // 32..36 read-only logical
constexpr int kCanCopy = 33;
constexpr int kCanCut = 34;
constexpr int kCanRedo = 35;
constexpr int kCanUndo = 36;
constexpr int kLast = kCanUndo;

// Component property index of own property k.
constexpr int index(int k) { return 8 + k; }
}  // namespace prop

namespace method {
// (url text [, flags integer [, target frame name text [, headers text]]]) ->
// logical: false when the text is empty and nothing was loaded. Headers are
// "Name: value" lines separated by CR LF.
constexpr int kNavigate = 0;
constexpr int kStop = 1;
constexpr int kGoBack = 2;
constexpr int kGoForward = 3;
constexpr int kRefresh = 4;
// (slot: the first argument of kNewWindow) -> logical: false when the slot
// is no longer open (its event has returned).
constexpr int kAcceptNewWindow = 5;
}  // namespace method

namespace event {
// (url, flags, target frame name, posted bytes, posted byte count, headers,
//  cancel): setting args[6] to non-zero ignores the navigation.
constexpr int kBeforeNavigate = 0;
// (slot, cancel): see the comment at the top; args[1] non-zero refuses the
// window even when a browser accepted it.
constexpr int kNewWindow = 1;
constexpr int kNavigateComplete = 2;    // (url)
constexpr int kDownloadBegin = 3;       // ()
constexpr int kProgressChange = 4;      // (progress, maximum); progress/maximum is the ratio
constexpr int kDownloadComplete = 5;    // ()
constexpr int kDocumentComplete = 6;    // (url)
constexpr int kStatusTextChange = 7;    // (text)
constexpr int kTitleChange = 8;         // (title)
constexpr int kCommandStateChange = 9;  // (command, enabled)
constexpr int kWindowSetTop = 10;       // (value)
constexpr int kWindowSetLeft = 11;
constexpr int kWindowSetHeight = 12;
constexpr int kWindowSetWidth = 13;
constexpr int kWindowSetResizable = 14;  // (logical)
constexpr int kWindowClosing = 15;       // (is child window, cancel)
constexpr int kDocumentClick = 16;       // (x, y); returning logical false swallows the click
constexpr int kContextMenu = 17;         // (x, y); returning logical false shows no menu

// Argument positions the handlers write back into.
constexpr int kBeforeNavigateCancelArg = 6;
constexpr int kNewWindowSlotArg = 0;
constexpr int kNewWindowCancelArg = 1;
constexpr int kWindowClosingCancelArg = 1;
}  // namespace event

// Commands of kCommandStateChange.
namespace command {
constexpr int kForward = 1;
constexpr int kBack = 2;
}  // namespace command

// Progress maximum of kProgressChange.
constexpr int kProgressMaximum = 10000;

}  // namespace widgets::web_browser

namespace widgets {

// The address the page now shown in a WebBrowser was asked for by, before
// the server redirected it; the location URL (property 17) tells where the
// redirects ended. The location URL itself while a load is still pending
// or the shown page has no history entry. Empty when `ref` is no
// WebBrowser.
std::string requestedUrl(runtime::Runtime& runtime, runtime::ComponentRef ref);

}  // namespace widgets
