#include "crashguard/elf_symbols.h"

#include <elf.h>
#include <link.h>

#include "crashguard/safe_memory.h"

namespace crashguard {

namespace {

constexpr int kMaxProgramHeaders = 64;
constexpr int kMaxDynamicEntries = 256;
// Far more than any real object exports; bounds the walk of a torn table.
constexpr uint32_t kMaxSymbols = 1u << 20;
constexpr uintptr_t kPageMask = ~static_cast<uintptr_t>(4095);

struct DynamicTables {
    uintptr_t bias = 0;
    uintptr_t symtab = 0;
    uintptr_t strtab = 0;
    uintptr_t strsz = 0;
    uintptr_t hash = 0;
    uintptr_t gnu_hash = 0;
};

// The loader relocates the pointers of most objects' dynamic sections in
// place; others (the loader's own view of some objects) keep link-time
// values. Whichever lands inside the object is the one to use.
uintptr_t inObject(uintptr_t value, uintptr_t bias, uintptr_t start, uintptr_t end) {
    if (value >= start && value < end) return value;
    return value + bias;
}

bool readTables(uintptr_t start, uintptr_t end, DynamicTables* t) {
    ElfW(Ehdr) eh;
    if (!safeRead(start, &eh, sizeof(eh))) return false;
    if (eh.e_ident[EI_MAG0] != ELFMAG0 || eh.e_ident[EI_MAG1] != ELFMAG1 || eh.e_ident[EI_MAG2] != ELFMAG2 ||
        eh.e_ident[EI_MAG3] != ELFMAG3 || eh.e_ident[EI_CLASS] != ELFCLASS64)
        return false;
    if (eh.e_phentsize != sizeof(ElfW(Phdr)) || eh.e_phnum == 0 || eh.e_phnum > kMaxProgramHeaders) return false;
    ElfW(Phdr) ph[kMaxProgramHeaders];
    if (!safeRead(start + eh.e_phoff, ph, eh.e_phnum * sizeof(ElfW(Phdr)))) return false;

    uintptr_t lowest = ~static_cast<uintptr_t>(0);
    uintptr_t dynamic = 0;
    for (int i = 0; i < eh.e_phnum; ++i) {
        if (ph[i].p_type == PT_LOAD && ph[i].p_vaddr < lowest) lowest = ph[i].p_vaddr;
        if (ph[i].p_type == PT_DYNAMIC) dynamic = ph[i].p_vaddr;
    }
    if (dynamic == 0 || lowest == ~static_cast<uintptr_t>(0)) return false;
    t->bias = eh.e_type == ET_DYN ? start - (lowest & kPageMask) : 0;

    uintptr_t at = t->bias + dynamic;
    ElfW(Dyn) chunk[32];
    int have = 0, next = 0;
    for (int i = 0; i < kMaxDynamicEntries; ++i) {
        if (next == have) {
            // Whole chunks where they can be read; entry by entry near the
            // end of the mapping.
            uintptr_t from = at + i * sizeof(ElfW(Dyn));
            have = safeRead(from, chunk, sizeof(chunk)) ? 32 : safeRead(from, chunk, sizeof(ElfW(Dyn))) ? 1 : 0;
            next = 0;
            if (have == 0) return false;
        }
        const ElfW(Dyn)& d = chunk[next++];
        if (d.d_tag == DT_NULL) break;
        uintptr_t v = d.d_un.d_ptr;
        switch (d.d_tag) {
            case DT_SYMTAB: t->symtab = inObject(v, t->bias, start, end); break;
            case DT_STRTAB: t->strtab = inObject(v, t->bias, start, end); break;
            case DT_STRSZ: t->strsz = v; break;
            case DT_HASH: t->hash = inObject(v, t->bias, start, end); break;
            case DT_GNU_HASH: t->gnu_hash = inObject(v, t->bias, start, end); break;
            default: break;
        }
    }
    return t->symtab != 0 && t->strtab != 0 && (t->hash != 0 || t->gnu_hash != 0);
}

// The number of entries of the symbol table. The dynamic section does not
// say it: the classic hash table holds it, the GNU one only implies it as one
// past the highest index its chains reach.
uint32_t symbolCount(const DynamicTables& t) {
    if (t.hash != 0) {
        uint32_t words[2];
        if (!safeRead(t.hash, words, sizeof(words))) return 0;
        return words[1] < kMaxSymbols ? words[1] : kMaxSymbols;
    }
    uint32_t header[4];  // buckets, first hashed symbol, bloom words, bloom shift
    if (!safeRead(t.gnu_hash, header, sizeof(header))) return 0;
    uint32_t buckets = header[0], first = header[1], bloom = header[2];
    if (buckets == 0 || buckets > kMaxSymbols || bloom > kMaxSymbols) return 0;
    uintptr_t bucket_at = t.gnu_hash + sizeof(header) + uintptr_t{bloom} * sizeof(ElfW(Addr));
    uintptr_t chain_at = bucket_at + uintptr_t{buckets} * 4;
    uint32_t highest = 0;
    uint32_t chunk[1024];
    for (uint32_t i = 0; i < buckets; i += 1024) {
        uint32_t n = buckets - i < 1024 ? buckets - i : 1024;
        if (!safeRead(bucket_at + uintptr_t{i} * 4, chunk, n * 4)) return 0;
        for (uint32_t j = 0; j < n; ++j)
            if (chunk[j] > highest) highest = chunk[j];
    }
    if (highest < first) return first;
    // The chain of the highest bucket ends with a word whose low bit is set.
    for (uint32_t index = highest; index < kMaxSymbols; ++index) {
        uint32_t word;
        if (!safeRead(chain_at + uintptr_t{index - first} * 4, &word, 4)) return index;
        if (word & 1) return index + 1;
    }
    return kMaxSymbols;
}

}  // namespace

bool elfSymbolAt(uintptr_t object_start, uintptr_t object_end, uintptr_t address, ElfSymbol* out) {
    if (object_start == 0 || address == 0) return false;
    DynamicTables t;
    if (!readTables(object_start, object_end, &t)) return false;
    uint32_t count = symbolCount(t);

    bool found = false;
    uintptr_t best_start = 0;
    uint32_t best_name = 0;
    ElfW(Sym) symbols[192];
    for (uint32_t i = 0; i < count; i += 192) {
        uint32_t n = count - i < 192 ? count - i : 192;
        if (!safeRead(t.symtab + uintptr_t{i} * sizeof(ElfW(Sym)), symbols, n * sizeof(ElfW(Sym)))) break;
        for (uint32_t j = 0; j < n; ++j) {
            const ElfW(Sym)& s = symbols[j];
            int type = ELF64_ST_TYPE(s.st_info);
            if ((type != STT_FUNC && type != STT_GNU_IFUNC) || s.st_shndx == SHN_UNDEF || s.st_value == 0) continue;
            uintptr_t start = t.bias + s.st_value;
            if (address < start || address - start > s.st_size) continue;
            if (!found || start > best_start) {
                found = true;
                best_start = start;
                best_name = s.st_name;
            }
        }
    }
    if (!found || (t.strsz != 0 && best_name >= t.strsz)) return false;
    if (!safeReadText(t.strtab + best_name, out->name, sizeof(out->name)) || out->name[0] == '\0') return false;
    out->start = best_start;
    return true;
}

}  // namespace crashguard
