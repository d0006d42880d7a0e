// The tab control without its drawing: pages, header layout in the four
// positions, selection with its notifications, hot tracking, clicks and the
// two scroll buttons. Plain C++ so that every rule can be tested without a
// display; the GTK glue feeds it pointer events and paints what it says.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "widgets/page_control.h"
#include "widgets/page_control/scroll_button.h"

namespace widgets::page_control {

// Rectangle as left, top, right, bottom (right and bottom exclusive).
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Box&) const = default;
};

// Where the header strip lies; kNone when headers are hidden.
enum class Side { kNone = 0, kTop = 1, kBottom = 2, kLeft = 3, kRight = 4 };

// Notification codes, sent through Host::notify with the page index.
namespace code {
constexpr int kChanged = 1, kChanging = 2, kClicked = 3, kEntered = 4, kRightClicked = 5;
}

struct Page {
    PageControlPage data;
    uint64_t id = 0;           // stable across inserts and removals (keys the look cache)
    Box header;                // device coordinates; empty when the page has no header
    int contentWidth = 0;      // image + text width as last measured
    bool lookDirty = true;     // the cached normal look must be redrawn
    uint64_t lookVersion = 0;  // grows each time the look changes (keys the selected header's copy)

    // Both caches of the header's look go stale together.
    void lookChanged() {
        lookDirty = true;
        ++lookVersion;
    }
};

// One laid-out row: page indices in order, and where the row sits across
// the strip (row 0 is the outermost).
struct Row {
    std::vector<int> pages;
    int length = 0;
};

class Host {
public:
    virtual ~Host() = default;
    // Reports a notification; the answer matters only for kChanging, where
    // 1 cancels the change. Handlers may call back into the model.
    virtual int notify(int code, int index) = 0;
    // The control's look changed and must be painted again.
    virtual void invalidate() = 0;
    // Width of a page's image and caption (+3 when both); negative when it
    // cannot be measured (the header then gets the fallback width 50).
    virtual int measureContent(const Page& page) = 0;
};

class Model {
public:
    explicit Model(Host& host) : host_(host) {}

    // Geometry and options; each re-lays out the headers.
    void setSize(int width, int height);
    // 0 top, 1 bottom, 2 left, 3 right; other values are ignored.
    void setPosition(int position);
    int position() const { return position_; }
    void setHideHeaders(bool hide);
    bool hideHeaders() const { return hide_; }
    // Turning multi-row off is refused for left and right headers.
    bool setMultiRow(bool on);
    bool multiRow() const { return multiRow_ || vertical(); }
    void setHeaderHeight(int height);
    void setFontHeight(int pixels);
    int headerHeight() const { return requestedHeight_; }
    int effectiveHeaderHeight() const { return std::max(requestedHeight_, fontHeight_); }
    void setSloped(bool on);
    bool sloped() const { return sloped_; }
    void setSelectDisabled(bool on);
    bool selectDisabled() const { return selectDisabled_; }
    void setNoHotOnSelected(bool on) {
        noHotOnSelected_ = on;
        host_.invalidate();
    }
    bool noHotOnSelected() const { return noHotOnSelected_; }
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }

    // Pages.
    int pageCount() const { return static_cast<int>(pages_.size()); }
    const Page& page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    bool validIndex(int index) const { return index >= 0 && index < pageCount(); }
    bool shown(int index) const;
    bool selectable(int index) const;
    // Returns the new page's index, or -1 when the page limit is reached.
    int addPage(PageControlPage data, int position = -1);
    bool removePage(int index);
    bool setCaption(int index, const std::string& caption);
    bool setTip(int index, const std::string& tip);
    // Replaces every page (an empty list gets one empty page) and keeps the
    // current index when it is still selectable.
    void setPages(std::vector<PageControlPage> pages, bool notify = true);
    std::vector<PageControlPage> pagesData() const;

    // Selection. select() runs the full rule with notifications; with
    // `check` an unselectable page keeps the current one.
    int current() const { return current_; }
    bool select(int index, bool check) { return selectImpl(index, check, true); }
    bool selectQuietly(int index, bool check) { return selectImpl(index, check, false); }

    // Layout results, all in device (client) coordinates.
    Side side() const;
    const Box& headerArea() const { return headerArea_; }
    const Box& pageArea() const { return pageArea_; }
    const Box& selectedRect() const { return selectedRect_; }
    const std::vector<Row>& rows() const { return rows_; }
    int firstVisible() const { return firstVisible_; }
    // The page's header, or the whole header area for an invalid index.
    Box headerRectOrArea(int index) const;
    const ScrollButton& scrollButton(int which) const { return scroll_[which]; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Pointer input.
    int hitTest(int x, int y) const;
    void mouseMove(int x, int y);
    void mouseLeave();
    // `secondOfDouble`: the press completes a double click; the control
    // ignores those (a scroll button still takes it).
    void leftPress(int x, int y, bool secondOfDouble);
    // What a left press on page `index`'s header does (the clicked
    // notification, then the selection); false for a page that cannot be
    // selected. Also the click that comes without a pointer.
    bool clickPage(int index);
    void leftRelease(int x, int y);
    void rightRelease(int x, int y);
    int hot() const { return hot_; }
    // Whether the page's header is drawn in its hot look.
    bool drawnHot(int index) const { return index == hot_ && !(noHotOnSelected_ && index == current_); }
    // Tooltip text for a point: a scroll button's hint or a header's tip.
    std::string tipAt(int x, int y) const;
    // Scrolls the single row by one shown page (-1 back, +1 forward).
    void scroll(int direction);

    // Look cache bookkeeping.
    void markAllDirty();
    void markClean(int index) { pages_.at(static_cast<size_t>(index)).lookDirty = false; }
    void relayout();

private:
    bool vertical() const { return position_ >= 2; }
    bool selectImpl(int index, bool check, bool notify);
    int firstSelectable() const;
    int preferredWidth(const Page& p, int available);
    void layoutRows();
    void placeRows();
    void keepCurrentRowNext();
    void computeSelectedRect();
    void placeScrollButtons();
    int rowOf(int index) const;
    Box toDevice(int x, int y, int w, int h) const;
    void setHot(int index);
    int scrollButtonAt(int x, int y) const;
    void updateScrollHover(int which);

    Host& host_;
    std::vector<Page> pages_;
    uint64_t nextId_ = 1;
    int current_ = -1;
    int hot_ = -1;
    int firstVisible_ = 0;
    int width_ = 0, height_ = 0;
    int position_ = 0;
    bool hide_ = false;
    bool multiRow_ = true;
    bool sloped_ = false;
    bool selectDisabled_ = false;
    bool noHotOnSelected_ = false;
    bool enabled_ = true;
    int requestedHeight_ = 20;
    int fontHeight_ = 12;

    // Layout, with header strips kept in top-position terms: x along the
    // strip, width w; the row gives the cross position.
    struct Strip {
        int x = 0, w = 0;
    };
    std::vector<Strip> strips_;
    std::vector<Row> rows_;
    Box headerArea_, pageArea_, selectedRect_;
    ScrollButton scroll_[2];
    int scrollHover_ = -1;
    int scrollPressed_ = -1;
};

}  // namespace widgets::page_control
