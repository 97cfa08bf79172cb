// The host's hatch: pattern name and type, solid fill, elevation and normal are modelled;
// the boundary loops, pattern lines and seed points are kept as the groups read, in order,
// and written back unchanged.
#pragma once
#include "host/db/AcDbEntity.h"

class AcDbHatch : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbHatch);

public:
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };

    AcDbHatch() = default;

    AcString patternName() const { return m_pattern; }
    HatchPatternType patternType() const { return m_patternType; }
    Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
    bool isSolidFill() const { return m_solid; }
    bool associative() const { return m_associative; }
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double e);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // Number of boundary loops (group 91).
    int numLoops() const { return m_loops; }

    // The boundary points found in the kept loop data (vertices and edge ends, in the
    // hatch's plane), converted to world coordinates.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // The kept loop data cannot follow a transformation: refused (eNotImplementedYet).
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // The boundary loops of the kept loop data: filled polygons for a solid fill, closed
    // outlines otherwise (pattern lines are not drawn). Ellipse edges and splines are drawn
    // through their points (splines through fit or control points).
    bool worldDraw(AcGiWorldDraw* wd) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcString m_pattern = L"SOLID";
    HatchPatternType m_patternType = kPreDefined;
    bool m_solid = true;
    bool m_associative = false;
    double m_elevation = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    int m_loops = 0;
};
