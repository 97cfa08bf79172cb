// A tiny module for the loader tests: registers two commands at load and removes them at
// unload. Built a second time with TEST_MODULE_API_VERSION set to announce another version.
#include <stdexcept>
#include <string>

#include "host/editor/CommandStack.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"
#include "host/rx/AcRxDynamicLinker.h"
#include "host/rx/AcRxModule.h"

#ifndef TEST_MODULE_API_VERSION
#define TEST_MODULE_API_VERSION kAcrxHostApiVersion
#endif

namespace {
const ACHAR* const kGroup = L"FENDO_TEST";

void hello()
{
    acutPrintf(L"\nHello from the test module.");
}

// Prints the folder of this module's own file, as a module finds its Data folder.
void where()
{
    void* self = acrxDynamicLinker->getModuleHandle(L"TestModule.arx");
    ACHAR path[512] = {};
    if (!self || acrxDynamicLinker->getModuleFileName(self, path, 512) == 0) {
        acutPrintf(L"\nModule file not found.");
        return;
    }
    std::wstring folder(path);
    folder = folder.substr(0, folder.find_last_of(L"/\\"));
    acutPrintf(L"\nModule folder: %s", folder.c_str());
    resbuf value{};
    if (acedGetVar(L"DWGPREFIX", &value) == RTNORM && value.restype == RTSTR) {
        acutPrintf(L"\nDrawing folder: %s", value.resval.rstring);
        delete[] value.resval.rstring;
    }
}

void boom()
{
    throw std::runtime_error("the test module failed on purpose");
}
}  // namespace

ACRX_MODULE_EXPORT int acrxGetApiVersion()
{
    return TEST_MODULE_API_VERSION;
}

ACRX_MODULE_EXPORT void _SetacrxPtp(void*) {}

ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId)
{
    switch (msg) {
    case AcRx::kInitAppMsg:
        acrxDynamicLinker->unlockApplication(appId);
        acrxDynamicLinker->registerAppMDIAware(appId);
        acedRegCmds->addCommand(kGroup, L"FENDO_TEST_HELLO", L"HELLO", ACRX_CMD_MODAL, hello);
        acedRegCmds->addCommand(kGroup, L"FENDO_TEST_WHERE", L"WHERE", ACRX_CMD_MODAL, where);
        acedRegCmds->addCommand(kGroup, L"FENDO_TEST_BOOM", L"BOOM", ACRX_CMD_MODAL, boom);
        break;
    case AcRx::kUnloadAppMsg:
        acedRegCmds->removeGroup(kGroup);
        break;
    case AcRx::kLoadDwgMsg:
        acutPrintf(L"\nTest module: drawing opened.");
        break;
    case AcRx::kUnloadDwgMsg:
        acutPrintf(L"\nTest module: drawing closed.");
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}
