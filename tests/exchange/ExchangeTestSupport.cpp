// openpyxl and LibreOffice as the tests' independent workbook readers.
#include "ExchangeTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include "support/TestSupport.h"

namespace fendo::test {

std::string python(const std::string& code)
{
    const RunResult r = runPython(code);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return r.output;
}

void makeWorkbook(const std::filesystem::path& path, const std::string& cells)
{
    python("import openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\nfor k, v in (" + cells +
           ").items():\n    ws[k] = v\nwb.save(r'''" + path.string() + "''')\n");
}

Rows readSheet(const std::filesystem::path& path, int sheet)
{
    const std::string out = python("import openpyxl\nws = openpyxl.load_workbook(r'''" + path.string() +
                                   "''').worksheets[" + std::to_string(sheet) +
                                   "]\nfor row in ws.iter_rows(values_only=True):\n"
                                   "    print('|'.join('' if v is None else repr(v).strip(\"'\") for v in row))\n");
    Rows rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream parts(line);
        for (std::string cell; std::getline(parts, cell, '|');) cells.push_back(cell);
        if (!line.empty() && line.back() == '|') cells.emplace_back();
        rows.push_back(cells);
    }
    return rows;
}

bool haveLibreOffice()
{
    static const bool have = runProcess({"sh", "-c", "command -v soffice"}).exitCode == 0;
    return have;
}

std::string libreOfficeCsv(const std::filesystem::path& path, int sheet)
{
    // A private profile, so that runs never share or disturb a user's LibreOffice settings.
    const std::filesystem::path dir = scratchDir("soffice");
    const std::string filter =
        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false," + std::to_string(sheet);
    const RunResult r = runProcess({"soffice", "-env:UserInstallation=file://" + (dir / "profile").string(),
                                    "--headless", "--convert-to", filter, "--outdir", dir.string(), path.string()});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".csv") return readFile(entry.path());
    ADD_FAILURE() << "LibreOffice wrote no CSV: " << r.output;
    return {};
}

std::filesystem::path scratchFile(const std::string& name) { return scratchDir("exchange") / name; }

}  // namespace fendo::test
