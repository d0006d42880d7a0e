#include "tab_components.h"

#include <gtk/gtk.h>

#include "main_ui.h"
#include "runtime/check.h"
#include "runtime/kinds/builtin_kinds.h"
#include "tab_table.h"
#include "widgets/page_control.h"
#include "widgets/web_browser.h"

namespace tabs::components {

using runtime::lenient::live;
using runtime::lenient::number;
using runtime::lenient::set;
using runtime::lenient::setVisible;
using runtime::lenient::text;
using runtime::lenient::visible;

namespace {

runtime::ComponentRef control() { return tabs::mainUi().tabControl; }

}  // namespace

runtime::Runtime& runtime() { return runtime::Runtime::instance(); }

Area area(runtime::ComponentRef ref) {
    return {number(ref, runtime::prop::kLeft), number(ref, runtime::prop::kTop), number(ref, runtime::prop::kWidth),
        number(ref, runtime::prop::kHeight)};
}

void moveTo(runtime::ComponentRef ref, Point p) {
    set(ref, runtime::prop::kLeft, p.left);
    set(ref, runtime::prop::kTop, p.top);
}

void redraw(runtime::ComponentRef ref) {
    if (!live(ref)) return;
    if (GtkWidget* host = runtime().hostWidget(ref)) gtk_widget_queue_draw(host);
}

namespace {

runtime::Value callControl(int method, std::vector<runtime::Value> args) {
    if (!live(control())) return {};
    return runtime().call(control(), method, std::move(args));
}

// The tab code names only pages that exist; a missing control is the
// lenient case above, not a fault of the caller.
bool pageExists(int32_t page) {
    return !live(control()) ||
           VAROMEL_CHECK(page >= 0 && page < runtime::asInt(callControl(widgets::page_control::kGetPageCount, {})));
}

}  // namespace

int32_t pageCount() { return runtime::asInt(callControl(widgets::page_control::kGetPageCount, {})); }

int32_t currentPage() {
    return live(control()) ? number(control(), runtime::prop::own(widgets::page_control::kCurrentPage)) : -1;
}

void setCurrentPage(int32_t page) { set(control(), runtime::prop::own(widgets::page_control::kCurrentPage), page); }

int32_t addPage(const std::string& caption) {
    return runtime::asInt(callControl(widgets::page_control::kAddPage, {caption}));
}

bool removePage(int32_t page) { return runtime::asInt(callControl(widgets::page_control::kRemovePage, {page})) != 0; }

std::string pageCaption(int32_t page) {
    if (!pageExists(page)) return {};
    return runtime::asText(callControl(widgets::page_control::kGetPageCaption, {page}));
}

std::string pageTip(int32_t page) {
    if (!live(control())) return {};
    auto pages = widgets::PageControlBlock::parsePages(
        runtime::asBytes(runtime().get(control(), runtime::prop::own(widgets::page_control::kPageList))));
    if (!pages || page < 0 || page >= static_cast<int32_t>(pages->size())) return {};
    return (*pages)[static_cast<size_t>(page)].tip;
}

void setPageCaption(int32_t page, const std::string& caption) {
    if (!pageExists(page)) return;
    callControl(widgets::page_control::kSetPageCaption, {page, caption});
    nameCloseButton(page);
}

void nameCloseButton(int32_t page) {
    if (page < 0 || page >= tabCount()) return;
    runtime::ComponentRef button = tabTable[static_cast<size_t>(page)].closeButton();
    if (live(button)) runtime().setAccessibleText(button, closeButtonName(pageCaption(page)));
}

void setPageTip(int32_t page, const std::string& tip) {
    if (pageExists(page)) callControl(widgets::page_control::kSetPageTip, {page, tip});
}

std::optional<Area> headerRect(int32_t page) {
    if (!live(control())) return std::nullopt;
    auto r = widgets::headerRect(runtime(), control(), page);
    if (!r) return std::nullopt;
    return Area{r->left, r->top, r->width, r->height};
}

int32_t headerPosition() { return number(control(), runtime::prop::own(widgets::page_control::kHeaderPosition)); }
int32_t headerHeight() { return number(control(), runtime::prop::own(widgets::page_control::kHeaderHeight)); }
int32_t pageAreaWidth() { return number(control(), runtime::prop::own(widgets::page_control::kPageAreaWidth)); }
int32_t pageAreaHeight() { return number(control(), runtime::prop::own(widgets::page_control::kPageAreaHeight)); }
Area pageArea() {
    return {number(control(), runtime::prop::own(widgets::page_control::kPageAreaLeft)),
        number(control(), runtime::prop::own(widgets::page_control::kPageAreaTop)), pageAreaWidth(), pageAreaHeight()};
}

std::string locationUrl(runtime::ComponentRef browser) {
    return text(browser, widgets::web_browser::prop::index(widgets::web_browser::prop::kLocationUrl));
}

std::string requestedUrl(runtime::ComponentRef browser) {
    return live(browser) ? widgets::requestedUrl(runtime(), browser) : std::string();
}

std::string locationName(runtime::ComponentRef browser) {
    return text(browser, widgets::web_browser::prop::index(widgets::web_browser::prop::kLocationName));
}

void navigate(runtime::ComponentRef browser, const std::string& url) {
    if (live(browser)) runtime().call(browser, widgets::web_browser::method::kNavigate, {url});
}

void setWindowCaption(const std::string& caption) {
    runtime::ComponentRef w = tabs::mainUi().window;
    if (!w.isNull() && runtime().gtkWindow(w.window)) runtime().set(w, runtime::window_prop::kCaption, caption);
}

std::string titleLabelText() { return text(tabs::mainUi().titleLabel, runtime::prop::own(runtime::label::kCaption)); }

void setAddressText(const std::string& url) {
    set(tabs::mainUi().addressBox, runtime::prop::own(runtime::edit_box::kContent), url);
}

}  // namespace tabs::components
