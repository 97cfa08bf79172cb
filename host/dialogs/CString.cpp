// The framework's string class.
#include "host/dialogs/CString.h"

#include <algorithm>
#include <cstdarg>
#include <cwctype>

#include "host/editor/HostFormat.h"

namespace {
bool isBlank(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }
} // namespace

void CString::Format(const ACHAR* format, ...)
{
    va_list args;
    va_start(args, format);
    assign(fendo::editor::formatHost(format ? format : L"", args));
    va_end(args);
}

void CString::AppendFormat(const ACHAR* format, ...)
{
    va_list args;
    va_start(args, format);
    append(fendo::editor::formatHost(format ? format : L"", args));
    va_end(args);
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft()
{
    std::size_t i = 0;
    while (i < size() && isBlank((*this)[i])) ++i;
    erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!empty() && isBlank(back())) pop_back();
    return *this;
}

CString& CString::MakeUpper()
{
    for (wchar_t& c : *this) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeLower()
{
    for (wchar_t& c : *this) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

CString CString::Left(int count) const
{
    return count <= 0 ? CString() : CString(substr(0, static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const
{
    if (count <= 0) return {};
    const std::size_t n = std::min(size(), static_cast<std::size_t>(count));
    return CString(substr(size() - n));
}

CString CString::Mid(int first) const
{
    return first >= GetLength() ? CString()
                                : CString(substr(static_cast<std::size_t>(first < 0 ? 0 : first)));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return {};
    return CString(substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

int CString::Find(const ACHAR* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    const std::size_t at = find(sub, static_cast<std::size_t>(start));
    return at == npos ? -1 : static_cast<int>(at);
}

int CString::Find(ACHAR c, int start) const
{
    if (start < 0 || start > GetLength()) return -1;
    const std::size_t at = find(c, static_cast<std::size_t>(start));
    return at == npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const ACHAR* from, const ACHAR* to)
{
    const std::wstring_view old = from ? from : L"";
    const std::wstring_view replacement = to ? to : L"";
    if (old.empty()) return 0;
    int count = 0;
    for (std::size_t at = find(old); at != npos; at = find(old, at + replacement.size())) {
        replace(at, old.size(), replacement);
        ++count;
    }
    return count;
}

int CString::Compare(const ACHAR* other) const { return compare(other ? other : L""); }

int CString::CompareNoCase(const ACHAR* other) const
{
    CString a(*this), b(other);
    return a.MakeLower().compare(b.MakeLower());
}
