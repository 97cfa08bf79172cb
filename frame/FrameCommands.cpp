// "KVOHelp" and "ABOUTKVO".
#include "frame/FrameCommands.h"

#include "frame/Folders.h"
#include "frame/LocaliseDialog.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/Shell.h"
#include "ui/DialogTemplates.h"
#include "ui/ModuleResources.h"

void cmdHelp()
{
    // The shell's answer is not examined: without a desktop there is nothing to report.
    const std::wstring path = moduleFile(L"Data/HelpQuorin7.1.chm");
    ShellExecuteOpen(path.c_str());
}

namespace {
// The about box: one picture filling the dialog; any way of closing it ends the command.
class AboutDialog : public CAcUiDialog {
public:
    AboutDialog() : CAcUiDialog(fendo::ui::kTemplateAboutDlg) {}

protected:
    BOOL OnInitDialog() override
    {
        CAcUiDialog::OnInitDialog();
        LocaliseDialog(this);
        return TRUE;
    }
};
}  // namespace

void cmdAbout()
{
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    AboutDialog dialog;
    dialog.DoModal();
    acDocManagerPtr()->popResourceHandle();
}
