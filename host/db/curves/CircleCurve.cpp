// Curve queries and offsets of the circle entity: parameter = angle 0..2pi about the
// normal from the x axis of its object coordinate system.
#include "host/db/curves/CurveQueries.h"
#include "host/db/entities/AcDbCircle.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDbCircle)

Acad::ErrorStatus AcDbCircle::getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const
{
    const double r = radius() + offsetDist;
    if (r <= fendo::db::curves::kRelativeOnCurveTolerance * radius()) return Acad::eDegenerateGeometry;
    auto* circle = new AcDbCircle(center(), normal(), r);
    circle->setThickness(thickness());
    if (layerId().isValid()) circle->setPropertiesFrom(this);
    offsetCurves.append(circle);
    return Acad::eOk;
}
