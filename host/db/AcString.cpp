// The host's string type and the name comparisons of tables and dictionaries.
#include "host/db/AcString.h"

#include "host/editor/Utf8.h"

namespace {

// Upper case of one character of the scripts drawing names use: ASCII, Latin-1, Latin
// Extended-A and the Vietnamese letters (horned o and u, Latin Extended Additional).
wchar_t upperChar(wchar_t c)
{
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    if (c == 0xFF) return 0x178;
    const bool odd = (c & 1) != 0;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x1E00 && c <= 0x1EFF))
        return odd ? static_cast<wchar_t>(c - 1) : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return odd ? c : static_cast<wchar_t>(c - 1);
    if (c == 0x1A1 || c == 0x1B0) return static_cast<wchar_t>(c - 1);
    return c;
}

}  // namespace

int AcString::compareNoCase(const ACHAR* other) const
{
    const std::wstring a = fendo::upperName(*this);
    const std::wstring b = fendo::upperName(other ? other : L"");
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace fendo {

std::string toUtf8(std::wstring_view s) { return editor::toUtf8(s); }

std::wstring fromUtf8(std::string_view s) { return editor::fromUtf8(s); }

std::wstring upperName(std::wstring_view s)
{
    std::wstring out(s);
    for (wchar_t& c : out) c = upperChar(c);
    return out;
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

}  // namespace fendo
