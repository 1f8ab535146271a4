#include "CodePage1250.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage1250, EncodesCzechTextOneBytePerCharacter)
{
    EXPECT_EQ(CodePage1250::encode(u"č"), "\xE8");
    EXPECT_EQ(CodePage1250::encode(u"Vypočítáno\r\n"), "Vypo\xE8\xEDt\xE1no\r\n");
    EXPECT_EQ(CodePage1250::encode(u"ŘŠŽ€„"), "\xD8\x8A\x8E\x80\x84");
}

TEST(CodePage1250, CharactersItLacksBecomeQuestionMarks)
{
    EXPECT_EQ(CodePage1250::encode(u"a∞b"), "a?b");
    EXPECT_EQ(CodePage1250::encode(u"日本"), "??");
    EXPECT_EQ(CodePage1250::encode(u"x😀y"), "x?y") << "one mark for a surrogate pair";
    EXPECT_EQ(CodePage1250::encode(u"\xD800z"), "?z") << "a lone surrogate";
    EXPECT_EQ(CodePage1250::encode(u"\u0081"), "?") << "undefined in the code page";
}

TEST(CodePage1250, EveryDefinedByteRoundTrips)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98)
            bytes += char(b);
    EXPECT_EQ(CodePage1250::encode(CodePage1250::decode(bytes)), bytes);
}

TEST(CodePage1250, DecodesUndefinedBytesAsReplacementCharacters)
{
    EXPECT_EQ(CodePage1250::decode("\xE8\x81\x00x"), u"č\uFFFD");
    EXPECT_EQ(
        CodePage1250::decode(std::string_view("\x81\x00x", 3)), std::u16string(u"\uFFFD\0x", 3));
}

} // namespace
