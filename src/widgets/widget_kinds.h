// Registers the program's own component kinds with the runtime.
#pragma once

#include "runtime/runtime.h"

namespace widgets {

void registerWidgetKinds(rt::Runtime& runtime);

// Each kind's own registration.
void registerPageControlKind(rt::Runtime& runtime);  // "PageControl"
void registerPicBtnKind(rt::Runtime& runtime);       // "PicBtn"
void registerTransLabelKind(rt::Runtime& runtime);   // "TransLabel"
void registerWebBrowserKind(rt::Runtime& runtime);   // "WebBrowser"

}  // namespace widgets
