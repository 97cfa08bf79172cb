// Conversion between 16-bit code units and the host's wide strings (wchar_t is 32-bit here).
#pragma once

#include <string>
#include <string_view>

namespace fendo::text {

// Surrogate pairs become one character; a lone surrogate is kept as it is.
std::wstring toWide(std::u16string_view units);

// Characters above U+FFFF become surrogate pairs.
std::u16string toUtf16(std::wstring_view text);

}  // namespace fendo::text
