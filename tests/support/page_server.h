// A page server on 127.0.0.1 for tests that load real pages. It records
// every request; "/hang" never answers, for stopping a load half way.
#pragma once

#include <gtest/gtest.h>
#include <libsoup/soup.h>

#include <map>
#include <string>
#include <vector>

namespace testsupport {

class PageServer {
public:
    PageServer() {
        server_ = soup_server_new(nullptr, nullptr);
        GError* error = nullptr;
        if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
            ADD_FAILURE() << error->message;
            g_error_free(error);
            return;
        }
        GSList* uris = soup_server_get_uris(server_);
        base_ = "http://127.0.0.1:" + std::to_string(g_uri_get_port(static_cast<GUri*>(uris->data)));
        g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
        soup_server_add_handler(server_, nullptr, serve, this, nullptr);
    }
    ~PageServer() {
        // Held requests are answered first so their connections close cleanly.
        for (SoupServerMessage* m : hanging_) {
            soup_server_message_set_status(m, 204, nullptr);
            soup_server_message_unpause(m);
        }
        soup_server_disconnect(server_);
        g_object_unref(server_);
    }
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    void add(const std::string& path, const std::string& body, const std::string& type = "text/html; charset=utf-8",
        unsigned status = 200) {
        pages_[path] = {type, body, status};
    }
    // Answers `path` with a 302 to `target` (a path of this server or a URL).
    void addRedirect(const std::string& path, const std::string& target) { redirects_[path] = target; }
    std::string url(const std::string& path) const { return base_ + path; }
    int hits(const std::string& path) const {
        int n = 0;
        for (const auto& r : requests_) n += r == path;
        return n;
    }
    // The last value of a header the tests send on purpose ("X-Varomel-Test").
    std::string header(const std::string& name) const {
        auto it = headers_.find(name);
        return it == headers_.end() ? "" : it->second;
    }

private:
    struct Page {
        std::string contentType;
        std::string body;
        unsigned status = 200;
    };

    static void serve(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer data) {
        auto* self = static_cast<PageServer*>(data);
        self->requests_.push_back(path);
        SoupMessageHeaders* h = soup_server_message_get_request_headers(msg);
        if (const char* v = soup_message_headers_get_one(h, "X-Varomel-Test")) self->headers_["X-Varomel-Test"] = v;
        if (std::string(path) == "/hang") {
            soup_server_message_pause(msg);
            self->hanging_.push_back(msg);
            return;
        }
        if (auto r = self->redirects_.find(path); r != self->redirects_.end()) {
            soup_server_message_set_redirect(msg, 302, r->second.c_str());
            return;
        }
        auto it = self->pages_.find(path);
        if (it == self->pages_.end()) {
            soup_server_message_set_status(msg, 404, nullptr);
            return;
        }
        soup_server_message_set_status(msg, it->second.status, nullptr);
        soup_server_message_set_response(
            msg, it->second.contentType.c_str(), SOUP_MEMORY_COPY, it->second.body.data(), it->second.body.size());
    }

    SoupServer* server_ = nullptr;
    std::string base_;
    std::map<std::string, Page> pages_;
    std::map<std::string, std::string> redirects_;
    std::vector<std::string> requests_;
    std::map<std::string, std::string> headers_;
    std::vector<SoupServerMessage*> hanging_;
};

}  // namespace testsupport
