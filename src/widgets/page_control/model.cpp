#include "widgets/page_control/model.h"

#include <algorithm>

#include "widgets/page_control/page_limits.h"

namespace widgets::page_control {

namespace {
constexpr int kFallbackWidth = 50;
const char* const kScrollLeftHint = "向左滚动子夹头";
const char* const kScrollRightHint = "向右滚动子夹头";
}  // namespace

// ---- options ---------------------------------------------------------------

void Model::setSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    relayout();
}

void Model::setPosition(int position) {
    if (position < 0 || position > 3 || position == position_) return;
    position_ = position;
    markAllDirty();
    relayout();
}

void Model::setHideHeaders(bool hide) {
    hide_ = hide;
    relayout();
}

bool Model::setMultiRow(bool on) {
    if (!on && vertical()) return false;
    multiRow_ = on;
    relayout();
    return true;
}

void Model::setHeaderHeight(int height) {
    requestedHeight_ = clampHeaderHeight(height);
    markAllDirty();
    relayout();
}

void Model::setFontHeight(int pixels) {
    fontHeight_ = clampHeaderHeight(pixels);
    markAllDirty();
    relayout();
}

void Model::setSloped(bool on) {
    sloped_ = on;
    markAllDirty();
    relayout();
}

void Model::setSelectDisabled(bool on) {
    selectDisabled_ = on;
    host_.invalidate();
}

void Model::setEnabled(bool enabled) {
    enabled_ = enabled;
    markAllDirty();
    placeScrollButtons();
}

// ---- pages -----------------------------------------------------------------

bool Model::shown(int index) const { return validIndex(index) && page(index).data.visible; }

bool Model::selectable(int index) const { return shown(index) && (page(index).data.enabled || selectDisabled_); }

int Model::firstSelectable() const {
    for (int i = 0; i < pageCount(); ++i)
        if (selectable(i)) return i;
    return -1;
}

int Model::addPage(PageControlPage data, int position) {
    if (pages_.size() >= kMaxPages) return -1;
    data.runTime = true;
    Page p;
    p.data = std::move(data);
    p.id = nextId_++;
    int index = pageCount();
    if (validIndex(position)) {
        index = position;
        if (current_ >= index) ++current_;
        if (hot_ >= index) ++hot_;
        if (firstVisible_ > index) ++firstVisible_;
    }
    pages_.insert(pages_.begin() + index, std::move(p));
    relayout();
    // The current page keeps its selection under its possibly shifted index.
    if (current_ >= 0) selectImpl(current_, false, false);
    else selectImpl(index, true, true);
    return index;
}

bool Model::removePage(int index) {
    if (index == -1) {
        // "All pages" keeps the current one: the control never runs out of
        // selectable pages, and the page on show is the natural survivor.
        int keep = selectable(current_) ? current_ : firstSelectable();
        if (keep < 0 || pageCount() < 2) return false;
        Page survivor = std::move(pages_[static_cast<size_t>(keep)]);
        pages_.clear();
        pages_.push_back(std::move(survivor));
        current_ = 0;
        hot_ = -1;
        firstVisible_ = 0;
        relayout();
        selectImpl(0, false, false);
        return true;
    }
    if (!validIndex(index)) return false;
    bool otherSelectable = false;
    for (int i = 0; i < pageCount(); ++i)
        if (i != index && selectable(i)) otherSelectable = true;
    if (!otherSelectable) return false;

    bool wasCurrent = index == current_;
    pages_.erase(pages_.begin() + index);
    if (hot_ == index) hot_ = -1;
    else if (hot_ > index) --hot_;
    if (current_ > index) --current_;
    if (firstVisible_ > index || firstVisible_ >= pageCount()) firstVisible_ = std::max(firstVisible_ - 1, 0);
    relayout();

    if (wasCurrent && selectable(current_)) {
        // The following page moves into the removed page's index.
        selectImpl(current_, false, false);
        return true;
    }
    if (wasCurrent || !selectable(current_)) {
        current_ = -1;
        int first = firstSelectable();
        if (!selectImpl(first, false, true) && validIndex(first) && current_ < 0) {
            // A page-changing handler cannot keep a page that is gone.
            selectImpl(first, false, false);
            host_.notify(code::kChanged, first);
        }
        return true;
    }
    selectImpl(current_, false, false);
    return true;
}

bool Model::setCaption(int index, const std::string& caption) {
    if (!validIndex(index)) return false;
    pages_[static_cast<size_t>(index)].data.caption = caption;
    pages_[static_cast<size_t>(index)].lookChanged();
    relayout();
    return true;
}

bool Model::setTip(int index, const std::string& tip) {
    if (!validIndex(index)) return false;
    pages_[static_cast<size_t>(index)].data.tip = tip;
    return true;
}

void Model::setPages(std::vector<PageControlPage> pages, bool notify) {
    if (pages.size() > kMaxPages) pages.resize(kMaxPages);
    if (pages.empty()) pages.emplace_back();
    int keep = current_;
    pages_.clear();
    for (auto& d : pages) {
        Page p;
        p.data = std::move(d);
        p.id = nextId_++;
        pages_.push_back(std::move(p));
    }
    hot_ = -1;
    firstVisible_ = 0;
    current_ = validIndex(keep) ? keep : -1;
    relayout();
    if (selectable(current_)) {
        selectImpl(current_, false, false);
    } else {
        current_ = -1;
        selectImpl(0, true, notify);
    }
}

std::vector<PageControlPage> Model::pagesData() const {
    std::vector<PageControlPage> out;
    for (const auto& p : pages_) out.push_back(p.data);
    return out;
}

// ---- selection -------------------------------------------------------------

bool Model::selectImpl(int index, bool check, bool notify) {
    if (check && !selectable(index)) {
        if (validIndex(current_)) {
            host_.invalidate();
            return false;
        }
        index = firstSelectable();
    }
    if (!validIndex(index)) return false;
    int previous = current_;
    if (index != current_ && notify) {
        if (host_.notify(code::kChanging, index) == 1) return false;
        // The handler may have changed the pages under us.
        if (!validIndex(index)) return false;
    }
    if (side() != Side::kNone) {
        if (multiRow()) {
            if (rowOf(index) < 0) return false;
            current_ = index;
            keepCurrentRowNext();
        } else {
            int row = rowOf(index);
            const ScrollButton& left = scroll_[0];
            bool covered = row >= 0 && left.visible() &&
                           strips_[static_cast<size_t>(index)].x + strips_[static_cast<size_t>(index)].w >
                               (vertical() ? height_ : width_) - 2 * ScrollButton::kSize;
            if (row < 0 || covered) {
                firstVisible_ = index;
                layoutRows();
            }
        }
    }
    current_ = index;
    computeSelectedRect();
    placeScrollButtons();
    hot_ = -1;
    host_.invalidate();
    if (index != previous && notify) host_.notify(code::kChanged, index);
    return true;
}

// ---- layout ----------------------------------------------------------------

Side Model::side() const {
    if (hide_) return Side::kNone;
    return static_cast<Side>(position_ + 1);
}

int Model::preferredWidth(const Page& p, int available) {
    int preferred = kFallbackWidth;
    if (p.contentWidth >= 0) {
        preferred = sloped_ ? std::max(p.contentWidth + effectiveHeaderHeight() * 3 / 4 + 5, 25)
                            : std::max(p.contentWidth + 11, kFallbackWidth);
    }
    // A strip too short for anything still gives every header one pixel.
    return std::max(std::min(preferred, available), 1);
}

void Model::relayout() {
    for (auto& p : pages_) {
        int measured = host_.measureContent(p);
        p.contentWidth = measured;
    }
    layoutRows();
    if (multiRow() && validIndex(current_)) keepCurrentRowNext();
    computeSelectedRect();
    placeScrollButtons();
    host_.invalidate();
}

void Model::layoutRows() {
    rows_.clear();
    strips_.assign(pages_.size(), Strip{});
    if (side() == Side::kNone) {
        for (auto& p : pages_) p.header = {};
        headerArea_ = {};
        pageArea_ = {0, 0, width_, height_};
        return;
    }
    const int available = (vertical() ? height_ : width_) - 3;
    if (!multiRow()) {
        if (firstVisible_ >= pageCount()) firstVisible_ = std::max(pageCount() - 1, 0);
        Row row;
        int x = 1;
        for (int i = firstVisible_; i < pageCount(); ++i) {
            if (!shown(i)) continue;
            int w = preferredWidth(pages_[static_cast<size_t>(i)], available);
            strips_[static_cast<size_t>(i)] = {x, w};
            row.pages.push_back(i);
            x += w;
            // The header that crosses the end is still placed, clipped.
            if (x - 1 > available) break;
        }
        row.length = x - 1;
        if (!row.pages.empty()) rows_.push_back(std::move(row));
    } else {
        Row row;
        int x = 1;
        for (int i = 0; i < pageCount(); ++i) {
            if (!shown(i)) continue;
            int w = preferredWidth(pages_[static_cast<size_t>(i)], available);
            if (!row.pages.empty() && x - 1 + w > available) {
                row.length = x - 1;
                rows_.push_back(std::move(row));
                row = Row{};
                x = 1;
            }
            strips_[static_cast<size_t>(i)] = {x, w};
            row.pages.push_back(i);
            x += w;
        }
        row.length = x - 1;
        if (!row.pages.empty()) rows_.push_back(std::move(row));
        if (rows_.size() >= 2) {
            // Every row fills the strip: the spare length is shared out and
            // the last header takes what the integer division leaves over.
            for (Row& r : rows_) {
                if (r.length >= available) continue;
                int add = (available - r.length) / static_cast<int>(r.pages.size());
                int at = 1;
                for (size_t k = 0; k < r.pages.size(); ++k) {
                    Strip& s = strips_[static_cast<size_t>(r.pages[k])];
                    s.x = at;
                    s.w = k + 1 == r.pages.size() ? available + 1 - at : s.w + add;
                    at += s.w;
                }
                r.length = available;
            }
        }
    }
    placeRows();
}

// Turns rows and strips into device rectangles and the two areas.
void Model::placeRows() {
    const int hh = effectiveHeaderHeight();
    std::vector<Box> fresh(pages_.size());
    for (size_t r = 0; r < rows_.size(); ++r)
        for (int i : rows_[r].pages) {
            const Strip& s = strips_[static_cast<size_t>(i)];
            fresh[static_cast<size_t>(i)] = toDevice(s.x, static_cast<int>(r) * hh + 2, s.w, hh);
        }
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (!(pages_[i].header == fresh[i])) pages_[i].lookChanged();
        pages_[i].header = fresh[i];
    }
    const int depth = static_cast<int>(rows_.size()) * hh + 2;
    const int W = width_, H = height_;
    switch (side()) {
        case Side::kTop:
            headerArea_ = {0, 2, W, depth};
            pageArea_ = {0, depth, W, H};
            break;
        case Side::kBottom:
            pageArea_ = {0, 0, W, H - depth};
            headerArea_ = {0, H - depth, W, H};
            break;
        case Side::kLeft:
            headerArea_ = {2, 0, depth, H};
            pageArea_ = {depth, 0, W, H};
            break;
        case Side::kRight:
            pageArea_ = {0, 0, W - depth, H};
            headerArea_ = {W - depth, 0, W, H};
            break;
        case Side::kNone:
            headerArea_ = {};
            pageArea_ = {0, 0, W, H};
            break;
    }
}

Box Model::toDevice(int x, int y, int w, int h) const {
    switch (side()) {
        case Side::kBottom: return {x, height_ - (y + h), x + w, height_ - y};
        case Side::kLeft: return {y, x, y + h, x + w};
        case Side::kRight: return {width_ - (y + h), x, width_ - y, x + w};
        default: return {x, y, x + w, y + h};
    }
}

int Model::rowOf(int index) const {
    for (size_t r = 0; r < rows_.size(); ++r)
        for (int i : rows_[r].pages)
            if (i == index) return static_cast<int>(r);
    return -1;
}

// The current page's row always lies next to the page area, so that its
// header opens into the page.
void Model::keepCurrentRowNext() {
    int r = rowOf(current_);
    if (r < 0 || r + 1 == static_cast<int>(rows_.size())) return;
    std::swap(rows_[static_cast<size_t>(r)], rows_.back());
    placeRows();
}

void Model::computeSelectedRect() {
    selectedRect_ = {};
    int r = rowOf(current_);
    if (r < 0) return;
    const Strip& s = strips_[static_cast<size_t>(current_)];
    const int hh = effectiveHeaderHeight();
    const int along = vertical() ? height_ : width_;
    const int before = side() == Side::kLeft ? 4 : 3;
    int y = r * hh + 2;
    int x0 = std::max(s.x - before, -1);
    int x1 = std::min(s.x + s.w + 4, along);
    int y0 = std::max(y - 3, 0);
    selectedRect_ = toDevice(x0, y0, x1 - x0, y + hh - y0);
}

void Model::placeScrollButtons() {
    bool needed = false;
    if (!multiRow() && (side() == Side::kTop || side() == Side::kBottom)) {
        int last = -1;
        for (int i = 0; i < pageCount(); ++i) {
            if (!shown(i)) continue;
            if (rowOf(i) < 0) needed = true;
            last = i;
        }
        if (last >= 0 && rowOf(last) >= 0) {
            const Strip& s = strips_[static_cast<size_t>(last)];
            if (s.x + s.w > width_) needed = true;
        }
    }
    const int k = ScrollButton::kSize;
    int y = side() == Side::kBottom ? height_ - k : 0;
    scroll_[0].place({width_ - 2 * k, y, width_ - k, y + k}, needed);
    scroll_[1].place({width_ - k, y, width_, y + k}, needed);
    bool back = false, forward = false;
    for (int i = 0; i < pageCount(); ++i) {
        if (!shown(i)) continue;
        if (i < firstVisible_) back = true;
        if (i > firstVisible_) forward = true;
    }
    scroll_[0].setEnabled(enabled_ && back);
    scroll_[1].setEnabled(enabled_ && forward);
    if (!needed) scrollHover_ = scrollPressed_ = -1;
}

void Model::scroll(int direction) {
    int next = -1;
    if (direction < 0) {
        for (int i = firstVisible_ - 1; i >= 0 && next < 0; --i)
            if (shown(i)) next = i;
    } else {
        for (int i = firstVisible_ + 1; i < pageCount() && next < 0; ++i)
            if (shown(i)) next = i;
    }
    if (next < 0) return;
    firstVisible_ = next;
    layoutRows();
    computeSelectedRect();
    placeScrollButtons();
    host_.invalidate();
}

Box Model::headerRectOrArea(int index) const {
    if (validIndex(index)) return page(index).header;
    return headerArea_;
}

void Model::markAllDirty() {
    for (auto& p : pages_) p.lookChanged();
    host_.invalidate();
}

// ---- pointer ---------------------------------------------------------------

int Model::scrollButtonAt(int x, int y) const {
    for (int b = 0; b < 2; ++b)
        if (scroll_[b].visible() && scroll_[b].box().contains(x, y)) return b;
    return -1;
}

int Model::hitTest(int x, int y) const {
    if (!headerArea_.contains(x, y) || scrollButtonAt(x, y) >= 0) return -1;
    for (const Row& r : rows_)
        for (int i : r.pages)
            if (page(i).header.contains(x, y)) return i;
    return -1;
}

void Model::updateScrollHover(int which) {
    if (which == scrollHover_) return;
    if (scrollHover_ >= 0) scroll_[scrollHover_].leave();
    scrollHover_ = which;
    if (which >= 0) scroll_[which].enter();
    host_.invalidate();
}

void Model::setHot(int index) {
    if (index == hot_) return;
    hot_ = index;
    host_.invalidate();
    if (index >= 0 && !(noHotOnSelected_ && index == current_)) host_.notify(code::kEntered, index);
}

void Model::mouseMove(int x, int y) {
    int button = scrollButtonAt(x, y);
    // A held scroll button stays down only while the pointer is on it.
    if (scrollPressed_ >= 0 && button != scrollPressed_) scroll_[scrollPressed_].leave();
    else if (scrollPressed_ >= 0 && scroll_[scrollPressed_].state() != ButtonState::kPressed)
        scroll_[scrollPressed_].press();
    if (scrollPressed_ < 0) updateScrollHover(button);
    setHot(hitTest(x, y));
}

void Model::mouseLeave() {
    if (scrollPressed_ < 0) updateScrollHover(-1);
    setHot(-1);
}

void Model::leftPress(int x, int y, bool secondOfDouble) {
    int button = scrollButtonAt(x, y);
    if (button >= 0) {
        if (scroll_[button].state() == ButtonState::kDisabled) return;
        scroll_[button].press();
        scrollPressed_ = button;
        host_.invalidate();
        return;
    }
    if (secondOfDouble) return;
    int hit = hitTest(x, y);
    if (hit >= 0) clickPage(hit);
}

bool Model::clickPage(int index) {
    if (!selectable(index)) return false;
    host_.notify(code::kClicked, index);
    // The clicked handler may have removed pages.
    if (selectable(index)) selectImpl(index, false, true);
    return true;
}

void Model::leftRelease(int x, int y) {
    int pressed = scrollPressed_;
    if (pressed < 0) return;
    scrollPressed_ = -1;
    bool done = scroll_[pressed].release();
    scrollHover_ = -1;
    updateScrollHover(scrollButtonAt(x, y));
    if (done && scroll_[pressed].box().contains(x, y)) scroll(pressed == 0 ? -1 : 1);
    host_.invalidate();
}

void Model::rightRelease(int x, int y) {
    int hit = hitTest(x, y);
    if (hit >= 0) host_.notify(code::kRightClicked, hit);
}

std::string Model::tipAt(int x, int y) const {
    int button = scrollButtonAt(x, y);
    if (button == 0) return kScrollLeftHint;
    if (button == 1) return kScrollRightHint;
    int hit = hitTest(x, y);
    return hit >= 0 ? page(hit).data.tip : std::string();
}

}  // namespace widgets::page_control
