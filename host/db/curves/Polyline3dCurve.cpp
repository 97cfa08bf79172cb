// Curve queries of the 3D polyline (over the fitted vertices of a spline-fit one) and the
// spline of a spline-fit one.
#include "host/db/curves/CurveQueries.h"
#include "host/db/curves/PolylineSpline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbSpline.h"

FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(AcDb3dPolyline)

Acad::ErrorStatus AcDb3dPolyline::getSpline(AcDbSpline*& spline) const
{
    spline = nullptr;
    if (polyType() == AcDb::k3dSimplePoly) return Acad::eNotApplicable;
    std::vector<AcGePoint3d> frame;
    const std::vector<VertexData> all = vertexData();
    for (const VertexData& v : all)
        if (v.type == AcDb::k3dControlVertex) frame.push_back(v.position);
    if (frame.empty())
        for (const VertexData& v : all) frame.push_back(v.position);
    spline = fendo::db::curves::splineOfFrame(frame, polyType() == AcDb::k3dQuadSplinePoly ? 2 : 3, isClosed());
    if (!spline) return Acad::eDegenerateGeometry;
    if (layerId().isValid()) spline->setPropertiesFrom(this);
    return Acad::eOk;
}
