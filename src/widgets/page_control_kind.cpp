// The "PageControl" kind: GTK glue around the tab control's model and
// painter. A drawing area takes the pointer, the model decides, and its
// notifications become the component's events.
#include <gtk/gtk.h>

#include "runtime/accessible_glue.h"
#include "runtime/colour.h"
#include "runtime/gobject_ptr.h"
#include "widget_kinds.h"
#include "widgets/double_click.h"
#include "widgets/page_control.h"
#include "widgets/page_control/model.h"
#include "widgets/page_control/painter.h"

namespace widgets {
namespace {

using page_control::Model;
using page_control::Painter;

class PageControl final : public runtime::Component, private page_control::Host {
public:
    PageControl(const runtime::CreateInfo& info, PageControlBlock block)
        : Component(info), block_(std::move(block)), model_(*this) {
        clicks_.configureFromDesktop();
        area_ = runtime::accessibleItemListAreaNew();
        gtk_widget_add_events(
            area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
        gtk_widget_set_has_tooltip(area_, TRUE);
        connectSignals();

        // Applied in the order the control has always applied them.
        model_.setSize(info.rect.width, info.rect.height);
        model_.setPosition(block_.headerPosition);
        model_.setHideHeaders(block_.hideHeaders);
        applyFont();
        model_.setHeaderHeight(block_.headerHeight);
        model_.setMultiRow(block_.multiRow);
        if (block_.theme != 0) block_.sloped = false;
        model_.setSloped(block_.sloped);
        painter_.setPageImages(page_control::ImageList::fromStream(block_.pageImages));
        painter_.setHeaderImages(page_control::ImageList::fromStream(block_.headerImages));
        painter_.setScrollImages(page_control::ImageList::fromStream(block_.scrollImages));
        model_.setSelectDisabled(block_.selectDisabled);
        model_.setNoHotOnSelected(block_.noHotOnSelected);
        model_.setPages(std::move(block_.pages), false);
        block_.pages.clear();
        model_.selectQuietly(block_.currentPage, true);
    }

    GtkWidget* widget() override { return area_; }

    std::optional<runtime::Value> getOwn(int k) override;
    bool setOwn(int k, const runtime::Value& v) override;
    std::optional<runtime::Value> call(int method, std::vector<runtime::Value>& args) override;
    runtime::Bytes propertyBlock() const override;

    void boundsChanged(const runtime::Rect& r) override { model_.setSize(r.width, r.height); }
    void enabledChanged(bool enabled) override { model_.setEnabled(enabled); }

    // A page tab list: one page tab per page, named by its caption, with
    // its tip (the tab's whole title) as description.
    runtime::AccessibleFacts accessibleFacts() override {
        runtime::AccessibleFacts f;
        f.role = runtime::AccessibleRole::kPageTabList;
        return f;
    }
    std::vector<runtime::AccessibleFacts> accessibleItems() override;
    bool accessibleItemClick(int index) override { return model_.clickPage(index); }

private:
    // page_control::Host
    int notify(int code, int index) override;
    // Every change of pages or selection repaints, so it is also where
    // assistive technology hears of it.
    void invalidate() override {
        gtk_widget_queue_draw(area_);
        runtime::accessibleChanged(area_);
    }
    int measureContent(const page_control::Page& page) override { return painter_.measureContent(page); }

    void connectSignals();
    void applyFont();
    page_control::PaintOptions paintOptions() const {
        return {page_control::Palette::fromBlock(block_), block_.verticalText, block_.textAlign};
    }
    static int colourOf(uint32_t c) { return static_cast<int32_t>(c); }

    // Settings the model does not hold; pages and selection live in the model.
    PageControlBlock block_;
    Painter painter_;
    Model model_;
    DoubleClickTracker clicks_;
    GtkWidget* area_ = nullptr;
};

int PageControl::notify(int code, int index) {
    switch (code) {
        case page_control::code::kChanged:
            // No component belongs to a page here: every component lies flat
            // in its window, so there is nothing to show or hide first.
            raise(page_control::kPageChanged);
            return 0;
        case page_control::code::kChanging: {
            runtime::Value answer = raise(page_control::kPageChanging, {index});
            bool refused = (std::holds_alternative<bool>(answer) && !std::get<bool>(answer)) ||
                           (std::holds_alternative<int32_t>(answer) && std::get<int32_t>(answer) == 0);
            return refused ? 1 : 0;
        }
        case page_control::code::kClicked: raise(page_control::kHeaderClicked, {index}); return 0;
        case page_control::code::kEntered: raise(page_control::kHeaderEntered, {index}); return 0;
        case page_control::code::kRightClicked: raise(page_control::kHeaderRightClicked, {index}); return 0;
        default: return 0;
    }
}

std::vector<runtime::AccessibleFacts> PageControl::accessibleItems() {
    std::vector<runtime::AccessibleFacts> items;
    items.reserve(static_cast<size_t>(model_.pageCount()));
    for (int i = 0; i < model_.pageCount(); ++i) {
        const page_control::Page& p = model_.page(i);
        runtime::AccessibleFacts f;
        f.role = runtime::AccessibleRole::kPageTab;
        f.name = runtime::spokenText(p.data.caption);
        f.description = p.data.tip;
        f.clickable = model_.selectable(i);
        f.selected = i == model_.current();
        f.key = p.id;
        f.bounds = {p.header.left, p.header.top, p.header.width(), p.header.height()};
        items.push_back(std::move(f));
    }
    return items;
}

void PageControl::connectSignals() {
    g_signal_connect(area_, "draw", runtime::callback([](GtkWidget*, cairo_t* cr, gpointer p) -> gboolean {
        // A paint never nests: GTK could only get here again through a
        // handler run from inside painting, and that would paint half a frame.
        static bool painting = false;
        if (painting) return TRUE;
        painting = true;
        auto* self = static_cast<PageControl*>(p);
        self->painter_.paint(cr, self->model_, self->paintOptions());
        painting = false;
        return TRUE;
    }),
        this);
    g_signal_connect(area_, "button-press-event",
        runtime::callback([](GtkWidget* w, GdkEventButton* e, gpointer p) -> gboolean {
            auto* self = static_cast<PageControl*>(p);
            if (e->type != GDK_BUTTON_PRESS || e->button != 1) return FALSE;
            int x = static_cast<int>(e->x), y = static_cast<int>(e->y);
            bool second = self->clicks_.isDoubleClick(x, y, e->time);
            if (self->model_.hot() >= 0) {
                GtkWidget* top = gtk_widget_get_toplevel(w);
                if (GTK_IS_WINDOW(top) && !gtk_window_is_active(GTK_WINDOW(top)))
                    gtk_window_present_with_time(GTK_WINDOW(top), e->time);
            }
            self->model_.leftPress(x, y, second);
            return FALSE;
        }),
        this);
    g_signal_connect(area_, "button-release-event",
        runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer p) -> gboolean {
            auto* self = static_cast<PageControl*>(p);
            int x = static_cast<int>(e->x), y = static_cast<int>(e->y);
            if (e->button == 1) self->model_.leftRelease(x, y);
            else if (e->button == 3) self->model_.rightRelease(x, y);
            return FALSE;
        }),
        this);
    g_signal_connect(area_, "motion-notify-event",
        runtime::callback([](GtkWidget*, GdkEventMotion* e, gpointer p) -> gboolean {
            static_cast<PageControl*>(p)->model_.mouseMove(static_cast<int>(e->x), static_cast<int>(e->y));
            return FALSE;
        }),
        this);
    g_signal_connect(area_, "leave-notify-event",
        runtime::callback([](GtkWidget*, GdkEventCrossing*, gpointer p) -> gboolean {
            static_cast<PageControl*>(p)->model_.mouseLeave();
            return FALSE;
        }),
        this);
    g_signal_connect(area_, "query-tooltip",
        runtime::callback([](GtkWidget*, gint x, gint y, gboolean keyboard, GtkTooltip* tip, gpointer p) -> gboolean {
            auto* self = static_cast<PageControl*>(p);
            if (keyboard) return FALSE;
            std::string text = self->model_.tipAt(x, y);
            if (text.empty()) return FALSE;
            gtk_tooltip_set_text(tip, text.c_str());
            // Each header is its own tool: moving to the next one brings its tip.
            int hit = self->model_.hitTest(x, y);
            GdkRectangle area{x, y, 1, 1};
            if (hit >= 0) {
                const page_control::Box& b = self->model_.page(hit).header;
                area = {b.left, b.top, b.width(), b.height()};
            }
            gtk_tooltip_set_tip_area(tip, &area);
            return TRUE;
        }),
        this);
}

void PageControl::applyFont() {
    painter_.setFont(block_.font);
    model_.setFontHeight(painter_.fontPixelHeight());
}

std::optional<runtime::Value> PageControl::getOwn(int k) {
    const page_control::Box& a = model_.pageArea();
    switch (k) {
        case page_control::kHeaderPosition: return model_.position();
        case page_control::kMultiRow: return model_.multiRow();
        case page_control::kFont: return block_.font ? block_.font->serialize() : runtime::Bytes{};
        case page_control::kPageList: return PageControlBlock::serializePages(model_.pagesData());
        case page_control::kCurrentPage: return model_.current();
        case page_control::kHideHeaders: return model_.hideHeaders();
        case page_control::kHeaderHeight: return model_.effectiveHeaderHeight();
        case page_control::kTheme: return block_.theme;
        case page_control::kSloped: return model_.sloped();
        case page_control::kTextAlign: return block_.textAlign;
        case page_control::kPageImages: return block_.pageImages;
        case page_control::kHeaderImages: return block_.headerImages;
        case page_control::kScrollImages: return block_.scrollImages;
        case page_control::kGradient: return block_.gradient;
        case page_control::kFillNormal:
        case page_control::kFillHot:
        case page_control::kFillSelected:
            return colourOf(block_.fill[static_cast<size_t>(k - page_control::kFillNormal)]);
        case page_control::kPageAreaColour: return colourOf(block_.pageAreaColour);
        case page_control::kBorderColour: return colourOf(block_.borderColour);
        case page_control::kTextNormal:
        case page_control::kTextHot:
        case page_control::kTextSelected:
            return colourOf(block_.text[static_cast<size_t>(k - page_control::kTextNormal)]);
        case page_control::kBackground: return colourOf(block_.background);
        case page_control::kVerticalText: return block_.verticalText;
        case page_control::kSelectDisabled: return model_.selectDisabled();
        case page_control::kExplicitOuter: return block_.explicitOuter;
        case page_control::kOuterNormal:
        case page_control::kOuterHot:
        case page_control::kOuterSelected:
            return colourOf(block_.outer[static_cast<size_t>(k - page_control::kOuterNormal)]);
        // The page area as the pages' own components see it: inside the frame.
        case page_control::kPageAreaLeft: return a.left + 1;
        case page_control::kPageAreaTop: return a.top + 1;
        case page_control::kPageAreaWidth: return std::max(a.width() - 2, 0);
        case page_control::kPageAreaHeight: return std::max(a.height() - 2, 0);
        case page_control::kNoHotOnSelected: return model_.noHotOnSelected();
        default: return std::nullopt;
    }
}

bool PageControl::setOwn(int k, const runtime::Value& v) {
    auto colourWrite = [&](uint32_t& slot) {
        slot = static_cast<uint32_t>(runtime::asInt(v));
        model_.markAllDirty();
        return true;
    };
    auto bytesOf = [&](const char* what) -> const runtime::Bytes* {
        if (auto b = std::get_if<runtime::Bytes>(&v)) return b;
        g_warning("PageControl %s needs a byte block; ignored", what);
        return nullptr;
    };
    switch (k) {
        case page_control::kHeaderPosition: model_.setPosition(runtime::asInt(v)); return true;
        case page_control::kMultiRow: model_.setMultiRow(runtime::asBool(v)); return true;
        case page_control::kFont: {
            const runtime::Bytes* b = bytesOf("font");
            if (!b) return true;
            if (b->empty()) block_.font.reset();
            else if (auto f = runtime::LogFont::parse(*b)) block_.font = f;
            else {
                g_warning("PageControl font is not a 60-byte record; ignored");
                return true;
            }
            applyFont();
            return true;
        }
        case page_control::kPageList: {
            const runtime::Bytes* b = bytesOf("page list");
            if (!b) return true;
            auto pages = PageControlBlock::parsePages(*b);
            if (!pages) {
                g_warning("PageControl page list does not parse; ignored");
                return true;
            }
            model_.setPages(std::move(*pages), true);
            return true;
        }
        case page_control::kCurrentPage: model_.select(runtime::asInt(v), true); return true;
        case page_control::kHideHeaders: model_.setHideHeaders(runtime::asBool(v)); return true;
        case page_control::kHeaderHeight: model_.setHeaderHeight(runtime::asInt(v)); return true;
        case page_control::kTheme: {
            int t = runtime::asInt(v);
            if (t < 0 || t > 3) return true;
            block_.theme = t;
            if (t != 0) model_.setSloped(false);
            model_.markAllDirty();
            return true;
        }
        case page_control::kSloped:
            model_.setSloped(runtime::asBool(v));
            if (model_.sloped()) block_.theme = 0;
            return true;
        case page_control::kTextAlign:
            block_.textAlign = runtime::asInt(v) == 1 ? 1 : 0;
            model_.markAllDirty();
            return true;
        case page_control::kPageImages:
        case page_control::kHeaderImages:
        case page_control::kScrollImages: {
            const runtime::Bytes* b = bytesOf("image list");
            if (!b) return true;
            auto list = page_control::ImageList::fromStream(*b);
            if (k == page_control::kPageImages) {
                block_.pageImages = *b;
                painter_.setPageImages(std::move(list));
            }
            if (k == page_control::kHeaderImages) {
                block_.headerImages = *b;
                painter_.setHeaderImages(std::move(list));
            }
            if (k == page_control::kScrollImages) {
                block_.scrollImages = *b;
                painter_.setScrollImages(std::move(list));
            }
            model_.markAllDirty();
            model_.relayout();
            return true;
        }
        case page_control::kGradient:
            block_.gradient = runtime::asBool(v);
            model_.markAllDirty();
            return true;
        case page_control::kFillNormal:
        case page_control::kFillHot:
        case page_control::kFillSelected:
            return colourWrite(block_.fill[static_cast<size_t>(k - page_control::kFillNormal)]);
        case page_control::kPageAreaColour: return colourWrite(block_.pageAreaColour);
        case page_control::kBorderColour: return colourWrite(block_.borderColour);
        case page_control::kTextNormal:
        case page_control::kTextHot:
        case page_control::kTextSelected:
            return colourWrite(block_.text[static_cast<size_t>(k - page_control::kTextNormal)]);
        case page_control::kBackground: return colourWrite(block_.background);
        case page_control::kVerticalText:
            block_.verticalText = runtime::asBool(v);
            model_.markAllDirty();
            return true;
        case page_control::kSelectDisabled: model_.setSelectDisabled(runtime::asBool(v)); return true;
        case page_control::kExplicitOuter:
            block_.explicitOuter = runtime::asBool(v);
            model_.markAllDirty();
            return true;
        case page_control::kOuterNormal:
        case page_control::kOuterHot:
        case page_control::kOuterSelected:
            return colourWrite(block_.outer[static_cast<size_t>(k - page_control::kOuterNormal)]);
        case page_control::kNoHotOnSelected: model_.setNoHotOnSelected(runtime::asBool(v)); return true;
        default: return false;  // unknown, or the read-only page area
    }
}

std::optional<runtime::Value> PageControl::call(int method, std::vector<runtime::Value>& args) {
    auto arg = [&](size_t i, int fallback) { return i < args.size() ? runtime::asInt(args[i]) : fallback; };
    switch (method) {
        case page_control::kAddPage: {
            PageControlPage page;
            page.caption = args.empty() ? std::string() : runtime::asText(args[0]);
            for (size_t s = 0; s < 3; ++s) page.image[s] = std::max(arg(1 + s, -1), -1);
            return model_.addPage(std::move(page), arg(4, -1));
        }
        case page_control::kRemovePage: return model_.removePage(arg(0, -2)) ? 1 : 0;
        case page_control::kGetPageCount: return model_.pageCount();
        case page_control::kGetPageCaption: {
            int i = arg(0, -1);
            return model_.validIndex(i) ? model_.page(i).data.caption : std::string();
        }
        case page_control::kSetPageCaption:
            return model_.setCaption(arg(0, -1), args.size() > 1 ? runtime::asText(args[1]) : std::string()) ? 1 : 0;
        case page_control::kSetPageTip: {
            // A tip changes nothing on screen, so no repaint tells of it.
            runtime::accessibleChanged(area_);
            return model_.setTip(arg(0, -1), args.size() > 1 ? runtime::asText(args[1]) : std::string()) ? 1 : 0;
        }
        case page_control::kGetHeaderRect: {
            page_control::Box b = model_.headerRectOrArea(arg(0, -1));
            args.resize(std::max<size_t>(args.size(), 5));
            args[1] = b.left;
            args[2] = b.top;
            args[3] = b.width();
            args[4] = b.height();
            return 1;
        }
        default: return std::nullopt;
    }
}

runtime::Bytes PageControl::propertyBlock() const {
    PageControlBlock b = block_;
    b.headerPosition = model_.position();
    b.hideHeaders = model_.hideHeaders();
    b.headerHeight = model_.headerHeight();
    b.multiRow = model_.multiRow();
    b.sloped = model_.sloped();
    b.selectDisabled = model_.selectDisabled();
    b.noHotOnSelected = model_.noHotOnSelected();
    b.pages = model_.pagesData();
    b.currentPage = model_.current();
    return b.serialize();
}

}  // namespace

void registerPageControlKind(runtime::Runtime& runtime) {
    runtime.registerKind("PageControl", runtime::makeFromBlock<PageControl, PageControlBlock>);
}

std::optional<runtime::Rect> headerRect(runtime::Runtime& runtime, runtime::ComponentRef ref, int index) {
    runtime::Component* c = runtime.component(ref);
    if (!c || runtime.kindOf(ref) != "PageControl") {
        runtime.runtimeError(runtime::runtime_error::kNoSuchComponent, "引用的组件不是高级选择夹");
        return std::nullopt;
    }
    std::vector<runtime::Value> args{index};
    c->call(page_control::kGetHeaderRect, args);
    return runtime::Rect{
        runtime::asInt(args[1]), runtime::asInt(args[2]), runtime::asInt(args[3]), runtime::asInt(args[4])};
}

}  // namespace widgets
