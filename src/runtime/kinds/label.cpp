// Label: background colour, an optional background picture stretched over
// it, and a one-line caption.
#include "../accessible_glue.h"
#include "../colour.h"

#include <gtk/gtk.h>
#include "../device_picture.h"
#include "../gobject_ptr.h"
#include "../picture_pixbuf.h"
#include "builtin_kinds.h"

namespace runtime {
namespace {

class Label final : public Component {
public:
    Label(const CreateInfo& info, LabelBlock block) : Component(info), block_(std::move(block)) {
        area_ = accessibleAreaNew();
        setPicture();
        g_signal_connect(area_, "draw", callback([](GtkWidget* w, cairo_t* cr, gpointer self) {
            static_cast<Label*>(self)->paint(w, cr);
            return TRUE;
        }),
            this);
    }

    GtkWidget* widget() override { return area_; }

    std::optional<Value> getOwn(int k) override {
        switch (k) {
            case label::kCaption: return block_.caption;
            case label::kTextColour: return static_cast<int32_t>(block_.textColour);
            case label::kBackground: return static_cast<int32_t>(block_.background);
            case label::kFont: return block_.font.serialize();
            case label::kPicture: return block_.picture;
            default: return std::nullopt;
        }
    }

    bool setOwn(int k, const Value& v) override {
        switch (k) {
            case label::kCaption:
                block_.caption = asText(v);
                layout_.reset();
                break;
            case label::kTextColour: block_.textColour = static_cast<uint32_t>(asInt(v)); break;
            case label::kBackground: block_.background = static_cast<uint32_t>(asInt(v)); break;
            case label::kFont:
                if (auto f = LogFont::parse(asBytes(v))) block_.font = *f;
                layout_.reset();
                break;
            case label::kPicture:
                block_.picture = asBytes(v);
                setPicture();
                break;
            default: return false;
        }
        gtk_widget_queue_draw(area_);
        if (k == label::kCaption) accessibleChanged(area_);
        return true;
    }

    Bytes propertyBlock() const override { return block_.serialize(); }

    // A label with text reads as that text (the title label as the window
    // caption); one that only shows a picture is decoration.
    AccessibleFacts accessibleFacts() override {
        AccessibleFacts f;
        f.role = block_.caption.empty() ? AccessibleRole::kFiller : AccessibleRole::kLabel;
        f.name = block_.caption;
        return f;
    }

private:
    // The picture is painted from a copy on the window's device, made once,
    // rather than converted and uploaded anew on every paint.
    void setPicture() {
        GObjectPtr<GdkPixbuf> pixbuf = decodePixbuf(block_.picture);
        picture_ = pixbuf ? DevicePicture(Surface(gdk_cairo_surface_create_from_pixbuf(pixbuf.get(), 1, nullptr)))
                          : DevicePicture();
    }

    // The caption's layout lives until the caption or the font changes; the
    // widget's Pango context tells it of screen and font-setting changes.
    PangoLayout* layout(GtkWidget* w) {
        if (!layout_) {
            layout_ = GObjectPtr<PangoLayout>::adopt(gtk_widget_create_pango_layout(w, block_.caption.c_str()));
            PangoFontDescription* font = block_.font.toPango();
            pango_layout_set_font_description(layout_.get(), font);
            pango_font_description_free(font);
        }
        return layout_.get();
    }

    void paint(GtkWidget* w, cairo_t* cr) {
        int width = gtk_widget_get_allocated_width(w);
        int height = gtk_widget_get_allocated_height(w);
        setSourceColour(cr, block_.background);
        cairo_paint(cr);
        if (picture_) {
            cairo_save(cr);
            cairo_scale(
                cr, static_cast<double>(width) / picture_.width(), static_cast<double>(height) / picture_.height());
            picture_.setSource(cr, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_FAST);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        if (block_.caption.empty()) return;
        PangoLayout* text = layout(w);
        int tw = 0, th = 0;
        pango_layout_get_pixel_size(text, &tw, &th);
        int x = block_.align == static_cast<int>(Align::kCentre)  ? (width - tw) / 2
                : block_.align == static_cast<int>(Align::kRight) ? width - tw - 2
                                                                  : 2;
        setSourceColour(cr, block_.textColour);
        cairo_move_to(cr, x, (height - th) / 2);
        pango_cairo_show_layout(cr, text);
    }

    LabelBlock block_;
    GtkWidget* area_;
    DevicePicture picture_;
    GObjectPtr<PangoLayout> layout_;
};

}  // namespace

std::unique_ptr<Component> makeLabel(const CreateInfo& info) { return makeFromBlock<Label, LabelBlock>(info); }

}  // namespace runtime
