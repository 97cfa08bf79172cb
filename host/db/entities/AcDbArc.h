// The host's arc entity: centre (world), radius, normal, and start and end angles measured
// counter-clockwise about the normal from the x axis of the arc's object coordinate system.
#pragma once
#include "host/db/AcDbCurve.h"

class AcGeCircArc3d;

class AcDbArc : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbArc);

public:
    AcDbArc() = default;
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
            double endAngle);

    AcGePoint3d center() const { return m_center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& c);
    double radius() const { return m_radius; }
    Acad::ErrorStatus setRadius(double r);  // eInvalidInput for a radius <= 0
    double startAngle() const { return m_startAngle; }
    Acad::ErrorStatus setStartAngle(double a);
    double endAngle() const { return m_endAngle; }
    Acad::ErrorStatus setEndAngle(double a);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    // Included angle in (0, 2pi].
    double totalAngle() const;
    double length() const { return totalAngle() * m_radius; }
    // World points at the two ends.
    AcGePoint3d startPt() const;
    AcGePoint3d endPt() const;
    // The same arc in the geometry library (refVec the OCS x axis).
    AcGeCircArc3d toGeArc() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // Rigid motions and uniform scalings (mirrorings included); others are refused
    // (eNotApplicable), as they would make an elliptical arc.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;

    FENDO_DECLARE_CURVE_QUERIES;
    // Positive distances offset to the right of the direction of travel (seen from the
    // normal's side): outwards for circles, arcs and counter-clockwise closed polylines.
    Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_center;
    double m_radius = 1.0;
    double m_startAngle = 0.0;
    double m_endAngle = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    double m_thickness = 0.0;
};
