// The arithmetic and decisions of the tabbed browsing that need no display:
// caption fitting in GBK bytes, progress text, tag numbers, placements of
// browsers and close buttons, and the closing rules. The tab table and the
// handlers apply these to the components.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabs {

// A rectangle in a window's client area (or on the screen for windows).
struct Area {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Area&) const = default;
};

struct Point {
    int left = 0, top = 0;
    bool operator==(const Point&) const = default;
};

// Cuts the text to at most m GBK bytes and pads it with spaces to m + 1
// bytes. A cut never splits a character: it stops before one that would not
// fit, and the padding makes up the difference.
//   FitText("abc", 5) -> "abc   "; FitText("中文", 3) -> "中  "; FitText(x, -1) -> ""
std::string FitText(std::string_view text, int32_t m);

// The caption CaptionFromTitle hands back (without setting the tip): a title
// shorter than the maximum is fitted and padded, a longer one cut; then two
// spaces. With 16: 5 bytes -> 5 + 12 + 2 = 19 bytes; 40 bytes -> 16 + 2.
std::string captionTextFromTitle(std::string_view title, int32_t maxCaptionLength);

// Caption lengths in bytes: the longest a caption gets, and the floor it
// never shrinks below (one GBK character, so a caption is never blank).
inline constexpr int32_t kLongestCaption = 16;
inline constexpr int32_t kShortestCaption = 2;

// Whether the headers leave room for one more of the first header's width.
bool roomForAnotherHeader(double firstHeaderWidth, double controlWidth, int32_t pageCount);

// FitCaptions' decision: the halved caption length when the headers no
// longer leave room for one more of the first header's width, nothing when
// they still fit or the length cannot shrink below kShortestCaption.
std::optional<int32_t> shrunkCaptionLength(
    double firstHeaderWidth, double controlWidth, int32_t pageCount, int32_t maxCaptionLength);
// The halving run backwards once tabs close: the doubled length, at most
// kLongestCaption; nothing when captions are already that long.
std::optional<int32_t> grownCaptionLength(int32_t maxCaptionLength);

// What a progress event does to the load-progress label.
struct ProgressDisplay {
    enum class Action { kHide, kKeep, kShow };
    Action action = Action::kKeep;
    std::string text;  // for kShow: one decimal and "%", e.g. "37.5%"
};
ProgressDisplay progressDisplay(double progress, double maximum);

// Whether a progress-timer tick hides the label (it has finished, or it is
// shown empty); otherwise the tick only repaints it.
bool progressTimerHides(std::string_view labelText, bool labelVisible);

// The number a tag text stands for, truncated toward zero: "2" -> 2,
// "2.9" -> 2, "" or "x" -> 0. Values beyond the int range give 0.
int32_t tagNumber(std::string_view tag);

// Open tabs never exceed this, well below the tab control's page limit:
// past it a request for a new tab (a search, a new window) opens none.
constexpr int32_t kMaxOpenTabs = 1000;
bool roomForAnotherTab(int32_t openTabs);

// URLs the address box and the window caption never show.
bool isBlankUrl(std::string_view url);

// Tab browser placement over the tab control's page area, below (or beside)
// every row of headers. `pageArea` is the area inside the frame as the tab
// control reports it (left, top, width, height). The browser covers the
// frame except on the side of the headers, where the line that the selected
// header opens into stays in sight.
//   headers on top, 3 rows of 20: control {4,83,664,280}, page area
//   {1,63,662,216} -> {4, 146, 664, 217}
Area tabBrowserArea(int32_t headerPosition, Area tabControl, Area pageArea);

// A close button at the right end of its header, centred across it; the
// header is relative to the tab control.
Point closeButtonPlace(Area tabControl, Area header, int32_t buttonWidth, int32_t buttonHeight);
// The new-tab button 5 pixels right of the last header, centred across it.
Point newTabButtonPlace(Area tabControl, Area lastHeader, int32_t buttonHeight);

// Where the status window goes: along the bottom of the browser area, as wide
// as the main window's client area less the margins and 20 pixels. Nothing
// for headers at the left or right.
struct StatusPlacementInput {
    int32_t headerPosition = 0;
    Area mainWindow;  // screen position and size
    int32_t clientWidth = 0;
    int32_t statusHeight = 0;
    int32_t tabControlHeight = 0;
    int32_t pageAreaHeight = 0;
    int32_t marginLeft = 0, marginRight = 0, marginBottom = 0;
};
std::optional<Area> statusWindowPlacement(const StatusPlacementInput& in);

// Closing the only tab: engine B's home page when engine A's is shown
// exactly, engine A's otherwise. `requestedUrl` is the address the shown
// page was asked for: when engine A redirects its home page elsewhere, the
// location no longer reads A's URL, yet A's home is what the tab shows.
std::string onlyTabTarget(std::string_view currentUrl, std::string_view requestedUrl = {});

// The page to show after page `closed` of `pageCount` goes, as an index
// after the removal. Closing a page that is not on show keeps the page on
// show; closing the page on show shows its right neighbour, or the previous
// page when it was the last one.
//   pages [0 1* 2], close 0 -> 0 (the same page, one place further left)
//   pages [0 1* 2], close 1 -> 1 (former page 2); [0 1 2*], close 2 -> 1
int32_t pageAfterClosing(int32_t pageCount, int32_t current, int32_t closed);

// Which close buttons can show, one per header (relative to the tab
// control). A header that has no rectangle is scrolled out of view; in a
// single row the control's scroll buttons take the end of the strip while
// any header is out of view or runs past the end, and a header reaching
// under them hides its button too.
std::vector<bool> closeButtonsOnView(const std::vector<Area>& headers, int32_t controlWidth);
// The two 13-pixel scroll buttons at the end of a single row of headers.
inline constexpr int32_t kScrollButtonsLength = 26;

// Whether the new-tab button fits right of the last header inside the
// control (control-relative `place` as newTabButtonPlace gives it, minus
// the control's position).
bool newTabButtonFits(Area lastHeader, int32_t buttonLeft, int32_t buttonWidth, int32_t controlWidth);

// The close-current-tab button shows only while more than one tab is open.
bool closeCurrentTabButtonShown(int32_t tabCount);

// Tag texts of tab n's browser ("n") and close button ("n - 1").
std::string browserTag(int32_t n);
std::string closeButtonTag(int32_t n);
// What assistive technology calls a tab's close button: "关闭标签 " and the
// tab's caption, so that the buttons of many tabs tell apart.
std::string closeButtonName(std::string_view caption);

}  // namespace tabs
