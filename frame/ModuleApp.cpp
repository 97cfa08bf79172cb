// Load and unload sequences of the module.
#include "frame/ModuleApp.h"

#include <array>
#include "frame/CommandTable.h"
#include "frame/Folders.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/HostFont.h"
#include "host/editor/CommandStack.h"
#include "host/rx/AcRxObject.h"
#include "slope/TaluyObj.h"

namespace {
std::unique_ptr<CFont>& fontSlot()
{
    static std::unique_ptr<CFont> font;
    return font;
}

std::array<CAdUiBaseDialog*, 3>& slots()
{
    static std::array<CAdUiBaseDialog*, 3> s{};
    return s;
}

// The slope-symbol class: the one registered at load, or the one the host already knew.
AcRxClass*& slopeClass()
{
    static AcRxClass* cls = nullptr;
    return cls;
}
}  // namespace

CFont* dialogFont() { return fontSlot().get(); }

void initApp()
{
    // 1. The slope-symbol class, unless the host already knows a class of that name. Drawings
    //    read after the load find it by its DXF name, so their slope symbols come back as such.
    if (auto* known = static_cast<AcRxClass*>(acrxClassDictionary()->at(L"TaluyObj"))) {
        slopeClass() = known;
    } else {
        TaluyObj::rxInit();
        slopeClass() = TaluyObj::desc();
        slopeClass()->setCustom(true);
    }
    // 2. The dialog font shared by every dialog.
    auto font = std::make_unique<CFont>();
    font->CreateFont(-11, 0, 0, 0, 400, false, false, false, 0, 4, 0, 0, 34, L"Tahoma");
    fontSlot() = std::move(font);
    // 3. The commands, in table order; a row that fails is skipped.
    auto* stack = static_cast<AcEdCommandStack*>(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"));
    for (const CommandRow& row : commandTable()) {
        if (!stack) break;
        const std::wstring global = std::wstring(kCommandGroup) + L"_" + row.name;
        stack->addCommand(kCommandGroup, global.c_str(), row.name, ACRX_CMD_MODAL, row.handler);
    }
    acrxBuildClassHierarchy();
    // 5. The module folder, from the loaded module's file.
    findModuleFolder(kModuleFileName);
}

void unloadApp()
{
    if (auto* stack = static_cast<AcEdCommandStack*>(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS")))
        stack->removeGroup(kCommandGroup);
    fontSlot().reset();
    if (AcRxClass* cls = slopeClass() ? slopeClass() : static_cast<AcRxClass*>(acrxClassDictionary()->at(L"TaluyObj"))) {
        deleteAcRxClass(cls);
        slopeClass() = nullptr;
    }
    // The slope symbol's base class was made with it; leaving it registered would keep a
    // constructor of the unloaded module in the class dictionary.
    if (KvoDbEntity::gpDesc) deleteAcRxClass(KvoDbEntity::gpDesc);
    for (int i = 0; i < 3; ++i) destroyModelessDialog(static_cast<ModelessSlot>(i));
}

void setModelessDialog(ModelessSlot slot, CAdUiBaseDialog* dialog)
{
    destroyModelessDialog(slot);
    slots()[static_cast<size_t>(slot)] = dialog;
}

CAdUiBaseDialog* modelessDialog(ModelessSlot slot) { return slots()[static_cast<size_t>(slot)]; }

void releaseModelessDialog(ModelessSlot slot) { slots()[static_cast<size_t>(slot)] = nullptr; }

void destroyModelessDialog(ModelessSlot slot)
{
    CAdUiBaseDialog*& dialog = slots()[static_cast<size_t>(slot)];
    if (!dialog) return;
    CAdUiBaseDialog* doomed = dialog;
    dialog = nullptr;
    doomed->DestroyWindow();
    delete doomed;
}
