// "EPL", "IPL" and "XPL" through fendo: what lands in the workbook (read back with openpyxl
// and LibreOffice), what IPL draws from a workbook, and the lengths XPL writes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ExchangeTestSupport.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {
AcDbPolyline* lwPolyline(std::initializer_list<AcGePoint2d> points, double elevation = 0.0, bool closed = false)
{
    auto* p = new AcDbPolyline;
    unsigned i = 0;
    for (const auto& pt : points) p->addVertexAt(i++, pt);
    p->setElevation(elevation);
    p->setClosed(closed);
    return p;
}

std::vector<std::wstring> textsOf(AcDbDatabase& db)
{
    std::vector<std::wstring> out;
    for (const AcDbObjectId id : modelSpaceEntities(db, AcDbText::desc())) {
        AcDbText* t = nullptr;
        if (acdbOpenObject(t, id, AcDb::kForRead) != Acad::eOk) continue;
        out.emplace_back(t->textString().kwszPtr());
        t->close();
    }
    return out;
}

Points polyline3dOf(AcDbDatabase& db)
{
    const auto ids = modelSpaceEntities(db, AcDb3dPolyline::desc());
    return ids.size() == 1 ? verticesOf(ids.front()) : Points{};
}

size_t entityCount(const Session& s) { return s.result ? modelSpaceEntities(*s.result).size() : 0; }
}  // namespace

TEST(ExportPoints, WritesEveryVertexWithTheNearestUnusedTextAndItsElevation)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 0}, {10, 0}, {10, 10}}, 12.5));
    d.add(new AcDbText(AcGePoint3d(0.5, 0.2, 0), L"P1"));
    d.add(new AcDbText(AcGePoint3d(10.2, 0, 0), L"105"));
    // Beyond the extents grown by half their size (-5..15 each way): never a candidate.
    d.add(new AcDbText(AcGePoint3d(16, 5, 0), L"outside"));
    const fs::path book = scratchFile("toado.xlsx");
    const Session s = runSession(d, "EPL\nall\n\n" + book.string() + "\n");
    ASSERT_TRUE(fs::exists(book)) << s.run.output;
    // The third vertex finds no text left; a name that is a plain number is a number cell.
    EXPECT_EQ(readSheet(book),
              (Rows{{"1", "P1", "0", "0", "12.5"}, {"2", "105", "10", "0", "12.5"}, {"3", "", "10", "10", "12.5"}}));
    EXPECT_NE(s.run.output.find("Workbook saved: " + book.string()), std::string::npos) << s.run.output;
    // The template's second sheet came along.
    EXPECT_EQ(python("import openpyxl\nprint(openpyxl.load_workbook(r'''" + book.string() + "''').sheetnames)\n"),
              "['Sheet1', 'Ghi chu']\n");
    if (!haveLibreOffice()) GTEST_SKIP() << "soffice is not installed: LibreOffice check skipped";
    EXPECT_EQ(libreOfficeCsv(book), "1,P1,0,0,12.5\n2,105,10,0,12.5\n3,,10,10,12.5\n");
}

TEST(ExportPoints, TiesGoToTheTextSelectedFirstAndTextHeightsCount)
{
    TestDrawing d;
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray({{0, 0, 7}, {20, 0, 9}, {40, 0, 0}})));
    d.add(new AcDbText(AcGePoint3d(-1, 0, 0), L"first"));
    d.add(new AcDbText(AcGePoint3d(1, 0, 0), L"second"));
    // Right above the second vertex, but 5 up: farther than the text 3 beside it.
    d.add(new AcDbText(AcGePoint3d(20, 0, 5), L"high"));
    d.add(new AcDbText(AcGePoint3d(23, 0, 0), L"beside"));
    const fs::path book = scratchFile("ties.xlsx");
    const Session s = runSession(d, "EPL\nall\n\n" + book.string() + "\n");
    const Rows rows = readSheet(book);
    ASSERT_EQ(rows.size(), 3u) << s.run.output;
    EXPECT_EQ(rows[0][1], "first");
    EXPECT_EQ(rows[1][1], "beside");
    EXPECT_EQ(rows[2][1], "high");  // every vertex takes the nearest text left, however far
    EXPECT_EQ(rows[1][4], "9");
}

TEST(ExportPoints, AnOldFormatNameIsSavedAsXlsxAndCancellingWritesNothing)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 0}, {10, 0}}));
    const fs::path asked = scratchFile("old.xls");
    const Session s = runSession(d, "EPL\nall\n\n" + asked.string() + "\nEPL\nall\n\n\n");
    EXPECT_FALSE(fs::exists(asked));
    EXPECT_EQ(readSheet(asked.string() + "x").size(), 2u) << s.run.output;
    EXPECT_NE(s.run.output.find("saving as " + asked.string() + "x"), std::string::npos) << s.run.output;
    EXPECT_EQ(std::distance(fs::directory_iterator(asked.parent_path()), fs::directory_iterator()), 1);
}

TEST(ExportPoints, AnUnwritableTargetIsNamedAndLeavesNoFileBehind)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 0}, {10, 0}}));
    const fs::path target = scratchFile("taken.xlsx");
    fs::create_directories(target / "inside");  // a folder where the workbook should go
    const Session s = runSession(d, "EPL\nall\n\n" + target.string() + "\n");
    EXPECT_NE(s.run.output.find("Cannot write " + target.string()), std::string::npos) << s.run.output;
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()), 1);
}

TEST(ImportPoints, ReadsRowsUpToTheFirstEmptyXAndReadsBackWhatExportWrote)
{
    const fs::path book = scratchFile("points.xlsx");
    makeWorkbook(book, R"({"B1": "A", "C1": 1, "D1": 2, "E1": 3.456, "C2": 4, "D2": 5, "E2": 6,
        "B3": "C", "C3": 7, "D3": 8, "E3": 9, "B4": 105, "C4": 10, "D4": 11, "E4": 12,
        "C6": 99, "D6": 99, "E6": 99})");
    TestDrawing d;
    const Session s = runSession(d, "IPL\n" + book.string() + "\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(textsOf(*s.result), (std::vector<std::wstring>{L"A", L"C", L"105.00"}));
    EXPECT_THAT(polyline3dOf(*s.result), PointsNear(Points{{1, 2, 3.46}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}));
}

TEST(ImportPoints, ExportThenImportGivesThePointsAndNames)
{
    TestDrawing d;
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray({{0.123, 0, 7}, {20, 5.555, 9}})));
    d.add(new AcDbText(AcGePoint3d(0, 0, 0), L"M1"));
    const fs::path book = scratchFile("round.xlsx");
    runSession(d, "EPL\nall\n\n" + book.string() + "\n");
    TestDrawing empty;
    const Session s = runSession(empty, "IPL\n" + book.string() + "\n");
    ASSERT_TRUE(s.result) << s.run.output;
    // 5.555 is stored just below itself, so "%.2f" gives 5.55.
    EXPECT_THAT(polyline3dOf(*s.result), PointsNear(Points{{0.12, 0, 7}, {20, 5.55, 9}}));
    EXPECT_EQ(textsOf(*s.result), (std::vector<std::wstring>{L"M1"}));
}

TEST(ImportPoints, ReadsAtMostAThousandRows)
{
    const fs::path book = scratchFile("long.xlsx");
    makeWorkbook(book, R"({f"{c}{i}": i for i in range(1, 1006) for c in "CDE"})");
    TestDrawing d;
    const Session s = runSession(d, "IPL\n" + book.string() + "\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const Points points = polyline3dOf(*s.result);
    ASSERT_EQ(points.size(), 1000u);
    EXPECT_TRUE(points.back().isEqualTo(AcGePoint3d(1000, 1000, 1000)));
}

TEST(ImportPoints, OnePointDrawsNothingAndSaysNothing)
{
    const fs::path book = scratchFile("one.xlsx");
    makeWorkbook(book, R"({"B1": "A", "C1": 1, "D1": "abc", "E1": 3})");
    TestDrawing d;
    const Session s = runSession(d, "IPL\n" + book.string() + "\n");
    EXPECT_EQ(entityCount(s), 0u);
    EXPECT_EQ(s.run.output.find("not a number"), std::string::npos) << s.run.output;
}

TEST(ImportPoints, ACellWithoutANumberIsWarnedAboutOnceAndCountsAsZero)
{
    const fs::path book = scratchFile("toado.xlsx");
    makeWorkbook(book, R"({"C1": 1, "D1": 2, "E1": 3, "C2": 4, "D2": "abc", "C3": 5, "D3": "6m", "E3": 1})");
    TestDrawing d;
    const Session s = runSession(d, "IPL\n" + book.string() + "\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_THAT(polyline3dOf(*s.result), PointsNear(Points{{1, 2, 3}, {4, 0, 0}, {5, 6, 1}}));
    const std::string warning = "toado.xlsx D2: \"abc\" is not a number; 0 used";
    const size_t at = s.run.output.find(warning);
    EXPECT_NE(at, std::string::npos) << s.run.output;
    EXPECT_EQ(s.run.output.find(warning, at + 1), std::string::npos);
    EXPECT_EQ(s.run.output.find("E2"), std::string::npos) << "an empty cell is no warning";
}

TEST(ExportLengths, WritesOneRowPerCurveWithAWorkingPolylineAndNoGaps)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 0}, {3, 4}}));
    d.add(new AcDbText(AcGePoint3d(50, 50, 0), L"skipped"));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, AcGePoint3dArray({{0, 0, 0}, {1, 0, 0}})));
    d.add(new AcDbCircle(AcGePoint3d(100, 0, 0), AcGeVector3d::kZAxis, 1.0));
    d.add(lwPolyline({{0, 20}, {10, 20}, {10, 30}, {0, 30}}, 0.0, true));
    d.add(new AcDbLine(AcGePoint3d(0, 40, 0), AcGePoint3d(2.5, 40, 0)));
    const fs::path book = scratchFile("lengths.xlsx");
    const Session s = runSession(d, "XPL\nall\n\n" + book.string() + "\n");
    // Closed curves give their whole length, though their end is their start.
    EXPECT_EQ(readSheet(book), (Rows{{"5"}, {"6.28"}, {"40"}, {"2.5"}})) << s.run.output;
}
