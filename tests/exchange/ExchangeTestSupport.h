// Workbooks for the exchange command tests: made and read back with openpyxl (an independent
// reader and writer), and converted with LibreOffice when it is installed.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace fendo::test {

using Rows = std::vector<std::vector<std::string>>;

// Runs Debian's python with openpyxl; the test fails when the code fails.
std::string python(const std::string& code);
// A workbook at path whose first sheet gets the cells of a python dict ({"A1": 1.5, "B1": "x"}).
void makeWorkbook(const std::filesystem::path& path, const std::string& cells);
// The first worksheet's used range as text, row by row: numbers in python's repr (1.5, 105),
// empty cells "".
Rows readSheet(const std::filesystem::path& path, int sheet = 0);
// LibreOffice's CSV of one sheet (1-based), or nothing when soffice is not installed.
bool haveLibreOffice();
std::string libreOfficeCsv(const std::filesystem::path& path, int sheet = 1);

// A file name in a new scratch folder, as a script line.
std::filesystem::path scratchFile(const std::string& name);

}  // namespace fendo::test
