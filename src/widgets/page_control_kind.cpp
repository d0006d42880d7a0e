// Stand-in registration until the PageControl kind is built.
#include "runtime/kinds/builtin_kinds.h"
#include "widget_kinds.h"

namespace widgets {

void registerPageControlKind(rt::Runtime& runtime) { rt::registerPlaceholderKind(runtime, "PageControl"); }

}  // namespace widgets
