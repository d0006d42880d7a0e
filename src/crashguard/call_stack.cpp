#include "crashguard/call_stack.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <unwind.h>

namespace crashguard {

namespace {

constexpr int kRawCapacity = FrameList::kCapacity + 16;

struct RawFrames {
    uintptr_t ips[kRawCapacity];
    bool signal_frame[kRawCapacity];
    int count = 0;
};

_Unwind_Reason_Code take_frame(struct _Unwind_Context* context, void* arg) {
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

void collect_signal_frames(uintptr_t fault_ip, FrameList& list) {
    RawFrames raw;
    _Unwind_Backtrace(take_frame, &raw);
    list.count = 0;
    list.push(fault_ip);
    // The unwinder marks the interrupted frame as a signal frame and gives its
    // exact instruction pointer; everything before it is the handler itself.
    int first = -1;
    for (int i = 0; i < raw.count; ++i) {
        if (raw.signal_frame[i] && raw.ips[i] == fault_ip) {
            first = i;
            break;
        }
    }
    if (first < 0) return;
    for (int i = first + 1; i < raw.count; ++i) list.push(raw.ips[i]);
}

__attribute__((noinline)) void collect_caller_frames(int skip, FrameList& list) {
    RawFrames raw;
    _Unwind_Backtrace(take_frame, &raw);
    list.count = 0;
    // Frame 0 is this routine, frame 1 its caller.
    for (int i = 1 + skip; i < raw.count; ++i) list.push(raw.ips[i]);
    asm volatile("" ::: "memory");
}

bool exported_symbol(uintptr_t address, SymbolHit* hit) {
    Dl_info info;
    const ElfW(Sym)* symbol = nullptr;
    if (dladdr1(reinterpret_cast<void*>(address), &info, reinterpret_cast<void**>(const_cast<ElfW(Sym)**>(&symbol)), RTLD_DL_SYMENT) == 0)
        return false;
    if (!info.dli_sname || !info.dli_saddr || !symbol) return false;
    uintptr_t start = reinterpret_cast<uintptr_t>(info.dli_saddr);
    // dladdr names the nearest symbol below, even far past its end; only an
    // address inside the symbol (or at its end, for a final call) counts.
    if (address < start || address - start > symbol->st_size) return false;
    hit->name = info.dli_sname;
    hit->start = start;
    return true;
}

void format_call_stack(const FrameList& frames, const WalkInputs& in, TextBuffer& out) {
    int line = 0;
    uintptr_t limit = in.search_distance > 0 ? static_cast<uintptr_t>(in.search_distance) : 0;
    for (int i = frames.count - 1; i >= 0; --i) {
        uintptr_t a = frames.addresses[i];
        if (a == 0 || !in.modules || !in.modules->is_code(a)) continue;

        if (in.routines) {
            if (const Routine* r = in.routines->nearest(a); r && a - r->start <= limit) {
                out.append_spaces(line++);
                out.append(r->name);
                if (a != r->start) {
                    out.append("+0x");
                    out.append_auto_hex(a - r->start);
                    out.append("=");
                    out.append_hex(a, kAddressDigits);
                }
                out.append("\r\n");
                continue;
            }
        }

        const Module* m = in.modules->module_of(a);
        const char* name = m ? m->name : "";
        uintptr_t start = m ? m->start : 0;
        if (in.skip_system_frames && line == 0 && m && is_system_module(name)) continue;

        SymbolHit hit;
        bool has_symbol = in.lookup && in.lookup(a, &hit) && hit.name && hit.name[0] != '\0';
        if (has_symbol && a - hit.start > limit) continue;

        out.append_spaces(line++);
        if (has_symbol) {
            out.append("[");
            out.append(name);
            out.append("].");
            out.append(hit.name);
            if (a != hit.start) {
                out.append("+0x");
                out.append_auto_hex(a - hit.start);
            }
        } else {
            if (name[0] != '\0') {
                out.append("[");
                out.append(name);
                out.append("]+");
            }
            out.append("0x");
            if (start != 0) {
                out.append_auto_hex(a - start);
                out.append("=");
            }
            out.append_hex(a, kAddressDigits);
        }
        out.append("\r\n");
    }
}

bool analysis_position(const FrameList& frames, const ModuleTable& modules, uintptr_t* position) {
    if (frames.count == 0 || modules.module_count == 0) return false;
    int i = 0;
    uintptr_t c = frames.addresses[0];
    // Always move at least one frame up: inside the executable the answer is
    // a return address of the chain, never the faulting address itself.
    for (;;) {
        if (!modules.module_of(c)) break;
        if (++i >= frames.count) return false;
        c = frames.addresses[i];
        if (const Module* m = modules.module_of(c); m && modules.is_main_executable(m)) break;
    }
    if (!modules.is_code(c)) return false;
    *position = c;
    return true;
}

}  // namespace crashguard
