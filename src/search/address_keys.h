// What Enter does in the address box. Plain Enter (and Shift+Enter) arrive
// as character 13 and navigate the current tab; Ctrl+Enter produces no
// character, only a key-down with modifier state exactly Ctrl, and opens a
// new tab; every other combination does nothing.
#pragma once

namespace search {

enum class AddressAction { kNone, kNavigateCurrentTab, kOpenInNewTab };

AddressAction addressKeyDownAction(int keyCode, int modifiers);
AddressAction addressCharAction(int charCode);

}  // namespace search
