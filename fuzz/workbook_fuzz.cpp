// Feeds arbitrary bytes to the workbook readers (.xlsx through the zip and XML parts, .xls
// through FreeXL, told apart by content) and, for what opens as .xlsx, edits a cell and writes
// the package again. Corpus: tests/data/workbooks.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include "exchange/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace fendo::exchange;
    OpenResult opened = openWorkbookBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (!opened.workbook) {
        if (opened.reason.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    const SheetCells& cells = opened.workbook->firstSheet();
    volatile size_t seen = 0;
    for (int row = 0; row < cells.rowEnd() && row < 64; ++row)
        for (int column = 0; column < 8; ++column)
            if (const Cell* cell = cells.find(row, column)) seen = seen + cell->text.size();
    if (opened.workbook->format() == WorkbookFormat::Xlsx) {
        opened.workbook->setCell(2, 1, Cell{CellKind::Text, 0.0, " edited "});
        opened.workbook->setCell(0, 0, Cell{CellKind::Number, -2.5, {}});
        static const std::string path = "/tmp/fendo-workbook-fuzz-" + std::to_string(getpid()) + ".xlsx";
        std::string error;
        if (opened.workbook->save(path, error)) {
            OpenResult again = openWorkbookFile(path);
            if (!again.workbook) __builtin_trap();  // what we write must read back
        }
        unlink(path.c_str());
    }
    return 0;
}
