// "E2B" draws the first sheet of a workbook as a table in the style "DCM"; "B2E" writes the
// cell texts of a picked table into a workbook made from the template.
#include <string>
#include <vector>
#include "exchange/CellNames.h"
#include "exchange/ExcelHandler.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/ExchangeFiles.h"
#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/AcDbTableStyle.h"
#include "host/editor/aced.h"

using namespace fendo::exchange;

namespace {
constexpr int kTablePrompt = 73;
constexpr int kInsertionPrompt = 74;
// E2B knows the single letters A to Y.
constexpr int kSheetColumns = 25;
constexpr int kSheetRows = 1000;
constexpr int kTextColour = 12;
constexpr const wchar_t* kTableStyle = L"DCM";

std::wstring letters(int column)
{
    const std::string l = columnLetters(column);
    return std::wstring(l.begin(), l.end());
}

// The table style "DCM", made when the drawing has none; an existing one is used unchanged.
AcDbObjectId ensureTableStyle()
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbDictionary* dict = nullptr;
    if (!db || db->getTableStyleDictionary(dict, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (dict->getAt(kTableStyle, id) != Acad::eOk) {
        auto* style = new AcDbTableStyle;
        style->setName(kTableStyle);
        style->setFlowDirection(AcDb::kTtoB);
        style->suppressTitleRow(false);
        style->suppressHeaderRow(false);
        AcCmColor colour;
        colour.setColorIndex(kTextColour);
        style->setColor(colour, AcDb::kTitleRow | AcDb::kHeaderRow | AcDb::kDataRow);
        style->setAlignment(AcDb::kMiddleCenter, AcDb::kTitleRow | AcDb::kHeaderRow | AcDb::kDataRow);
        if (dict->setAt(kTableStyle, style, id) == Acad::eOk)
            style->close();
        else
            delete style;
    }
    dict->close();
    return id;
}
}  // namespace

void cmdSheetToTable()
{
    const auto path = askWorkbookToOpen(L"Chon file excel");
    if (!path) return;
    CExcelHandler excel;
    if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
    excel.SetActiveSheet(1);
    // The run of columns from A whose first cells are filled.
    int lastColumn = 0;
    std::vector<std::wstring> values;
    for (int c = 0; c < kSheetColumns; ++c) {
        if (excel.GetColumnValuesEx(letters(c), 0, 1, 2, values, true) == 0) break;
        lastColumn = c;
    }
    std::vector<std::wstring> columnA;
    const int rowCount = excel.GetColumnValuesEx(L"A", 0, 1, kSheetRows, columnA, true);
    if (rowCount < 1) {
        excel.CloseExcel();
        return;
    }
    ads_point picked;
    if (acedGetPoint(nullptr, LoadPrompt(kInsertionPrompt).c_str(), picked) != RTNORM) {
        excel.CloseExcel();
        return;
    }
    OpenForWrite lock;
    const AcDbObjectId style = ensureTableStyle();
    auto* table = new AcDbTable;
    table->setTableStyle(style);
    if (table->setSize(rowCount, lastColumn + 1) != Acad::eOk || table->generateLayout() != Acad::eOk) {
        delete table;
        excel.CloseExcel();
        return;
    }
    table->setPosition(AcGePoint3d(picked[0], picked[1], picked[2]));
    table->suppressTitleRow(false);
    table->suppressHeaderRow(false);
    for (int i = 0; i < rowCount; ++i) table->setTextString(i, 0, columnA[i].c_str());
    for (int c = 1; c <= lastColumn; ++c) {
        excel.GetColumnValuesEx(letters(c), 0, 1, rowCount + 1, values, true);
        for (int j = 0; j < static_cast<int>(values.size()) && j < rowCount; ++j)
            table->setTextString(j, c, values[j].c_str());
    }
    AcDbObjectId tableId;
    if (appendToSpace(table, tableId, UcsTransform::None, SpaceChoice::Current) == Acad::eOk &&
        acdbOpenObject(table, tableId, AcDb::kForWrite) == Acad::eOk) {
        // The table's block shows its cells to programs that do not read table data.
        table->recomputeTableBlock(true);
        table->close();
    }
    excel.CloseExcel();
}

void cmdTableToSheet()
{
    const sset::KindOf tables(AcDbTable::desc());
    AcDbObjectId id;
    if (!pickMatching(id, LoadPrompt(kTablePrompt).c_str(), tables, Highlight::No)) return;
    std::vector<std::vector<std::wstring>> cells;
    {
        AcDbTable* table = nullptr;
        if (acdbOpenObject(table, id, AcDb::kForRead) != Acad::eOk) return;
        for (int r = 0; r < table->numRows(); ++r) {
            cells.emplace_back();
            for (int c = 0; c < table->numColumns(); ++c) cells.back().push_back(table->textString(r, c).kwszPtr());
        }
        table->close();
    }
    const auto path = askWorkbookToSave(L"Nhap ten file chua du lieu");
    if (!path || !copyTemplateTo(*path)) return;
    CExcelHandler excel;
    if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
    excel.SetActiveSheet(1);
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c)
            if (!cells[r][c].empty())
                excel.SetCellValue(cells[r][c], letters(static_cast<int>(c)) + std::to_wstring(r + 1));
    if (excel.SaveWorkbook()) excel.SetVisible(true);
}
