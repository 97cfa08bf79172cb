// TCVN3, TCVN3 capitals and VNI: every Vietnamese letter in each encoding, the
// bytes behind texts as drawings keep them, fonts and their encodings, and text
// and MTEXT conversion.
#include "host/core/VietEncodings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "host/db/AcString.h"
#include "host/db/VietTextConversion.h"
#include "host/fonts/TextMetrics.h"
#include "host/fonts/VietFonts.h"
#include "host/gi/ProxyGraphicsWriter.h"
#include "support/VietLetters.h"

namespace
{

using fendo::viet::Encoding;
using namespace fendo::test;

std::vector<std::string> words(const std::string& s)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at <= s.size()) {
        const std::size_t blank = std::min(s.find(' ', at), s.size());
        out.push_back(s.substr(at, blank - at));
        at = blank + 1;
    }
    return out;
}

TEST(VietLetterTable, EveryLetterDecodesAndEncodesInEachEncoding)
{
    int letters = 0;
    for (const auto* rows : {kSmall, kCapitals}) {
        const bool capitals = rows == kCapitals;
        for (std::size_t r = 0; r < std::size(kSmall); ++r) {
            const LetterRow& row = rows[r];
            const std::wstring unicode = row.letters;
            const std::vector<std::string> vni = words(row.vni);
            ASSERT_EQ(vni.size(), unicode.size()) << r;
            for (std::size_t i = 0; i < unicode.size(); ++i, ++letters) {
                const std::wstring letter(1, unicode[i]);
                const std::string tcvn3(1, row.tcvn3[i]);
                SCOPED_TRACE(testing::Message() << "row " << r << " letter " << i << (capitals ? " capital" : ""));
                EXPECT_EQ(fendo::viet::decode(vni[i], Encoding::Vni), letter);
                EXPECT_EQ(fendo::viet::encode(letter, Encoding::Vni), vni[i]);
                EXPECT_EQ(fendo::viet::encode(letter, Encoding::Tcvn3Capitals), tcvn3);
                if (capitals) {
                    EXPECT_EQ(fendo::viet::decode(tcvn3, Encoding::Tcvn3Capitals), letter);
                } else {
                    EXPECT_EQ(fendo::viet::decode(tcvn3, Encoding::Tcvn3), letter);
                    EXPECT_EQ(fendo::viet::encode(letter, Encoding::Tcvn3), tcvn3);
                }
            }
        }
    }
    EXPECT_EQ(letters,
              2 * (12 * 6 + 1));  // twelve vowels in six tones and d with stroke
    for (const auto& [letter, byte] : kTcvn3PlainCapitals) {
        EXPECT_EQ(fendo::viet::decode(std::string(1, byte), Encoding::Tcvn3), std::wstring(1, letter));
        EXPECT_EQ(fendo::viet::encode(std::wstring(1, letter), Encoding::Tcvn3), std::string(1, byte));
    }
}

TEST(VietLetterTable, WholeWordsReadRightInEveryEncoding)
{
    EXPECT_EQ(fendo::viet::decode("\xA7\xAD\xEAng Vi\xD6t Nam", Encoding::Tcvn3), L"Đường Việt Nam");
    EXPECT_EQ(fendo::viet::decode("\xAE\xAD\xEAng cao t\xB8i", Encoding::Tcvn3Capitals), L"ĐƯỜNG CAO TÁI");
    EXPECT_EQ(fendo::viet::decode("\xD1\xF6\xF4\xF8ng Vie\xE4t Nam", Encoding::Vni), L"Đường Việt Nam");
    // Symbols that are no letter keep their Windows-1252 character.
    EXPECT_EQ(fendo::viet::decode("45\xB0 \x80", Encoding::Tcvn3), L"45° €");
}

TEST(VietLetterTable, CapitalsWithToneMarksHaveNoPlainTcvn3Byte)
{
    std::wstring missing;
    EXPECT_EQ(fendo::viet::encode(L"ẤP Bà", Encoding::Tcvn3, &missing), "?P B\xB5");
    EXPECT_EQ(missing, L"Ấ");
    missing.clear();
    EXPECT_EQ(fendo::viet::encode(L"中", Encoding::Vni, &missing), "?");
    EXPECT_EQ(missing, L"中");
}

TEST(VietStoredText, BytesComeBackFromEveryCodePageADrawingMayHaveUsed)
{
    // Windows-1252 (R2007 files and ezdxf), Windows-1258 (Vietnamese Windows) and
    // Latin-1 readings of the same bytes all give the bytes back.
    EXPECT_EQ(fendo::viet::storedBytes(L"Vi\u00D6t"), std::string("Vi\xD6t"));
    EXPECT_EQ(fendo::viet::storedBytes(L"\u0102\u0300\u20AB"), std::string("\xC3\xCC\xFE"));
    EXPECT_EQ(fendo::viet::storedBytes(L"\u0080\u20AC"), std::string("\x80\x80"));
    EXPECT_EQ(fendo::viet::storedBytes(L"Việt"), std::nullopt);
    for (int b = 0x80; b < 0x100; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(fendo::viet::storedBytes(fendo::viet::storedText(byte)), byte) << b;
    }
    EXPECT_EQ(fendo::viet::decodeStored(L"Vi\u00D6t", Encoding::Tcvn3), L"Việt");
    EXPECT_EQ(fendo::viet::decodeStored(L"plain", Encoding::Tcvn3), std::nullopt);
    EXPECT_EQ(fendo::viet::decodeStored(L"Việt", Encoding::Tcvn3), std::nullopt);
    EXPECT_EQ(fendo::viet::decodeStored(L"Vi\u00D6t", Encoding::Unicode), std::nullopt);
}

TEST(VietFonts, FontNamesSayWhichEncodingTheirTextsUse)
{
    using fendo::fonts::encodingOfFont;
    for (const wchar_t* f :
         {L".VnTime", L".VnArial", L"VNTIME.TTF", L"C:\\Windows\\Fonts\\vnarialb.ttf", L".VnArial Narrow"})
        EXPECT_EQ(encodingOfFont(f), Encoding::Tcvn3) << f;
    for (const wchar_t* f : {L".VnTimeH", L".VnArialH", L"VNTIMEH.TTF", L"vnarialhb.ttf"})
        EXPECT_EQ(encodingOfFont(f), Encoding::Tcvn3Capitals) << f;
    for (const wchar_t* f : {L"VNI-Times", L"VNI-Helve.ttf", L"vni-times.TTF"})
        EXPECT_EQ(encodingOfFont(f), Encoding::Vni) << f;
    for (const wchar_t* f : {L"arial.ttf", L"Times New Roman", L"txt", L"romans.shx", L"", L"v"})
        EXPECT_EQ(encodingOfFont(f), Encoding::Unicode) << f;
}

TEST(VietFonts, TableMapsFontsBothWaysFirstMatchWinning)
{
    fendo::fonts::VietFontTable table;
    ASSERT_TRUE(table.parse("; comment\n[unicode]\nvnarial* = arial.ttf | "
                            "Arial\n* = times.ttf | Times New Roman\n"
                            "[tcvn3]\narial* = vnarial.ttf | .VnArial\n"));
    using fendo::fonts::FontDirection;
    EXPECT_EQ(table.find(L".VnArialH", FontDirection::ToUnicode)->family, L"Arial");
    EXPECT_EQ(table.find(L"VNTIME.TTF", FontDirection::ToUnicode)->file, L"times.ttf");
    EXPECT_EQ(table.find(L"Arial.ttf", FontDirection::ToTcvn3)->family, L".VnArial");
    EXPECT_FALSE(table.find(L"times.ttf", FontDirection::ToTcvn3));

    std::string error;
    EXPECT_FALSE(table.parse("vntime = times.ttf\n", &error));
    EXPECT_EQ(error, "line 1: expected [unicode] or [tcvn3] before the first font");
    EXPECT_FALSE(table.parse("[unicode]\n\nvntime times.ttf\n", &error));
    EXPECT_EQ(error, "line 3: expected pattern = font file | family");
    EXPECT_TRUE(table.parse(fendo::fonts::VietFontTable::builtInText()));
}

TEST(VietTextConversion, SingleLineTextsFollowTheirStyleFont)
{
    using fendo::viet::convertText;
    using fendo::viet::Direction;
    EXPECT_EQ(convertText(L"Vi\u00D6t", L".VnTime", Direction::ToUnicode)->text, L"Việt");
    EXPECT_EQ(convertText(L"Vie\u00E4t", L"VNI-Times", Direction::ToUnicode)->text, L"Việt");
    EXPECT_EQ(convertText(L"\u00AE\u00E9", L".VnTimeH", Direction::ToUnicode)->text, L"ĐỘ");
    // Plain ASCII, Unicode texts and texts in other fonts are left alone.
    EXPECT_FALSE(convertText(L"Km 0+100", L".VnTime", Direction::ToUnicode));
    EXPECT_FALSE(convertText(L"Việt", L".VnTime", Direction::ToUnicode));
    EXPECT_FALSE(convertText(L"Vi\u00D6t", L"arial.ttf", Direction::ToUnicode));

    EXPECT_EQ(convertText(L"Việt", L"arial.ttf", Direction::ToTcvn3)->text, L"Vi\u00D6t");
    EXPECT_FALSE(convertText(L"Vi\u00D6t", L".VnTime", Direction::ToTcvn3));
    std::wstring missing;
    EXPECT_FALSE(convertText(L"ẤP", L"arial.ttf", Direction::ToTcvn3, &missing));
    EXPECT_EQ(missing, L"Ấ");
}

TEST(VietTextConversion, MTextRunsFollowTheirInlineFontsAndKeepTheirCodes)
{
    using fendo::viet::convertMText;
    using fendo::viet::Direction;
    const auto converted = convertMText(L"{\\f.VnArial|b0|i0|c0|p34;C\u00A7o \u00AE\u00E9} ASCII "
                                        L"{\\fVNI-Times|b1;Vie\u00E4t}\\PT\u00B5u \\H2.5x;\\S\u00AE^\u00E9;",
                                        L"txt", Direction::ToUnicode);
    ASSERT_TRUE(converted);
    // The style font (txt) is not Vietnamese: the runs after the groups stay as
    // they are.
    EXPECT_EQ(converted->text, L"{\\fArial|b0|i0|c0|p34;CĐo độ} ASCII {\\fTimes "
                               L"New Roman|b1;Việt}\\PT\u00B5u "
                               L"\\H2.5x;\\S\u00AE^\u00E9;");
    EXPECT_FALSE(converted->usesStyleFont);

    const auto inStyle =
        convertMText(L"\\A1;T\u00B5u {\\fArial|b0;\u00B5}\\P\\S\u00AE^\u00E9;", L".VnTime", Direction::ToUnicode);
    ASSERT_TRUE(inStyle);
    EXPECT_EQ(inStyle->text, L"\\A1;Tàu {\\fArial|b0;\u00B5}\\P\\Sđ^ộ;");
    EXPECT_TRUE(inStyle->usesStyleFont);

    // Converting again changes nothing.
    EXPECT_FALSE(convertMText(converted->text, L"txt", Direction::ToUnicode));
    EXPECT_FALSE(convertMText(L"{\\f.VnTime;plain} \\P", L"txt", Direction::ToUnicode));

    const auto back = convertMText(L"{\\fArial|b0;Đo độ} x", L"txt", Direction::ToTcvn3);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, L"{\\f.VnArial|b0;\u00A7o \u00AE\u00E9} x");
}

// Bytes of `text` as UTF-16 little-endian, as proxy graphics keep texts and font names.
std::string utf16le(std::wstring_view text)
{
    std::string out;
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

TEST(VietPictures, ProxyGraphicsKeepDecodedTextsInAUnicodeFont)
{
    for (const auto& [font, stored, shown, shownFont] :
         {std::tuple{L".VnTime", L"Vi\u00D6t", L"Việt", L"times.ttf"},
          std::tuple{L"VNI-Helve.ttf", L"Vie\u00E4t", L"Việt", L"arial.ttf"},
          std::tuple{L"arial.ttf", L"Vi\u00D6t", L"Vi\u00D6t", L"arial.ttf"}}) {
        fendo::gi::ProxyGraphicsWriter writer(nullptr, font);
        writer.text(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 2.5, 1.0, 0.0, stored);
        const std::vector<std::uint8_t> data = writer.data();
        const std::string bytes(data.begin(), data.end());
        EXPECT_NE(bytes.find(utf16le(shown)), std::string::npos) << fendo::toUtf8(font);
        EXPECT_NE(bytes.find(utf16le(shownFont)), std::string::npos) << fendo::toUtf8(font);
    }
}

}  // namespace
