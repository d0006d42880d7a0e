// Cairo/Pango drawing of the tab control: headers rendered in top
// orientation and turned into place, the page-area frame and its opening
// under the selected header, the scroll buttons, and a per-header cache of
// the normal look.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <unordered_map>

#include "runtime/device_picture.h"
#include "runtime/gobject_ptr.h"
#include "runtime/log_font.h"
#include "widgets/page_control/image_list.h"
#include "widgets/page_control/look.h"
#include "widgets/page_control/model.h"

namespace widgets::page_control {

struct PaintOptions {
    Palette palette;
    bool verticalText = false;
    int textAlign = 0;  // 0 centred, 1 left
};

class Painter {
public:
    Painter();

    // Takes a font record; none means the default GUI font.
    void setFont(const std::optional<runtime::LogFont>& font);
    int fontPixelHeight() const { return fontPixels_; }
    void setPageImages(ImageList list) {
        pageImages_ = std::move(list);
        cache_.clear();
    }
    void setHeaderImages(ImageList list) {
        headerImages_ = std::move(list);
        cache_.clear();
    }
    // An empty list means the built-in artwork.
    void setScrollImages(ImageList list);

    // Image width (when the page uses the image list) + text width, + 3
    // when both are there.
    int measureContent(const Page& page) const;

    // Paints the whole control at (0, 0) of `cr`.
    void paint(cairo_t* cr, Model& model, const PaintOptions& options);

private:
    struct HeaderJob;
    void drawHeader(cairo_t* cr, Model& model, const PaintOptions& o, int index, const Box& box, HeaderState state);
    void renderTop(cairo_t* cr, const HeaderJob& job);
    void drawText(cairo_t* cr, const HeaderJob& job, double left, double top, double right, double bottom);
    void drawVerticalText(cairo_t* cr, const HeaderJob& job, int width, int height);
    void drawPageArea(cairo_t* cr, const Model& model, const PaintOptions& o);
    void drawScrollButtons(cairo_t* cr, const Model& model, const PaintOptions& o);
    int imageWidthFor(const PageControlPage& page) const;
    void purgeCache(const Model& model);

    runtime::CPtr<PangoFontDescription, pango_font_description_free> font_;
    int fontPixels_ = 12;
    Surface measureSurface_;
    runtime::CPtr<cairo_t, cairo_destroy> measureContext_;
    ImageList pageImages_, headerImages_, scrollImages_;
    std::unordered_map<uint64_t, runtime::DevicePicture> cache_;
};

}  // namespace widgets::page_control
