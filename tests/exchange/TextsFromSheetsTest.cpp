// "RPT" and "RM" through fendo: replacing texts from a lookup sheet, and drawing sample logs
// with the parameters of the dialog and rmcfg.ini in the per-user data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "ExchangeTestSupport.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {
struct DrawnText {
    std::wstring text;
    AcGePoint3d at;  // alignment point
    double height;
    std::wstring layer;
    std::wstring style;
};

std::vector<DrawnText> texts(const Session& s)
{
    std::vector<DrawnText> out;
    if (!s.result) return out;
    for (const AcDbObjectId id : modelSpaceEntities(*s.result, AcDbText::desc())) {
        AcDbText* t = nullptr;
        if (acdbOpenObject(t, id, AcDb::kForRead) != Acad::eOk) continue;
        DrawnText d{t->textString().kwszPtr(), t->alignmentPoint(), t->height(), t->layer().kwszPtr(), L""};
        AcDbTextStyleTableRecord* style = nullptr;
        if (acdbOpenObject(style, t->textStyle(), AcDb::kForRead) == Acad::eOk) {
            d.style = style->name();
            style->close();
        }
        t->close();
        out.push_back(d);
    }
    return out;
}

std::wstring textAt(const Session& s, double x, double y)
{
    for (const auto& t : texts(s))
        if (t.at.distanceTo(AcGePoint3d(x, y, 0)) < 1e-9) return t.text;
    return L"(none)";
}
}  // namespace

TEST(ReplaceTexts, FirstMatchIgnoringCaseOnUntrimmedTextsWithTwoDecimalNumbers)
{
    const fs::path book = scratchFile("thay.xlsx");
    makeWorkbook(book, R"({"A1": "ab", "B1": "XY", "A2": "AB", "B2": "second", "A3": 12, "B3": "twelve",
        "A4": "mô tả", "B4": "done", "A5": "keep", "A7": "after gap", "B7": "never"})");
    TestDrawing d;
    const wchar_t* originals[] = {L"AB", L" AB", L"12", L"12.00", L"MO\u0302 T\u1EA2", L"keep", L"after gap"};
    for (int i = 0; i < 7; ++i) d.add(new AcDbText(AcGePoint3d(0, i * 10.0, 0), originals[i]));
    const Session s = runSession(d, "RPT\n" + book.string() + "\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const wchar_t* expected[] = {L"XY", L" AB", L"12", L"twelve", L"done", L"keep", L"after gap"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(textAt(s, 0, i * 10.0), expected[i]) << i;
}

class SampleLogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_home = scratchDir("xdg");
        setenv("XDG_DATA_HOME", m_home.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_DATA_HOME"); }
    fs::path settings() const { return m_home / "KVO" / "Quorin" / "rmcfg.ini"; }

    Session run(const std::string& cells, const std::string& dialog = "\n")
    {
        const fs::path book = scratchFile("mau.xlsx");
        makeWorkbook(book, cells);
        TestDrawing d;
        return runSession(d, "RM\n" + dialog + book.string() + "\n");
    }

    fs::path m_home;
};

// A heading in row 10 with the position in B7, B8 and the title in E8.
const std::string kOneBlock = R"({"B7": 100, "B8": 200, "E8": "LK1", "H10": "Mô tả nham thạch",
    "E11": 1.25, "F11": 3.456, "H11": "cat", "E12": "sand", "H12": "x", "E13": 9, "F13": 9})";

TEST_F(SampleLogs, DrawsTheBlockAtThePositionAboveTheHeadingWithDefaultSizes)
{
    const Session s = run(kOneBlock, "1042=\n1043=\n1008=\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    // Text height 1, row height 2, column width 5.
    EXPECT_EQ(textAt(s, 100, 201.5), L"LK1");
    EXPECT_EQ(textAt(s, 97.5, 199), L"1.2");  // "%.1f" of 1.25
    EXPECT_EQ(textAt(s, 102.5, 199), L"3.46");
    EXPECT_EQ(textAt(s, 97.5, 197), L"sand");
    EXPECT_EQ(textAt(s, 102.5, 197), L"(none)") << "an empty value draws no text";
    for (const auto& t : texts(s)) {
        EXPECT_EQ(t.layer, L"RanhMau");
        EXPECT_EQ(t.style, L"StyleBang");
        EXPECT_DOUBLE_EQ(t.height, 1.0);
    }
    const auto frames = modelSpaceEntities(*s.result, AcDbPolyline::desc());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_THAT(verticesOf(frames.front()),
                PointsNear(Points{{95, 200, 0}, {95, 196, 0}, {105, 196, 0}, {105, 200, 0}}));
    // The middle line and one row separator.
    EXPECT_EQ(modelSpaceEntities(*s.result, AcDbLine::desc()).size(), 2u);
    EXPECT_EQ(readFile(settings()), "1\n2\n5\n");
    // The dialog's labels are decoded from their stored form.
    for (const char* label : {"Tham so ve ranh mau", "Cao chữ", "Cao hàng", "Rộng cột"})
        EXPECT_NE(s.run.output.find(label), std::string::npos) << label;
}

TEST_F(SampleLogs, BlocksEndAtAnEmptyHeadingCellExceptRightAfterTheHeadingAndTheLastNeedsTwoRows)
{
    // A heading in any letter case and a blank row after it; a block of one row ended by a
    // blank H is drawn; a block running to the sheet's last row needs two rows.
    const Session s = run(R"({"H2": "MÔ TẢ NHAM THẠCH", "E4": "first", "H4": "x", "E5": "not read", "H6": "x",
        "B7": 50, "B8": 60, "E8": "T2", "H10": "mô tả nham thạch", "E11": "lone", "H11": "x",
        "H4999": "Mô tả nham thạch", "E5000": "last", "H5000": "x"})");
    ASSERT_TRUE(s.result) << s.run.output;
    // The heading in row 2 is at index 3 or less: position (0, 0), no title.
    EXPECT_EQ(textAt(s, -2.5, -1), L"first");
    EXPECT_EQ(textAt(s, 0, 1.5), L"");
    EXPECT_EQ(textAt(s, 47.5, 59), L"lone");
    EXPECT_EQ(textAt(s, 50, 61.5), L"T2");
    EXPECT_EQ(texts(s).size(), 4u) << "the last block of one row is not drawn";

    const Session two = run(R"({"H4997": "Mô tả nham thạch", "E4999": "a", "H4999": "x", "E5000": "b", "H5000": "x"})");
    EXPECT_EQ(textAt(two, -2.5, -3), L"b") << two.run.output;
}

TEST_F(SampleLogs, TheDialogStartsFromAThreeLineSettingsFileAndCancelChangesNothing)
{
    fs::create_directories(settings().parent_path());
    writeFile(settings(), "2\n4\n10\n");
    const Session s = run(kOneBlock);
    EXPECT_EQ(textAt(s, 95, 198), L"1.2") << s.run.output;  // half a column (10) left, half a row (4) down
    EXPECT_EQ(readFile(settings()), "2\n4\n10\n");

    writeFile(settings(), "2\n4\n");  // not three lines: the defaults
    const Session cancelled = run(kOneBlock, "1042=3\n^C\n");
    EXPECT_TRUE(texts(cancelled).empty());
    EXPECT_EQ(readFile(settings()), "2\n4\n");
    const Session defaults = run(kOneBlock);
    EXPECT_EQ(textAt(defaults, 97.5, 199), L"1.2");
}
