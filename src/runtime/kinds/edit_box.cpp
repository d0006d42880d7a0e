// EditBox: a single-line entry with its own colours and font.
#include <gtk/gtk.h>

#include <string>

#include "../colour.h"
#include "../gobject_ptr.h"
#include "builtin_kinds.h"

namespace runtime {
namespace {

std::string cssColour(uint32_t c) {
    return "rgb(" + std::to_string(red(c)) + "," + std::to_string(green(c)) + "," + std::to_string(blue(c)) + ")";
}

class EditBox final : public Component {
public:
    EditBox(const CreateInfo& info, EditBoxBlock block) : Component(info), block_(std::move(block)) {
        entry_ = gtk_entry_new();
        gtk_entry_set_width_chars(GTK_ENTRY(entry_), 0);
        gtk_entry_set_has_frame(GTK_ENTRY(entry_), FALSE);
        css_ = GObjectPtr<GtkCssProvider>::adopt(gtk_css_provider_new());
        gtk_style_context_add_provider(gtk_widget_get_style_context(entry_), GTK_STYLE_PROVIDER(css_.get()),
            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        applyStyle();
        // Text or attributes make the entry lay its text out and bring up
        // the input method at once, so the box gives them to it only as it
        // joins its host, when the window shows; until then the text lives
        // in the property block.
        g_signal_connect(entry_, "parent-set", callback([](GtkWidget* entry, GtkWidget*, gpointer self) {
            if (gtk_widget_get_parent(entry)) static_cast<EditBox*>(self)->giveEntryItsText();
        }),
            this);
    }

    GtkWidget* widget() override { return entry_; }
    bool joinsHostWhenRealised() const override { return true; }

    std::optional<Value> getOwn(int k) override {
        switch (k) {
            case edit_box::kContent:
                return textGiven_ ? std::string(gtk_entry_get_text(GTK_ENTRY(entry_))) : block_.content;
            case edit_box::kTextColour: return static_cast<int32_t>(block_.textColour);
            case edit_box::kBackground: return static_cast<int32_t>(block_.background);
            case edit_box::kFont: return block_.font.serialize();
            default: return std::nullopt;
        }
    }

    bool setOwn(int k, const Value& v) override {
        switch (k) {
            case edit_box::kContent:
                if (textGiven_) gtk_entry_set_text(GTK_ENTRY(entry_), asText(v).c_str());
                else block_.content = asText(v);
                return true;
            case edit_box::kTextColour: block_.textColour = static_cast<uint32_t>(asInt(v)); break;
            case edit_box::kBackground: block_.background = static_cast<uint32_t>(asInt(v)); break;
            case edit_box::kFont:
                if (auto f = LogFont::parse(asBytes(v))) block_.font = *f;
                if (textGiven_) markTextLanguage();
                break;
            default: return false;
        }
        applyStyle();
        return true;
    }

    Bytes propertyBlock() const override {
        EditBoxBlock b = block_;
        if (textGiven_) b.content = gtk_entry_get_text(GTK_ENTRY(entry_));
        return b.serialize();
    }

private:
    void giveEntryItsText() {
        if (textGiven_) return;
        textGiven_ = true;
        markTextLanguage();
        gtk_entry_set_text(GTK_ENTRY(entry_), block_.content.c_str());
    }

    // The box's text is Chinese in the font record's character set. Said
    // to Pango, its Han characters take the Simplified Chinese face every
    // other component draws with; unsaid (a non-Chinese locale), fontconfig
    // falls back to its first CJK face, the Japanese forms, and a second
    // face of a megabyte is loaded for the boxes alone.
    void markTextLanguage() {
        CPtr<PangoAttrList, pango_attr_list_unref> attributes(pango_attr_list_new());
        pango_attr_list_insert(
            attributes.get(), pango_attr_language_new(pango_language_from_string(block_.font.language())));
        gtk_entry_set_attributes(GTK_ENTRY(entry_), attributes.get());
    }

    void applyStyle() {
        std::string family = block_.font.faceName.empty() ? "Sans" : block_.font.faceName;
        std::string css =
            "entry { min-height: 0; min-width: 0; padding: 1px 2px; border: none; border-radius: 0;"
            " box-shadow: none; color: " +
            cssColour(block_.textColour) + "; background: " + cssColour(block_.background) + "; font-family: \"" +
            family + "\", \"Noto Sans CJK SC\", sans-serif; font-size: " + std::to_string(block_.font.pixelHeight()) +
            "px; font-weight: " + std::to_string(block_.font.weight > 0 ? block_.font.weight : 400) + "; }";
        gtk_css_provider_load_from_data(css_.get(), css.c_str(), -1, nullptr);
    }

    EditBoxBlock block_;
    GtkWidget* entry_;
    bool textGiven_ = false;
    GObjectPtr<GtkCssProvider> css_;
};

}  // namespace

std::unique_ptr<Component> makeEditBox(const CreateInfo& info) { return makeFromBlock<EditBox, EditBoxBlock>(info); }

}  // namespace runtime
