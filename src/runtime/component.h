// Component model: references, property indices, events, and the base class
// every component kind derives from.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accessible.h"
#include "value.h"

// The toolkit's widget types, declared exactly as GTK declares them: the
// component model only passes native widgets along, so code that never
// touches one compiles without the toolkit's headers.
typedef struct _GtkWidget GtkWidget;

namespace runtime {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Common property indices; a kind's own property k is index 8 + k.
namespace prop {
constexpr int kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3, kTag = 4, kVisible = 5, kDisabled = 6, kCursor = 7;
constexpr int own(int k) { return 8 + k; }
}  // namespace prop

// Common events every visible kind can raise (negative indices).
namespace event {
constexpr int kLeftDown = -1, kDoubleClick = -3, kMouseMove = -6, kFocusGained = -7, kFocusLost = -8, kKeyDown = -9,
              kCharInput = -11;
}  // namespace event

// Modifier bits of the common mouse and key events.
namespace modifier {
constexpr int kCtrl = 1, kShift = 2, kAlt = 4;
}

// Key codes the program reads from the key and character events; Enter's
// character code is the same 13.
namespace key {
constexpr int kEnter = 13;
}

// Cursor ids of the system cursors the program uses.
namespace cursor {
constexpr int kDefault = 0, kArrow = 32512, kHand = 32649, kSizeNwse = 32642, kSizeNesw = 32643, kSizeWe = 32644,
              kSizeNs = 32645;
}

// An event on its way to a handler. Handlers may write into args: some
// arguments are answers the raising component reads back (cancel flags).
struct Event {
    ComponentRef source;
    int index = 0;
    std::vector<Value> args;
};

using Handler = std::function<Value(Event&)>;
using Bindings = std::map<int, Handler>;

class Runtime;

// Everything a kind needs to know at creation.
struct CreateInfo {
    ComponentRef ref;
    Rect rect;
    Bytes block;  // the kind's property block; empty means defaults
    Runtime* runtime = nullptr;
};

// Base of every component kind. The runtime keeps the common properties
// (position, tag, visibility, cursor) and wraps widget() in a windowed host
// that carries stacking and the common mouse events; a kind provides its own
// widget, properties, methods and property block.
class Component {
public:
    explicit Component(const CreateInfo& info) : ref_(info.ref), runtime_(info.runtime) {}
    virtual ~Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual GtkWidget* widget() = 0;

    // Own properties by k (index 8 + k). An unknown k reads as empty and a
    // write returns false; the runtime reports both as runtime errors.
    virtual std::optional<Value> getOwn(int /*k*/) { return std::nullopt; }
    virtual bool setOwn(int /*k*/, const Value& /*v*/) { return false; }

    // Methods by number; an unknown method gives std::nullopt.
    virtual std::optional<Value> call(int /*method*/, std::vector<Value>& /*args*/) { return std::nullopt; }

    // The current property block, in the kind's format; used to copy.
    virtual Bytes propertyBlock() const { return {}; }

    // Told after the runtime has moved or resized the host.
    virtual void boundsChanged(const Rect& /*r*/) {}
    // Told after the host was shown or hidden, and after enabling changes.
    virtual void visibilityChanged(bool /*visible*/) {}
    virtual void enabledChanged(bool /*enabled*/) {}

    // What assistive technology is told about a kind that draws itself
    // (its widget made by accessibleAreaNew); the runtime adds the name and
    // description the program gave the component. Kinds that tell nothing
    // keep the toolkit's own accessible.
    virtual AccessibleFacts accessibleFacts() { return {}; }
    // Runs what a left click on the component runs; false when it offers no
    // click or cannot take one now (hidden, disabled).
    virtual bool accessibleClick() { return false; }
    // Items drawn inside the component, each an accessible object of its
    // own (a tab control's page headers), and a click on one of them.
    virtual std::vector<AccessibleFacts> accessibleItems() { return {}; }
    virtual bool accessibleItemClick(int /*index*/) { return false; }

    // Whether the host should raise the common mouse events for this kind;
    // kinds that handle the mouse themselves (buttons, browsers) say no.
    virtual bool hostMouseEvents() const { return true; }
    // Kinds with nothing to show (timers) never get their host shown, so
    // they take no room and catch no clicks.
    virtual bool shown() const { return true; }
    // Kinds whose widget does costly work as it joins a window (an entry
    // brings up the input method and lays its text out) say yes: their
    // widget enters its host only when the host is realised, so building a
    // window that is not yet on screen leaves that work for later.
    virtual bool joinsHostWhenRealised() const { return false; }

    const ComponentRef& ref() const { return ref_; }
    Runtime& runtime() const { return *runtime_; }

protected:
    // Raises one of this component's events; returns the handler's answer.
    Value raise(int index, std::vector<Value>& args);
    Value raise(int index, std::vector<Value>&& args = {}) { return raise(index, args); }

private:
    ComponentRef ref_;
    Runtime* runtime_;
};

using KindFactory = std::function<std::unique_ptr<Component>(const CreateInfo&)>;

// The factory of a kind built from its property block: a block that does not
// parse refuses the component, and the window leaves it out. Registered as
// runtime.registerKind("Name", makeFromBlock<Kind, KindBlock>).
template <class Kind, class Block>
std::unique_ptr<Component> makeFromBlock(const CreateInfo& info) {
    std::optional<Block> block = Block::parse(info.block);
    if (!block) return nullptr;
    return std::make_unique<Kind>(info, std::move(*block));
}

// One component as a window description lists it.
struct ComponentDescription {
    std::string kind;
    std::string name;   // the description's component name (the identifier)
    std::string alias;  // a descriptive English name
    Rect rect;
    bool visible = true;
    bool disabled = false;
    int cursor = cursor::kDefault;
    std::string tag;
    Bytes block;
    Bindings bindings;
    // What assistive technology calls it (Runtime::setAccessibleText).
    std::string accessibleName, accessibleDescription;
};

// Window events (the window kind's own, from 0).
namespace window_event {
constexpr int kCreated = 0, kPositionChanged = 1, kSizeChanged = 2, kFirstActivated = 3;
}

// Window's own properties: 0 caption, 1 state, 2 background colour.
namespace window_prop {
constexpr int kCaption = prop::own(0), kState = prop::own(1), kBackground = prop::own(2);
constexpr int kStateNormal = 0, kStateMinimised = 1;
}  // namespace window_prop

struct WindowDescription {
    std::string name;
    Rect rect;
    std::string caption;
    uint32_t background = 0x00ECECEC;  // 0x00BBGGRR
    Bindings bindings;                 // window events
    // Components top-most first: the last one is at the bottom.
    std::vector<ComponentDescription> components;
};

}  // namespace runtime
