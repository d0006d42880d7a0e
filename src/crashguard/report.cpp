#include "crashguard/report.h"

namespace crashguard {

namespace {

void appendMessage(const FaultInfo& f, TextBuffer& out) {
    switch (f.code) {
        case code::kAccessViolation:
            out.append("错误信息:内存");
            out.append(f.params[0] == 0 ? "读取" : "写入");
            out.append("异常\r\n目标地址:");
            out.appendHex(f.params[1], kAddressDigits);
            out.append("\r\n");
            return;
        case code::kIntegerDivide:
        case code::kFloatDivide: out.append("错误信息:非法除0异常\r\n"); return;
        case code::kStackOverflow:
            // This message stands alone: the warning line above it goes.
            out.clear();
            out.append("错误信息:线程堆栈溢出异常\r\n");
            return;
        case code::kIllegalInstruction: out.append("错误信息:非法CPU指令\r\n"); return;
        case code::kBreakpoint: out.append("错误信息:int3调试中断\r\n"); return;
        case code::kPrivilegedInstruction: out.append("错误信息:无法执行Ring0指令\r\n"); return;
        case code::kCxxThrow: out.append("错误信息:执行Virtual C++ throw()指令\r\n"); return;
        default:
            out.append("错误代码:");
            out.appendHex(f.code, 8);
            out.append("\r\n");
            return;
    }
}

}  // namespace

void composeFaultReport(const FaultInfo& f, const ReportPlace& place, TextBuffer& out) {
    out.clear();
    out.append("警告:程序发生错误\r\n");
    appendMessage(f, out);
    out.append("发生位置:");
    out.appendHex(f.address, kAddressDigits);
    out.append("\r\n");
    if (place.module_name && place.module_name[0] != '\0') {
        out.append("相对地址:[");
        out.append(place.module_name);
        out.append("].");
        out.appendHex(place.module_offset, kAddressDigits);
        out.append("\r\n");
    }
    if (place.has_analysis) {
        out.append("分析位置:");
        out.appendHex(place.analysis, kAddressDigits);
        out.append("\r\n");
    }
    if (f.code == code::kAccessViolation) return;
    uint32_t count = f.param_count > kMaxFaultParams ? kMaxFaultParams : f.param_count;
    for (uint32_t i = 0; i < count; ++i) {
        out.append("错误参数");
        out.appendDecimal(i + 1);
        out.append(":");
        out.appendHex(f.params[i], kAddressDigits);
        out.append("\r\n");
    }
}

void composeRuntimeErrorReport(int code, const char* message, TextBuffer& out) {
    out.clear();
    out.append("运行时出错!\r\n\r\n错误代码：");
    out.appendDecimal(code);
    out.append("\r\n\r\n错误信息：");
    out.append(message);
    out.append("\r\n");
}

void composeFullText(
    const char* report, const char* call_stack, bool include_call_stack, const char* additional_info, TextBuffer& out) {
    out.clear();
    out.append(report);
    if (include_call_stack && call_stack && call_stack[0] != '\0') {
        out.append("CallStack:\r\n");
        out.append(call_stack);
    }
    if (additional_info && additional_info[0] != '\0') {
        out.append("\r\n附属信息：");
        out.append(additional_info);
    }
}

}  // namespace crashguard
