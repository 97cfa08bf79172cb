// Curve queries and offsets of the line entity: parameter = distance from the start point.
#include "host/db/curves/CurveQueries.h"
#include "host/db/entities/AcDbLine.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDbLine)

Acad::ErrorStatus AcDbLine::getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const
{
    AcGeVector3d dir = endPoint() - startPoint();
    if (dir.isZeroLength()) return Acad::eDegenerateGeometry;
    // To the right of the direction of travel, seen from the normal's side.
    AcGeVector3d side = dir.crossProduct(normal());
    if (side.isZeroLength()) side = dir.perpVector().crossProduct(dir);  // line along its own normal
    side = side.normal() * offsetDist;
    auto* line = new AcDbLine(startPoint() + side, endPoint() + side);
    line->setNormal(normal());
    line->setThickness(thickness());
    if (layerId().isValid()) line->setPropertiesFrom(this);
    offsetCurves.append(line);
    return Acad::eOk;
}
