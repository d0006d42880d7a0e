// The PageControl kind in a real window: properties, methods and events
// through the runtime, and real pointer input through xdotool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "support/atk_probe.h"
#include "support/gui_wait.h"
#include "support/screen.h"
#include "widgets/page_control.h"
#include "widgets/widget_kinds.h"

namespace {

using Log = std::vector<std::pair<int, int>>;  // (event, argument or -1)
using testsupport::waitFor;
using testsupport::xdotool;

class PageControlWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override {
        widgets::registerPageControlKind(runtime);
        runtime.setRuntimeErrorHook([this](int code, const std::string& m) {
            errors.push_back(std::to_string(code) + " " + m);
            return true;
        });
    }

    runtime::ComponentRef open(runtime::Bytes block = widgets::PageControlBlock::form().serialize()) {
        runtime::WindowDescription w;
        w.name = "测试窗口";
        w.rect = {40, 40, 700, 320};
        runtime::ComponentDescription c;
        c.kind = "PageControl";
        c.name = "高级选择夹_网页";
        c.rect = {4, 20, 664, 280};
        c.block = std::move(block);
        for (int e = 0; e <= 4; ++e)
            c.bindings[e] = [this](runtime::Event& ev) {
                log.push_back({ev.index, ev.args.empty() ? -1 : runtime::asInt(ev.args[0])});
                return runtime::Value{};
            };
        w.components.push_back(std::move(c));
        window = runtime.loadWindow(w);
        runtime.show(window.window);
        GtkWidget* top = GTK_WIDGET(runtime.gtkWindow(window.window));
        EXPECT_TRUE(waitFor([&] { return gtk_widget_get_mapped(top) && !g_main_context_pending(nullptr); }));
        auto ref = runtime.find(window.window, "高级选择夹_网页");
        return ref ? *ref : runtime::ComponentRef{};
    }

    // Moves the pointer to the middle of a page's header.
    void pointAtHeader(runtime::ComponentRef ref, int page) {
        runtime::Rect r = *widgets::headerRect(runtime, ref, page);
        int ox = 0, oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(runtime.hostWidget(ref)), &ox, &oy);
        xdotool("mousemove --sync " + std::to_string(ox + r.left + r.width / 2) + " " +
                std::to_string(oy + r.top + r.height / 2));
    }

    runtime::Runtime runtime;
    runtime::ComponentRef window;
    Log log;
    std::vector<std::string> errors;
};

TEST_F(PageControlWindowTest, PropertiesMethodsAndPageEvents) {
    runtime::ComponentRef tc = open();
    ASSERT_FALSE(tc.isNull());
    EXPECT_EQ(runtime::asInt(runtime.get(tc, runtime::prop::own(widgets::page_control::kHeaderHeight))), 20);
    EXPECT_EQ(runtime::asInt(runtime.get(tc, runtime::prop::own(widgets::page_control::kHeaderPosition))), 1);
    // Headers at the bottom: the page area is 664 x 258, 662 x 256 inside its frame.
    EXPECT_EQ(runtime::asInt(runtime.get(tc, 60)), 662);
    EXPECT_EQ(runtime::asInt(runtime.get(tc, 61)), 256);
    EXPECT_EQ(runtime::asText(runtime.call(tc, widgets::page_control::kGetPageCaption, {0})), "载入..");
    EXPECT_EQ(log, Log{});

    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kAddPage, {std::string("载入..")})), 1);
    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kGetPageCount)), 2);
    EXPECT_EQ(log, Log{});

    runtime.set(tc, runtime::prop::own(widgets::page_control::kCurrentPage), 1);
    EXPECT_EQ(log, (Log{{widgets::page_control::kPageChanging, 1}, {widgets::page_control::kPageChanged, -1}}));
    log.clear();
    runtime.set(tc, runtime::prop::own(widgets::page_control::kCurrentPage), 1);
    EXPECT_EQ(log, Log{});

    runtime::Rect first = *widgets::headerRect(runtime, tc, 0);
    runtime::Rect second = *widgets::headerRect(runtime, tc, 1);
    EXPECT_EQ(second.left, first.left + first.width);
    EXPECT_EQ(first.top, 280 - 22);
    runtime::Rect area = *widgets::headerRect(runtime, tc, 9);
    EXPECT_EQ(area.width, 664);

    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kSetPageCaption, {5, std::string("x")})), 0);
    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kSetPageTip, {1, std::string("整个标题")})), 1);
    EXPECT_EQ(runtime::asText(runtime.call(tc, widgets::page_control::kGetPageCaption, {5})), "");

    // A copy carries the pages and the selection.
    auto copy = runtime.copy(tc);
    ASSERT_TRUE(copy);
    EXPECT_EQ(runtime::asInt(runtime.call(*copy, widgets::page_control::kGetPageCount)), 2);
    EXPECT_EQ(runtime::asInt(runtime.get(*copy, runtime::prop::own(widgets::page_control::kCurrentPage))), 1);

    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kRemovePage, {1})), 1);
    EXPECT_EQ(runtime::asInt(runtime.call(tc, widgets::page_control::kRemovePage, {0})), 0);
    EXPECT_TRUE(errors.empty());
}

// A screen reader meets the tab strip as a page tab list with one page tab
// per page; the children follow pages as they come and go (a closed page's
// own tab goes, the others keep their objects) and a click selects.
TEST_F(PageControlWindowTest, PagesAreAccessiblePageTabs) {
    using namespace testsupport;
    runtime::ComponentRef tc = open();
    ASSERT_FALSE(tc.isNull());
    AtkObject* list = accessibleOf(runtime, tc);
    ASSERT_TRUE(list);
    EXPECT_EQ(atk_object_get_role(list), ATK_ROLE_PAGE_TAB_LIST);
    ASSERT_EQ(atk_object_get_n_accessible_children(list), 1);
    AtkLog heard;
    heard.watch(list);

    for (const char* caption : {"一  ", "二  ", "三  "})
        runtime.call(tc, widgets::page_control::kAddPage, {std::string(caption)});
    runtime.call(tc, widgets::page_control::kSetPageTip, {2, std::string("第二页的整个标题")});
    ASSERT_TRUE(waitFor([&] { return atk_object_get_n_accessible_children(list) == 4; }));
    EXPECT_TRUE(heard.has("add 1") && heard.has("add 3"));
    std::vector<AtkObject*> tabs;
    for (int i = 0; i < 4; ++i) {
        tabs.push_back(atk_object_ref_accessible_child(list, i));
        EXPECT_EQ(atk_object_get_role(tabs[i]), ATK_ROLE_PAGE_TAB);
        EXPECT_EQ(atk_object_get_index_in_parent(tabs[i]), i);
        EXPECT_EQ(atk_object_get_parent(tabs[i]), list);
        EXPECT_EQ(actionsOf(tabs[i]), std::vector<std::string>{"click"});
    }
    // Captions are read without the spaces that pad them.
    EXPECT_EQ(nameOf(tabs[2]), "二");
    EXPECT_EQ(descriptionOf(tabs[2]), "第二页的整个标题");
    EXPECT_TRUE(hasState(tabs[0], ATK_STATE_SELECTED));
    EXPECT_FALSE(hasState(tabs[2], ATK_STATE_SELECTED));
    EXPECT_EQ(atk_selection_get_selection_count(ATK_SELECTION(list)), 1);

    // "click" runs what a press on the header runs, events included.
    AtkLog tabLog;
    tabLog.watch(tabs[2]);
    log.clear();
    ASSERT_TRUE(atk_action_do_action(ATK_ACTION(tabs[2]), 0));
    ASSERT_TRUE(waitFor([&] { return tabLog.has("+selected"); }));
    EXPECT_EQ(log, (Log{{widgets::page_control::kHeaderClicked, 2}, {widgets::page_control::kPageChanging, 2},
                       {widgets::page_control::kPageChanged, -1}}));
    EXPECT_EQ(runtime::asInt(runtime.get(tc, runtime::prop::own(widgets::page_control::kCurrentPage))), 2);
    EXPECT_FALSE(hasState(tabs[0], ATK_STATE_SELECTED));
    AtkObject* selected = atk_selection_ref_selection(ATK_SELECTION(list), 0);
    EXPECT_EQ(selected, tabs[2]);
    if (selected) g_object_unref(selected);
    tabLog.unwatch(tabs[2]);

    // Renaming a page renames its tab; removing page 1 removes its tab and
    // leaves the objects of the others, renumbered.
    runtime.call(tc, widgets::page_control::kSetPageCaption, {3, std::string("第三页")});
    ASSERT_TRUE(waitFor([&] { return nameOf(tabs[3]) == "第三页"; }));
    heard.entries.clear();
    runtime.call(tc, widgets::page_control::kRemovePage, {1});
    ASSERT_TRUE(waitFor([&] { return atk_object_get_n_accessible_children(list) == 3; }));
    EXPECT_EQ(heard.entries, std::vector<std::string>{"remove 1"});
    EXPECT_TRUE(hasState(tabs[1], ATK_STATE_DEFUNCT));
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(tabs[1]), 0));
    AtkObject* second = atk_object_ref_accessible_child(list, 1);
    EXPECT_EQ(second, tabs[2]);
    EXPECT_EQ(atk_object_get_index_in_parent(tabs[2]), 1);
    EXPECT_EQ(atk_object_get_index_in_parent(tabs[3]), 2);
    EXPECT_TRUE(hasState(tabs[2], ATK_STATE_SELECTED));
    if (second) g_object_unref(second);

    // Many pages opened and closed leave the list in step with the control.
    for (int i = 0; i < 300; ++i) runtime.call(tc, widgets::page_control::kAddPage, {std::to_string(i)});
    for (int i = 0; i < 300; ++i) runtime.call(tc, widgets::page_control::kRemovePage, {1});
    ASSERT_TRUE(
        waitFor([&] { return atk_object_get_n_accessible_children(list) == 3 && !g_main_context_pending(nullptr); }));
    AtkObject* last = atk_object_ref_accessible_child(list, 2);
    EXPECT_EQ(nameOf(last), "299");
    EXPECT_TRUE(hasState(tabs[3], ATK_STATE_DEFUNCT));  // 第三页 went with the first 300 closed
    if (last) g_object_unref(last);

    heard.unwatch(list);
    runtime.destroy(tc);
    for (AtkObject* t : tabs) {
        EXPECT_TRUE(hasState(t, ATK_STATE_DEFUNCT));
        g_object_unref(t);
    }
    EXPECT_TRUE(errors.empty());
}

// Every colour of the main window's tab control as its form gives it, read
// back through the component (colours are 0x00BBGGRR: 0xFF0000 is blue).
TEST_F(PageControlWindowTest, TheMainWindowsFormColours) {
    runtime::ComponentRef tc = open();
    ASSERT_FALSE(tc.isNull());
    struct Row {
        int k;
        uint32_t value;
        const char* what;
    };
    for (Row r : {Row{widgets::page_control::kFillNormal, 0xD7D7D7, "header fill, normal"},
             Row{widgets::page_control::kFillHot, 0xF3F3F3, "header fill, hot"},
             Row{widgets::page_control::kFillSelected, 0xFFFFFF, "header fill, selected"},
             Row{widgets::page_control::kPageAreaColour, 0xECECEC, "page area"},
             Row{widgets::page_control::kBorderColour, 0xC8C8C8, "border"},
             Row{widgets::page_control::kTextNormal, 0x9D9D9D, "text, normal"},
             Row{widgets::page_control::kTextHot, 0xFF0000, "text, hot"},
             Row{widgets::page_control::kTextSelected, 0x000000, "text, selected"},
             Row{widgets::page_control::kBackground, 0xECECEC, "background"},
             Row{widgets::page_control::kOuterNormal, 0xFFFFFF, "gradient outer, normal"},
             Row{widgets::page_control::kOuterHot, 0xFFFFFF, "gradient outer, hot"},
             Row{widgets::page_control::kOuterSelected, 0xFFFFFF, "gradient outer, selected"},
             // The switches that decide which of them are used.
             Row{widgets::page_control::kTheme, 0, "theme"}, Row{widgets::page_control::kGradient, 1, "gradient"},
             Row{widgets::page_control::kExplicitOuter, 1, "explicit outer colours"},
             Row{widgets::page_control::kNoHotOnSelected, 1, "no hot look on the selected header"}})
        EXPECT_EQ(static_cast<uint32_t>(runtime::asInt(runtime.get(tc, runtime::prop::own(r.k)))), r.value) << r.what;
}

TEST_F(PageControlWindowTest, NewerBlockIsRefused) {
    runtime::Bytes block = widgets::PageControlBlock::form().serialize();
    block[0] = 99;
    open(block);
    EXPECT_FALSE(runtime.find(window.window, "高级选择夹_网页"));
}

TEST_F(PageControlWindowTest, PointerSelectsOnPressAndReportsRightClicks) {
    runtime::ComponentRef tc = open();
    runtime.call(tc, widgets::page_control::kAddPage, {std::string("第二页")});
    runtime.call(tc, widgets::page_control::kAddPage, {std::string("第三页")});
    // The pointer may rest where an earlier test left it, over the new
    // window's header even, and a move to where it already is enters nothing.
    xdotool("mousemove --sync 1279 1023");
    ASSERT_TRUE(waitFor([] { return !g_main_context_pending(nullptr); }));
    log.clear();

    pointAtHeader(tc, 1);
    ASSERT_TRUE(waitFor([&] { return !log.empty(); }));
    EXPECT_EQ(log, (Log{{widgets::page_control::kHeaderEntered, 1}}));

    log.clear();
    xdotool("click 3");
    ASSERT_TRUE(waitFor([&] { return !log.empty(); }));
    EXPECT_EQ(log, (Log{{widgets::page_control::kHeaderRightClicked, 1}}));
    EXPECT_EQ(runtime::asInt(runtime.get(tc, runtime::prop::own(widgets::page_control::kCurrentPage))), 0);

    // A fast double click clicks once: the second press is left alone.
    log.clear();
    xdotool("click --repeat 2 --delay 30 1");
    ASSERT_TRUE(waitFor([&] { return log.size() >= 3; }));
    gdk_display_sync(gdk_display_get_default());
    waitFor([] { return !g_main_context_pending(nullptr); });
    EXPECT_EQ(log, (Log{{widgets::page_control::kHeaderClicked, 1}, {widgets::page_control::kPageChanging, 1},
                       {widgets::page_control::kPageChanged, -1}}));
    EXPECT_EQ(runtime::asInt(runtime.get(tc, runtime::prop::own(widgets::page_control::kCurrentPage))), 1);
}

}  // namespace
