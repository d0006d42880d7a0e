// The component runtime: windows built from descriptions, components reached
// by reference, properties by index, events to bound handlers, and the few
// run-time services the program calls.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component.h"

// Declared as GTK and GLib declare them (see component.h).
typedef struct _GtkWindow GtkWindow;
typedef struct _GMainLoop GMainLoop;

namespace runtime {

// Receives a runtime error; returns true when it handled it. An unhandled
// error is printed to stderr and ends the process with status 255.
using RuntimeErrorHook = std::function<bool(int code, const std::string& message)>;

namespace runtime_error {
constexpr int kNoSuchComponent = 1, kNoSuchProperty = 2, kEventComponentOutsideHandler = 3, kBadArgument = 4,
              kNoSuchMethod = 5;
}

class Runtime {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The one runtime of the process, made by the first call.
    static Runtime& instance();

    void registerKind(const std::string& kind, KindFactory factory);
    bool hasKind(const std::string& kind) const;

    // Builds a window from its description and runs its created event before
    // returning. A component whose kind refuses its block is left out.
    ComponentRef loadWindow(
        const WindowDescription& desc, std::optional<ComponentRef> owner = std::nullopt, bool modal = false);
    // Finds a component of a loaded window by its name or alias.
    std::optional<ComponentRef> find(uint32_t window, const std::string& name) const;
    bool exists(ComponentRef ref) const;

    Value get(ComponentRef ref, int index);
    void set(ComponentRef ref, int index, const Value& value);
    // Methods may write answers back into their arguments (output values).
    Value call(ComponentRef ref, int method, std::vector<Value>& args);
    Value call(ComponentRef ref, int method, std::vector<Value>&& args = {}) { return call(ref, method, args); }

    // Copies a component from its current property block, same rectangle,
    // parent and bindings, placed directly behind its source.
    std::optional<ComponentRef> copy(ComponentRef source);
    void destroy(ComponentRef ref);

    // Lets a timer sleep while another component is hidden, for a timer
    // whose tick can change nothing on screen then: a 10 ms timer otherwise
    // wakes the process a hundred times a second for nothing. Showing the
    // component wakes the timer, and so does destroying it. False (and a
    // runtime error) when timer is not a live timer or watched not live.
    bool sleepWhileHidden(ComponentRef timer, ComponentRef watched);

    // The component whose handler is running; a runtime error outside one.
    ComponentRef eventComponent();
    // Dispatches everything already queued for the user-interface thread.
    void processPendingMessages();

    void setRuntimeErrorHook(RuntimeErrorHook hook);
    // Reports a runtime error through the hook (or ends the process).
    void runtimeError(int code, const std::string& message);

    // Delivers an event to its binding, if any; returns the handler's answer.
    Value raise(ComponentRef source, int index, std::vector<Value>& args);
    Value raise(ComponentRef source, int index, std::vector<Value>&& args = {}) { return raise(source, index, args); }

    // Shows a loaded window and gives it the focus.
    void show(uint32_t window);
    // Runs the message loop until the given window is destroyed.
    void run(ComponentRef mainWindow);
    // Destroys a window and everything in it.
    void destroyWindow(uint32_t window);

    // What assistive technology calls a component, kept with it and carried
    // to its copies. Kinds that draw themselves add these to their own
    // facts (a given text wins); other kinds' accessible objects take them
    // as they are. Unknown components are ignored.
    void setAccessibleText(ComponentRef ref, const std::string& name, const std::string& description = {});
    std::string accessibleName(ComponentRef ref) const;
    std::string accessibleDescription(ComponentRef ref) const;
    // Whether an event of the component has a handler bound.
    bool hasBinding(ComponentRef ref, int index) const;
    // The live component whose widget this is (the kind's own widget, in
    // its host); null for any other widget or a destroyed component.
    static Component* componentOfWidget(GtkWidget* widget);

    // Glue access for kinds and the program's window code.
    GtkWidget* hostWidget(ComponentRef ref) const;  // the windowed host of a component
    GtkWindow* gtkWindow(uint32_t window) const;
    Component* component(ComponentRef ref) const;  // null for the window itself
    std::string kindOf(ComponentRef ref) const;
    std::string nameOf(ComponentRef ref) const;
    // Components of a window, top-most first.
    std::vector<ComponentRef> components(uint32_t window) const;
    int handlerDepth() const { return static_cast<int>(eventStack_.size()); }
    // Destroyed components not yet freed (they wait for an idle main loop
    // with no handler running).
    size_t componentsAwaitingFree() const { return graveyard_.size(); }

private:
    struct Slot;
    struct WindowRecord;
    Slot* slot(ComponentRef ref) const;
    WindowRecord* windowRecord(uint32_t window) const;
    Slot* createSlot(WindowRecord& w, const ComponentDescription& desc, const Rect& rect);
    void restack(WindowRecord& w);
    void applyCommon(Slot& s, int index, const Value& v);
    void wakeOrLull(std::vector<ComponentRef>& sleepers, bool asleep);
    Value getWindowProperty(WindowRecord& w, int index);
    void setWindowProperty(WindowRecord& w, int index, const Value& v);
    void connectHostEvents(Slot& s);
    static void joinWhenRealised(GtkWidget* host, GtkWidget* inner);
    void connectWindowEvents(WindowRecord& w);
    static void applyAccessibleText(Slot& s);
    static void applyCursor(GtkWidget* host, int cursorId);

    // Destroyed components wait here until the main loop is idle with no
    // handler on the stack: a handler that lets queued messages through
    // (processPendingMessages, a message box) reaches that idle callback
    // while the component that raised its event is still inside its own
    // code, which then goes on using itself once the handler returns.
    void bury(std::unique_ptr<Component> c);
    void scheduleBurial();
    static int freeGraveyard(void* self);  // a GSourceFunc
    std::vector<std::unique_ptr<Component>> graveyard_;
    unsigned graveyardSource_ = 0;

    std::map<std::string, KindFactory> kinds_;
    std::map<uint32_t, std::unique_ptr<WindowRecord>> windows_;
    uint32_t nextWindowId_ = 1;
    std::vector<ComponentRef> eventStack_;
    RuntimeErrorHook errorHook_;
    GMainLoop* loop_ = nullptr;
    uint32_t mainWindow_ = 0;
};

}  // namespace runtime
