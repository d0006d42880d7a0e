#include "runtime/gbk.h"

#include <glib.h>
#include <gtest/gtest.h>

namespace {

using namespace runtime::gbk;

TEST(Gbk, EncodesChineseAsciiAndCharactersOutsideGbk) {
    EXPECT_EQ(encode("变态"), "\xB1\xE4\xCC\xAC");
    EXPECT_EQ(encode("abc 1"), "abc 1");
    EXPECT_EQ(encode("１８５"), "\xA3\xB1\xA3\xB8\xA3\xB5");
    // U+20AC is outside GBK proper; GB18030 has a home for it, so it is not
    // turned into "?".
    std::string euro = encode("\xE2\x82\xAC");
    EXPECT_NE(euro, "?");
    EXPECT_EQ(decode(euro), "\xE2\x82\xAC");
    // An emoji takes a four-byte GB18030 sequence.
    EXPECT_EQ(encode("\xF0\x9F\x98\x80").size(), 4u);
    // A tag character (U+E0072): the GBK converter drops it silently, so
    // it must still reach its GB18030 form and decode back (found by fuzzing).
    EXPECT_EQ(encode("\xF3\xA0\x81\xB2"), "\xD3\x36\xA1\x32");
    EXPECT_EQ(decode("\xD3\x36\xA1\x32"), "\xF3\xA0\x81\xB2");
}

TEST(Gbk, DecodeNeverProducesInvalidUtf8) {
    EXPECT_EQ(decode("\xB1\xE4\xCC\xAC"), "变态");
    std::string broken = decode("a\xB1");  // a lead byte with nothing after it
    EXPECT_EQ(broken, "a\xEF\xBF\xBD");
    EXPECT_TRUE(g_utf8_validate(broken.c_str(), -1, nullptr));
}

TEST(Gbk, CutNeverSplitsACharacter) {
    EXPECT_EQ(byteLength("a变态"), 5u);
    EXPECT_EQ(cutToBytes("a变态", 4), "a变");
    EXPECT_EQ(cutToBytes("a变态", 2), "a");
    EXPECT_EQ(cutToBytes("a变态", 0), "");
    EXPECT_EQ(cutToBytes("abc", 10), "abc");
}

TEST(Gbk, SpacesAreAsciiAndFullWidth) {
    EXPECT_EQ(removeSpaces(" 输入\xE3\x80\x80关键字 "), "输入关键字");
    EXPECT_EQ(trimBlanks("\xE3\x80\x80 a b \xE3\x80\x80"), "a b");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(encode("\xE3\x80\x80"), "\xA1\xA1");
}

}  // namespace
