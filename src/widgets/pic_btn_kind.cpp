// Stand-in registration until the PicBtn kind is built.
#include "runtime/kinds/builtin_kinds.h"
#include "widget_kinds.h"

namespace widgets {

void registerPicBtnKind(rt::Runtime& runtime) { rt::registerPlaceholderKind(runtime, "PicBtn"); }

}  // namespace widgets
