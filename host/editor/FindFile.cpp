// File search for acedFindFile.
#include "host/editor/FindFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <variant>
#include <vector>

#include "host/editor/SysVars.h"
#include "host/editor/Utf8.h"

namespace fendo::editor {

namespace {
std::vector<std::wstring>& supportPaths()
{
    static std::vector<std::wstring> paths;
    return paths;
}

std::optional<std::wstring> existingFile(const std::filesystem::path& p)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(p, ec)) {
        return fromUtf8(p.lexically_normal().string());
    }
    return std::nullopt;
}
}  // namespace

void addSupportPath(std::wstring_view folder)
{
    auto& paths = supportPaths();
    if (!folder.empty() && std::find(paths.begin(), paths.end(), folder) == paths.end()) {
        paths.emplace_back(folder);
    }
}

void clearSupportPaths()
{
    supportPaths().clear();
}

std::optional<std::wstring> findFile(std::wstring_view name)
{
    if (trimBlanks(name).empty()) {
        return std::nullopt;
    }
    std::vector<std::wstring> names{std::wstring(name)};
    if (name.find(L'\\') != std::wstring_view::npos) {
        std::wstring slashed(name);
        std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
        names.push_back(slashed);
    }
    std::vector<std::filesystem::path> folders{std::filesystem::path(".")};
    if (const auto prefix = getSysVar(L"DWGPREFIX")) {
        if (const auto* s = std::get_if<std::wstring>(&*prefix); s && !s->empty()) {
            folders.emplace_back(toUtf8(*s));
        }
    }
    for (const auto& folder : supportPaths()) {
        folders.emplace_back(toUtf8(folder));
    }
    for (const auto& n : names) {
        const std::filesystem::path p(toUtf8(n));
        if (p.is_absolute()) {
            if (auto found = existingFile(p)) {
                return found;
            }
            continue;
        }
        for (const auto& folder : folders) {
            if (auto found = existingFile(folder / p)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

}  // namespace fendo::editor
