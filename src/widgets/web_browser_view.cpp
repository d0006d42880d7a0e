#include "web_browser_view.h"

#include <cstdio>
#include <cstdlib>

#include "web_download.h"
#include "web_sandbox.h"

namespace widgets::web_browser {
namespace {

int liveViews = 0;

constexpr const char* kSandboxRefusal = "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS";

EarlySandboxChoice& earlySandboxChoice() {
    static EarlySandboxChoice choice;
    return choice;
}

// Pages come from strangers' servers: the web process runs in the engine's
// sandbox, which must be enabled before the context starts its first process.
void enableSandbox(WebKitWebContext* context) {
    std::string why;
    switch (earlySandboxChoice().take(std::getenv(kSandboxRefusal), probeBubblewrap, &why)) {
        case SandboxChoice::kOn: webkit_web_context_set_sandbox_enabled(context, TRUE); break;
        case SandboxChoice::kUserRefused: break;
        case SandboxChoice::kUnavailable:
            std::fprintf(stderr,
                "varomel: warning: web pages run WITHOUT the sandbox, which cannot run here (%s); "
                "a page that breaks the engine can reach your files\n",
                why.c_str());
            break;
    }
}

// The program keeps no files: cookies, caches and storage live in memory
// for as long as the program runs and are shared by all its tabs.
WebKitWebContext* sharedContext() {
    static WebKitWebContext* context = [] {
        WebKitWebContext* c = webkit_web_context_new_ephemeral();
        webkit_web_context_set_cache_model(c, WEBKIT_CACHE_MODEL_WEB_BROWSER);
        enableSandbox(c);
        guardDownloads(c);
        return c;
    }();
    return context;
}

// One settings object for every view, so that copies of a control and the
// views they open behave alike.
WebKitSettings* leanSettings() {
    static WebKitSettings* settings = [] {
        WebKitSettings* s = webkit_settings_new();
        g_object_set(s,
            // No inspector, no console noise on stdout.
            "enable-developer-extras", FALSE, "enable-write-console-messages-to-stdout", FALSE,
            // Pages cannot open windows without a user gesture, so a
            // page cannot flood the program with tabs.
            "javascript-can-open-windows-automatically", FALSE,
            // No camera, microphone, WebRTC or DRM: the program only
            // shows pages.
            "enable-media-stream", FALSE, "enable-webrtc", FALSE, "enable-encrypted-media", FALSE,
            // Local files cannot read other local files.
            "allow-file-access-from-file-urls", FALSE, "allow-universal-access-from-file-urls", FALSE,
            // Pages of the listing sites often omit their charset.
            "default-charset", "GBK", nullptr);
        return s;
    }();
    return settings;
}

// A weak reference would fire at dispose, which gtk_widget_destroy runs
// while others may still hold the view; data attached to the object is
// only let go when the last reference goes and the view is finalised.
void countView(WebKitWebView* view) {
    ++liveViews;
    g_object_set_data_full(G_OBJECT(view), "varomel-live-view", view, [](gpointer) { --liveViews; });
}

// The view keeps a hidden text view of its own to turn key presses into
// editing commands, parented to the view but left out of the children that
// destroying the view destroys; the engine forgets it at dispose, so it and
// its buffer and signal handlers (about 20 KB) outlive every view ever
// made. The view is asked for it while it is new, before any page can add
// children, and it is destroyed when the view is: the view is still whole
// while its "destroy" handlers run. A ref of our own keeps the pointer good
// if a later engine lets go of the text view itself.
using HeldWidget = runtime::GObjectPtr<GtkWidget>;

void holdTextView(GtkWidget* child, gpointer out) {
    if (GTK_IS_TEXT_VIEW(child)) *static_cast<HeldWidget*>(out) = HeldWidget::retain(child);
}

void destroyTextViewWith(GtkWidget* dying, gpointer held) {
    GtkWidget* translator = static_cast<HeldWidget*>(held)->get();
    if (gtk_widget_get_parent(translator) == dying) gtk_widget_destroy(translator);
}

void dropHeld(gpointer held, GClosure*) { delete static_cast<HeldWidget*>(held); }

void releaseKeyTranslatorWith(WebKitWebView* view) {
    HeldWidget found;
    gtk_container_forall(GTK_CONTAINER(view), holdTextView, &found);
    if (!found) return;
    g_signal_connect_data(
        view, "destroy", G_CALLBACK(destroyTextViewWith), new HeldWidget(std::move(found)), dropHeld, GConnectFlags(0));
}

runtime::GObjectPtr<WebKitWebView> own(GObject* object) {
    auto* view = WEBKIT_WEB_VIEW(g_object_ref_sink(object));
    countView(view);
    releaseKeyTranslatorWith(view);
    return runtime::GObjectPtr<WebKitWebView>::adopt(view);
}

void freeText(gchar* p) { g_free(p); }

}  // namespace

void startSandboxCheck() { earlySandboxChoice().start(std::getenv(kSandboxRefusal), probeBubblewrap); }

runtime::GObjectPtr<WebKitWebView> newView() {
    return own(G_OBJECT(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", sharedContext(), "settings", leanSettings(), nullptr)));
}

runtime::GObjectPtr<WebKitWebView> newRelatedView(WebKitWebView* opener) {
    return own(
        G_OBJECT(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", opener, "settings", leanSettings(), nullptr)));
}

int liveViewCount() { return liveViews; }

std::string executablePath() {
    runtime::CPtr<gchar, freeText> path(g_file_read_link("/proc/self/exe", nullptr));
    return path ? path.get() : "";
}

}  // namespace widgets::web_browser
