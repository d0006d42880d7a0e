// Stand-in registration until the WebBrowser kind is built.
#include "runtime/kinds/builtin_kinds.h"
#include "widget_kinds.h"

namespace widgets {

void registerWebBrowserKind(rt::Runtime& runtime) { rt::registerPlaceholderKind(runtime, "WebBrowser"); }

}  // namespace widgets
