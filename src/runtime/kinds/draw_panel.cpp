// DrawPanel: lines drawn with a pen onto a retained surface, so that they
// stay on screen through repaints until drawn over or cleared.
//
// The surface records the drawing rather than holding its pixels: a panel is
// often as large as its window (the border panel of a maximised window would
// keep some 5 MB of pixels) while it shows a few lines.
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

#include "../colour.h"
#include "../gobject_ptr.h"
#include "builtin_kinds.h"

namespace runtime {
namespace {

using Surface = CPtr<cairo_surface_t, cairo_surface_destroy>;
using Context = CPtr<cairo_t, cairo_destroy>;

class DrawPanel final : public Component {
public:
    DrawPanel(const CreateInfo& info, DrawPanelBlock block) : Component(info), block_(block) {
        area_ = gtk_drawing_area_new();
        resizeSurface(info.rect.width, info.rect.height);
        g_signal_connect(area_, "draw", callback([](GtkWidget*, cairo_t* cr, gpointer self) {
            static_cast<DrawPanel*>(self)->paint(cr);
            return TRUE;
        }),
            this);
    }

    GtkWidget* widget() override { return area_; }

    std::optional<Value> getOwn(int k) override {
        if (k == draw_panel::kPenColour) return static_cast<int32_t>(block_.penColour);
        if (k == draw_panel::kBackground) return static_cast<int32_t>(block_.background);
        return std::nullopt;
    }

    bool setOwn(int k, const Value& v) override {
        if (k == draw_panel::kPenColour) block_.penColour = static_cast<uint32_t>(asInt(v));
        else if (k == draw_panel::kBackground) block_.background = static_cast<uint32_t>(asInt(v));
        else return false;
        return true;
    }

    std::optional<Value> call(int method, std::vector<Value>& args) override {
        if (method == draw_panel::kDrawLine && args.size() >= 4) {
            drawLine(asInt(args[0]), asInt(args[1]), asInt(args[2]), asInt(args[3]));
            return Value{};
        }
        if (method == draw_panel::kClear) {
            // Everything drawn so far is painted over: start a new record.
            surface_.reset();
            inked_ = false;
            resizeSurface(width_, height_);
            gtk_widget_queue_draw(area_);
            return Value{};
        }
        return std::nullopt;
    }

    void boundsChanged(const Rect& r) override { resizeSurface(r.width, r.height); }

    Bytes propertyBlock() const override { return block_.serialize(); }

private:
    // A panel under other components is asked for many small paints that
    // meet none of its lines (a web view over the border panel redraws its
    // scroll bars many times a second); where the record holds nothing but
    // one background colour, a solid fill shows the same as replaying it.
    void paint(cairo_t* cr) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        const bool meetsInk = inked_ && x1 < inkRight_ && inkLeft_ < x2 && y1 < inkBottom_ && inkTop_ < y2;
        if (plain_ && !meetsInk) {
            setSourceColour(cr, plainColour_);
            cairo_rectangle(cr, 0, 0, width_, height_);
            cairo_fill(cr);
            return;
        }
        cairo_set_source_surface(cr, surface_.get(), 0, 0);
        cairo_paint(cr);
    }

    void addInk(int left, int top, int right, int bottom) {
        if (!inked_) {
            inkLeft_ = left, inkTop_ = top, inkRight_ = right, inkBottom_ = bottom;
            inked_ = true;
            return;
        }
        inkLeft_ = std::min(inkLeft_, left), inkTop_ = std::min(inkTop_, top);
        inkRight_ = std::max(inkRight_, right), inkBottom_ = std::max(inkBottom_, bottom);
    }

    // A record bounded to the panel: what falls outside is cut off, as it
    // would be on a bitmap of that size.
    static Surface newRecord(int width, int height) {
        cairo_rectangle_t extents{0, 0, static_cast<double>(width), static_cast<double>(height)};
        return Surface(cairo_recording_surface_create(CAIRO_CONTENT_COLOR, &extents));
    }

    void resizeSurface(int width, int height) {
        width_ = std::max(width, 1);
        height_ = std::max(height, 1);
        Surface fresh = newRecord(width_, height_);
        Context cr(cairo_create(fresh.get()));
        setSourceColour(cr.get(), block_.background);
        cairo_paint(cr.get());
        if (surface_ && operations_ >= kFlattenAfter) {
            // A panel drawn on for ever without a clear would replay an ever
            // longer record: keep its pixels instead from here on.
            Surface pixels(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_));
            Context pc(cairo_create(pixels.get()));
            cairo_set_source_surface(pc.get(), surface_.get(), 0, 0);
            cairo_paint(pc.get());
            cairo_set_source_surface(cr.get(), pixels.get(), 0, 0);
            cairo_paint(cr.get());
            operations_ = 1;
        } else if (surface_) {
            cairo_set_source_surface(cr.get(), surface_.get(), 0, 0);
            cairo_paint(cr.get());
            ++operations_;
        } else {
            operations_ = 0;
            plain_ = true;
            plainColour_ = block_.background;
        }
        // Room a resize adds shows the background of now; if that is not the
        // colour under the lines drawn so far, the panel is no longer one colour.
        if (block_.background != plainColour_) plain_ = false;
        surface_ = std::move(fresh);
    }

    // One-pixel pen; like the platform's line drawing the end point itself
    // is left out.
    void drawLine(int x1, int y1, int x2, int y2) {
        Context cr(cairo_create(surface_.get()));
        setSourceColour(cr.get(), block_.penColour);
        if (y1 == y2) {
            int a = x1, b = x2;
            if (x2 < x1) {
                a = x2 + 1;
                b = x1 + 1;
            }
            cairo_rectangle(cr.get(), a, y1, b - a, 1);
            cairo_fill(cr.get());
        } else if (x1 == x2) {
            int a = y1, b = y2;
            if (y2 < y1) {
                a = y2 + 1;
                b = y1 + 1;
            }
            cairo_rectangle(cr.get(), x1, a, 1, b - a);
            cairo_fill(cr.get());
        } else {
            cairo_set_line_width(cr.get(), 1);
            cairo_move_to(cr.get(), x1 + 0.5, y1 + 0.5);
            cairo_line_to(cr.get(), x2 + 0.5, y2 + 0.5);
            cairo_stroke(cr.get());
        }
        // Generous by a pixel each way: a stroke's antialiasing spills over.
        addInk(std::min(x1, x2) - 1, std::min(y1, y2) - 1, std::max(x1, x2) + 2, std::max(y1, y2) + 2);
        if (++operations_ >= kFlattenAfter) resizeSurface(width_, height_);
        gtk_widget_queue_draw(area_);
    }

    static constexpr int kFlattenAfter = 4096;

    DrawPanelBlock block_;
    GtkWidget* area_;
    Surface surface_;
    int width_ = 1, height_ = 1;
    int operations_ = 0;  // drawing operations in the record since it was last started or flattened
    // What the record shows outside its lines: one colour while plain_.
    bool plain_ = true;
    uint32_t plainColour_ = 0;
    // Bounds of every line since the last clear (cut-off parts included).
    bool inked_ = false;
    int inkLeft_ = 0, inkTop_ = 0, inkRight_ = 0, inkBottom_ = 0;
};

}  // namespace

std::unique_ptr<Component> makeDrawPanel(const CreateInfo& info) {
    return makeFromBlock<DrawPanel, DrawPanelBlock>(info);
}

}  // namespace runtime
