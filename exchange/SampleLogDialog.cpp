// "Tham so ve ranh mau": three boxes filled from rmcfg.ini when it has exactly three lines, and
// written back to it on OK.
#include "exchange/SampleLogDialog.h"

#include <fstream>
#include <vector>
#include "frame/Folders.h"
#include "frame/LeadingNumber.h"
#include "frame/LocaliseDialog.h"
#include "host/db/AcString.h"
#include "ui/DialogTemplates.h"

namespace {
struct Box {
    int id;
    const wchar_t* defaultText;
};
constexpr Box kBoxes[] = {{1042, L"1"}, {1043, L"2"}, {1008, L"5"}};

std::vector<std::wstring> readLines(const std::wstring& path)
{
    std::ifstream file(fendo::toUtf8(path), std::ios::binary);
    std::vector<std::wstring> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(fendo::fromUtf8(line));
    }
    return lines;
}
}  // namespace

SampleLogDialog::SampleLogDialog() : CAcUiDialog(fendo::ui::kTemplateSampleLogDlg) {}

std::wstring SampleLogDialog::settingsPath() { return userDataFolder() + L"/rmcfg.ini"; }

BOOL SampleLogDialog::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    const std::vector<std::wstring> lines = readLines(settingsPath());
    for (size_t i = 0; i < 3; ++i)
        SetDlgItemText(kBoxes[i].id, lines.size() == 3 ? lines[i].c_str() : kBoxes[i].defaultText);
    LocaliseDialog(this);
    return TRUE;
}

void SampleLogDialog::OnOK()
{
    std::wstring texts[3];
    for (size_t i = 0; i < 3; ++i) {
        CString text;
        GetDlgItemText(kBoxes[i].id, text);
        texts[i] = text.IsEmpty() ? std::wstring(kBoxes[i].defaultText) : std::wstring(text);
    }
    // A file that cannot be written is not reported: the values still serve this run.
    std::ofstream file(fendo::toUtf8(settingsPath()), std::ios::binary | std::ios::trunc);
    if (file)
        for (const auto& t : texts) file << fendo::toUtf8(t) << '\n';
    file.close();
    m_textHeight = fendo::leadingNumber(texts[0]);
    m_rowHeight = fendo::leadingNumber(texts[1]);
    m_columnWidth = fendo::leadingNumber(texts[2]);
    CAcUiDialog::OnOK();
}
