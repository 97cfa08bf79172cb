// "TL" draws a slope symbol between a top-edge polyline and an optional toe polyline;
// "HCTL" opens the modeless editor of an existing symbol.
#include "slope/SlopeCommands.h"

#include "frame/DrawingHelpers.h"
#include "frame/ModuleApp.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/aced.h"
#include "slope/DlgHieuChinhTaluy.h"
#include "slope/SlopeSettings.h"
#include "slope/TaluyObj.h"
#include "slope/VeTaluyDlg.h"
#include "ui/ModuleResources.h"

using fendo::slope::SettingsLine;
using fendo::slope::SettingsLines;

namespace {

constexpr int kPromptToe = 14;
constexpr int kPromptEdge = 15;
constexpr int kPromptStart = 16;
constexpr int kPromptEnd = 17;
constexpr const ACHAR* kPromptPickSymbol = L"\nChon Taluy can hieu chinh:";

// A settings file holding the step and count lines seeds the dialog with them.
constexpr std::size_t kLinesForDialogSeed = 11;

// The step and count the user accepted, or nothing when the dialog was closed otherwise.
bool askStepAndCount(const SettingsLines& settings, double& step, int& count)
{
    VeTaluyDlg dialog(acedGetAcadFrame());
    if (settings.size() >= kLinesForDialogSeed)
        dialog.setInitialValues(
            fendo::slope::parseReal(fendo::slope::settingsLine(settings, SettingsLine::DivisionLength)),
            fendo::slope::parseInteger(fendo::slope::settingsLine(settings, SettingsLine::StepsPerDivision)));
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    const INT_PTR result = dialog.DoModal();
    acDocManagerPtr()->popResourceHandle();
    if (result != IDOK) return false;
    step = dialog.step();
    count = dialog.count();
    return true;
}

// Where the symbol runs on its edge: between two picked points, or over the whole edge when
// either pick is declined.
void askRange(TaluyObj& symbol)
{
    const std::wstring startPrompt = LoadPrompt(kPromptStart);
    const std::wstring endPrompt = LoadPrompt(kPromptEnd);
    ads_point start = {0, 0, 0};
    ads_point end = {0, 0, 0};
    TaluyObj::Range range = TaluyObj::Range::WholeEdge;
    if (acedGetPoint(nullptr, startPrompt.c_str(), start) == RTNORM &&
        acedGetPoint(start, endPrompt.c_str(), end) == RTNORM)
        range = TaluyObj::Range::BetweenPoints;
    symbol.setRange(AcGePoint3d(start[0], start[1], start[2]), AcGePoint3d(end[0], end[1], end[2]), range);
}

// The last used parameters, with the dialog's step and count in place of the file's; the
// file is written back with them.
void applyAndKeepSettings(SettingsLines& settings, double step, int count, TaluyObj& symbol)
{
    using fendo::slope::settingsLine;
    settingsLine(settings, SettingsLine::DivisionLength) = fendo::slope::formatReal(step, 6);
    settingsLine(settings, SettingsLine::StepsPerDivision) = fendo::slope::formatInteger(count);
    fendo::slope::applySettings(settings, symbol);
    fendo::slope::writeSettings(settings);
    symbol.setTriangleWidth(fendo::slope::parseReal(settingsLine(settings, SettingsLine::TriangleWidth)));
}

}  // namespace

void cmdDrawSlope()
{
    SettingsLines settings = fendo::slope::readSettings();
    double step = 0.0;
    int count = 0;
    if (!askStepAndCount(settings, step, count)) return;

    const AcDbObjectId edge = pickEntity(LoadPrompt(kPromptEdge).c_str(), Highlight::No);
    if (edge.isNull()) return;
    const AcDbObjectId toe = pickEntity(LoadPrompt(kPromptToe).c_str(), Highlight::No);

    auto* symbol = new TaluyObj();
    symbol->setStepsPerDivision(fendo::slope::toShort(count));
    symbol->setDivisionLength(step);
    if (!symbol->setSourcePolylines(edge, toe)) {
        delete symbol;
        return;
    }
    askRange(*symbol);
    // A missing or short file leaves the object's defaults; it is neither applied nor rewritten.
    if (settings.size() >= fendo::slope::kSettingsLineCount)
        applyAndKeepSettings(settings, step, count, *symbol);

    AcDbObjectId id;
    if (appendToSpace(symbol, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk) {
        if (symbol->objectId().isNull()) delete symbol;
        return;
    }
    TaluyObj* added = nullptr;
    if (acdbOpenObject(added, id, AcDb::kForWrite) != Acad::eOk) return;
    added->rebuildTraces();
    added->close();
}

void cmdEditSlope()
{
    FilterObjects slopes;
    slopes.addType(TaluyObj::desc()->dxfName());
    if (slopes.selectOne(kPromptPickSymbol) == 0) return;
    const AcDbObjectId id = slopes.idAt(0);

    TaluyObj* symbol = nullptr;
    if (acdbOpenObject(symbol, id, AcDb::kForRead) != Acad::eOk) return;
    const bool noToe = symbol->flag(TaluyObj::Flag::NoToe);
    symbol->close();

    CWnd* frame = acedGetAcadFrame();
    if (!frame) {
        acedAlert(L"Unable to locate AutoCAD parent window.");
        return;
    }
    // One editor per kind of symbol: running HCTL again replaces the open one.
    const ModelessSlot slot = noToe ? ModelessSlot::SlopeEdit1 : ModelessSlot::SlopeEdit2;
    destroyModelessDialog(slot);
    DlgHieuChinhTaluy* dialog = noToe ? static_cast<DlgHieuChinhTaluy*>(new DlgHieuChinhTaluy1(id, frame))
                                      : static_cast<DlgHieuChinhTaluy*>(new DlgHieuChinhTaluy2(id, frame));
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    const BOOL created = dialog->Create();
    acDocManagerPtr()->popResourceHandle();
    if (!created) {
        acutPrintf(L"\nError to create!");
        delete dialog;
        return;
    }
    setModelessDialog(slot, dialog);
}
