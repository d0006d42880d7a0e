// The transparent label's GTK glue. Its widget has no window of its own and
// paints no background; the runtime's host is app-paintable and paints none
// either, so whatever lies below (the window's skin, other components) shows
// around the glyphs. Every change repaints the label's area at once, which
// redraws what lies below before the new text.
#include <gtk/gtk.h>

#include <pango/pangocairo.h>

#include "runtime/accessible_glue.h"
#include "runtime/colour.h"
#include "runtime/gobject_ptr.h"
#include "runtime/log_font.h"
#include "runtime/runtime.h"
#include "trans_label_block.h"
#include "trans_label_layout.h"
#include "widget_kinds.h"

namespace widgets {
namespace {

using FontDescription = runtime::CPtr<PangoFontDescription, pango_font_description_free>;

class TransLabel final : public runtime::Component {
public:
    TransLabel(const runtime::CreateInfo& info, TransLabelBlock block) : Component(info), block_(std::move(block)) {
        area_ = runtime::GObjectPtr<GtkWidget>::retain(runtime::accessibleAreaNew());
        // Windowless: the host gets the mouse (the hot-search labels' clicks)
        // and the text is drawn straight into the host's window.
        gtk_widget_set_has_window(area_.get(), FALSE);
        g_signal_connect(area_.get(), "draw", runtime::callback([](GtkWidget* w, cairo_t* cr, gpointer self) {
            static_cast<TransLabel*>(self)->paint(w, cr);
            return TRUE;
        }),
            this);
    }

    ~TransLabel() override { g_signal_handlers_disconnect_by_data(area_.get(), this); }

    GtkWidget* widget() override { return area_.get(); }

    std::optional<runtime::Value> getOwn(int k) override {
        switch (k) {
            case trans_label::kText: return block_.text;
            case trans_label::kEffect: return block_.effect;
            case trans_label::kFont: return block_.font;
            case trans_label::kTextColour: return static_cast<int32_t>(block_.textColour);
            case trans_label::kHorizontalAlign: return block_.horizontalAlign;
            case trans_label::kWordWrap: return block_.wordWrap;
            case trans_label::kVerticalAlign: return block_.verticalAlign;
            default: return std::nullopt;
        }
    }

    bool setOwn(int k, const runtime::Value& v) override {
        switch (k) {
            case trans_label::kText: block_.text = runtime::asText(v); break;
            case trans_label::kEffect: block_.effect = clampEffect(runtime::asInt(v)); break;
            case trans_label::kFont: block_.font = runtime::asBytes(v); break;
            case trans_label::kTextColour: block_.textColour = static_cast<uint32_t>(runtime::asInt(v)); break;
            case trans_label::kHorizontalAlign: block_.horizontalAlign = clampAlign(runtime::asInt(v)); break;
            case trans_label::kWordWrap: block_.wordWrap = runtime::asInt(v); break;
            case trans_label::kVerticalAlign: block_.verticalAlign = clampAlign(runtime::asInt(v)); break;
            default: return false;
        }
        refresh();
        if (k == trans_label::kText) runtime::accessibleChanged(area_.get());
        return true;
    }

    runtime::Bytes propertyBlock() const override { return block_.serialize(); }

    // A label that takes clicks (a hot-search label) is a link; either way
    // its text is its name, so the progress label reads as it shows.
    runtime::AccessibleFacts accessibleFacts() override {
        runtime::AccessibleFacts f;
        f.clickable = runtime().hasBinding(ref(), runtime::event::kLeftDown);
        f.role = f.clickable ? runtime::AccessibleRole::kLink : runtime::AccessibleRole::kLabel;
        f.name = block_.text;
        return f;
    }

    // What the host raises for a left press, at the label's middle.
    bool accessibleClick() override {
        if (!runtime().hasBinding(ref(), runtime::event::kLeftDown) || !gtk_widget_is_visible(area_.get()))
            return false;
        raise(runtime::event::kLeftDown,
            {gtk_widget_get_allocated_width(area_.get()) / 2, gtk_widget_get_allocated_height(area_.get()) / 2, 0});
        return true;
    }

    void boundsChanged(const runtime::Rect&) override { refresh(); }

private:
    // Invalidates the label's area of the host and paints it now: GTK draws
    // the components of a window bottom-up into one buffer, so the area
    // comes back with the current background before the text goes on it.
    void refresh() {
        GtkWidget* host = runtime().hostWidget(ref());
        if (!host) host = gtk_widget_get_parent(area_.get());
        if (!host) return;
        gtk_widget_queue_draw(host);
        GdkWindow* w = gtk_widget_get_window(host);
        if (w && gtk_widget_get_mapped(host)) {
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            gdk_window_process_updates(w, TRUE);
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
    }

    void paint(GtkWidget* w, cairo_t* cr) {
        if (block_.text.empty()) return;
        runtime::GObjectPtr<PangoLayout> layout = runtime::GObjectPtr<PangoLayout>::adopt(
            pango_cairo_create_layout(cr));
        auto logFont = runtime::LogFont::parse(block_.font);
        FontDescription font(logFont ? logFont->toPango() : runtime::defaultGuiFont());
        pango_layout_set_font_description(layout.get(), font.get());
        bool wrap = block_.wordWrap == 1;
        int width = gtk_widget_get_allocated_width(w), height = gtk_widget_get_allocated_height(w);
        if (wrap) {
            pango_layout_set_width(layout.get(), width * PANGO_SCALE);
            pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
            static constexpr PangoAlignment kAlign[] = {PANGO_ALIGN_LEFT, PANGO_ALIGN_CENTER, PANGO_ALIGN_RIGHT};
            pango_layout_set_alignment(layout.get(), kAlign[clampAlign(block_.horizontalAlign)]);
        } else {
            // One line: line breaks in the text show as glyphs, not breaks.
            pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
        }
        pango_layout_set_text(layout.get(), block_.text.c_str(), -1);
        int tw = 0, th = 0;
        pango_layout_get_pixel_size(layout.get(), &tw, &th);
        TextOrigin at = textOrigin(block_.horizontalAlign, block_.verticalAlign, wrap, width, height, tw, th);
        for (const TextPass& pass : textPasses(block_.effect, block_.textColour)) {
            runtime::setSourceColour(cr, pass.colour);
            cairo_move_to(cr, at.x + pass.dx, at.y + pass.dy);
            pango_cairo_show_layout(cr, layout.get());
        }
    }

    TransLabelBlock block_;
    runtime::GObjectPtr<GtkWidget> area_;
};

}  // namespace

void registerTransLabelKind(runtime::Runtime& runtime) {
    runtime.registerKind("TransLabel", runtime::makeFromBlock<TransLabel, TransLabelBlock>);
}

}  // namespace widgets
