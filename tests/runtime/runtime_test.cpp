// The component runtime under a real display: windows from descriptions,
// copies, destruction, the event-component service and nested handlers.
#include "runtime/runtime.h"
#include "runtime/kinds/builtin_kinds.h"
#include "support/gui_wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct RecordedError {
    int code;
    std::string message;
};

class RuntimeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::requireDisplay(); }

    void SetUp() override {
        runtime::registerBuiltinKinds(runtime);
        runtime::registerPlaceholderKind(runtime, "Thing");
        runtime.setRuntimeErrorHook([this](int code, const std::string& m) {
            errors.push_back({code, m});
            return true;
        });
    }

    runtime::ComponentDescription thing(const char* name, runtime::Rect r, runtime::Bindings b = {}) {
        runtime::ComponentDescription c;
        c.kind = "Thing";
        c.name = name;
        c.rect = r;
        c.block = {7, 7, 7};
        c.bindings = std::move(b);
        return c;
    }

    runtime::Runtime runtime;
    std::vector<RecordedError> errors;
};

TEST_F(RuntimeTest, LoadsComponentsAtTheirPlacesAndRunsCreatedFirst) {
    runtime::WindowDescription w;
    w.rect = {50, 50, 300, 200};
    bool created = false;
    size_t seen = 0;
    w.bindings[runtime::window_event::kCreated] = [&](runtime::Event& e) {
        created = true;
        seen = runtime.components(e.source.window).size();
        return runtime::Value{};
    };
    w.components.push_back(thing("top", {1, 2, 30, 40}));
    auto hidden = thing("hidden", {5, 6, 7, 8});
    hidden.visible = false;
    w.components.push_back(hidden);
    w.components.push_back(thing("bottom", {0, 0, 300, 200}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    EXPECT_TRUE(created);
    EXPECT_EQ(seen, 3u);
    auto top = runtime.find(win.window, "top");
    ASSERT_TRUE(top);
    EXPECT_EQ(runtime::asInt(runtime.get(*top, runtime::prop::kLeft)), 1);
    EXPECT_EQ(runtime::asInt(runtime.get(*top, runtime::prop::kHeight)), 40);
    EXPECT_FALSE(runtime::asBool(runtime.get(*runtime.find(win.window, "hidden"), runtime::prop::kVisible)));
    EXPECT_TRUE(errors.empty());
}

TEST_F(RuntimeTest, CopyGetsFreshIdSameBindingsAndSitsBehindItsSource) {
    runtime::WindowDescription w;
    w.rect = {0, 0, 200, 200};
    std::vector<runtime::ComponentRef> clicked;
    w.components.push_back(thing("a", {0, 0, 10, 10}));
    w.components.push_back(thing("source", {10, 10, 20, 20}, {{runtime::event::kLeftDown, [&](runtime::Event&) {
                                                                   clicked.push_back(runtime.eventComponent());
                                                                   return runtime::Value{};
                                                               }}}));
    w.components.push_back(thing("c", {0, 0, 200, 200}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    runtime::ComponentRef source = *runtime.find(win.window, "source");
    runtime.set(source, runtime::prop::kTag, std::string("1"));

    auto copy = runtime.copy(source);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->component, source.component);
    EXPECT_EQ(runtime.kindOf(*copy), "Thing");
    EXPECT_EQ(runtime.component(*copy)->propertyBlock(), (runtime::Bytes{7, 7, 7}));
    EXPECT_EQ(runtime::asInt(runtime.get(*copy, runtime::prop::kLeft)), 10);
    EXPECT_EQ(runtime::asText(runtime.get(*copy, runtime::prop::kTag)), "1");

    auto order = runtime.components(win.window);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[1], source);
    EXPECT_EQ(order[2], *copy);

    runtime.raise(*copy, runtime::event::kLeftDown, {1, 1, 0});
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], *copy);

    // The window itself cannot be copied.
    EXPECT_FALSE(runtime.copy(win));
}

// An edit box tells Pango its text's language, once its entry joins the
// window as the window shows. The names the program gives
// components for assistive technology stay with them and their copies; a
// kind with GTK's own accessible object (an edit box's text object) gets
// them there.
TEST_F(RuntimeTest, EditBoxTextLanguageAndAccessibleTextsReachTheWidgetAndFollowCopies) {
    runtime::WindowDescription w;
    w.rect = {0, 0, 200, 100};
    runtime::ComponentDescription box;
    box.kind = "EditBox";
    box.name = "box";
    box.rect = {10, 10, 150, 20};
    box.block = runtime::EditBoxBlock{}.serialize();
    box.bindings[runtime::event::kFocusGained] = [](runtime::Event&) { return runtime::Value{}; };
    w.components.push_back(box);
    w.components.push_back(thing("thing", {0, 0, 10, 10}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    runtime::ComponentRef ref = *runtime.find(win.window, "box");
    runtime::ComponentRef plain = *runtime.find(win.window, "thing");

    runtime.setAccessibleText(ref, "网址", "输入网址或关键字");
    EXPECT_EQ(runtime.accessibleName(ref), "网址");
    AtkObject* a = gtk_widget_get_accessible(runtime.component(ref)->widget());
    EXPECT_EQ(atk_object_get_role(a), ATK_ROLE_TEXT);
    EXPECT_STREQ(atk_object_get_name(a), "网址");
    EXPECT_STREQ(atk_object_get_description(a), "输入网址或关键字");

    auto copy = runtime.copy(ref);
    ASSERT_TRUE(copy);
    EXPECT_EQ(runtime.accessibleDescription(*copy), "输入网址或关键字");
    EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(runtime.component(*copy)->widget())), "网址");

    EXPECT_TRUE(runtime.hasBinding(ref, runtime::event::kFocusGained));
    EXPECT_FALSE(runtime.hasBinding(ref, runtime::event::kLeftDown));
    EXPECT_EQ(runtime::Runtime::componentOfWidget(runtime.component(plain)->widget()), runtime.component(plain));
    EXPECT_EQ(runtime::Runtime::componentOfWidget(runtime.hostWidget(plain)), nullptr);
    runtime.destroy(*copy);
    EXPECT_EQ(runtime.accessibleName(*copy), "");
    EXPECT_FALSE(runtime.hasBinding(*copy, runtime::event::kFocusGained));

    // The entry joins its host, and takes its text and language, only as
    // the window shows (either brings up the input method); the box is whole
    // before then: its text can be set and read, and shows once on screen.
    GtkWidget* entry = runtime.component(ref)->widget();
    EXPECT_EQ(gtk_widget_get_parent(entry), nullptr) << "the entry joined a window that is not on screen";
    const int content = runtime::prop::own(runtime::edit_box::kContent);
    runtime.set(ref, content, std::string("关键字"));
    EXPECT_EQ(runtime::asText(runtime.get(ref, content)), "关键字");
    runtime.show(win.window);
    ASSERT_TRUE(testsupport::waitFor([&] { return gtk_widget_get_parent(entry) != nullptr; }));
    EXPECT_EQ(gtk_widget_get_parent(entry), runtime.hostWidget(ref));
    EXPECT_TRUE(gtk_widget_get_realized(entry));
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(entry)), "关键字");
    EXPECT_EQ(runtime::asText(runtime.get(ref, content)), "关键字");
    runtime.set(ref, content, std::string("新区"));
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(entry)), "新区");

    // The box's text is marked as Simplified Chinese, so its Han characters
    // take the face the other components use whatever the locale.
    PangoAttrList* attributes = gtk_entry_get_attributes(GTK_ENTRY(entry));
    ASSERT_NE(attributes, nullptr);
    PangoAttrIterator* it = pango_attr_list_get_iterator(attributes);
    auto* language = reinterpret_cast<PangoAttrLanguage*>(pango_attr_iterator_get(it, PANGO_ATTR_LANGUAGE));
    ASSERT_NE(language, nullptr);
    EXPECT_STREQ(pango_language_to_string(language->value), "zh-cn");
    pango_attr_iterator_destroy(it);

    // A window closed before it ever showed takes its unjoined boxes with it.
    runtime::ComponentRef unseen = runtime.loadWindow(w);
    GtkWidget* unjoined = runtime.component(*runtime.find(unseen.window, "box"))->widget();
    gpointer watch = unjoined;
    g_object_add_weak_pointer(G_OBJECT(unjoined), &watch);
    runtime.destroy(unseen);
    ASSERT_TRUE(testsupport::waitFor([&] { return watch == nullptr; })) << "an unjoined entry outlived its window";
    runtime.destroy(win);
    EXPECT_TRUE(errors.empty());
}

// Hidden hosts get their window only when first shown, which start-up
// relies on to stay cheap; showing must still bring the cursor, and a copy
// made while hidden must still lie directly behind its source.
TEST_F(RuntimeTest, HiddenHostsAreRealisedWhenShownWithCursorAndStacking) {
    runtime::WindowDescription w;
    w.rect = {40, 40, 200, 200};
    w.components.push_back(thing("a", {0, 0, 10, 10}));
    auto hidden = thing("source", {10, 10, 20, 20});
    hidden.visible = false;
    hidden.cursor = runtime::cursor::kHand;
    w.components.push_back(hidden);
    w.components.push_back(thing("c", {0, 0, 200, 200}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    runtime::ComponentRef a = *runtime.find(win.window, "a"), c = *runtime.find(win.window, "c");
    runtime::ComponentRef source = *runtime.find(win.window, "source");
    runtime.show(win.window);
    ASSERT_TRUE(testsupport::waitFor([&] { return gtk_widget_get_mapped(runtime.hostWidget(c)); }));
    EXPECT_FALSE(gtk_widget_get_realized(runtime.hostWidget(source)));
    auto copy = runtime.copy(source);
    ASSERT_TRUE(copy);

    runtime.set(source, runtime::prop::kVisible, true);
    runtime.set(*copy, runtime::prop::kVisible, true);
    for (runtime::ComponentRef r : {source, *copy}) {
        GtkWidget* host = runtime.hostWidget(r);
        ASSERT_TRUE(testsupport::waitFor(
            [&] { return gtk_widget_get_mapped(host) && gtk_widget_get_allocated_width(host) == 20; }));
        EXPECT_NE(gdk_window_get_cursor(gtk_widget_get_window(host)), nullptr);
    }

    // Each host sits in a wrapper window of its own, and these decide where
    // the pointer goes; once laid out their stacking (whichever way the list
    // runs) is a, source, copy, c, as painting has it.
    auto wrapper = [&](runtime::ComponentRef r) {
        return gdk_window_get_parent(gtk_widget_get_window(runtime.hostWidget(r)));
    };
    GList* kids = gdk_window_get_children(gdk_window_get_parent(wrapper(a)));
    auto at = [&](runtime::ComponentRef r) { return g_list_index(kids, wrapper(r)); };
    int pa = at(a), ps = at(source), pc = at(*copy), pz = at(c);
    g_list_free(kids);
    ASSERT_TRUE(pa >= 0 && ps >= 0 && pc >= 0 && pz >= 0);
    EXPECT_TRUE((pa < ps && ps < pc && pc < pz) || (pa > ps && ps > pc && pc > pz))
        << pa << " " << ps << " " << pc << " " << pz;
    EXPECT_EQ(std::abs(ps - pc), 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(RuntimeTest, DestroyedComponentIsARuntimeErrorNotACrash) {
    runtime::WindowDescription w;
    w.components.push_back(thing("x", {0, 0, 10, 10}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    runtime::ComponentRef x = *runtime.find(win.window, "x");
    runtime.destroy(x);
    EXPECT_FALSE(runtime.exists(x));
    runtime.get(x, runtime::prop::kLeft);
    runtime.set(x, runtime::prop::kVisible, true);
    runtime.call(x, 0);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].code, runtime::runtime_error::kNoSuchComponent);

    // Nor does an unknown property of a living component crash.
    runtime::ComponentRef label = runtime
                                      .find(runtime
                                                .loadWindow([] {
                                                    runtime::WindowDescription d;
                                                    runtime::ComponentDescription c;
                                                    c.kind = "Label";
                                                    c.name = "l";
                                                    d.components.push_back(c);
                                                    return d;
                                                }())
                                                .window,
                                          "l")
                                      .value();
    runtime.get(label, 8 + 99);
    EXPECT_EQ(errors.back().code, runtime::runtime_error::kNoSuchProperty);
}

TEST_F(RuntimeTest, EventComponentOutsideAHandlerGivesTheExactMessage) {
    runtime.eventComponent();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "“取事件组件”命令只能在事件处理子程序中使用");
}

// A left-button press raised on `target` from the main loop, as a press the
// user makes while a handler pumps messages.
struct QueuedPress {
    runtime::Runtime* runtime;
    runtime::ComponentRef target;
};

void pressWhenIdle(QueuedPress& queued) {
    g_idle_add(
        [](gpointer p) -> gboolean {
            auto* q = static_cast<QueuedPress*>(p);
            q->runtime->raise(q->target, runtime::event::kLeftDown, {0, 0, 0});
            return G_SOURCE_REMOVE;
        },
        &queued);
}
TEST_F(RuntimeTest, HandlersNestThroughProcessPendingMessages) {
    // An event queued on the main loop while a handler runs is dispatched
    // from inside it by processPendingMessages; afterwards the outer handler
    // still sees itself as the event component.
    QueuedPress queued{&runtime, {}};
    std::vector<std::string> trace;
    runtime::WindowDescription w;
    w.components.push_back(
        thing("outer", {0, 0, 10, 10}, {{runtime::event::kLeftDown, [&](runtime::Event&) {
                                             trace.push_back("outer-begin");
                                             pressWhenIdle(queued);
                                             runtime.processPendingMessages();
                                             trace.push_back("outer-end:" + runtime.nameOf(runtime.eventComponent()));
                                             return runtime::Value{};
                                         }}}));
    w.components.push_back(
        thing("inner", {0, 0, 10, 10}, {{runtime::event::kLeftDown, [&](runtime::Event&) {
                                             trace.push_back("inner:" + runtime.nameOf(runtime.eventComponent()));
                                             return runtime::Value{};
                                         }}}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    queued.target = *runtime.find(win.window, "inner");
    runtime.raise(*runtime.find(win.window, "outer"), runtime::event::kLeftDown, {0, 0, 0});
    EXPECT_EQ(trace, (std::vector<std::string>{"outer-begin", "inner:inner", "outer-end:outer"}));
    EXPECT_EQ(runtime.handlerDepth(), 0);
}

// A kind that counts how many of its objects have been freed.
class Mortal final : public runtime::Component {
public:
    Mortal(const runtime::CreateInfo& info, int* freed) : Component(info), freed_(freed) {
        area_ = gtk_drawing_area_new();
    }
    ~Mortal() override { ++*freed_; }
    GtkWidget* widget() override { return area_; }

private:
    int* freed_;
    GtkWidget* area_;
};

TEST_F(RuntimeTest, DestroyedComponentsOutliveEveryHandlerOnTheStack) {
    // A handler destroys the component that raised its event and another
    // one, then lets queued messages through; one of those raises a nested
    // event. Nothing may be freed until the outermost handler has returned
    // to the raising component's code and the loop is idle again: the raiser
    // still runs on its own object after its event returns.
    int freed = 0;
    runtime.registerKind(
        "Mortal", [&freed](const runtime::CreateInfo& info) { return std::make_unique<Mortal>(info, &freed); });
    QueuedPress queued{&runtime, {}};
    std::vector<std::string> trace;
    auto mortal = [](const char* name, runtime::Bindings b) {
        runtime::ComponentDescription c;
        c.kind = "Mortal";
        c.name = name;
        c.rect = {0, 0, 10, 10};
        c.bindings = std::move(b);
        return c;
    };
    runtime::WindowDescription w;
    w.components.push_back(mortal("raiser", {{runtime::event::kLeftDown, [&](runtime::Event& e) {
                                                  runtime.destroy(e.source);
                                                  runtime.destroy(*runtime.find(e.source.window, "other"));
                                                  pressWhenIdle(queued);
                                                  runtime.processPendingMessages();
                                                  trace.push_back("after pump: " + std::to_string(freed) + " freed");
                                                  return runtime::Value{};
                                              }}}));
    w.components.push_back(mortal("other", {}));
    w.components.push_back(mortal("nested", {{runtime::event::kLeftDown, [&](runtime::Event&) {
                                                  trace.push_back("nested");
                                                  return runtime::Value{};
                                              }}}));
    runtime::ComponentRef win = runtime.loadWindow(w);
    queued.target = *runtime.find(win.window, "nested");
    runtime::ComponentRef raiser = *runtime.find(win.window, "raiser");
    Mortal* object = static_cast<Mortal*>(runtime.component(raiser));
    runtime.raise(raiser, runtime::event::kLeftDown, {0, 0, 0});
    // Back in the raiser's own code: its object is still whole.
    ASSERT_EQ(freed, 0);
    EXPECT_EQ(object->ref(), raiser);
    EXPECT_FALSE(runtime.exists(raiser));
    EXPECT_EQ(trace, (std::vector<std::string>{"nested", "after pump: 0 freed"}));
    EXPECT_EQ(runtime.componentsAwaitingFree(), 2u);

    // Once idle with no handler running, both go.
    ASSERT_TRUE(testsupport::waitFor([&] { return freed == 2; }, std::chrono::seconds(5)));
    EXPECT_EQ(runtime.componentsAwaitingFree(), 0u);

    // A component destroyed outside any handler is freed at the next idle.
    runtime.destroy(*runtime.find(win.window, "nested"));
    ASSERT_TRUE(testsupport::waitFor([&] { return freed == 3; }, std::chrono::seconds(5)));
}

TEST_F(RuntimeTest, TimerTicksAndStopsAtZero) {
    runtime::WindowDescription w;
    int ticks = 0;
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    runtime::ComponentDescription t;
    t.kind = "Timer";
    t.name = "t";
    t.block = runtime::TimerBlock{1}.serialize();  // below the minimum: runs at 10 ms
    t.bindings[runtime::timer::kTick] = [&](runtime::Event& e) {
        if (++ticks == 3) {
            runtime.set(e.source, runtime::prop::own(runtime::timer::kInterval), 0);
            g_main_loop_quit(loop);
        }
        return runtime::Value{};
    };
    w.components.push_back(t);
    runtime.loadWindow(w);
    testsupport::runLoop(loop, std::chrono::seconds(10));
    g_main_loop_unref(loop);
    EXPECT_EQ(ticks, 3);
}

}  // namespace
