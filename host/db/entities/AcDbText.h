// The host's single-line text: string, insertion point and alignment point (world), height,
// rotation, width factor, obliquing angle, text style and justification. Extents come from
// the style's font (see host/fonts), placed as the host places each justification.
#pragma once
#include "host/db/AcDbEntity.h"

namespace fendo::fonts {
struct PlacedText;
}

class AcDbText : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbText);

public:
    AcDbText() = default;
    AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
             double height = 0.0, double rotation = 0.0);

    AcString textString() const { return m_text; }
    Acad::ErrorStatus setTextString(const ACHAR* text);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGePoint3d alignmentPoint() const { return m_alignment; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
    bool isDefaultAlignment() const { return m_hmode == AcDb::kTextLeft && m_vmode == AcDb::kTextBase; }
    AcDb::TextHorzMode horizontalMode() const { return m_hmode; }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const { return m_vmode; }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
    Acad::ErrorStatus setJustification(AcDb::TextHorzMode h, AcDb::TextVertMode v);
    double height() const { return m_height; }
    Acad::ErrorStatus setHeight(double h);  // eInvalidInput for h <= 0
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    double widthFactor() const { return m_widthFactor; }
    Acad::ErrorStatus setWidthFactor(double w);  // eInvalidInput for w <= 0
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double a);
    AcDbObjectId textStyle() const { return m_style; }
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    bool isMirroredInX() const { return (m_genFlags & 2) != 0; }
    Acad::ErrorStatus mirrorInX(bool mirror);
    bool isMirroredInY() const { return (m_genFlags & 4) != 0; }
    Acad::ErrorStatus mirrorInY(bool mirror);
    // Recomputes the insertion point from the alignment point for justified texts, as the
    // host does when a text is closed.
    Acad::ErrorStatus adjustAlignment(AcDbDatabase* db = nullptr);

    // The four corners of the text's box in world coordinates: lower-left, lower-right,
    // upper-right, upper-left along the text's direction (slanted by the obliquing angle).
    Acad::ErrorStatus getBoundingPoints(AcGePoint3dArray& corners) const;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    // The first AcDbText section, shared with attributes and attribute definitions, whose
    // vertical mode is filed in their own section. takeVertical73 reads group 73 as the
    // vertical mode (files without subclass markers present it here).
    Acad::ErrorStatus readTextSection(AcDbDxfFiler* filer, bool takeVertical73);
    void writeTextSection(AcDbDxfFiler* filer) const;
    void setVerticalModeRaw(int v) { m_vmode = static_cast<AcDb::TextVertMode>(v < 0 || v > 3 ? 0 : v); }

private:
    // Placement in the text's plane through the font model; the z of the plane is given.
    fendo::fonts::PlacedText place(double& planeZ) const;
    AcDbObjectId styleForMeasuring() const;

    AcString m_text;
    AcGePoint3d m_position;
    AcGePoint3d m_alignment;
    double m_height = 2.5;
    double m_rotation = 0.0;
    double m_widthFactor = 1.0;
    double m_oblique = 0.0;
    double m_thickness = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    AcDbObjectId m_style;
    std::wstring m_styleName;  // as read, when the drawing has no such style
    AcDb::TextHorzMode m_hmode = AcDb::kTextLeft;
    AcDb::TextVertMode m_vmode = AcDb::kTextBase;
    int m_genFlags = 0;
};
