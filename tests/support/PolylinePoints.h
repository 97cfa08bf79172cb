// Reading the vertices of a polyline of a result drawing as one point list, and comparing point
// lists, for tests of the polyline commands.
#pragma once
#include <gmock/gmock.h>

#include <vector>
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::test {

using Points = std::vector<AcGePoint3d>;

// A lightweight polyline's vertices as (x, y, bulge); a 3D polyline's vertex positions. Empty
// when the object is none of these or does not open.
inline Points verticesOf(AcDbObjectId id)
{
    Points out;
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return out;
    if (const auto* lw = AcDbPolyline::cast(e)) {
        for (unsigned i = 0; i < lw->numVerts(); ++i) {
            AcGePoint2d p;
            double bulge = 0;
            lw->getPointAt(i, p);
            lw->getBulgeAt(i, bulge);
            out.emplace_back(p.x, p.y, bulge);
        }
    } else if (auto* p3 = AcDb3dPolyline::cast(e)) {
        AcDbObjectIterator* it = p3->vertexIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDb3dPolylineVertex* v = nullptr;
            if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            out.push_back(v->position());
            v->close();
        }
        delete it;
    }
    e->close();
    return out;
}

// The same number of points, each within 1e-9 of the expected one.
MATCHER_P(PointsNear, expected, "")
{
    if (arg.size() != expected.size()) return false;
    for (size_t i = 0; i < arg.size(); ++i)
        if (arg[i].distanceTo(expected[i]) > 1e-9) return false;
    return true;
}

}  // namespace fendo::test
