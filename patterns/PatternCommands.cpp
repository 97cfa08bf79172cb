// "TESTH" opens the browser with the module's resources in force and returns when it closes.
#include "patterns/PatternCommands.h"

#include "host/dialogs/Wnd.h"
#include "host/editor/AcApDocManager.h"
#include "patterns/DlgTestHatch.h"
#include "ui/ModuleResources.h"

void cmdTestHatch()
{
    DlgTestHatch dialog(acedGetAcadFrame());
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    dialog.DoModal();
    acDocManagerPtr()->popResourceHandle();
}
