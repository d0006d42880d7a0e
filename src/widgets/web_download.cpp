#include "web_download.h"

#include <glib/gstdio.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/gobject_ptr.h"
#include "web_guard.h"

namespace widgets::web_browser {
namespace {

// Approvals wait this long for their download to start.
constexpr int64_t kApprovalLifetimeUs = 120 * 1000000LL;

struct Approval {
    WebKitWebView* view;  // compared only, never used: the view may be gone
    std::string uri;
    int64_t timeUs;
};

std::vector<Approval>& approvals() {
    static std::vector<Approval> list;
    return list;
}

bool takeApproval(WebKitWebView* view, const std::string& uri) {
    auto& list = approvals();
    int64_t now = g_get_monotonic_time();
    std::erase_if(list, [&](const Approval& a) { return now - a.timeUs > kApprovalLifetimeUs; });
    auto it = std::find_if(list.begin(), list.end(), [&](const Approval& a) { return a.view == view && a.uri == uri; });
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

int activeJobs = 0;

// One approved download from the save dialog to its end. Deletes itself
// when the download has ended and its window is gone.
class DownloadJob {
public:
    DownloadJob(WebKitDownload* download, GtkWindow* owner)
        : download_(runtime::GObjectPtr<WebKitDownload>::retain(download)), owner_(owner) {
        ++activeJobs;
        if (owner_) g_object_add_weak_pointer(G_OBJECT(owner_), reinterpret_cast<gpointer*>(&owner_));
        g_signal_connect(download, "decide-destination",
            runtime::callback([](WebKitDownload*, gchar* name, gpointer p) -> gboolean {
                static_cast<DownloadJob*>(p)->askWhere(name ? name : "");
                return TRUE;  // answered later, from the dialog
            }),
            this);
        g_signal_connect(download, "received-data", runtime::callback([](WebKitDownload*, guint64, gpointer p) {
            static_cast<DownloadJob*>(p)->showProgress();
        }),
            this);
        g_signal_connect(download, "failed", runtime::callback([](WebKitDownload*, GError* e, gpointer p) {
            static_cast<DownloadJob*>(p)->onFailed(e);
        }),
            this);
        g_signal_connect(download, "finished",
            runtime::callback([](WebKitDownload*, gpointer p) { static_cast<DownloadJob*>(p)->onFinished(); }), this);
    }

    ~DownloadJob() {
        g_signal_handlers_disconnect_by_data(download_.get(), this);
        if (owner_) g_object_remove_weak_pointer(G_OBJECT(owner_), reinterpret_cast<gpointer*>(&owner_));
        if (dialog_) gtk_widget_destroy(dialog_);
        if (window_) gtk_widget_destroy(window_);
        --activeJobs;
    }

private:
    void askWhere(const std::string& suggested) {
        dialog_ = gtk_file_chooser_dialog_new("另存为", owner_, GTK_FILE_CHOOSER_ACTION_SAVE, "取消",
            GTK_RESPONSE_CANCEL, "保存", GTK_RESPONSE_ACCEPT, nullptr);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog_);
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        gtk_file_chooser_set_local_only(chooser, TRUE);
        const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
        if (!folder || !g_file_test(folder, G_FILE_TEST_IS_DIR)) folder = g_get_home_dir();
        gtk_file_chooser_set_current_folder(chooser, folder);
        std::string name = safeBaseName(suggested);
        gtk_file_chooser_set_current_name(chooser, name.empty() ? "下载文件" : name.c_str());
        gtk_window_set_modal(GTK_WINDOW(dialog_), TRUE);
        g_signal_connect(dialog_, "response", runtime::callback([](GtkDialog*, gint response, gpointer p) {
            static_cast<DownloadJob*>(p)->onChosen(response);
        }),
            this);
        gtk_widget_show(dialog_);
    }

    void onChosen(gint response) {
        gchar* file = response == GTK_RESPONSE_ACCEPT ? gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog_))
                                                      : nullptr;
        gtk_widget_destroy(dialog_);
        dialog_ = nullptr;
        if (!file) {
            cancel();
            return;
        }
        path_ = file;
        g_free(file);
        showWindow();
        gchar* uri = g_filename_to_uri(path_.c_str(), nullptr, nullptr);
        if (!uri) {
            path_.clear();
            cancel();
            return;
        }
        // The dialog has asked before replacing a file.
        webkit_download_set_allow_overwrite(download_.get(), TRUE);
        webkit_download_set_destination(download_.get(), uri);
        g_free(uri);
    }

    void cancel() {
        cancelled_ = true;
        webkit_download_cancel(download_.get());
    }

    void showWindow() {
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWindow* w = GTK_WINDOW(window_);
        gtk_window_set_title(w, "下载");
        if (owner_) gtk_window_set_transient_for(w, owner_);
        gtk_window_set_default_size(w, 360, -1);
        gtk_container_set_border_width(GTK_CONTAINER(window_), 10);
        GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
        gchar* base = g_path_get_basename(path_.c_str());
        std::string text = std::string("正在下载：") + base;
        g_free(base);
        label_ = gtk_label_new(text.c_str());
        gtk_label_set_ellipsize(GTK_LABEL(label_), PANGO_ELLIPSIZE_MIDDLE);
        bar_ = gtk_progress_bar_new();
        gtk_progress_bar_set_show_text(GTK_PROGRESS_BAR(bar_), TRUE);
        button_ = gtk_button_new_with_label("取消");
        g_signal_connect(button_, "clicked",
            runtime::callback([](GtkButton*, gpointer p) { static_cast<DownloadJob*>(p)->onButton(); }), this);
        g_signal_connect(window_, "delete-event", runtime::callback([](GtkWidget*, GdkEvent*, gpointer p) -> gboolean {
            static_cast<DownloadJob*>(p)->onButton();
            return TRUE;
        }),
            this);
        gtk_box_pack_start(GTK_BOX(box), label_, FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(box), bar_, FALSE, FALSE, 0);
        gtk_box_pack_end(GTK_BOX(box), button_, FALSE, FALSE, 0);
        gtk_container_add(GTK_CONTAINER(window_), box);
        gtk_widget_show_all(window_);
        gtk_widget_grab_focus(button_);
    }

    void showProgress() {
        if (!bar_) return;
        double fraction = webkit_download_get_estimated_progress(download_.get());
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar_), std::clamp(fraction, 0.0, 1.0));
        char text[64];
        std::snprintf(text, sizeof text, "%.1f%%  %.0f KB", fraction * 100,
            webkit_download_get_received_data_length(download_.get()) / 1024.0);
        gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar_), text);
    }

    // Cancel while running, close once ended.
    void onButton() {
        if (ended_) {
            delete this;
            return;
        }
        cancel();
    }

    void onFailed(GError* error) {
        failed_ = true;
        removePartialFile();
        if (cancelled_) return;
        // Not the user's cancel: say what went wrong, in the window if the
        // download has one.
        const char* reason = error ? error->message : "";
        g_warning("download %s failed: %s", path_.empty() ? "(no file yet)" : path_.c_str(), reason);
        if (window_) gtk_label_set_text(GTK_LABEL(label_), (std::string("下载失败：") + reason).c_str());
    }

    void onFinished() {
        ended_ = true;
        if (failed_ && window_ && !cancelled_) {
            gtk_button_set_label(GTK_BUTTON(button_), "关闭");
            return;
        }
        if (failed_ || !window_) {
            delete this;
            return;
        }
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar_), 1.0);
        gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar_), "100.0%");
        gchar* base = g_path_get_basename(path_.c_str());
        std::string text = std::string("下载完成：") + base;
        g_free(base);
        gtk_label_set_text(GTK_LABEL(label_), text.c_str());
        gtk_button_set_label(GTK_BUTTON(button_), "关闭");
    }

    // The engine writes into the chosen file as data arrives and leaves what
    // it has when the download fails or is cancelled; that is no file the
    // user asked for. (A file the user agreed to replace is gone either way.)
    void removePartialFile() {
        if (path_.empty()) return;
        g_unlink(path_.c_str());
        g_unlink((path_ + ".wkdownload").c_str());
    }

    runtime::GObjectPtr<WebKitDownload> download_;
    GtkWindow* owner_;
    GtkWidget* dialog_ = nullptr;
    GtkWidget* window_ = nullptr;
    GtkWidget* label_ = nullptr;
    GtkWidget* bar_ = nullptr;
    GtkWidget* button_ = nullptr;
    std::string path_;
    bool cancelled_ = false;
    bool failed_ = false;
    bool ended_ = false;
};

GtkWindow* ownerOf(WebKitWebView* view) {
    if (!view) return nullptr;
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    return gtk_widget_is_toplevel(top) && GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

void refuse(WebKitDownload* download, const char* uri) {
    g_warning("refused a download that no click started: %s", uri);
    // Answered without a place, so nothing can be written even if the
    // engine asks before it sees the cancel.
    g_signal_connect(download, "decide-destination",
        runtime::callback([](WebKitDownload* d, gchar*, gpointer) -> gboolean {
            webkit_download_cancel(d);
            return TRUE;
        }),
        nullptr);
    webkit_download_cancel(download);
}

}  // namespace

void guardDownloads(WebKitWebContext* context) {
    // The program keeps no files: the save dialog must not note the saved
    // file in the user's list of recent files.
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_set(settings, "gtk-recent-files-enabled", FALSE, nullptr);
    g_signal_connect(context, "download-started",
        runtime::callback([](WebKitWebContext*, WebKitDownload* download, gpointer) {
            WebKitURIRequest* request = webkit_download_get_request(download);
            const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
            WebKitWebView* view = webkit_download_get_web_view(download);
            if (!uri || !view || !takeApproval(view, uri)) {
                refuse(download, uri ? uri : "");
                return;
            }
            new DownloadJob(download, ownerOf(view));
        }),
        nullptr);
}

void approveDownload(WebKitWebView* view, const std::string& uri) {
    approvals().push_back({view, uri, g_get_monotonic_time()});
}

int activeDownloadCount() { return activeJobs; }

}  // namespace widgets::web_browser
