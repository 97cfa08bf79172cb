// File dialogs, the template copy and numbers from cells for the exchange commands.
#include "exchange/ExchangeFiles.h"

#include <cerrno>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "frame/Folders.h"
#include "frame/LeadingNumber.h"
#include "host/core/adsdef.h"
#include "host/db/AcString.h"
#include "host/editor/aced.h"

namespace fendo::exchange {
namespace {
namespace fs = std::filesystem;

constexpr int kSaveDialog = 1;

std::optional<std::wstring> askFile(const wchar_t* title, const wchar_t* extensions, int flags)
{
    resbuf result{};
    if (acedGetFileD(title, L"", extensions, flags, &result) != RTNORM || result.restype != RTSTR) return std::nullopt;
    std::wstring path = result.resval.rstring ? result.resval.rstring : L"";
    delete[] result.resval.rstring;
    if (path.empty()) return std::nullopt;
    return path;
}

bool endsWithNoCase(const std::wstring& s, const std::wstring& tail)
{
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::towlower(s[s.size() - tail.size() + i]) != std::towlower(tail[i])) return false;
    return true;
}
}  // namespace

std::optional<std::wstring> askWorkbookToOpen(const wchar_t* title) { return askFile(title, L"xlsx;xls", 0); }

std::optional<std::wstring> askWorkbookToSave(const wchar_t* title)
{
    auto path = askFile(title, L"xlsx", kSaveDialog);
    if (path && endsWithNoCase(*path, L".xls")) {
        *path += L"x";
        acutPrintf(L"\nThe old .xls format cannot be written: saving as %s", path->c_str());
    }
    return path;
}

std::wstring templateWorkbookPath() { return moduleFile(L"Data/TemplateExcel.xlsx"); }

bool copyTemplateTo(const std::wstring& target)
{
    const fs::path from(toUtf8(templateWorkbookPath()));
    const fs::path to(toUtf8(target));
    std::ifstream in(from, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || in.bad()) {
        acutPrintf(L"\nCannot write %s: the template %s cannot be read", target.c_str(),
                   fromUtf8(from.string()).c_str());
        return false;
    }
    const fs::path temporary = to.string() + ".fendo-tmp";
    const std::string data = std::move(bytes).str();
    std::string error;
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) error = std::strerror(errno ? errno : EIO);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        if (error.empty() && !out) error = std::strerror(errno ? errno : EIO);
    }
    std::error_code ec;
    if (error.empty()) {
        fs::rename(temporary, to, ec);
        if (ec) error = ec.message();
    }
    if (!error.empty()) {
        fs::remove(temporary, ec);
        acutPrintf(L"\nCannot write %s: %s", target.c_str(), fromUtf8(error).c_str());
        return false;
    }
    return true;
}

double cellNumber(const std::wstring& text, const std::wstring& workbookPath, const std::wstring& column, int row)
{
    if (text.empty() || fendo::startsWithNumber(text)) return fendo::leadingNumber(text);
    const std::wstring file = fromUtf8(fs::path(toUtf8(workbookPath)).filename().string());
    acutPrintf(L"\n%s %s%d: \"%s\" is not a number; 0 used", file.c_str(), column.c_str(), row, text.c_str());
    return 0.0;
}

}  // namespace fendo::exchange
