// Vertex heights of polylines.
#include "commands/survey/VertexHeights.h"

#include "frame/LeadingNumber.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::survey {

bool isZeroHeight(double z) { return sameHeight(z, 0.0); }

std::vector<AcGePoint3d> storedVertices(const AcDb2dPolyline* pline)
{
    std::vector<AcGePoint3d> out;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDb2dVertex* v = nullptr;
        if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        out.push_back(v->position());
        v->close();
    }
    delete it;
    return out;
}

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
        AcDbObjectIterator* it = spatial->vertexIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDb3dPolylineVertex* v = nullptr;
            if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            out.push_back(v->position());
            v->close();
        }
        delete it;
    }
    return out;
}

}  // namespace fendo::survey
