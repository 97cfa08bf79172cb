// "Tham so ve ranh mau": three boxes filled from rmcfg.ini when it has exactly three lines, and
// written back to it on OK.
#include "exchange/SampleLogDialog.h"

#include <vector>
#include "frame/Folders.h"
#include "frame/LeadingNumber.h"
#include "frame/LocaliseDialog.h"
#include "frame/SettingsLines.h"
#include "host/db/AcString.h"
#include "ui/DialogTemplates.h"

namespace {
struct Box {
    int id;
    const wchar_t* defaultText;
};
constexpr Box kBoxes[] = {{1042, L"1"}, {1043, L"2"}, {1008, L"5"}};
}  // namespace

SampleLogDialog::SampleLogDialog() : CAcUiDialog(fendo::ui::kTemplateSampleLogDlg) {}

std::wstring SampleLogDialog::settingsPath() { return userDataFolder() + L"/rmcfg.ini"; }

BOOL SampleLogDialog::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    const std::vector<std::wstring> lines = readSettingsLines(settingsPath());
    for (size_t i = 0; i < 3; ++i)
        SetDlgItemText(kBoxes[i].id, lines.size() == 3 ? lines[i].c_str() : kBoxes[i].defaultText);
    LocaliseDialog(this);
    return TRUE;
}

void SampleLogDialog::OnOK()
{
    std::vector<std::wstring> texts;
    for (const Box& box : kBoxes) {
        CString text;
        GetDlgItemText(box.id, text);
        texts.push_back(text.IsEmpty() ? std::wstring(box.defaultText) : std::wstring(text));
    }
    // A file that cannot be written is not reported: the values still serve this run.
    writeSettingsLines(settingsPath(), texts);
    m_textHeight = fendo::leadingNumber(texts[0]);
    m_rowHeight = fendo::leadingNumber(texts[1]);
    m_columnWidth = fendo::leadingNumber(texts[2]);
    CAcUiDialog::OnOK();
}
