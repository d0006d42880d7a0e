#include "accessible_glue.h"

#include <gtk/gtk-a11y.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "accessible.h"
#include "gobject_ptr.h"
#include "runtime.h"

namespace runtime {
namespace {

constexpr const char* kClickAction = "click";
constexpr const char* kAccessibleKey = "rt-accessible";

AtkRole atkRole(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::kFiller: return ATK_ROLE_FILLER;
        case AccessibleRole::kPushButton: return ATK_ROLE_PUSH_BUTTON;
        case AccessibleRole::kLink: return ATK_ROLE_LINK;
        case AccessibleRole::kLabel: return ATK_ROLE_LABEL;
        case AccessibleRole::kPageTabList: return ATK_ROLE_PAGE_TAB_LIST;
        case AccessibleRole::kPageTab: return ATK_ROLE_PAGE_TAB;
        case AccessibleRole::kDefault: break;
    }
    return ATK_ROLE_UNKNOWN;
}

Component* componentOfAccessible(AtkObject* a) {
    GtkWidget* w = gtk_accessible_get_widget(GTK_ACCESSIBLE(a));
    return w ? Runtime::componentOfWidget(w) : nullptr;
}

// The component's facts with the program's name and description; nothing
// when the component is gone.
std::optional<AccessibleFacts> liveFacts(AtkObject* a) {
    GtkWidget* w = gtk_accessible_get_widget(GTK_ACCESSIBLE(a));
    Component* c = w ? Runtime::componentOfWidget(w) : nullptr;
    if (!c) return std::nullopt;
    Runtime& r = c->runtime();
    return withGivenText(c->accessibleFacts(), r.accessibleName(c->ref()), r.accessibleDescription(c->ref()));
}

}  // namespace
}  // namespace runtime

// ---- One item drawn inside a component (a page header) -------------------

struct RtItemAccessible {
    AtkObject parent;
    runtime::AccessibleFacts* facts;
    int index;
    gboolean defunct;
};
struct RtItemAccessibleClass {
    AtkObjectClass parent_class;
};

static void rt_item_accessible_action_init(AtkActionIface* iface);
static void rt_item_accessible_component_init(AtkComponentIface* iface);

G_DEFINE_TYPE_WITH_CODE(RtItemAccessible, rt_item_accessible, ATK_TYPE_OBJECT,
    G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, rt_item_accessible_action_init)
        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, rt_item_accessible_component_init))

#define RT_ITEM_ACCESSIBLE(o) (G_TYPE_CHECK_INSTANCE_CAST((o), rt_item_accessible_get_type(), RtItemAccessible))

// ---- The accessible object of an area -------------------------------------

namespace {

struct AreaState {
    runtime::AccessibleFacts last;
    bool sensitive = true;
    bool visible = true;
    bool known = false;  // last, sensitive and visible have been taken once
    // The strings handed out by get_name and get_description, which must
    // outlive the call.
    std::string nameOut, descriptionOut;
    std::vector<runtime::GObjectPtr<AtkObject>> items;
    guint idle = 0;
};

}  // namespace

struct RtAreaAccessible {
    GtkWidgetAccessible parent;
    AreaState* state;
};
struct RtAreaAccessibleClass {
    GtkWidgetAccessibleClass parent_class;
};

static void rt_area_accessible_action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(RtAreaAccessible, rt_area_accessible, GTK_TYPE_WIDGET_ACCESSIBLE,
    G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, rt_area_accessible_action_init))

#define RT_AREA_ACCESSIBLE(o) (G_TYPE_CHECK_INSTANCE_CAST((o), rt_area_accessible_get_type(), RtAreaAccessible))
#define RT_IS_AREA_ACCESSIBLE(o) (G_TYPE_CHECK_INSTANCE_TYPE((o), rt_area_accessible_get_type()))

struct RtListAccessible {
    RtAreaAccessible parent;
};
struct RtListAccessibleClass {
    RtAreaAccessibleClass parent_class;
};

static void rt_list_accessible_selection_init(AtkSelectionIface* iface);

G_DEFINE_TYPE_WITH_CODE(RtListAccessible, rt_list_accessible, rt_area_accessible_get_type(),
    G_IMPLEMENT_INTERFACE(ATK_TYPE_SELECTION, rt_list_accessible_selection_init))

// ---- The widgets ----------------------------------------------------------

struct RtArea {
    GtkDrawingArea parent;
};
struct RtAreaClass {
    GtkDrawingAreaClass parent_class;
};
G_DEFINE_TYPE(RtArea, rt_area, GTK_TYPE_DRAWING_AREA)

struct RtListArea {
    RtArea parent;
};
struct RtListAreaClass {
    RtAreaClass parent_class;
};
G_DEFINE_TYPE(RtListArea, rt_list_area, rt_area_get_type())

static void rt_area_class_init(RtAreaClass* klass) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), rt_area_accessible_get_type());
}
static void rt_area_init(RtArea*) {}
static void rt_list_area_class_init(RtListAreaClass* klass) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), rt_list_accessible_get_type());
}
static void rt_list_area_init(RtListArea*) {}

// ---- Clicks ---------------------------------------------------------------

namespace {

// A click asked for by assistive technology runs from the main loop, never
// inside the request: the handler may open a message box with a loop of its
// own, and the caller (a screen reader waiting on the accessibility bus)
// would wait for its answer all that time.
struct PendingClick {
    runtime::GObjectPtr<AtkObject> area;
    runtime::GObjectPtr<AtkObject> item;  // null: the area itself
};

gboolean runClick(gpointer p) {
    auto* click = static_cast<PendingClick*>(p);
    runtime::Component* c = runtime::componentOfAccessible(click->area.get());
    if (!c) return G_SOURCE_REMOVE;
    if (!click->item) {
        c->accessibleClick();
    } else {
        RtItemAccessible* item = RT_ITEM_ACCESSIBLE(click->item.get());
        if (!item->defunct) c->accessibleItemClick(item->index);
    }
    return G_SOURCE_REMOVE;
}

bool queueClick(AtkObject* area, AtkObject* item) {
    if (!runtime::componentOfAccessible(area)) return false;
    auto* click = new PendingClick{
        runtime::GObjectPtr<AtkObject>::retain(area), runtime::GObjectPtr<AtkObject>::retain(item)};
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, runClick, click, [](gpointer p) { delete static_cast<PendingClick*>(p); });
    return true;
}

// ---- Keeping clients up to date -------------------------------------------

AtkObject* newItem(AtkObject* area, const runtime::AccessibleFacts& facts, int index) {
    auto* item = RT_ITEM_ACCESSIBLE(g_object_new(rt_item_accessible_get_type(), nullptr));
    *item->facts = facts;
    item->index = index;
    atk_object_set_parent(ATK_OBJECT(item), area);
    return ATK_OBJECT(item);
}

void markDefunct(AtkObject* item) {
    RtItemAccessible* it = RT_ITEM_ACCESSIBLE(item);
    if (it->defunct) return;
    it->defunct = TRUE;
    atk_object_notify_state_change(item, ATK_STATE_DEFUNCT, TRUE);
}

// Without `announce` (the object is new and no client knows it yet) the
// items are taken as they are, with no notifications.
void syncItems(AtkObject* area, AreaState& s, const std::vector<runtime::AccessibleFacts>& now, bool announce) {
    std::vector<runtime::AccessibleFacts> before;
    before.reserve(s.items.size());
    for (const auto& item : s.items) before.push_back(*RT_ITEM_ACCESSIBLE(item.get())->facts);
    const std::vector<int> from = runtime::continuedItems(before, now);

    std::vector<bool> kept(before.size(), false);
    for (int j : from)
        if (j >= 0) kept[static_cast<size_t>(j)] = true;
    std::vector<runtime::GObjectPtr<AtkObject>> old = std::move(s.items);
    s.items.clear();
    s.items.reserve(now.size());
    std::vector<size_t> added;
    bool selectionChanged = false;
    for (size_t i = 0; i < now.size(); ++i) {
        if (from[i] < 0) {
            s.items.push_back(runtime::GObjectPtr<AtkObject>::adopt(newItem(area, now[i], static_cast<int>(i))));
            added.push_back(i);
            selectionChanged |= now[i].selected;
            continue;
        }
        s.items.push_back(old[static_cast<size_t>(from[i])]);
        AtkObject* obj = s.items.back().get();
        RtItemAccessible* item = RT_ITEM_ACCESSIBLE(obj);
        const runtime::AccessibleFacts previous = *item->facts;
        *item->facts = now[i];
        item->index = static_cast<int>(i);
        if (!announce) continue;
        if (previous.name != now[i].name) g_object_notify(G_OBJECT(obj), "accessible-name");
        if (previous.description != now[i].description) g_object_notify(G_OBJECT(obj), "accessible-description");
        if (previous.selected != now[i].selected) {
            atk_object_notify_state_change(obj, ATK_STATE_SELECTED, now[i].selected);
            selectionChanged = true;
        }
    }
    if (!announce) return;
    // Removals first, from the back, so that each index is right for the
    // list as the client holds it; then the additions, from the front.
    for (size_t j = old.size(); j-- > 0;) {
        if (kept[j]) continue;
        selectionChanged |= RT_ITEM_ACCESSIBLE(old[j].get())->facts->selected;
        markDefunct(old[j].get());
        g_signal_emit_by_name(area, "children-changed::remove", static_cast<guint>(j), old[j].get());
    }
    for (size_t i : added)
        g_signal_emit_by_name(area, "children-changed::add", static_cast<guint>(i), s.items[i].get());
    if (selectionChanged) g_signal_emit_by_name(area, "selection-changed");
}

void sync(AtkObject* a) {
    AreaState& s = *RT_AREA_ACCESSIBLE(a)->state;
    GtkWidget* w = gtk_accessible_get_widget(GTK_ACCESSIBLE(a));
    runtime::Component* c = w ? runtime::Runtime::componentOfWidget(w) : nullptr;
    if (!c) return;
    runtime::Runtime& r = c->runtime();
    runtime::AccessibleFacts facts = withGivenText(
        c->accessibleFacts(), r.accessibleName(c->ref()), r.accessibleDescription(c->ref()));
    // The host is what the runtime hides and disables, so the widget's own
    // notifications (which GTK's accessible follows) never come.
    const bool sensitive = gtk_widget_is_sensitive(w);
    const bool visible = gtk_widget_is_visible(w);
    if (s.known) {
        if (facts.name != s.last.name) g_object_notify(G_OBJECT(a), "accessible-name");
        if (facts.description != s.last.description) g_object_notify(G_OBJECT(a), "accessible-description");
        if (facts.role != s.last.role) g_object_notify(G_OBJECT(a), "accessible-role");
        if (sensitive != s.sensitive) {
            atk_object_notify_state_change(a, ATK_STATE_SENSITIVE, sensitive);
            atk_object_notify_state_change(a, ATK_STATE_ENABLED, sensitive);
        }
        if (visible != s.visible) {
            atk_object_notify_state_change(a, ATK_STATE_VISIBLE, visible);
            atk_object_notify_state_change(a, ATK_STATE_SHOWING, visible);
        }
    }
    const bool announce = s.known;
    s.last = facts;
    s.sensitive = sensitive;
    s.visible = visible;
    s.known = true;
    syncItems(a, s, c->accessibleItems(), announce);
}

gboolean syncWhenIdle(gpointer p) {
    auto* a = static_cast<AtkObject*>(p);
    RT_AREA_ACCESSIBLE(a)->state->idle = 0;
    sync(a);
    return G_SOURCE_REMOVE;
}

void dropItems(AreaState& s) {
    for (auto& item : s.items) markDefunct(item.get());
    // The items hold their parent: clearing breaks the cycle.
    s.items.clear();
}

}  // namespace

// ---- RtItemAccessible -----------------------------------------------------

static const gchar* rt_item_accessible_get_name(AtkObject* o) { return RT_ITEM_ACCESSIBLE(o)->facts->name.c_str(); }
static const gchar* rt_item_accessible_get_description(AtkObject* o) {
    return RT_ITEM_ACCESSIBLE(o)->facts->description.c_str();
}
static gint rt_item_accessible_get_index_in_parent(AtkObject* o) {
    RtItemAccessible* item = RT_ITEM_ACCESSIBLE(o);
    return item->defunct ? -1 : item->index;
}

static AtkStateSet* rt_item_accessible_ref_state_set(AtkObject* o) {
    RtItemAccessible* item = RT_ITEM_ACCESSIBLE(o);
    AtkStateSet* set = atk_state_set_new();
    if (item->defunct) {
        atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    atk_state_set_add_state(set, ATK_STATE_SELECTABLE);
    if (item->facts->selected) atk_state_set_add_state(set, ATK_STATE_SELECTED);
    AtkObject* parent = atk_object_get_parent(o);
    AtkStateSet* ps = parent ? atk_object_ref_state_set(parent) : nullptr;
    if (ps) {
        for (AtkStateType t : {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_SHOWING})
            if (atk_state_set_contains_state(ps, t)) atk_state_set_add_state(set, t);
        g_object_unref(ps);
    }
    return set;
}

static void rt_item_accessible_finalize(GObject* o) {
    delete RT_ITEM_ACCESSIBLE(o)->facts;
    G_OBJECT_CLASS(rt_item_accessible_parent_class)->finalize(o);
}

static void rt_item_accessible_class_init(RtItemAccessibleClass* klass) {
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_name = rt_item_accessible_get_name;
    atk->get_description = rt_item_accessible_get_description;
    atk->get_index_in_parent = rt_item_accessible_get_index_in_parent;
    atk->ref_state_set = rt_item_accessible_ref_state_set;
    G_OBJECT_CLASS(klass)->finalize = rt_item_accessible_finalize;
}

static void rt_item_accessible_init(RtItemAccessible* item) {
    item->facts = new runtime::AccessibleFacts();
    item->index = 0;
    item->defunct = FALSE;
    atk_object_set_role(ATK_OBJECT(item), ATK_ROLE_PAGE_TAB);
}

static gint rt_item_accessible_get_n_actions(AtkAction* action) {
    return RT_ITEM_ACCESSIBLE(action)->facts->clickable ? 1 : 0;
}
static const gchar* rt_item_accessible_action_name(AtkAction* action, gint i) {
    return i == 0 && RT_ITEM_ACCESSIBLE(action)->facts->clickable ? runtime::kClickAction : nullptr;
}
static gboolean rt_item_accessible_do_action(AtkAction* action, gint i) {
    RtItemAccessible* item = RT_ITEM_ACCESSIBLE(action);
    AtkObject* parent = atk_object_get_parent(ATK_OBJECT(action));
    if (i != 0 || item->defunct || !item->facts->clickable || !parent) return FALSE;
    return queueClick(parent, ATK_OBJECT(action));
}

static void rt_item_accessible_action_init(AtkActionIface* iface) {
    iface->get_n_actions = rt_item_accessible_get_n_actions;
    iface->get_name = rt_item_accessible_action_name;
    iface->do_action = rt_item_accessible_do_action;
}

static void rt_item_accessible_get_extents(
    AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coords) {
    RtItemAccessible* item = RT_ITEM_ACCESSIBLE(component);
    AtkObject* parent = atk_object_get_parent(ATK_OBJECT(component));
    *x = *y = *width = *height = -1;
    if (item->defunct || !parent || !ATK_IS_COMPONENT(parent)) return;
    gint px = 0, py = 0, pw = 0, ph = 0;
    atk_component_get_extents(ATK_COMPONENT(parent), &px, &py, &pw, &ph, coords);
    const runtime::AccessibleBounds& b = item->facts->bounds;
    *x = px + b.left;
    *y = py + b.top;
    *width = b.width;
    *height = b.height;
}

static void rt_item_accessible_component_init(AtkComponentIface* iface) {
    iface->get_extents = rt_item_accessible_get_extents;
}

// ---- RtAreaAccessible -----------------------------------------------------

static void rt_area_accessible_initialize(AtkObject* a, gpointer data) {
    ATK_OBJECT_CLASS(rt_area_accessible_parent_class)->initialize(a, data);
    g_object_set_data(G_OBJECT(data), runtime::kAccessibleKey, a);
    sync(a);
}

static const gchar* rt_area_accessible_get_name(AtkObject* a) {
    AreaState& s = *RT_AREA_ACCESSIBLE(a)->state;
    if (auto facts = runtime::liveFacts(a); facts && !facts->name.empty()) {
        s.nameOut = facts->name;
        return s.nameOut.c_str();
    }
    return ATK_OBJECT_CLASS(rt_area_accessible_parent_class)->get_name(a);
}

static const gchar* rt_area_accessible_get_description(AtkObject* a) {
    AreaState& s = *RT_AREA_ACCESSIBLE(a)->state;
    if (auto facts = runtime::liveFacts(a); facts && !facts->description.empty()) {
        s.descriptionOut = facts->description;
        return s.descriptionOut.c_str();
    }
    return ATK_OBJECT_CLASS(rt_area_accessible_parent_class)->get_description(a);
}

static AtkRole rt_area_accessible_get_role(AtkObject* a) {
    auto facts = runtime::liveFacts(a);
    if (!facts || facts->role == runtime::AccessibleRole::kDefault)
        return ATK_OBJECT_CLASS(rt_area_accessible_parent_class)->get_role(a);
    return runtime::atkRole(facts->role);
}

static gint rt_area_accessible_get_n_children(AtkObject* a) {
    return static_cast<gint>(RT_AREA_ACCESSIBLE(a)->state->items.size());
}

static AtkObject* rt_area_accessible_ref_child(AtkObject* a, gint i) {
    const auto& items = RT_AREA_ACCESSIBLE(a)->state->items;
    if (i < 0 || static_cast<size_t>(i) >= items.size()) return nullptr;
    return ATK_OBJECT(g_object_ref(items[static_cast<size_t>(i)].get()));
}

static void rt_area_accessible_widget_unset(GtkAccessible* a) {
    AreaState& s = *RT_AREA_ACCESSIBLE(a)->state;
    if (GtkWidget* w = gtk_accessible_get_widget(a))
        if (g_object_get_data(G_OBJECT(w), runtime::kAccessibleKey) == a)
            g_object_set_data(G_OBJECT(w), runtime::kAccessibleKey, nullptr);
    if (s.idle) g_source_remove(s.idle);
    s.idle = 0;
    dropItems(s);
    if (GTK_ACCESSIBLE_CLASS(rt_area_accessible_parent_class)->widget_unset)
        GTK_ACCESSIBLE_CLASS(rt_area_accessible_parent_class)->widget_unset(a);
}

static void rt_area_accessible_finalize(GObject* o) {
    AreaState* s = RT_AREA_ACCESSIBLE(o)->state;
    if (s->idle) g_source_remove(s->idle);
    dropItems(*s);
    delete s;
    G_OBJECT_CLASS(rt_area_accessible_parent_class)->finalize(o);
}

static void rt_area_accessible_class_init(RtAreaAccessibleClass* klass) {
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->initialize = rt_area_accessible_initialize;
    atk->get_name = rt_area_accessible_get_name;
    atk->get_description = rt_area_accessible_get_description;
    atk->get_role = rt_area_accessible_get_role;
    atk->get_n_children = rt_area_accessible_get_n_children;
    atk->ref_child = rt_area_accessible_ref_child;
    GTK_ACCESSIBLE_CLASS(klass)->widget_unset = rt_area_accessible_widget_unset;
    G_OBJECT_CLASS(klass)->finalize = rt_area_accessible_finalize;
}

static void rt_area_accessible_init(RtAreaAccessible* a) { a->state = new AreaState(); }

static gint rt_area_accessible_get_n_actions(AtkAction* action) {
    auto facts = runtime::liveFacts(ATK_OBJECT(action));
    return facts && facts->clickable ? 1 : 0;
}
static const gchar* rt_area_accessible_action_name(AtkAction* action, gint i) {
    return i == 0 && rt_area_accessible_get_n_actions(action) == 1 ? runtime::kClickAction : nullptr;
}
static gboolean rt_area_accessible_do_action(AtkAction* action, gint i) {
    if (i != 0 || rt_area_accessible_get_n_actions(action) != 1) return FALSE;
    GtkWidget* w = gtk_accessible_get_widget(GTK_ACCESSIBLE(action));
    // What a mouse cannot click, assistive technology cannot either.
    if (!w || !gtk_widget_is_sensitive(w) || !gtk_widget_is_visible(w)) return FALSE;
    return queueClick(ATK_OBJECT(action), nullptr);
}

static void rt_area_accessible_action_init(AtkActionIface* iface) {
    iface->get_n_actions = rt_area_accessible_get_n_actions;
    iface->get_name = rt_area_accessible_action_name;
    iface->do_action = rt_area_accessible_do_action;
}

// ---- RtListAccessible -----------------------------------------------------

static void rt_list_accessible_class_init(RtListAccessibleClass*) {}
static void rt_list_accessible_init(RtListAccessible*) {}

static AtkObject* selectedItem(AtkSelection* selection) {
    for (const auto& item : RT_AREA_ACCESSIBLE(selection)->state->items)
        if (RT_ITEM_ACCESSIBLE(item.get())->facts->selected) return item.get();
    return nullptr;
}

static gboolean rt_list_accessible_add_selection(AtkSelection* selection, gint i) {
    AtkObject* a = ATK_OBJECT(selection);
    const auto& items = RT_AREA_ACCESSIBLE(a)->state->items;
    if (i < 0 || static_cast<size_t>(i) >= items.size()) return FALSE;
    return queueClick(a, items[static_cast<size_t>(i)].get());
}
static AtkObject* rt_list_accessible_ref_selection(AtkSelection* selection, gint i) {
    AtkObject* item = i == 0 ? selectedItem(selection) : nullptr;
    return item ? ATK_OBJECT(g_object_ref(item)) : nullptr;
}
static gint rt_list_accessible_get_selection_count(AtkSelection* selection) { return selectedItem(selection) ? 1 : 0; }
static gboolean rt_list_accessible_is_child_selected(AtkSelection* selection, gint i) {
    const auto& items = RT_AREA_ACCESSIBLE(selection)->state->items;
    if (i < 0 || static_cast<size_t>(i) >= items.size()) return FALSE;
    return RT_ITEM_ACCESSIBLE(items[static_cast<size_t>(i)].get())->facts->selected;
}

static void rt_list_accessible_selection_init(AtkSelectionIface* iface) {
    iface->add_selection = rt_list_accessible_add_selection;
    iface->ref_selection = rt_list_accessible_ref_selection;
    iface->get_selection_count = rt_list_accessible_get_selection_count;
    iface->is_child_selected = rt_list_accessible_is_child_selected;
}

// ---- Public ---------------------------------------------------------------

namespace runtime {

GtkWidget* accessibleAreaNew() { return GTK_WIDGET(g_object_new(rt_area_get_type(), nullptr)); }

GtkWidget* accessibleItemListAreaNew() { return GTK_WIDGET(g_object_new(rt_list_area_get_type(), nullptr)); }

bool isAccessibleArea(GtkWidget* widget) { return G_TYPE_CHECK_INSTANCE_TYPE(widget, rt_area_get_type()); }

void accessibleChanged(GtkWidget* area) {
    if (!area) return;
    auto* a = static_cast<AtkObject*>(g_object_get_data(G_OBJECT(area), kAccessibleKey));
    if (!a || !RT_IS_AREA_ACCESSIBLE(a)) return;
    AreaState& s = *RT_AREA_ACCESSIBLE(a)->state;
    if (s.idle) return;
    s.idle = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, syncWhenIdle, g_object_ref(a), g_object_unref);
}

}  // namespace runtime
