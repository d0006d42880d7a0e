// The report's texts, the settings a configure call makes and the signal
// classification, all without a real crash.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "crashguard/fault.h"
#include "crashguard/helper_path.h"
#include "crashguard/report.h"
#include "crashguard/settings.h"
#include "crashguard/text_buffer.h"

namespace {

using namespace crashguard;

std::string reportOf(const FaultInfo& f, const ReportPlace& place = {}) {
    char storage[2048];
    TextBuffer out(storage, sizeof(storage));
    composeFaultReport(f, place, out);
    return out.c_str();
}

TEST(TextBuffer, FormatsNumbersAndNeverOverruns) {
    char storage[64];
    TextBuffer out(storage, sizeof(storage));
    out.appendAutoHex(0xFF);
    out.append(" ");
    out.appendAutoHex(0x100);
    out.append(" ");
    out.appendAutoHex(0x10000);
    out.append(" ");
    out.appendAutoHex(0x100000000ull);
    out.append(" ");
    out.appendDecimal(INT64_MIN);
    EXPECT_STREQ(out.c_str(), "FF 0100 00010000 0000000100000000 -9223372036854775808");

    char small[5];
    TextBuffer cut(small, sizeof(small));
    cut.append("abcdefgh");
    EXPECT_STREQ(cut.c_str(), "abcd");
    EXPECT_TRUE(cut.truncated());
}

TEST(Report, AccessViolationNamesReadOrWriteAndHasNoParameterLines) {
    FaultInfo f;
    f.code = code::kAccessViolation;
    f.address = 0x401010;
    f.param_count = 2;
    f.params[0] = 1;
    f.params[1] = 0x1234;
    ReportPlace place;
    place.module_name = "varomel";
    place.module_offset = 0x1010;
    place.has_analysis = true;
    place.analysis = 0x400F00;
    EXPECT_EQ(reportOf(f, place),
        "警告:程序发生错误\r\n错误信息:内存写入异常\r\n目标地址:0000000000001234\r\n"
        "发生位置:0000000000401010\r\n相对地址:[varomel].0000000000001010\r\n"
        "分析位置:0000000000400F00\r\n");
    f.params[0] = 0;
    EXPECT_NE(reportOf(f).find("错误信息:内存读取异常\r\n"), std::string::npos);
}

TEST(Report, StackOverflowDropsTheWarningLineAndUnlistedCodesShowTheCode) {
    FaultInfo overflow;
    overflow.code = code::kStackOverflow;
    overflow.address = 0x10;
    EXPECT_EQ(reportOf(overflow), "错误信息:线程堆栈溢出异常\r\n发生位置:0000000000000010\r\n");

    FaultInfo odd;
    odd.code = 0x12345678;
    odd.param_count = 2;
    odd.params[0] = 5;
    odd.params[1] = 0xABC;
    EXPECT_EQ(reportOf(odd),
        "警告:程序发生错误\r\n错误代码:12345678\r\n发生位置:0000000000000000\r\n"
        "错误参数1:0000000000000005\r\n错误参数2:0000000000000ABC\r\n");
}

TEST(Report, FullTextAndRuntimeError) {
    char storage[512];
    TextBuffer out(storage, sizeof(storage));
    composeFullText("R\r\n", "S\r\n", true, "I", out);
    EXPECT_STREQ(out.c_str(), "R\r\nCallStack:\r\nS\r\n\r\n附属信息：I");
    composeFullText("R\r\n", "S\r\n", false, "", out);
    EXPECT_STREQ(out.c_str(), "R\r\n");
    composeFullText("R\r\n", "", true, "", out);
    EXPECT_STREQ(out.c_str(), "R\r\n");
    composeRuntimeErrorReport(-4, "坏参数", out);
    EXPECT_STREQ(out.c_str(), "运行时出错!\r\n\r\n错误代码：-4\r\n\r\n错误信息：坏参数\r\n");
}

TEST(Settings, ConfigureDefaultsAndKeptValues) {
    Settings installed;
    Options omitted;
    Settings s = applyOptions(installed, omitted);
    EXPECT_EQ(s.show_message_box, 1);
    EXPECT_EQ(s.exit_mode, 0);
    EXPECT_EQ(s.pass_on_throw, 1);
    EXPECT_EQ(s.include_call_stack, 1);
    EXPECT_EQ(s.skip_leading_system_frames, 1);
    EXPECT_EQ(s.hook_runtime_errors, 1);
    EXPECT_EQ(s.search_distance, 4096);
    EXPECT_EQ(omitted.owner_window_class, "Afx:10000000:b:10011:1900015:0");

    Options given;
    given.search_distance = -5;  // kept: not positive
    given.owner_window_class = std::string(400, 'x');
    s = applyOptions(installed, given);
    EXPECT_EQ(s.search_distance, 4096);
    EXPECT_EQ(std::string(s.owner_window_class), std::string(kOwnerClassCapacity - 1, 'x'));
    given.search_distance = 100;
    EXPECT_EQ(applyOptions(installed, given).search_distance, 100);
}

SignalFacts kernelFault(int signal, int si_code, uintptr_t address) {
    SignalFacts f;
    f.signal = signal;
    f.si_code = si_code;
    f.fault_address = address;
    f.ip = 0x5000;
    f.sp = 0x7FFF0000;
    return f;
}

TEST(Classify, SignalsMapToTheReportCodes) {
    struct Row {
        const char* name;
        SignalFacts facts;
        uint32_t code;
        uintptr_t address;
    };
    SignalFacts write_fault = kernelFault(SIGSEGV, SEGV_ACCERR, 0x1000);
    write_fault.page_fault = true;
    write_fault.error_code = 0x7;
    SignalFacts overflow = kernelFault(SIGSEGV, SEGV_ACCERR, 0x7FFEFFF8);
    SignalFacts below_stack = kernelFault(SIGSEGV, SEGV_MAPERR, 0x7000F000);
    below_stack.sp = 0x10;  // a wild stack pointer: the thread's stack range decides
    below_stack.stack_low = 0x70010000;
    below_stack.stack_high = 0x70800000;
    below_stack.guard_size = 0x1000;
    static const uint8_t kHlt[] = {0xF4};
    static const uint8_t kWrmsr[] = {0x0F, 0x30};
    static const uint8_t kNop[] = {0x90};
    SignalFacts hlt = kernelFault(SIGSEGV, SI_KERNEL, 0);
    hlt.code_bytes = kHlt;
    hlt.code_length = 1;
    SignalFacts wrmsr = hlt;
    wrmsr.code_bytes = kWrmsr;
    wrmsr.code_length = 2;
    SignalFacts general = hlt;
    general.code_bytes = kNop;
    const Row rows[] = {
        {"write", write_fault, code::kAccessViolation, 0x5000},
        {"overflow near sp", overflow, code::kStackOverflow, 0x5000},
        {"overflow below stack", below_stack, code::kStackOverflow, 0x5000},
        {"bus", kernelFault(SIGBUS, BUS_ADRERR, 0x2000), code::kAccessViolation, 0x5000},
        {"hlt", hlt, code::kPrivilegedInstruction, 0x5000},
        {"wrmsr", wrmsr, code::kPrivilegedInstruction, 0x5000},
        {"general protection", general, code::kAccessViolation, 0x5000},
        {"int divide", kernelFault(SIGFPE, FPE_INTDIV, 0), code::kIntegerDivide, 0x5000},
        {"float divide", kernelFault(SIGFPE, FPE_FLTDIV, 0), code::kFloatDivide, 0x5000},
        {"ud2", kernelFault(SIGILL, ILL_ILLOPN, 0), code::kIllegalInstruction, 0x5000},
        {"int3", kernelFault(SIGTRAP, SI_KERNEL, 0), code::kBreakpoint, 0x4FFF},
        {"kill -SEGV", kernelFault(SIGSEGV, SI_USER, 0), 11, 0x5000},
        {"seccomp", kernelFault(SIGSYS, 1 /* SYS_SECCOMP */, 0), 31, 0x5000},
        {"abort", kernelFault(SIGABRT, SI_TKILL, 0), 6, 0x5000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FaultInfo info = classifySignal(row.facts);
        EXPECT_EQ(info.code, row.code);
        EXPECT_EQ(info.address, row.address);
    }
    FaultInfo w = classifySignal(write_fault);
    EXPECT_EQ(w.params[0], 1u);
    EXPECT_EQ(w.params[1], 0x1000u);
    // Without a page fault the error code is not trusted: a read.
    write_fault.page_fault = false;
    EXPECT_EQ(classifySignal(write_fault).params[0], 0u);
}

TEST(Classify, PrivilegedInstructionsBehindPrefixes) {
    const uint8_t rex_mov_cr[] = {0x41, 0x0F, 0x22, 0xC0};
    const uint8_t lgdt[] = {0x0F, 0x01, 0x10};
    const uint8_t cpuid[] = {0x0F, 0xA2};
    const uint8_t prefixed_out[] = {0x66, 0xEF};
    EXPECT_TRUE(isPrivilegedInstruction(rex_mov_cr, sizeof(rex_mov_cr)));
    EXPECT_TRUE(isPrivilegedInstruction(lgdt, sizeof(lgdt)));
    EXPECT_TRUE(isPrivilegedInstruction(prefixed_out, sizeof(prefixed_out)));
    EXPECT_FALSE(isPrivilegedInstruction(cpuid, sizeof(cpuid)));
    EXPECT_FALSE(isPrivilegedInstruction(nullptr, 0));
    EXPECT_FALSE(isPrivilegedInstruction(lgdt, 2));  // cut short before its operand byte
}

// An unpacked package works from any root: the helper comes from
// libexec/varomel beside the program's bin/; a build tree keeps it next to
// the program.
TEST(Settings, HelperIsFoundFromTheProgramsOwnPath) {
    char pattern[] = "/tmp/helper-path-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string root = pattern;
    auto executable = [](const std::string& path) {
        std::ofstream(path) << "#!/bin/sh\n";
        chmod(path.c_str(), 0755);
    };
    ASSERT_EQ(mkdir((root + "/usr").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((root + "/usr/bin").c_str(), 0755), 0);
    std::string program = root + "/usr/bin/varomel";
    executable(program);
    // Nothing installed yet: next to the program, as in a build tree.
    EXPECT_EQ(helperPathFor(program), root + "/usr/bin/varomel-crashbox");
    ASSERT_EQ(mkdir((root + "/usr/libexec").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((root + "/usr/libexec/varomel").c_str(), 0755), 0);
    std::string helper = root + "/usr/libexec/varomel/varomel-crashbox";
    // A file that cannot be run is no helper.
    std::ofstream(helper) << "not a program";
    chmod(helper.c_str(), 0644);
    EXPECT_EQ(helperPathFor(program), root + "/usr/bin/varomel-crashbox");
    chmod(helper.c_str(), 0755);
    EXPECT_EQ(helperPathFor(program), root + "/usr/bin/../libexec/varomel/varomel-crashbox");
    // A bare name (no folder) looks in the current one.
    EXPECT_EQ(helperPathFor("varomel"), "./varomel-crashbox");
    std::string cleanup = "rm -rf '" + root + "'";
    EXPECT_EQ(std::system(cleanup.c_str()), 0);
}

}  // namespace
