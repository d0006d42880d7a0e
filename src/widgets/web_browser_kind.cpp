// WebBrowser: creation, properties and methods. The view's signals and the
// events they raise are in web_browser_events.cpp.
#include "runtime/colour.h"
#include "web_browser.h"
#include "web_browser_component.h"
#include "web_browser_script.h"
#include "web_browser_view.h"
#include "widget_kinds.h"

namespace widgets {
namespace web_browser {

NewWindowSlots& WebBrowser::newWindowSlots() {
    static NewWindowSlots slots;
    return slots;
}

WebBrowser::WebBrowser(const runtime::CreateInfo& info, const Block& block) : Component(info), block_(block) {
    frame_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    g_signal_connect(frame_, "draw", runtime::callback([](GtkWidget* w, cairo_t* cr, gpointer self) -> gboolean {
        auto rings = borderRings(static_cast<WebBrowser*>(self)->block_.borderStyle);
        int width = gtk_widget_get_allocated_width(w), height = gtk_widget_get_allocated_height(w);
        // Each ring is a one-pixel rectangle outline: top and left edges in
        // one colour, bottom and right in the other.
        for (size_t i = 0; i < rings.size(); ++i) {
            double in = static_cast<double>(i), right = width - in - 1, bottom = height - in - 1;
            if (right <= in || bottom <= in) break;
            runtime::setSourceColour(cr, rings[i].topLeft);
            cairo_rectangle(cr, in, in, right - in, 1);
            cairo_rectangle(cr, in, in, 1, bottom - in);
            cairo_fill(cr);
            runtime::setSourceColour(cr, rings[i].bottomRight);
            cairo_rectangle(cr, in, bottom, right - in + 1, 1);
            cairo_rectangle(cr, right, in, 1, bottom - in + 1);
            cairo_fill(cr);
        }
        return FALSE;
    }),
        this);
    watchGestures();
    attachView(newView());
}

WebBrowser::~WebBrowser() { detachView(); }

bool WebBrowser::alive() const { return runtime().component(ref()) == this; }

void WebBrowser::applyBorder() {
    int width = static_cast<int>(borderRings(block_.borderStyle).size());
    if (GtkWidget* v = GTK_WIDGET(view_.get())) {
        gtk_widget_set_margin_start(v, width);
        gtk_widget_set_margin_end(v, width);
        gtk_widget_set_margin_top(v, width);
        gtk_widget_set_margin_bottom(v, width);
    }
    gtk_widget_queue_draw(frame_);
}

std::optional<runtime::Value> WebBrowser::getOwn(int k) {
    WebKitWebView* v = view_.get();
    switch (k) {
        case prop::kBorderStyle: return block_.borderStyle;
        case prop::kSilent: return block_.silent;
        case prop::kOffline: return block_.offline;
        case prop::kRegisterAsDropTarget: return block_.dropTarget;
        case prop::kRegisterAsBrowser: return block_.registerAsBrowser;
        // A view inside the program's window has no bars of its own, is never
        // full screen and is not a top-level window.
        case prop::kAddressBar:
        case prop::kFullScreen:
        case prop::kMenuBar:
        case prop::kStatusBar:
        case prop::kTheaterMode:
        case prop::kToolBar:
        case prop::kTopLevelContainer: return false;
        case prop::kReserved: return runtime::Value{};
        case prop::kVisible: return static_cast<bool>(gtk_widget_is_visible(GTK_WIDGET(v)));
        case prop::kBusy: return static_cast<bool>(webkit_web_view_is_loading(v));
        case prop::kReadyState: return readyState(phase_);
        case prop::kFullName: return executablePath();
        case prop::kLocationUrl: {
            const char* uri = webkit_web_view_get_uri(v);
            return std::string(uri ? uri : "");
        }
        case prop::kLocationName: {
            const char* title = webkit_web_view_get_title(v);
            if (title && *title) return cutPageText(title);
            const char* uri = webkit_web_view_get_uri(v);
            return std::string(uri ? uri : "");
        }
        case prop::kType: {
            WebKitWebResource* main = webkit_web_view_get_main_resource(v);
            WebKitURIResponse* response = main ? webkit_web_resource_get_response(main) : nullptr;
            const char* mime = response ? webkit_uri_response_get_mime_type(response) : nullptr;
            return std::string(mime ? mime : "");
        }
        case prop::kEditMode: return static_cast<bool>(webkit_web_view_is_editable(v));
        default: break;
    }
    if (k >= prop::kFontName && k <= prop::kLast) return readEditing(k);
    return std::nullopt;
}

std::optional<runtime::Value> WebBrowser::readEditing(int k) {
    WebKitWebView* v = view_.get();
    if (k >= prop::kCanPaste) {
        WebKitEditorState* state = webkit_web_view_get_editor_state(v);
        if (!state) return false;
        switch (k) {
            case prop::kCanPaste: return static_cast<bool>(webkit_editor_state_is_paste_available(state));
            case prop::kCanCopy: return static_cast<bool>(webkit_editor_state_is_copy_available(state));
            case prop::kCanCut: return static_cast<bool>(webkit_editor_state_is_cut_available(state));
            case prop::kCanRedo: return static_cast<bool>(webkit_editor_state_is_redo_available(state));
            default: return static_cast<bool>(webkit_editor_state_is_undo_available(state));
        }
    }
    switch (k) {
        case prop::kFontName: return queryCommandValue(v, "FontName");
        case prop::kFontSize: return runtime::asInt(queryCommandValue(v, "FontSize"));
        case prop::kForeColour:
            return static_cast<int32_t>(parseCssColour(queryCommandValue(v, "ForeColor")).value_or(0));
        case prop::kBackColour:
            return static_cast<int32_t>(parseCssColour(queryCommandValue(v, "BackColor")).value_or(0));
        default: break;
    }
    static const char* const kStates[] = {
        "Bold", "Italic", "Underline", "StrikeThrough", "Superscript", "Subscript", "OverWrite"};
    return queryCommandState(v, kStates[k - prop::kBold]);
}

bool WebBrowser::setOwn(int k, const runtime::Value& value) {
    switch (k) {
        case prop::kBorderStyle:
            block_.borderStyle = clampBorderStyle(runtime::asInt(value));
            applyBorder();
            return true;
        case prop::kSilent: block_.silent = runtime::asBool(value); return true;
        case prop::kOffline: block_.offline = runtime::asBool(value); return true;
        case prop::kRegisterAsDropTarget: block_.dropTarget = runtime::asBool(value); return true;
        // Nothing on this system looks browsers up by registration; the value
        // is only kept.
        case prop::kRegisterAsBrowser: block_.registerAsBrowser = runtime::asBool(value); return true;
        case prop::kEditMode: webkit_web_view_set_editable(view_.get(), runtime::asBool(value)); return true;
        default: return writeEditing(k, value);
    }
}

bool WebBrowser::writeEditing(int k, const runtime::Value& value) {
    const char* command = nullptr;
    std::string argument;
    switch (k) {
        case prop::kFontName:
            command = "FontName";
            argument = runtime::asText(value);
            break;
        case prop::kFontSize:
            command = "FontSize";
            argument = std::to_string(runtime::asInt(value));
            break;
        case prop::kForeColour:
            command = "ForeColor";
            argument = cssColour(static_cast<uint32_t>(runtime::asInt(value)));
            break;
        case prop::kBackColour:
            command = "BackColor";
            argument = cssColour(static_cast<uint32_t>(runtime::asInt(value)));
            break;
        default: return false;
    }
    webkit_web_view_execute_editing_command_with_argument(view_.get(), command, argument.c_str());
    return true;
}

bool WebBrowser::navigate(std::vector<runtime::Value>& args) {
    if (args.empty()) return false;
    std::string uri = requestAddress(normaliseAddress(runtime::asText(args[0])));
    if (uri.empty()) return false;
    runtime::GObjectPtr<WebKitURIRequest> request = runtime::GObjectPtr<WebKitURIRequest>::adopt(
        webkit_uri_request_new(uri.c_str()));
    if (args.size() > 3) {
        // Only HTTP requests carry headers; for other schemes they are dropped.
        if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(request.get()))
            for (const auto& [name, value] : parseHeaders(runtime::asText(args[3])))
                soup_message_headers_replace(headers, name.c_str(), value.c_str());
    }
    // The program navigates for the user (address box, search, home), so
    // a download this load turns into is the user's.
    nextNavigationByUser_ = true;
    webkit_web_view_load_request(view_.get(), request.get());
    return true;
}

std::optional<runtime::Value> WebBrowser::call(int m, std::vector<runtime::Value>& args) {
    WebKitWebView* v = view_.get();
    switch (m) {
        case method::kNavigate: return navigate(args);
        case method::kStop: webkit_web_view_stop_loading(v); return runtime::Value{};
        case method::kGoBack:
            if (webkit_web_view_can_go_back(v)) webkit_web_view_go_back(v);
            return runtime::Value{};
        case method::kGoForward:
            if (webkit_web_view_can_go_forward(v)) webkit_web_view_go_forward(v);
            return runtime::Value{};
        case method::kRefresh: webkit_web_view_reload(v); return runtime::Value{};
        case method::kAcceptNewWindow: return !args.empty() && newWindowSlots().accept(runtime::asInt(args[0]), ref());
        default: return std::nullopt;
    }
}

}  // namespace web_browser

void registerWebBrowserKind(runtime::Runtime& runtime) {
    runtime.registerKind("WebBrowser", runtime::makeFromBlock<web_browser::WebBrowser, web_browser::Block>);
}

}  // namespace widgets

namespace widgets {

std::string requestedUrl(runtime::Runtime& runtime, runtime::ComponentRef ref) {
    auto* browser = dynamic_cast<web_browser::WebBrowser*>(runtime.component(ref));
    WebKitWebView* view = browser ? browser->view() : nullptr;
    if (!view) return {};
    const char* shown = webkit_web_view_get_uri(view);
    std::string location = shown ? shown : "";
    // The current history entry keeps the address it was asked for; it
    // speaks for the page only when the view shows that entry (a pending
    // load reports its own address as the location before it commits).
    WebKitBackForwardListItem* item = webkit_back_forward_list_get_current_item(
        webkit_web_view_get_back_forward_list(view));
    if (!item) return location;
    const char* itemUri = webkit_back_forward_list_item_get_uri(item);
    const char* original = webkit_back_forward_list_item_get_original_uri(item);
    if (!itemUri || !original || location != itemUri) return location;
    return original;
}

}  // namespace widgets
