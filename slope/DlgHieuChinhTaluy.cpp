// The HCTL editing dialogs: filling them from the symbol, and the actions of their buttons
// and combo, each run under the document's write lock because the dialog works outside any command.
#include "slope/DlgHieuChinhTaluy.h"

#include <vector>

#include "frame/LocaliseDialog.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/Tcvn3.h"
#include "host/editor/aced.h"
#include "slope/TaluyObj.h"
#include "ui/DialogTemplates.h"

using fendo::slope::SettingsLine;
using fendo::slope::SettingsLines;
using fendo::slope::formatInteger;
using fendo::slope::formatReal;

namespace {

constexpr int kPromptPickSlopes = 26;
constexpr const ACHAR* kPromptPickPolyline = L"\nChon polyline:";

// One dialog action: the host window gets the focus and the current document is locked for
// write while the action changes the drawing; then the dialog gets the focus back.
class DialogAction {
public:
    explicit DialogAction(CWnd& dialog) : m_dialog(dialog)
    {
        if (CWnd* frame = acedGetAcadFrame()) frame->SetFocus();
    }
    ~DialogAction() { m_dialog.SetFocus(); }
    DialogAction(const DialogAction&) = delete;
    DialogAction& operator=(const DialogAction&) = delete;

private:
    CWnd& m_dialog;
    OpenForWrite m_lock;
};

// Runs `change` on the symbol opened in `mode`; a symbol that cannot be opened skips it.
template <class Change> bool withSymbol(AcDbObjectId id, AcDb::OpenMode mode, Change&& change)
{
    TaluyObj* symbol = nullptr;
    if (acdbOpenObject(symbol, id, mode) != Acad::eOk) return false;
    change(*symbol);
    symbol->close();
    return true;
}

std::wstring checkLine(UINT state) { return state == BST_CHECKED ? L"1" : L"0"; }

}  // namespace

// ---- shared part ------------------------------------------------------------------------

DlgHieuChinhTaluy::DlgHieuChinhTaluy(UINT templateId, SymbolKind kind, int showLongCheck, int reversedCheck,
                                     AcDbObjectId symbolId, CWnd* parent)
    : CAcUiDialog(templateId, parent),
      m_symbolId(symbolId),
      m_kind(kind),
      m_showLongCheck(showLongCheck),
      m_reversedCheck(reversedCheck)
{
    onCommand(kFormCombo, CBN_SELCHANGE, &DlgHieuChinhTaluy::onFormChanged);
    onCommand(m_showLongCheck, BN_CLICKED, &DlgHieuChinhTaluy::onFlagClicked);
    if (m_reversedCheck != 0) onCommand(m_reversedCheck, BN_CLICKED, &DlgHieuChinhTaluy::onFlagClicked);
    onCommand(kUpdateButton, BN_CLICKED, &DlgHieuChinhTaluy::onUpdate);
    onCommand(kTrimLongButton, BN_CLICKED, &DlgHieuChinhTaluy::onTrimLong);
    onCommand(kTrimShortButton, BN_CLICKED, &DlgHieuChinhTaluy::onTrimShort);
    onCommand(kPickSlopesButton, BN_CLICKED, &DlgHieuChinhTaluy::onPickSlopes);
}

void DlgHieuChinhTaluy::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kFormCombo, m_form);
    DDX_Control(pDX, kShortColorCombo, m_shortColor);
    DDX_Control(pDX, kLongColorCombo, m_longColor);
}

BOOL DlgHieuChinhTaluy::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    decodeFormEntries();
    withSymbol(m_symbolId, AcDb::kForRead, [this](TaluyObj& symbol) {
        m_form.SetCurSel(symbol.flag(TaluyObj::Flag::TickForm) ? kTickLinesEntry : kTrianglesEntry);
        for (auto [combo, color] : {std::pair{&m_shortColor, symbol.shortColor()},
                                    std::pair{&m_longColor, symbol.longColor()}}) {
            int entry = combo->FindItemByColorIndex(color);
            if (entry == CB_ERR) entry = combo->AddColorToMRU(color);
            combo->SetCurSel(entry);
        }
        showKindFields(symbol);
        setFieldText(kDivisionLengthEdit, formatReal(symbol.divisionLength(), 2));
        setFieldText(kLongPerTangentEdit, formatInteger(symbol.longPerTangent()));
        setFieldText(kStepsPerDivisionEdit, formatInteger(symbol.stepsPerDivision()));
        setFieldText(kTriangleWidthEdit, formatReal(symbol.triangleWidth(), 2));
        if (m_reversedCheck != 0)
            CheckDlgButton(m_reversedCheck,
                           symbol.flag(TaluyObj::Flag::Reversed) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(m_showLongCheck, symbol.flag(TaluyObj::Flag::ShowLong) ? BST_CHECKED : BST_UNCHECKED);
    });
    enableShowLong();
    LocaliseDialog(this);
    return TRUE;
}

// The combo's entries are stored TCVN3 text like the labels, which LocaliseDialog decodes;
// combo boxes are not among the controls it visits.
void DlgHieuChinhTaluy::decodeFormEntries()
{
    for (int i = 0; i < m_form.GetCount(); ++i) {
        CString stored;
        m_form.GetLBText(i, stored);
        std::string bytes;
        for (const ACHAR c : stored) bytes.push_back(static_cast<char>(c & 0xFF));
        m_form.DeleteString(i);
        m_form.InsertString(i, DecodeTcvn3Text(bytes).c_str());
    }
}

CString DlgHieuChinhTaluy::fieldText(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return text;
}

void DlgHieuChinhTaluy::setFieldText(int id, const std::wstring& text) { SetDlgItemText(id, text.c_str()); }

double DlgHieuChinhTaluy::realField(int id) const { return fendo::slope::parseReal(fieldText(id)); }

short DlgHieuChinhTaluy::integerField(int id) const
{
    return fendo::slope::toShort(fendo::slope::parseInteger(fieldText(id)));
}

bool DlgHieuChinhTaluy::inTickForm() const { return m_form.GetCurSel() == kTickLinesEntry; }

// "ThÓ hiÖn v¹ch dµi" only matters in triangle form: tick form always draws long ticks.
void DlgHieuChinhTaluy::enableShowLong()
{
    if (CWnd* box = GetDlgItem(m_showLongCheck)) box->EnableWindow(inTickForm() ? FALSE : TRUE);
}

void DlgHieuChinhTaluy::copySharedFields(TaluyObj& symbol) const
{
    symbol.setFlag(TaluyObj::Flag::TickForm, inTickForm());
    symbol.setShortColor(fendo::slope::toShort(m_shortColor.GetColorIndex()));
    symbol.setLongColor(fendo::slope::toShort(m_longColor.GetColorIndex()));
    symbol.setDivisionLength(realField(kDivisionLengthEdit));
    symbol.setLongPerTangent(integerField(kLongPerTangentEdit));
    symbol.setStepsPerDivision(integerField(kStepsPerDivisionEdit));
    symbol.setTriangleWidth(realField(kTriangleWidthEdit));
}

void DlgHieuChinhTaluy::copyFields(TaluyObj& symbol) const
{
    copySharedFields(symbol);
    copyKindFields(symbol);
    if (m_reversedCheck != 0)
        symbol.setFlag(TaluyObj::Flag::Reversed, IsDlgButtonChecked(m_reversedCheck) == BST_CHECKED);
    symbol.setFlag(TaluyObj::Flag::ShowLong, IsDlgButtonChecked(m_showLongCheck) == BST_CHECKED);
}

// The display form and the two flag boxes change how the symbol is drawn, not its ticks: no rebuild.
void DlgHieuChinhTaluy::onFormChanged()
{
    DialogAction action(*this);
    withSymbol(m_symbolId, AcDb::kForWrite, [this](TaluyObj& symbol) { copyFields(symbol); });
    enableShowLong();
}

void DlgHieuChinhTaluy::onFlagClicked()
{
    DialogAction action(*this);
    withSymbol(m_symbolId, AcDb::kForWrite, [this](TaluyObj& symbol) { copyFields(symbol); });
}

bool DlgHieuChinhTaluy::fieldsHoldNumbers()
{
    std::vector<int> real{kDivisionLengthEdit, kTriangleWidthEdit};
    for (const int id : kindNumberFields()) real.push_back(id);
    return CheckNumberFields(this, real, {kLongPerTangentEdit, kStepsPerDivisionEdit});
}

void DlgHieuChinhTaluy::onUpdate()
{
    if (!fieldsHoldNumbers()) return;
    DialogAction action(*this);
    withSymbol(m_symbolId, AcDb::kForWrite, [this](TaluyObj& symbol) {
        copyFields(symbol);
        symbol.rebuildTraces();
    });
}

void DlgHieuChinhTaluy::onTrimLong() { trim(TickList::Long); }
void DlgHieuChinhTaluy::onTrimShort() { trim(TickList::Short); }

void DlgHieuChinhTaluy::trim(TickList list)
{
    DialogAction action(*this);
    BeginEditorCommand();
    FilterObjects polylines;
    polylines.addType(L"LWPOLYLINE");
    polylines.addType(L"POLYLINE");
    if (polylines.selectOne(kPromptPickPolyline) == 0) {
        CancelEditorCommand();
        return;
    }
    CompleteEditorCommand();
    const AcDbObjectId cutter = polylines.idAt(0);
    withSymbol(m_symbolId, AcDb::kForWrite, [list, cutter](TaluyObj& symbol) {
        if (list == TickList::Long)
            symbol.trimLongTraces(cutter);
        else
            symbol.trimShortTraces(cutter);
    });
}

// Other symbols take the form, the colours and the fields they have: a symbol of the other
// kind keeps its own lengths, or its own clearance and ratio.
void DlgHieuChinhTaluy::onPickSlopes()
{
    DialogAction action(*this);
    BeginEditorCommand();
    FilterObjects slopes;
    slopes.addType(TaluyObj::desc()->dxfName());
    const std::wstring prompt = LoadPrompt(kPromptPickSlopes);
    if (slopes.select(prompt.c_str()) == 0) {
        CancelEditorCommand();
        return;
    }
    CompleteEditorCommand();
    for (const AcDbObjectId& id : slopes.ids()) {
        withSymbol(id, AcDb::kForWrite, [this](TaluyObj& symbol) {
            copySharedFields(symbol);
            const SymbolKind kind =
                symbol.flag(TaluyObj::Flag::NoToe) ? SymbolKind::WithoutToe : SymbolKind::WithToe;
            if (kind == m_kind) copyKindFields(symbol);
            symbol.rebuildTraces();
        });
    }
}

void DlgHieuChinhTaluy::OnOK()
{
    if (!fieldsHoldNumbers()) return;
    {
        DialogAction action(*this);
        withSymbol(m_symbolId, AcDb::kForWrite, [this](TaluyObj& symbol) {
            copyFields(symbol);
            symbol.rebuildTraces();
        });
        const SettingsLines previous = fendo::slope::readSettings();
        SettingsLines lines(fendo::slope::kSettingsLineCount);
        const auto set = [&lines](SettingsLine line, const std::wstring& text) {
            fendo::slope::settingsLine(lines, line) = text;
        };
        set(SettingsLine::DisplayForm, formatInteger(m_form.GetCurSel()));
        set(SettingsLine::ShortColor, formatInteger(m_shortColor.GetColorIndex()));
        set(SettingsLine::LongColor, formatInteger(m_longColor.GetColorIndex()));
        set(SettingsLine::DivisionLength, fieldText(kDivisionLengthEdit));
        set(SettingsLine::LongPerTangent, fieldText(kLongPerTangentEdit));
        set(SettingsLine::StepsPerDivision, fieldText(kStepsPerDivisionEdit));
        set(SettingsLine::TriangleWidth, fieldText(kTriangleWidthEdit));
        set(SettingsLine::ShowLong, checkLine(IsDlgButtonChecked(m_showLongCheck)));
        writeKindSettings(lines, previous);
        fendo::slope::writeSettings(lines);
    }
    EndDialog(IDOK);
}

void DlgHieuChinhTaluy::carryOver(SettingsLines& lines, const SettingsLines& previous, SettingsLine line,
                                  const wchar_t* fallback)
{
    // An old file of 11 lines already holds every line a dialog leaves out.
    constexpr std::size_t kLinesToCarryOver = 11;
    fendo::slope::settingsLine(lines, line) =
        previous.size() >= kLinesToCarryOver ? fendo::slope::settingsLine(previous, line) : fallback;
}

// ---- without toe ------------------------------------------------------------------------

DlgHieuChinhTaluy1::DlgHieuChinhTaluy1(AcDbObjectId symbolId, CWnd* parent)
    : DlgHieuChinhTaluy(fendo::ui::kTemplateDlgHieuChinhTaluy1, SymbolKind::WithoutToe, kShowLongCheck,
                        kReversedCheck, symbolId, parent)
{
}

void DlgHieuChinhTaluy1::showKindFields(const TaluyObj& symbol)
{
    setFieldText(kLongLengthEdit, formatReal(symbol.longLength(), 2));
    setFieldText(kShortLengthEdit, formatReal(symbol.shortLength(), 2));
}

void DlgHieuChinhTaluy1::copyKindFields(TaluyObj& symbol) const
{
    symbol.setLongLength(realField(kLongLengthEdit));
    symbol.setShortLength(realField(kShortLengthEdit));
}

std::vector<int> DlgHieuChinhTaluy1::kindNumberFields() const { return {kLongLengthEdit, kShortLengthEdit}; }

void DlgHieuChinhTaluy1::writeKindSettings(SettingsLines& lines, const SettingsLines& previous) const
{
    fendo::slope::settingsLine(lines, SettingsLine::LongLength) = fieldText(kLongLengthEdit);
    fendo::slope::settingsLine(lines, SettingsLine::ShortLength) = fieldText(kShortLengthEdit);
    carryOver(lines, previous, SettingsLine::ToeClearance, L"0.5");
    carryOver(lines, previous, SettingsLine::ShortRatio, L"0.5");
}

// ---- with toe ---------------------------------------------------------------------------

DlgHieuChinhTaluy2::DlgHieuChinhTaluy2(AcDbObjectId symbolId, CWnd* parent)
    : DlgHieuChinhTaluy(fendo::ui::kTemplateDlgHieuChinhTaluy2, SymbolKind::WithToe, kShowLongCheck, 0,
                        symbolId, parent)
{
}

void DlgHieuChinhTaluy2::showKindFields(const TaluyObj& symbol)
{
    setFieldText(kToeClearanceEdit, formatReal(symbol.toeClearance(), 2));
    setFieldText(kShortRatioEdit, formatReal(symbol.shortRatio(), 1));
}

void DlgHieuChinhTaluy2::copyKindFields(TaluyObj& symbol) const
{
    symbol.setToeClearance(realField(kToeClearanceEdit));
    symbol.setShortRatio(realField(kShortRatioEdit));
}

std::vector<int> DlgHieuChinhTaluy2::kindNumberFields() const { return {kToeClearanceEdit, kShortRatioEdit}; }

void DlgHieuChinhTaluy2::writeKindSettings(SettingsLines& lines, const SettingsLines& previous) const
{
    carryOver(lines, previous, SettingsLine::LongLength, L"10");
    carryOver(lines, previous, SettingsLine::ShortLength, L"5");
    fendo::slope::settingsLine(lines, SettingsLine::ToeClearance) = fieldText(kToeClearanceEdit);
    fendo::slope::settingsLine(lines, SettingsLine::ShortRatio) = fieldText(kShortRatioEdit);
}
