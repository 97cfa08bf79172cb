// The one gateway between the exchange commands and spreadsheet files. It keeps the calling
// order of a spreadsheet-automation client (start, open, pick the sheet, read or write, then
// close, or save and show), but works on the workbook file itself: .xlsx read and written in
// place, the old binary .xls read only.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace fendo::exchange {
class Workbook;
}

class CExcelHandler {
public:
    CExcelHandler();
    virtual ~CExcelHandler();
    CExcelHandler(const CExcelHandler&) = delete;
    CExcelHandler& operator=(const CExcelHandler&) = delete;

    // Nothing needs starting: always true.
    bool StartExcel();
    // Reads the workbook. On failure shows the reason (cut to 30 characters) in a stop box,
    // prints a full line naming the file and the reason, and returns false.
    bool OpenWorkbook(const std::wstring& path);
    // 1-based; only sheet 1, the first worksheet, holds cells.
    void SetActiveSheet(int sheetIndex);
    // Writes a plain decimal number ("-2.50", "7") as a number cell and any other text as a
    // text cell. A bad cell name or a read-only workbook leaves the cell as it was, silently.
    void SetCellValue(const std::wstring& text, const std::wstring& cellName);
    // One string per row of letters firstRow..lastRow (1-based): numbers by precisionMode
    // (2 "%.2f", otherwise "%.0f"), texts trimmed, empty cells "". Stops before the first
    // empty string when stopAtEmpty. No values when firstRow == lastRow. Returns the count.
    int GetColumnValues(const std::wstring& letters, int precisionMode, int firstRow, int lastRow,
                        std::vector<std::wstring>& values, bool stopAtEmpty);
    // As GetColumnValues, but precisionMode 1 gives "%.1f".
    int GetColumnValuesEx(const std::wstring& letters, int precisionMode, int firstRow, int lastRow,
                          std::vector<std::wstring>& values, bool stopAtEmpty);
    // Saves to the opened path (a temporary file renamed into place); a failure prints the
    // path and the reason and returns false.
    bool SaveWorkbook();
    // Showing the saved workbook: its path is printed and, at a terminal with a display, the
    // desktop's spreadsheet program opens it.
    void SetVisible(bool visible);
    // Forgets the workbook.
    void CloseExcel();

private:
    int readColumn(const std::wstring& letters, int precisionMode, bool oneDecimal, int firstRow, int lastRow,
                   std::vector<std::wstring>& values, bool stopAtEmpty) const;

    std::unique_ptr<fendo::exchange::Workbook> m_workbook;
    std::wstring m_path;
    int m_sheetIndex = -1;
    bool m_saved = false;
};

namespace fendo::exchange {
// Whether a text is a plain decimal number: sign, digits, at most one decimal point.
bool isPlainDecimal(std::wstring_view text);
}  // namespace fendo::exchange
