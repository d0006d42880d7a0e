// The shortcut table and the tab arithmetic behind the tab shortcuts.
#include <gtest/gtest.h>

#include "app/shortcuts.h"

namespace {

using app::shortcuts::Action;
using app::shortcuts::forKey;
using app::shortcuts::forMouseButton;
using app::shortcuts::Shortcut;
using app::shortcuts::targetPage;

constexpr int kCtrl = 1, kShift = 2, kAlt = 4;
constexpr int kTab = 9, kEscape = 27, kPageUp = 33, kPageDown = 34, kLeft = 37, kRight = 39, kF4 = 115, kF5 = 116,
              kF6 = 117;

std::optional<Action> actionOf(int vk, int modifiers) {
    auto s = forKey(vk, modifiers);
    return s ? std::optional<Action>(s->action) : std::nullopt;
}

TEST(Shortcuts, EveryBrowserChordHasItsAction) {
    EXPECT_EQ(actionOf('T', kCtrl), Action::kNewTab);
    EXPECT_EQ(actionOf('W', kCtrl), Action::kCloseTab);
    EXPECT_EQ(actionOf(kF4, kCtrl), Action::kCloseTab);
    EXPECT_EQ(actionOf(kTab, kCtrl), Action::kNextTab);
    EXPECT_EQ(actionOf(kPageDown, kCtrl), Action::kNextTab);
    EXPECT_EQ(actionOf(kTab, kCtrl | kShift), Action::kPreviousTab);
    EXPECT_EQ(actionOf(kPageUp, kCtrl), Action::kPreviousTab);
    EXPECT_EQ(actionOf('L', kCtrl), Action::kFocusAddress);
    EXPECT_EQ(actionOf('D', kAlt), Action::kFocusAddress);
    EXPECT_EQ(actionOf(kF6, 0), Action::kFocusAddress);
    EXPECT_EQ(actionOf('K', kCtrl), Action::kFocusSearch);
    EXPECT_EQ(actionOf('E', kCtrl), Action::kFocusSearch);
    EXPECT_EQ(actionOf(kF5, 0), Action::kRefresh);
    EXPECT_EQ(actionOf('R', kCtrl), Action::kRefresh);
    EXPECT_EQ(actionOf(kEscape, 0), Action::kStop);
    EXPECT_EQ(actionOf(kLeft, kAlt), Action::kBack);
    EXPECT_EQ(actionOf(kRight, kAlt), Action::kForward);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(forKey('0' + n, kCtrl), (Shortcut{Action::kNumberedTab, n})) << n;
    EXPECT_EQ(actionOf('9', kCtrl), Action::kLastTab);
}

// Keys that must stay with the page or the edit box: plain typing, the
// editing chords, and browser chords with a modifier too many or too few.
TEST(Shortcuts, OtherKeysAreLeftToTheFocusedComponent) {
    EXPECT_FALSE(forKey('T', 0));
    EXPECT_FALSE(forKey('T', kCtrl | kShift));
    EXPECT_FALSE(forKey('W', kCtrl | kAlt));
    EXPECT_FALSE(forKey('A', kCtrl));
    EXPECT_FALSE(forKey('C', kCtrl));
    EXPECT_FALSE(forKey('V', kCtrl));
    EXPECT_FALSE(forKey(kTab, 0));
    EXPECT_FALSE(forKey(kTab, kShift));
    EXPECT_FALSE(forKey(kLeft, 0));
    EXPECT_FALSE(forKey(kLeft, kCtrl));
    EXPECT_FALSE(forKey(kEscape, kShift));
    EXPECT_FALSE(forKey(kF5, kShift));
    EXPECT_FALSE(forKey('0', kCtrl));
    EXPECT_FALSE(forKey(13, 0));
    EXPECT_FALSE(forKey(0, 0));
    // Bits beyond Ctrl, Shift and Alt are not modifiers of the table.
    EXPECT_EQ(actionOf('T', kCtrl | 8), Action::kNewTab);
}

TEST(Shortcuts, ExtraMouseButtonsGoBackAndForward) {
    EXPECT_EQ(forMouseButton(8), (Shortcut{Action::kBack}));
    EXPECT_EQ(forMouseButton(9), (Shortcut{Action::kForward}));
    for (unsigned b : {0u, 1u, 2u, 3u, 4u, 5u, 10u}) EXPECT_FALSE(forMouseButton(b)) << b;
}

TEST(Shortcuts, NextAndPreviousWrapAround) {
    const Shortcut next{Action::kNextTab}, previous{Action::kPreviousTab};
    EXPECT_EQ(targetPage(next, 0, 3), 1);
    EXPECT_EQ(targetPage(next, 2, 3), 0);
    EXPECT_EQ(targetPage(previous, 0, 3), 2);
    EXPECT_EQ(targetPage(previous, 2, 3), 1);
    EXPECT_EQ(targetPage(next, 0, 1), 0);
    EXPECT_EQ(targetPage(previous, 0, 1), 0);
    // No selection (or a stale one) counts from the first page.
    EXPECT_EQ(targetPage(next, -1, 3), 1);
    EXPECT_EQ(targetPage(previous, 7, 3), 2);
}

TEST(Shortcuts, NumberedTabsAndTheLastTab) {
    EXPECT_EQ(targetPage({Action::kNumberedTab, 1}, 2, 3), 0);
    EXPECT_EQ(targetPage({Action::kNumberedTab, 3}, 0, 3), 2);
    EXPECT_EQ(targetPage({Action::kNumberedTab, 4}, 0, 3), std::nullopt);
    EXPECT_EQ(targetPage({Action::kNumberedTab, 8}, 0, 20), 7);
    EXPECT_EQ(targetPage({Action::kLastTab}, 0, 20), 19);
    EXPECT_EQ(targetPage({Action::kLastTab}, 0, 1), 0);
}

TEST(Shortcuts, NoPagesNoTarget) {
    for (Action a : {Action::kNextTab, Action::kPreviousTab, Action::kLastTab})
        EXPECT_EQ(targetPage({a}, 0, 0), std::nullopt);
    EXPECT_EQ(targetPage({Action::kNumberedTab, 1}, -1, 0), std::nullopt);
    // Actions that are not about tabs name no page.
    EXPECT_EQ(targetPage({Action::kRefresh}, 0, 3), std::nullopt);
}

TEST(Shortcuts, TabWalksAddressSearchPageRoundAndRound) {
    using app::shortcuts::FocusStop;
    using app::shortcuts::nextFocus;
    EXPECT_EQ(nextFocus(FocusStop::kAddress, false), FocusStop::kSearch);
    EXPECT_EQ(nextFocus(FocusStop::kSearch, false), FocusStop::kPage);
    EXPECT_EQ(nextFocus(FocusStop::kPage, false), FocusStop::kAddress);
    for (FocusStop f : {FocusStop::kAddress, FocusStop::kSearch, FocusStop::kPage})
        EXPECT_EQ(nextFocus(nextFocus(f, false), true), f);
}

}  // namespace
