// The module folder (found from the loaded module file) and the per-user data folder.
#include "frame/Folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include "host/db/AcString.h"
#include "host/rx/AcRxDynamicLinker.h"

namespace {
std::wstring& folderSlot()
{
    static std::wstring folder;
    return folder;
}
}  // namespace

const std::wstring& moduleFolder() { return folderSlot(); }

void findModuleFolder(const ACHAR* moduleFileName)
{
    folderSlot().clear();
    void* handle = acrxDynamicLinker->getModuleHandle(moduleFileName);
    if (!handle) return;
    ACHAR buffer[512];
    if (acrxDynamicLinker->getModuleFileName(handle, buffer, 512) == 0) return;
    const std::wstring path = buffer;
    const size_t cut = path.find_last_of(L"/\\");
    if (cut != std::wstring::npos) folderSlot() = path.substr(0, cut);
}

std::wstring moduleFile(const std::wstring& relative)
{
    return moduleFolder().empty() ? relative : moduleFolder() + L"/" + relative;
}

std::wstring userDataFolder()
{
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    if (!base.empty()) {
        const fs::path folder = base / "KVO" / "Quorin";
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!ec || fs::is_directory(folder)) return folder.wstring();
    }
    const char* appData = std::getenv("AppData");
    return fendo::fromUtf8(appData ? appData : "") + L"/KVO/Quorin";
}

bool moduleDataWritable()
{
    return ::access(fendo::toUtf8(moduleFile(L"Data")).c_str(), W_OK) == 0;
}

std::wstring settingsFileToRead(const std::wstring& name)
{
    const std::wstring shipped = moduleFile(L"Data/" + name);
    if (moduleDataWritable()) return shipped;
    const std::wstring own = userDataFolder() + L"/" + name;
    std::error_code ec;
    return std::filesystem::exists(fendo::toUtf8(own), ec) ? own : shipped;
}

std::wstring settingsFileToWrite(const std::wstring& name)
{
    return moduleDataWritable() ? moduleFile(L"Data/" + name) : userDataFolder() + L"/" + name;
}
