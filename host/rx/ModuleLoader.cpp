// Module loading with dlopen: export checks, the version handshake and the application messages.
#include "host/rx/ModuleLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fendo::rx {

namespace {

// The opaque services table handed to _SetacrxPtp; modules only keep the pointer.
struct HostServicesTable {
    int apiVersion = kAcrxHostApiVersion;
} gServices;

bool sameNameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string absolutePath(const std::string& path)
{
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? path : canonical.string();
}

bool isElfFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return in.gcount() == 4 && magic[0] == 0x7f && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

// Sends one message; an exception or a missing entry point counts as an error answer, so a
// faulty module cannot take the host down with it.
AcRx::AppRetCode sendMessage(const LoadedModule& m, AcRx::AppMsgCode msg)
{
    if (!m.entryPoint) return AcRx::kRetOK;
    try {
        return m.entryPoint(msg, m.handle);
    } catch (...) {
        return AcRx::kRetError;
    }
}

std::string hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

ModuleLoader& ModuleLoader::instance()
{
    static ModuleLoader loader;
    return loader;
}

bool ModuleLoader::load(const std::string& path, ModuleKind kind, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    const std::string full = absolutePath(path);
    for (const LoadedModule& m : modules_)
        if (m.path == full) return true;

    std::error_code ec;
    if (!std::filesystem::exists(full, ec)) return fail("cannot load " + path + ": no such file");
    if (!std::filesystem::is_regular_file(full, ec)) return fail("cannot load " + path + ": not a file");
    if (!isElfFile(full)) return fail("cannot load " + path + ": not a loadable module");

    void* handle = dlopen(full.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        const char* dlMessage = dlerror();
        std::string why = dlMessage ? dlMessage : "the file cannot be mapped";
        // The loader's message starts with the file's path, which the line already names.
        if (why.rfind(full + ": ", 0) == 0) why.erase(0, full.size() + 2);
        return fail("cannot load " + path + ": " + why);
    }
    auto failClosing = [&](const std::string& reason) {
        dlclose(handle);
        return fail(reason);
    };

    // dlsym on the handle searches the file first, then what it depends on; an export found
    // only in a dependency (a companion library's entry point) does not count as the file's own.
    auto ownSymbol = [&](const char* name) -> void* {
        void* sym = dlsym(handle, name);
        if (!sym) return nullptr;
        Dl_info info{};
        if (!dladdr(sym, &info) || !info.dli_fname) return sym;
        return absolutePath(info.dli_fname) == full ? sym : nullptr;
    };
    auto entry = reinterpret_cast<AcrxEntryPointFunction>(ownSymbol(kAcrxEntryPointSymbol));
    auto version = reinterpret_cast<AcrxGetApiVersionFunction>(ownSymbol(kAcrxGetApiVersionSymbol));
    auto setPtp = reinterpret_cast<AcrxSetPtpFunction>(ownSymbol(kAcrxSetPtpSymbol));

    if (kind == ModuleKind::Module) {
        for (auto [sym, name] : {std::pair<void*, const char*>{reinterpret_cast<void*>(entry), kAcrxEntryPointSymbol},
                                 {reinterpret_cast<void*>(version), kAcrxGetApiVersionSymbol},
                                 {reinterpret_cast<void*>(setPtp), kAcrxSetPtpSymbol}}) {
            if (!sym) return failClosing("cannot load " + path + ": not a module (no " + name + " export)");
        }
    }
    if (version) {
        int apiVersion = 0;
        try {
            apiVersion = version();
        } catch (...) {
            return failClosing("cannot load " + path + ": " + kAcrxGetApiVersionSymbol + " failed");
        }
        if (apiVersion != kAcrxHostApiVersion) {
            return failClosing("cannot load " + path + ": built for API version " + hex(apiVersion) +
                               ", this host needs " + hex(kAcrxHostApiVersion));
        }
    }
    if (setPtp) {
        try {
            setPtp(&gServices);
        } catch (...) {
            return failClosing("cannot load " + path + ": " + kAcrxSetPtpSymbol + " failed");
        }
    }

    // Listed before the load message: the module asks for its own handle and unlocks itself
    // while it initialises.
    LoadedModule loaded;
    loaded.path = full;
    loaded.name = fileNameOf(full);
    loaded.handle = handle;
    loaded.kind = kind;
    loaded.entryPoint = entry;
    modules_.push_back(loaded);

    if (sendMessage(loaded, AcRx::kInitAppMsg) != AcRx::kRetOK) {
        modules_.erase(std::remove_if(modules_.begin(), modules_.end(),
                                      [&](const LoadedModule& m) { return m.handle == handle; }),
                       modules_.end());
        return failClosing("cannot load " + path + ": the module refused to initialise");
    }
    if (drawingOpen_) sendMessage(loaded, AcRx::kLoadDwgMsg);
    return true;
}

LoadedModule* ModuleLoader::findMutable(const std::string& which)
{
    const bool hasFolder = which.find('/') != std::string::npos;
    const std::string full = hasFolder ? absolutePath(which) : std::string();
    for (LoadedModule& m : modules_) {
        if (hasFolder ? m.path == full : sameNameNoCase(m.name, which)) return &m;
    }
    return nullptr;
}

const LoadedModule* ModuleLoader::find(const std::string& which) const
{
    return const_cast<ModuleLoader*>(this)->findMutable(which);
}

const LoadedModule* ModuleLoader::findByHandle(const void* handle) const
{
    for (const LoadedModule& m : modules_)
        if (handle && m.handle == handle) return &m;
    return nullptr;
}

bool ModuleLoader::unload(const std::string& which, UnloadMode mode, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    LoadedModule* m = findMutable(which);
    if (!m) return fail(which + " is not loaded");
    if (mode == UnloadMode::OnRequest) {
        if (m->locked) return fail("cannot unload " + m->name + ": the application is locked");
        // A library some loaded module still needs would be unmapped under it.
        if (m->kind == ModuleKind::Companion &&
            std::any_of(modules_.begin(), modules_.end(), [](const LoadedModule& o) { return o.kind == ModuleKind::Module; }))
            return fail("cannot unload " + m->name + ": modules that use it are still loaded");
    }
    const LoadedModule copy = *m;
    if (sendMessage(copy, AcRx::kUnloadAppMsg) != AcRx::kRetOK && mode == UnloadMode::OnRequest)
        return fail("cannot unload " + copy.name + ": the module refused to unload");
    modules_.erase(std::remove_if(modules_.begin(), modules_.end(),
                                  [&](const LoadedModule& o) { return o.handle == copy.handle; }),
                   modules_.end());
    dlclose(copy.handle);
    return true;
}

void ModuleLoader::broadcast(AcRx::AppMsgCode msg)
{
    // A copy: a module may load or unload others while it handles the message.
    const std::vector<LoadedModule> current = modules_;
    for (const LoadedModule& m : current)
        if (findByHandle(m.handle)) sendMessage(m, msg);
}

void ModuleLoader::unloadAll()
{
    while (!modules_.empty()) {
        const std::string path = modules_.back().path;
        unload(path, UnloadMode::Always, nullptr);
    }
}

bool ModuleLoader::setLocked(const void* appId, bool locked)
{
    for (LoadedModule& m : modules_) {
        if (appId && m.handle == appId) {
            m.locked = locked;
            return true;
        }
    }
    return false;
}

bool ModuleLoader::setMdiAware(const void* appId, bool aware)
{
    for (LoadedModule& m : modules_) {
        if (appId && m.handle == appId) {
            m.mdiAware = aware;
            return true;
        }
    }
    return false;
}

std::string executablePath()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

std::string executableFolder()
{
    const std::string self = executablePath();
    return self.empty() ? std::string(".") : std::filesystem::path(self).parent_path().string();
}

}  // namespace fendo::rx
