// TCVN3 (VN3) decoding and encoding of the module's stored Vietnamese texts.
#include "frame/Tcvn3.h"

#include "frame/WideText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned char kUnitEscape = 0x01;  // followed by two bytes, little-endian
constexpr unsigned char kByteEscape = 0x02;  // followed by one byte, sign-extended
constexpr unsigned char kFirstTableByte = 0x80;

// The Vietnamese letters of the code page, by byte. Every other byte from 0x80 up is its own code
// point; 0xFD (y acute) is listed too because encoding must find it.
constexpr std::pair<unsigned char, char16_t> kLetters[] = {
    {0xA1, u'\u0102'}, {0xA2, u'\u00C2'}, {0xA3, u'\u00CA'}, {0xA4, u'\u00D4'}, {0xA5, u'\u01A0'},
    {0xA6, u'\u01AF'}, {0xA7, u'\u0110'}, {0xA8, u'\u0103'}, {0xA9, u'\u00E2'}, {0xAA, u'\u00EA'},
    {0xAB, u'\u00F4'}, {0xAC, u'\u01A1'}, {0xAD, u'\u01B0'}, {0xAE, u'\u0111'}, {0xB5, u'\u00E0'},
    {0xB6, u'\u1EA3'}, {0xB7, u'\u00E3'}, {0xB8, u'\u00E1'}, {0xB9, u'\u1EA1'}, {0xBB, u'\u1EB1'},
    {0xBC, u'\u1EB3'}, {0xBD, u'\u1EB5'}, {0xBE, u'\u1EAF'}, {0xC6, u'\u1EB7'}, {0xC7, u'\u1EA7'},
    {0xC8, u'\u1EA9'}, {0xC9, u'\u1EAB'}, {0xCA, u'\u1EA5'}, {0xCB, u'\u1EAD'}, {0xCC, u'\u00E8'},
    {0xCE, u'\u1EBB'}, {0xCF, u'\u1EBD'}, {0xD0, u'\u00E9'}, {0xD1, u'\u1EB9'}, {0xD2, u'\u1EC1'},
    {0xD3, u'\u1EC3'}, {0xD4, u'\u1EC5'}, {0xD5, u'\u1EBF'}, {0xD6, u'\u1EC7'}, {0xD7, u'\u00EC'},
    {0xD8, u'\u1EC9'}, {0xDC, u'\u0129'}, {0xDD, u'\u00ED'}, {0xDE, u'\u1ECB'}, {0xDF, u'\u00F2'},
    {0xE1, u'\u1ECF'}, {0xE2, u'\u00F5'}, {0xE3, u'\u00F3'}, {0xE4, u'\u1ECD'}, {0xE5, u'\u1ED3'},
    {0xE6, u'\u1ED5'}, {0xE7, u'\u1ED7'}, {0xE8, u'\u1ED1'}, {0xE9, u'\u1ED9'}, {0xEA, u'\u1EDD'},
    {0xEB, u'\u1EDF'}, {0xEC, u'\u1EE1'}, {0xED, u'\u1EDB'}, {0xEE, u'\u1EE3'}, {0xEF, u'\u00F9'},
    {0xF1, u'\u1EE7'}, {0xF2, u'\u0169'}, {0xF3, u'\u00FA'}, {0xF4, u'\u1EE5'}, {0xF5, u'\u1EEB'},
    {0xF6, u'\u1EED'}, {0xF7, u'\u1EEF'}, {0xF8, u'\u1EE9'}, {0xF9, u'\u1EF1'}, {0xFA, u'\u1EF3'},
    {0xFB, u'\u1EF7'}, {0xFC, u'\u1EF9'}, {0xFD, u'\u00FD'}, {0xFE, u'\u1EF5'},
};

static_assert(std::size(kLetters) == 74, "73 letters of the code page and y acute");

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = static_cast<char16_t>(b);
    for (const auto& [byte, letter] : kLetters)
        table[byte] = letter;
    return table;
}

constexpr std::array<char16_t, 256> kDecodeTable = makeDecodeTable();

// Letters sorted by code unit for the encoder's lookup.
constexpr auto makeEncodeTable()
{
    std::array<std::pair<char16_t, unsigned char>, std::size(kLetters)> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {kLetters[i].second, kLetters[i].first};
    std::sort(table.begin(), table.end());
    return table;
}

constexpr auto kEncodeTable = makeEncodeTable();

unsigned char encodeUnit(char16_t unit)
{
    const auto it = std::lower_bound(kEncodeTable.begin(), kEncodeTable.end(), unit,
                                     [](const auto& entry, char16_t u) { return entry.first < u; });
    if (it != kEncodeTable.end() && it->first == unit)
        return it->second;
    return static_cast<unsigned char>(unit & 0xFF);
}

std::size_t unitCount(const char16_t* text)
{
    return std::char_traits<char16_t>::length(text);
}

}  // namespace

std::unique_ptr<char16_t[]> DecodeTcvn3(const char* text, int length)
{
    if (text == nullptr)
        return nullptr;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t n = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    auto out = std::make_unique<char16_t[]>(n + 1);
    std::size_t in = 0;
    std::size_t written = 0;
    while (in < n && bytes[in] != 0) {
        const unsigned char b = bytes[in];
        char16_t unit = 0;
        if (b == kUnitEscape) {
            if (in + 2 >= n)
                break;  // an escape cut off by the length is dropped
            unit = static_cast<char16_t>(bytes[in + 1] | (bytes[in + 2] << 8));
            in += 3;
        } else if (b == kByteEscape) {
            if (in + 1 >= n)
                break;
            unit = static_cast<char16_t>(static_cast<std::int16_t>(static_cast<std::int8_t>(bytes[in + 1])));
            in += 2;
        } else {
            unit = b < kFirstTableByte ? static_cast<char16_t>(b) : kDecodeTable[b];
            ++in;
        }
        out[written++] = unit;
    }
    out[written] = 0;
    return out;
}

std::unique_ptr<char[]> EncodeTcvn3(const char16_t* text, int length)
{
    if (text == nullptr)
        return nullptr;
    const std::size_t n = length < 0 ? unitCount(text) : static_cast<std::size_t>(length);
    auto out = std::make_unique<char[]>(n + 1);
    std::size_t i = 0;
    for (; i < n && text[i] != 0; ++i)
        out[i] = static_cast<char>(encodeUnit(text[i]));
    out[i] = 0;
    return out;
}

std::wstring DecodeTcvn3Text(std::string_view tcvn3)
{
    if (tcvn3.empty())
        return {};
    const auto units = DecodeTcvn3(tcvn3.data(), static_cast<int>(tcvn3.size()));
    return fendo::text::toWide(units.get());
}

std::string EncodeTcvn3Text(std::wstring_view text)
{
    if (text.empty())
        return {};
    const std::u16string units = fendo::text::toUtf16(text);
    const auto bytes = EncodeTcvn3(units.c_str(), static_cast<int>(units.size()));
    return bytes.get();
}
