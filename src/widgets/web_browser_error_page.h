// The page a tab shows when a page cannot be loaded: a plain explanation in
// the program's language instead of the engine's own English one.
#pragma once

#include <string>
#include <string_view>

namespace widgets::web_browser {

// Escapes text for inclusion in HTML element content or a quoted attribute.
std::string escapeHtml(std::string_view text);

// The error page for a failed address; the reason is the engine's message.
std::string errorPageHtml(std::string_view uri, std::string_view reason);

}  // namespace widgets::web_browser
