#include "placeholder.h"

#include "runtime/gbk.h"

namespace search {

bool isBlankOrPlaceholder(std::string_view content, std::string_view placeholder) {
    std::string bare = runtime::gbk::removeSpaces(content);
    return bare.empty() || bare == placeholder;
}

BoxChange onFocusGained(std::string_view content, std::string_view placeholder) {
    BoxChange c;
    if (runtime::gbk::removeSpaces(content) == placeholder) c.content = "";
    c.colour = kTextColour;
    return c;
}

BoxChange onFocusLost(std::string_view content, std::string_view placeholder) {
    BoxChange c;
    if (isBlankOrPlaceholder(content, placeholder)) {
        c.content = std::string(placeholder);
        c.colour = kPlaceholderColour;
    }
    return c;
}

}  // namespace search
