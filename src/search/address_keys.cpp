#include "address_keys.h"

#include "runtime/component.h"

namespace search {

namespace {
constexpr int kEnter = 13;
}

AddressAction addressKeyDownAction(int keyCode, int modifiers) {
    if (keyCode == kEnter && modifiers == rt::modifier::kCtrl) return AddressAction::kOpenInNewTab;
    return AddressAction::kNone;
}

AddressAction addressCharAction(int charCode) {
    return charCode == kEnter ? AddressAction::kNavigateCurrentTab : AddressAction::kNone;
}

}  // namespace search
