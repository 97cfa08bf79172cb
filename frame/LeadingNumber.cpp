// Reads the leading decimal number of a text without the C library's extras (hexadecimal,
// "inf", "nan"), then converts exactly that prefix with strtod so the value is the one the
// C library gives for it.
#include "frame/LeadingNumber.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace fendo {
namespace {

bool isBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// The ASCII prefix that forms the number, or empty when there is none.
template <typename Char>
std::string numberPrefix(std::basic_string_view<Char> text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(static_cast<char32_t>(text[i]))) ++i;
    std::string out;
    if (i < text.size() && (text[i] == Char('+') || text[i] == Char('-'))) out += static_cast<char>(text[i++]);
    std::size_t digits = 0;
    while (i < text.size() && isDigit(static_cast<char32_t>(text[i]))) { out += static_cast<char>(text[i++]); ++digits; }
    if (i < text.size() && text[i] == Char('.')) {
        out += '.';
        ++i;
        while (i < text.size() && isDigit(static_cast<char32_t>(text[i]))) { out += static_cast<char>(text[i++]); ++digits; }
    }
    if (digits == 0) return {};
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && (text[i] == Char('e') || text[i] == Char('E'))) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == Char('+') || text[j] == Char('-'))) exponent += static_cast<char>(text[j++]);
        std::size_t expDigits = 0;
        while (j < text.size() && isDigit(static_cast<char32_t>(text[j]))) { exponent += static_cast<char>(text[j++]); ++expDigits; }
        if (expDigits > 0) out += exponent;
    }
    return out;
}

template <typename Char>
double parse(std::basic_string_view<Char> text)
{
    const std::string prefix = numberPrefix(text);
    if (prefix.empty()) return 0.0;
    const double value = std::strtod(prefix.c_str(), nullptr);
    // An exponent past the double range overflows to infinity in strtod; such a text is no
    // number a drawing could use.
    return std::isfinite(value) ? value : 0.0;
}

}  // namespace

double leadingNumber(std::wstring_view text) { return parse(text); }
double leadingNumber(std::string_view text) { return parse(text); }
bool startsWithNumber(std::wstring_view text) { return !numberPrefix(text).empty(); }

}  // namespace fendo
