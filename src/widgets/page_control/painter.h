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
        clearCaches();
    }
    void setHeaderImages(ImageList list) {
        headerImages_ = std::move(list);
        clearCaches();
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
    void clearCaches() {
        cache_.clear();
        shown_ = {};
    }

    runtime::CPtr<PangoFontDescription, pango_font_description_free> font_;
    int fontPixels_ = 12;
    Surface measureSurface_;
    runtime::CPtr<cairo_t, cairo_destroy> measureContext_;
    ImageList pageImages_, headerImages_, scrollImages_;
    std::unordered_map<uint64_t, runtime::DevicePicture> cache_;
    // The selected (or hot) header is painted again with most of the window's
    // frames; its device copy is kept while its page, look, state and size
    // stay as they were.
    struct Shown {
        uint64_t id = 0, lookVersion = 0;
        HeaderState state = HeaderState::kNormal;
        int width = 0, height = 0;
        runtime::DevicePicture picture;
    };
    Shown shown_;
};

}  // namespace widgets::page_control
