// The owner-drawn tab control kind "PageControl": its own property numbers,
// methods, events, and the property block a window description carries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/component.h"
#include "runtime/log_font.h"
#include "runtime/value.h"

namespace widgets {

namespace page_control {

// Own property numbers k (component index 8 + k).
constexpr int kHeaderPosition = 0;  // 0 top, 1 bottom, 2 left, 3 right
constexpr int kMultiRow = 1;
constexpr int kFont = 2;      // 60-byte font record; empty bytes = default font
constexpr int kPageList = 3;  // bytes, see PageControlBlock::serializePages
constexpr int kCurrentPage = 4;
constexpr int kHideHeaders = 5;
constexpr int kHeaderHeight = 10;
constexpr int kTheme = 11;
constexpr int kSloped = 12;
constexpr int kTextAlign = 13;  // 0 centred, 1 left
constexpr int kPageImages = 14;
constexpr int kHeaderImages = 15;
constexpr int kScrollImages = 16;
constexpr int kGradient = 20;
constexpr int kFillNormal = 21, kFillHot = 22, kFillSelected = 23;
constexpr int kPageAreaColour = 26;
constexpr int kBorderColour = 27;
constexpr int kTextNormal = 30, kTextHot = 31, kTextSelected = 32;
constexpr int kBackground = 36;
constexpr int kVerticalText = 39;
constexpr int kSelectDisabled = 41;
constexpr int kExplicitOuter = 45;
constexpr int kOuterNormal = 46, kOuterHot = 47, kOuterSelected = 48;
constexpr int kPageAreaLeft = 50, kPageAreaTop = 51, kPageAreaWidth = 52, kPageAreaHeight = 53;
constexpr int kNoHotOnSelected = 54;

// Methods.
constexpr int kAddPage = 0;         // caption [, normal, hot, selected image [, position]] -> index or -1
constexpr int kRemovePage = 1;      // index, or -1 for all but the current page -> 1 / 0
constexpr int kGetPageCount = 2;    // -> count
constexpr int kGetPageCaption = 3;  // index -> caption ("" when invalid)
constexpr int kSetPageCaption = 4;  // index, text -> 1 / 0
constexpr int kSetPageTip = 5;      // index, text -> 1 / 0
// [index] -> 1; writes left, top, width, height into args[1..4] (the args
// vector is grown to five values). Use headerRect() below from program code,
// since Runtime::call does not hand argument writes back.
constexpr int kGetHeaderRect = 6;

// Events.
constexpr int kPageChanged = 0;         // no arguments
constexpr int kPageChanging = 1;        // new index; a handler answering false cancels
constexpr int kHeaderClicked = 2;       // index
constexpr int kHeaderEntered = 3;       // index
constexpr int kHeaderRightClicked = 4;  // index

// 0xFF000000 stands for the system button-face colour in every colour property.
constexpr uint32_t kSystemFace = 0xFF000000;
// A page's own colour of -1 means "use the control's colour".
constexpr uint32_t kNoColour = 0xFFFFFFFF;

}  // namespace page_control

// One page as the form keeps it.
struct PageControlPage {
    std::string caption;
    std::string tip;
    std::array<int32_t, 3> image{-1, -1, -1};       // normal, hot, selected
    std::array<int32_t, 3> background{-1, -1, -1};  // header background images
    std::array<uint32_t, 3> colour{page_control::kNoColour, page_control::kNoColour, page_control::kNoColour};
    bool visible = true;
    bool enabled = true;
    bool runTime = false;
    bool operator==(const PageControlPage&) const = default;
};

// The kind's property block. Defaults are the control's own defaults;
// form() gives the values of the main window's tab control.
struct PageControlBlock {
    int32_t headerPosition = 0;
    bool multiRow = true;
    std::optional<runtime::LogFont> font;  // none: the default GUI font
    std::vector<PageControlPage> pages;
    int32_t currentPage = 0;
    bool hideHeaders = false;
    int32_t headerHeight = 20;
    int32_t theme = 1;
    bool sloped = false;
    int32_t textAlign = 0;
    // Image lists, each an image-list stream (see serializeImageList);
    // empty bytes are an empty list.
    runtime::Bytes pageImages, headerImages, scrollImages;
    bool gradient = false;
    std::array<uint32_t, 3> fill{page_control::kSystemFace, page_control::kSystemFace, page_control::kSystemFace};
    uint32_t pageAreaColour = page_control::kSystemFace;
    uint32_t borderColour = 0x00B4A791;
    std::array<uint32_t, 3> text{0x00000000, 0x000000FF, 0x00FF0000};
    uint32_t background = page_control::kSystemFace;
    bool verticalText = false;
    bool selectDisabled = false;
    bool explicitOuter = false;
    std::array<uint32_t, 3> outer{0x00ECECEC, 0x00ECECEC, 0x00ECECEC};
    bool noHotOnSelected = false;

    // The main window's tab control: headers at the bottom, 宋体 -13 with the
    // GB2312 character set, one page "载入..", gradient headers in greys.
    static PageControlBlock form();

    runtime::Bytes serialize() const;
    // Refuses (nullopt) a block of a newer version or a truncated one; empty
    // bytes give the defaults. Out-of-range values are brought into range.
    static std::optional<PageControlBlock> parse(const runtime::Bytes& bytes);

    // The page list alone, as property 3 reads and writes it.
    static runtime::Bytes serializePages(const std::vector<PageControlPage>& pages);
    static std::optional<std::vector<PageControlPage>> parsePages(const runtime::Bytes& bytes);
};

// An image list: images of one size side by side in one picture (PNG, JPEG,
// GIF, BMP or ICO, read by the buttons' decoders), with an optional mask colour (0x00BBGGRR) that turns
// transparent; kSystemFace as mask means the picture's own alpha is used.
struct ImageListStream {
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    uint32_t maskColour = page_control::kSystemFace;
    runtime::Bytes picture;

    runtime::Bytes serialize() const;
    // Empty bytes or a stream that does not parse give no list.
    static std::optional<ImageListStream> parse(const runtime::Bytes& bytes);
};

// GetHeaderRect for program code: the header rectangle of page `index`
// relative to the control, or the whole header area for an invalid index.
// Nothing (and a runtime error) when `ref` is not a tab control.
std::optional<runtime::Rect> headerRect(runtime::Runtime& runtime, runtime::ComponentRef ref, int index);

}  // namespace widgets
