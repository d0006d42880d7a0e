// The WebBrowser kind's display-free parts: its property block, border
// frames, address and header texts, load-state numbers, colour texts and the
// open new-window slots.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/value.h"
#include "web_browser.h"

namespace widgets::web_browser {

// The persisted block: version, border style, silent, offline, register as
// drop target, register as browser; all little-endian 32-bit.
struct Block {
    static constexpr uint32_t kVersion = 1;
    int32_t borderStyle = 0;
    bool silent = false;
    bool offline = false;
    bool dropTarget = true;
    bool registerAsBrowser = false;

    runtime::Bytes serialize() const;
    // An empty block gives the defaults; a newer version or a truncated block
    // gives nothing (the control is not created).
    static std::optional<Block> parse(const runtime::Bytes& b);
};

// A border style outside 0..5 is taken as 0 (no border).
int32_t clampBorderStyle(int32_t style);

// One 1-pixel ring of a border frame, outermost first; colours 0x00BBGGRR.
struct BorderRing {
    uint32_t topLeft;
    uint32_t bottomRight;
    bool operator==(const BorderRing&) const = default;
};
std::vector<BorderRing> borderRings(int32_t style);

// What a typed address becomes: a scheme-less text that looks like a host
// ("www.example.com/x", "localhost:8080") gets "http://"; anything else is
// kept (trimmed) so that the engine's error page shows what it cannot open.
std::string normaliseAddress(std::string_view text);
bool looksLikeHost(std::string_view text);

// The address as the engine's request takes it: the engine reads a
// request's address byte by byte as Latin-1, so every byte from 0x80 up is
// percent-escaped (typed UTF-8 text arrives as its UTF-8 escapes, not
// doubly encoded), and a non-ASCII host name goes to its ASCII form.
std::string requestAddress(std::string_view address);

// "Name: value" lines separated by CR LF or LF. Lines without a colon or
// with an empty or malformed name are skipped, so a bad header text never
// makes the request fail.
std::vector<std::pair<std::string, std::string>> parseHeaders(std::string_view text);
std::string formatHeaders(const std::vector<std::pair<std::string, std::string>>& headers);

// Ready state 0..4 (uninitialised, loading, loaded, interactive, complete)
// from the engine's load phase.
enum class LoadPhase { kNone, kStarted, kRedirected, kCommitted, kFinished };
int32_t readyState(LoadPhase phase);

// Estimated load progress 0..1 as an integer out of kProgressMaximum.
int32_t progressValue(double fraction);

// Remembers the back/forward states last reported and tells which changed.
class CommandStates {
public:
    // (command, enabled) pairs that differ from the last report, forward first.
    std::vector<std::pair<int, bool>> update(bool canGoBack, bool canGoForward);

private:
    bool back_ = false;
    bool forward_ = false;
};

// "rgb(r, g, b)" or "rgba(...)" or "#rrggbb" to 0x00BBGGRR.
std::optional<uint32_t> parseCssColour(std::string_view text);
// 0x00BBGGRR to "#rrggbb".
std::string cssColour(uint32_t colour);

// New-window slots: a slot is open only while its kNewWindow event runs;
// AcceptNewWindow stores a browser into it, a later accept replacing an
// earlier one, as the slot holds one object.
class NewWindowSlots {
public:
    int32_t open();
    bool accept(int32_t slot, runtime::ComponentRef browser);
    // Closes the slot and gives what it holds.
    std::optional<runtime::ComponentRef> close(int32_t slot);
    bool isOpen(int32_t slot) const;

private:
    std::vector<std::pair<int32_t, std::optional<runtime::ComponentRef>>> open_;
    int32_t next_ = 1;
};

}  // namespace widgets::web_browser
