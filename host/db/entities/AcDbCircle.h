// The host's circle entity: centre (world), radius and the normal of its plane.
#pragma once
#include "host/db/AcDbCurve.h"

class AcDbCircle : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbCircle);

public:
    AcDbCircle() = default;
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double r);  // eInvalidInput for a radius <= 0
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    double circumference() const;
    double diameter() const { return 2.0 * m_radius; }

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // Refused (eNotApplicable) for transformations that would make an ellipse.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    FENDO_DECLARE_CURVE_QUERIES;
    // Positive distances offset to the right of the direction of travel (seen from the
    // normal's side): outwards for circles, arcs and counter-clockwise closed polylines.
    Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_center;
    double m_radius = 1.0;
    AcGeVector3d m_normal{0, 0, 1};
    double m_thickness = 0.0;
};
