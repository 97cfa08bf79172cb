// Parsing of typed answers: numbers, points and keywords.
#include "host/editor/AnswerGrammar.h"

#include <cmath>
#include <cwctype>
#include <numbers>

namespace fendo::editor {

std::wstring_view trimBlanks(std::wstring_view text)
{
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring_view> splitBlanks(std::wstring_view s)
{
    std::vector<std::wstring_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) {
            ++i;
        }
        std::size_t j = i;
        while (j < s.size() && s[j] != L' ' && s[j] != L'\t') {
            ++j;
        }
        if (j > i) {
            words.push_back(s.substr(i, j - i));
        }
        i = j;
    }
    return words;
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring toUpper(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return out;
}

namespace {
bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Checks the number syntax by hand so that "nan", "inf", "0x10" and trailing junk are refused,
// then converts with the C library (locale-independent for this ASCII subset).
bool isNumberSyntax(std::wstring_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i, ++digits;
    }
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i, ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == s.size();
}

std::vector<std::wstring_view> splitCommas(std::wstring_view s)
{
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto comma = s.find(L',', start);
        parts.push_back(
            trimBlanks(s.substr(start, comma == std::wstring_view::npos ? comma : comma - start)));
        if (comma == std::wstring_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}
}  // namespace

std::optional<double> parseNumber(std::wstring_view text)
{
    text = trimBlanks(text);
    if (!isNumberSyntax(text)) {
        return std::nullopt;
    }
    const std::string narrow(text.begin(), text.end());  // ASCII only after the syntax check
    const double value = std::strtod(narrow.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long> parseInteger(std::wstring_view text)
{
    text = trimBlanks(text);
    std::size_t i = (!text.empty() && (text[0] == L'+' || text[0] == L'-')) ? 1 : 0;
    if (i == text.size() || text.size() > 18) {
        return std::nullopt;
    }
    for (std::size_t k = i; k < text.size(); ++k) {
        if (!isDigit(text[k])) {
            return std::nullopt;
        }
    }
    const std::string narrow(text.begin(), text.end());
    return std::strtol(narrow.c_str(), nullptr, 10);
}

std::optional<Point3> parsePoint(std::wstring_view text, const Point3& lastPoint)
{
    text = trimBlanks(text);
    bool relative = false;
    if (!text.empty() && text[0] == L'@') {
        relative = true;
        text = trimBlanks(text.substr(1));
        if (text.empty()) {
            return lastPoint;
        }
    }
    Point3 p{0.0, 0.0, 0.0};
    const auto lt = text.find(L'<');
    if (lt != std::wstring_view::npos) {
        const auto dist = parseNumber(text.substr(0, lt));
        const auto angle = parseNumber(text.substr(lt + 1));
        if (!dist || !angle) {
            return std::nullopt;
        }
        const double radians = *angle * std::numbers::pi / 180.0;
        p = {*dist * std::cos(radians), *dist * std::sin(radians), 0.0};
    } else {
        const auto parts = splitCommas(text);
        if (parts.size() < 2 || parts.size() > 3) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const auto v = parseNumber(parts[i]);
            if (!v) {
                return std::nullopt;
            }
            p[i] = *v;
        }
    }
    if (relative) {
        for (int i = 0; i < 3; ++i) {
            p[i] += lastPoint[i];
        }
    }
    return p;
}

// ---- KeywordList ------------------------------------------------------------------

namespace {
std::wstring shortForm(std::wstring_view keyword)
{
    std::wstring out;
    for (wchar_t c : keyword) {
        if (std::iswupper(c) || isDigit(c)) {
            out.push_back(c);
        }
    }
    return out;
}

std::optional<std::size_t> matchIn(const std::vector<std::wstring>& names, std::wstring_view answer)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (equalsNoCase(names[i], answer)) {
            return i;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto abbrev = shortForm(names[i]);
        if (!abbrev.empty() && equalsNoCase(abbrev, answer)) {
            return i;
        }
    }
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].size() > answer.size() &&
            equalsNoCase(std::wstring_view(names[i]).substr(0, answer.size()), answer)) {
            if (found) {
                return std::nullopt;  // ambiguous prefix
            }
            found = i;
        }
    }
    return found;
}
}  // namespace

KeywordList::KeywordList(std::wstring_view listText)
{
    // The global part starts at the first word beginning with '_'.
    const auto words = splitBlanks(listText);
    std::size_t split = words.size();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i][0] == L'_') {
            split = i;
            break;
        }
    }
    local_.assign(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(split));
    for (std::size_t i = split; i < words.size(); ++i) {
        std::wstring w(words[i]);
        if (i == split) {
            w.erase(0, 1);
        }
        if (!w.empty()) {
            global_.push_back(std::move(w));
        }
    }
    // Missing global names fall back to the local ones, extra ones are ignored.
    global_.resize(local_.size());
    for (std::size_t i = 0; i < local_.size(); ++i) {
        if (global_[i].empty()) {
            global_[i] = local_[i];
        }
    }
}

std::optional<std::wstring> KeywordList::match(std::wstring_view answer) const
{
    answer = trimBlanks(answer);
    if (answer.empty() || local_.empty()) {
        return std::nullopt;
    }
    std::optional<std::size_t> index;
    if (answer[0] == L'_') {
        index = matchIn(global_, answer.substr(1));
    } else {
        index = matchIn(local_, answer);
    }
    if (!index) {
        return std::nullopt;
    }
    return global_[*index];
}

std::wstring KeywordList::describe() const
{
    std::wstring out;
    for (const auto& k : local_) {
        if (!out.empty()) {
            out += L'/';
        }
        out += k;
    }
    return out;
}

}  // namespace fendo::editor
