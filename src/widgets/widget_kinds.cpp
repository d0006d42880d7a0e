#include "widget_kinds.h"

namespace widgets {

void registerWidgetKinds(runtime::Runtime& runtime) {
    registerPageControlKind(runtime);
    registerPicBtnKind(runtime);
    registerTransLabelKind(runtime);
    registerWebBrowserKind(runtime);
}

}  // namespace widgets
