#include "web_browser_script.h"

#include <memory>

#include "runtime/gobject_ptr.h"

namespace widgets::web_browser {
namespace {

constexpr const char* kWorld = "varomel";

// Shared between the waiting caller and the engine's callback, which may
// arrive after the caller has given up.
struct Pending {
    GMainLoop* loop = nullptr;
    bool done = false;
    std::optional<std::string> result;
};

void finished(GObject* source, GAsyncResult* res, gpointer data) {
    auto pending = std::unique_ptr<std::shared_ptr<Pending>>(static_cast<std::shared_ptr<Pending>*>(data));
    GError* error = nullptr;
    runtime::GObjectPtr<JSCValue> value = runtime::GObjectPtr<JSCValue>::adopt(
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), res, &error));
    Pending& p = **pending;
    if (error) {
        g_error_free(error);
    } else if (value && jsc_value_is_string(value.get())) {
        gchar* text = jsc_value_to_string(value.get());
        p.result = text;
        g_free(text);
    }
    p.done = true;
    if (p.loop) g_main_loop_quit(p.loop);
}

std::string quoted(const std::string& name) {
    std::string out = "'";
    for (char c : name)
        if (c != '\'' && c != '\\' && c != '\n' && c != '\r') out += c;
    return out + "'";
}

}  // namespace

std::optional<std::string> evaluateText(WebKitWebView* view, const std::string& expression, int timeoutMs) {
    if (!view) return std::nullopt;
    auto pending = std::make_shared<Pending>();
    runtime::GObjectPtr<GCancellable> cancel = runtime::GObjectPtr<GCancellable>::adopt(g_cancellable_new());
    webkit_web_view_evaluate_javascript(
        view, expression.c_str(), -1, kWorld, nullptr, cancel.get(), finished, new std::shared_ptr<Pending>(pending));
    if (!pending->done) {
        GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
        pending->loop = loop;
        // Destroying a source that already fired is harmless, so the timer
        // is held as an object rather than an id.
        GSource* timer = g_timeout_source_new(timeoutMs);
        g_source_set_callback(
            timer,
            [](gpointer l) {
            g_main_loop_quit(static_cast<GMainLoop*>(l));
            return G_SOURCE_REMOVE;
            },
            loop, nullptr);
        g_source_attach(timer, nullptr);
        g_main_loop_run(loop);
        g_source_destroy(timer);
        g_source_unref(timer);
        pending->loop = nullptr;
        g_main_loop_unref(loop);
    }
    if (!pending->done) g_cancellable_cancel(cancel.get());
    return pending->done ? pending->result : std::nullopt;
}

std::string queryCommandValue(WebKitWebView* view, const std::string& name) {
    std::string script = "(function(){try{var v=document.queryCommandValue(" + quoted(name) +
                         ");return v==null?'':String(v);}catch(e){return '';}})()";
    return evaluateText(view, script).value_or("");
}

bool queryCommandState(WebKitWebView* view, const std::string& name) {
    std::string script = "(function(){try{return String(document.queryCommandState(" + quoted(name) +
                         "));}catch(e){return 'false';}})()";
    return evaluateText(view, script).value_or("false") == "true";
}

}  // namespace widgets::web_browser
