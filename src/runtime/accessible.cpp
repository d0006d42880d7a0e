#include "accessible.h"

#include <algorithm>
#include <unordered_map>

namespace runtime {

AccessibleFacts withGivenText(
    AccessibleFacts facts, const std::string& givenName, const std::string& givenDescription) {
    if (!givenName.empty()) facts.name = givenName;
    if (!givenDescription.empty()) facts.description = givenDescription;
    return facts;
}

std::string spokenText(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(kSpace) - first + 1));
}

namespace {

bool sameItem(const AccessibleFacts& a, const AccessibleFacts& b) {
    return a.name == b.name && a.description == b.description;
}

bool allKeyed(const std::vector<AccessibleFacts>& items) {
    return std::all_of(items.begin(), items.end(), [](const AccessibleFacts& f) { return f.key != 0; });
}

}  // namespace

std::vector<int> continuedItems(const std::vector<AccessibleFacts>& before, const std::vector<AccessibleFacts>& after) {
    if (allKeyed(before) && allKeyed(after)) {
        std::unordered_map<uint64_t, int> at;
        for (size_t j = 0; j < before.size(); ++j) at.emplace(before[j].key, static_cast<int>(j));
        std::vector<int> from;
        from.reserve(after.size());
        for (const AccessibleFacts& f : after) {
            auto it = at.find(f.key);
            // A key given twice continues one item only.
            if (it == at.end()) {
                from.push_back(-1);
            } else {
                from.push_back(it->second);
                at.erase(it);
            }
        }
        return from;
    }
    const size_t nb = before.size(), na = after.size();
    size_t prefix = 0;
    while (prefix < nb && prefix < na && sameItem(before[prefix], after[prefix])) ++prefix;
    size_t suffix = 0;
    while (suffix < nb - prefix && suffix < na - prefix && sameItem(before[nb - 1 - suffix], after[na - 1 - suffix]))
        ++suffix;
    std::vector<int> from(na, -1);
    for (size_t i = 0; i < prefix; ++i) from[i] = static_cast<int>(i);
    // Between the agreeing runs: an item that only changed its text keeps
    // its object; the surplus on either side is removed or added.
    const size_t middle = std::min(nb - prefix - suffix, na - prefix - suffix);
    for (size_t i = 0; i < middle; ++i) from[prefix + i] = static_cast<int>(prefix + i);
    for (size_t i = 0; i < suffix; ++i) from[na - 1 - i] = static_cast<int>(nb - 1 - i);
    return from;
}

}  // namespace runtime
