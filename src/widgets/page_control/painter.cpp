#include "widgets/page_control/painter.h"

#include <gdk/gdk.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "runtime/colour.h"
#include "runtime/gbk.h"

namespace widgets::page_control {

namespace {

using Context = runtime::CPtr<cairo_t, cairo_destroy>;
using Layout = runtime::GObjectPtr<PangoLayout>;

void fillBox(cairo_t* cr, int x, int y, int w, int h, uint32_t colour) {
    if (w <= 0 || h <= 0) return;
    runtime::setSourceColour(cr, colour);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

// The clip in whole pixels.
Box clipBox(cairo_t* cr) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    return {static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)), static_cast<int>(std::ceil(x2)),
        static_cast<int>(std::ceil(y2))};
}

bool meets(const Box& a, const Box& b) {
    return !a.empty() && !b.empty() && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool within(const Box& inner, const Box& outer) {
    return !outer.empty() && inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Whether any header or scroll button reaches into `clip` (a selected
// header may overlap the frame).
bool touchesHeaders(const Model& model, const Box& clip) {
    for (const Row& row : model.rows())
        for (int i : row.pages)
            if (meets(model.page(i).header, clip)) return true;
    if (meets(model.selectedRect(), clip)) return true;
    for (int b = 0; b < 2; ++b) {
        const ScrollButton& button = model.scrollButton(b);
        const ButtonBox& box = button.box();
        if (button.visible() && meets({box.left, box.top, box.right, box.bottom}, clip)) return true;
    }
    return false;
}

}  // namespace

// Everything one header drawing needs, in top orientation: `along` is the
// header's length, `across` its thickness.
struct Painter::HeaderJob {
    const Page* page = nullptr;
    HeaderState state = HeaderState::kNormal;
    HeaderColours colours;
    Side side = Side::kTop;
    int along = 0, across = 0;
    int contentLeft = 0;
    int imageIndex = -1;
    int backgroundIndex = -1;
};

Painter::Painter() {
    measureSurface_ = Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    measureContext_.reset(cairo_create(measureSurface_.get()));
    setFont(std::nullopt);
    scrollImages_ = ImageList::builtInScrollButtons();
}

void Painter::setFont(const std::optional<runtime::LogFont>& font) {
    font_.reset(font ? font->toPango() : runtime::defaultGuiFont());
    fontPixels_ = font ? font->pixelHeight() : 12;
    clearCaches();
}

void Painter::setScrollImages(ImageList list) {
    scrollImages_ = list.count >= 8 ? std::move(list) : ImageList::builtInScrollButtons();
}

int Painter::imageWidthFor(const PageControlPage& page) const {
    if (pageImages_.empty()) return 0;
    bool any = std::any_of(page.image.begin(), page.image.end(), [](int i) { return i != -1; });
    return any ? pageImages_.width : 0;
}

int Painter::measureContent(const Page& page) const {
    int image = imageWidthFor(page.data);
    int text = 0;
    if (!page.data.caption.empty()) {
        Layout layout = Layout::adopt(pango_cairo_create_layout(measureContext_.get()));
        pango_layout_set_font_description(layout.get(), font_.get());
        pango_layout_set_text(layout.get(), page.data.caption.c_str(), -1);
        int h = 0;
        pango_layout_get_pixel_size(layout.get(), &text, &h);
    }
    return image + text + (image && text ? 3 : 0);
}

void Painter::purgeCache(const Model& model) {
    std::unordered_set<uint64_t> live;
    for (int i = 0; i < model.pageCount(); ++i) live.insert(model.page(i).id);
    for (auto it = cache_.begin(); it != cache_.end();) it = live.count(it->first) ? std::next(it) : cache_.erase(it);
}

void Painter::paint(cairo_t* cr, Model& model, const PaintOptions& o) {
    purgeCache(model);
    // Most paints are for a small damaged part: a web view over the page
    // area redraws its scroll bars many times a second, and GTK paints what
    // lies below it first. Only the parts that meet the clip are drawn; a
    // header outside it (the selected one is rendered afresh every time,
    // text included) would cost the most and show nothing.
    const Box clip = clipBox(cr);
    const Box& area = model.pageArea();
    const int current = model.current();
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (within(clip, {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}) && !touchesHeaders(model, clip)) {
        // Inside the frame: nothing but the page area's fill is there.
        const PageControlPage* page = model.validIndex(current) ? &model.page(current).data : nullptr;
        fillBox(cr, clip.left, clip.top, clip.width(), clip.height(), pageAreaFill(o.palette, page));
        cairo_restore(cr);
        return;
    }
    fillBox(cr, 0, 0, model.width(), model.height(), backgroundColour(o.palette));
    for (const Row& row : model.rows())
        for (int i : row.pages)
            if (i != current && meets(model.page(i).header, clip))
                drawHeader(cr, model, o, i, model.page(i).header,
                    model.drawnHot(i) ? HeaderState::kHot : HeaderState::kNormal);
    if (model.validIndex(current) && !model.selectedRect().empty() && meets(model.selectedRect(), clip))
        drawHeader(cr, model, o, current, model.selectedRect(),
            model.drawnHot(current) ? HeaderState::kHot : HeaderState::kSelected);
    drawPageArea(cr, model, o);
    drawScrollButtons(cr, model, o);
    cairo_restore(cr);
}

void Painter::drawHeader(
    cairo_t* cr, Model& model, const PaintOptions& o, int index, const Box& box, HeaderState state) {
    if (box.empty()) return;
    const Page& page = model.page(index);
    auto cached = cache_.find(page.id);
    if (state == HeaderState::kNormal && !page.lookDirty && cached != cache_.end()) {
        cached->second.setSource(cr, box.left, box.top);
        cairo_paint(cr);
        return;
    }
    if (state != HeaderState::kNormal && shown_.picture && shown_.id == page.id &&
        shown_.lookVersion == page.lookVersion && shown_.state == state && shown_.width == box.width() &&
        shown_.height == box.height()) {
        shown_.picture.setSource(cr, box.left, box.top);
        cairo_paint(cr);
        return;
    }
    HeaderJob job;
    job.page = &page;
    job.state = state;
    job.side = model.side();
    job.colours = headerColours(o.palette, page.data, state, model.enabled());
    const bool vertical = job.side == Side::kLeft || job.side == Side::kRight;
    job.along = vertical ? box.height() : box.width();
    job.across = vertical ? box.width() : box.height();
    const int content = page.contentWidth;
    job.contentLeft = o.textAlign == 1 ? 6 : std::max(6, (job.along - std::max(content, 0)) / 2);
    const auto s = static_cast<size_t>(state);
    job.imageIndex = page.data.image[s] != -1 ? page.data.image[s] : page.data.image[0];
    job.backgroundIndex = page.data.background[s] != -1 ? page.data.background[s] : page.data.background[0];

    // The header in top orientation; text goes in now unless it must stay
    // upright after the turn (bottom headers, vertical text).
    const bool textAfter = job.side == Side::kBottom || (vertical && o.verticalText);
    Surface top(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, job.along, job.across));
    {
        Context tc(cairo_create(top.get()));
        cairo_set_antialias(tc.get(), CAIRO_ANTIALIAS_NONE);
        renderTop(tc.get(), job);
        if (!textAfter) drawText(tc.get(), job, 0, 0, job.along, job.across);
    }

    Surface device(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.width(), box.height()));
    {
        Context dc(cairo_create(device.get()));
        cairo_matrix_t m;
        switch (job.side) {
            case Side::kBottom: cairo_matrix_init(&m, 1, 0, 0, -1, 0, box.height()); break;
            case Side::kLeft: cairo_matrix_init(&m, 0, -1, 1, 0, 0, box.height()); break;
            case Side::kRight: cairo_matrix_init(&m, 0, 1, -1, 0, box.width(), 0); break;
            default: cairo_matrix_init_identity(&m); break;
        }
        cairo_save(dc.get());
        cairo_transform(dc.get(), &m);
        cairo_set_source_surface(dc.get(), top.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(dc.get()), CAIRO_FILTER_NEAREST);
        cairo_paint(dc.get());
        cairo_restore(dc.get());
        if (textAfter) {
            if (vertical) drawVerticalText(dc.get(), job, box.width(), box.height());
            else drawText(dc.get(), job, 0, 0, box.width(), box.height());
        }
    }
    // Through a device copy even when it is not kept (the selected and the
    // hot header): an image painted straight onto the window would travel
    // through the X shared-memory pool the web view's frames use.
    runtime::DevicePicture picture(std::move(device));
    picture.setSource(cr, box.left, box.top);
    cairo_paint(cr);
    if (state == HeaderState::kNormal && page.lookDirty) {
        cache_[page.id] = std::move(picture);
        model.markClean(index);
    } else if (state != HeaderState::kNormal) {
        shown_ = {page.id, page.lookVersion, state, box.width(), box.height(), std::move(picture)};
    }
}

void Painter::renderTop(cairo_t* cr, const HeaderJob& job) {
    const int w = job.along, h = job.across;
    const HeaderColours& c = job.colours;
    if (job.backgroundIndex >= 0 && job.backgroundIndex < headerImages_.count) {
        fillBox(cr, 0, 0, w, h, c.background);
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_clip(cr);
        cairo_scale(cr, static_cast<double>(w) / headerImages_.width, static_cast<double>(h) / headerImages_.height);
        cairo_set_source_surface(cr, headerImages_.strip.get(), -job.backgroundIndex * headerImages_.width, 0);
        cairo_rectangle(cr, 0, 0, headerImages_.width, headerImages_.height);
        cairo_fill(cr);
        cairo_restore(cr);
    } else if (c.gradient) {
        for (const Band& b : gradientBands(h, c.outer, c.base)) fillBox(cr, 0, b.top, w, b.bottom - b.top, b.colour);
    } else {
        fillBox(cr, 0, 0, w, h, c.base);
    }
    // Outline, then the two outer corners cut back to the background.
    fillBox(cr, 2, 0, w - 3, 1, c.border);
    fillBox(cr, 1, 1, 1, h - 1, c.border);
    fillBox(cr, w - 1, 1, 1, h - 1, c.border);
    fillBox(cr, 2, 1, 1, 1, c.border);
    fillBox(cr, w - 2, 1, 1, 1, c.border);
    fillBox(cr, 0, 0, 1, h, c.background);
    fillBox(cr, 1, 0, 1, 1, c.background);
    fillBox(cr, w - 1, 0, 1, 1, c.background);
}

void Painter::drawText(cairo_t* cr, const HeaderJob& job, double left, double top, double right, double bottom) {
    const int along = static_cast<int>(right - left);
    double x = left + job.contentLeft;
    const int textTop = job.side == Side::kBottom ? 0 : 2;
    if (job.imageIndex >= 0 && job.imageIndex < pageImages_.count) {
        int ih = std::min(pageImages_.height, job.across - 2);
        double iy = top + std::max(2, (job.across - ih) / 2);
        cairo_save(cr);
        cairo_rectangle(cr, x, iy, pageImages_.width, ih);
        cairo_clip(cr);
        cairo_set_source_surface(cr, pageImages_.strip.get(), x - job.imageIndex * pageImages_.width, iy);
        cairo_paint(cr);
        cairo_restore(cr);
        x += pageImages_.width + 3;
    } else if (!pageImages_.empty() && imageWidthFor(job.page->data)) {
        x += pageImages_.width + 3;
    }
    const std::string& caption = job.page->data.caption;
    if (caption.empty()) return;
    double textRight = left + along - 4;
    if (textRight <= x) return;
    Layout layout = Layout::adopt(pango_cairo_create_layout(cr));
    pango_layout_set_font_description(layout.get(), font_.get());
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    pango_layout_set_text(layout.get(), caption.c_str(), -1);
    int tw = 0, th = 0;
    pango_layout_get_pixel_size(layout.get(), &tw, &th);
    double areaTop = top + textTop;
    double y = areaTop + std::floor((bottom - areaTop - th) / 2);
    cairo_save(cr);
    cairo_rectangle(cr, x, areaTop, textRight - x, bottom - areaTop);
    cairo_clip(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    runtime::setSourceColour(cr, job.colours.text);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

// One character per line down the header, as far as whole lines fit.
void Painter::drawVerticalText(cairo_t* cr, const HeaderJob& job, int width, int height) {
    const std::string& caption = job.page->data.caption;
    Layout layout = Layout::adopt(pango_cairo_create_layout(cr));
    pango_layout_set_font_description(layout.get(), font_.get());
    runtime::setSourceColour(cr, job.colours.text);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    int y = 6;
    for (size_t pos = 0; pos < caption.size();) {
        size_t n = runtime::gbk::nextCharLength(caption, pos);
        if (n == 0) break;
        pango_layout_set_text(layout.get(), caption.c_str() + pos, static_cast<int>(n));
        int cw = 0, ch = 0;
        pango_layout_get_pixel_size(layout.get(), &cw, &ch);
        if (y + ch > height) break;
        cairo_move_to(cr, (width - cw) / 2, y);
        pango_cairo_show_layout(cr, layout.get());
        y += ch;
        pos += n;
    }
}

void Painter::drawPageArea(cairo_t* cr, const Model& model, const PaintOptions& o) {
    const Box& area = model.pageArea();
    const int current = model.current();
    const PageControlPage* page = model.validIndex(current) ? &model.page(current).data : nullptr;
    fillBox(cr, area.left + 1, area.top + 1, area.width() - 2, area.height() - 2, pageAreaFill(o.palette, page));
    const uint32_t border = borderColour(o.palette);
    fillBox(cr, area.left, area.top, area.width(), 1, border);
    fillBox(cr, area.left, area.bottom - 1, area.width(), 1, border);
    fillBox(cr, area.left, area.top, 1, area.height(), border);
    fillBox(cr, area.right - 1, area.top, 1, area.height(), border);

    const Box& sel = model.selectedRect();
    if (!page || sel.empty()) return;
    const uint32_t line = openingLineColour(o.palette, *page);
    switch (model.side()) {
        case Side::kTop: fillBox(cr, sel.left + 2, area.top, sel.width() - 3, 1, line); break;
        case Side::kBottom: fillBox(cr, sel.left + 2, area.bottom - 1, sel.width() - 3, 1, line); break;
        case Side::kLeft: fillBox(cr, area.left, sel.top + 1, 1, sel.height() - 3, line); break;
        case Side::kRight: fillBox(cr, area.right - 1, sel.top + 2, 1, sel.height() - 3, line); break;
        case Side::kNone: break;
    }
}

void Painter::drawScrollButtons(cairo_t* cr, const Model& model, const PaintOptions& o) {
    for (int b = 0; b < 2; ++b) {
        const ScrollButton& button = model.scrollButton(b);
        if (!button.visible()) continue;
        const ButtonBox& box = button.box();
        const int size = ScrollButton::kSize;
        fillBox(cr, box.left, box.top, size, size, backgroundColour(o.palette));
        int image = b * 4 + static_cast<int>(button.state());
        cairo_save(cr);
        cairo_rectangle(cr, box.left, box.top, size, size);
        cairo_clip(cr);
        cairo_set_source_surface(cr, scrollImages_.strip.get(), box.left - image * scrollImages_.width, box.top);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

}  // namespace widgets::page_control
