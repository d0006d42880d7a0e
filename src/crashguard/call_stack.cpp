#include "crashguard/call_stack.h"

#include <unwind.h>

namespace crashguard {

namespace {

constexpr int kRawCapacity = FrameList::kCapacity + 16;

struct RawFrames {
    uintptr_t ips[kRawCapacity];
    bool signal_frame[kRawCapacity];
    int count = 0;
};

_Unwind_Reason_Code takeFrame(struct _Unwind_Context* context, void* arg) {
    auto* raw = static_cast<RawFrames*>(arg);
    if (raw->count >= kRawCapacity) return _URC_END_OF_STACK;
    int before = 0;
    uintptr_t ip = _Unwind_GetIPInfo(context, &before);
    if (ip == 0) return _URC_END_OF_STACK;
    raw->ips[raw->count] = ip;
    raw->signal_frame[raw->count] = before != 0;
    ++raw->count;
    return _URC_NO_REASON;
}

}  // namespace

void collectSignalFrames(uintptr_t fault_ip, uintptr_t resume_ip, FrameList& list) {
    RawFrames raw;
    _Unwind_Backtrace(takeFrame, &raw);
    list.count = 0;
    list.push(fault_ip);
    if (resume_ip != fault_ip) list.push(resume_ip);
    // The unwinder marks the interrupted frame as a signal frame and gives its
    // exact instruction pointer; everything before it is the handler itself.
    int first = -1;
    for (int i = 0; i < raw.count; ++i) {
        if (raw.signal_frame[i] && raw.ips[i] == resume_ip) {
            first = i;
            break;
        }
    }
    if (first < 0) return;
    for (int i = first + 1; i < raw.count; ++i) list.push(raw.ips[i]);
}

__attribute__((noinline)) void collectCallerFrames(int skip, FrameList& list) {
    RawFrames raw;
    _Unwind_Backtrace(takeFrame, &raw);
    list.count = 0;
    // Frame 0 is this routine, frame 1 its caller.
    for (int i = 1 + skip; i < raw.count; ++i) list.push(raw.ips[i]);
    asm volatile("" ::: "memory");
}

bool exportedSymbol(const Module& module, uintptr_t address, SymbolHit* hit) {
    return elfSymbolAt(module.start, module.end, address, hit);
}

namespace {

// Long enough for any routine or module name with a symbol of a few hundred
// bytes; a longer line is cut.
constexpr size_t kLineCapacity = 768;

// The text of the line for address `a`, without indentation or line end.
// False when the frame gives no line. `first` tells whether no line came
// before it (leading system frames are left out).
bool frameLine(uintptr_t a, const WalkInputs& in, bool first, TextBuffer& out) {
    if (a == 0 || !in.modules || !in.modules->isCode(a)) return false;
    uintptr_t limit = in.search_distance > 0 ? static_cast<uintptr_t>(in.search_distance) : 0;

    if (in.routines) {
        if (const Routine* r = in.routines->nearest(a, limit)) {
            out.append(r->name);
            if (a != r->start) {
                out.append("+0x");
                out.appendAutoHex(a - r->start);
                out.append("=");
                out.appendHex(a, kAddressDigits);
            }
            return true;
        }
    }

    const Module* m = in.modules->moduleOf(a);
    const char* name = m ? m->name : "";
    uintptr_t start = m ? m->start : 0;
    if (in.skip_system_frames && first && m && isSystemModule(name)) return false;

    SymbolHit hit;
    bool has_symbol = m && in.lookup && in.lookup(*m, a, &hit) && hit.name[0] != '\0';
    if (has_symbol && a - hit.start > limit) return false;

    if (has_symbol) {
        out.append("[");
        out.append(name);
        out.append("].");
        out.append(hit.name);
        if (a != hit.start) {
            out.append("+0x");
            out.appendAutoHex(a - hit.start);
        }
        return true;
    }
    if (name[0] != '\0') {
        out.append("[");
        out.append(name);
        out.append("]+");
    }
    out.append("0x");
    if (start != 0) {
        out.appendAutoHex(a - start);
        out.append("=");
    }
    out.appendHex(a, kAddressDigits);
    return true;
}

int indent(int line) { return line < kMaxIndent ? line : kMaxIndent; }

// Bytes that lines first..count-1 take when `first` becomes the top line.
size_t keptSize(const int* lengths, int count, int first) {
    size_t total = 0;
    for (int k = first; k < count; ++k) total += static_cast<size_t>(indent(k - first) + lengths[k]) + 2;
    return total;
}

}  // namespace

void formatCallStack(const FrameList& frames, const WalkInputs& in, TextBuffer& out) {
    if (frames.unwalkable) {
        out.append("无法回溯调用栈:栈指针");
        out.appendHex(frames.stack_pointer, kAddressDigits);
        out.append("不在本线程的栈内\r\n");
    }
    // First pass: which frames give a line, and how long each one is. The
    // lines are written as they come while they fit, which is the usual case.
    int lengths[FrameList::kCapacity];
    int count = 0;
    size_t start = out.size();
    bool fits = true;
    char body[kLineCapacity];
    for (int i = frames.count - 1; i >= 0; --i) {
        TextBuffer line(body, sizeof(body));
        if (!frameLine(frames.addresses[i], in, count == 0, line)) continue;
        lengths[count] = static_cast<int>(line.size());
        if (fits && static_cast<size_t>(indent(count) + lengths[count]) + 2 <= out.room()) {
            out.appendSpaces(indent(count));
            out.append(line.c_str());
            out.append("\r\n");
        } else {
            fits = false;
        }
        ++count;
    }
    if (fits) return;
    out.truncate(start);
    // Leave out the outermost lines until the rest fits.
    int first = 0;
    while (first < count && keptSize(lengths, count, first) > out.room()) ++first;

    // Second pass: the same decisions again, writing the kept lines.
    int k = 0;
    for (int i = frames.count - 1; i >= 0 && k < count; --i) {
        TextBuffer line(body, sizeof(body));
        if (!frameLine(frames.addresses[i], in, k == 0, line)) continue;
        if (k >= first) {
            out.appendSpaces(indent(k - first));
            out.append(line.c_str());
            out.append("\r\n");
        }
        ++k;
    }
}

bool analysisPosition(const FrameList& frames, const ModuleTable& modules, uintptr_t* position) {
    if (frames.count == 0 || modules.module_count == 0) return false;
    int i = 0;
    uintptr_t c = frames.addresses[0];
    if (!modules.isCode(c) && frames.count > 1) {
        // A call through a bad pointer: nothing ran at the faulting address,
        // so the caller's return address is where the chain starts.
        c = frames.addresses[++i];
        const Module* m = modules.moduleOf(c);
        if (m && modules.isMainExecutable(m) && modules.isCode(c)) {
            *position = c;
            return true;
        }
    }
    // Always move at least one frame up: inside the executable the answer is
    // a return address of the chain, never the faulting address itself.
    for (;;) {
        if (!modules.moduleOf(c)) break;
        if (++i >= frames.count) return false;
        c = frames.addresses[i];
        if (const Module* m = modules.moduleOf(c); m && modules.isMainExecutable(m)) break;
    }
    if (!modules.isCode(c)) return false;
    *position = c;
    return true;
}

}  // namespace crashguard
