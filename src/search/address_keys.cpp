#include "address_keys.h"

#include "runtime/component.h"

namespace search {

AddressAction addressKeyDownAction(int keyCode, int modifiers) {
    if (keyCode == runtime::key::kEnter && modifiers == runtime::modifier::kCtrl) return AddressAction::kOpenInNewTab;
    return AddressAction::kNone;
}

AddressAction addressCharAction(int charCode) {
    return charCode == runtime::key::kEnter ? AddressAction::kNavigateCurrentTab : AddressAction::kNone;
}

}  // namespace search
