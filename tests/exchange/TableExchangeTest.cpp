// "E2B" and "B2E" through fendo: the table drawn from a sheet (its size, texts and style, and
// the texts another DXF reader finds), and tables written into a copy of the template.
#include <gtest/gtest.h>

#include <string>

#include "ExchangeTestSupport.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/AcDbTableStyle.h"
#include "support/ModuleFolder.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {
using Grid = std::vector<std::vector<std::wstring>>;

// The texts of the drawing's only table, row by row; empty when there is none.
Grid tableOf(const Session& s)
{
    Grid grid;
    if (!s.result) return grid;
    const auto ids = modelSpaceEntities(*s.result, AcDbTable::desc());
    if (ids.size() != 1) return grid;
    AcDbTable* t = nullptr;
    if (acdbOpenObject(t, ids.front(), AcDb::kForRead) != Acad::eOk) return grid;
    for (int r = 0; r < t->numRows(); ++r) {
        grid.emplace_back();
        for (int c = 0; c < t->numColumns(); ++c) grid.back().emplace_back(t->textString(r, c).kwszPtr());
    }
    t->close();
    return grid;
}

Session sheetToTable(const std::string& cells)
{
    const fs::path book = scratchFile("sheet.xlsx");
    makeWorkbook(book, cells);
    TestDrawing d;
    return runSession(d, "E2B\n" + book.string() + "\n5,5\n");
}
}  // namespace

TEST(SheetToTable, CopiesTheFilledBlockRoundingNumbersToWholeOnes)
{
    const Session s = sheetToTable(R"({"A1": "a", "B1": "b", "C1": "c", "A2": 1, "B2": 2.75, "C2": " x ",
        "A3": "g", "B3": "h", "C3": "i"})");
    EXPECT_EQ(tableOf(s), (Grid{{L"a", L"b", L"c"}, {L"1", L"3", L"x"}, {L"g", L"h", L"i"}})) << s.run.output;
}

TEST(SheetToTable, ColumnsRunUntilTheFirstEmptyHeadAndRowsFollowColumnA)
{
    // B1 empty: one column, whatever C holds.
    EXPECT_EQ(tableOf(sheetToTable(R"({"A1": "a", "C1": "c", "A2": "d"})")), (Grid{{L"a"}, {L"d"}}));
    // A has 5 rows, B 7: 5 rows; B stops at its own gap at B3.
    const Session s = sheetToTable(R"({"A1": 1, "A2": 2, "A3": 3, "A4": 4, "A5": 5,
        "B1": "b1", "B2": "b2", "B4": "b4", "B5": "b5", "B6": "b6", "B7": "b7"})");
    EXPECT_EQ(tableOf(s), (Grid{{L"1", L"b1"}, {L"2", L"b2"}, {L"3", L""}, {L"4", L""}, {L"5", L""}}));
}

TEST(SheetToTable, KnowsTwentyFiveColumnsAToY)
{
    std::string cells = "{";
    for (char c = 'A'; c <= 'Z'; ++c) cells += std::string("\"") + c + "1\": \"" + c + "\", ";
    const Grid grid = tableOf(sheetToTable(cells + "}"));
    ASSERT_EQ(grid.size(), 1u);
    EXPECT_EQ(grid[0].size(), 25u);
    EXPECT_EQ(grid[0].back(), L"Y");
}

TEST(SheetToTable, AnEmptyA1OrNoPointDrawsNothing)
{
    EXPECT_TRUE(tableOf(sheetToTable(R"({"B1": "b"})")).empty());
    const fs::path book = scratchFile("sheet.xlsx");
    makeWorkbook(book, R"({"A1": "a"})");
    TestDrawing d;
    EXPECT_TRUE(tableOf(runSession(d, "E2B\n" + book.string() + "\n")).empty());
}

TEST(SheetToTable, MakesTheDcmStyleAndOtherReadersFindTheCellTexts)
{
    const fs::path book = scratchFile("sheet.xlsx");
    makeWorkbook(book, R"({"A1": "Tên", "B1": "Cao", "A2": "M1", "B2": 12.5})");
    TestDrawing d;
    const Session s = runSession(d, "E2B\n" + book.string() + "\n5,5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto ids = modelSpaceEntities(*s.result, AcDbTable::desc());
    ASSERT_EQ(ids.size(), 1u);
    AcDbTable* table = nullptr;
    ASSERT_EQ(acdbOpenObject(table, ids.front(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(table->position().isEqualTo(AcGePoint3d(5, 5, 0)));
    EXPECT_FALSE(table->isTitleSuppressed());
    EXPECT_FALSE(table->isHeaderSuppressed());
    AcDbTableStyle* style = nullptr;
    ASSERT_EQ(acdbOpenObject(style, table->tableStyle(), AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(std::wstring(style->name().kwszPtr()), L"DCM");
    EXPECT_EQ(style->flowDirection(), AcDb::kTtoB);
    for (AcDb::RowType row : {AcDb::kTitleRow, AcDb::kHeaderRow, AcDb::kDataRow}) {
        EXPECT_EQ(style->color(row).colorIndex(), 12);
        EXPECT_EQ(style->alignment(row), AcDb::kMiddleCenter);
    }
    style->close();

    const std::string found = python("import ezdxf\ndoc = ezdxf.readfile(r'''" + s.output.string() +
                                     "''')\nt = doc.modelspace().query('ACAD_TABLE')[0]\n"
                                     "print(sorted(e.text for e in t.virtual_entities() if e.dxftype() == 'MTEXT'))\n");
    EXPECT_EQ(found, "['12', 'Cao', 'M1', 'Tên']\n");
}

TEST(SheetToTable, AnExistingDcmStyleIsUsedUnchanged)
{
    TestDrawing d;
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(d.db().getTableStyleDictionary(dict, AcDb::kForWrite), Acad::eOk);
    auto* style = new AcDbTableStyle;
    style->setName(L"DCM");
    style->setFlowDirection(AcDb::kBtoT);
    AcDbObjectId id;
    ASSERT_EQ(dict->setAt(L"DCM", style, id), Acad::eOk);
    style->close();
    dict->close();
    const fs::path book = scratchFile("sheet.xlsx");
    makeWorkbook(book, R"({"A1": "a"})");
    const Session s = runSession(d, "E2B\n" + book.string() + "\n0,0\n");
    ASSERT_TRUE(s.result) << s.run.output;
    AcDbDictionary* out = nullptr;
    ASSERT_EQ(s.result->getTableStyleDictionary(out, AcDb::kForRead), Acad::eOk);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(out->getAt(L"DCM", obj, AcDb::kForRead), Acad::eOk);
    out->close();
    EXPECT_EQ(AcDbTableStyle::cast(obj)->flowDirection(), AcDb::kBtoT);
    obj->close();
}

namespace {
// A drawing with one 2 x 3 table whose middle cell of the first row is empty.
struct TableDrawing {
    TableDrawing()
    {
        auto* t = new AcDbTable;
        t->setSize(2, 3);
        const wchar_t* texts[2][3] = {{L"Điểm", L"", L"Z"}, {L"M1", L"-2.50", L"7"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) t->setTextString(r, c, texts[r][c]);
        handle = d.add(t).handle().hex();
    }
    TestDrawing d;
    std::string handle;
};
}  // namespace

TEST(TableToSheet, WritesTheCellTextsOntoTheTemplateWhichShowsThroughEmptyCells)
{
    // A template with content on its first sheet, a formula that a write replaces, a
    // calculation chain and a second sheet.
    ModuleFolder module("b2e-module");
    fs::copy_file(dataDir() / "workbooks" / "handmade.xlsx", module.dataFile("TemplateExcel.xlsx"));
    TableDrawing t;
    const fs::path book = scratchFile("bang.xlsx");
    const fs::path drawing = t.d.save();
    const RunResult r = runFendo({"--module", module.module().string(), drawing.string()},
                                 "B2E\nh " + t.handle + "\n" + book.string() + "\n");
    ASSERT_TRUE(fs::exists(book)) << r.output;
    // The first worksheet is the one after the chart sheet (openpyxl lists worksheets only).
    const Rows rows = readSheet(book, 0);
    ASSERT_GE(rows.size(), 2u) << r.output;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Điểm", "rich ", "Z"}));  // B1 kept from the template
    EXPECT_EQ(rows[1], (std::vector<std::string>{"M1", "-2.5", "7"}));     // numbers became number cells
    EXPECT_EQ(python("import openpyxl\nws = openpyxl.load_workbook(r'''" + book.string() +
                     "''').worksheets[0]\nprint(ws['A3'].value, ws['A2'].value, ws['B3'].value)\n"),
              "=A2*2 M1 True\n")
        << "the overwritten formula is gone; the shared one next to it kept its own";
    const std::string parts =
        python("import zipfile\nprint(sorted(zipfile.ZipFile(r'''" + book.string() + "''').namelist()))\n");
    EXPECT_EQ(parts.find("calcChain"), std::string::npos) << parts;
    EXPECT_EQ(readSheet(book, 1), (Rows{{"other sheet"}}));
    if (!haveLibreOffice()) GTEST_SKIP() << "soffice is not installed: LibreOffice check skipped";
    // LibreOffice recalculates: the formulas below A2 now double a text.
    EXPECT_EQ(libreOfficeCsv(book, 2),
              "Điểm,rich ,Z\nM1,-2.5,7\n#VALUE!,TRUE,tab\tbed\n#VALUE!,,\n5.5,inline rich,7\n");
}

TEST(TableToSheet, ColumnsPastZCarryOnAsAABAndBeyondBZ)
{
    TestDrawing d;
    auto* t = new AcDbTable;
    t->setSize(1, 80);
    for (int c = 0; c < 80; ++c) t->setTextString(0, c, std::to_wstring(c).c_str());
    const std::string handle = d.add(t).handle().hex();
    const fs::path book = scratchFile("wide.xlsx");
    const Session s = runSession(d, "B2E\nh " + handle + "\n" + book.string() + "\n");
    EXPECT_EQ(python("import openpyxl\nws = openpyxl.load_workbook(r'''" + book.string() +
                     "''').worksheets[0]\nprint(ws['Z1'].value, ws['AA1'].value, ws['BZ1'].value, ws['CB1'].value)\n"),
              "25 26 77 79\n")
        << s.run.output;
}
