// The host's string type: a wide string that converts to const ACHAR* where the host
// functions want one.
#pragma once
#include <string>
#include <string_view>
#include "host/core/AcadTypes.h"

class AcString : public std::wstring {
public:
    AcString() = default;
    AcString(const ACHAR* s) : std::wstring(s ? s : L"") {}
    AcString(std::wstring s) : std::wstring(std::move(s)) {}
    AcString(std::wstring_view s) : std::wstring(s) {}

    const ACHAR* kACharPtr() const { return c_str(); }
    const ACHAR* kwszPtr() const { return c_str(); }
    operator const ACHAR*() const { return c_str(); }
    bool isEmpty() const { return empty(); }
    int length() const { return static_cast<int>(size()); }
    // Case-insensitive comparison as the host does for symbol names (ASCII and Latin letters).
    int compareNoCase(const ACHAR* other) const;
};

namespace fendo {
// UTF-8 <-> wide conversions used at every boundary (files, terminal).
std::string toUtf8(std::wstring_view s);
std::wstring fromUtf8(std::string_view s);
// Upper-case a name the way the host compares table and dictionary keys.
std::wstring upperName(std::wstring_view s);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);
}  // namespace fendo
