// The prefix-and-suffix dialog of "EMT" and the length dialog of "EML".
#include "ui/BatchEditDialogs.h"

#include "frame/LocaliseDialog.h"
#include "ui/DialogTemplates.h"

DlgThemTienToHauTo::DlgThemTienToHauTo(CWnd* parent) : CAcUiDialog(fendo::ui::kTemplateDlgThemTienToHauTo, parent) {}

BOOL DlgThemTienToHauTo::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    LocaliseDialog(this);
    return TRUE;
}

void DlgThemTienToHauTo::OnOK()
{
    CString prefix;
    CString suffix;
    GetDlgItemText(kPrefixEdit, prefix);
    GetDlgItemText(kSuffixEdit, suffix);
    if (prefix.IsEmpty() || suffix.IsEmpty()) return;
    m_prefix = prefix;
    m_suffix = suffix;
    CAcUiDialog::OnOK();
}

DlgEditLine::DlgEditLine(CWnd* parent) : CAcUiDialog(fendo::ui::kTemplateDlgEditLine, parent) {}

BOOL DlgEditLine::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    LocaliseDialog(this);
    return TRUE;
}

void DlgEditLine::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kLengthEdit, m_length);
    DDX_Radio(pDX, fendo::ui::kAnchorLeftRadio, m_anchor);
}

void DlgEditLine::OnOK()
{
    if (!UpdateData(TRUE) || m_length < kMinimumLength) return;
    CAcUiDialog::OnOK();
}
