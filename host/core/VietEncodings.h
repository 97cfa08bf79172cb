// The 8-bit Vietnamese encodings of old drawings: TCVN3 (ABC) for the ".Vn"
// fonts, the same bytes drawn as capitals by the ".Vn...H" fonts, and VNI (a
// base letter followed by a mark byte) for the "VNI-" fonts. Decoding to
// Unicode and encoding back, on bytes and on texts as a drawing keeps them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace fendo::viet
{

enum class Encoding {
    Unicode,        // not an 8-bit Vietnamese font: the text is what it says
    Tcvn3,          // ".VnTime", "VNARIAL.TTF" ...
    Tcvn3Capitals,  // ".VnTimeH", "VNARIALH.TTF" ...: TCVN3 bytes, every letter
                    // drawn as a capital
    Vni             // "VNI-Times", "VNI-Helve" ...
};

// Every Vietnamese letter TCVN3 has a byte for: the seven capitals with a
// breve, circumflex, horn or stroke, and the lower-case letters with those and
// with tone marks (y acute keeps its Latin-1 place).
inline constexpr std::pair<unsigned char, char16_t> kTcvn3Letters[] = {
    {0xA1, u'\u0102'}, {0xA2, u'\u00C2'}, {0xA3, u'\u00CA'}, {0xA4, u'\u00D4'}, {0xA5, u'\u01A0'}, {0xA6, u'\u01AF'},
    {0xA7, u'\u0110'}, {0xA8, u'\u0103'}, {0xA9, u'\u00E2'}, {0xAA, u'\u00EA'}, {0xAB, u'\u00F4'}, {0xAC, u'\u01A1'},
    {0xAD, u'\u01B0'}, {0xAE, u'\u0111'}, {0xB5, u'\u00E0'}, {0xB6, u'\u1EA3'}, {0xB7, u'\u00E3'}, {0xB8, u'\u00E1'},
    {0xB9, u'\u1EA1'}, {0xBB, u'\u1EB1'}, {0xBC, u'\u1EB3'}, {0xBD, u'\u1EB5'}, {0xBE, u'\u1EAF'}, {0xC6, u'\u1EB7'},
    {0xC7, u'\u1EA7'}, {0xC8, u'\u1EA9'}, {0xC9, u'\u1EAB'}, {0xCA, u'\u1EA5'}, {0xCB, u'\u1EAD'}, {0xCC, u'\u00E8'},
    {0xCE, u'\u1EBB'}, {0xCF, u'\u1EBD'}, {0xD0, u'\u00E9'}, {0xD1, u'\u1EB9'}, {0xD2, u'\u1EC1'}, {0xD3, u'\u1EC3'},
    {0xD4, u'\u1EC5'}, {0xD5, u'\u1EBF'}, {0xD6, u'\u1EC7'}, {0xD7, u'\u00EC'}, {0xD8, u'\u1EC9'}, {0xDC, u'\u0129'},
    {0xDD, u'\u00ED'}, {0xDE, u'\u1ECB'}, {0xDF, u'\u00F2'}, {0xE1, u'\u1ECF'}, {0xE2, u'\u00F5'}, {0xE3, u'\u00F3'},
    {0xE4, u'\u1ECD'}, {0xE5, u'\u1ED3'}, {0xE6, u'\u1ED5'}, {0xE7, u'\u1ED7'}, {0xE8, u'\u1ED1'}, {0xE9, u'\u1ED9'},
    {0xEA, u'\u1EDD'}, {0xEB, u'\u1EDF'}, {0xEC, u'\u1EE1'}, {0xED, u'\u1EDB'}, {0xEE, u'\u1EE3'}, {0xEF, u'\u00F9'},
    {0xF1, u'\u1EE7'}, {0xF2, u'\u0169'}, {0xF3, u'\u00FA'}, {0xF4, u'\u1EE5'}, {0xF5, u'\u1EEB'}, {0xF6, u'\u1EED'},
    {0xF7, u'\u1EEF'}, {0xF8, u'\u1EE9'}, {0xF9, u'\u1EF1'}, {0xFA, u'\u1EF3'}, {0xFB, u'\u1EF7'}, {0xFC, u'\u1EF9'},
    {0xFD, u'\u00FD'}, {0xFE, u'\u1EF5'},
};

// Bytes to Unicode. A byte that stands for no letter reads as its Windows-1252
// character, so punctuation and symbols outside the letters survive.
std::wstring decode(std::string_view bytes, Encoding encoding);

// Unicode to bytes. A character the encoding cannot write is appended to
// `missing` (when given) and written as '?'. Tcvn3Capitals writes upper- and
// lower-case letters alike (the font draws capitals).
std::string encode(std::wstring_view text, Encoding encoding, std::wstring* missing = nullptr);

// The bytes behind a text as a drawing keeps it. Files store 8-bit text either
// as the characters of their code page (Windows-1252 or -1258) or, written by
// other programs, as Latin-1 code points; each character is turned back into
// the byte it came from. Nothing when a character cannot have come from a byte
// (the text is real Unicode).
std::optional<std::string> storedBytes(std::wstring_view text);
// The characters a drawing keeps for bytes: Windows-1252, Latin-1 where that
// leaves a byte undefined.
std::wstring storedText(std::string_view bytes);

// A text kept in a drawing decoded from `encoding`, or nothing when it is not
// such a text: plain ASCII, characters that cannot be bytes, or
// Encoding::Unicode.
std::optional<std::wstring> decodeStored(std::wstring_view text, Encoding encoding);

// The capital of a Vietnamese or ASCII letter; every other character is
// returned as it is.
wchar_t toUpperLetter(wchar_t c);

}  // namespace fendo::viet
