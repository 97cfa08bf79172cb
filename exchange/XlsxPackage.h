// An .xlsx file held in memory: its zip entries, the parts that lead to the first worksheet,
// that worksheet's XML for editing in place, and writing the whole package back.
#pragma once
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>
#include "exchange/Workbook.h"

namespace fendo::exchange {

class XlsxPackage {
public:
    // Reads the zip and the first worksheet; on failure returns null with `reason` set.
    static std::unique_ptr<XlsxPackage> load(const std::string& bytes, SheetCells& cells, std::string& reason);

    // Writes one cell into the worksheet's XML: rows and cells kept in order, a formula the
    // cell held dropped, the sheet's dimension kept up to date.
    void setCell(int row, int column, const Cell& cell);
    // Writes the package to `path` (a new file): unchanged parts as read, the edited worksheet,
    // and no calculation chain once the sheet was edited.
    bool write(const std::string& path, std::string& error);

private:
    struct Entry {
        std::string name;
        std::string data;
    };
    const Entry* entry(const std::string& name) const;
    bool readSheet(SheetCells& cells, std::string& reason);
    void giveEveryRowAndCellItsReference();
    pugi::xml_node findOrAddRow(int row);
    pugi::xml_node findOrAddCell(pugi::xml_node rowNode, int row, int column);
    void dropFormula(pugi::xml_node cellNode);
    void updateDimension();
    std::string changedPart(const Entry& e);

    std::vector<Entry> m_entries;
    std::vector<std::string> m_sharedStrings;
    std::string m_workbookPart;
    std::string m_workbookRelsPart;
    std::string m_sheetPart;
    std::string m_prefix;  // namespace prefix of the worksheet's elements, with its ':'
    pugi::xml_document m_sheet;
    pugi::xml_node m_sheetData;
    bool m_edited = false;
};

}  // namespace fendo::exchange
