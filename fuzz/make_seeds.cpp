// Writes the block seeds of fuzz/corpus from the program's own writers, so
// the fuzzer starts from blocks the readers accept. Picture seeds are plain
// files made once from the artwork. Run: make_seeds <corpus dir>.
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/kinds/builtin_kinds.h"
#include "runtime/property_block.h"
#include "widgets/page_control.h"
#include "widgets/pic_btn_block.h"
#include "widgets/trans_label_block.h"
#include "widgets/web_browser_logic.h"

namespace fs = std::filesystem;

namespace {

fs::path root;

// `selector` is the leading byte of targets that serve several readers.
void seed(const std::string& target, const std::string& name, const runtime::Bytes& body, int selector = -1) {
    fs::create_directories(root / target);
    std::ofstream out(root / target / name, std::ios::binary);
    if (selector >= 0) out.put(static_cast<char>(selector));
    out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
}

runtime::Bytes text(const std::string& s) { return runtime::Bytes(s.begin(), s.end()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    root = argv[1];

    runtime::EditBoxBlock edit;
    edit.textColour = 0x00C8C8C8;
    edit.font = runtime::LogFont::make("新宋体", 12);
    edit.content = "输入关键字";
    seed("builtin_blocks", "edit_box", edit.serialize(), 0);
    runtime::LabelBlock label;
    label.caption = "标题";
    label.font = runtime::LogFont::make("宋体", 12, true);
    label.picture = {0x42, 0x4D, 0, 0, 0, 0};
    seed("builtin_blocks", "label", label.serialize(), 1);
    seed("builtin_blocks", "timer", runtime::TimerBlock{1}.serialize(), 2);
    seed("builtin_blocks", "draw_panel", runtime::DrawPanelBlock{}.serialize(), 3);
    seed("builtin_blocks", "log_font", runtime::LogFont::make("长城黑体", 11).serialize(), 4);

    runtime::BlockWriter w;
    w.u32(1).i32(-5).bytes({1, 2, 3}).text("热搜：");
    // Script length 4, reads u32, i32, bytes, text, then the block.
    runtime::Bytes script{4, 0, 1, 2, 3};
    script.insert(script.end(), w.data().begin(), w.data().end());
    seed("block_reader", "mixed", script);

    widgets::PicBtnBlock button;
    button.transparentColour = 0x00FFFFFF;
    button.pictures[0] = {'G', 'I', 'F', '8', '9', 'a'};
    seed("pic_btn_block", "button", button.serialize());

    widgets::TransLabelBlock trans;
    trans.text = "热搜：";
    trans.textColour = 0x00606060;
    trans.font = runtime::LogFont::make("宋体", 12).serialize();
    seed("trans_label_block", "label", trans.serialize());

    seed("page_control_block", "form", widgets::PageControlBlock::form().serialize(), 0);
    seed("page_control_block", "defaults", widgets::PageControlBlock{}.serialize(), 0);
    seed("page_control_block", "pages",
        widgets::PageControlBlock::serializePages(widgets::PageControlBlock::form().pages), 1);
    widgets::ImageListStream images;
    images.imageWidth = images.imageHeight = 16;
    images.picture = {0x89, 'P', 'N', 'G'};
    seed("page_control_block", "images", images.serialize(), 2);

    seed("web_browser_block", "block", widgets::web_browser::Block{}.serialize(), 0);
    seed("web_browser_block", "address", text("www.varomel-servers.example/new.html"), 1);
    seed("web_browser_block", "headers", text("Referer: http://a.example/\r\nX-Test: 1\r\n"), 2);

    seed("gbk", "mixed", text("\xB1\xE4\xCC\xAC abc \xA1\xA1\x95\x32\x82\x36\xFF"));
    seed("keyword_encoding", "keyword", text(" 变态 \t１８５😀"));
    seed("fit_text", "title", text(std::string("\x00\x10", 2) + "新开服务器一览 - listing"));
    return 0;
}
