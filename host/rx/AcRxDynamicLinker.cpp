// The dynamic linker object of the system registry, over the module loader.
#include "host/rx/AcRxDynamicLinker.h"

#include <algorithm>
#include <filesystem>

#include "host/editor/Editor.h"
#include "host/editor/Utf8.h"
#include "host/rx/ModuleLoader.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject);

namespace {
using fendo::editor::fromUtf8;
using fendo::editor::toUtf8;
using fendo::rx::ModuleLoader;

std::string narrow(const ACHAR* text)
{
    return text ? toUtf8(text) : std::string();
}

void report(bool printit, const std::string& line)
{
    if (printit) fendo::editor::editor().write(L"\n" + fromUtf8(line));
}
}  // namespace

bool AcRxDynamicLinker::loadModule(const ACHAR* fileName, bool printit, bool /*asCmd*/)
{
    std::string error;
    const std::string path = narrow(fileName);
    if (!ModuleLoader::instance().load(path, fendo::rx::ModuleKind::Module, &error)) {
        report(printit, error);
        return false;
    }
    report(printit, std::filesystem::path(path).filename().string() + " successfully loaded.");
    return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool printit)
{
    std::string error;
    const std::string which = narrow(fileName);
    if (!ModuleLoader::instance().unload(which, fendo::rx::UnloadMode::OnRequest, &error)) {
        report(printit, error);
        return false;
    }
    report(printit, which + " successfully unloaded.");
    return true;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) const
{
    return ModuleLoader::instance().setLocked(appId, false);
}

bool AcRxDynamicLinker::lockApplication(void* appId) const
{
    return ModuleLoader::instance().setLocked(appId, true);
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* fileName) const
{
    const fendo::rx::LoadedModule* m = ModuleLoader::instance().find(narrow(fileName));
    return m && m->locked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const
{
    return ModuleLoader::instance().setMdiAware(appId, true);
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const
{
    return ModuleLoader::instance().setMdiAware(appId, false);
}

void* AcRxDynamicLinker::getModuleHandle(const ACHAR* moduleFileName) const
{
    if (!moduleFileName || !*moduleFileName) return nullptr;
    const fendo::rx::LoadedModule* m = ModuleLoader::instance().find(narrow(moduleFileName));
    return m ? m->handle : nullptr;
}

Adesk::UInt32 AcRxDynamicLinker::getModuleFileName(void* handle, ACHAR* buffer, Adesk::UInt32 size) const
{
    std::wstring path;
    if (!handle) {
        path = fromUtf8(fendo::rx::executablePath());
    } else if (const fendo::rx::LoadedModule* m = ModuleLoader::instance().findByHandle(handle)) {
        path = fromUtf8(m->path);
    } else {
        return 0;
    }
    if (!buffer || size == 0) return 0;
    const auto copied = static_cast<Adesk::UInt32>(std::min<std::size_t>(path.size(), size - 1));
    std::copy_n(path.begin(), copied, buffer);
    buffer[copied] = L'\0';
    return path.size() > copied ? size : copied;
}

namespace {
// The registry holds the linker from the moment the host library is mapped, so that module
// code finds it whether it was loaded by the program or linked into a test.
[[maybe_unused]] const bool gLinkerRegistered = [] {
    if (!acrxSysRegistry()->has(L"DynamicLinker")) acrxSysRegistry()->atPut(L"DynamicLinker", new AcRxDynamicLinker);
    return true;
}();
}  // namespace

AcRxDynamicLinker* acrxDynamicLinkerPtr()
{
    return AcRxDynamicLinker::cast(acrxSysRegistry()->at(L"DynamicLinker"));
}
