// The host's table style object, kept in the ACAD_TABLESTYLE dictionary: name, flow
// direction, title and header suppression, cell margins, and per row type (data, header,
// title) the text style, text height, cell alignment and text colour.
#pragma once
#include "host/db/AcCmColor.h"
#include "host/db/AcDbObject.h"

namespace AcDb {
enum CellAlignment { kTopLeft = 1, kTopCenter, kTopRight, kMiddleLeft, kMiddleCenter, kMiddleRight, kBottomLeft,
                     kBottomCenter, kBottomRight };
// Bits: several row types may be given at once to the setters.
enum RowType { kUnknownRow = 0, kDataRow = 1, kTitleRow = 2, kHeaderRow = 4, kAllRows = 7 };
enum FlowDirection { kTtoB = 0, kBtoT = 1 };
}  // namespace AcDb

class AcDbTableStyle : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbTableStyle);

public:
    AcDbTableStyle();

    // The name is the style's key in ACAD_TABLESTYLE (setName is used before adding it).
    AcString name() const;
    Acad::ErrorStatus setName(const ACHAR* name);
    AcString description() const { return m_description; }
    Acad::ErrorStatus setDescription(const ACHAR* d);
    AcDb::FlowDirection flowDirection() const { return m_flow; }
    Acad::ErrorStatus setFlowDirection(AcDb::FlowDirection f);
    bool isTitleSuppressed() const { return m_suppressTitle; }
    Acad::ErrorStatus suppressTitleRow(bool suppress);
    bool isHeaderSuppressed() const { return m_suppressHeader; }
    Acad::ErrorStatus suppressHeaderRow(bool suppress);
    double horzCellMargin() const { return m_horzMargin; }
    Acad::ErrorStatus setHorzCellMargin(double m);
    double vertCellMargin() const { return m_vertMargin; }
    Acad::ErrorStatus setVertCellMargin(double m);

    // rowType is one row type; the setters take any combination of RowType bits.
    AcDbObjectId textStyle(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style, int rowTypes = AcDb::kAllRows);
    double textHeight(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setTextHeight(double height, int rowTypes = AcDb::kAllRows);
    AcDb::CellAlignment alignment(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setAlignment(AcDb::CellAlignment alignment, int rowTypes = AcDb::kAllRows);
    AcCmColor color(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setColor(const AcCmColor& color, int rowTypes = AcDb::kAllRows);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    struct RowFormat {
        AcDbObjectId textStyle;
        std::wstring textStyleName;  // as read, when the drawing has no such style
        double height = 4.5;
        AcDb::CellAlignment alignment = AcDb::kTopCenter;
        AcCmColor color{AcCmEntityColor(AcCm::kByBlock)};
    };
    // Index of a single row type in m_rows, in the order the DXF record repeats them:
    // data 0, title 1, header 2.
    static int slot(AcDb::RowType rowType);
    template <typename F>
    Acad::ErrorStatus changeRows(int rowTypes, F&& change);
    // After a change the groups kept from the file no longer describe the style.
    void dropReadForm();

    std::wstring m_name;
    AcString m_description;
    AcDb::FlowDirection m_flow = AcDb::kTtoB;
    bool m_suppressTitle = false;
    bool m_suppressHeader = false;
    double m_horzMargin = 1.5;
    double m_vertMargin = 1.5;
    RowFormat m_rows[3];
    bool m_readForm = false;  // the section's groups are kept as read and written back
};

namespace fendo::db {
// Adds a "Standard" table style to the drawing's ACAD_TABLESTYLE dictionary unless it has
// one (eKeyNotFound when the drawing has no such dictionary). Called when a default drawing
// is built.
Acad::ErrorStatus ensureStandardTableStyle(AcDbDatabase& db);
}  // namespace fendo::db
