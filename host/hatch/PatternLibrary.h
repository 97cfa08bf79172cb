// The pattern files the host draws named hatches from: every "*.pat" file (any letter case) of the
// program's own folder, where the module and its shipped patterns are installed, and of any folder
// added.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "host/hatch/PatternFile.h"

namespace fendo::hatch {

void addPatternFolder(const std::string& folder);
void clearPatternFolders();

// The first pattern called `name` (letter case ignored) in the files of the pattern folders, the
// program's folder first, files in name order. Files that do not read are passed over.
std::optional<HatchPattern> findLibraryPattern(std::string_view name);

}  // namespace fendo::hatch
