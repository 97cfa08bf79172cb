// Damaged and protected workbooks given to the commands: a stop box and a full line naming
// the file and the reason, and the drawing left as it was. The two formats give the same
// tables.
#include <gtest/gtest.h>

#include <string>

#include "ExchangeTestSupport.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbTable.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {
struct BadFile {
    const char* name;
    const char* reason;
};
void PrintTo(const BadFile& b, std::ostream* os) { *os << b.name; }

class BadWorkbooks : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadWorkbooks, StopTheCommandWithTheReasonBeforeTheDrawingChanges)
{
    const fs::path file = dataDir() / "workbooks" / GetParam().name;
    for (const char* command : {"IPL", "E2B", "RPT"}) {
        TestDrawing d;
        d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
        const Session s = runSession(d, std::string(command) + "\n" + file.string() + "\n0,0\nall\n\n");
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_EQ(modelSpaceEntities(*s.result).size(), 1u) << command;
        const std::string reason = GetParam().reason;
        EXPECT_NE(s.run.output.find(file.string() + ": cannot open the workbook: " + reason), std::string::npos)
            << command << "\n"
            << s.run.output;
        // The box shows the reason cut to 30 characters.
        EXPECT_NE(s.run.output.find(reason.substr(0, 30)), std::string::npos);
        if (reason.size() > 30) {
            EXPECT_EQ(s.run.output.find(reason), s.run.output.rfind(reason));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadWorkbooks,
    ::testing::Values(BadFile{"truncated.xlsx", "damaged workbook"}, BadFile{"notzip.xlsx", "not a workbook"},
                      BadFile{"noworkbook.xlsx", "not a workbook (no workbook part)"},
                      BadFile{"badxml.xlsx", "damaged workbook (malformed XML in xl/worksheets/sheet1.xml)"},
                      BadFile{"encrypted.xlsx", "password-protected"}, BadFile{"badbiff.xls", "damaged workbook"},
                      BadFile{"password.xls", "password-protected"}));

TEST(BadWorkbooks, AFileThatVanishedAfterTheDialogIsNamed)
{
    // The dialog only takes existing files; a folder named like a workbook passes it as no file.
    const fs::path folder = scratchFile("folder.xlsx");
    fs::create_directories(folder);
    TestDrawing d;
    const Session s = runSession(d, "IPL\n" + folder.string() + "\n");
    EXPECT_NE(s.run.output.find("File not found"), std::string::npos) << s.run.output;
}

// The texts of the one table E2B drew from a fixture.
std::vector<std::wstring> tableFrom(const char* fixture)
{
    TestDrawing d;
    const Session s = runSession(d, "E2B\n" + (dataDir() / "workbooks" / fixture).string() + "\n0,0\n");
    std::vector<std::wstring> cells;
    if (!s.result) return cells;
    for (const AcDbObjectId id : modelSpaceEntities(*s.result, AcDbTable::desc())) {
        AcDbTable* t = nullptr;
        if (acdbOpenObject(t, id, AcDb::kForRead) != Acad::eOk) continue;
        for (int r = 0; r < t->numRows(); ++r)
            for (int c = 0; c < t->numColumns(); ++c) cells.emplace_back(t->textString(r, c).kwszPtr());
        t->close();
    }
    return cells;
}

TEST(BothFormats, GiveTheSameTable)
{
    const auto fromXlsx = tableFrom("values.xlsx");
    EXPECT_EQ(fromXlsx, (std::vector<std::wstring>{L"12", L"45296", L"2", L"1", L"padded", L"-7", L"12", L"Mô tả"}));
    EXPECT_EQ(tableFrom("values.xls"), fromXlsx);
}
}  // namespace
