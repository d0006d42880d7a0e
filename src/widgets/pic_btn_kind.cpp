// The graphic button's GTK glue: a drawing area with its own window inside
// the runtime's host. The shape goes on the host's window, which is the one
// stacked among the other components, so that both drawing and clicks on
// cut-away pixels fall through to whatever lies below.
#include <gtk/gtk.h>

#include <array>

#include "pic_btn_behaviour.h"
#include "pic_btn_block.h"
#include "pic_btn_shape.h"
#include "runtime/accessible_glue.h"
#include "runtime/device_picture.h"
#include "runtime/gobject_ptr.h"
#include "runtime/picture/picture.h"
#include "runtime/runtime.h"
#include "widget_kinds.h"

namespace widgets {
namespace {

using runtime::Surface;
using Region = runtime::CPtr<cairo_region_t, cairo_region_destroy>;

// What the platform's button face colour is when no window colour is known.
constexpr uint32_t kButtonFace = 0x00F0F0F0;

Surface surfaceOf(const runtime::Picture& p) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, p.width, p.height));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return {};
    cairo_surface_flush(s.get());
    unsigned char* data = cairo_image_surface_get_data(s.get());
    int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < p.width; ++x) row[x] = p.at(x, y);
    }
    cairo_surface_mark_dirty(s.get());
    return s;
}

Region regionOf(const std::vector<Span>& spans) {
    std::vector<cairo_rectangle_int_t> rects;
    rects.reserve(spans.size());
    for (const Span& s : spans) rects.push_back({s.x, s.y, s.width, 1});
    return Region(cairo_region_create_rectangles(rects.data(), static_cast<int>(rects.size())));
}

class PicBtn final : public runtime::Component {
public:
    PicBtn(const runtime::CreateInfo& info, PicBtnBlock block)
        : Component(info), block_(std::move(block)), behaviour_(block_.type, block_.latched) {
        background_ = kButtonFace;
        runtime::ComponentRef window{info.ref.window, 0};
        if (info.runtime && info.runtime->exists(window))
            background_ = static_cast<uint32_t>(
                runtime::asInt(info.runtime->get(window, runtime::window_prop::kBackground)));

        behaviour_.doubleClicks().configureFromDesktop();

        area_ = runtime::GObjectPtr<GtkWidget>::retain(runtime::accessibleAreaNew());
        gtk_widget_add_events(area_.get(), GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                               GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
        connectSignals();
    }

    ~PicBtn() override { g_signal_handlers_disconnect_by_data(area_.get(), this); }

    GtkWidget* widget() override { return area_.get(); }
    bool hostMouseEvents() const override { return false; }

    std::optional<runtime::Value> getOwn(int k) override {
        switch (k) {
            case pic_btn::kType: return behaviour_.type();
            case pic_btn::kLatched: return behaviour_.latched();
            case pic_btn::kNormalPicture:
            case pic_btn::kHoverPicture:
            case pic_btn::kPressedPicture:
            case pic_btn::kDisabledPicture: return block_.pictures[k - pic_btn::kNormalPicture];
            case pic_btn::kTransparentColour: return static_cast<int32_t>(block_.transparentColour);
            default: return std::nullopt;
        }
    }

    bool setOwn(int k, const runtime::Value& v) override {
        switch (k) {
            case pic_btn::kType: behaviour_.setType(runtime::asInt(v)); return true;
            case pic_btn::kLatched: apply(behaviour_.setLatched(runtime::asBool(v))); return true;
            case pic_btn::kNormalPicture:
            case pic_btn::kHoverPicture:
            case pic_btn::kPressedPicture:
            case pic_btn::kDisabledPicture: {
                int slot = k - pic_btn::kNormalPicture;
                block_.pictures[slot] = runtime::asBytes(v);
                decoded_[slot] = false;
                refresh(true);
                return true;
            }
            case pic_btn::kTransparentColour:
                block_.transparentColour = static_cast<uint32_t>(runtime::asInt(v));
                refresh(true);
                return true;
            default: return false;
        }
    }

    runtime::Bytes propertyBlock() const override {
        PicBtnBlock b = block_;
        b.type = behaviour_.type();
        b.latched = behaviour_.latched();
        return b.serialize();
    }

    void enabledChanged(bool) override { syncEnabled(); }

    // Named by the program (its tooltip text); the action is the click.
    runtime::AccessibleFacts accessibleFacts() override {
        runtime::AccessibleFacts f;
        f.role = runtime::AccessibleRole::kPushButton;
        f.clickable = true;
        return f;
    }

    bool accessibleClick() override {
        if (!gtk_widget_is_visible(area_.get())) return false;
        PicBtnBehaviour::Outcome out = behaviour_.activate();
        apply(out);
        // Last: the handler may destroy this button (a tab's close button).
        if (out.click) raise(pic_btn::kClick);
        return out.click;
    }

private:
    void connectSignals() {
        GtkWidget* a = area_.get();
        g_signal_connect(a, "draw", runtime::callback([](GtkWidget*, cairo_t* cr, gpointer self) {
            static_cast<PicBtn*>(self)->paint(cr);
            return TRUE;
        }),
            this);
        g_signal_connect_after(a, "realize", runtime::callback([](GtkWidget*, gpointer self) {
            auto* b = static_cast<PicBtn*>(self);
            b->behaviour_.setEnabled(gtk_widget_is_sensitive(b->area_.get()));
            b->refresh(true, false);
        }),
            this);
        g_signal_connect(a, "state-flags-changed", runtime::callback([](GtkWidget*, GtkStateFlags, gpointer self) {
            static_cast<PicBtn*>(self)->syncEnabled();
        }),
            this);
        g_signal_connect(a, "button-press-event", runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer self) {
            // The second press of a double click also comes as a plain
            // press first; the behaviour tells it apart by itself.
            if (e->button == 1 && e->type == GDK_BUTTON_PRESS)
                static_cast<PicBtn*>(self)->apply(static_cast<PicBtn*>(self)->behaviour_.press(
                    static_cast<int>(e->x), static_cast<int>(e->y), e->time));
            return TRUE;
        }),
            this);
        g_signal_connect(a, "motion-notify-event", runtime::callback([](GtkWidget*, GdkEventMotion* e, gpointer self) {
            static_cast<PicBtn*>(self)->pointerAt(e->x, e->y, e->state);
            return TRUE;
        }),
            this);
        g_signal_connect(a, "enter-notify-event", runtime::callback([](GtkWidget*, GdkEventCrossing* e, gpointer self) {
            static_cast<PicBtn*>(self)->pointerAt(e->x, e->y, e->state);
            return TRUE;
        }),
            this);
        g_signal_connect(a, "leave-notify-event", runtime::callback([](GtkWidget*, GdkEventCrossing* e, gpointer self) {
            auto* b = static_cast<PicBtn*>(self);
            b->apply(b->behaviour_.move(false, (e->state & GDK_BUTTON1_MASK) != 0));
            return TRUE;
        }),
            this);
        g_signal_connect(a, "button-release-event", runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer self) {
            if (e->button == 1) static_cast<PicBtn*>(self)->released(e->x, e->y);
            return TRUE;
        }),
            this);
    }

    // Pictures are decoded the first time they are to be shown: most
    // buttons are never hovered, pressed or disabled, and hidden ones may
    // never appear, so decoding all four at creation only slows start-up.
    // The background is the window's at creation, whenever that happens.
    const std::optional<runtime::Picture>& picture(int slot) {
        if (!decoded_[slot]) {
            decoded_[slot] = true;
            pictures_[slot] = runtime::decodePicture(block_.pictures[slot], background_);
            surfaces_[slot] = pictures_[slot]
                                  ? runtime::DevicePicture(surfaceOf(*pictures_[slot]), CAIRO_FILTER_NEAREST)
                                  : runtime::DevicePicture();
        }
        return pictures_[slot];
    }

    // Only the pictures the current state can pick from are looked at (and
    // so decoded); the others do not change the answer.
    int shownSlot() {
        const bool enabled = behaviour_.enabled();
        const VisualState state = behaviour_.state();
        std::array<bool, pic_btn::kPictureCount> present{};
        present[pic_btn::kNormal] = picture(pic_btn::kNormal).has_value();
        if (!enabled) present[pic_btn::kDisabled] = picture(pic_btn::kDisabled).has_value();
        if (state == VisualState::kHover) present[pic_btn::kHover] = picture(pic_btn::kHover).has_value();
        if (state == VisualState::kPressed) present[pic_btn::kPressed] = picture(pic_btn::kPressed).has_value();
        return shownPicture(enabled, state, present);
    }

    bool inside(double x, double y) const {
        return x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(area_.get()) &&
               y < gtk_widget_get_allocated_height(area_.get());
    }

    // Over the button means inside it and not on a cut-away pixel.
    bool over(double x, double y) const {
        if (!inside(x, y)) return false;
        return !region_ || cairo_region_contains_point(region_.get(), static_cast<int>(x), static_cast<int>(y));
    }

    void pointerAt(double x, double y, guint state) {
        apply(behaviour_.move(over(x, y), (state & GDK_BUTTON1_MASK) != 0));
    }

    void released(double x, double y) {
        PicBtnBehaviour::Outcome out = behaviour_.release(inside(x, y));
        apply(out);
        // Last: the handler may destroy this button (a tab's close button).
        if (out.click) raise(pic_btn::kClick);
    }

    void syncEnabled() { apply(behaviour_.setEnabled(gtk_widget_is_sensitive(area_.get()))); }

    void apply(PicBtnBehaviour::Outcome out) {
        if (out.changed) refresh(false);
    }

    // Rebuilds the shape when the shown picture or the colour changed, then
    // repaints at once, so that what the state says is on screen before any
    // handler runs.
    void refresh(bool force, bool now = true) {
        int slot = shownSlot();
        if (force || slot != shapeSlot_ || block_.transparentColour != shapeColour_) {
            shapeSlot_ = slot;
            shapeColour_ = block_.transparentColour;
            const runtime::Picture* shown = slot < 0 ? nullptr : &*pictures_[slot];
            auto spans = buttonShape(shown, block_.transparentColour);
            region_ = spans ? regionOf(*spans) : Region();
            applyShape();
        }
        gtk_widget_queue_draw(area_.get());
        GdkWindow* w = gtk_widget_get_window(area_.get());
        if (now && w && gtk_widget_get_mapped(area_.get())) {
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            gdk_window_process_updates(w, TRUE);
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
    }

    // The shape goes on the host's window and on any window its container
    // made just for it (an overlay wraps each child in one of exactly the
    // child's size): GDK stops its search for the window under the pointer
    // at the first window that contains the point, so a wrapper without
    // the shape would swallow clicks meant for what lies below.
    void applyShape() {
        GtkWidget* host = runtime().hostWidget(ref());
        if (!host) host = gtk_widget_get_parent(area_.get());
        GdkWindow* hostWindow = host ? gtk_widget_get_window(host) : nullptr;
        if (!hostWindow) return;
        shapeWindow(hostWindow);
        GtkWidget* container = gtk_widget_get_parent(host);
        GdkWindow* wrapper = gdk_window_get_parent(hostWindow);
        if (container && wrapper && wrapper != gtk_widget_get_window(container)) {
            gpointer owner = nullptr;
            gdk_window_get_user_data(wrapper, &owner);
            if (owner == container) shapeWindow(wrapper);
        }
    }

    void shapeWindow(GdkWindow* w) {
        gdk_window_shape_combine_region(w, region_.get(), 0, 0);
        gdk_window_input_shape_combine_region(w, region_.get(), 0, 0);
    }

    void paint(cairo_t* cr) {
        // GTK paints a window's child windows into the toplevel's buffer
        // without their shapes, so the cut-away pixels are left unpainted
        // here too; the host paints no background, so what lies below shows.
        if (region_) {
            gdk_cairo_region(cr, region_.get());
            cairo_clip(cr);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        int slot = shownSlot();
        if (slot < 0 || !surfaces_[slot]) return;
        // On a scaled screen every picture pixel becomes a block of screen
        // pixels, exactly as the shape's pixels do; smoothing would blur
        // the picture's edges into the black under the cut-away pixels.
        surfaces_[slot].setSource(cr, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
    }

    PicBtnBlock block_;
    PicBtnBehaviour behaviour_;
    uint32_t background_;
    std::array<std::optional<runtime::Picture>, pic_btn::kPictureCount> pictures_;
    std::array<runtime::DevicePicture, pic_btn::kPictureCount> surfaces_;
    std::array<bool, pic_btn::kPictureCount> decoded_{};
    Region region_;
    int shapeSlot_ = -2;
    uint32_t shapeColour_ = 0;
    runtime::GObjectPtr<GtkWidget> area_;
};

}  // namespace

void registerPicBtnKind(runtime::Runtime& runtime) {
    runtime.registerKind("PicBtn", runtime::makeFromBlock<PicBtn, PicBtnBlock>);
}

}  // namespace widgets
