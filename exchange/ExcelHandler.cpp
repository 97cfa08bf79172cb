// CExcelHandler over workbook files.
#include "exchange/ExcelHandler.h"

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include "exchange/CellNames.h"
#include "exchange/Workbook.h"
#include "host/db/AcString.h"
#include "host/editor/MessageBox.h"
#include "host/editor/Shell.h"
#include "host/editor/aced.h"

using namespace fendo::exchange;

namespace {
// The stop box shows at most this many characters of a failure's text.
constexpr size_t kMessageBoxTextLength = 30;

std::wstring trimmed(const std::wstring& s)
{
    const size_t first = s.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L" \t\r\n") - first + 1);
}

std::wstring formatted(const char* format, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return fendo::fromUtf8(buffer);
}
}  // namespace

namespace fendo::exchange {
bool isPlainDecimal(std::wstring_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= L'0' && text[i] <= L'9')
            digits = true;
        else if (text[i] == L'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}
}  // namespace fendo::exchange

CExcelHandler::CExcelHandler() = default;
CExcelHandler::~CExcelHandler() = default;

bool CExcelHandler::StartExcel() { return true; }

bool CExcelHandler::OpenWorkbook(const std::wstring& path)
{
    m_path = path;
    OpenResult opened = openWorkbookFile(std::filesystem::path(fendo::toUtf8(path)));
    if (opened.workbook) {
        m_workbook = std::move(opened.workbook);
        return true;
    }
    const std::wstring reason = fendo::fromUtf8(opened.reason);
    acutPrintf(L"\n%s: cannot open the workbook: %s", path.c_str(), reason.c_str());
    acedMessageBox(reason.substr(0, kMessageBoxTextLength).c_str(), L"Fendo", MB_OK | MB_ICONSTOP);
    return false;
}

void CExcelHandler::SetActiveSheet(int sheetIndex) { m_sheetIndex = sheetIndex; }

void CExcelHandler::SetCellValue(const std::wstring& text, const std::wstring& cellName)
{
    if (!m_workbook || m_sheetIndex != 1) return;
    const auto ref = parseCellName(fendo::toUtf8(cellName));
    if (!ref) return;
    Cell cell;
    const double number = isPlainDecimal(text) ? std::strtod(fendo::toUtf8(text).c_str(), nullptr) : HUGE_VAL;
    if (std::isfinite(number)) {
        cell.kind = CellKind::Number;
        cell.number = number;
    } else if (!text.empty()) {  // a text, or digits beyond any double
        cell.kind = CellKind::Text;
        cell.text = fendo::toUtf8(text);
    }
    m_workbook->setCell(ref->row, ref->column, cell);
}

int CExcelHandler::readColumn(const std::wstring& letters, int precisionMode, bool oneDecimal, int firstRow,
                              int lastRow, std::vector<std::wstring>& values, bool stopAtEmpty) const
{
    values.clear();
    if (letters.empty()) return 0;
    const auto column = columnIndex(fendo::toUtf8(letters));
    // A range of one cell, like a failed read, gives nothing.
    if (!m_workbook || m_sheetIndex != 1 || !column || firstRow == lastRow) return 0;
    if (firstRow > lastRow) std::swap(firstRow, lastRow);
    if (firstRow < 1 || lastRow > kMaxRows) return 0;
    const char* format = precisionMode == 2 ? "%.2f" : (oneDecimal && precisionMode == 1 ? "%.1f" : "%.0f");
    const SheetCells& cells = m_workbook->firstSheet();
    for (int row = firstRow - 1; row < lastRow; ++row) {
        std::wstring text;
        if (const Cell* cell = cells.find(row, *column)) {
            if (cell->kind == CellKind::Number || cell->kind == CellKind::Boolean)
                text = formatted(format, cell->number);
            else if (cell->kind == CellKind::Text)
                text = trimmed(fendo::fromUtf8(cell->text));
        }
        if (text.empty() && stopAtEmpty) break;
        values.push_back(std::move(text));
    }
    return static_cast<int>(values.size());
}

int CExcelHandler::GetColumnValues(const std::wstring& letters, int precisionMode, int firstRow, int lastRow,
                                   std::vector<std::wstring>& values, bool stopAtEmpty)
{
    return readColumn(letters, precisionMode, false, firstRow, lastRow, values, stopAtEmpty);
}

int CExcelHandler::GetColumnValuesEx(const std::wstring& letters, int precisionMode, int firstRow, int lastRow,
                                     std::vector<std::wstring>& values, bool stopAtEmpty)
{
    return readColumn(letters, precisionMode, true, firstRow, lastRow, values, stopAtEmpty);
}

bool CExcelHandler::SaveWorkbook()
{
    m_saved = false;
    if (!m_workbook) return false;
    std::string error;
    if (!m_workbook->save(std::filesystem::path(fendo::toUtf8(m_path)), error)) {
        acutPrintf(L"\nCannot save %s: %s", m_path.c_str(), fendo::fromUtf8(error).c_str());
        return false;
    }
    m_saved = true;
    return true;
}

void CExcelHandler::SetVisible(bool visible)
{
    if (!visible || !m_saved) return;
    acutPrintf(L"\nWorkbook saved: %s", m_path.c_str());
    // Handing the file to the desktop only makes sense for a person at a terminal; the shell
    // itself declines when there is no display.
    if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) ShellExecuteOpen(m_path.c_str());
}

void CExcelHandler::CloseExcel() { m_workbook.reset(); }
