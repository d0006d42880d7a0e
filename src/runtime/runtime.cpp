#include "runtime.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "accessible_glue.h"
#include "colour.h"
#include "gobject_ptr.h"
#include "input_method.h"
#include "key_codes.h"
#include "kinds/builtin_kinds.h"

namespace runtime {

struct Runtime::Slot {
    ComponentRef ref;
    std::string kind, name, alias;
    Rect rect;
    std::string tag;
    bool visible = true;
    bool disabled = false;
    int cursor = cursor::kDefault;
    Bindings bindings;
    std::unique_ptr<Component> component;
    GtkWidget* host = nullptr;           // windowed event box; owned by the client area
    std::vector<ComponentRef> sleepers;  // timers asleep while this is hidden
    std::string accessibleName, accessibleDescription;
};

struct Runtime::WindowRecord {
    uint32_t id = 0;
    std::string name;
    GtkWidget* window = nullptr;
    // Client area: an overlay whose overlay children are the component hosts
    // at absolute positions; its list order is the stacking order, for
    // painting and for input alike. The base child paints the background.
    GtkWidget* layout = nullptr;
    GtkWidget* base = nullptr;
    Rect rect;
    std::string caption;
    uint32_t background = 0;
    int state = window_prop::kStateNormal;
    Bindings bindings;
    bool activated = false;
    bool destroyed = false;
    std::vector<uint32_t> order;  // component ids, top-most first
    std::map<uint32_t, std::unique_ptr<Slot>> slots;
    uint32_t nextComponent = 1;
    Runtime* runtime = nullptr;
};

namespace {

struct HostData {
    Runtime* runtime;
    ComponentRef ref;
};

// Position of a pointer event relative to the host, whichever inner window
// received it.
std::pair<int, int> hostPosition(GtkWidget* host, double xRoot, double yRoot) {
    GdkWindow* w = gtk_widget_get_window(host);
    int ox = 0, oy = 0;
    if (w) gdk_window_get_origin(w, &ox, &oy);
    return {static_cast<int>(xRoot) - ox, static_cast<int>(yRoot) - oy};
}

// The GDK cursor for one of the program's cursor ids; null for the default
// and unknown ids (the host then shows its parent's cursor).
GdkCursor* cursorFor(GdkDisplay* display, int id) {
    const char* name = nullptr;
    switch (id) {
        case cursor::kHand: name = "pointer"; break;
        case cursor::kSizeNwse: name = "nwse-resize"; break;
        case cursor::kSizeNesw: name = "nesw-resize"; break;
        case cursor::kSizeWe: name = "ew-resize"; break;
        case cursor::kSizeNs: name = "ns-resize"; break;
        case cursor::kArrow: name = "default"; break;
        default: return nullptr;
    }
    return gdk_cursor_new_from_name(display, name);
}

}  // namespace

Value Component::raise(int index, std::vector<Value>& args) { return runtime_->raise(ref_, index, args); }

Runtime::Runtime() = default;

Runtime::~Runtime() {
    for (auto& [id, w] : windows_)
        if (w->window && !w->destroyed) {
            w->destroyed = true;
            gtk_widget_destroy(w->window);
        }
    windows_.clear();
    if (graveyardSource_) g_source_remove(graveyardSource_);
    graveyard_.clear();
}

Runtime& Runtime::instance() {
    static Runtime r;
    return r;
}

void Runtime::registerKind(const std::string& kind, KindFactory factory) { kinds_[kind] = std::move(factory); }

bool Runtime::hasKind(const std::string& kind) const { return kinds_.count(kind) != 0; }

Runtime::WindowRecord* Runtime::windowRecord(uint32_t window) const {
    auto it = windows_.find(window);
    if (it == windows_.end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

Runtime::Slot* Runtime::slot(ComponentRef ref) const {
    WindowRecord* w = windowRecord(ref.window);
    if (!w) return nullptr;
    auto it = w->slots.find(ref.component);
    return it == w->slots.end() ? nullptr : it->second.get();
}

bool Runtime::exists(ComponentRef ref) const {
    if (ref.component == 0) return windowRecord(ref.window) != nullptr;
    return slot(ref) != nullptr;
}

Component* Runtime::component(ComponentRef ref) const {
    Slot* s = slot(ref);
    return s ? s->component.get() : nullptr;
}

GtkWidget* Runtime::hostWidget(ComponentRef ref) const {
    if (ref.component == 0) {
        WindowRecord* w = windowRecord(ref.window);
        return w ? w->window : nullptr;
    }
    Slot* s = slot(ref);
    return s ? s->host : nullptr;
}

GtkWindow* Runtime::gtkWindow(uint32_t window) const {
    WindowRecord* w = windowRecord(window);
    return w ? GTK_WINDOW(w->window) : nullptr;
}

std::string Runtime::kindOf(ComponentRef ref) const {
    if (ref.component == 0) return windowRecord(ref.window) ? "window" : "";
    Slot* s = slot(ref);
    return s ? s->kind : "";
}

std::string Runtime::nameOf(ComponentRef ref) const {
    if (ref.component == 0) {
        WindowRecord* w = windowRecord(ref.window);
        return w ? w->name : "";
    }
    Slot* s = slot(ref);
    return s ? s->name : "";
}

std::vector<ComponentRef> Runtime::components(uint32_t window) const {
    std::vector<ComponentRef> out;
    if (WindowRecord* w = windowRecord(window))
        for (uint32_t id : w->order) out.push_back({window, id});
    return out;
}

std::optional<ComponentRef> Runtime::find(uint32_t window, const std::string& name) const {
    WindowRecord* w = windowRecord(window);
    if (!w) return std::nullopt;
    for (uint32_t id : w->order) {
        const Slot& s = *w->slots.at(id);
        if (s.name == name || (!s.alias.empty() && s.alias == name)) return ComponentRef{window, id};
    }
    return std::nullopt;
}

void Runtime::applyCursor(GtkWidget* host, int cursorId) {
    GdkWindow* gw = gtk_widget_get_window(host);
    if (!gw) return;
    GdkCursor* c = cursorFor(gdk_window_get_display(gw), cursorId);
    gdk_window_set_cursor(gw, c);
    if (c) g_object_unref(c);
}

void Runtime::connectHostEvents(Slot& s) {
    auto* data = new HostData{this, s.ref};
    g_object_set_data_full(G_OBJECT(s.host), "rt-host", data, [](gpointer p) { delete static_cast<HostData*>(p); });
    gtk_widget_add_events(s.host, GDK_BUTTON_PRESS_MASK | GDK_POINTER_MOTION_MASK);
    g_signal_connect(s.host, "realize", callback([](GtkWidget* host, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        if (Slot* sl = d->runtime->slot(d->ref)) applyCursor(host, sl->cursor);
    }),
        data);
    if (!s.component->hostMouseEvents()) return;
    g_signal_connect(s.host, "button-press-event", callback([](GtkWidget* host, GdkEventButton* e, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        if (e->button != 1) return FALSE;
        auto [x, y] = hostPosition(host, e->x_root, e->y_root);
        int index = e->type == GDK_2BUTTON_PRESS  ? event::kDoubleClick
                    : e->type == GDK_BUTTON_PRESS ? event::kLeftDown
                                                  : 0;
        if (index == 0) return FALSE;
        d->runtime->raise(d->ref, index, {x, y, modifierBits(e->state)});
        return FALSE;
    }),
        data);
    g_signal_connect(s.host, "motion-notify-event", callback([](GtkWidget* host, GdkEventMotion* e, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        auto [x, y] = hostPosition(host, e->x_root, e->y_root);
        d->runtime->raise(d->ref, event::kMouseMove, {x, y, modifierBits(e->state)});
        return FALSE;
    }),
        data);

    // Focus and keys come from the kind's own widget (an edit box's entry).
    GtkWidget* inner = s.component->widget();
    if (!gtk_widget_get_can_focus(inner)) return;
    g_signal_connect(inner, "focus-in-event", callback([](GtkWidget*, GdkEvent*, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        d->runtime->raise(d->ref, event::kFocusGained);
        return FALSE;
    }),
        data);
    g_signal_connect(inner, "focus-out-event", callback([](GtkWidget*, GdkEvent*, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        d->runtime->raise(d->ref, event::kFocusLost);
        return FALSE;
    }),
        data);
    if (GTK_IS_ENTRY(inner)) watchComposition(GTK_ENTRY(inner));
    g_signal_connect(inner, "key-press-event", callback([](GtkWidget* w, GdkEventKey* e, gpointer p) -> gboolean {
        auto* d = static_cast<HostData*>(p);
        ComponentRef ref = d->ref;
        Runtime* r = d->runtime;
        const auto ch = characterCode(e->keyval, e->state);
        // The input method sees the key before the program does (GtkEntry
        // would only offer it after these events); what it takes for a
        // composition is not the program's key.
        bool taken = false;
        if (GTK_IS_ENTRY(w)) {
            const ImOutcome im = filterThroughInputMethod(GTK_ENTRY(w), e);
            if (!r->exists(ref)) return TRUE;
            if (!keyRaisesEvents(im, ch)) return im.consumed;
            taken = im.consumed;
        }
        if (int vk = virtualKeyCode(e->keyval)) r->raise(ref, event::kKeyDown, {vk, modifierBits(e->state)});
        // The key-down handler may have destroyed the component.
        if (!r->exists(ref)) return TRUE;
        if (ch) r->raise(ref, event::kCharInput, {*ch});
        // A character the input method committed is in the text already.
        return taken;
    }),
        data);
}

Runtime::Slot* Runtime::createSlot(WindowRecord& w, const ComponentDescription& desc, const Rect& rect) {
    auto kind = kinds_.find(desc.kind);
    if (kind == kinds_.end()) {
        g_warning("unknown component kind %s for %s", desc.kind.c_str(), desc.name.c_str());
        return nullptr;
    }
    ComponentRef ref{w.id, w.nextComponent};
    std::unique_ptr<Component> c = kind->second(CreateInfo{ref, rect, desc.block, this});
    if (!c) {
        g_warning("component %s refused its property block; left out", desc.name.c_str());
        return nullptr;
    }
    ++w.nextComponent;
    auto s = std::make_unique<Slot>();
    s->ref = ref;
    s->kind = desc.kind;
    s->name = desc.name;
    s->alias = desc.alias;
    s->rect = rect;
    s->tag = desc.tag;
    s->visible = desc.visible;
    s->disabled = desc.disabled;
    s->cursor = desc.cursor;
    s->bindings = desc.bindings;
    s->accessibleName = desc.accessibleName;
    s->accessibleDescription = desc.accessibleDescription;
    s->component = std::move(c);

    s->host = gtk_event_box_new();
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(s->host), TRUE);
    gtk_widget_set_app_paintable(s->host, TRUE);
    GtkWidget* inner = s->component->widget();
    if (s->component->joinsHostWhenRealised()) joinWhenRealised(s->host, inner);
    else gtk_container_add(GTK_CONTAINER(s->host), inner);
    gtk_widget_show(inner);
    gtk_widget_set_size_request(s->host, std::max(rect.width, 0), std::max(rect.height, 0));
    gtk_widget_set_sensitive(s->host, !s->disabled);
    Slot* raw = s.get();
    w.slots[ref.component] = std::move(s);
    applyAccessibleText(*raw);
    // Connected first: a host added to a window already on screen is
    // realised as it is added, and realising is what sets its cursor.
    connectHostEvents(*raw);
    // A window being built realises nothing here: GTK realises the hosts
    // as the window maps, and a hidden one (or one that never shows, a
    // timer's) only when it is first shown, which keeps start-up cheap.
    gtk_overlay_add_overlay(GTK_OVERLAY(w.layout), raw->host);
    if (raw->visible && raw->component->shown()) gtk_widget_show(raw->host);
    return raw;
}

void Runtime::joinWhenRealised(GtkWidget* host, GtkWidget* inner) {
    // The host keeps the widget until it takes it as its child, and destroys
    // it with itself if it never does (a window closed before it showed).
    g_object_set_data_full(G_OBJECT(host), "rt-joining", g_object_ref_sink(inner), g_object_unref);
    g_signal_connect(host, "realize", callback([](GtkWidget* h, gpointer) {
        auto* w = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(h), "rt-joining"));
        if (w && !gtk_widget_get_parent(w)) gtk_container_add(GTK_CONTAINER(h), w);
    }),
        nullptr);
    g_signal_connect(host, "destroy", callback([](GtkWidget* h, gpointer) {
        auto* w = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(h), "rt-joining"));
        if (w && !gtk_widget_get_parent(w)) gtk_widget_destroy(w);
    }),
        nullptr);
}

void Runtime::restack(WindowRecord& w) {
    // Overlay index 0 is the bottom; the description lists top-most first.
    int index = 0;
    for (auto it = w.order.rbegin(); it != w.order.rend(); ++it)
        gtk_overlay_reorder_overlay(GTK_OVERLAY(w.layout), w.slots.at(*it)->host, index++);
}

void Runtime::connectWindowEvents(WindowRecord& w) {
    auto* data = new HostData{this, {w.id, 0}};
    g_object_set_data_full(G_OBJECT(w.window), "rt-host", data, [](gpointer p) { delete static_cast<HostData*>(p); });
    g_signal_connect(w.window, "configure-event", callback([](GtkWidget*, GdkEventConfigure* e, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        WindowRecord* wr = d->runtime->windowRecord(d->ref.window);
        if (!wr) return FALSE;
        // GTK reports the position of the client area; undecorated windows
        // have no frame, so it is the window's position.
        bool moved = e->x != wr->rect.left || e->y != wr->rect.top;
        bool sized = e->width != wr->rect.width || e->height != wr->rect.height;
        wr->rect = {e->x, e->y, e->width, e->height};
        if (sized) d->runtime->raise(d->ref, window_event::kSizeChanged);
        if (moved && d->runtime->windowRecord(d->ref.window)) d->runtime->raise(d->ref, window_event::kPositionChanged);
        return FALSE;
    }),
        data);
    g_signal_connect(w.window, "window-state-event", callback([](GtkWidget*, GdkEventWindowState* e, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        if (WindowRecord* wr = d->runtime->windowRecord(d->ref.window))
            wr->state = (e->new_window_state & GDK_WINDOW_STATE_ICONIFIED) ? window_prop::kStateMinimised
                                                                           : window_prop::kStateNormal;
        return FALSE;
    }),
        data);
    g_signal_connect(w.window, "notify::is-active", callback([](GObject* obj, GParamSpec*, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        WindowRecord* wr = d->runtime->windowRecord(d->ref.window);
        if (!wr || wr->activated || !gtk_window_is_active(GTK_WINDOW(obj))) return;
        wr->activated = true;
        d->runtime->raise(d->ref, window_event::kFirstActivated);
    }),
        data);
    g_signal_connect(w.window, "destroy", callback([](GtkWidget*, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        auto it = d->runtime->windows_.find(d->ref.window);
        if (it == d->runtime->windows_.end()) return;
        WindowRecord& wr = *it->second;
        wr.destroyed = true;
        for (auto& [id, s] : wr.slots) d->runtime->bury(std::move(s->component));
        wr.slots.clear();
        wr.order.clear();
        if (d->runtime->loop_ && d->runtime->mainWindow_ == wr.id) g_main_loop_quit(d->runtime->loop_);
    }),
        data);
    g_signal_connect(w.base, "draw", callback([](GtkWidget*, cairo_t* cr, gpointer p) {
        auto* d = static_cast<HostData*>(p);
        if (WindowRecord* wr = d->runtime->windowRecord(d->ref.window)) {
            setSourceColour(cr, wr->background);
            cairo_paint(cr);
        }
        return FALSE;
    }),
        data);
    g_signal_connect(w.layout, "get-child-position",
        callback([](GtkOverlay*, GtkWidget* host, GdkRectangle* out, gpointer) -> gboolean {
            auto* d = static_cast<HostData*>(g_object_get_data(G_OBJECT(host), "rt-host"));
            Slot* sl = d ? d->runtime->slot(d->ref) : nullptr;
            if (!sl) return FALSE;
            *out = {sl->rect.left, sl->rect.top, std::max(sl->rect.width, 1), std::max(sl->rect.height, 1)};
            return TRUE;
        }),
        nullptr);
}

ComponentRef Runtime::loadWindow(const WindowDescription& desc, std::optional<ComponentRef> owner, bool modal) {
    auto w = std::make_unique<WindowRecord>();
    w->id = nextWindowId_++;
    w->name = desc.name;
    w->rect = desc.rect;
    w->caption = desc.caption;
    w->background = desc.background;
    w->bindings = desc.bindings;
    w->runtime = this;
    w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(w->window), FALSE);
    gtk_window_set_title(GTK_WINDOW(w->window), desc.caption.c_str());
    gtk_window_set_default_size(GTK_WINDOW(w->window), desc.rect.width, desc.rect.height);
    gtk_window_move(GTK_WINDOW(w->window), desc.rect.left, desc.rect.top);
    if (owner) {
        if (GtkWindow* o = gtkWindow(owner->window)) gtk_window_set_transient_for(GTK_WINDOW(w->window), o);
    }
    gtk_window_set_modal(GTK_WINDOW(w->window), modal);
    w->layout = gtk_overlay_new();
    w->base = gtk_drawing_area_new();
    // The client area asks for no size of its own, so the window can shrink.
    gtk_widget_set_size_request(w->base, 1, 1);
    gtk_widget_set_can_focus(w->base, TRUE);
    gtk_container_add(GTK_CONTAINER(w->layout), w->base);
    gtk_container_add(GTK_CONTAINER(w->window), w->layout);
    gtk_widget_show(w->base);
    gtk_widget_show(w->layout);
    WindowRecord& wr = *w;
    windows_[wr.id] = std::move(w);
    connectWindowEvents(wr);
    gtk_widget_realize(wr.window);

    for (const ComponentDescription& cd : desc.components)
        if (Slot* s = createSlot(wr, cd, cd.rect)) wr.order.push_back(s->ref.component);
    restack(wr);

    ComponentRef ref{wr.id, 0};
    raise(ref, window_event::kCreated);
    return ref;
}

void Runtime::show(uint32_t window) {
    WindowRecord* w = windowRecord(window);
    if (!w) return;
    // GTK would focus the first edit box and select its text when the window
    // maps; the program's boxes show a placeholder until the user clicks
    // into them, so the window's own client area holds the focus at first.
    gtk_window_set_focus(GTK_WINDOW(w->window), w->base);
    gtk_window_present(GTK_WINDOW(w->window));
}

Value Runtime::getWindowProperty(WindowRecord& w, int index) {
    switch (index) {
        case prop::kLeft: return w.rect.left;
        case prop::kTop: return w.rect.top;
        case prop::kWidth: return w.rect.width;
        case prop::kHeight: return w.rect.height;
        case prop::kVisible: return static_cast<bool>(gtk_widget_get_visible(w.window));
        case prop::kDisabled: return !gtk_widget_get_sensitive(w.window);
        case window_prop::kCaption: return w.caption;
        case window_prop::kState: return w.state;
        case window_prop::kBackground: return static_cast<int32_t>(w.background);
        default: runtimeError(runtime_error::kNoSuchProperty, "窗口没有属性 " + std::to_string(index)); return {};
    }
}

void Runtime::setWindowProperty(WindowRecord& w, int index, const Value& v) {
    ComponentRef ref{w.id, 0};
    uint32_t id = w.id;
    switch (index) {
        case prop::kLeft:
        case prop::kTop:
        case prop::kWidth:
        case prop::kHeight: {
            Rect r = w.rect;
            int n = asInt(v);
            if (index == prop::kLeft) r.left = n;
            if (index == prop::kTop) r.top = n;
            if (index == prop::kWidth) r.width = std::max(n, 1);
            if (index == prop::kHeight) r.height = std::max(n, 1);
            bool moved = r.left != w.rect.left || r.top != w.rect.top;
            bool sized = r.width != w.rect.width || r.height != w.rect.height;
            w.rect = r;
            if (moved) gtk_window_move(GTK_WINDOW(w.window), r.left, r.top);
            if (sized) gtk_window_resize(GTK_WINDOW(w.window), r.width, r.height);
            // As on the original platform, moving and sizing notify at once.
            if (sized) raise(ref, window_event::kSizeChanged);
            if (moved && windowRecord(id)) raise(ref, window_event::kPositionChanged);
            return;
        }
        case prop::kVisible:
            if (asBool(v)) gtk_widget_show(w.window);
            else gtk_widget_hide(w.window);
            return;
        case prop::kDisabled: gtk_widget_set_sensitive(w.window, !asBool(v)); return;
        case window_prop::kCaption:
            w.caption = asText(v);
            gtk_window_set_title(GTK_WINDOW(w.window), w.caption.c_str());
            return;
        case window_prop::kState:
            w.state = asInt(v) == window_prop::kStateMinimised ? window_prop::kStateMinimised
                                                               : window_prop::kStateNormal;
            if (w.state == window_prop::kStateMinimised) gtk_window_iconify(GTK_WINDOW(w.window));
            else gtk_window_deiconify(GTK_WINDOW(w.window));
            return;
        case window_prop::kBackground:
            w.background = static_cast<uint32_t>(asInt(v));
            gtk_widget_queue_draw(w.window);
            return;
        default: runtimeError(runtime_error::kNoSuchProperty, "窗口没有属性 " + std::to_string(index));
    }
}

Value Runtime::get(ComponentRef ref, int index) {
    if (ref.component == 0) {
        if (WindowRecord* w = windowRecord(ref.window)) return getWindowProperty(*w, index);
        runtimeError(runtime_error::kNoSuchComponent, "引用的窗口不存在");
        return {};
    }
    Slot* s = slot(ref);
    if (!s) {
        runtimeError(runtime_error::kNoSuchComponent, "引用的组件不存在");
        return {};
    }
    switch (index) {
        case prop::kLeft: return s->rect.left;
        case prop::kTop: return s->rect.top;
        case prop::kWidth: return s->rect.width;
        case prop::kHeight: return s->rect.height;
        case prop::kTag: return s->tag;
        case prop::kVisible: return s->visible;
        case prop::kDisabled: return s->disabled;
        case prop::kCursor: return s->cursor;
        default: break;
    }
    if (auto v = s->component->getOwn(index - 8); v && index >= 8) return *v;
    runtimeError(runtime_error::kNoSuchProperty, s->kind + " 没有属性 " + std::to_string(index));
    return {};
}

void Runtime::applyCommon(Slot& s, int index, const Value& v) {
    switch (index) {
        case prop::kLeft:
        case prop::kTop:
        case prop::kWidth:
        case prop::kHeight: {
            Rect r = s.rect;
            int n = asInt(v);
            if (index == prop::kLeft) r.left = n;
            if (index == prop::kTop) r.top = n;
            if (index == prop::kWidth) r.width = std::max(n, 0);
            if (index == prop::kHeight) r.height = std::max(n, 0);
            if (r == s.rect) return;
            bool sized = r.width != s.rect.width || r.height != s.rect.height;
            s.rect = r;
            if (sized) gtk_widget_set_size_request(s.host, r.width, r.height);
            gtk_widget_queue_resize(s.host);
            s.component->boundsChanged(r);
            return;
        }
        case prop::kTag: s.tag = asText(v); return;
        case prop::kVisible: {
            bool vis = asBool(v);
            if (vis == s.visible) return;
            s.visible = vis;
            if (vis && s.component->shown()) gtk_widget_show(s.host);
            else gtk_widget_hide(s.host);
            s.component->visibilityChanged(vis);
            accessibleChanged(s.component->widget());
            wakeOrLull(s.sleepers, !vis);
            return;
        }
        case prop::kDisabled:
            s.disabled = asBool(v);
            gtk_widget_set_sensitive(s.host, !s.disabled);
            s.component->enabledChanged(!s.disabled);
            accessibleChanged(s.component->widget());
            return;
        case prop::kCursor:
            s.cursor = asInt(v);
            applyCursor(s.host, s.cursor);
            return;
        default: return;
    }
}

void Runtime::set(ComponentRef ref, int index, const Value& value) {
    if (ref.component == 0) {
        if (WindowRecord* w = windowRecord(ref.window)) return setWindowProperty(*w, index, value);
        runtimeError(runtime_error::kNoSuchComponent, "引用的窗口不存在");
        return;
    }
    Slot* s = slot(ref);
    if (!s) {
        runtimeError(runtime_error::kNoSuchComponent, "引用的组件不存在");
        return;
    }
    if (index >= 0 && index < 8) return applyCommon(*s, index, value);
    if (index < 0 || !s->component->setOwn(index - 8, value))
        runtimeError(runtime_error::kNoSuchProperty, s->kind + " 没有属性 " + std::to_string(index));
}

Value Runtime::call(ComponentRef ref, int method, std::vector<Value>& args) {
    Slot* s = slot(ref);
    if (!s) {
        runtimeError(runtime_error::kNoSuchComponent, "引用的组件不存在");
        return {};
    }
    if (auto v = s->component->call(method, args)) return *v;
    runtimeError(runtime_error::kNoSuchMethod, s->kind + " 没有方法 " + std::to_string(method));
    return {};
}

std::optional<ComponentRef> Runtime::copy(ComponentRef source) {
    Slot* s = source.component == 0 ? nullptr : slot(source);
    if (!s) return std::nullopt;
    WindowRecord& w = *windowRecord(source.window);
    ComponentDescription desc;
    desc.kind = s->kind;
    desc.name = s->name;
    desc.alias = s->alias;
    desc.visible = s->visible;
    desc.disabled = s->disabled;
    desc.cursor = s->cursor;
    desc.tag = s->tag;
    desc.block = s->component->propertyBlock();
    desc.bindings = s->bindings;
    desc.accessibleName = s->accessibleName;
    desc.accessibleDescription = s->accessibleDescription;
    uint32_t sourceId = source.component;
    Slot* c = createSlot(w, desc, s->rect);
    if (!c) return std::nullopt;
    auto at = std::find(w.order.begin(), w.order.end(), sourceId);
    w.order.insert(at == w.order.end() ? at : at + 1, c->ref.component);
    // Taking the source's place pushes the source up by one: the copy is
    // directly behind it.
    int sourceIndex = 0;
    gtk_container_child_get(GTK_CONTAINER(w.layout), w.slots.at(sourceId)->host, "index", &sourceIndex, nullptr);
    gtk_overlay_reorder_overlay(GTK_OVERLAY(w.layout), c->host, sourceIndex);
    return c->ref;
}

void Runtime::destroy(ComponentRef ref) {
    if (ref.component == 0) return destroyWindow(ref.window);
    WindowRecord* w = windowRecord(ref.window);
    Slot* s = slot(ref);
    if (!w || !s) {
        runtimeError(runtime_error::kNoSuchComponent, "引用的组件不存在");
        return;
    }
    std::unique_ptr<Slot> owned = std::move(w->slots.at(ref.component));
    w->slots.erase(ref.component);
    // Nothing can show it again, so its timers must not sleep for ever.
    wakeOrLull(owned->sleepers, false);
    w->order.erase(std::remove(w->order.begin(), w->order.end(), ref.component), w->order.end());
    gtk_widget_hide(owned->host);
    // The widget may be inside one of its own signal handlers: GTK keeps it
    // alive through the emission, and the component object waits for idle.
    gtk_widget_destroy(owned->host);
    bury(std::move(owned->component));
}

void Runtime::setAccessibleText(ComponentRef ref, const std::string& name, const std::string& description) {
    Slot* s = ref.component == 0 ? nullptr : slot(ref);
    if (!s || (s->accessibleName == name && s->accessibleDescription == description)) return;
    s->accessibleName = name;
    s->accessibleDescription = description;
    applyAccessibleText(*s);
}

void Runtime::applyAccessibleText(Slot& s) {
    GtkWidget* inner = s.component->widget();
    if (isAccessibleArea(inner)) return accessibleChanged(inner);
    // Other kinds keep GTK's accessible object (an edit box's is a full
    // text object), which is made here only when there is text to give it.
    if (s.accessibleName.empty() && s.accessibleDescription.empty()) return;
    AtkObject* a = gtk_widget_get_accessible(inner);
    if (!a) return;
    if (!s.accessibleName.empty()) atk_object_set_name(a, s.accessibleName.c_str());
    if (!s.accessibleDescription.empty()) atk_object_set_description(a, s.accessibleDescription.c_str());
}

std::string Runtime::accessibleName(ComponentRef ref) const {
    Slot* s = ref.component == 0 ? nullptr : slot(ref);
    return s ? s->accessibleName : std::string();
}

std::string Runtime::accessibleDescription(ComponentRef ref) const {
    Slot* s = ref.component == 0 ? nullptr : slot(ref);
    return s ? s->accessibleDescription : std::string();
}

bool Runtime::hasBinding(ComponentRef ref, int index) const {
    Slot* s = ref.component == 0 ? nullptr : slot(ref);
    if (!s) return false;
    auto it = s->bindings.find(index);
    return it != s->bindings.end() && it->second;
}

Component* Runtime::componentOfWidget(GtkWidget* widget) {
    GtkWidget* host = widget ? gtk_widget_get_parent(widget) : nullptr;
    auto* d = host ? static_cast<HostData*>(g_object_get_data(G_OBJECT(host), "rt-host")) : nullptr;
    if (!d) return nullptr;
    Component* c = d->runtime->component(d->ref);
    return c && c->widget() == widget ? c : nullptr;
}

bool Runtime::sleepWhileHidden(ComponentRef timer, ComponentRef watched) {
    Slot* t = timer.component == 0 ? nullptr : slot(timer);
    Slot* w = watched.component == 0 ? nullptr : slot(watched);
    if (!t || !w || !setTimerAsleep(t->component.get(), !w->visible)) {
        runtimeError(runtime_error::kBadArgument, "sleepWhileHidden: needs a live timer and a live component");
        return false;
    }
    if (std::find(w->sleepers.begin(), w->sleepers.end(), timer) == w->sleepers.end()) w->sleepers.push_back(timer);
    return true;
}

void Runtime::wakeOrLull(std::vector<ComponentRef>& sleepers, bool asleep) {
    // Timers destroyed since they were registered drop out here.
    std::erase_if(sleepers, [&](ComponentRef t) {
        Slot* s = slot(t);
        return !s || !setTimerAsleep(s->component.get(), asleep);
    });
}

void Runtime::destroyWindow(uint32_t window) {
    WindowRecord* w = windowRecord(window);
    if (!w) return;
    gtk_widget_destroy(w->window);
}

ComponentRef Runtime::eventComponent() {
    if (eventStack_.empty()) {
        runtimeError(runtime_error::kEventComponentOutsideHandler,
            "\xE2\x80\x9C取事件组件\xE2\x80\x9D命令只能在事件处理子程序中使用");
        return {};
    }
    return eventStack_.back();
}

void Runtime::processPendingMessages() {
    // Bounded so that a source that is always ready cannot hold us here.
    for (int i = 0; i < 10000 && g_main_context_pending(nullptr); ++i) g_main_context_iteration(nullptr, FALSE);
}

void Runtime::setRuntimeErrorHook(RuntimeErrorHook hook) { errorHook_ = std::move(hook); }

void Runtime::runtimeError(int code, const std::string& message) {
    if (errorHook_ && errorHook_(code, message)) return;
    std::fprintf(stderr, "varomel: runtime error %d: %s\n", code, message.c_str());
    std::fflush(stderr);
    std::_Exit(255);
}

Value Runtime::raise(ComponentRef source, int index, std::vector<Value>& args) {
    const Bindings* bindings = nullptr;
    if (source.component == 0) {
        if (WindowRecord* w = windowRecord(source.window)) bindings = &w->bindings;
    } else if (Slot* s = slot(source)) {
        bindings = &s->bindings;
    }
    if (!bindings) return {};
    auto it = bindings->find(index);
    if (it == bindings->end() || !it->second) return {};
    Handler handler = it->second;  // the slot may go away while it runs
    Event e{source, index, std::move(args)};
    eventStack_.push_back(source);
    Value result = handler(e);
    eventStack_.pop_back();
    args = std::move(e.args);
    // Burials put off while handlers ran are due once the last one is done;
    // the raising component is still in its own code, so not before idle.
    if (eventStack_.empty() && !graveyard_.empty()) scheduleBurial();
    return result;
}

void Runtime::bury(std::unique_ptr<Component> c) {
    if (!c) return;
    graveyard_.push_back(std::move(c));
    scheduleBurial();
}

void Runtime::scheduleBurial() {
    if (!graveyardSource_) graveyardSource_ = g_idle_add(&Runtime::freeGraveyard, this);
}

int Runtime::freeGraveyard(void* self) {
    auto* r = static_cast<Runtime*>(self);
    r->graveyardSource_ = 0;
    // Reached from a pump inside a handler: the components wait for the
    // outermost handler to return (raise() schedules them again then).
    if (!r->eventStack_.empty()) return G_SOURCE_REMOVE;
    // A destructor may destroy or bury more; those wait for the next idle.
    std::vector<std::unique_ptr<Component>> dead = std::move(r->graveyard_);
    r->graveyard_.clear();
    dead.clear();
    return G_SOURCE_REMOVE;
}

void Runtime::run(ComponentRef mainWindow) {
    WindowRecord* w = windowRecord(mainWindow.window);
    if (!w) return;
    mainWindow_ = w->id;
    loop_ = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(loop_);
    g_main_loop_unref(loop_);
    loop_ = nullptr;
    // Free what the destroyed windows left while GTK is still whole.
    if (graveyardSource_) g_source_remove(graveyardSource_);
    graveyardSource_ = 0;
    graveyard_.clear();
}

}  // namespace runtime
