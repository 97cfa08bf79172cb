// The pattern-file reader: one pass over the lines, headers opening patterns, every other line
// adding a family to the pattern opened last.
#include "host/hatch/PatternFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace fendo::hatch {

namespace {

constexpr std::size_t kFamilyFields = 5;  // angle, x-origin, y-origin, delta-x, delta-y

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool parseNumber(std::string_view text, double& value)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool samePatternName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string PatternError::toString() const
{
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

PatternFileContents parsePatternText(std::string_view text, const std::string& fileName)
{
    PatternFileContents contents;
    const auto fail = [&](int line, std::string message) {
        contents.error = PatternError{fileName, line, std::move(message)};
        return contents;
    };
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (const std::size_t comment = line.find(';'); comment != std::string_view::npos)
            line = line.substr(0, comment);
        line = trim(line);
        if (line.empty()) continue;

        if (line.front() == '*') {
            line.remove_prefix(1);
            const std::size_t comma = line.find(',');
            HatchPattern pattern;
            pattern.name = std::string(trim(line.substr(0, comma)));
            if (comma != std::string_view::npos) pattern.description = std::string(trim(line.substr(comma + 1)));
            if (pattern.name.empty()) return fail(lineNumber, "expected a pattern name after '*'");
            contents.patterns.push_back(std::move(pattern));
            continue;
        }
        if (contents.patterns.empty())
            return fail(lineNumber, "expected a pattern header \"*NAME\" before the first line family");

        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() < kFamilyFields)
            return fail(lineNumber, "expected a line family \"angle, x-origin, "
                                    "y-origin, delta-x, delta-y [, dashes]\""
                                    ", found " +
                                        std::to_string(fields.size()) + " field" + (fields.size() == 1 ? "" : "s"));
        std::vector<double> numbers(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!parseNumber(fields[i], numbers[i]))
                return fail(lineNumber, "field " + std::to_string(i + 1) + ": expected a number, found '" +
                                            std::string(fields[i].substr(0, 40)) + "'");
        PatternFamily family;
        family.angleDegrees = numbers[0];
        family.originX = numbers[1];
        family.originY = numbers[2];
        family.deltaX = numbers[3];
        family.deltaY = numbers[4];
        family.dashes.assign(numbers.begin() + kFamilyFields, numbers.end());
        contents.patterns.back().families.push_back(std::move(family));
    }
    return contents;
}

PatternFileContents readPatternFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        PatternFileContents contents;
        contents.error = PatternError{path, 0, "cannot be read"};
        return contents;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parsePatternText(text.str(), path);
}

std::optional<HatchPattern> loadPattern(const std::string& path, std::string_view name, PatternError* error)
{
    PatternFileContents contents = readPatternFile(path);
    if (contents.error) {
        if (error) *error = *contents.error;
        return std::nullopt;
    }
    for (HatchPattern& pattern : contents.patterns)
        if (samePatternName(pattern.name, trim(name))) return std::move(pattern);
    if (error) *error = PatternError{path, 0, "has no pattern \"" + std::string(name) + "\""};
    return std::nullopt;
}

bool splitPatternReference(std::string_view reference, std::string& path, std::string& name)
{
    reference = trim(reference);
    if (reference.empty() || reference.back() != ')') return false;
    const std::size_t open = reference.rfind('(');
    if (open == std::string_view::npos || open == 0) return false;
    path = std::string(reference.substr(0, open));
    name = std::string(reference.substr(open + 1, reference.size() - open - 2));
    return !name.empty();
}

}  // namespace fendo::hatch
