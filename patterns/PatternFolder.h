// The pattern files of a folder as the pattern browser lists them.
#pragma once
#include <string>
#include <vector>

struct PatternFileEntry {
    std::wstring name;      // the file name less its last four characters (".pat" in any case)
    std::wstring fileName;  // the file's real name, for building its path
};

// Every file of `folder` whose name ends in ".pat" (any letter case), except the host's own
// "acad.pat"; in the folder's order. A missing or unreadable folder gives none.
std::vector<PatternFileEntry> listPatternFiles(const std::wstring& folder);
