// WebBrowser: the view's signals, turned into the control's numbered events.
// All signals are connected in attachView and disconnected in detachView, so
// a destroyed control, or a view it has given up, raises nothing more.
#include <string>
#include <string_view>
#include <utility>

#include "web_browser.h"
#include "web_browser_component.h"
#include "web_browser_error_page.h"
#include "web_browser_view.h"
#include "web_download.h"

namespace widgets::web_browser {
namespace {

WebBrowser* self(gpointer p) { return static_cast<WebBrowser*>(p); }

bool isLogicalFalse(const runtime::Value& v) {
    auto b = std::get_if<bool>(&v);
    return b && !*b;
}

// Schemes that would go to the network; offline controls refuse them.
bool isNetworkUri(std::string_view uri) {
    for (std::string_view scheme : {"http:", "https:", "ftp:", "ws:", "wss:"})
        if (uri.size() >= scheme.size() && g_ascii_strncasecmp(uri.data(), scheme.data(), scheme.size()) == 0)
            return true;
    return false;
}

std::string uriOf(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    return uri ? uri : "";
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && g_ascii_strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// One budget for the whole program: a click in a view may open at most
// PopupBudget::kPerGesture windows, whichever views ask for them.
PopupBudget& popupBudget() {
    static PopupBudget budget;
    return budget;
}

}  // namespace

// Every real button or key press that reaches a page starts a new budget.
// The engine gives no identity to a gesture, so the presses themselves are
// counted. A press elsewhere (a close button, a hot-search label, the title
// bar) is none a page can use: were it counted, a page still calling
// window.open in a loop would get another batch of windows with every click
// the user makes to close the last batch.
void watchGestures() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    g_type_class_unref(g_type_class_ref(GTK_TYPE_WIDGET));
    auto hook = [](GSignalInvocationHint*, guint count, const GValue* values, gpointer) -> gboolean {
        GObject* target = count > 0 && G_VALUE_HOLDS_OBJECT(&values[0]) ? G_OBJECT(g_value_get_object(&values[0]))
                                                                        : nullptr;
        for (GtkWidget* w = target && GTK_IS_WIDGET(target) ? GTK_WIDGET(target) : nullptr; w;
             w = gtk_widget_get_parent(w)) {
            if (WEBKIT_IS_WEB_VIEW(w)) {
                popupBudget().gesture();
                break;
            }
        }
        return TRUE;  // stay connected
    };
    g_signal_add_emission_hook(g_signal_lookup("button-press-event", GTK_TYPE_WIDGET), 0, hook, nullptr, nullptr);
    g_signal_add_emission_hook(g_signal_lookup("key-press-event", GTK_TYPE_WIDGET), 0, hook, nullptr, nullptr);
}

namespace {

// Whether a response would become a download rather than a page.
bool isDownloadResponse(WebKitResponsePolicyDecision* decision) {
    WebKitURIResponse* response = webkit_response_policy_decision_get_response(decision);
    SoupMessageHeaders* headers = response ? webkit_uri_response_get_http_headers(response) : nullptr;
    const char* disposition = headers ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
    if (disposition) {
        std::string_view d(disposition);
        while (!d.empty() && (d.front() == ' ' || d.front() == '\t')) d.remove_prefix(1);
        if (startsWith(d, "attachment")) return true;
    }
    // An error answer without a page of its own (a proxy refusing a tunnel
    // answers 502 with nothing) is a failed load, shown as one, never a file
    // to save.
    guint status = response ? webkit_uri_response_get_status_code(response) : 0;
    if (status >= 400) return false;
    return !webkit_response_policy_decision_is_mime_type_supported(decision);
}

// The context menu's save items, which the engine would run itself (and so
// unknown to the gate), become items that start the download here.
struct SaveItem {
    WebKitContextMenuAction stock;
    const char* label;
};
constexpr SaveItem kSaveItems[] = {
    {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_LINK_TO_DISK, "链接另存为..."},
    {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK, "图片另存为..."},
    {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_VIDEO_TO_DISK, "视频另存为..."},
    {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_AUDIO_TO_DISK, "音频另存为..."},
};

const char* savedUri(WebKitContextMenuAction stock, WebKitHitTestResult* hit) {
    if (!hit) return nullptr;
    switch (stock) {
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_LINK_TO_DISK: return webkit_hit_test_result_get_link_uri(hit);
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK: return webkit_hit_test_result_get_image_uri(hit);
        default: return webkit_hit_test_result_get_media_uri(hit);
    }
}

void replaceSaveItems(WebKitWebView* view, WebKitContextMenu* menu, WebKitHitTestResult* hit) {
    GList* items = g_list_copy(webkit_context_menu_get_items(menu));
    for (GList* l = items; l; l = l->next) {
        auto* item = static_cast<WebKitContextMenuItem*>(l->data);
        WebKitContextMenuAction stock = webkit_context_menu_item_get_stock_action(item);
        const SaveItem* save = nullptr;
        for (const SaveItem& s : kSaveItems)
            if (s.stock == stock) save = &s;
        if (!save) continue;
        const char* uri = savedUri(stock, hit);
        gint position = g_list_position(
            webkit_context_menu_get_items(menu), g_list_find(webkit_context_menu_get_items(menu), item));
        webkit_context_menu_remove(menu, item);
        if (!uri || !*uri) continue;
        GSimpleAction* action = g_simple_action_new("save", G_VARIANT_TYPE_STRING);
        g_signal_connect_object(action, "activate", runtime::callback([](GSimpleAction*, GVariant* target, gpointer v) {
            auto* webView = WEBKIT_WEB_VIEW(v);
            std::string address = g_variant_get_string(target, nullptr);
            approveDownload(webView, address);
            g_object_unref(webkit_web_view_download_uri(webView, address.c_str()));
        }),
            view, static_cast<GConnectFlags>(0));
        webkit_context_menu_insert(menu,
            webkit_context_menu_item_new_from_gaction(G_ACTION(action), save->label, g_variant_new_string(uri)),
            position);
        g_object_unref(action);
    }
    g_list_free(items);
}

// The HTTP error status (400 and up) the main resource now loading at
// `uri` was answered with; 0 when there is none.
unsigned errorStatus(WebKitWebView* view, const char* uri) {
    WebKitWebResource* main = webkit_web_view_get_main_resource(view);
    if (!main) return 0;
    const char* resourceUri = webkit_web_resource_get_uri(main);
    WebKitURIResponse* response = webkit_web_resource_get_response(main);
    if (!response || !resourceUri || std::string_view(resourceUri) != uri) return 0;
    unsigned status = webkit_uri_response_get_status_code(response);
    return status >= 400 && status < 600 ? status : 0;
}

std::pair<int, int> eventPosition(GdkEvent* event) {
    double x = 0, y = 0;
    if (event) gdk_event_get_coords(event, &x, &y);
    return {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace

bool WebBrowser::raiseEvent(int index, std::vector<runtime::Value>& args, runtime::Value* result) {
    runtime::Value answer = raise(index, args);
    if (result) *result = std::move(answer);
    return alive();
}

void WebBrowser::attachView(runtime::GObjectPtr<WebKitWebView> view) {
    detachView();
    view_ = std::move(view);
    WebKitWebView* v = view_.get();
    GtkWidget* w = GTK_WIDGET(v);
    gtk_box_pack_start(GTK_BOX(frame_), w, TRUE, TRUE, 0);
    gtk_widget_show(w);
    applyBorder();
    phase_ = LoadPhase::kNone;
    progress_ = -1;

    g_signal_connect(v, "load-changed",
        runtime::callback([](WebKitWebView*, WebKitLoadEvent e, gpointer p) { self(p)->onLoadChanged(e); }), this);
    // A failed load shows our own explanation at the failed address, so the
    // location stays what the user asked for and refresh tries it again.
    g_signal_connect(v, "load-failed",
        runtime::callback([](WebKitWebView* view, WebKitLoadEvent, gchar* uri, GError* error, gpointer) -> gboolean {
            if (!error || !uri) return FALSE;
            std::string reason = error->message;
            if (g_error_matches(
                    error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
                // The engine drops an error answer it cannot show (a proxy that
                // refuses an https tunnel answers 502 with no page at all) and
                // leaves the view at no address. That is a failed load too: the
                // tab must say so and keep the address, or the only-tab cycle
                // would never see the engine it just tried. Any other policy
                // stop is a page the engine chose not to show.
                unsigned status = errorStatus(view, uri);
                if (status == 0) return FALSE;
                reason = "HTTP " + std::to_string(status);
                if (const char* phrase = soup_status_get_phrase(status)) reason += std::string(" ") + phrase;
            } else if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
                       g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD)) {
                // A stop, or a load that another navigation replaced, is no failure.
                return FALSE;
            }
            std::string html = errorPageHtml(uri, reason);
            webkit_web_view_load_alternate_html(view, html.c_str(), uri, nullptr);
            return TRUE;
        }),
        this);
    g_signal_connect(v, "notify::estimated-load-progress",
        runtime::callback([](GObject*, GParamSpec*, gpointer p) { self(p)->onProgress(); }), this);
    g_signal_connect(
        v, "notify::title", runtime::callback([](GObject*, GParamSpec*, gpointer p) { self(p)->onTitle(); }), this);
    g_signal_connect(v, "mouse-target-changed",
        runtime::callback(
            [](WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer p) { self(p)->onMouseTarget(hit); }),
        this);
    g_signal_connect(v, "decide-policy",
        runtime::callback([](WebKitWebView*, WebKitPolicyDecision* d, WebKitPolicyDecisionType t, gpointer p) {
            return self(p)->onDecidePolicy(d, t);
        }),
        this);
    g_signal_connect(v, "create",
        runtime::callback([](WebKitWebView*, WebKitNavigationAction* a, gpointer p) { return self(p)->onCreate(a); }),
        this);
    g_signal_connect(v, "close", runtime::callback([](WebKitWebView*, gpointer p) { self(p)->onClose(); }), this);
    g_signal_connect(v, "script-dialog",
        runtime::callback([](WebKitWebView*, WebKitScriptDialog* d, gpointer p) { return self(p)->onScriptDialog(d); }),
        this);
    g_signal_connect(v, "context-menu",
        runtime::callback([](WebKitWebView*, WebKitContextMenu* m, GdkEvent* e, WebKitHitTestResult* h, gpointer p) {
            return self(p)->onContextMenu(m, e, h);
        }),
        this);
    g_signal_connect(v, "button-press-event",
        runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer p) { return self(p)->onButtonPress(e); }), this);
    g_signal_connect(v, "button-release-event",
        runtime::callback([](GtkWidget*, GdkEventButton* e, gpointer p) { return self(p)->onButtonRelease(e); }), this);
    // A control that is not a drop target answers every drag with "no".
    g_signal_connect(v, "drag-motion",
        runtime::callback([](GtkWidget*, GdkDragContext* c, gint, gint, guint time, gpointer p) -> gboolean {
            if (self(p)->block_.dropTarget) return FALSE;
            gdk_drag_status(c, static_cast<GdkDragAction>(0), time);
            return TRUE;
        }),
        this);
    g_signal_connect(v, "drag-drop",
        runtime::callback([](GtkWidget*, GdkDragContext* c, gint, gint, guint time, gpointer p) -> gboolean {
            if (self(p)->block_.dropTarget) return FALSE;
            gtk_drag_finish(c, FALSE, FALSE, time);
            return TRUE;
        }),
        this);
    g_signal_connect(webkit_web_view_get_back_forward_list(v), "changed",
        runtime::callback(
            [](WebKitBackForwardList*, gpointer, gpointer, gpointer p) { self(p)->reportCommandStates(); }),
        this);
    WebKitWindowProperties* props = webkit_web_view_get_window_properties(v);
    webkit_window_properties_get_geometry(props, &geometry_);
    resizable_ = webkit_window_properties_get_resizable(props);
    g_signal_connect(props, "notify::geometry",
        runtime::callback([](GObject*, GParamSpec*, gpointer p) { self(p)->onGeometry(); }), this);
    g_signal_connect(props, "notify::resizable",
        runtime::callback([](GObject*, GParamSpec*, gpointer p) { self(p)->onResizable(); }), this);
}

void WebBrowser::detachView() {
    WebKitWebView* v = view_.get();
    if (!v) return;
    g_signal_handlers_disconnect_by_data(v, this);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(v), this);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_window_properties(v), this);
    // A view still in the frame is being replaced; one without a parent was
    // destroyed with the runtime's host already. Destroying the widget
    // closes its page, and a web process ends with the last page it shows.
    if (gtk_widget_get_parent(GTK_WIDGET(v))) {
        webkit_web_view_stop_loading(v);
        gtk_widget_destroy(GTK_WIDGET(v));
    }
    view_.reset();
}

WebKitWebView* WebBrowser::takeNewWindow(WebKitWebView* opener, bool gesture) {
    attachView(newRelatedView(opener));
    nextNavigationByUser_ = gesture;
    return view_.get();
}

void WebBrowser::reportCommandStates() {
    WebKitWebView* v = view_.get();
    for (auto [command, enabled] :
        commands_.update(webkit_web_view_can_go_back(v), webkit_web_view_can_go_forward(v))) {
        std::vector<runtime::Value> args{command, enabled};
        if (!raiseEvent(event::kCommandStateChange, args)) return;
    }
}

void WebBrowser::onLoadChanged(WebKitLoadEvent e) {
    std::vector<runtime::Value> none;
    switch (e) {
        case WEBKIT_LOAD_STARTED:
            phase_ = LoadPhase::kStarted;
            progress_ = -1;
            startedUri_ = uriOf(view_.get());
            lastTitle_.clear();
            raiseEvent(event::kDownloadBegin, none);
            return;
        case WEBKIT_LOAD_REDIRECTED: phase_ = LoadPhase::kRedirected; return;
        case WEBKIT_LOAD_COMMITTED: {
            phase_ = LoadPhase::kCommitted;
            std::vector<runtime::Value> args{uriOf(view_.get())};
            if (raiseEvent(event::kNavigateComplete, args)) reportCommandStates();
            return;
        }
        case WEBKIT_LOAD_FINISHED: {
            // The engine refuses some addresses itself (a blocked port): the
            // load commits an empty page and ends with no main resource and
            // no failure. Without this the tab would stay blank.
            if (phase_ == LoadPhase::kCommitted && !webkit_web_view_get_main_resource(view_.get()) &&
                !startedUri_.empty() && !startsWith(startedUri_, "about:")) {
                explainRefusedLoad();
                return;
            }
            // A stopped or failed load ends short of the maximum; reporting
            // the end keeps a progress display from staying half full.
            if (progress_ != kProgressMaximum) {
                progress_ = kProgressMaximum;
                std::vector<runtime::Value> full{kProgressMaximum, kProgressMaximum};
                if (!raiseEvent(event::kProgressChange, full)) return;
            }
            phase_ = LoadPhase::kFinished;
            std::vector<runtime::Value> args{uriOf(view_.get())};
            if (!raiseEvent(event::kDocumentComplete, args)) return;
            if (!raiseEvent(event::kDownloadComplete, none)) return;
            statusText_.clear();
            std::vector<runtime::Value> status{std::string()};
            if (raiseEvent(event::kStatusTextChange, status)) reportCommandStates();
            return;
        }
    }
}

void WebBrowser::explainRefusedLoad() {
    std::string uri = std::exchange(startedUri_, std::string());
    std::string html = errorPageHtml(uri, "浏览器出于安全原因拒绝打开此地址（端口或协议不允许）");
    webkit_web_view_load_alternate_html(view_.get(), html.c_str(), uri.c_str(), nullptr);
}

void WebBrowser::onProgress() {
    // The engine resets its estimate when a load is requested, before the
    // navigation is decided; only a load under way reports progress.
    if (phase_ == LoadPhase::kNone || phase_ == LoadPhase::kFinished) return;
    int32_t value = progressValue(webkit_web_view_get_estimated_load_progress(view_.get()));
    if (value == progress_) return;
    progress_ = value;
    std::vector<runtime::Value> args{value, kProgressMaximum};
    raiseEvent(event::kProgressChange, args);
}

void WebBrowser::onTitle() {
    const char* title = webkit_web_view_get_title(view_.get());
    // A page without a title is named by its address, as the location name is.
    // Cut here, before any handler: a page can set a title of megabytes,
    // and one that keeps changing its tail past the cut raises nothing new.
    std::string text = cutPageText(title && *title ? std::string_view(title) : std::string_view(uriOf(view_.get())));
    if (text.empty() || text == lastTitle_) return;
    lastTitle_ = text;
    std::vector<runtime::Value> args{text};
    raiseEvent(event::kTitleChange, args);
}

void WebBrowser::onMouseTarget(WebKitHitTestResult* hit) {
    const char* link = webkit_hit_test_result_context_is_link(hit) ? webkit_hit_test_result_get_link_uri(hit) : nullptr;
    std::string text = cutPageText(link ? link : "");
    if (text == statusText_) return;
    statusText_ = text;
    std::vector<runtime::Value> args{text};
    raiseEvent(event::kStatusTextChange, args);
}

gboolean WebBrowser::onDecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
        return onDecideResponse(WEBKIT_RESPONSE_POLICY_DECISION(decision));
    auto* nav = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(nav);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = webkit_uri_request_get_uri(request);
    // Every navigation of every frame is remembered with its gesture (server
    // redirects are decided again, gesture kept), for the response decision.
    bool byUser = std::exchange(nextNavigationByUser_, false);
    bool gesture = byUser || webkit_navigation_action_is_user_gesture(action);
    navigations_.record(uri ? uri : "", gesture, g_get_monotonic_time());
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    std::string headers;
    if (SoupMessageHeaders* h = webkit_uri_request_get_http_headers(request)) {
        std::vector<std::pair<std::string, std::string>> list;
        soup_message_headers_foreach(
            h,
            [](const char* name, const char* value, gpointer out) {
            static_cast<std::vector<std::pair<std::string, std::string>>*>(out)->emplace_back(name, value);
            },
            &list);
        headers = formatHeaders(list);
    }
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const char* frame = webkit_navigation_policy_decision_get_frame_name(nav);
    G_GNUC_END_IGNORE_DEPRECATIONS
    // The engine does not hand out the body of a form post; the posted
    // bytes arrive empty.
    std::vector<runtime::Value> args{
        std::string(uri ? uri : ""), 0, std::string(frame ? frame : ""), runtime::Bytes{}, 0, headers, 0};
    if (!raiseEvent(event::kBeforeNavigate, args)) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    if (runtime::asInt(args[event::kBeforeNavigateCancelArg]) != 0 ||
        (block_.offline && isNetworkUri(uri ? uri : ""))) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    return FALSE;
}

gboolean WebBrowser::onDecideResponse(WebKitResponsePolicyDecision* decision) {
    if (!isDownloadResponse(decision)) return FALSE;
    WebKitURIRequest* request = webkit_response_policy_decision_get_request(decision);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string address = uri ? uri : "";
    // Only a download the user started by a click is let through; one that
    // a page starts on load, from a timer or from an iframe nobody clicked
    // is ignored, and nothing is written.
    if (!address.empty() && navigations_.takeGesture(address, g_get_monotonic_time())) {
        approveDownload(view_.get(), address);
        webkit_policy_decision_download(WEBKIT_POLICY_DECISION(decision));
    } else {
        g_warning("refused a download that no click started: %s", address.c_str());
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
    }
    return TRUE;
}

GtkWidget* WebBrowser::onCreate(WebKitNavigationAction* action) {
    // One click may open a few windows, not hundreds.
    if (!popupBudget().take()) {
        if (popupBudget().firstRefusal())
            g_warning("refused further new windows after %d from one click", PopupBudget::kPerGesture);
        return nullptr;
    }
    WebKitWebView* opener = view_.get();
    int32_t slot = newWindowSlots().open();
    std::vector<runtime::Value> args{slot, 0};
    bool stillHere = raiseEvent(event::kNewWindow, args);
    std::optional<runtime::ComponentRef> chosen = newWindowSlots().close(slot);
    if (!stillHere || runtime::asInt(args[event::kNewWindowCancelArg]) != 0 || !chosen) return nullptr;
    auto* target = dynamic_cast<WebBrowser*>(runtime().component(*chosen));
    if (!target || !target->view_) return nullptr;
    if (target == this) {
        // The opener accepted its own window: the page replaces its own.
        webkit_web_view_load_request(opener, webkit_navigation_action_get_request(action));
        return nullptr;
    }
    return GTK_WIDGET(target->takeNewWindow(opener, webkit_navigation_action_is_user_gesture(action)));
}

void WebBrowser::onClose() {
    // The page asked to close its window (window.close). The program
    // decides what closing means; the control only reports it.
    std::vector<runtime::Value> args{false, 0};
    raiseEvent(event::kWindowClosing, args);
}

gboolean WebBrowser::onScriptDialog(WebKitScriptDialog* dialog) {
    if (!block_.silent) return FALSE;
    // Answered without showing anything: confirmations are declined, a
    // prompt gives no text, and a page may always be left.
    switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM: webkit_script_dialog_confirm_set_confirmed(dialog, FALSE); break;
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
            break;
        default: break;
    }
    return TRUE;
}

gboolean WebBrowser::onContextMenu(WebKitContextMenu* menu, GdkEvent* e, WebKitHitTestResult* hit) {
    auto [x, y] = eventPosition(e);
    std::vector<runtime::Value> args{x, y};
    runtime::Value answer;
    if (!raiseEvent(event::kContextMenu, args, &answer)) return TRUE;
    if (isLogicalFalse(answer)) return TRUE;
    replaceSaveItems(view_.get(), menu, hit);
    return FALSE;
}

gboolean WebBrowser::onButtonPress(GdkEventButton* e) {
    if (e->button != 1 || e->type != GDK_BUTTON_PRESS) return FALSE;
    std::vector<runtime::Value> args{static_cast<int>(e->x), static_cast<int>(e->y)};
    runtime::Value answer;
    if (!raiseEvent(event::kDocumentClick, args, &answer)) return TRUE;
    // The page runs in another process, so a click can only be refused
    // whole, before the page sees the press, not after its own handlers.
    if (!isLogicalFalse(answer)) return FALSE;
    swallowRelease_ = true;
    return TRUE;
}

gboolean WebBrowser::onButtonRelease(GdkEventButton* e) {
    if (e->button != 1 || !swallowRelease_) return FALSE;
    swallowRelease_ = false;
    return TRUE;
}

void WebBrowser::onGeometry() {
    GdkRectangle g;
    webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view_.get()), &g);
    GdkRectangle old = geometry_;
    geometry_ = g;
    std::vector<runtime::Value> args;
    if (g.y != old.y && !raiseEvent(event::kWindowSetTop, args = {g.y})) return;
    if (g.x != old.x) {
        // The page moved its window: repaint at once, before the handler.
        gtk_widget_queue_draw(frame_);
        if (!raiseEvent(event::kWindowSetLeft, args = {g.x})) return;
    }
    if (g.height != old.height && !raiseEvent(event::kWindowSetHeight, args = {g.height})) return;
    if (g.width != old.width) raiseEvent(event::kWindowSetWidth, args = {g.width});
}

void WebBrowser::onResizable() {
    bool resizable = webkit_window_properties_get_resizable(webkit_web_view_get_window_properties(view_.get()));
    if (resizable == resizable_) return;
    resizable_ = resizable;
    std::vector<runtime::Value> args{resizable};
    raiseEvent(event::kWindowSetResizable, args);
}

}  // namespace widgets::web_browser
