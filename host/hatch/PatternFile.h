// Hatch pattern files (".pat"): a header line "*NAME[, description]" starts each pattern, and every
// following line until the next header is one line family "angle, x-origin, y-origin, delta-x,
// delta-y [, dash-1, dash-2 ...]". ';' starts a comment.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendo::hatch {

// One family of parallel lines as a pattern file states it: the lines run at `angle` through
// `origin`; each next line is shifted by `deltaX` along the line and `deltaY` across it (in the
// line's own frame). Dashes repeat along every line: positive pen down, negative a gap, 0 a dot. No
// dashes: the lines are solid.
struct PatternFamily {
    double angleDegrees = 0.0;
    double originX = 0.0;
    double originY = 0.0;
    double deltaX = 0.0;
    double deltaY = 0.0;
    std::vector<double> dashes;
};

struct HatchPattern {
    std::string name;  // as written after '*', blanks trimmed
    std::string description;
    std::vector<PatternFamily> families;
};

// Why a file or a pattern could not be used: the file, the line (1-based, 0 when the whole file is
// meant) and what was expected there.
struct PatternError {
    std::string file;
    int line = 0;
    std::string message;
    // "FILE:LINE: MESSAGE", or "FILE: MESSAGE" for the whole file.
    std::string toString() const;
};

struct PatternFileContents {
    std::vector<HatchPattern> patterns;
    std::optional<PatternError> error;  // the first bad line; patterns read before it are kept
};

// Reads the text of a pattern file; `fileName` only names the file in errors.
PatternFileContents parsePatternText(std::string_view text, const std::string& fileName);
// Reads a pattern file from disk; an unreadable file gives an error and no patterns.
PatternFileContents readPatternFile(const std::string& path);

// The pattern `name` (letter case ignored) of the file at `path`. The file must read without
// errors; a missing pattern is an error too.
std::optional<HatchPattern> loadPattern(const std::string& path, std::string_view name, PatternError* error = nullptr);

// Pattern names compare without regard to letter case.
bool samePatternName(std::string_view a, std::string_view b);

// The pattern of a preview string "PATH(NAME)": the path before the last '(' and the name up to the
// closing ')'. False for a string of another shape.
bool splitPatternReference(std::string_view reference, std::string& path, std::string& name);

}  // namespace fendo::hatch
