// The host's point entity: a world position drawn as a marker chosen by PDMODE.
#pragma once
#include "host/db/AcDbEntity.h"

class AcDbPoint : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbPoint);

public:
    AcDbPoint() = default;
    explicit AcDbPoint(const AcGePoint3d& position) : m_position(position) {}

    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // Angle of the marker's x axis (group 50), radians.
    double ecsRotation() const { return m_ecsRotation; }
    Acad::ErrorStatus setEcsRotation(double a);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Draws the marker of the drawing's PDMODE: 0 a dot, 1 nothing, 2 a plus, 3 an X,
    // 4 a short tick; +32 adds a circle, +64 a square. A positive PDSIZE is the marker's size in
    // drawing units; 0 means 5% of the view's height and a negative one that percentage of it,
    // so worldDraw leaves those to viewportDraw when the target has a view (elsewhere, as in
    // exports, they are 1 unit).
    bool worldDraw(AcGiWorldDraw* wd) override;
    void viewportDraw(AcGiViewportDraw* vd) override;
    // The marker of PDMODE at the given size in drawing units.
    void drawMarker(AcGiWorldDraw& wd, double size) const;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_position;
    double m_thickness = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    double m_ecsRotation = 0.0;
};
