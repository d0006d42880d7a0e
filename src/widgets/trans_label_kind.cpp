// Stand-in registration until the TransLabel kind is built.
#include "runtime/kinds/builtin_kinds.h"
#include "widget_kinds.h"

namespace widgets {

void registerTransLabelKind(rt::Runtime& runtime) { rt::registerPlaceholderKind(runtime, "TransLabel"); }

}  // namespace widgets
