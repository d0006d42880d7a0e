// The search and address handlers in a real window on the test display:
// keys typed into the real edit boxes as key events, buttons and labels
// through their bound events, the tab table's operations captured.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "program/listing_site.h"
#include "runtime/colour.h"
#include "runtime/kinds/builtin_kinds.h"
#include "search/listing_urls.h"
#include "search/search_handlers.h"
#include "search/search_services.h"
#include "support/gui_wait.h"
#include "sysutil/dialog_answerer.h"
#include "tabs/main_ui.h"
#include "tabs/tab_table.h"
#include "widgets/widget_kinds.h"

namespace {

const std::string kBase = program::listing::kBaseUrl;
constexpr int kContent = runtime::prop::own(runtime::edit_box::kContent);
constexpr int kColour = runtime::prop::own(runtime::edit_box::kTextColour);
constexpr int kClick = 0;
constexpr int32_t kGrey = runtime::rgb(200, 200, 200);

// Before GTK starts: plain key events go straight into the entry, with no
// input-method server in between; no accessibility bus.
const bool kEnvironment = [] {
    setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
    setenv("NO_AT_BRIDGE", "1", 0);
    return true;
}();

runtime::ComponentDescription component(
    const char* kind, const char* name, runtime::Bytes block, runtime::Bindings b = {}) {
    runtime::ComponentDescription c;
    c.kind = kind;
    c.name = name;
    c.rect = {10, 10, 160, 22};
    c.block = std::move(block);
    c.bindings = std::move(b);
    return c;
}

runtime::Bytes editBox(const char* placeholder) {
    runtime::EditBoxBlock b;
    b.textColour = static_cast<uint32_t>(kGrey);
    b.content = placeholder;
    return b.serialize();
}

runtime::WindowDescription window() {
    runtime::WindowDescription w;
    w.name = "search test";
    w.rect = {0, 0, 400, 300};
    auto& c = w.components;
    c.push_back(component("EditBox", tabs::name::kSearchBox, editBox("输入关键字"),
        {{runtime::event::kFocusGained, search::onSearchBoxFocusGained},
            {runtime::event::kFocusLost, search::onSearchBoxFocusLost},
            {runtime::event::kKeyDown, search::onSearchBoxKeyDown}}));
    c.push_back(component("EditBox", tabs::name::kAddressBox, editBox("输入网址或关键字"),
        {{runtime::event::kFocusGained, search::onAddressBoxFocusGained},
            {runtime::event::kFocusLost, search::onAddressBoxFocusLost},
            {runtime::event::kKeyDown, search::onAddressBoxKeyDown},
            {runtime::event::kCharInput, search::onAddressBoxCharInput}}));
    const char* hot[12] = {tabs::name::kHotLabel1, tabs::name::kHotLabel2, tabs::name::kHotLabel3,
        tabs::name::kHotLabel4, tabs::name::kHotLabel5, tabs::name::kHotLabel6, tabs::name::kHotLabel7,
        tabs::name::kHotLabel8, tabs::name::kHotLabel9, tabs::name::kHotLabel10, tabs::name::kHotLabel11,
        tabs::name::kHotLabel12};
    for (const char* h : hot)
        c.push_back(component("Label", h, runtime::LabelBlock{}.serialize(),
            {{runtime::event::kLeftDown, search::onHotSearchLabelDown}}));
    c.push_back(component("Label", tabs::name::kHotCaption, runtime::LabelBlock{}.serialize(),
        {{runtime::event::kLeftDown, search::onHotSearchLabelDown}}));
    // Buttons only need their click binding here.
    auto button = [&](const char* name, runtime::Handler h) {
        c.push_back(component("Label", name, runtime::LabelBlock{}.serialize(), {{kClick, std::move(h)}}));
    };
    button(tabs::name::kSearchButton, search::onSearchButtonClick);
    button(tabs::name::kGoButton, search::onGoButtonClick);
    button(tabs::name::kHomeButton, search::onHomeButtonClick);
    button(tabs::name::kNewTabButton, search::onNewTabButtonClick);
    button(tabs::name::kBackButton, search::onBackButtonClick);
    button(tabs::name::kForwardButton, search::onForwardButtonClick);
    button(tabs::name::kRefreshButton, search::onRefreshButtonClick);
    button(tabs::name::kStopButton, search::onStopButtonClick);
    c.push_back(component("WebBrowser", tabs::name::kTemplateBrowser, {}));
    return w;
}

class SearchHandlers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override {
        runtime::Runtime& r = runtime::Runtime::instance();
        if (!r.hasKind("EditBox")) {
            runtime::registerBuiltinKinds(r);
            widgets::registerWidgetKinds(r);
        }
        r.setRuntimeErrorHook([this](int code, const std::string& m) {
            errors.push_back(std::to_string(code) + " " + m);
            return true;
        });
        win = r.loadWindow(window());
        r.show(win.window);
        tabs::bindMainWindow(r, win);
        GtkWidget* top = GTK_WIDGET(r.gtkWindow(win.window));
        ASSERT_TRUE(testsupport::waitFor([&] { return gtk_widget_get_mapped(top); }));

        search::Services& s = search::services();
        s.openInNewTab = [this](const std::string& url) { log.push_back("open " + url); };
        s.navigateTab = [this](const std::string& url, int32_t t) {
            log.push_back("navigate " + std::to_string(t) + " " + url);
        };
        s.updateLoadingButtons = [this] { log.push_back("loading buttons"); };
        s.updateBackForwardButtons = [this] { log.push_back("back/forward buttons"); };
        s.showReminder = [this] { log.push_back("reminder"); };
        s.today = [] { return search::CivilDate{2015, 12, 31}; };

        savedTable = tabs::tabTable;
        savedCurrent = tabs::currentTab;
        tabs::tabTable = {tabs::TabRecord{}};
        tabs::currentTab = 1;
    }

    void TearDown() override {
        search::services() = search::defaultServices();
        tabs::tabTable = savedTable;
        tabs::currentTab = savedCurrent;
        runtime::Runtime::instance().destroyWindow(win.window);
        testsupport::drain();
        EXPECT_TRUE(errors.empty()) << errors.front();
    }

    runtime::ComponentRef ref(const char* name) { return *runtime::Runtime::instance().find(win.window, name); }
    std::string content(const char* box) {
        return runtime::asText(runtime::Runtime::instance().get(ref(box), kContent));
    }
    int32_t colour(const char* box) { return runtime::asInt(runtime::Runtime::instance().get(ref(box), kColour)); }
    void setContent(const char* box, const std::string& text) {
        runtime::Runtime::instance().set(ref(box), kContent, text);
    }
    void raise(const char* name, int event) { runtime::Runtime::instance().raise(ref(name), event); }

    // One key press and release as the display would deliver them to the
    // window, landing in the box that has the window's focus.
    void key(const char* box, guint keyval, guint state = 0) {
        runtime::Runtime& r = runtime::Runtime::instance();
        GtkWidget* entry = r.component(ref(box))->widget();
        // Taking the focus selects the whole text, as clicking into it would.
        if (!gtk_widget_is_focus(entry)) gtk_widget_grab_focus(entry);
        GdkDisplay* display = gdk_display_get_default();
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        guint16 code = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) && count > 0)
            code = static_cast<guint16>(keys[0].keycode);
        g_free(keys);
        for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
            GdkEvent* e = gdk_event_new(type);
            e->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(r.gtkWindow(win.window)))));
            e->key.send_event = TRUE;
            e->key.time = GDK_CURRENT_TIME;
            e->key.state = state;
            e->key.keyval = keyval;
            e->key.hardware_keycode = code;
            gdk_event_set_device(e, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
            gtk_main_do_event(e);
            gdk_event_free(e);
        }
    }
    void type(const char* box, const std::string& utf8) {
        for (const char* p = utf8.c_str(); *p; p = g_utf8_next_char(p))
            key(box, gdk_unicode_to_keyval(g_utf8_get_char(p)));
    }

    runtime::ComponentRef win;
    std::vector<std::string> log, errors;
    std::vector<tabs::TabRecord> savedTable;
    int32_t savedCurrent = 0;
};

TEST_F(SearchHandlers, TypedKeywordAndEnterSearchInANewTabWithAnyModifiers) {
    raise(tabs::name::kSearchBox, runtime::event::kFocusGained);
    type(tabs::name::kSearchBox, " 变态 ");
    ASSERT_EQ(content(tabs::name::kSearchBox), " 变态 ");
    const std::string url = "open " + kBase + "search.asp?key=%20%B1%E4%CC%AC%20&otype=name";
    key(tabs::name::kSearchBox, GDK_KEY_Return);
    key(tabs::name::kSearchBox, GDK_KEY_Return, GDK_CONTROL_MASK);
    key(tabs::name::kSearchBox, GDK_KEY_KP_Enter, GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK);
    EXPECT_EQ(log, (std::vector<std::string>{url, url, url}));
}

TEST_F(SearchHandlers, WorkQueuedBeforeTheSearchRunsBeforeTheTabOpens) {
    search::services().pumpMessages = search::defaultServices().pumpMessages;
    setContent(tabs::name::kSearchBox, "ab");
    g_idle_add(
        [](gpointer p) -> gboolean {
            static_cast<std::vector<std::string>*>(p)->push_back("queued");
            return G_SOURCE_REMOVE;
        },
        &log);
    key(tabs::name::kSearchBox, GDK_KEY_Return);
    EXPECT_EQ(log, (std::vector<std::string>{"queued", "open " + kBase + "search.asp?key=%61%62&otype=name"}));
}

TEST_F(SearchHandlers, AQuitClickQueuedBeforeTheSearchEndsItQuietly) {
    // The quit button destroys the main window; the encoding's pump lets it
    // through, and the search must then open nothing, nor report a missing
    // tab control or template as a runtime error.
    search::services() = search::defaultServices();
    search::services().openInNewTab = [this](const std::string& url) { log.push_back("open " + url); };
    setContent(tabs::name::kSearchBox, std::string(2000, 'k'));
    struct Quit {
        uint32_t window;
        std::vector<std::string>* log;
    } quit{win.window, &log};
    g_idle_add(
        [](gpointer p) -> gboolean {
            auto* q = static_cast<Quit*>(p);
            q->log->push_back("quit");
            runtime::Runtime::instance().destroyWindow(q->window);
            return G_SOURCE_REMOVE;
        },
        &quit);
    runtime::Runtime::instance().raise(ref(tabs::name::kSearchBox), runtime::event::kKeyDown, {13, 0});
    EXPECT_EQ(log, std::vector<std::string>{"quit"});
    EXPECT_FALSE(runtime::Runtime::instance().exists(win));
    // Handlers that ran nested after the window closed open nothing either.
    runtime::Event e{win, kClick, {}};
    search::onHomeButtonClick(e);
    search::onNewTabButtonClick(e);
    search::onGoButtonClick(e);
    EXPECT_EQ(log, std::vector<std::string>{"quit"});
}

TEST_F(SearchHandlers, SearchButtonUsesTheSearchBox) {
    setContent(tabs::name::kSearchBox, "abc");
    raise(tabs::name::kSearchButton, kClick);
    EXPECT_EQ(log, std::vector<std::string>{"open " + kBase + "search.asp?key=%61%62%63&otype=name"});
}

TEST_F(SearchHandlers, BlankKeywordShowsTheOwnedReminderAndOpensNothing) {
    search::services().showReminder = search::defaultServices().showReminder;
    for (const char* blank : {"   ", "\xE3\x80\x80", "输入 关键字"}) {
        setContent(tabs::name::kSearchBox, blank);
        DialogAnswerer answer(1);
        key(tabs::name::kSearchBox, GDK_KEY_Return);
        ASSERT_EQ(answer.seen.size(), 1u) << blank;
        EXPECT_EQ(answer.seen[0].text, "请输入您要搜的关键词");
        EXPECT_EQ(answer.seen[0].caption, "友情提示：");
        EXPECT_EQ(answer.seen[0].owner, runtime::Runtime::instance().gtkWindow(win.window));
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(SearchHandlers, HotLabelsOpenTheirSearches) {
    const char* hot[12] = {tabs::name::kHotLabel1, tabs::name::kHotLabel2, tabs::name::kHotLabel3,
        tabs::name::kHotLabel4, tabs::name::kHotLabel5, tabs::name::kHotLabel6, tabs::name::kHotLabel7,
        tabs::name::kHotLabel8, tabs::name::kHotLabel9, tabs::name::kHotLabel10, tabs::name::kHotLabel11,
        tabs::name::kHotLabel12};
    for (const char* h : hot) raise(h, runtime::event::kLeftDown);
    raise(tabs::name::kHotCaption, runtime::event::kLeftDown);
    auto key = [&](const char* k) { return "open " + kBase + "search.asp?key=" + k + "&otype=name"; };
    auto date = [&](const char* d) { return "open " + kBase + "search.asp?page=1&key=" + d + "&otype=Sdate&menu=all"; };
    EXPECT_EQ(
        log, (std::vector<std::string>{key("%BA%CF%BB%F7"), key("%BC%AB%C6%B7"), key("%A3%B1%A3%B8%A3%B5"),
                 key("%B1%E4%CC%AC"), key("%B7%C2%CA%A2%B4%F3"), key("%A3%B1%A3%B7%A3%B6"), key("%C7%E1%B1%E4"),
                 key("%D6%D0%B1%E4"), date("2015-12-31"), date("2016-1-1"), date("2015-12-30"), date("2016-1-2")}));
}

TEST_F(SearchHandlers, AddressBoxEnterRules) {
    setContent(tabs::name::kAddressBox, "example.org");
    key(tabs::name::kAddressBox, GDK_KEY_Return);
    key(tabs::name::kAddressBox, GDK_KEY_Return, GDK_CONTROL_MASK);
    key(tabs::name::kAddressBox, GDK_KEY_Return, GDK_CONTROL_MASK | GDK_SHIFT_MASK);
    key(tabs::name::kAddressBox, GDK_KEY_Return, GDK_SHIFT_MASK);
    setContent(tabs::name::kAddressBox, "");
    key(tabs::name::kAddressBox, GDK_KEY_Return);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "navigate 1 example.org", "open example.org", "navigate 1 example.org", "navigate 1 "}));
}

TEST_F(SearchHandlers, GoHomeAndNewTabButtons) {
    // The go button takes the content as it stands, grey hint and all.
    raise(tabs::name::kGoButton, kClick);
    for (int i = 0; i < 3; ++i) raise(tabs::name::kHomeButton, kClick);
    raise(tabs::name::kNewTabButton, kClick);
    const std::string home = "open " + kBase;
    EXPECT_EQ(log, (std::vector<std::string>{"open 输入网址或关键字", home, home, home, "open " + kBase + "new.html"}));
}

TEST_F(SearchHandlers, PlaceholderFollowsTheFocus) {
    for (auto [box, hint] :
        {std::pair{tabs::name::kSearchBox, "输入关键字"}, std::pair{tabs::name::kAddressBox, "输入网址或关键字"}}) {
        raise(box, runtime::event::kFocusGained);
        EXPECT_EQ(content(box), "");
        EXPECT_EQ(colour(box), 0);
        raise(box, runtime::event::kFocusLost);
        EXPECT_EQ(content(box), hint);
        EXPECT_EQ(colour(box), kGrey);
        // Text written into the box keeps the grey until the box is entered,
        // which turns it black without clearing it.
        setContent(box, "http://a.example/");
        EXPECT_EQ(colour(box), kGrey);
        raise(box, runtime::event::kFocusGained);
        EXPECT_EQ(content(box), "http://a.example/");
        EXPECT_EQ(colour(box), 0);
        raise(box, runtime::event::kFocusLost);
        EXPECT_EQ(content(box), "http://a.example/");
        EXPECT_EQ(colour(box), 0);
    }
}

TEST_F(SearchHandlers, RefreshAndStopSetLoadingAndUpdateTheButtons) {
    runtime::ComponentRef browser = ref(tabs::name::kTemplateBrowser);
    tabs::tabTable[0].browserWindow = browser.window;
    tabs::tabTable[0].browserComponent = browser.component;
    raise(tabs::name::kRefreshButton, kClick);
    EXPECT_EQ(tabs::tabTable[0].loading, 1);
    raise(tabs::name::kStopButton, kClick);
    EXPECT_EQ(tabs::tabTable[0].loading, 0);
    raise(tabs::name::kBackButton, kClick);
    raise(tabs::name::kForwardButton, kClick);
    EXPECT_EQ(log, (std::vector<std::string>{"loading buttons", "back/forward buttons", "loading buttons",
                       "back/forward buttons", "back/forward buttons", "back/forward buttons"}));
}

TEST_F(SearchHandlers, StopAndRefreshAreNeverVisibleTogether) {
    search::services().updateLoadingButtons = search::defaultServices().updateLoadingButtons;
    runtime::ComponentRef browser = ref(tabs::name::kTemplateBrowser);
    tabs::tabTable[0].browserWindow = browser.window;
    tabs::tabTable[0].browserComponent = browser.component;
    runtime::Runtime& r = runtime::Runtime::instance();
    auto shown = [&](const char* name) { return runtime::asBool(r.get(ref(name), runtime::prop::kVisible)); };
    for (const char* button :
        {tabs::name::kRefreshButton, tabs::name::kStopButton, tabs::name::kStopButton, tabs::name::kRefreshButton}) {
        raise(button, kClick);
        bool loading = std::string(button) == tabs::name::kRefreshButton;
        EXPECT_EQ(shown(tabs::name::kStopButton), loading) << button;
        EXPECT_EQ(shown(tabs::name::kRefreshButton), !loading) << button;
    }
}

TEST_F(SearchHandlers, NavigationButtonsWithoutACurrentTabDoNothing) {
    tabs::currentTab = 2;  // beyond the table
    for (const char* b :
        {tabs::name::kRefreshButton, tabs::name::kStopButton, tabs::name::kBackButton, tabs::name::kForwardButton})
        raise(b, kClick);
    setContent(tabs::name::kAddressBox, "x");
    key(tabs::name::kAddressBox, GDK_KEY_Return);
    tabs::currentTab = 1;  // a record whose browser is gone
    raise(tabs::name::kRefreshButton, kClick);
    EXPECT_EQ(tabs::tabTable[0].loading, 0);
    EXPECT_TRUE(log.empty());
}

}  // namespace
