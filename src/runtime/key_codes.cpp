#include "key_codes.h"

namespace runtime {

int virtualKeyCode(guint keyval) {
    guint k = gdk_keyval_to_upper(keyval);
    if (k >= GDK_KEY_A && k <= GDK_KEY_Z) return static_cast<int>(k - GDK_KEY_A + 65);
    if (k >= GDK_KEY_0 && k <= GDK_KEY_9) return static_cast<int>(k - GDK_KEY_0 + 48);
    if (k >= GDK_KEY_F1 && k <= GDK_KEY_F12) return static_cast<int>(k - GDK_KEY_F1 + 112);
    if (k >= GDK_KEY_KP_0 && k <= GDK_KEY_KP_9) return static_cast<int>(k - GDK_KEY_KP_0 + 96);
    switch (k) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter: return 13;
        case GDK_KEY_BackSpace: return 8;
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab: return 9;
        case GDK_KEY_Escape: return 27;
        case GDK_KEY_space: return 32;
        case GDK_KEY_Page_Up: return 33;
        case GDK_KEY_Page_Down: return 34;
        case GDK_KEY_End: return 35;
        case GDK_KEY_Home: return 36;
        case GDK_KEY_Left: return 37;
        case GDK_KEY_Up: return 38;
        case GDK_KEY_Right: return 39;
        case GDK_KEY_Down: return 40;
        case GDK_KEY_Insert: return 45;
        case GDK_KEY_Delete: return 46;
        case GDK_KEY_Shift_L:
        case GDK_KEY_Shift_R: return 16;
        case GDK_KEY_Control_L:
        case GDK_KEY_Control_R: return 17;
        case GDK_KEY_Alt_L:
        case GDK_KEY_Alt_R: return 18;
        default: return 0;
    }
}

int modifierBits(guint state) {
    int bits = 0;
    if (state & GDK_CONTROL_MASK) bits |= 1;
    if (state & GDK_SHIFT_MASK) bits |= 2;
    if (state & GDK_MOD1_MASK) bits |= 4;
    return bits;
}

std::optional<int> characterCode(guint keyval, guint state) {
    bool ctrl = state & GDK_CONTROL_MASK;
    bool alt = state & GDK_MOD1_MASK;
    if (alt) return std::nullopt;
    switch (keyval) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            if (ctrl) return std::nullopt;  // Ctrl+Enter is a line feed the boxes ignore
            return 13;
        case GDK_KEY_BackSpace: return 8;
        case GDK_KEY_Escape: return 27;
        case GDK_KEY_Tab: return ctrl ? std::nullopt : std::optional<int>(9);
        default: break;
    }
    guint32 ch = gdk_keyval_to_unicode(keyval);
    if (ch == 0) return std::nullopt;
    if (ctrl) {
        guint32 up = ch >= 'a' && ch <= 'z' ? ch - 32 : ch;
        if (up >= 'A' && up <= 'Z') return static_cast<int>(up - 'A' + 1);
        return std::nullopt;
    }
    return static_cast<int>(ch);
}

}  // namespace runtime
