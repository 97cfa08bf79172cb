// Maps modules and object libraries into the process, hands them the application messages
// and keeps the list of what is loaded, for the dynamic linker and the APPLOAD/ARX commands.
#pragma once
#include <string>
#include <vector>

#include "host/rx/AcRxModule.h"

namespace fendo::rx {

enum class ModuleKind {
    Module,     // an .arx: the three exports are required and the API version is checked
    Companion,  // an object library (.dbx): exports optional, messages sent when it has an entry point
};

enum class UnloadMode {
    OnRequest,  // refused for a locked application or one that answers the unload message with an error
    Always,     // at the end of the session: the message is sent, the answer does not matter
};

struct LoadedModule {
    std::string path;   // absolute path of the file, as mapped
    std::string name;   // file name without folder ("Fendo17.arx")
    void* handle = nullptr;  // from dlopen; also the application id passed with every message
    ModuleKind kind = ModuleKind::Module;
    AcrxEntryPointFunction entryPoint = nullptr;
    bool locked = true;  // a loaded application stays until it unlocks itself
    bool mdiAware = false;
};

class ModuleLoader {
public:
    static ModuleLoader& instance();

    // Maps the file, checks the exports and the API version, passes the services table and
    // sends kInitAppMsg. On failure nothing stays loaded and `error` holds one line naming the
    // file and the reason. Loading a file that is already loaded succeeds and does nothing.
    bool load(const std::string& path, ModuleKind kind, std::string* error);

    // `which` is a file name ("Fendo17.arx", case-insensitive) or a path.
    bool unload(const std::string& which, UnloadMode mode, std::string* error);

    // Sends a message to every loaded module and library with an entry point, in load order
    // (kLoadDwgMsg after a drawing is opened, kUnloadDwgMsg before it is closed). Answers
    // are not examined.
    void broadcast(AcRx::AppMsgCode msg);
    // The drawing is open: a module loaded from now on gets kLoadDwgMsg right after its
    // kInitAppMsg, as one loaded before the drawing got it when the drawing opened.
    void setDrawingOpen(bool open) { drawingOpen_ = open; }

    // Unloads everything, the last loaded first (modules before the libraries they use).
    void unloadAll();

    // By file name (case-insensitive) or path; null when not loaded.
    const LoadedModule* find(const std::string& which) const;
    const LoadedModule* findByHandle(const void* handle) const;
    const std::vector<LoadedModule>& modules() const { return modules_; }

    bool setLocked(const void* appId, bool locked);
    bool setMdiAware(const void* appId, bool aware);

private:
    LoadedModule* findMutable(const std::string& which);
    std::vector<LoadedModule> modules_;
    bool drawingOpen_ = false;
};

// The full path of the running program (from /proc/self/exe); empty when unknown.
std::string executablePath();
// The folder of the running program (from /proc/self/exe), without trailing slash.
std::string executableFolder();

}  // namespace fendo::rx
