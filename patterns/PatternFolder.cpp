// Listing "*.pat" files without regard to letter case, as the host's file system would match them.
#include "patterns/PatternFolder.h"

#include <filesystem>

#include "host/db/AcString.h"

namespace {
constexpr std::wstring_view kPatternExtension = L".pat";
constexpr std::wstring_view kHostPatternFile = L"acad.pat";
}  // namespace

std::vector<PatternFileEntry> listPatternFiles(const std::wstring& folder)
{
    namespace fs = std::filesystem;
    std::vector<PatternFileEntry> entries;
    if (folder.empty()) return entries;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(fendo::toUtf8(folder)), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        const std::wstring fileName = fendo::fromUtf8(it->path().filename().string());
        if (fileName.size() <= kPatternExtension.size()) continue;
        const std::wstring_view extension =
            std::wstring_view(fileName).substr(fileName.size() - kPatternExtension.size());
        if (!fendo::equalsNoCase(extension, kPatternExtension) || fendo::equalsNoCase(fileName, kHostPatternFile))
            continue;
        entries.push_back({fileName.substr(0, fileName.size() - kPatternExtension.size()), fileName});
    }
    return entries;
}
