// The host's multiline text: contents with inline formatting codes, location (world),
// text height, reference width, rotation (direction), attachment point and style.
#pragma once
#include "host/db/AcDbEntity.h"

namespace fendo::db {
// The contents with formatting codes removed: paragraph breaks (\P) become line feeds,
// non-breaking spaces (\~) spaces, stacked fractions a^b or a/b are written a/b, and
// font, height, colour and similar switches and braces are dropped.
std::wstring plainMTextContents(const std::wstring& contents);
}

class AcDbMText : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbMText);

public:
    enum AttachmentPoint { kTopLeft = 1, kTopCenter, kTopRight, kMiddleLeft, kMiddleCenter, kMiddleRight,
                           kBottomLeft, kBottomCenter, kBottomRight };
    enum FlowDirection { kLtoR = 1, kRtoL = 2, kTtoB = 3, kBtoT = 4, kByStyle = 5 };

    AcDbMText() = default;

    AcString contents() const { return m_contents; }
    Acad::ErrorStatus setContents(const ACHAR* text);
    // The contents without formatting codes.
    AcString text() const { return fendo::db::plainMTextContents(m_contents); }
    AcGePoint3d location() const { return m_location; }
    Acad::ErrorStatus setLocation(const AcGePoint3d& p);
    double textHeight() const { return m_height; }
    Acad::ErrorStatus setTextHeight(double h);  // eInvalidInput for h <= 0
    double width() const { return m_width; }
    Acad::ErrorStatus setWidth(double w);
    double rotation() const;
    Acad::ErrorStatus setRotation(double r);
    AcGeVector3d direction() const { return m_direction; }
    Acad::ErrorStatus setDirection(const AcGeVector3d& d);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    AttachmentPoint attachment() const { return m_attachment; }
    Acad::ErrorStatus setAttachment(AttachmentPoint a);
    FlowDirection flowDirection() const { return m_flow; }
    AcDbObjectId textStyle() const { return m_style; }
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    double lineSpacingFactor() const { return m_spacing; }
    Acad::ErrorStatus setLineSpacingFactor(double f);

    // The box of the plain lines measured in the style's font, placed by the attachment
    // point; lines are 5/3 of the height apart times the spacing factor.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    // Corners of the box in world coordinates (lower-left, lower-right, upper-right, upper-left).
    void boxCorners(AcGePoint3d corners[4]) const;

    AcString m_contents;
    AcGePoint3d m_location;
    double m_height = 2.5;
    double m_width = 0.0;
    double m_spacing = 1.0;
    bool m_spacingFiled = false;  // 44 was in the file: written back even at its default
    AcGeVector3d m_direction{1, 0, 0};
    AcGeVector3d m_normal{0, 0, 1};
    AttachmentPoint m_attachment = kTopLeft;
    FlowDirection m_flow = kLtoR;
    AcDbObjectId m_style;
    std::wstring m_styleName;
};
