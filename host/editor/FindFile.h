// File search for acedFindFile: the current folder, the drawing folder, the support folders.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace fendo::editor {

void addSupportPath(std::wstring_view folder);
void clearSupportPaths();

// The found file's path, or nullopt. Backslashes in `name` are also tried as '/'.
std::optional<std::wstring> findFile(std::wstring_view name);

}  // namespace fendo::editor
