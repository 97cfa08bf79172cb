// The module's exports: the host's handshake and the application messages.
#include "frame/ModuleApp.h"
#include "host/rx/AcRxDynamicLinker.h"
#include "host/rx/AcRxModule.h"

ACRX_DEFINE_MODULE_CONTRACT()

ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId)
{
    switch (msg) {
    case AcRx::kInitAppMsg:
        acrxBuildClassHierarchy();
        acrxDynamicLinker->unlockApplication(appId);
        acrxDynamicLinker->registerAppMDIAware(appId);
        initApp();
        break;
    case AcRx::kUnloadAppMsg:
        unloadApp();
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}
