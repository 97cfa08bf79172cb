// The TL dialog: shows the step and count carried over from the settings and reads them back
// with their floors applied.
#include "slope/VeTaluyDlg.h"

#include "frame/LocaliseDialog.h"
#include "slope/SlopeSettings.h"
#include "ui/DialogTemplates.h"

namespace {
// A step below this would put long ticks on top of each other; it falls back to the default.
constexpr double kSmallestStep = 0.0001;
constexpr double kDefaultStep = 10.0;
constexpr int kSmallestCount = 1;
}  // namespace

VeTaluyDlg::VeTaluyDlg(CWnd* parent) : CAcUiDialog(fendo::ui::kTemplateVeTaluyDlg, parent) {}

void VeTaluyDlg::setInitialValues(double step, int count)
{
    m_step = step;
    m_count = count;
}

BOOL VeTaluyDlg::OnInitDialog()
{
    using namespace fendo::slope;
    CAcUiDialog::OnInitDialog();
    SetDlgItemText(kCountEdit, m_count > 0 ? formatInteger(m_count).c_str() : L"1");
    SetDlgItemText(kStepEdit, m_step > 0.0 ? formatReal(m_step, 2).c_str() : L"10");
    LocaliseDialog(this);
    return TRUE;
}

void VeTaluyDlg::OnOK()
{
    using namespace fendo::slope;
    if (!CheckNumberFields(this, {kStepEdit}, {kCountEdit})) return;
    CString text;
    GetDlgItemText(kStepEdit, text);
    m_step = parseReal(text);
    if (m_step < kSmallestStep) m_step = kDefaultStep;
    GetDlgItemText(kCountEdit, text);
    m_count = parseInteger(text);
    if (m_count < kSmallestCount) m_count = kSmallestCount;
    EndDialog(IDOK);
}
