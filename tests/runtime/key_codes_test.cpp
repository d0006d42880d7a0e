#include "runtime/key_codes.h"

#include <optional>

#include "runtime/input_method.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyCodes, EnterAndCtrlEnterBehaveAsOnTheOriginalPlatform) {
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_Return), 13);
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_KP_Enter), 13);
    EXPECT_EQ(runtime::characterCode(GDK_KEY_Return, 0), 13);
    EXPECT_EQ(runtime::characterCode(GDK_KEY_Return, GDK_SHIFT_MASK), 13);
    EXPECT_FALSE(runtime::characterCode(GDK_KEY_Return, GDK_CONTROL_MASK));
    EXPECT_FALSE(runtime::characterCode(GDK_KEY_Return, GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_EQ(runtime::modifierBits(GDK_CONTROL_MASK), 1);
    EXPECT_EQ(runtime::modifierBits(GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK), 7);
}

TEST(KeyCodes, LettersAndCharacters) {
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_a), 65);
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_Z), 90);
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_F5), 116);
    EXPECT_EQ(runtime::characterCode(GDK_KEY_a, 0), 'a');
    EXPECT_EQ(runtime::characterCode(GDK_KEY_a, GDK_CONTROL_MASK), 1);
    EXPECT_FALSE(runtime::characterCode(GDK_KEY_a, GDK_MOD1_MASK));
    EXPECT_EQ(runtime::virtualKeyCode(GDK_KEY_Shift_L), 16);
}

}  // namespace

namespace {

using runtime::ImOutcome;

// Which keys an input method leaves to the program, one row per thing an
// input method does with a key.
TEST(InputMethodKeys, OnlyKeysOutsideACompositionRaiseEvents) {
    struct Row {
        const char* name;
        ImOutcome outcome;
        std::optional<int> ownChar;
        bool raises;
    } rows[] = {
        {"a key the input method leaves alone", {false, false, false, ""}, 13, true},
        {"a letter typed through it", {true, false, false, "a"}, 'a', true},
        {"a Chinese character typed through it", {true, false, false, "中"}, 0x4E2D, true},
        {"Enter committing a composition", {true, true, false, "中"}, 13, false},
        {"Enter during a composition it does not admit to", {false, true, true, ""}, 13, false},
        {"Enter committing letters and ending the composition", {true, true, false, "biantai"}, 13, false},
        {"Ctrl+Shift+U starting a composition", {true, false, true, ""}, 21, false},
        {"a dead key starting one", {true, false, true, ""}, std::nullopt, false},
        {"a key taken now and answered later", {true, false, false, ""}, 'b', false},
        {"a key that commits another character", {true, false, false, "é"}, 'e', false},
        {"a key without a character that commits text", {true, false, false, "x"}, std::nullopt, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(runtime::keyRaisesEvents(r.outcome, r.ownChar), r.raises);
    }
}

}  // namespace
