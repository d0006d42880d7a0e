// Placeholder for a kind that is not built yet: an empty area that keeps
// its property block so that copies carry it on.
#include <gtk/gtk.h>

#include <map>

#include "builtin_kinds.h"

namespace runtime {
namespace {

class Placeholder final : public Component {
public:
    Placeholder(const CreateInfo& info) : Component(info), block_(info.block) { area_ = gtk_drawing_area_new(); }
    GtkWidget* widget() override { return area_; }
    Bytes propertyBlock() const override { return block_; }
    // Keeps whatever is written so that program code runs unchanged.
    std::optional<Value> getOwn(int k) override {
        auto it = values_.find(k);
        return it == values_.end() ? Value{0} : it->second;
    }
    bool setOwn(int k, const Value& v) override {
        values_[k] = v;
        return true;
    }
    std::optional<Value> call(int, std::vector<Value>&) override { return Value{0}; }

private:
    Bytes block_;
    std::map<int, Value> values_;
    GtkWidget* area_;
};

}  // namespace

std::unique_ptr<Component> makeEditBox(const CreateInfo& info);
std::unique_ptr<Component> makeLabel(const CreateInfo& info);
std::unique_ptr<Component> makeTimer(const CreateInfo& info);
std::unique_ptr<Component> makeDrawPanel(const CreateInfo& info);

void registerBuiltinKinds(Runtime& runtime) {
    runtime.registerKind("EditBox", makeEditBox);
    runtime.registerKind("Label", makeLabel);
    runtime.registerKind("Timer", makeTimer);
    runtime.registerKind("DrawPanel", makeDrawPanel);
}

void registerPlaceholderKind(Runtime& runtime, const std::string& kind) {
    runtime.registerKind(kind, [](const CreateInfo& info) { return std::make_unique<Placeholder>(info); });
}

}  // namespace runtime
