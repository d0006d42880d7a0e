#include "tab_components.h"

#include <gtk/gtk.h>

#include "main_ui.h"
#include "runtime/check.h"
#include "tab_table.h"
#include "runtime/kinds/builtin_kinds.h"
#include "widgets/page_control.h"
#include "widgets/web_browser.h"

namespace tabs::cx {

namespace pc = widgets::page_control;
namespace wb = widgets::web_browser;

namespace {

rt::ComponentRef control() { return ui::mainUi().tabControl; }

}  // namespace

rt::Runtime& runtime() { return rt::Runtime::instance(); }

Area area(rt::ComponentRef ref) {
    return {number(ref, rt::prop::kLeft), number(ref, rt::prop::kTop), number(ref, rt::prop::kWidth),
            number(ref, rt::prop::kHeight)};
}

void moveTo(rt::ComponentRef ref, Point p) {
    set(ref, rt::prop::kLeft, p.left);
    set(ref, rt::prop::kTop, p.top);
}

void redraw(rt::ComponentRef ref) {
    if (!live(ref)) return;
    if (GtkWidget* host = runtime().hostWidget(ref)) gtk_widget_queue_draw(host);
}

namespace {

rt::Value callControl(int method, std::vector<rt::Value> args) {
    if (!live(control())) return {};
    return runtime().call(control(), method, std::move(args));
}

// The tab code names only pages that exist; a missing control is the
// lenient case above, not a fault of the caller.
bool pageExists(int32_t page) {
    return !live(control()) || VAROMEL_CHECK(page >= 0 && page < rt::asInt(callControl(pc::kGetPageCount, {})));
}

}  // namespace

int32_t pageCount() { return rt::asInt(callControl(pc::kGetPageCount, {})); }

int32_t currentPage() { return live(control()) ? number(control(), rt::prop::own(pc::kCurrentPage)) : -1; }

void setCurrentPage(int32_t page) { set(control(), rt::prop::own(pc::kCurrentPage), page); }

int32_t addPage(const std::string& caption) { return rt::asInt(callControl(pc::kAddPage, {caption})); }

bool removePage(int32_t page) { return rt::asInt(callControl(pc::kRemovePage, {page})) != 0; }

std::string pageCaption(int32_t page) {
    if (!pageExists(page)) return {};
    return rt::asText(callControl(pc::kGetPageCaption, {page}));
}

std::string pageTip(int32_t page) {
    if (!live(control())) return {};
    auto pages = widgets::PageControlBlock::parsePages(rt::asBytes(runtime().get(control(), rt::prop::own(pc::kPageList))));
    if (!pages || page < 0 || page >= static_cast<int32_t>(pages->size())) return {};
    return (*pages)[static_cast<size_t>(page)].tip;
}

void setPageCaption(int32_t page, const std::string& caption) {
    if (!pageExists(page)) return;
    callControl(pc::kSetPageCaption, {page, caption});
    nameCloseButton(page);
}

void nameCloseButton(int32_t page) {
    if (page < 0 || page >= tabCount()) return;
    rt::ComponentRef button = tabTable[static_cast<size_t>(page)].closeButton();
    if (live(button)) runtime().setAccessibleText(button, closeButtonName(pageCaption(page)));
}

void setPageTip(int32_t page, const std::string& tip) {
    if (pageExists(page)) callControl(pc::kSetPageTip, {page, tip});
}

std::optional<Area> headerRect(int32_t page) {
    if (!live(control())) return std::nullopt;
    auto r = widgets::headerRect(runtime(), control(), page);
    if (!r) return std::nullopt;
    return Area{r->left, r->top, r->width, r->height};
}

int32_t headerPosition() { return number(control(), rt::prop::own(pc::kHeaderPosition)); }
int32_t headerHeight() { return number(control(), rt::prop::own(pc::kHeaderHeight)); }
int32_t pageAreaWidth() { return number(control(), rt::prop::own(pc::kPageAreaWidth)); }
int32_t pageAreaHeight() { return number(control(), rt::prop::own(pc::kPageAreaHeight)); }
Area pageArea() {
    return {number(control(), rt::prop::own(pc::kPageAreaLeft)), number(control(), rt::prop::own(pc::kPageAreaTop)),
            pageAreaWidth(), pageAreaHeight()};
}

std::string locationUrl(rt::ComponentRef browser) { return text(browser, wb::prop::index(wb::prop::kLocationUrl)); }

std::string requestedUrl(rt::ComponentRef browser) {
    return live(browser) ? widgets::requestedUrl(runtime(), browser) : std::string();
}

std::string locationName(rt::ComponentRef browser) { return text(browser, wb::prop::index(wb::prop::kLocationName)); }

void navigate(rt::ComponentRef browser, const std::string& url) {
    if (live(browser)) runtime().call(browser, wb::method::kNavigate, {url});
}

void setWindowCaption(const std::string& caption) {
    rt::ComponentRef w = ui::mainUi().window;
    if (!w.isNull() && runtime().gtkWindow(w.window)) runtime().set(w, rt::window_prop::kCaption, caption);
}

std::string titleLabelText() { return text(ui::mainUi().titleLabel, rt::prop::own(rt::label::kCaption)); }

void setAddressText(const std::string& url) {
    set(ui::mainUi().addressBox, rt::prop::own(rt::edit_box::kContent), url);
}

}  // namespace tabs::cx
