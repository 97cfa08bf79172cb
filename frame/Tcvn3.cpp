// TCVN3 (VN3) decoding and encoding of the module's stored Vietnamese texts.
#include "frame/Tcvn3.h"

#include "frame/WideText.h"
#include "host/core/VietEncodings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned char kUnitEscape = 0x01;  // followed by two bytes, little-endian
constexpr unsigned char kByteEscape = 0x02;  // followed by one byte, sign-extended
constexpr unsigned char kFirstTableByte = 0x80;

// The Vietnamese letters of the code page, by byte (the host's table of drawing texts). Every other
// byte from 0x80 up is its own code point.
constexpr const auto& kLetters = fendo::viet::kTcvn3Letters;

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
