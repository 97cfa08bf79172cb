// Curve queries of the heavy 2D polyline (over the vertices that make its drawn shape:
// the generated ones of a fitted polyline) and the spline of a spline-fit one.
#include "host/db/curves/CurveQueries.h"
#include "host/db/curves/PolylineSpline.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDbSpline.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDb2dPolyline)

Acad::ErrorStatus AcDb2dPolyline::getSpline(AcDbSpline*& spline) const
{
    spline = nullptr;
    if (polyType() != AcDb::k2dQuadSplinePoly && polyType() != AcDb::k2dCubicSplinePoly)
        return Acad::eNotApplicable;
    std::vector<AcGePoint3d> frame;
    for (AcDb2dVertex* v : vertices())
        if (v->vertexType() == AcDb::k2dSplineCtlVertex) frame.push_back(vertexPosition(*v));
    if (frame.empty())
        for (AcDb2dVertex* v : vertices()) frame.push_back(vertexPosition(*v));
    spline = fendo::db::curves::splineOfFrame(frame, polyType() == AcDb::k2dQuadSplinePoly ? 2 : 3, isClosed());
    if (!spline) return Acad::eDegenerateGeometry;
    if (layerId().isValid()) spline->setPropertiesFrom(this);
    return Acad::eOk;
}
