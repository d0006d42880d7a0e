// The module table from maps text and the call-stack text, with made-up
// modules, routines and symbols.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

std::unique_ptr<ModuleTable> parseInPieces(size_t piece) {
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
        auto t = parseInPieces(piece);
        ASSERT_EQ(t->module_count, 3);
        EXPECT_STREQ(t->modules[0].name, "varomel");
        EXPECT_EQ(t->modules[0].start, 0x555500000000u);
        EXPECT_EQ(t->modules[0].end, 0x555500010000u);
        EXPECT_STREQ(t->modules[1].name, "libc.so.6");
        EXPECT_EQ(t->modules[1].end, 0x7f0000190000u);
        EXPECT_STREQ(t->modules[2].name, "libplain.so");  // a folder with a space
        EXPECT_EQ(t->code_count, 4);
        EXPECT_TRUE(t->isCode(0x7ffff7fc1000));
        EXPECT_FALSE(t->isCode(0x7f0000000010));                 // mapped but not executable
        EXPECT_EQ(t->moduleOf(0x555500010000), &t->modules[0]);  // the end is included
        EXPECT_EQ(t->moduleOf(0x7ffff7fc1000), nullptr);
    }
}

TEST(Modules, TheLiveProcessHasItsExecutableAndTheCLibrary) {
    auto t = std::make_unique<ModuleTable>();
    ASSERT_TRUE(snapshotModules(*t, nullptr));
    bool libc = false;
    for (int i = 0; i < t->module_count; ++i) libc = libc || isSystemModule(t->modules[i].name);
    EXPECT_TRUE(libc);
    EXPECT_TRUE(t->isCode(reinterpret_cast<uintptr_t>(&snapshotModules)));
}

bool fakeSymbols(const Module&, uintptr_t address, SymbolHit* hit) {
    if (address >= 0x7f0000100000 && address < 0x7f0000100100) {
        std::strcpy(hit->name, "start_thread");
        hit->start = 0x7f0000100000;
        return true;
    }
    if (address >= 0x555500004000 && address < 0x555500009000) {
        std::strcpy(hit->name, "far_function");
        hit->start = 0x555500004000;
        return true;
    }
    return false;
}

struct Walk {
    std::unique_ptr<ModuleTable> modules = parseInPieces(4096);
    std::unique_ptr<RoutineTable> routines = std::make_unique<RoutineTable>();
    WalkInputs in;
    Walk() {
        in.modules = modules.get();
        in.routines = routines.get();
        in.lookup = fakeSymbols;
        in.skip_system_frames = true;
    }
    std::string text(std::initializer_list<uintptr_t> innermost_first) {
        FrameList frames;
        for (uintptr_t a : innermost_first) frames.push(a);
        return text(frames, 4096);
    }
    std::string text(const FrameList& frames, size_t capacity) {
        std::string storage(capacity, '\0');
        TextBuffer out(storage.data(), storage.size());
        formatCallStack(frames, in, out);
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

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<cut>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

size_t indentation(const std::string& line) { return line.find_first_not_of(' '); }

TEST(CallStack, LongChainsKeepTheInnermostLinesWholeWithCappedIndentation) {
    Walk w;
    w.routines->add(0x555500001000, "深层递归子程序_with_a_long_name_that_makes_every_line_long", 0x555500001400);
    w.routines->add(0x555500002000, "出错的子程序", 0x555500002100);
    FrameList frames;
    frames.push(0x555500002010);  // the faulting routine, innermost
    for (int i = 1; i < FrameList::kCapacity; ++i) frames.push(0x555500001000 + 0x10 + i);
    ASSERT_EQ(frames.count, FrameList::kCapacity);

    for (size_t capacity : {size_t(1000), size_t(8192), size_t(64 * 1024)}) {
        SCOPED_TRACE(capacity);
        std::string text = w.text(frames, capacity);
        ASSERT_LT(text.size(), capacity);
        std::vector<std::string> lines = linesOf(text);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().substr(indentation(lines.back())), "出错的子程序+0x10=0000555500002010");
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(indentation(lines[i]), std::min<size_t>(i, kMaxIndent)) << lines[i];
            EXPECT_EQ(lines[i].find("<cut>"), std::string::npos);
        }
        // Only as many outer lines go as must: one more (every kept line
        // then one space deeper, up to the cap) would not fit.
        if (capacity < 64 * 1024) {
            EXPECT_LT(lines.size(), size_t(FrameList::kCapacity));
            size_t deeper = std::min<size_t>(lines.size(), kMaxIndent);
            size_t next = deeper + lines[0].size() + 2;
            EXPECT_GT(text.size() + next, capacity - 1);
        } else {
            EXPECT_EQ(lines.size(), size_t(FrameList::kCapacity));
        }
    }
}

TEST(CallStack, RoutinesCoverTheirExactExtent) {
    Walk w;
    w.routines->add(0x555500001000, "安装", 0x555500001080);
    w.routines->add(0x555500001200, "报告");  // extent unknown: the search distance applies
    // Just past 安装's end, a routine nobody registered: not named after it.
    EXPECT_EQ(w.text({0x555500001090}), "[varomel]+0x1090=0000555500001090\r\n");
    EXPECT_EQ(w.text({0x555500001080}), "安装+0x80=0000555500001080\r\n");  // a return at the very end
    EXPECT_EQ(w.text({0x555500001300}), "报告+0x0100=0000555500001300\r\n");
}

TEST(CallStack, UnwalkableStackIsSaidAndTheFaultStillNamed) {
    Walk w;
    w.routines->add(0x555500001800, "子程序1", 0x555500001900);
    FrameList frames;
    frames.push(0x555500001810);
    frames.unwalkable = true;
    frames.stack_pointer = 0x1000;
    EXPECT_EQ(w.text(frames, 4096),
        "无法回溯调用栈:栈指针0000000000001000不在本线程的栈内\r\n"
        "子程序1+0x10=0000555500001810\r\n");
}

TEST(CallStack, AnalysisPositionIsTheFirstReturnIntoTheExecutable) {
    auto modules = parseInPieces(4096);
    uintptr_t at = 0;
    FrameList in_library;
    for (uintptr_t a : {0x7f0000030000ul, 0x7f0000030100ul, 0x555500001234ul, 0x555500001500ul}) in_library.push(a);
    ASSERT_TRUE(analysisPosition(in_library, *modules, &at));
    EXPECT_EQ(at, 0x555500001234u);

    FrameList in_main;
    for (uintptr_t a : {0x555500001100ul, 0x555500001200ul}) in_main.push(a);
    ASSERT_TRUE(analysisPosition(in_main, *modules, &at));
    EXPECT_EQ(at, 0x555500001200u);  // never the faulting address itself

    FrameList outside;
    for (uintptr_t a : {0x7f0000030000ul, 0x7ffff7fc1010ul, 0x555500001200ul}) outside.push(a);
    ASSERT_TRUE(analysisPosition(outside, *modules, &at));
    EXPECT_EQ(at, 0x7ffff7fc1010u);  // the chain leaves every object here

    FrameList null_jump;
    null_jump.push(0);
    EXPECT_FALSE(analysisPosition(null_jump, *modules, &at));

    // A call through a null pointer from the executable: its caller.
    FrameList null_call;
    for (uintptr_t a : {0ul, 0x555500001100ul, 0x555500001200ul}) null_call.push(a);
    ASSERT_TRUE(analysisPosition(null_call, *modules, &at));
    EXPECT_EQ(at, 0x555500001100u);
    // From a library: on up the chain as usual.
    FrameList null_call_in_library;
    for (uintptr_t a : {0ul, 0x7f0000030000ul, 0x7f0000030100ul, 0x555500001300ul}) null_call_in_library.push(a);
    ASSERT_TRUE(analysisPosition(null_call_in_library, *modules, &at));
    EXPECT_EQ(at, 0x555500001300u);
}

}  // namespace

namespace {

// A routine of this program that no symbol table exports.
__attribute__((noinline)) int unexportedRoutine(int x) {
    asm volatile("" ::: "memory");
    return x * 3 + 1;
}

__attribute__((noinline)) int routineAfterIt(int x) {
    asm volatile("" ::: "memory");
    return x * 5 + 2;
}

const Module* liveModuleOf(const ModuleTable& t, uintptr_t address) {
    const Module* m = t.moduleOf(address);
    EXPECT_NE(m, nullptr) << std::hex << address;
    return m;
}

TEST(Symbols, ExportedFunctionsAreFoundFromTheTablesInMemory) {
    auto t = std::make_unique<ModuleTable>();
    ASSERT_TRUE(snapshotModules(*t, nullptr));
    // Inside a function the C library exports: the name found leads back to
    // the same start through the loader.
    uintptr_t getpid_at = reinterpret_cast<uintptr_t>(dlsym(RTLD_DEFAULT, "getpid"));
    ASSERT_NE(getpid_at, 0u);
    const Module* libc = liveModuleOf(*t, getpid_at);
    ASSERT_NE(libc, nullptr);
    SymbolHit hit;
    ASSERT_TRUE(exportedSymbol(*libc, getpid_at + 1, &hit));
    EXPECT_EQ(hit.start, getpid_at);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(dlsym(RTLD_DEFAULT, hit.name)), getpid_at) << hit.name;

    // Code of ours that no table exports has no name.
    uintptr_t ours = reinterpret_cast<uintptr_t>(&unexportedRoutine) + 4;
    const Module* self = liveModuleOf(*t, ours);
    ASSERT_NE(self, nullptr);
    SymbolHit none;
    EXPECT_FALSE(exportedSymbol(*self, ours, &none)) << none.name;
}

TEST(Symbols, ObjectsWithoutReadableTablesGiveNoNameAndNoFault) {
    SymbolHit hit;
    // Nothing mapped there.
    EXPECT_FALSE(elfSymbolAt(0x1000, 0x5000, 0x2000, &hit));
    // An ELF header whose tables point nowhere.
    alignas(64) static unsigned char fake[4096];
    const unsigned char header[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
    std::memcpy(fake, header, sizeof(header));
    fake[16] = 3;   // a shared object
    fake[32] = 64;  // program headers right behind the header...
    fake[54] = 56;  // ...56 bytes each...
    fake[56] = 2;   // ...two of them
    uint32_t load = 1, dynamic = 2;
    std::memcpy(fake + 64, &load, 4);
    std::memcpy(fake + 120, &dynamic, 4);
    uint64_t far_away = 0x7ff000000000;
    std::memcpy(fake + 120 + 16, &far_away, 8);  // the dynamic section's address
    uintptr_t base = reinterpret_cast<uintptr_t>(fake);
    EXPECT_FALSE(elfSymbolAt(base, base + sizeof(fake), base + 100, &hit));
}

TEST(Symbols, RoutineExtentsComeFromTheUnwindTables) {
    uintptr_t start = 0, end = 0;
    uintptr_t entry = reinterpret_cast<uintptr_t>(&unexportedRoutine);
    ASSERT_TRUE(routineExtent(entry + 2, &start, &end));
    EXPECT_EQ(start, entry);
    EXPECT_GT(end, entry);
    uintptr_t other = reinterpret_cast<uintptr_t>(&routineAfterIt);
    EXPECT_TRUE(other < start || other >= end);

    // Registered by address, a routine names its own code and nothing past it.
    RoutineTable table;
    ASSERT_TRUE(table.add(start, "测试.有范围", end));
    const Routine* r = table.nearest(entry + 2, 4096);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->name, "测试.有范围");
    EXPECT_EQ(table.nearest(end + 1, 4096), nullptr);
    EXPECT_EQ(unexportedRoutine(1) + routineAfterIt(1), 11);
}

}  // namespace
