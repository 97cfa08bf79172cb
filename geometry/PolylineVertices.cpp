// Plan vertices and whole-list rewriting of lightweight, 2D and 3D polylines.
#include "geometry/PolylineVertices.h"

#include <vector>

#include "geometry/CurveReaders.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"

namespace {

double bulgeAt(const AcGeDoubleArray* bulges, int i)
{
    return bulges && i < bulges->length() ? (*bulges)[i] : 0.0;
}

// Erases every vertex of a heavy polyline opened for write.
template <typename Pline, typename Vertex>
void eraseAllVertices(Pline* pline)
{
    std::vector<AcDbObjectId> old;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) old.push_back(it->objectId());
    delete it;
    for (const AcDbObjectId& id : old) {
        Vertex* v = nullptr;
        if (pline->openVertex(v, id, AcDb::kForWrite) != Acad::eOk) continue;
        v->erase();
        v->close();
    }
}

template <typename Pline, typename Vertex>
void appendVertex(Pline* pline, Vertex* vertex)
{
    vertex->setPropertiesFrom(pline);
    AcDbObjectId newId;
    if (pline->appendVertex(newId, vertex) != Acad::eOk) {
        delete vertex;
        return;
    }
    vertex->close();
}

void rewrite(AcDbPolyline* pline, const AcGePoint3dArray& points, const AcGeDoubleArray* bulges)
{
    const bool closed = pline->isClosed();
    const double elevation = pline->elevation();
    pline->reset(false, 0);
    for (int i = 0; i < points.length(); ++i)
        pline->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(points[i].x, points[i].y), bulgeAt(bulges, i));
    pline->setClosed(closed);
    pline->setElevation(elevation);
}

void rewrite(AcDb2dPolyline* pline, const AcGePoint3dArray& points, const AcGeDoubleArray* bulges)
{
    eraseAllVertices<AcDb2dPolyline, AcDb2dVertex>(pline);
    // Plain vertices replace a spline or curve fit, so the polyline becomes simple.
    pline->setPolyType(AcDb::k2dSimplePoly);
    const double elevation = pline->elevation();
    for (int i = 0; i < points.length(); ++i)
        appendVertex(pline, new AcDb2dVertex(AcGePoint3d(points[i].x, points[i].y, elevation), bulgeAt(bulges, i)));
}

void rewrite(AcDb3dPolyline* pline, const AcGePoint3dArray& points)
{
    eraseAllVertices<AcDb3dPolyline, AcDb3dPolylineVertex>(pline);
    pline->setPolyType(AcDb::k3dSimplePoly);
    for (int i = 0; i < points.length(); ++i) appendVertex(pline, new AcDb3dPolylineVertex(points[i]));
}

}  // namespace

int readPlanVertices(AcDbEntity* pline, AcGePoint2dArray& points)
{
    points.removeAll();
    AcGeDoubleArray bulges;
    if (const auto* lw = AcDbPolyline::cast(pline)) return readLwPolyline2d(lw, points, bulges);
    if (auto* heavy = AcDb2dPolyline::cast(pline)) return asLwPolyline2d(heavy, points, bulges);
    if (const auto* p3d = AcDb3dPolyline::cast(pline)) {
        AcGePoint3dArray spatial;
        read3dPolylineVertices(p3d, spatial);
        for (int i = 0; i < spatial.length(); ++i) points.append(AcGePoint2d(spatial[i].x, spatial[i].y));
    }
    return points.length();
}

Acad::ErrorStatus replaceVertices(AcDbEntity* pline, const AcGePoint3dArray& points, const AcGeDoubleArray* bulges)
{
    auto* curve = AcDbCurve::cast(pline);
    if (!curve) return Acad::eWrongObjectType;
    AcGePoint3dArray list = points;
    // The closing segment of a closed polyline already returns to the first vertex.
    if (curve->isClosed() && list.length() > 2 &&
        AcGePoint2d(list.last().x, list.last().y).isEqualTo(AcGePoint2d(list.first().x, list.first().y)))
        list.removeLast();
    if (list.length() < 2) return Acad::eInvalidInput;

    if (auto* lw = AcDbPolyline::cast(pline))
        rewrite(lw, list, bulges);
    else if (auto* heavy = AcDb2dPolyline::cast(pline))
        rewrite(heavy, list, bulges);
    else if (auto* p3d = AcDb3dPolyline::cast(pline))
        rewrite(p3d, list);
    else
        return Acad::eWrongObjectType;
    return Acad::eOk;
}
