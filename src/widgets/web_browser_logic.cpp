#include "web_browser_logic.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <glib.h>

#include "runtime/colour.h"
#include "runtime/property_block.h"

namespace widgets::web_browser {

runtime::Bytes Block::serialize() const {
    runtime::BlockWriter w;
    w.u32(kVersion).i32(borderStyle).u32(silent).u32(offline).u32(dropTarget).u32(registerAsBrowser);
    return w.take();
}

std::optional<Block> Block::parse(const runtime::Bytes& b) {
    Block out;
    if (b.empty()) return out;
    runtime::BlockReader r(b);
    auto version = r.u32();
    auto border = r.i32();
    auto silent = r.u32(), offline = r.u32(), drop = r.u32(), browser = r.u32();
    if (!r.ok() || *version > kVersion) return std::nullopt;
    out.borderStyle = clampBorderStyle(*border);
    out.silent = *silent != 0;
    out.offline = *offline != 0;
    out.dropTarget = *drop != 0;
    out.registerAsBrowser = *browser != 0;
    return out;
}

int32_t clampBorderStyle(int32_t style) { return style >= 0 && style <= 5 ? style : 0; }

std::vector<BorderRing> borderRings(int32_t style) {
    // The classic three-dimensional edges: a sunken client edge, a raised
    // dialog frame, a thin sunken static edge and a plain black line.
    constexpr uint32_t kHighlight = runtime::rgb(255, 255, 255), kLight = runtime::rgb(227, 227, 227),
                       kFace = runtime::rgb(240, 240, 240), kShadow = runtime::rgb(160, 160, 160),
                       kDarkShadow = runtime::rgb(105, 105, 105), kBlack = runtime::rgb(0, 0, 0);
    const std::vector<BorderRing> clientEdge{{kShadow, kHighlight}, {kDarkShadow, kLight}};
    const std::vector<BorderRing> modalFrame{{kLight, kDarkShadow}, {kHighlight, kShadow}, {kFace, kFace}};
    switch (clampBorderStyle(style)) {
        case 1: return clientEdge;
        case 2: return modalFrame;
        case 3: return {{kShadow, kHighlight}};
        case 4: {
            auto rings = modalFrame;
            rings.insert(rings.end(), clientEdge.begin(), clientEdge.end());
            return rings;
        }
        case 5: return {{kBlack, kBlack}};
        default: return {};
    }
}

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isLabelChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '-' || u >= 0x80;  // bytes of internationalised names
}

bool isIpv4(const std::vector<std::string_view>& labels) {
    if (labels.size() != 4) return false;
    for (auto l : labels)
        if (!allDigits(l) || l.size() > 3 || std::stoi(std::string(l)) > 255) return false;
    return true;
}

}  // namespace

bool looksLikeHost(std::string_view text) {
    if (text.empty() || std::any_of(text.begin(), text.end(), isSpace)) return false;
    std::string_view host = text.substr(0, text.find_first_of("/?#"));
    if (auto colon = host.find(':'); colon != std::string_view::npos) {
        std::string_view port = host.substr(colon + 1);
        if (!allDigits(port) || port.size() > 5) return false;
        host = host.substr(0, colon);
    }
    if (host == "localhost") return true;
    std::vector<std::string_view> labels;
    for (size_t start = 0;;) {
        size_t dot = host.find('.', start);
        labels.push_back(host.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    if (labels.size() < 2) return false;
    for (auto l : labels)
        if (l.empty() || !std::all_of(l.begin(), l.end(), isLabelChar)) return false;
    if (isIpv4(labels)) return true;
    // A top-level domain is never all digits ("1.5" is a number, not a host).
    return !allDigits(labels.back());
}

std::string normaliseAddress(std::string_view text) {
    std::string_view t = trim(text);
    if (looksLikeHost(t)) return "http://" + std::string(t);
    return std::string(t);
}

std::string requestAddress(std::string_view address) {
    auto escape = [](std::string_view part) {
        static const char* hex = "0123456789ABCDEF";
        std::string out;
        for (char c : part) {
            auto u = static_cast<unsigned char>(c);
            if (u < 0x80) {
                out += c;
            } else {
                out += '%';
                out += hex[u >> 4];
                out += hex[u & 15];
            }
        }
        return out;
    };
    size_t hostStart = address.find("://");
    if (hostStart == std::string_view::npos) return escape(address);
    hostStart += 3;
    size_t hostEnd = std::min(address.find_first_of("/?#", hostStart), address.size());
    std::string_view host = address.substr(hostStart, hostEnd - hostStart);
    std::string asciiHost;
    bool plainName = host.find_first_of("@:") == std::string_view::npos;
    if (plainName &&
        std::any_of(host.begin(), host.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        std::string name(host);
        if (gchar* ascii = g_hostname_to_ascii(name.c_str())) {
            asciiHost = ascii;
            g_free(ascii);
        }
    }
    if (asciiHost.empty()) asciiHost = escape(host);
    return std::string(address.substr(0, hostStart)) + asciiHost + escape(address.substr(hostEnd));
}

std::vector<std::pair<std::string, std::string>> parseHeaders(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> out;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = trim(line.substr(0, colon));
        std::string_view value = trim(line.substr(colon + 1));
        // Header names are tokens; anything else would be refused by the
        // network layer or could smuggle a second header.
        bool token = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            auto u = static_cast<unsigned char>(c);
            return u > 32 && u < 127 && !std::strchr("()<>@,;:\\\"/[]?={}", c);
        });
        bool clean = std::none_of(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\0'; });
        if (token && clean) out.emplace_back(name, value);
    }
    return out;
}

std::string formatHeaders(const std::vector<std::pair<std::string, std::string>>& headers) {
    std::string out;
    for (const auto& [name, value] : headers) out += name + ": " + value + "\r\n";
    return out;
}

int32_t readyState(LoadPhase phase) {
    switch (phase) {
        case LoadPhase::kNone: return 0;
        case LoadPhase::kStarted:
        case LoadPhase::kRedirected: return 1;
        case LoadPhase::kCommitted: return 3;
        case LoadPhase::kFinished: return 4;
    }
    return 0;
}

int32_t progressValue(double fraction) {
    if (!std::isfinite(fraction) || fraction <= 0) return 0;
    if (fraction >= 1) return kProgressMaximum;
    return static_cast<int32_t>(fraction * kProgressMaximum + 0.5);
}

std::vector<std::pair<int, bool>> CommandStates::update(bool canGoBack, bool canGoForward) {
    std::vector<std::pair<int, bool>> changes;
    if (canGoForward != forward_) changes.emplace_back(command::kForward, canGoForward);
    if (canGoBack != back_) changes.emplace_back(command::kBack, canGoBack);
    forward_ = canGoForward;
    back_ = canGoBack;
    return changes;
}

std::optional<uint32_t> parseCssColour(std::string_view text) {
    text = trim(text);
    unsigned r = 0, g = 0, b = 0;
    std::string s(text);
    if (s.size() == 7 && s[0] == '#' &&
        std::all_of(s.begin() + 1, s.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
        unsigned long v = std::stoul(s.substr(1), nullptr, 16);
        return runtime::rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int n = 0;
    if (std::sscanf(s.c_str(), "rgb(%u , %u , %u )%n", &r, &g, &b, &n) == 3 ||
        std::sscanf(s.c_str(), "rgba(%u , %u , %u ,%*f )%n", &r, &g, &b, &n) == 3) {
        if (r > 255 || g > 255 || b > 255) return std::nullopt;
        return runtime::rgb(r, g, b);
    }
    return std::nullopt;
}

std::string cssColour(uint32_t colour) {
    char buf[8];
    std::snprintf(
        buf, sizeof buf, "#%02x%02x%02x", runtime::red(colour), runtime::green(colour), runtime::blue(colour));
    return buf;
}

int32_t NewWindowSlots::open() {
    int32_t slot = next_++;
    if (next_ <= 0) next_ = 1;  // a slot number is never 0 or negative
    open_.emplace_back(slot, std::nullopt);
    return slot;
}

bool NewWindowSlots::accept(int32_t slot, runtime::ComponentRef browser) {
    for (auto& [s, held] : open_)
        if (s == slot) {
            held = browser;
            return true;
        }
    return false;
}

std::optional<runtime::ComponentRef> NewWindowSlots::close(int32_t slot) {
    auto it = std::find_if(open_.begin(), open_.end(), [&](const auto& e) { return e.first == slot; });
    if (it == open_.end()) return std::nullopt;
    auto held = it->second;
    open_.erase(it);
    return held;
}

bool NewWindowSlots::isOpen(int32_t slot) const {
    return std::any_of(open_.begin(), open_.end(), [&](const auto& e) { return e.first == slot; });
}

}  // namespace widgets::web_browser
