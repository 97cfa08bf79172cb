// The contract between the host and a loadable module (.arx) or object library (.dbx):
// the application messages, their return codes and the three C-linkage exports the host
// looks up after mapping the file.
#pragma once
#include "host/core/AcadTypes.h"

namespace AcRx {
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16,
};

enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The only API version this host accepts: 17.0.
constexpr int kAcrxHostApiVersion = 0x00110000;

// Names and types of the exports. A module must export all three; an object library may
// export none (it is then only mapped), and when it exports acrxEntryPoint it gets the
// messages too.
constexpr const char* kAcrxEntryPointSymbol = "acrxEntryPoint";
constexpr const char* kAcrxGetApiVersionSymbol = "acrxGetApiVersion";
constexpr const char* kAcrxSetPtpSymbol = "_SetacrxPtp";

using AcrxEntryPointFunction = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
using AcrxGetApiVersionFunction = int (*)();
// Receives the host's services table; this host passes an opaque pointer the module only keeps.
using AcrxSetPtpFunction = void (*)(void* services);

#define ACRX_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// Defines acrxGetApiVersion and _SetacrxPtp in a module; the module writes acrxEntryPoint itself:
//   ACRX_DEFINE_MODULE_CONTRACT()
//   ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) { ... }
#define ACRX_DEFINE_MODULE_CONTRACT()                                              \
    ACRX_MODULE_EXPORT int acrxGetApiVersion() { return kAcrxHostApiVersion; }     \
    static void* acrxModuleServicesTable = nullptr;                                \
    ACRX_MODULE_EXPORT void _SetacrxPtp(void* services) { acrxModuleServicesTable = services; }
