// The host's hatch: pattern name and type, solid fill, elevation and normal, the hatch style, the
// pattern's angle, scale and definition lines are modelled; the boundary loops and what follows the
// pattern (pixel size, seed points, gradient) are kept as the groups read, in order, and written
// back unchanged.
#pragma once
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGeArrays.h"

class AcDbHatch : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbHatch);

public:
    enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
    // Which areas are filled when loops lie inside loops (group 75).
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };

    AcDbHatch() = default;

    AcString patternName() const { return m_pattern; }
    HatchPatternType patternType() const { return m_patternType; }
    // Sets the pattern; a named pattern found in the host's pattern files also gets its definition
    // lines at the current scale and angle (others keep none).
    Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
    bool isSolidFill() const { return m_solid; }
    bool associative() const { return m_associative; }
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double e);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // Number of boundary loops (group 91).
    int numLoops() const { return m_loops; }

    HatchStyle hatchStyle() const { return m_style; }
    Acad::ErrorStatus setHatchStyle(HatchStyle style);
    double patternAngle() const { return m_patternAngle; }  // radians
    Acad::ErrorStatus setPatternAngle(double angle);
    double patternScale() const { return m_patternScale; }
    Acad::ErrorStatus setPatternScale(double scale);
    bool patternDouble() const { return m_patternDouble; }

    // The pattern's line families as the hatch holds them, rotated and scaled into its plane: angle
    // (radians), base point, offset from line to line, dashes.
    int numPatternDefinitions() const { return static_cast<int>(m_definitions.size()); }
    Acad::ErrorStatus getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY, double& offsetX,
                                             double& offsetY, AcGeDoubleArray& dashes) const;

    // The boundary points found in the kept loop data (vertices and edge ends, in the hatch's
    // plane), converted to world coordinates.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // The kept loop data cannot follow a transformation: refused (eNotImplementedYet).
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // A solid fill draws its loops as filled polygons. A pattern draws its definition lines (or,
    // without any, the named pattern of the host's pattern files at the hatch's scale and angle)
    // cut by the loops as the hatch style says; a hatch with no pattern to draw, or one too dense
    // to draw, shows its loops as outlines. Ellipse edges and splines are drawn through their
    // points (splines through fit or control points).
    bool worldDraw(AcGiWorldDraw* wd) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    struct DefinitionLine {
        double angle = 0.0;
        double baseX = 0.0, baseY = 0.0;
        double offsetX = 0.0, offsetY = 0.0;
        std::vector<double> dashes;
    };

private:
    void loadLibraryDefinitions();

    AcString m_pattern = L"SOLID";
    HatchPatternType m_patternType = kPreDefined;
    bool m_solid = true;
    bool m_associative = false;
    double m_elevation = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    int m_loops = 0;
    HatchStyle m_style = kNormal;
    double m_patternAngle = 0.0;
    double m_patternScale = 1.0;
    bool m_patternDouble = false;
    std::vector<DefinitionLine> m_definitions;
    fendo::db::RawTags m_boundary;  // from the loop count (91) to the style (75)
    fendo::db::RawTags m_trailing;  // after the pattern data: pixel size, seed points ...
};
