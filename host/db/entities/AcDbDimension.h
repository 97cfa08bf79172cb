// The host's linear dimensions. AcDbDimension holds what every dimension files (dimension
// line point, text position, text override, style, the block that draws it);
// AcDbAlignedDimension and AcDbRotatedDimension add the two extension-line points (and the
// rotation). Both file as DIMENSION; the DXF reader picks the class from group 70 (type 1
// aligned, 0 rotated) through fendo::db::createEntityForRecord (EntityFactory.h). Other
// dimension types are kept by the reader as unknown entities.
#pragma once
#include "host/db/AcDbEntity.h"

class AcDbDimension : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbDimension);

public:
    // The text override: "" shows the measurement, "<>" stands for it inside a text.
    AcString dimensionText() const { return m_text; }
    Acad::ErrorStatus setDimensionText(const ACHAR* text);
    AcGePoint3d textPosition() const { return m_textPosition; }
    Acad::ErrorStatus setTextPosition(const AcGePoint3d& p);
    AcDbObjectId dimensionStyle() const;
    Acad::ErrorStatus setDimensionStyle(AcDbObjectId style);
    AcDbObjectId dimBlockId() const;
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double textRotation() const { return m_textRotation; }
    Acad::ErrorStatus setTextRotation(double r);
    // The measured value.
    virtual Acad::ErrorStatus measurement(double& value) const = 0;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    AcDbDimension() = default;
    // Group 70 type bits of the subclass (0 rotated, 1 aligned).
    virtual int dimensionType() const = 0;
    AcGePoint3d m_dimLinePoint;  // group 10, world
    void transformCommon(const AcGeMatrix3d& xform);
    // Draws the dimension text at the text position, along `along` (the dimension line).
    void drawText(AcGiWorldDraw* wd, const AcGeVector3d& along) const;

private:
    AcString m_text;
    AcGePoint3d m_textPosition;  // group 11
    AcGeVector3d m_normal{0, 0, 1};
    double m_textRotation = 0.0;
    double m_measurementRead = -1.0;
    int m_flagsHigh = 32;  // group 70 bits above the type
    mutable AcDbObjectId m_style;
    std::wstring m_styleName;
    mutable AcDbObjectId m_block;
    std::wstring m_blockName;
};

class AcDbAlignedDimension : public AcDbDimension {
    ACRX_DECLARE_MEMBERS(AcDbAlignedDimension);

public:
    AcDbAlignedDimension() = default;
    AcDbAlignedDimension(const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                         const AcGePoint3d& dimLinePoint, const ACHAR* dimText = nullptr,
                         AcDbObjectId dimStyle = AcDbObjectId::kNull);

    AcGePoint3d xLine1Point() const { return m_x1; }
    Acad::ErrorStatus setXLine1Point(const AcGePoint3d& p);
    AcGePoint3d xLine2Point() const { return m_x2; }
    Acad::ErrorStatus setXLine2Point(const AcGePoint3d& p);
    AcGePoint3d dimLinePoint() const { return m_dimLinePoint; }
    Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& p);
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double a);
    // Distance between the extension-line points.
    Acad::ErrorStatus measurement(double& value) const override;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    int dimensionType() const override { return 1; }
    // Where the dimension line meets the two extension lines.
    virtual void dimLineEnds(AcGePoint3d& a, AcGePoint3d& b) const;
    Acad::ErrorStatus readAlignedSection(AcDbDxfFiler* filer, double* rotation);
    void writeAlignedSection(AcDbDxfFiler* filer, const double* rotation) const;

    AcGePoint3d m_x1, m_x2;
    double m_oblique = 0.0;
};

class AcDbRotatedDimension : public AcDbAlignedDimension {
    ACRX_DECLARE_MEMBERS(AcDbRotatedDimension);

public:
    AcDbRotatedDimension() = default;
    AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                         const AcGePoint3d& dimLinePoint, const ACHAR* dimText = nullptr,
                         AcDbObjectId dimStyle = AcDbObjectId::kNull);

    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    // Length of the extension points' span along the rotation's direction.
    Acad::ErrorStatus measurement(double& value) const override;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    int dimensionType() const override { return 0; }
    void dimLineEnds(AcGePoint3d& a, AcGePoint3d& b) const override;

private:
    double m_rotation = 0.0;
};
