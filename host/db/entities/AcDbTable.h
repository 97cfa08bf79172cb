// The host's table entity (ACAD_TABLE): a grid of rows and columns with a text in every
// cell, row heights, column widths, a table style, a position (the table's upper-left
// corner) and a direction. A table read from a file keeps its whole table section as read
// and writes it back unchanged until something is changed; then it is written in the
// R2007 form from the modelled data. The table's drawing block (*T) is kept as read but
// not regenerated.
#pragma once
#include <vector>
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbTableStyle.h"

class AcDbTable : public AcDbBlockReference {
    ACRX_DECLARE_MEMBERS(AcDbTable);

public:
    // Defaults of a new table's rows and columns, in drawing units.
    static constexpr double kDefaultRowHeight = 9.0;
    static constexpr double kDefaultColumnWidth = 63.5;

    AcDbTable() = default;

    int numRows() const { return m_rows; }
    int numColumns() const { return m_cols; }
    Acad::ErrorStatus setNumRows(int rows);
    Acad::ErrorStatus setNumColumns(int cols);
    // Resizes the grid keeping the cells that remain; eInvalidInput for counts below 1.
    Acad::ErrorStatus setSize(int rows, int cols);

    // The cell's text; empty out of range.
    AcString textString(int row, int col) const;
    Acad::ErrorStatus textString(int row, int col, AcString& text) const;
    // eInvalidIndex out of range.
    Acad::ErrorStatus setTextString(int row, int col, const ACHAR* text);

    double rowHeight(int row) const;
    Acad::ErrorStatus setRowHeight(int row, double height);
    Acad::ErrorStatus setRowHeight(double height);
    double columnWidth(int col) const;
    Acad::ErrorStatus setColumnWidth(int col, double width);
    Acad::ErrorStatus setColumnWidth(double width);
    double height() const;
    double width() const;

    AcDbObjectId tableStyle() const { return m_style; }
    Acad::ErrorStatus setTableStyle(AcDbObjectId style);
    bool isTitleSuppressed() const { return m_suppressTitle; }
    Acad::ErrorStatus suppressTitleRow(bool suppress);
    bool isHeaderSuppressed() const { return m_suppressHeader; }
    Acad::ErrorStatus suppressHeaderRow(bool suppress);
    AcGeVector3d direction() const { return m_direction; }
    Acad::ErrorStatus setDirection(const AcGeVector3d& d);
    // The host lays out its rows and columns here; the stand-in keeps their sizes as set.
    Acad::ErrorStatus generateLayout() { return Acad::eOk; }
    // Draws the table into its anonymous block ("*T..."): the grid as lines and each cell's
    // text as middle-centred multiline text, in the style's text height and data-row colour.
    // Programs that do not read the table's own data show (and find the texts in) this block.
    // The table must be in a database and open for write; a kept block is emptied first.
    Acad::ErrorStatus recomputeTableBlock(bool forceUpdate = true);

    // The grid's outline: from the position along the direction by the width, and down
    // (against the normal x direction) by the height.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    void dropReadForm();
    size_t cellIndex(int row, int col) const { return static_cast<size_t>(row) * m_cols + col; }
    bool inRange(int row, int col) const { return row >= 0 && row < m_rows && col >= 0 && col < m_cols; }

    int m_rows = 0;
    int m_cols = 0;
    std::vector<std::wstring> m_cells;
    std::vector<double> m_rowHeights;
    std::vector<double> m_colWidths;
    AcDbObjectId m_style;
    AcDbObjectId m_blockRecord;  // group 343 as read
    AcGeVector3d m_direction{1, 0, 0};
    bool m_suppressTitle = false;
    bool m_suppressHeader = false;
    bool m_readForm = false;
};
