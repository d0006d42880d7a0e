#include "tab_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "program/listing_site.h"
#include "runtime/accessible.h"
#include "runtime/gbk.h"

namespace tabs {

namespace {

constexpr double kEpsilon = 0.0000001;

// Stored integers take the whole part only, as the rest of the program does.
int truncated(double v) { return static_cast<int>(v); }

}  // namespace

std::string FitText(std::string_view text, int32_t m) {
    if (m < 0) return {};
    std::string out = runtime::gbk::cutToBytes(text, static_cast<size_t>(m));
    // A cut that stopped before a double-byte character leaves the text one
    // byte short; the padding still brings every result to m + 1 bytes.
    size_t length = runtime::gbk::byteLength(out);
    if (length <= static_cast<size_t>(m)) out.append(static_cast<size_t>(m) - length + 1, ' ');
    return out;
}

std::string captionTextFromTitle(std::string_view title, int32_t maxCaptionLength) {
    std::string t;
    if (runtime::gbk::byteLength(title) < static_cast<size_t>(std::max(maxCaptionLength, 0)))
        t = FitText(title, maxCaptionLength);
    else t = runtime::gbk::cutToBytes(title, static_cast<size_t>(std::max(maxCaptionLength, 0)));
    return t + "  ";
}

bool roomForAnotherHeader(double firstHeaderWidth, double controlWidth, int32_t pageCount) {
    double w = firstHeaderWidth;
    return controlWidth - w - w * pageCount >= -kEpsilon;
}

std::optional<int32_t> shrunkCaptionLength(
    double firstHeaderWidth, double controlWidth, int32_t pageCount, int32_t maxCaptionLength) {
    if (roomForAnotherHeader(firstHeaderWidth, controlWidth, pageCount)) return std::nullopt;
    int32_t m = truncated(maxCaptionLength * 0.5);
    // Halving further would cut every Chinese caption to nothing.
    if (m < kShortestCaption) return std::nullopt;
    return m;
}

std::optional<int32_t> grownCaptionLength(int32_t maxCaptionLength) {
    if (maxCaptionLength >= kLongestCaption) return std::nullopt;
    return std::min(std::max(maxCaptionLength, 1) * 2, kLongestCaption);
}

ProgressDisplay progressDisplay(double progress, double maximum) {
    double r = progress * 100 / maximum;
    if (std::isnan(r) || std::fabs(r) <= kEpsilon) return {ProgressDisplay::Action::kHide, {}};
    if (r - 100 > kEpsilon || r <= kEpsilon) return {ProgressDisplay::Action::kKeep, {}};
    // to_chars does not follow the user's locale: the decimal mark is a point.
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, r, std::chars_format::fixed, 1);
    if (ec != std::errc()) return {ProgressDisplay::Action::kKeep, {}};
    return {ProgressDisplay::Action::kShow, std::string(buffer, end) + "%"};
}

bool progressTimerHides(std::string_view labelText, bool labelVisible) {
    std::string t = runtime::gbk::removeSpaces(labelText);
    return (t.empty() && labelVisible) || t == "100.0%";
}

int32_t tagNumber(std::string_view tag) {
    size_t start = tag.find_first_not_of(" \t");
    if (start == std::string_view::npos) return 0;
    tag.remove_prefix(start);
    if (!tag.empty() && tag.front() == '+') tag.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(tag.data(), tag.data() + tag.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()) + 1.0 ||
        value <= static_cast<double>(std::numeric_limits<int32_t>::min()) - 1.0)
        return 0;
    return static_cast<int32_t>(value);
}

bool isBlankUrl(std::string_view url) { return url.empty() || url == "about:blank" || url == "http:///"; }

Area tabBrowserArea(int32_t headerPosition, Area tabControl, Area pageArea) {
    // pageArea lies one pixel inside the frame on every side.
    const int frameLeft = pageArea.left - 1, frameTop = pageArea.top - 1;
    const int frameWidth = pageArea.width + 2, frameHeight = pageArea.height + 2;
    Area a{tabControl.left + frameLeft, tabControl.top + frameTop, frameWidth, frameHeight};
    switch (headerPosition) {
        case 1: a.height -= 1; break;  // headers below: keep the bottom line
        case 2:
            a.left += 1;
            a.width -= 1;
            break;                    // headers left: keep the left line
        case 3: a.width -= 1; break;  // headers right: keep the right line
        default:
            a.top += 1;
            a.height -= 1;
            break;  // headers on top (or none)
    }
    return a;
}

Point closeButtonPlace(Area tabControl, Area header, int32_t buttonWidth, int32_t buttonHeight) {
    return {tabControl.left + header.left + header.width - buttonWidth,
        truncated(tabControl.top + header.top + header.height * 0.5 - buttonHeight * 0.5)};
}

Point newTabButtonPlace(Area tabControl, Area lastHeader, int32_t buttonHeight) {
    return {tabControl.left + lastHeader.left + lastHeader.width + 5,
        truncated(tabControl.top + lastHeader.top + lastHeader.height * 0.5 - buttonHeight * 0.5)};
}

std::optional<Area> statusWindowPlacement(const StatusPlacementInput& in) {
    if (in.headerPosition > 1) return std::nullopt;
    Area a;
    a.left = in.mainWindow.left + 5;
    double top;
    if (in.headerPosition == 1)
        top = static_cast<double>(in.mainWindow.top) + in.mainWindow.height - in.statusHeight -
              (in.tabControlHeight - in.pageAreaHeight) - in.marginBottom;
    else top = static_cast<double>(in.mainWindow.top) + in.mainWindow.height - in.marginBottom - in.statusHeight - 1;
    a.top = truncated(top);
    a.width = truncated(static_cast<double>(in.clientWidth) - 20 - in.marginLeft - in.marginRight);
    a.height = in.statusHeight;
    return a;
}

std::string onlyTabTarget(std::string_view currentUrl, std::string_view requestedUrl) {
    bool showsA = currentUrl == program::listing::kSearchEngineAHome ||
                  requestedUrl == program::listing::kSearchEngineAHome;
    return showsA ? program::listing::kSearchEngineBHome : program::listing::kSearchEngineAHome;
}

int32_t pageAfterClosing(int32_t pageCount, int32_t current, int32_t closed) {
    if (closed < current) return current - 1;
    if (closed > current) return current;
    return closed + 1 < pageCount ? closed : std::max(closed - 1, 0);
}

std::vector<bool> closeButtonsOnView(const std::vector<Area>& headers, int32_t controlWidth) {
    auto empty = [](const Area& h) { return h.width <= 0 || h.height <= 0; };
    int32_t end = controlWidth;
    for (const Area& h : headers)
        if (empty(h) || h.left + h.width > controlWidth) end = controlWidth - kScrollButtonsLength;
    std::vector<bool> shown;
    shown.reserve(headers.size());
    for (const Area& h : headers) shown.push_back(!empty(h) && h.left + h.width <= end);
    return shown;
}

bool newTabButtonFits(Area lastHeader, int32_t buttonLeft, int32_t buttonWidth, int32_t controlWidth) {
    if (lastHeader.width <= 0 || lastHeader.height <= 0) return false;
    return buttonLeft >= 0 && buttonLeft + buttonWidth <= controlWidth;
}

bool closeCurrentTabButtonShown(int32_t tabCount) { return tabCount != 1; }

std::string browserTag(int32_t n) { return std::to_string(n); }
std::string closeButtonTag(int32_t n) { return std::to_string(n - 1); }

std::string closeButtonName(std::string_view caption) { return "关闭标签 " + runtime::spokenText(caption); }

bool roomForAnotherTab(int32_t openTabs) { return openTabs < kMaxOpenTabs; }

}  // namespace tabs
