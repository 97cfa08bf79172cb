// Composition and small letters over the Latin letters, from the tables in LatinLetters.h.
#include "exchange/TextMatch.h"

#include <algorithm>
#include <unordered_map>
#include <vector>
#include "exchange/LatinLetters.h"

namespace fendo::exchange {
namespace {

struct Tables {
    std::unordered_map<unsigned long long, char32_t> compose;
    std::unordered_map<char32_t, int> combiningClass;
    std::unordered_map<char32_t, char32_t> small;
    Tables()
    {
        for (const auto& c : latin::kCompositions)
            compose[(static_cast<unsigned long long>(c.base) << 32) | c.mark] = c.composed;
        for (const auto& c : latin::kCombiningClasses) combiningClass[c.mark] = c.ccc;
        for (const auto& c : latin::kCasePairs) small[c.capital] = c.small;
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

int classOf(char32_t c)
{
    const auto it = tables().combiningClass.find(c);
    return it == tables().combiningClass.end() ? 0 : it->second;
}

char32_t smallLetter(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return c - U'A' + U'a';
    const auto it = tables().small.find(c);
    return it == tables().small.end() ? c : it->second;
}

}  // namespace

std::wstring foldedText(std::wstring_view text)
{
    std::u32string s(text.begin(), text.end());
    // Marks after a letter in canonical order (dot below before circumflex ...).
    for (size_t i = 0; i < s.size();) {
        size_t j = i;
        while (j < s.size() && classOf(s[j]) != 0) ++j;
        if (j > i + 1)
            std::stable_sort(s.begin() + i, s.begin() + j,
                             [](char32_t a, char32_t b) { return classOf(a) < classOf(b); });
        i = j == i ? i + 1 : j;
    }
    std::u32string out;
    out.reserve(s.size());
    for (const char32_t c : s) {
        if (!out.empty() && classOf(c) != 0) {
            const auto it = tables().compose.find((static_cast<unsigned long long>(out.back()) << 32) | c);
            if (it != tables().compose.end()) {
                out.back() = it->second;
                continue;
            }
        }
        out.push_back(c);
    }
    std::wstring folded;
    folded.reserve(out.size());
    for (const char32_t c : out) folded.push_back(static_cast<wchar_t>(smallLetter(c)));
    return folded;
}

bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b) { return foldedText(a) == foldedText(b); }

}  // namespace fendo::exchange
