// Persisted form of the tab control: the property block, its page list and
// the image-list streams. Fields follow the order in which the control
// applies them at creation.
#include <algorithm>

#include "runtime/property_block.h"
#include "widgets/page_control.h"
#include "widgets/page_control/page_limits.h"

namespace widgets {
namespace {

constexpr uint32_t kBlockVersion = 1;
constexpr uint32_t kPageListVersion = 1;
constexpr uint32_t kImageListVersion = 1;

// Page flags packed into one field.
constexpr uint32_t kFlagVisible = 1, kFlagEnabled = 2, kFlagRunTime = 4;

void writePage(runtime::BlockWriter& w, const PageControlPage& p) {
    w.text(p.caption).text(p.tip);
    for (int32_t v : p.image) w.i32(v);
    for (int32_t v : p.background) w.i32(v);
    for (uint32_t v : p.colour) w.u32(v);
    w.u32((p.visible ? kFlagVisible : 0) | (p.enabled ? kFlagEnabled : 0) | (p.runTime ? kFlagRunTime : 0));
}

std::optional<PageControlPage> readPage(runtime::BlockReader& r) {
    PageControlPage p;
    auto caption = r.text();
    auto tip = r.text();
    if (!caption || !tip) return std::nullopt;
    p.caption = *caption;
    p.tip = *tip;
    // Image indices below -1 mean nothing more than "none".
    for (auto& v : p.image) v = std::max(r.i32().value_or(-1), -1);
    for (auto& v : p.background) v = std::max(r.i32().value_or(-1), -1);
    for (auto& v : p.colour) v = r.u32().value_or(page_control::kNoColour);
    uint32_t flags = r.u32().value_or(0);
    if (!r.ok()) return std::nullopt;
    p.visible = flags & kFlagVisible;
    p.enabled = flags & kFlagEnabled;
    p.runTime = flags & kFlagRunTime;
    return p;
}

bool readPages(runtime::BlockReader& r, std::vector<PageControlPage>& out) {
    auto version = r.u32();
    auto count = r.u32();
    if (!version || *version > kPageListVersion || !count || *count > page_control::kMaxPages) return false;
    out.clear();
    for (uint32_t i = 0; i < *count; ++i) {
        auto p = readPage(r);
        if (!p) return false;
        out.push_back(std::move(*p));
    }
    return true;
}

void writePages(runtime::BlockWriter& w, const std::vector<PageControlPage>& pages) {
    w.u32(kPageListVersion).u32(static_cast<uint32_t>(pages.size()));
    for (const auto& p : pages) writePage(w, p);
}

bool flag(runtime::BlockReader& r) { return r.u32().value_or(0) != 0; }

}  // namespace

PageControlBlock PageControlBlock::form() {
    PageControlBlock b;
    b.headerPosition = 1;
    b.multiRow = true;
    runtime::LogFont f = runtime::LogFont::make("宋体", 13);
    f.charSet = runtime::LogFont::kGb2312Charset;
    b.font = f;
    PageControlPage first;
    first.caption = "载入..";
    b.pages = {first};
    b.currentPage = 0;
    b.hideHeaders = false;
    b.headerHeight = 20;
    b.theme = 0;
    b.sloped = false;
    b.textAlign = 0;
    b.gradient = true;
    b.fill = {0x00D7D7D7, 0x00F3F3F3, 0x00FFFFFF};
    b.pageAreaColour = 0x00ECECEC;
    b.borderColour = 0x00C8C8C8;
    b.text = {0x009D9D9D, 0x00FF0000, 0x00000000};
    b.background = 0x00ECECEC;
    b.verticalText = false;
    b.selectDisabled = false;
    b.explicitOuter = true;
    b.outer = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
    b.noHotOnSelected = true;
    return b;
}

runtime::Bytes PageControlBlock::serialize() const {
    runtime::BlockWriter w;
    w.u32(kBlockVersion);
    w.i32(headerPosition).u32(hideHeaders);
    w.bytes(font ? font->serialize() : runtime::Bytes{});
    w.i32(headerHeight).u32(multiRow).i32(theme).u32(sloped).i32(textAlign);
    w.bytes(pageImages).bytes(headerImages).bytes(scrollImages);
    w.u32(gradient);
    for (uint32_t c : fill) w.u32(c);
    w.u32(pageAreaColour).u32(borderColour);
    for (uint32_t c : text) w.u32(c);
    w.u32(background).u32(verticalText).u32(selectDisabled).u32(explicitOuter);
    for (uint32_t c : outer) w.u32(c);
    w.u32(noHotOnSelected);
    writePages(w, pages);
    w.i32(currentPage);
    return w.take();
}

std::optional<PageControlBlock> PageControlBlock::parse(const runtime::Bytes& bytes) {
    PageControlBlock b;
    if (bytes.empty()) return b;
    runtime::BlockReader r(bytes);
    auto version = r.u32();
    if (!version || *version > kBlockVersion) return std::nullopt;
    int32_t position = r.i32().value_or(0);
    b.headerPosition = position >= 0 && position <= 3 ? position : 0;
    b.hideHeaders = flag(r);
    runtime::Bytes fontBytes = r.bytes().value_or(runtime::Bytes{});
    // A font record of the wrong size falls back to the default font.
    b.font = runtime::LogFont::parse(fontBytes);
    b.headerHeight = page_control::clampHeaderHeight(r.i32().value_or(20));
    b.multiRow = flag(r);
    int32_t theme = r.i32().value_or(0);
    b.theme = theme >= 0 && theme <= 3 ? theme : 0;
    b.sloped = flag(r);
    b.textAlign = r.i32().value_or(0) == 1 ? 1 : 0;
    b.pageImages = r.bytes().value_or(runtime::Bytes{});
    b.headerImages = r.bytes().value_or(runtime::Bytes{});
    b.scrollImages = r.bytes().value_or(runtime::Bytes{});
    b.gradient = flag(r);
    for (auto& c : b.fill) c = r.u32().value_or(0);
    b.pageAreaColour = r.u32().value_or(0);
    b.borderColour = r.u32().value_or(0);
    for (auto& c : b.text) c = r.u32().value_or(0);
    b.background = r.u32().value_or(0);
    b.verticalText = flag(r);
    b.selectDisabled = flag(r);
    b.explicitOuter = flag(r);
    for (auto& c : b.outer) c = r.u32().value_or(0);
    b.noHotOnSelected = flag(r);
    if (!r.ok() || !readPages(r, b.pages)) return std::nullopt;
    b.currentPage = r.i32().value_or(0);
    if (!r.ok()) return std::nullopt;
    return b;
}

runtime::Bytes PageControlBlock::serializePages(const std::vector<PageControlPage>& pages) {
    runtime::BlockWriter w;
    writePages(w, pages);
    return w.take();
}

std::optional<std::vector<PageControlPage>> PageControlBlock::parsePages(const runtime::Bytes& bytes) {
    std::vector<PageControlPage> out;
    if (bytes.empty()) return out;
    runtime::BlockReader r(bytes);
    if (!readPages(r, out)) return std::nullopt;
    return out;
}

runtime::Bytes ImageListStream::serialize() const {
    runtime::BlockWriter w;
    w.u32(kImageListVersion).i32(imageWidth).i32(imageHeight).u32(maskColour).bytes(picture);
    return w.take();
}

std::optional<ImageListStream> ImageListStream::parse(const runtime::Bytes& bytes) {
    if (bytes.empty()) return std::nullopt;
    runtime::BlockReader r(bytes);
    auto version = r.u32();
    if (!version || *version > kImageListVersion) return std::nullopt;
    ImageListStream s;
    s.imageWidth = r.i32().value_or(0);
    s.imageHeight = r.i32().value_or(0);
    s.maskColour = r.u32().value_or(0);
    s.picture = r.bytes().value_or(runtime::Bytes{});
    if (!r.ok() || s.imageWidth <= 0 || s.imageHeight <= 0 || s.imageWidth > page_control::kMaxImageSide ||
        s.imageHeight > page_control::kMaxImageSide || s.picture.empty())
        return std::nullopt;
    return s;
}

}  // namespace widgets
