// TCVN3 decoding and encoding of stored Vietnamese texts.
#include "frame/Tcvn3.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string decoded(const char* text, int length = kTcvn3WholeText)
{
    const auto units = DecodeTcvn3(text, length);
    return units ? std::u16string(units.get()) : u"<null>";
}

std::string encoded(const char16_t* text, int length = kTcvn3WholeText)
{
    const auto bytes = EncodeTcvn3(text, length);
    return bytes ? std::string(bytes.get()) : "<null>";
}

TEST(Tcvn3Conversion, NullInputGivesNullAndEmptyInputGivesEmpty)
{
    EXPECT_EQ(DecodeTcvn3(nullptr), nullptr);
    EXPECT_EQ(EncodeTcvn3(nullptr), nullptr);
    EXPECT_EQ(DecodeTcvn3(nullptr, 5), nullptr);
    EXPECT_EQ(decoded(""), u"");
    EXPECT_EQ(encoded(u""), "");
    EXPECT_EQ(decoded("abc", 0), u"");
    EXPECT_EQ(encoded(u"abc", 0), "");
}

TEST(Tcvn3Decode, TurnsStoredLettersIntoVietnamese)
{
    EXPECT_EQ(decoded("Ch\xE4n polyline"), u"Ch\u1ECDn polyline");        // Chọn polyline
    EXPECT_EQ(decoded("\n\xA7i\xD3m chia:"), u"\n\u0110i\u1EC3m chia:");  // Điểm chia
    EXPECT_EQ(decoded("Kh\xABng m\xEB"), u"Kh\u00F4ng m\u1EDF");          // Không mở
    EXPECT_EQ(decoded("\xFD\xFE"), u"\u00FD\u1EF5");
}

TEST(Tcvn3Decode, OnlyTheSeventyThreeLetterPositionsLeaveLatin1)
{
    int letters = 0;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char text[] = {static_cast<char>(b), 0};
        const std::u16string unit = decoded(text);
        ASSERT_EQ(unit.size(), 1u) << b;
        if (unit[0] != static_cast<char16_t>(b))
            ++letters;
    }
    EXPECT_EQ(letters, 73);
}

TEST(Tcvn3Decode, EscapeBytesCarryArbitraryUnits)
{
    // 0x01: two bytes little-endian; 0x02: one byte sign-extended.
    EXPECT_EQ(decoded("x\x01\xA1\x1Ey"), u"x\u1EA1y");
    EXPECT_EQ(decoded("a\x02\x7F"
                      "b\x02\x80"),
              u"a\u007Fb\uFF80");
    // With an explicit length the two bytes of 0x01 may hold a zero.
    EXPECT_EQ(decoded("\x01\x41\x00z", 4), u"Az");
}

TEST(Tcvn3Decode, EscapeCutShortByTheEndIsDropped)
{
    EXPECT_EQ(decoded("ab\x01\x41"), u"ab");
    EXPECT_EQ(decoded("ab\x01\x41\x42", 4), u"ab");
    EXPECT_EQ(decoded("ab\x02"), u"ab");
}

TEST(Tcvn3Decode, StopsAtTheLengthOrAtAZeroByte)
{
    EXPECT_EQ(decoded("abcdef", 3), u"abc");
    EXPECT_EQ(decoded("ab\0cd", 5), u"ab");
    EXPECT_EQ(decoded("Ch\xE4n", 3), u"Ch\u1ECD");
}

TEST(Tcvn3RoundTrip, DecodingThenEncodingGivesBackTheBytes)
{
    // Every byte but the escapes, 0xC2 and 0xE0 (see the next test), in one text.
    std::string text;
    for (int b = 0x03; b <= 0xFF; ++b)
        if (b != 0xC2 && b != 0xE0)
            text.push_back(static_cast<char>(b));
    const auto units = DecodeTcvn3(text.c_str());
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(encoded(units.get()), text);
}

TEST(Tcvn3RoundTrip, Latin1LettersThatTheCodePageKeepsElsewhereMoveToTheirLetterByte)
{
    // 0xC2 decodes to U+00C2 and 0xE0 to U+00E0, which the code page stores at 0xA2 and 0xB5.
    EXPECT_EQ(encoded(decoded("\xC2\xE0").c_str()), "\xA2\xB5");
}

TEST(Tcvn3Encode, LettersGetTheirBytesAndOtherUnitsTheirLowByte)
{
    EXPECT_EQ(encoded(u"Ch\u1ECDn \u0110\u0103"), "Ch\xE4n \xA7\xA8");
    EXPECT_EQ(encoded(u"\u00FD"), "\xFD");
    EXPECT_EQ(encoded(u"\u0141"), "\x41");  // no letter of the code page: low 8 bits
    EXPECT_EQ(encoded(u"abc", 2), "ab");
}

TEST(Tcvn3Encode, CapitalsWithToneMarksLoseTheirIdentity)
{
    // Ọ (U+1ECC) has no byte; its low byte 0xCC reads back as è.
    const std::string bytes = encoded(u"\u1ECC");
    EXPECT_EQ(bytes, "\xCC");
    EXPECT_EQ(decoded(bytes.c_str()), u"\u00E8");
    // Capitals without tone marks do have bytes and survive.
    EXPECT_EQ(decoded(encoded(u"\u0102\u00C2\u00CA\u00D4\u01A0\u01AF\u0110").c_str()),
              u"\u0102\u00C2\u00CA\u00D4\u01A0\u01AF\u0110");
}

TEST(Tcvn3WideText, DecodesToHostStringsAndBack)
{
    EXPECT_EQ(DecodeTcvn3Text("\nCh\xE4n polyline:"), L"\nCh\u1ECDn polyline:");
    EXPECT_EQ(DecodeTcvn3Text(""), L"");
    EXPECT_EQ(EncodeTcvn3Text(L"\u0110i\u1EC3m"), "\xA7i\xD3m");
    // A surrogate pair carried by two unit escapes becomes one wide character.
    EXPECT_EQ(DecodeTcvn3Text(std::string_view("\x01\x3D\xD8\x01\x00\xDE", 6)),
              std::wstring(1, static_cast<wchar_t>(0x1F600)));
}

}  // namespace
