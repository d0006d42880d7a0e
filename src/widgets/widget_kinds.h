// Registers the program's own component kinds with the runtime.
#pragma once

#include "runtime/runtime.h"

namespace widgets {

void registerWidgetKinds(runtime::Runtime& runtime);

// Each kind's own registration.
void registerPageControlKind(runtime::Runtime& runtime);  // "PageControl"
void registerPicBtnKind(runtime::Runtime& runtime);       // "PicBtn"
void registerTransLabelKind(runtime::Runtime& runtime);   // "TransLabel"
void registerWebBrowserKind(runtime::Runtime& runtime);   // "WebBrowser"

}  // namespace widgets
