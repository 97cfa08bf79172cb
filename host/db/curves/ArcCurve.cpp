// Curve queries and offsets of the arc entity: parameter = angle about the normal, from
// the start angle to the end angle (made larger than the start by adding 2pi if needed).
#include "host/db/curves/CurveQueries.h"
#include "host/db/entities/AcDbArc.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDbArc)

Acad::ErrorStatus AcDbArc::getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const
{
    // Arcs run counter-clockwise: their right side is outwards.
    const double r = radius() + offsetDist;
    if (r <= fendo::db::curves::kRelativeOnCurveTolerance * radius()) return Acad::eDegenerateGeometry;
    auto* arc = new AcDbArc(center(), normal(), r, startAngle(), endAngle());
    arc->setThickness(thickness());
    if (layerId().isValid()) arc->setPropertiesFrom(this);
    offsetCurves.append(arc);
    return Acad::eOk;
}
