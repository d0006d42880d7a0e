// The WebBrowser component: a WebKit view inside a frame that draws the
// border style, with the control's properties, methods and numbered events.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "runtime/component.h"
#include "runtime/gobject_ptr.h"
#include "runtime/runtime.h"
#include "web_browser_logic.h"
#include "web_guard.h"

namespace widgets::web_browser {

// Starts counting real button and key presses for the new-window budget.
void watchGestures();

class WebBrowser final : public runtime::Component {
public:
    WebBrowser(const runtime::CreateInfo& info, const Block& block);
    ~WebBrowser() override;

    GtkWidget* widget() override { return frame_; }
    std::optional<runtime::Value> getOwn(int k) override;
    bool setOwn(int k, const runtime::Value& v) override;
    std::optional<runtime::Value> call(int method, std::vector<runtime::Value>& args) override;
    runtime::Bytes propertyBlock() const override { return block_.serialize(); }
    // Clicks belong to the page; the control raises its own click event.
    bool hostMouseEvents() const override { return false; }

    WebKitWebView* view() const { return view_.get(); }

    // The slots of the new-window events that are running.
    static NewWindowSlots& newWindowSlots();

private:
    // web_browser_kind.cpp
    bool navigate(std::vector<runtime::Value>& args);
    std::optional<runtime::Value> readEditing(int k);
    bool writeEditing(int k, const runtime::Value& v);
    void applyBorder();

    // web_browser_events.cpp: the view's signals, connected in one place.
    void attachView(runtime::GObjectPtr<WebKitWebView> view);
    void detachView();
    // Puts a view related to the opener in place of this control's own, for
    // a page the opener wants in a new window; gives the view to the engine.
    WebKitWebView* takeNewWindow(WebKitWebView* opener, bool gesture);
    // Raises an event; false when a handler destroyed this control.
    bool raiseEvent(int index, std::vector<runtime::Value>& args, runtime::Value* result = nullptr);
    bool alive() const;
    void reportCommandStates();

    void onLoadChanged(WebKitLoadEvent event);
    void onProgress();
    void onTitle();
    void onMouseTarget(WebKitHitTestResult* hit);
    gboolean onDecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    gboolean onDecideResponse(WebKitResponsePolicyDecision* decision);
    void explainRefusedLoad();
    GtkWidget* onCreate(WebKitNavigationAction* action);
    void onClose();
    gboolean onScriptDialog(WebKitScriptDialog* dialog);
    gboolean onContextMenu(WebKitContextMenu* menu, GdkEvent* event, WebKitHitTestResult* hit);
    gboolean onButtonPress(GdkEventButton* event);
    gboolean onButtonRelease(GdkEventButton* event);
    void onGeometry();
    void onResizable();

    Block block_;
    GtkWidget* frame_;  // owned by the runtime's host
    runtime::GObjectPtr<WebKitWebView> view_;
    LoadPhase phase_ = LoadPhase::kNone;
    CommandStates commands_;
    std::string statusText_;
    std::string lastTitle_;   // the last title raised, cut
    std::string startedUri_;  // where the load under way was asked to go
    NavigationLog navigations_;
    // The next navigation is the user's although the engine will not say so:
    // the program's own Navigate (address box, search, home), or the first
    // load of a view made for a window that a click opened.
    bool nextNavigationByUser_ = false;
    int32_t progress_ = -1;
    GdkRectangle geometry_{0, 0, 0, 0};
    bool resizable_ = true;
    bool swallowRelease_ = false;
};

}  // namespace widgets::web_browser
