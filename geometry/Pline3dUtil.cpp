// Reading 3D polylines by id.
#include "geometry/Pline3dUtil.h"

#include "geometry/DistinctPoints.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbObjectIterator.h"

int Pline3dUtil::getVertices(AcGePoint3dArray& points)
{
    fendo::db::OpenedObject<AcDb3dPolyline> pline(m_id, AcDb::kForRead);
    if (!pline) return 0;
    const bool fitOnly = pline->polyType() != AcDb::k3dSimplePoly;
    AcGePoint3dArray found;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDb3dPolylineVertex* v = nullptr;
        if (pline->openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        if (!fitOnly || v->vertexType() == AcDb::k3dFitVertex) found.append(v->position());
        v->close();
    }
    delete it;
    pline.close();

    AcGePoint3dArray all = points;
    all.append(found);
    fendo::geometry::DistinctPoints seen(AcGeContext::gTol.equalPoint(),
                                         fendo::geometry::coordinateExtent(all));
    for (const AcGePoint3d& p : points) seen.insert(p);
    for (const AcGePoint3d& p : found)
        if (seen.insert(p)) points.append(p);
    m_count = points.length();
    return m_count;
}

bool Pline3dUtil::openVertexAt(int index, AcDb::OpenMode mode, AcDb3dPolylineVertex*& vertex)
{
    vertex = nullptr;
    fendo::db::OpenedObject<AcDb3dPolyline> pline(m_id, AcDb::kForRead);
    if (!pline || index < 0) return false;
    AcDbObjectIterator* it = pline->vertexIterator();
    int i = 0;
    for (it->start(); !it->done() && i < index; it->step()) ++i;
    const bool found = !it->done();
    const AcDbObjectId vertexId = it->objectId();
    delete it;
    if (!found) return false;
    if (pline->openVertex(vertex, vertexId, mode) != Acad::eOk) return false;
    if (mode == AcDb::kForRead) vertex->close();
    return true;
}
