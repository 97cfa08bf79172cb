// CExcelHandler reading workbooks written by other programs: column reads and their
// precision modes, the same answers from .xlsx and .xls, the parts of .xlsx files as
// spreadsheet programs write them, and damaged or protected files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/ExcelHandler.h"
#include "exchange/Workbook.h"
#include "support/TestSupport.h"

using namespace fendo::test;
using Column = std::vector<std::wstring>;

namespace {
std::wstring fixture(const char* name)
{
    const std::string p = (dataDir() / "workbooks" / name).string();
    return std::wstring(p.begin(), p.end());
}

// Opens a fixture and reads one column with GetColumnValues (or its twin).
struct Reader {
    explicit Reader(const char* name)
    {
        opened = excel.StartExcel() && excel.OpenWorkbook(fixture(name));
        excel.SetActiveSheet(1);
    }
    Column read(const wchar_t* letters, int mode, int first, int last, bool stop, bool ex = false)
    {
        Column values{L"left over"};
        if (ex)
            excel.GetColumnValuesEx(letters, mode, first, last, values, stop);
        else
            excel.GetColumnValues(letters, mode, first, last, values, stop);
        return values;
    }
    CExcelHandler excel;
    bool opened = false;
};

class BothFormats : public ::testing::TestWithParam<const char*> {};

TEST_P(BothFormats, PrecisionModesApplyThePrintfFormatsLiterally)
{
    Reader r(GetParam());
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.read(L"A", 2, 1, 2, false), (Column{L"12.35", L"2.50"}));
    EXPECT_EQ(r.read(L"A", 0, 1, 2, false), (Column{L"12", L"2"}));  // "%.0f" rounds 2.5 to even
    EXPECT_EQ(r.read(L"A", 1, 1, 2, false), (Column{L"12", L"2"}));
    EXPECT_EQ(r.read(L"A", 1, 1, 2, false, true), (Column{L"12.3", L"2.5"}));
    // Every number is a double: an integer in mode 2 has two decimals.
    EXPECT_EQ(r.read(L"A", 2, 4, 5, false), (Column{L"12.00", L""}));
}

TEST_P(BothFormats, TextsAreTrimmedAndEmptyCellsStopOrPassAsAsked)
{
    Reader r(GetParam());
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.read(L"A", 2, 1, 1000, true), (Column{L"12.35", L"2.50", L"padded", L"12.00"}));
    const Column all = r.read(L"A", 2, 1, 8, false);
    EXPECT_EQ(all, (Column{L"12.35", L"2.50", L"padded", L"12.00", L"", L"after", L"", L""}));
    EXPECT_EQ(r.read(L"b", 2, 3, 4, false), (Column{L"-7.25", L"Mô tả"}));
}

TEST_P(BothFormats, DatesAreSerialDayNumbersAndBooleansOneOrZero)
{
    Reader r(GetParam());
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.read(L"B", 0, 1, 2, false), (Column{L"45296", L"1"}));
}

TEST_P(BothFormats, RangesOfOneCellOrNoColumnGiveNothing)
{
    Reader r(GetParam());
    ASSERT_TRUE(r.opened);
    EXPECT_TRUE(r.read(L"A", 2, 3, 3, false).empty());
    EXPECT_TRUE(r.read(L"", 2, 1, 5, false).empty());
    EXPECT_TRUE(r.read(L"A1", 2, 1, 5, false).empty());
    r.excel.SetActiveSheet(2);
    EXPECT_TRUE(r.read(L"A", 2, 1, 5, false).empty());
}

INSTANTIATE_TEST_SUITE_P(Workbooks, BothFormats, ::testing::Values("values.xlsx", "values.xls"));

TEST(XlsxParts, FirstWorksheetIsFoundPastAChartSheetWithPrefixedNamespaces)
{
    Reader r("handmade.xlsx");
    ASSERT_TRUE(r.opened);
    // Shared string, rich text without its phonetic run, inline string.
    EXPECT_EQ(r.read(L"A", 2, 1, 2, false), (Column{L"plain", L"2.00"}));
    EXPECT_EQ(r.read(L"B", 2, 1, 2, false), (Column{L"rich", L"text"}));
    EXPECT_EQ(r.read(L"C", 2, 1, 3, false), (Column{L"inline", L"", L"tab\tbed"}));
}

TEST(XlsxParts, RowsAndCellsWithoutReferencesFollowTheOneBefore)
{
    Reader r("handmade.xlsx");
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.read(L"A", 2, 3, 5, false), (Column{L"4.00", L"8.00", L"5.50"}));
    EXPECT_EQ(r.read(L"B", 2, 4, 5, false), (Column{L"", L"inline rich"}));
    EXPECT_EQ(r.read(L"C", 0, 4, 5, false), (Column{L"", L"7"}));
}

TEST(PlainDecimal, DigitsBeyondAnyDoubleStayText)
{
    const std::filesystem::path book = scratchDir("digits") / "d.xlsx";
    std::filesystem::copy_file(dataDir() / "workbooks" / "values.xlsx", book);
    const std::string narrow = book.string();
    const std::wstring path(narrow.begin(), narrow.end());
    CExcelHandler excel;
    ASSERT_TRUE(excel.OpenWorkbook(path));
    excel.SetActiveSheet(1);
    excel.SetCellValue(std::wstring(400, L'9'), L"C1");
    excel.SetCellValue(L"-2.50", L"C2");
    ASSERT_TRUE(excel.SaveWorkbook());
    ASSERT_TRUE(excel.OpenWorkbook(path));
    Column values;
    excel.GetColumnValues(L"C", 2, 1, 2, values, false);
    EXPECT_EQ(values, (Column{std::wstring(400, L'9'), L"-2.50"}));
}

TEST(PlainDecimal, OnlySignDigitsAndOnePointMakeANumberCell)
{
    using fendo::exchange::isPlainDecimal;
    for (const wchar_t* yes : {L"7", L"-2.50", L"+3", L"105", L".5", L"5."}) EXPECT_TRUE(isPlainDecimal(yes)) << yes;
    for (const wchar_t* no : {L"", L"-", L".", L"1e3", L" 7", L"1,5", L"1.2.3", L"P1", L"0x10"})
        EXPECT_FALSE(isPlainDecimal(no)) << no;
}

struct BadFile {
    const char* name;
    const char* reason;
};
void PrintTo(const BadFile& b, std::ostream* os) { *os << b.name; }

class DamagedWorkbooks : public ::testing::TestWithParam<BadFile> {};

TEST_P(DamagedWorkbooks, AreRefusedWithTheirReason)
{
    const fendo::exchange::OpenResult r = fendo::exchange::openWorkbookFile(dataDir() / "workbooks" / GetParam().name);
    EXPECT_FALSE(r.workbook);
    EXPECT_NE(r.reason.find(GetParam().reason), std::string::npos) << r.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedWorkbooks,
    ::testing::Values(BadFile{"missing.xlsx", "file not found"}, BadFile{"truncated.xlsx", "damaged workbook"},
                      BadFile{"notzip.xlsx", "not a workbook"}, BadFile{"noworkbook.xlsx", "no workbook part"},
                      BadFile{"badxml.xlsx", "malformed XML in xl/worksheets/sheet1.xml"},
                      BadFile{"encrypted.xlsx", "password-protected"}, BadFile{"badbiff.xls", "damaged workbook"},
                      BadFile{"password.xls", "password-protected"}));

TEST(DamagedWorkbooks, AnXlsThatUpsetsTheXlsReaderEndsItsProcessNotOurs)
{
    // This file makes FreeXL overrun a buffer while it converts a string; under the
    // sanitizers that ends the reading process, which must not be this one.
    const fendo::exchange::OpenResult r =
        fendo::exchange::openWorkbookFile(dataDir() / "workbooks" / "freexl-overrun.xls");
    EXPECT_TRUE(r.workbook || !r.reason.empty());
}

TEST(DamagedWorkbooks, AFolderIsNoWorkbook)
{
    EXPECT_EQ(fendo::exchange::openWorkbookFile(dataDir() / "workbooks").reason, "a folder, not a file");
}

}  // namespace
