// The host's paper-space viewport entity, kept mostly as read: centre, width, height and
// number are modelled; everything else is written back unchanged.
#pragma once
#include "host/db/AcDbEntity.h"

class AcDbViewport : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbViewport);

public:
    AcDbViewport() = default;

    AcGePoint3d centerPoint() const { return m_center; }
    Acad::ErrorStatus setCenterPoint(const AcGePoint3d& c);
    double width() const { return m_width; }
    Acad::ErrorStatus setWidth(double w);
    double height() const { return m_height; }
    Acad::ErrorStatus setHeight(double h);
    int number() const { return m_number; }

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_center;
    double m_width = 0.0;
    double m_height = 0.0;
    int m_number = 0;
};
