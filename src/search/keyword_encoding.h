// Keywords travel to the listing site as %XX escapes of every GBK byte.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace search {

// Escapes every GBK byte of the text, ASCII included, as "%" and two
// upper-case hex digits ("abc" -> "%61%62%63", a space -> "%20"). Characters
// GBK cannot hold go as their GB18030 bytes. afterEachByte, when set, runs
// after every byte: the program lets queued window messages through there,
// so a click made while a long keyword is encoded is not held back.
std::string encodeKeyword(std::string_view utf8, const std::function<void()>& afterEachByte = {});

}  // namespace search
