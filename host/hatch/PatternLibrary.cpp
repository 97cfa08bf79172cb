// Pattern files are read once and kept until they change on disk.
#include "host/hatch/PatternLibrary.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

namespace fendo::hatch {

namespace fs = std::filesystem;

namespace {

struct CachedFile {
    fs::file_time_type stamp;
    std::uintmax_t size = 0;
    PatternFileContents contents;
};

struct Library {
    std::mutex lock;
    std::vector<std::string> folders;
    std::map<std::string, CachedFile> files;
};

Library& library()
{
    static Library lib;
    return lib;
}

std::string programFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

bool isPatternFile(const fs::path& p)
{
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".pat";
}

const PatternFileContents& contentsOf(Library& lib, const fs::path& path)
{
    std::error_code ec;
    const auto stamp = fs::last_write_time(path, ec);
    const auto size = fs::file_size(path, ec);
    auto it = lib.files.find(path.string());
    if (it == lib.files.end() || it->second.stamp != stamp || it->second.size != size)
        it = lib.files.insert_or_assign(path.string(), CachedFile{stamp, size, readPatternFile(path.string())}).first;
    return it->second.contents;
}

}  // namespace

void addPatternFolder(const std::string& folder)
{
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    if (std::find(lib.folders.begin(), lib.folders.end(), folder) == lib.folders.end()) lib.folders.push_back(folder);
}

void clearPatternFolders()
{
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    lib.folders.clear();
    lib.files.clear();
}

std::optional<HatchPattern> findLibraryPattern(std::string_view name)
{
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    std::vector<std::string> folders{programFolder()};
    folders.insert(folders.end(), lib.folders.begin(), lib.folders.end());
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::error_code ec;
        std::vector<fs::path> files;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (isPatternFile(it->path()) && it->is_regular_file(ec)) files.push_back(it->path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const PatternFileContents& contents = contentsOf(lib, file);
            if (contents.error) continue;
            for (const HatchPattern& pattern : contents.patterns)
                if (samePatternName(pattern.name, name)) return pattern;
        }
    }
    return std::nullopt;
}

}  // namespace fendo::hatch
