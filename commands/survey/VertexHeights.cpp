// Vertex heights of polylines.
#include "commands/survey/VertexHeights.h"

#include "frame/LeadingNumber.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::survey {

bool isZeroHeight(double z) { return sameHeight(z, 0.0); }

namespace {
// The stored position of each vertex of a 2D or 3D polyline, in order.
template <typename Vertex, typename Polyline>
std::vector<AcGePoint3d> vertexPositions(const Polyline* pline)
{
    std::vector<AcGePoint3d> out;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        Vertex* v = nullptr;
        if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        out.push_back(v->position());
        v->close();
    }
    delete it;
    return out;
}
}  // namespace

std::vector<AcGePoint3d> storedVertices(const AcDb2dPolyline* pline) { return vertexPositions<AcDb2dVertex>(pline); }

std::vector<AcGePoint3d> vertexHeights(const AcDbEntity* entity)
{
    std::vector<AcGePoint3d> out;
    if (const auto* light = AcDbPolyline::cast(entity)) {
        for (unsigned i = 0; i < light->numVerts(); ++i) {
            AcGePoint3d p;
            if (light->getPointAt(i, p) == Acad::eOk) out.emplace_back(p.x, p.y, light->elevation());
        }
    } else if (const auto* heavy = AcDb2dPolyline::cast(entity)) {
        const double elevation = heavy->elevation();
        const bool simple = heavy->polyType() == AcDb::k2dSimplePoly;
        for (const AcGePoint3d& p : storedVertices(heavy)) {
            double height = elevation;
            if (simple) height = isZeroHeight(p.z) && !isZeroHeight(elevation) ? elevation : p.z;
            out.emplace_back(p.x, p.y, height);
        }
    } else if (const auto* spatial = AcDb3dPolyline::cast(entity)) {
        out = vertexPositions<AcDb3dPolylineVertex>(spatial);
    }
    return out;
}

}  // namespace fendo::survey
