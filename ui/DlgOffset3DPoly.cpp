// The "O3P" dialog: reads its last values from the settings file when it opens and writes them
// back when the user accepts.
#include "ui/DlgOffset3DPoly.h"

#include <cmath>
#include <cwchar>
#include <fstream>
#include <vector>

#include "frame/Folders.h"
#include "frame/LocaliseDialog.h"
#include "frame/Prompts.h"
#include "host/db/AcString.h"
#include "ui/DialogTemplates.h"

namespace {
constexpr int kAngleInputRadio = 1033;
constexpr int kDistanceInputRadio = 1034;
constexpr int kValueLabel = 1035;
constexpr int kValueBox = 1036;
constexpr int kHeightBox = 1037;
constexpr int kAngleLabelText = 45;
constexpr int kDistanceLabelText = 46;

// The settings file's lines; an unreadable file gives none.
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

// A box's text as stored and converted: "0" stands for an empty box.
std::wstring boxText(const CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return text.IsEmpty() ? std::wstring(L"0") : std::wstring(text);
}

// The leading number of a text (blanks, sign, digits, decimal point, exponent); 0 when the text
// does not start with one.
double leadingNumber(const std::wstring& text)
{
    const double value = std::wcstod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}
}  // namespace

DlgOffset3DPoly::DlgOffset3DPoly() : CAcUiDialog(fendo::ui::kTemplateDlgOffset3DPoly)
{
    onCommand(kAngleInputRadio, BN_CLICKED, &DlgOffset3DPoly::OnAngleInput);
    onCommand(kDistanceInputRadio, BN_CLICKED, &DlgOffset3DPoly::OnDistanceInput);
}

BOOL DlgOffset3DPoly::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    // A file of any other length is ignored: the boxes stay empty and angles are asked for.
    const std::vector<std::wstring> lines = readLines(settingsFileToRead(L"offset.cfg"));
    int checked = kAngleInputRadio;
    if (lines.size() == 3) {
        if (std::wcstol(lines[0].c_str(), nullptr, 10) == static_cast<int>(OffsetInput::DistanceAndHeight))
            checked = kDistanceInputRadio;
        SetDlgItemText(kValueBox, lines[1].c_str());
        SetDlgItemText(kHeightBox, lines[2].c_str());
    }
    // The value label keeps its template text until a radio button is clicked.
    CheckRadioButton(kAngleInputRadio, kDistanceInputRadio, checked);
    LocaliseDialog(this);
    return TRUE;
}

void DlgOffset3DPoly::OnAngleInput()
{
    SetDlgItemText(kValueLabel, LoadPrompt(kAngleLabelText).c_str());
}

void DlgOffset3DPoly::OnDistanceInput()
{
    SetDlgItemText(kValueLabel, LoadPrompt(kDistanceLabelText).c_str());
}

void DlgOffset3DPoly::OnOK()
{
    const OffsetInput input = GetCheckedRadioButton(kAngleInputRadio, kDistanceInputRadio) == kDistanceInputRadio
                                  ? OffsetInput::DistanceAndHeight
                                  : OffsetInput::AngleAndHeight;
    const std::wstring value = boxText(*this, kValueBox);
    const std::wstring height = boxText(*this, kHeightBox);
    // An empty box stands for 0; any other text must be a number before the dialog closes, so
    // the settings file only ever holds numbers.
    std::vector<int> filled;
    for (const int id : {kValueBox, kHeightBox}) {
        CString text;
        GetDlgItemText(id, text);
        if (!text.IsEmpty()) filled.push_back(id);
    }
    if (!CheckNumberFields(this, filled)) return;
    m_input = input;

    // A file that cannot be written is not reported: the values still serve this run. When the
    // module's Data/ folder is read-only the user's own copy is written instead.
    std::ofstream file(fendo::toUtf8(settingsFileToWrite(L"offset.cfg")), std::ios::binary | std::ios::trunc);
    if (file)
        file << static_cast<int>(m_input) << '\n' << fendo::toUtf8(value) << '\n' << fendo::toUtf8(height) << '\n';
    file.close();

    if (m_input == OffsetInput::AngleAndHeight)
        m_angle = leadingNumber(value);
    else
        m_distance = leadingNumber(value);
    m_heightDifference = leadingNumber(height);
    CAcUiDialog::OnOK();
}
