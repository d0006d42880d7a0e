#include "widget_kinds.h"

namespace widgets {

void registerWidgetKinds(rt::Runtime& runtime) {
    registerPageControlKind(runtime);
    registerPicBtnKind(runtime);
    registerTransLabelKind(runtime);
    registerWebBrowserKind(runtime);
}

}  // namespace widgets
