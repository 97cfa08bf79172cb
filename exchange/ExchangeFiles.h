// What the exchange commands share around their workbooks: the file dialogs, the template
// copy the exporters fill in, and reading numbers from cells with a warning for cells that
// hold none.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace fendo::exchange {

// The selection prompt after "r" in the exchange commands' selections.
inline constexpr const wchar_t* kRemovePrompt = L"\nRemove objects:";

// Value i of a column read; "" past its end.
inline std::wstring valueAt(const std::vector<std::wstring>& column, int i)
{
    return i >= 0 && i < static_cast<int>(column.size()) ? column[i] : std::wstring();
}

// The open dialog for a workbook (.xlsx or .xls); nothing when cancelled or empty.
std::optional<std::wstring> askWorkbookToOpen(const wchar_t* title);
// The save dialog for a new workbook, .xlsx by default; a name ending in ".xls" becomes
// ".xlsx" (the old format is read only here), and a message says so.
std::optional<std::wstring> askWorkbookToSave(const wchar_t* title);

// The shipped template workbook beside the module.
std::wstring templateWorkbookPath();
// Copies the template to target (overwriting) through a temporary file, so that a failure
// leaves no partial file. A failure prints a line naming the target and the reason.
bool copyTemplateTo(const std::wstring& target);

// The leading number of a cell's text. A cell that holds text but no number gives 0 and a
// warning naming the file and the cell (`toado.xlsx D2: "abc" is not a number; 0 used`); an
// empty cell gives 0 quietly.
double cellNumber(const std::wstring& text, const std::wstring& workbookPath, const std::wstring& column, int row);

}  // namespace fendo::exchange
