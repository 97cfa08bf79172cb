// Numbers as printf's "%.*f" and "%d" write them (std::to_chars is specified to give the same
// text), without printf's locale and stream machinery: labels and tags are written for every
// object of a drawing.
#pragma once
#include <charconv>
#include <string>

namespace fendo {

// Appends v with `decimals` places (at most a few) as "%.*f" writes it.
inline void appendFixed(std::string& out, double v, int decimals)
{
    char buffer[400];  // the fixed form of the largest double takes 309 digits
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    out.append(buffer, r.ptr);
}

inline std::wstring fixedText(double v, int decimals)
{
    std::string text;
    appendFixed(text, v, decimals);
    return std::wstring(text.begin(), text.end());
}

inline std::wstring decimalText(long long v)
{
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::wstring(buffer, r.ptr);
}

}  // namespace fendo
