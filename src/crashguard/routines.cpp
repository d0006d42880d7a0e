#include "crashguard/routines.h"

#include <unwind.h>

#include <cstring>
#include <mutex>

#include "crashguard/text_buffer.h"

namespace crashguard {

namespace {

std::mutex& writerLock() {
    static std::mutex lock;
    return lock;
}

struct IpList {
    uintptr_t ips[64];
    int count = 0;
};

_Unwind_Reason_Code collectIp(struct _Unwind_Context* context, void* arg) {
    auto* list = static_cast<IpList*>(arg);
    if (list->count >= 64) return _URC_END_OF_STACK;
    int before = 0;
    list->ips[list->count++] = _Unwind_GetIPInfo(context, &before);
    return _URC_NO_REASON;
}

// The unwinder's lookup of the frame description entry that covers an
// address; libgcc exports it without declaring it in <unwind.h>.
struct EhBases {
    void* tbase;
    void* dbase;
    void* func;
};
extern "C" const void* _Unwind_Find_FDE(void* pc, EhBases* bases);

// Pointer encodings of the call-frame tables (the low four bits give the
// size of the stored value).
constexpr uint8_t kEncodingOmit = 0xFF;

const uint8_t* skipLeb128(const uint8_t* p) {
    while (*p & 0x80) ++p;
    return p + 1;
}

uint64_t readUleb128(const uint8_t** p) {
    uint64_t value = 0;
    int shift = 0;
    uint8_t byte;
    do {
        byte = *(*p)++;
        if (shift < 64) value |= uint64_t{byte & 0x7Fu} << shift;
        shift += 7;
    } while (byte & 0x80);
    return value;
}

// Reads a value stored in `encoding`'s format, without applying its base
// (the routine's length is a plain size). False for a format we do not know.
bool readEncoded(const uint8_t** p, uint8_t encoding, uint64_t* value) {
    switch (encoding & 0x0F) {
        case 0x00:  // native pointer
        case 0x04:
        case 0x0C: {
            uint64_t v;
            std::memcpy(&v, *p, 8);
            *p += 8;
            *value = v;
            return true;
        }
        case 0x02:
        case 0x0A: {
            uint16_t v;
            std::memcpy(&v, *p, 2);
            *p += 2;
            *value = v;
            return true;
        }
        case 0x03:
        case 0x0B: {
            uint32_t v;
            std::memcpy(&v, *p, 4);
            *p += 4;
            *value = v;
            return true;
        }
        case 0x01:
        case 0x09: *value = readUleb128(p); return true;
        default: return false;
    }
}

// The pointer encoding a CIE gives its FDEs ('R' in its augmentation), or
// the native pointer when it names none.
bool fdeEncoding(const uint8_t* cie, uint8_t* encoding) {
    *encoding = 0x00;
    const uint8_t* p = cie + 8;  // length, CIE id
    uint8_t version = *p++;
    const char* augmentation = reinterpret_cast<const char*>(p);
    p += std::strlen(augmentation) + 1;
    if (augmentation[0] != 'z') return augmentation[0] == '\0';
    p = skipLeb128(p);                         // code alignment
    p = skipLeb128(p);                         // data alignment
    p = version == 1 ? p + 1 : skipLeb128(p);  // return address column
    p = skipLeb128(p);                         // augmentation data length
    for (const char* a = augmentation + 1; *a; ++a) {
        switch (*a) {
            case 'R': *encoding = *p++; break;
            case 'P': {
                uint8_t personality = *p++;
                uint64_t ignored;
                if (personality == kEncodingOmit || !readEncoded(&p, personality, &ignored)) return false;
                break;
            }
            case 'L': ++p; break;
            case 'S':
            case 'B':
            case 'G': break;
            default: return false;
        }
    }
    return true;
}

}  // namespace

bool routineExtent(uintptr_t address, uintptr_t* start, uintptr_t* end) {
    EhBases bases = {};
    const auto* fde = static_cast<const uint8_t*>(_Unwind_Find_FDE(reinterpret_cast<void*>(address), &bases));
    if (!fde || !bases.func) return false;
    uint32_t length;
    std::memcpy(&length, fde, 4);
    if (length == 0 || length == 0xFFFFFFFFu) return false;  // no 64-bit tables here
    int32_t cie_offset;
    std::memcpy(&cie_offset, fde + 4, 4);
    const uint8_t* cie = fde + 4 - cie_offset;
    uint8_t encoding;
    if (!fdeEncoding(cie, &encoding) || encoding == kEncodingOmit) return false;
    const uint8_t* p = fde + 8;
    uint64_t ignored, size;
    if (!readEncoded(&p, encoding, &ignored) || !readEncoded(&p, encoding, &size) || size == 0) return false;
    *start = reinterpret_cast<uintptr_t>(bases.func);
    *end = *start + size;
    return true;
}

bool RoutineTable::add(uintptr_t start, const char* name, uintptr_t end) {
    if (start == 0) return false;
    std::lock_guard<std::mutex> hold(writerLock());
    int n = __atomic_load_n(&count_, __ATOMIC_ACQUIRE);
    for (int i = 0; i < n; ++i)
        if (entries_[i].start == start) return false;
    if (n >= kCapacity) return false;
    entries_[n].start = start;
    entries_[n].end = end > start ? end : 0;
    TextBuffer text(entries_[n].name, sizeof(entries_[n].name));
    text.append(name);
    __atomic_store_n(&count_, n + 1, __ATOMIC_RELEASE);
    return true;
}

const Routine* RoutineTable::nearest(uintptr_t address, uintptr_t reach) const {
    int n = __atomic_load_n(&count_, __ATOMIC_ACQUIRE);
    const Routine* best = nullptr;
    for (int i = 0; i < n; ++i) {
        const Routine& r = entries_[i];
        if (r.start > address) continue;
        uintptr_t last = r.end != 0 ? r.end - r.start : reach;
        if (address - r.start > last) continue;
        if (!best || address - r.start < address - best->start) best = &r;
    }
    return best;
}

int RoutineTable::size() const { return __atomic_load_n(&count_, __ATOMIC_ACQUIRE); }

void RoutineTable::clear() {
    std::lock_guard<std::mutex> hold(writerLock());
    __atomic_store_n(&count_, 0, __ATOMIC_RELEASE);
}

RoutineTable& routineTable() {
    static RoutineTable table;
    return table;
}

// Out of line so that its own frame is the first one the unwind sees and
// `level` counts from its caller.
__attribute__((noinline)) bool registerRoutine(const char* name, int level) {
    if (level < 0) return false;
    IpList list;
    _Unwind_Backtrace(collectIp, &list);
    int index = level + 1;
    if (index >= list.count) return false;
    // A return address may lie just past the routine's end when the call was
    // its last instruction, so look up the byte before it.
    uintptr_t start = 0, end = 0;
    bool added = routineExtent(list.ips[index] - 1, &start, &end) && routineTable().add(start, name, end);
    asm volatile("" ::: "memory");  // keeps this call from becoming a tail call
    return added;
}

bool registerRoutineAt(const char* name, const void* entry) {
    uintptr_t at = reinterpret_cast<uintptr_t>(entry);
    uintptr_t start = 0, end = 0;
    // The extent counts only when the unwind tables describe this very
    // routine, not one that merely surrounds the address.
    if (!routineExtent(at, &start, &end) || start != at) end = 0;
    return routineTable().add(at, name, end);
}

}  // namespace crashguard
