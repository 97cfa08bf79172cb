// Parsing of typed answers: numbers, points ("x,y", "x,y,z", "@dx,dy", "d<a") and keyword
// lists with their matching rules.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendo::editor {

using Point3 = std::array<double, 3>;

// Blanks (spaces and tabs) removed at both ends.
std::wstring_view trimBlanks(std::wstring_view text);
// The words of a text separated by blanks (spaces and tabs), in order.
std::vector<std::wstring_view> splitBlanks(std::wstring_view text);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);
std::wstring toUpper(std::wstring_view text);

// A whole-text decimal number: sign, digits, one decimal point, exponent ("2.5", "-4", "1e3").
std::optional<double> parseNumber(std::wstring_view text);
// A whole-text integer; nullopt for "2.5" or text beyond the long range.
std::optional<long> parseInteger(std::wstring_view text);

// A point answer. Absolute "x,y" (z = 0) or "x,y,z"; relative "@dx,dy[,dz]" or "@" alone
// (the last point); polar "d<angle" or "@d<angle" with the angle in degrees.
std::optional<Point3> parsePoint(std::wstring_view text, const Point3& lastPoint);

// The keywords offered by acedInitGet: "Yes No _Yes No" gives local names before the
// " _" separator and global names after it, paired by position (without a global part the
// local names serve as both).
class KeywordList {
public:
    KeywordList() = default;
    explicit KeywordList(std::wstring_view spec);

    bool empty() const { return local_.empty(); }
    // Matches a typed answer and returns the global name of the keyword, or nullopt when the
    // answer names no keyword or is an ambiguous prefix. Accepted, in this order: the keyword
    // itself (case-insensitive), its short form (its capital letters, "U" for "Undo"), an
    // unambiguous prefix. An answer starting with '_' is matched against the global names.
    std::optional<std::wstring> match(std::wstring_view answer) const;
    // "Yes/No", for messages.
    std::wstring describe() const;

private:
    std::vector<std::wstring> local_;
    std::vector<std::wstring> global_;
};

}  // namespace fendo::editor
