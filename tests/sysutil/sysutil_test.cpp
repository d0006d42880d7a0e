// Window enumeration and the owned message box on the test display, and
// the message-box styles without one.
// gtest before Xlib: Xlib's macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format off
#include <gdk/gdkx.h>
// clang-format on
#include <unistd.h>

#include <string>

#include "runtime/gbk.h"
#include "support/gui_wait.h"
#include "sysutil/dialog_answerer.h"
#include "sysutil/message_box.h"
#include "sysutil/windows.h"

namespace {

using testsupport::settle;
using testsupport::waitFor;

TEST(MessageBoxStyle, ButtonsIconsAndDismissal) {
    auto codes = [](int style) {
        std::vector<int> out;
        for (const sysutil::message_box::Button& b : sysutil::message_box::buttonsFor(style)) out.push_back(b.code);
        return out;
    };
    EXPECT_EQ(codes(sysutil::message_box::style::kOk), std::vector<int>{sysutil::message_box::code::kOk});
    EXPECT_EQ(codes(sysutil::message_box::style::kOkCancel),
        (std::vector<int>{sysutil::message_box::code::kOk, sysutil::message_box::code::kCancel}));
    EXPECT_EQ(codes(sysutil::message_box::style::kAbortRetryIgnore),
        (std::vector<int>{sysutil::message_box::code::kAbort, sysutil::message_box::code::kRetry,
            sysutil::message_box::code::kIgnore}));
    EXPECT_EQ(codes(sysutil::message_box::style::kYesNoCancel),
        (std::vector<int>{
            sysutil::message_box::code::kYes, sysutil::message_box::code::kNo, sysutil::message_box::code::kCancel}));
    EXPECT_EQ(codes(sysutil::message_box::style::kYesNo | sysutil::message_box::style::kIconQuestion),
        (std::vector<int>{sysutil::message_box::code::kYes, sysutil::message_box::code::kNo}));
    EXPECT_EQ(codes(sysutil::message_box::style::kRetryCancel),
        (std::vector<int>{sysutil::message_box::code::kRetry, sysutil::message_box::code::kCancel}));
    EXPECT_EQ(codes(0x0E), std::vector<int>{sysutil::message_box::code::kOk});  // unknown set: OK alone

    EXPECT_EQ(sysutil::message_box::iconFor(0), sysutil::message_box::Icon::kNone);
    EXPECT_EQ(
        sysutil::message_box::iconFor(sysutil::message_box::style::kYesNo | sysutil::message_box::style::kIconWarning),
        sysutil::message_box::Icon::kWarning);
    EXPECT_EQ(
        sysutil::message_box::iconFor(sysutil::message_box::style::kIconError), sysutil::message_box::Icon::kError);

    EXPECT_EQ(sysutil::message_box::dismissCodeFor(sysutil::message_box::style::kOk), sysutil::message_box::code::kOk);
    EXPECT_EQ(sysutil::message_box::dismissCodeFor(sysutil::message_box::style::kYesNoCancel),
        sysutil::message_box::code::kCancel);
    EXPECT_EQ(sysutil::message_box::dismissCodeFor(sysutil::message_box::style::kYesNo), 0);
    EXPECT_EQ(sysutil::message_box::dismissCodeFor(sysutil::message_box::style::kAbortRetryIgnore), 0);
}

class DisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::requireDisplay();
        g_set_prgname("sysutil-test");
    }
    void TearDown() override {
        for (GtkWidget* w : windows_) gtk_widget_destroy(w);
        windows_.clear();
        settle();
    }

    GtkWidget* window(const char* title, bool show = true) {
        GtkWidget* w = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_title(GTK_WINDOW(w), title);
        gtk_window_set_default_size(GTK_WINDOW(w), 120, 80);
        windows_.push_back(w);
        if (show) {
            gtk_widget_show(w);
            EXPECT_TRUE(waitFor([&] { return gtk_widget_get_mapped(w); }));
            settle();
        } else {
            gtk_widget_realize(w);
        }
        return w;
    }
    static unsigned long xid(GtkWidget* w) { return gdk_x11_window_get_xid(gtk_widget_get_window(w)); }

    std::vector<GtkWidget*> windows_;
};

const sysutil::WindowEntry* find(const std::vector<sysutil::WindowEntry>& list, unsigned long handle) {
    for (const auto& e : list)
        if (e.handle == handle) return &e;
    return nullptr;
}

TEST_F(DisplayTest, EnumerationListsVisibleWindowsTopMostFirst) {
    GtkWidget* hidden = window("隐藏", false);
    GtkWidget* lower = window("下面的窗口");
    GtkWidget* upper = window("上面的窗口");
    gdk_window_raise(gtk_widget_get_window(upper));
    settle();

    const auto& list = sysutil::enumerateWindows();
    const sysutil::WindowEntry* a = find(list, xid(upper));
    const sysutil::WindowEntry* b = find(list, xid(lower));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(find(list, xid(hidden)), nullptr);
    EXPECT_LT(a - list.data(), b - list.data()) << "the raised window comes first";
    EXPECT_EQ(a->processId, static_cast<uint32_t>(getpid()));
    EXPECT_EQ(a->title, "上面的窗口");
    EXPECT_EQ(a->className, gdk_get_program_class());
    EXPECT_EQ(sysutil::windowOfProcess(getpid()), xid(upper));

    // The list is rebuilt: a window hidden since is gone at once.
    gtk_widget_hide(upper);
    settle();
    EXPECT_EQ(sysutil::windowOfProcess(getpid()), xid(lower));
    EXPECT_EQ(sysutil::windowOfProcess(0x7FFFFFF0u), 0u);
}

TEST_F(DisplayTest, LongTitlesAreCutToTheBufferWithoutSplittingCharacters) {
    std::string title(250, 'a');
    title += "变态变态";  // 258 bytes in GBK
    GtkWidget* w = window(title.c_str());
    const sysutil::WindowEntry* e = find(sysutil::enumerateWindows(), xid(w));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->title, std::string(250, 'a') + "变态");
    EXPECT_EQ(runtime::gbk::byteLength(e->title), 254u);
}

TEST_F(DisplayTest, MessageBoxWithoutAWindowHasNoOwner) {
    ASSERT_EQ(sysutil::windowOfProcess(getpid()), 0u) << "a window of an earlier test is still shown";
    DialogAnswerer answer(sysutil::message_box::code::kOk);
    EXPECT_EQ(sysutil::ownedMessageBox("没有主人"), 0);
    ASSERT_EQ(answer.seen.size(), 1u);
    EXPECT_EQ(answer.seen[0].owner, nullptr);
    EXPECT_EQ(answer.seen[0].text, "没有主人");
    EXPECT_EQ(answer.seen[0].caption, "友情提醒");
    EXPECT_EQ(answer.seen[0].buttons, std::vector<std::string>{"确定"});
}

TEST_F(DisplayTest, MessageBoxIsModalToTheFirstWindowOfTheProcess) {
    GtkWidget* w = window("主窗口");
    DialogAnswerer answer(sysutil::message_box::code::kOk);
    EXPECT_EQ(sysutil::ownedMessageBox("请输入您要搜的关键词", sysutil::message_box::style::kOk, "友情提示："), 0);
    ASSERT_EQ(answer.seen.size(), 1u);
    EXPECT_EQ(answer.seen[0].owner, GTK_WINDOW(w));
    EXPECT_TRUE(answer.seen[0].modal);
    EXPECT_EQ(answer.seen[0].caption, "友情提示：");
}

TEST_F(DisplayTest, MessageBoxAnswersAreButtonCodesLessOne) {
    {
        DialogAnswerer answer(sysutil::message_box::code::kNo);
        EXPECT_EQ(sysutil::ownedMessageBox("?", sysutil::message_box::style::kYesNo, ""), 6);
        ASSERT_EQ(answer.seen.size(), 1u);
        EXPECT_EQ(answer.seen[0].caption, "") << "an explicit empty caption stays empty";
        EXPECT_EQ(answer.seen[0].buttons, (std::vector<std::string>{"是", "否"}));
    }
    {
        DialogAnswerer answer(sysutil::message_box::code::kRetry);
        EXPECT_EQ(sysutil::ownedMessageBox("?", sysutil::message_box::style::kAbortRetryIgnore), 3);
    }
    {
        // Closing a box that has Cancel answers Cancel.
        DialogAnswerer answer(GTK_RESPONSE_DELETE_EVENT);
        EXPECT_EQ(sysutil::ownedMessageBox("?", sysutil::message_box::style::kOkCancel), 1);
    }
}

}  // namespace
