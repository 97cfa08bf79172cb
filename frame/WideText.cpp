// Conversion between 16-bit code units and the host's wide strings.
#include "frame/WideText.h"

namespace fendo::text {

namespace {
constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kLowSurrogateLast = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;

bool isHighSurrogate(char32_t unit)
{
    return unit >= kHighSurrogateFirst && unit < kLowSurrogateFirst;
}
bool isLowSurrogate(char32_t unit)
{
    return unit >= kLowSurrogateFirst && unit <= kLowSurrogateLast;
}
}  // namespace

std::wstring toWide(std::u16string_view units)
{
    std::wstring out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            const char32_t low = units[++i];
            out.push_back(static_cast<wchar_t>(kFirstSupplementary + ((unit - kHighSurrogateFirst) << 10) +
                                               (low - kLowSurrogateFirst)));
        } else {
            out.push_back(static_cast<wchar_t>(unit));
        }
    }
    return out;
}

std::u16string toUtf16(std::wstring_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const wchar_t ch : text) {
        const auto code = static_cast<char32_t>(ch);
        if (code >= kFirstSupplementary && code <= 0x10FFFF) {
            const char32_t offset = code - kFirstSupplementary;
            out.push_back(static_cast<char16_t>(kHighSurrogateFirst + (offset >> 10)));
            out.push_back(static_cast<char16_t>(kLowSurrogateFirst + (offset & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

}  // namespace fendo::text
