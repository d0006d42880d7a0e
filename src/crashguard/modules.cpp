#include "crashguard/modules.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/text_buffer.h"

namespace crashguard {

namespace {

// Parses hex digits at *p; moves *p past them. Any context.
uintptr_t parseHex(const char** p, const char* end, bool* ok) {
    uintptr_t value = 0;
    int digits = 0;
    while (*p < end) {
        char c = **p;
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0) break;
        value = value * 16 + static_cast<uintptr_t>(d);
        ++digits;
        ++*p;
    }
    *ok = digits > 0 && digits <= 16;
    return value;
}

const char* skipField(const char* p, const char* end) {
    while (p < end && *p == ' ') ++p;
    while (p < end && *p != ' ') ++p;
    return p;
}

const char* baseName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/') name = p + 1;
    return name;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNocase(const char* text, const char* prefix) {
    for (; *prefix; ++prefix, ++text)
        if (lower(*text) != lower(*prefix)) return false;
    return true;
}

}  // namespace

const Module* ModuleTable::moduleOf(uintptr_t address) const {
    for (int i = 0; i < module_count; ++i)
        if (modules[i].start <= address && address <= modules[i].end) return &modules[i];
    return nullptr;
}

bool ModuleTable::isCode(uintptr_t address) const {
    for (int i = 0; i < code_count; ++i)
        if (code[i].start <= address && address < code[i].end) return true;
    return false;
}

MapsParser::MapsParser(ModuleTable& table, const char* main_path) : table_(table), main_path_(main_path) {
    table_.module_count = 0;
    table_.code_count = 0;
}

void MapsParser::feed(const char* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        char c = data[i];
        if (c == '\n') {
            takeLine();
            continue;
        }
        if (line_length_ + 1 < sizeof(line_)) line_[line_length_++] = c;
        else line_overflow_ = true;
    }
}

void MapsParser::finish() {
    if (line_length_ > 0) takeLine();
    // The executable leads the table, as the analysis position relies on it.
    if (main_index_ > 0) {
        Module main = table_.modules[main_index_];
        for (int i = main_index_; i > 0; --i) table_.modules[i] = table_.modules[i - 1];
        table_.modules[0] = main;
        main_index_ = 0;
    }
}

void MapsParser::takeLine() {
    line_[line_length_] = '\0';
    bool overflow = line_overflow_;
    size_t length = line_length_;
    line_length_ = 0;
    line_overflow_ = false;
    if (overflow) return;  // a path longer than any real one: not a line we can trust

    const char* p = line_;
    const char* end = line_ + length;
    bool ok1 = false, ok2 = false;
    uintptr_t start = parseHex(&p, end, &ok1);
    if (p >= end || *p != '-') return;
    ++p;
    uintptr_t stop = parseHex(&p, end, &ok2);
    if (!ok1 || !ok2 || stop <= start) return;
    while (p < end && *p == ' ') ++p;
    if (end - p < 4) return;
    bool executable = p[2] == 'x';
    p += 4;
    p = skipField(p, end);  // offset
    p = skipField(p, end);  // device
    p = skipField(p, end);  // inode
    while (p < end && *p == ' ') ++p;

    if (executable && table_.code_count < ModuleTable::kMaxCodeRanges)
        table_.code[table_.code_count++] = CodeRange{start, stop};
    if (p < end && *p == '/') addModule(p, start, stop);
}

void MapsParser::addModule(const char* path, uintptr_t start, uintptr_t end) {
    const char* name = baseName(path);
    bool is_main = main_path_ && safeStreq(path, main_path_);
    Module* m = nullptr;
    for (int i = 0; i < table_.module_count; ++i) {
        if (safeStreq(table_.modules[i].name, name)) {
            m = &table_.modules[i];
            break;
        }
    }
    if (!m) {
        if (table_.module_count >= ModuleTable::kMaxModules) return;
        m = &table_.modules[table_.module_count];
        TextBuffer text(m->name, sizeof(m->name));
        text.append(name);
        m->start = start;
        m->end = end;
        if (is_main) main_index_ = table_.module_count;
        ++table_.module_count;
        return;
    }
    if (start < m->start) m->start = start;
    if (end > m->end) m->end = end;
}

bool snapshotModules(ModuleTable& table, const char* main_path) {
    MapsParser parser(table, main_path);
    int fd;
    do {
        fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    char chunk[2048];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        parser.feed(chunk, static_cast<size_t>(n));
    }
    close(fd);
    parser.finish();
    return table.module_count > 0;
}

bool isSystemModule(const char* name) {
    return startsWithNocase(name, "libc.so") || startsWithNocase(name, "ld-linux") || startsWithNocase(name, "libc-") ||
           startsWithNocase(name, "ld-2.");
}

}  // namespace crashguard
