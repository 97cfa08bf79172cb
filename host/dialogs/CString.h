// The framework's string class: a wide string with the members dialog code is written against
// (Format, GetLength, Trim ...), usable wherever the host wants const ACHAR*.
#pragma once
#include <string>
#include <string_view>

#include "host/core/AcadTypes.h"

class CString : public std::wstring {
public:
    CString() = default;
    CString(const ACHAR* s) : std::wstring(s ? s : L"") {}
    CString(const ACHAR* s, int length)
        : std::wstring(s ? std::wstring(s, static_cast<std::size_t>(length)) : L"")
    {
    }
    CString(std::wstring s) : std::wstring(std::move(s)) {}
    CString(std::wstring_view s) : std::wstring(s) {}
    CString(ACHAR c, int count = 1) : std::wstring(static_cast<std::size_t>(count > 0 ? count : 0), c) {}

    operator const ACHAR*() const { return c_str(); }
    const ACHAR* GetString() const { return c_str(); }
    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }
    ACHAR GetAt(int index) const { return at(static_cast<std::size_t>(index)); }
    void SetAt(int index, ACHAR c) { at(static_cast<std::size_t>(index)) = c; }

    // printf-style with the host's wide conventions ("%s" takes a wide string).
    void Format(const ACHAR* format, ...);
    void AppendFormat(const ACHAR* format, ...);

    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& MakeUpper();
    CString& MakeLower();

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    // Position of the first occurrence at or after `start`, or -1.
    int Find(const ACHAR* sub, int start = 0) const;
    int Find(ACHAR c, int start = 0) const;
    // Replaces every occurrence and returns how many were replaced.
    int Replace(const ACHAR* from, const ACHAR* to);
    int Compare(const ACHAR* other) const;
    int CompareNoCase(const ACHAR* other) const;
};
