// The module table from maps text and the call-stack text, with made-up
// modules, routines and symbols.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "crashguard/call_stack.h"
#include "crashguard/modules.h"
#include "crashguard/routines.h"

namespace {

using namespace crashguard;

const char kMaps[] =
    "7f0000000000-7f0000028000 r--p 00000000 08:01 100 /usr/lib/x86_64-linux-gnu/libc.so.6\n"
    "7f0000028000-7f0000190000 r-xp 00028000 08:01 100 /usr/lib/x86_64-linux-gnu/libc.so.6\n"
    "7f0000300000-7f0000301000 rw-p 00000000 00:00 0 \n"
    "7f0000400000-7f0000401000 r-xp 00000000 08:01 200 /opt/my libs/libplain.so\n"
    "555500000000-555500001000 r--p 00000000 08:01 300 /usr/bin/varomel\n"
    "555500001000-555500010000 r-xp 00001000 08:01 300 /usr/bin/varomel\n"
    "7ffff7fc1000-7ffff7fc3000 r-xp 00000000 00:00 0 [vdso]";

std::unique_ptr<ModuleTable> parse_in_pieces(size_t piece) {
    auto table = std::make_unique<ModuleTable>();
    MapsParser parser(*table, "/usr/bin/varomel");
    size_t length = std::strlen(kMaps);
    for (size_t at = 0; at < length; at += piece) parser.feed(kMaps + at, std::min(piece, length - at));
    parser.finish();
    return table;
}

TEST(Modules, MapsGiveOneEntryPerFileWithTheExecutableFirst) {
    for (size_t piece : {size_t(1), size_t(7), size_t(4096)}) {
        SCOPED_TRACE(piece);
        auto t = parse_in_pieces(piece);
        ASSERT_EQ(t->module_count, 3);
        EXPECT_STREQ(t->modules[0].name, "varomel");
        EXPECT_EQ(t->modules[0].start, 0x555500000000u);
        EXPECT_EQ(t->modules[0].end, 0x555500010000u);
        EXPECT_STREQ(t->modules[1].name, "libc.so.6");
        EXPECT_EQ(t->modules[1].end, 0x7f0000190000u);
        EXPECT_STREQ(t->modules[2].name, "libplain.so");  // a folder with a space
        EXPECT_EQ(t->code_count, 4);
        EXPECT_TRUE(t->is_code(0x7ffff7fc1000));
        EXPECT_FALSE(t->is_code(0x7f0000000010));  // mapped but not executable
        EXPECT_EQ(t->module_of(0x555500010000), &t->modules[0]);  // the end is included
        EXPECT_EQ(t->module_of(0x7ffff7fc1000), nullptr);
    }
}

TEST(Modules, TheLiveProcessHasItsExecutableAndTheCLibrary) {
    auto t = std::make_unique<ModuleTable>();
    ASSERT_TRUE(snapshot_modules(*t, nullptr));
    bool libc = false;
    for (int i = 0; i < t->module_count; ++i) libc = libc || is_system_module(t->modules[i].name);
    EXPECT_TRUE(libc);
    EXPECT_TRUE(t->is_code(reinterpret_cast<uintptr_t>(&snapshot_modules)));
}

bool fake_symbols(uintptr_t address, SymbolHit* hit) {
    if (address >= 0x7f0000100000 && address < 0x7f0000100100) {
        hit->name = "start_thread";
        hit->start = 0x7f0000100000;
        return true;
    }
    if (address >= 0x555500004000 && address < 0x555500009000) {
        hit->name = "far_function";
        hit->start = 0x555500004000;
        return true;
    }
    return false;
}

struct Walk {
    std::unique_ptr<ModuleTable> modules = parse_in_pieces(4096);
    std::unique_ptr<RoutineTable> routines = std::make_unique<RoutineTable>();
    WalkInputs in;
    Walk() {
        in.modules = modules.get();
        in.routines = routines.get();
        in.lookup = fake_symbols;
        in.skip_system_frames = true;
    }
    std::string text(std::initializer_list<uintptr_t> innermost_first) {
        FrameList frames;
        for (uintptr_t a : innermost_first) frames.push(a);
        char storage[4096];
        TextBuffer out(storage, sizeof(storage));
        format_call_stack(frames, in, out);
        return out.c_str();
    }
};

TEST(CallStack, LinesFromTheOutermostCallerInwards) {
    Walk w;
    w.routines->add(0x555500001000, "_启动子程序");
    w.routines->add(0x555500001800, "子程序1");
    std::string text = w.text({
        0x555500001810,  // inside 子程序1
        0x555500001800,  // exactly at its start
        0x7f0000400010,  // a library without symbols
        0x555500004010,  // symbol, distance 0x10 (no routine within reach)
        0x7f0000100004,  // libc symbol after a line: kept
        0x555500001000,  // registered start
        0x7f0000100008,  // leading libc frame: skipped
        0,               // unreadable: skipped
    });
    EXPECT_EQ(text,
              "_启动子程序\r\n"
              " [libc.so.6].start_thread+0x04\r\n"
              "  [varomel].far_function+0x10\r\n"
              "   [libplain.so]+0x10=00007F0000400010\r\n"
              "    子程序1\r\n"
              "     子程序1+0x10=0000555500001810\r\n");
}

TEST(CallStack, SearchDistanceAndAddressesOutsideEveryObject) {
    Walk w;
    w.in.search_distance = 0x100;
    // Far past the symbol's start: left out. JIT code in no object: bare.
    w.modules->code[w.modules->code_count++] = CodeRange{0x100000, 0x200000};
    EXPECT_EQ(w.text({0x555500008000, 0x100010}), "0x0000000000100010\r\n");
    // A routine further away than the search distance does not name it.
    w.routines->add(0x555500001000, "远处");
    EXPECT_EQ(w.text({0x555500001200}), "[varomel]+0x1200=0000555500001200\r\n");
}

TEST(CallStack, AnalysisPositionIsTheFirstReturnIntoTheExecutable) {
    auto modules = parse_in_pieces(4096);
    uintptr_t at = 0;
    FrameList in_library;
    for (uintptr_t a : {0x7f0000030000ul, 0x7f0000030100ul, 0x555500001234ul, 0x555500001500ul}) in_library.push(a);
    ASSERT_TRUE(analysis_position(in_library, *modules, &at));
    EXPECT_EQ(at, 0x555500001234u);

    FrameList in_main;
    for (uintptr_t a : {0x555500001100ul, 0x555500001200ul}) in_main.push(a);
    ASSERT_TRUE(analysis_position(in_main, *modules, &at));
    EXPECT_EQ(at, 0x555500001200u);  // never the faulting address itself

    FrameList outside;
    for (uintptr_t a : {0x7f0000030000ul, 0x7ffff7fc1010ul, 0x555500001200ul}) outside.push(a);
    ASSERT_TRUE(analysis_position(outside, *modules, &at));
    EXPECT_EQ(at, 0x7ffff7fc1010u);  // the chain leaves every object here

    FrameList null_jump;
    null_jump.push(0);
    EXPECT_FALSE(analysis_position(null_jump, *modules, &at));
}

}  // namespace
