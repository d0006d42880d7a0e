// What assistive technology (screen readers, test tools) is told about a
// component that draws itself: its role, name, description, whether it
// offers a click, and the items drawn inside it (a tab control's headers).
// Plain C++; accessible_glue.h turns it into ATK objects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

enum class AccessibleRole {
    kDefault,  // whatever the toolkit says for the widget (a panel)
    kFiller,   // decoration: a background picture, a border
    kPushButton,
    kLink,
    kLabel,
    kPageTabList,
    kPageTab,
};

struct AccessibleBounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const AccessibleBounds&) const = default;
};

struct AccessibleFacts {
    AccessibleRole role = AccessibleRole::kDefault;
    std::string name;
    std::string description;
    bool clickable = false;   // offers the action "click"
    bool selected = false;    // items only: the current page
    uint64_t key = 0;         // items only: stays with the item while others come and go; 0 for none
    AccessibleBounds bounds;  // items only: where the item is drawn, relative to its component
    bool operator==(const AccessibleFacts&) const = default;
};

// A kind's own facts completed by the name and description the program gave
// the component: a given text wins, an empty one leaves the kind's.
AccessibleFacts withGivenText(AccessibleFacts facts, const std::string& givenName, const std::string& givenDescription);

// A text as it is to be read out: without the spaces that pad it on
// screen (tab captions are padded to widen their headers).
std::string spokenText(std::string_view text);

// How an item list became another: for each item of `after`, the index in
// `before` of the item it continues (its accessible object is kept), or -1
// for a new one. Items of `before` that no entry names are gone. Items with
// keys are the same item when their keys agree. Without keys they are when
// name and description agree: the runs that agree at both ends are kept,
// and what lies between is matched by position; either way closing one
// page of many removes that page's item, not the last one.
std::vector<int> continuedItems(const std::vector<AccessibleFacts>& before, const std::vector<AccessibleFacts>& after);

}  // namespace runtime
