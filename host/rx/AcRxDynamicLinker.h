// The "DynamicLinker" entry of the system registry: what a module may ask of the host about
// loading, unloading and its own file.
#pragma once
#include "host/core/AcadTypes.h"
#include "host/rx/AcRxObject.h"

class AcRxDynamicLinker : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

    // Loads an .arx module (relative paths from the current folder). With printit, success and
    // failure are reported on the command line.
    bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false);
    bool unloadModule(const ACHAR* fileName, bool printit);

    // A loaded application is locked (cannot be unloaded on request) until it unlocks itself.
    bool unlockApplication(void* appId) const;
    bool lockApplication(void* appId) const;
    bool isApplicationLocked(const ACHAR* fileName) const;
    bool registerAppMDIAware(void* appId) const;
    bool registerAppNotMDIAware(void* appId) const;

    // How a module finds its own file, in the manner of the platform's module functions:
    // the handle of the loaded module with this file name (case-insensitive, folder ignored;
    // a path is matched whole), null when none is loaded.
    void* getModuleHandle(const ACHAR* moduleFileName) const;
    // Copies the full path of the module into `buffer` (at most size - 1 characters and a
    // terminating 0) and returns the characters copied; size when the path was cut; 0 for an
    // unknown handle. A null handle names the running program. Paths use '/' separators, so a
    // caller that keeps the folder splits at the last '/' (or '\\').
    Adesk::UInt32 getModuleFileName(void* handle, ACHAR* buffer, Adesk::UInt32 size) const;
};

// The registry's dynamic linker.
AcRxDynamicLinker* acrxDynamicLinkerPtr();
#define acrxDynamicLinker (acrxDynamicLinkerPtr())
