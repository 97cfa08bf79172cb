// A workbook file's first worksheet as cells, read from .xlsx (zip of XML parts) or from the
// old binary .xls (through FreeXL), and written back in place for .xlsx. The format is told
// by the file's content, never by its name.
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace fendo::exchange {

// What a cell holds. Numbers are doubles whatever the file stored (dates are their serial
// day numbers); texts are UTF-8.
enum class CellKind { Empty, Number, Text, Boolean, Error };

struct Cell {
    CellKind kind = CellKind::Empty;
    double number = 0.0;  // Number, and Boolean as 0 or 1
    std::string text;     // Text, and the code of an Error ("#DIV/0!")
};

enum class WorkbookFormat { Xlsx, Xls };

// The cells of one worksheet, by 0-based row and column.
class SheetCells {
public:
    const Cell* find(int row, int column) const;
    void set(int row, int column, Cell cell);
    template <typename F>
    void forEach(F&& visit) const
    {
        for (const auto& [k, cell] : m_cells) visit(static_cast<int>(k >> 20), static_cast<int>(k & 0xFFFFF), cell);
    }
    // One past the last row that holds a cell; 0 for an empty sheet.
    int rowEnd() const { return m_rowEnd; }

private:
    static std::uint64_t key(int row, int column)
    {
        return (static_cast<std::uint64_t>(row) << 20) | static_cast<std::uint64_t>(column);
    }
    std::unordered_map<std::uint64_t, Cell> m_cells;
    int m_rowEnd = 0;
};

class XlsxPackage;

class Workbook {
public:
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    WorkbookFormat format() const { return m_format; }
    const SheetCells& firstSheet() const { return m_cells; }
    // Writes one cell of the first sheet (.xlsx only); false for a read-only workbook.
    bool setCell(int row, int column, const Cell& cell);
    // Saves an .xlsx workbook to path through a temporary file beside it; on failure the
    // file at path is as it was and `error` says why.
    bool save(const std::filesystem::path& path, std::string& error);

private:
    friend struct WorkbookLoader;
    Workbook();
    WorkbookFormat m_format = WorkbookFormat::Xlsx;
    SheetCells m_cells;
    std::unique_ptr<XlsxPackage> m_package;  // kept for writing in place
};

struct OpenResult {
    std::unique_ptr<Workbook> workbook;  // null on failure
    std::string reason;                  // why it failed: "password-protected", "not a workbook" ...
};

// Reads a workbook file.
OpenResult openWorkbookFile(const std::filesystem::path& path);
// Reads a workbook from its bytes (.xls bytes pass through a temporary file, since FreeXL reads
// files only).
OpenResult openWorkbookBytes(std::string bytes);

}  // namespace fendo::exchange
