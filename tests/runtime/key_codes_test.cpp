#include "runtime/key_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyCodes, EnterAndCtrlEnterBehaveAsOnTheOriginalPlatform) {
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_Return), 13);
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_KP_Enter), 13);
    EXPECT_EQ(rt::characterCode(GDK_KEY_Return, 0), 13);
    EXPECT_EQ(rt::characterCode(GDK_KEY_Return, GDK_SHIFT_MASK), 13);
    EXPECT_FALSE(rt::characterCode(GDK_KEY_Return, GDK_CONTROL_MASK));
    EXPECT_FALSE(rt::characterCode(GDK_KEY_Return, GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_EQ(rt::modifierBits(GDK_CONTROL_MASK), 1);
    EXPECT_EQ(rt::modifierBits(GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK), 7);
}

TEST(KeyCodes, LettersAndCharacters) {
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_a), 65);
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_Z), 90);
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_F5), 116);
    EXPECT_EQ(rt::characterCode(GDK_KEY_a, 0), 'a');
    EXPECT_EQ(rt::characterCode(GDK_KEY_a, GDK_CONTROL_MASK), 1);
    EXPECT_FALSE(rt::characterCode(GDK_KEY_a, GDK_MOD1_MASK));
    EXPECT_EQ(rt::virtualKeyCode(GDK_KEY_Shift_L), 16);
}

}  // namespace
