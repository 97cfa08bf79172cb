// "RPT" replaces drawing texts by a lookup sheet (old text in A, new text in B); "RM" draws
// sample logs: for each block of rows under the heading "Mô tả nham thạch" in column H, a
// two-column table of the E and F values with a title, at a position read above the heading.
#include <string>
#include <vector>
#include "exchange/ExcelHandler.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/ExchangeFiles.h"
#include "exchange/SampleLogDialog.h"
#include "exchange/TextMatch.h"
#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/aced.h"
#include "ui/ModuleResources.h"

using namespace fendo::exchange;

namespace {
constexpr int kRptPrompt = 53;
constexpr int kLookupRows = 1000;
constexpr int kSampleLogRows = 5000;
constexpr const wchar_t* kHeading = L"Mô tả nham thạch";
constexpr const wchar_t* kLayer = L"RanhMau";
constexpr const wchar_t* kTextStyle = L"StyleBang";
}  // namespace

void cmdReplaceTexts()
{
    const auto path = askWorkbookToOpen(L"Chon file excel chua noi dung text thay the");
    if (!path) return;
    std::vector<std::wstring> olds, news;
    {
        CExcelHandler excel;
        if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
        excel.SetActiveSheet(1);
        const int n = excel.GetColumnValues(L"A", 2, 1, kLookupRows, olds, true);
        if (n > 0) excel.GetColumnValues(L"B", 2, 1, n + 1, news, false);
        excel.CloseExcel();
    }
    std::vector<std::wstring> foldedOlds;
    for (const auto& o : olds) foldedOlds.push_back(foldedText(o));

    OpenForWrite lock;
    const sset::KindOf texts(AcDbText::desc());
    std::vector<AcDbObjectId> ids;
    if (selectMatching(ids, texts, LoadPrompt(kRptPrompt).c_str(), kRemovePrompt, Highlight::No) == 0) return;
    for (const AcDbObjectId id : ids) {
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForWrite) != Acad::eOk) continue;
        const std::wstring s = foldedText(text->textString().kwszPtr());
        for (size_t i = 0; i < foldedOlds.size(); ++i) {
            if (foldedOlds[i] != s) continue;
            if (i < news.size() && !news[i].empty()) text->setTextString(news[i].c_str());
            break;
        }
        text->close();
    }
}

namespace {
// "StyleBang": Tahoma at a fixed height; an existing style of that name is used as it is.
AcDbObjectId ensureTextStyle(double height)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbTextStyleTable* table = nullptr;
    if (!db || db->getTextStyleTable(table, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (table->getAt(kTextStyle, id) != Acad::eOk) {
        auto* style = new AcDbTextStyleTableRecord;
        style->setName(kTextStyle);
        style->setFileName(L"tahoma.ttf");
        style->setTypeface(L"Tahoma");
        style->setBigFontFileName(L"");
        style->setTextSize(height);
        style->setObliquingAngle(0.0);
        style->setFlags70(0);
        style->setFlagBits(0);
        if (table->add(id, style) == Acad::eOk)
            style->close();
        else
            delete style;
    }
    table->close();
    return id;
}

struct SampleLogStyle {
    double h, r, w;
    AcDbObjectId textStyle;
};

void appendOnLayer(AcDbEntity* e)
{
    e->setLayer(kLayer);
    appendToCurrentSpace(e);
}

void middleText(const SampleLogStyle& s, const AcGePoint3d& at, const std::wstring& text)
{
    auto* t = new AcDbText;
    t->setTextStyle(s.textStyle);
    t->setHeight(s.h);
    t->setTextString(text.c_str());
    t->setHorizontalMode(AcDb::kTextMid);
    t->setPosition(at);
    t->setAlignmentPoint(at);
    appendOnLayer(t);
}

struct Block {
    std::vector<std::wstring> left, right;
    AcGePoint3d position;
    std::wstring title;
};

void drawBlock(const SampleLogStyle& s, const Block& b)
{
    const int n = static_cast<int>(b.left.size());
    const AcGeVector3d X(s.w, 0, 0), Y(0, 1, 0);
    const AcGePoint3d P = b.position;
    const AcGeVector3d down = Y * (n * s.r);
    auto* frame = new AcDbPolyline;
    const AcGePoint3d corners[] = {P - X, P - X - down, P + X - down, P + X};
    for (unsigned i = 0; i < 4; ++i) frame->addVertexAt(i, AcGePoint2d(corners[i].x, corners[i].y));
    frame->setClosed(true);
    appendOnLayer(frame);
    appendOnLayer(new AcDbLine(P, P - down));
    middleText(s, P + Y * (1.5 * s.h), b.title);
    for (int k = 0; k < n; ++k) {
        const AcGePoint3d Pk = P - Y * (k * s.r);
        if (k < n - 1) appendOnLayer(new AcDbLine(Pk - X - Y * s.r, Pk + X - Y * s.r));
        if (!b.left[k].empty()) middleText(s, Pk - X * 0.5 - Y * (0.5 * s.r), b.left[k]);
        if (!b.right[k].empty()) middleText(s, Pk + X * 0.5 - Y * (0.5 * s.r), b.right[k]);
    }
}
}  // namespace

void cmdDrawSampleLogs()
{
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    SampleLogDialog dialog;
    const bool confirmed = dialog.DoModal() == IDOK;
    acDocManagerPtr()->popResourceHandle();
    if (!confirmed) return;

    const auto path = askWorkbookToOpen(L"Chon file excel");
    if (!path) return;
    std::vector<std::wstring> B, E, F, H;
    {
        CExcelHandler excel;
        if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
        excel.SetActiveSheet(1);
        excel.GetColumnValues(L"B", 0, 1, kSampleLogRows, B, false);
        excel.GetColumnValuesEx(L"E", 1, 1, kSampleLogRows, E, false);
        excel.GetColumnValues(L"F", 2, 1, kSampleLogRows, F, false);
        excel.GetColumnValues(L"H", 0, 1, kSampleLogRows, H, false);
        excel.CloseExcel();
    }

    OpenForWrite lock;
    ensureLayer(kLayer, 0);
    const SampleLogStyle style{dialog.textHeight(), dialog.rowHeight(), dialog.columnWidth(),
                               ensureTextStyle(dialog.textHeight())};
    const std::wstring heading = foldedText(kHeading);
    Block block;
    bool inside = false;
    int lastHeading = -1;
    for (int i = 0; i < kSampleLogRows; ++i) {
        const std::wstring h = valueAt(H, i);
        if (!h.empty() && foldedText(h) == heading) {
            if (!block.left.empty()) drawBlock(style, block);
            block = Block{};
            if (i > 3) {
                block.position = AcGePoint3d(cellNumber(valueAt(B, i - 3), *path, L"B", i - 2),
                                             cellNumber(valueAt(B, i - 2), *path, L"B", i - 1), 0);
                block.title = valueAt(E, i - 2);
            }
            inside = true;
            lastHeading = i;
        } else if (!inside) {
            continue;
        } else if (!h.empty()) {
            block.left.push_back(valueAt(E, i));
            block.right.push_back(valueAt(F, i));
        } else if (lastHeading == i - 1) {
            continue;  // one blank row may follow a heading
        } else {
            if (!block.left.empty()) drawBlock(style, block);
            block = Block{};
            inside = false;
        }
    }
    if (block.left.size() > 1) drawBlock(style, block);
}
