// The GBK facts the program computes with. Text lives as UTF-8; these
// functions give its GBK bytes and byte-based measures.
#pragma once

#include <string>
#include <string_view>

namespace runtime::gbk {

// GBK bytes of a UTF-8 text. Characters GBK cannot hold are written as their
// GB18030 four-byte sequences, so nothing is silently replaced. Invalid UTF-8
// input bytes are skipped.
std::string encode(std::string_view utf8);

// UTF-8 text of GBK (or GB18030) bytes. A byte sequence that is not valid
// GB18030 becomes U+FFFD for that byte, so the result is always valid UTF-8.
std::string decode(std::string_view gbkBytes);

// Length of the text in GBK bytes.
size_t byteLength(std::string_view utf8);

// The longest prefix of the text whose GBK form has at most maxBytes bytes,
// never cutting inside a character.
std::string cutToBytes(std::string_view utf8, size_t maxBytes);

// Removes every ASCII space and every full-width space (U+3000, GBK A1 A1).
std::string removeSpaces(std::string_view utf8);

// Trims ASCII and full-width spaces from both ends.
std::string trimBlanks(std::string_view utf8);

// The length in bytes of the UTF-8 character that starts at pos; 0 at the
// end of the text and where the bytes there are not one whole, valid
// character (callers skip one byte then).
size_t nextCharLength(std::string_view utf8, size_t pos);

}  // namespace runtime::gbk
