// Survey point objects of the companion library KVOObjects17.dbx: a position whose z is the
// elevation, three texts, a rotation, and (for measured points) a colour and label heights.
#pragma once
#include <array>
#include <string>
#include "host/db/AcDbEntity.h"

class KvoDbPointObj : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(KvoDbPointObj);

public:
    KvoDbPointObj() = default;

    // Stores the position and the three texts (a null text is stored empty).
    void Set(const AcGePoint3d& position, const wchar_t* text0, const wchar_t* text1, const wchar_t* text2);
    AcGePoint3d GetPoint() const;
    // The text given to Set in place index (0..2); empty for any other index.
    const wchar_t* Get(int index) const;
    void SetRotation(double radians);
    double Rotation() const;

    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    // The label drawn beside the marker: the elevation with two decimals.
    std::wstring label() const;

protected:
    // Label text height and colour used when drawing; a measured point has its own.
    virtual double labelHeight() const { return 1.0; }
    virtual void applyColor(AcGiWorldDraw* wd) const;

private:
    AcGePoint3d m_position;
    std::array<std::wstring, 3> m_texts;
    double m_rotation = 0;
};

class KvoDbMeasurePointObj : public KvoDbPointObj {
    ACRX_DECLARE_MEMBERS(KvoDbMeasurePointObj);

public:
    KvoDbMeasurePointObj();

    void SetColor(const AcCmEntityColor& color);
    AcCmEntityColor GetColor() const;
    // Height of text index 0..3 of the point's label; other indexes are ignored.
    virtual void SetTextHeight(int index, double height);
    double TextHeight(int index) const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

protected:
    double labelHeight() const override { return m_heights[0]; }
    void applyColor(AcGiWorldDraw* wd) const override;

private:
    AcCmEntityColor m_color;
    std::array<double, 4> m_heights;
};
