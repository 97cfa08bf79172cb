// The survey point display dialog and its command "HCD".
#include "commands/survey/PointDisplayDialog.h"

#include <numbers>
#include <string>

#include "commands/survey/SurveyCommands.h"
#include "commands/survey/SurveyPoints.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/LeadingNumber.h"
#include "frame/LocaliseDialog.h"
#include "frame/Prompts.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/aced.h"
#include "ui/DialogTemplates.h"
#include "ui/ModuleResources.h"

namespace {
constexpr int kPickPrompt = 38;
constexpr const wchar_t* kNoPointPicked = L"\nKhong phai doi tuong diem.";
constexpr int kFirstColour = 7;
// A survey point's label has four texts; each gets the one height.
constexpr int kLabelTexts = 4;

// What one pick applies, read from the dialog when the pick button is pressed.
struct DisplayChange {
    bool height = false;
    bool rotation = false;
    bool colour = false;
    double textHeight = 0.0;
    double radians = 0.0;
    int colourIndex = kFirstColour;
};

void apply(const DisplayChange& change, KvoDbMeasurePointObj& point)
{
    if (change.colour) {
        AcCmEntityColor colour;
        colour.setColorIndex(static_cast<Adesk::UInt16>(change.colourIndex));
        point.SetColor(colour);
    }
    if (change.height)
        for (int i = 0; i < kLabelTexts; ++i) point.SetTextHeight(i, change.textHeight);
    if (change.rotation) point.SetRotation(change.radians);
}

double numberIn(const CWnd& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return fendo::leadingNumber(std::wstring(text));
}
}  // namespace

DlgHieuChinhDiem::DlgHieuChinhDiem(CWnd* parent) : CAcUiDialog(fendo::ui::kTemplatePointDisplayDlg, parent)
{
    onCommand(kPickPointsButton, BN_CLICKED, &DlgHieuChinhDiem::onPickPoints);
}

void DlgHieuChinhDiem::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kColourCombo, m_colour);
}

BOOL DlgHieuChinhDiem::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    SetDlgItemText(kHeightEdit, L"2");
    SetDlgItemText(kRotationEdit, L"0");
    m_colour.SetColorIndex(kFirstColour);
    LocaliseDialog(this);
    return TRUE;
}

void DlgHieuChinhDiem::onPickPoints()
{
    DisplayChange change;
    change.height = IsDlgButtonChecked(kChangeHeightCheck) == BST_CHECKED;
    change.rotation = IsDlgButtonChecked(kChangeRotationCheck) == BST_CHECKED;
    change.colour = IsDlgButtonChecked(kChangeColourCheck) == BST_CHECKED;
    change.colourIndex = m_colour.GetColorIndex();
    change.textHeight = numberIn(*this, kHeightEdit);
    change.radians = numberIn(*this, kRotationEdit) * std::numbers::pi / 180.0;

    BeginEditorCommand();
    const fendo::survey::AnyKindOf points{KvoDbMeasurePointObj::desc()};
    const auto ids = fendo::survey::selectObjects(LoadPrompt(kPickPrompt), points).ids;
    if (ids.empty()) {
        acutPrintf(kNoPointPicked);
        CancelEditorCommand();
        return;
    }
    CompleteEditorCommand();
    for (const AcDbObjectId id : ids) {
        KvoDbMeasurePointObj* point = nullptr;
        if (acdbOpenObject(point, id, AcDb::kForWrite) != Acad::eOk) continue;
        apply(change, *point);
        point->close();
    }
}

void cmdEditPointDisplay()
{
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    DlgHieuChinhDiem dialog;
    dialog.DoModal();
    acDocManagerPtr()->popResourceHandle();
}
