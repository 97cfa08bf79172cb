// Reading curves by id into point lists, and reversing them in the drawing.
#include "geometry/CurveHelper.h"

#include <cmath>
#include <memory>
#include <vector>

#include "frame/DrawingHelpers.h"
#include "geometry/FacetSpline.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"

namespace {

using fendo::db::OpenedObject;

// Appends a copy of the heavy polyline to the current space and gives its id; the copy is
// made simple first.
template <typename Pline, typename SimpleType>
AcDbObjectId appendSimpleCopy(const Pline* pline, SimpleType simple)
{
    auto* copy = Pline::cast(pline->clone());
    if (!copy) return AcDbObjectId();
    if (copy->polyType() != simple) copy->convertToPolyType(simple);
    AcDbObjectId id;
    if (appendToSpace(copy, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk) {
        if (id.isNull()) delete copy;
        return AcDbObjectId();
    }
    return id;
}

// Visits the vertices of a heavy polyline open for read or write, each open for read.
template <typename Vertex, typename Pline, typename Fn>
void forEachVertex(const Pline* pline, Fn&& fn)
{
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        Vertex* v = nullptr;
        if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        fn(*v);
        v->close();
    }
    delete it;
}

void read2dVertices(const AcDb2dPolyline* pline, AcGePoint3dArray& points, AcGeDoubleArray* bulges,
                    AcGeDoubleArray* startWidths, AcGeDoubleArray* endWidths)
{
    const bool widths = startWidths && endWidths;
    forEachVertex<AcDb2dVertex>(pline, [&](const AcDb2dVertex& v) {
        // A spline frame vertex is a position only: its bulge shapes nothing.
        const bool frame = v.vertexType() == AcDb::k2dSplineCtlVertex;
        points.append(v.position());
        if (bulges) bulges->append(frame ? 0.0 : v.bulge());
        if (widths) {
            startWidths->append(v.startWidth());
            endWidths->append(v.endWidth());
        }
    });
}

// Reads a heavy 2D polyline's vertices through a simple copy when it is fitted; a simple
// one is read as it is, with no copy made.
void readPolyline2dCopy(const AcDb2dPolyline* source, AcGePoint3dArray& points, AcGeDoubleArray* bulges,
                        AcGeDoubleArray* startWidths, AcGeDoubleArray* endWidths)
{
    if (source->polyType() == AcDb::k2dSimplePoly) {
        read2dVertices(source, points, bulges, startWidths, endWidths);
        if (!points.isEmpty()) return;  // one without vertices is read through its lightweight form below
    }
    const AcDbObjectId copyId = appendSimpleCopy(source, AcDb::k2dSimplePoly);
    if (copyId.isNull()) return;
    OpenedObject<AcDb2dPolyline> copy(copyId, AcDb::kForWrite);
    if (!copy) return;
    const bool widths = startWidths && endWidths;
    read2dVertices(copy.get(), points, bulges, startWidths, endWidths);
    if (points.isEmpty()) {
        auto lw = std::make_unique<AcDbPolyline>();
        AcDbEntity* from = copy.get();
        if (lw->convertFrom(from, false) == Acad::eOk) {
            bool closed = false;
            readLwPolyline(lw.get(), closed, points, bulges, widths ? startWidths : nullptr,
                           widths ? endWidths : nullptr);
        }
    }
    copy->erase();
}

// Reads a 3D polyline's vertices, through a simple copy when it is spline-fitted.
void readPolyline3dCopy(const AcDb3dPolyline* source, AcGePoint3dArray& points)
{
    if (source->polyType() == AcDb::k3dSimplePoly) {
        forEachVertex<AcDb3dPolylineVertex>(source,
                                            [&](const AcDb3dPolylineVertex& v) { points.append(v.position()); });
        return;
    }
    const AcDbObjectId copyId = appendSimpleCopy(source, AcDb::k3dSimplePoly);
    if (copyId.isNull()) return;
    OpenedObject<AcDb3dPolyline> copy(copyId, AcDb::kForWrite);
    if (!copy) return;
    AcDbObjectIterator* it = copy->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDb3dPolylineVertex* v = nullptr;
        if (copy->openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        points.append(v->position());
        v->close();
    }
    delete it;
    copy->erase();
}

// Points at the whole parameters of a polyline; an open one ends at its end point, a closed
// one repeats its first point.
void pointsAtVertices(const AcDbCurve* curve, bool closed, AcGePoint3dArray& points)
{
    double endParam = 0.0;
    if (curve->getEndParam(endParam) != Acad::eOk) return;
    const int e = static_cast<int>(endParam);
    const int count = closed ? e : e + 1;
    for (int i = 0; i < count; ++i) {
        AcGePoint3d p;
        if (curve->getPointAtParam(i, p) == Acad::eOk) points.append(p);
    }
    if (points.isEmpty()) return;
    if (closed) {
        points.append(points.first());
    } else {
        AcGePoint3d end;
        if (curve->getEndPoint(end) == Acad::eOk && end != points.last()) points.last() = end;
    }
}

bool facetSpline(const AcDbSpline* spline, double tolerance, AcGePoint3dArray& points)
{
    FacetSplineChordal facet;
    facet.setup(spline, tolerance, CurveHelper::kSplineStepLimit);
    return facet.getPoints(points);
}

// Reversed lists: each bulge and pair of widths moved to the vertex that now starts its
// segment, bulges negated, start and end widths exchanged.
struct ReversedVertices {
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    AcGeDoubleArray startWidths;
    AcGeDoubleArray endWidths;
};

ReversedVertices reverseVertices(const AcGePoint3dArray& points, const AcGeDoubleArray& bulges,
                                 const AcGeDoubleArray& startWidths, const AcGeDoubleArray& endWidths)
{
    ReversedVertices r;
    const int n = points.length();
    r.points = points;
    r.points.reverse();
    // Old segment i runs from vertex i to vertex i + 1 (the closing one from n - 1 to 0);
    // after reversal it starts at the vertex that held old vertex i + 1.
    for (int j = 0; j < n; ++j) {
        const int old = (2 * n - 2 - j) % n;
        r.bulges.append(old < bulges.length() ? -bulges[old] : 0.0);
        r.startWidths.append(old < endWidths.length() ? endWidths[old] : 0.0);
        r.endWidths.append(old < startWidths.length() ? startWidths[old] : 0.0);
    }
    return r;
}

void reverseLwPolyline(AcDbPolyline* pline, const ReversedVertices& r)
{
    const bool closed = pline->isClosed();
    pline->reset(false, 0);
    for (int i = 0; i < r.points.length(); ++i) {
        AcGePoint2d p(r.points[i].x, r.points[i].y);
        pline->addVertexAt(static_cast<unsigned int>(i), p, r.bulges[i], r.startWidths[i], r.endWidths[i]);
    }
    pline->setClosed(closed);
}

// The ids of a heavy polyline's vertices in order.
template <typename Pline>
std::vector<AcDbObjectId> vertexIdsOf(const Pline* pline)
{
    std::vector<AcDbObjectId> ids;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) ids.push_back(it->objectId());
    delete it;
    return ids;
}

// Replaces the vertices of a heavy polyline (opened for write) by new ones made by make(i).
template <typename Pline, typename Vertex, typename Make>
void replaceVertices(Pline* pline, int count, Make make)
{
    const std::vector<AcDbObjectId> old = vertexIdsOf(pline);
    if (count > 0) {
        AcDbObjectId newId;
        Vertex* first = make(0);
        first->setPropertiesFrom(pline);
        pline->insertVertexAt(newId, AcDbObjectId(), first);
        first->close();
    }
    for (const AcDbObjectId& id : old) {
        Vertex* v = nullptr;
        if (pline->openVertex(v, id, AcDb::kForWrite) != Acad::eOk) continue;
        v->erase();
        v->close();
    }
    for (int i = 1; i < count; ++i) {
        Vertex* v = make(i);
        v->setPropertiesFrom(pline);
        AcDbObjectId newId;
        pline->appendVertex(newId, v);
        v->close();
    }
}

// Writes new data over a heavy polyline's vertices (polyline opened for write) in their
// order, so they keep their handles and nothing is made or erased; false, with nothing
// changed, when the polyline does not have count vertices.
template <typename Pline, typename Vertex, typename Set>
bool rewriteVertices(Pline* pline, int count, Set set)
{
    const std::vector<AcDbObjectId> ids = vertexIdsOf(pline);
    if (static_cast<int>(ids.size()) != count) return false;
    for (int i = 0; i < count; ++i) {
        Vertex* v = nullptr;
        if (pline->openVertex(v, ids[static_cast<size_t>(i)], AcDb::kForWrite) != Acad::eOk) continue;
        set(*v, i);
        v->close();
    }
    return true;
}

}  // namespace

int CurveHelper::getVertices(bool& closed, AcGePoint3dArray& points, AcGeDoubleArray* bulges,
                             AcGeDoubleArray* startWidths, AcGeDoubleArray* endWidths)
{
    points.removeAll();
    if (bulges) bulges->removeAll();
    if (startWidths) startWidths->removeAll();
    if (endWidths) endWidths->removeAll();
    closed = false;
    m_kind = static_cast<int>(CurveKind::None);

    OpenedObject<AcDbEntity> entity(m_id, AcDb::kForRead);
    if (!entity) return 0;
    if (const AcDbLine* line = AcDbLine::cast(entity.get())) {
        m_kind = static_cast<int>(CurveKind::Line);
        points.append(line->startPoint());
        points.append(line->endPoint());
        if (bulges) bulges->append({0.0, 0.0});
        if (startWidths && endWidths) {
            startWidths->append({0.0, 0.0});
            endWidths->append({0.0, 0.0});
        }
    } else if (const AcDbPolyline* lw = AcDbPolyline::cast(entity.get())) {
        m_kind = static_cast<int>(CurveKind::LwPolyline);
        readLwPolyline(lw, closed, points, bulges, startWidths, endWidths);
    } else if (const AcDb2dPolyline* p2 = AcDb2dPolyline::cast(entity.get())) {
        m_kind = static_cast<int>(CurveKind::Polyline2d);
        closed = p2->isClosed();
        readPolyline2dCopy(p2, points, bulges, startWidths, endWidths);
    } else if (const AcDb3dPolyline* p3 = AcDb3dPolyline::cast(entity.get())) {
        m_kind = static_cast<int>(CurveKind::Polyline3d);
        closed = p3->isClosed();
        readPolyline3dCopy(p3, points);
        if (bulges) bulges->setLogicalLength(points.length());
        if (startWidths && endWidths) {
            startWidths->setLogicalLength(points.length());
            endWidths->setLogicalLength(points.length());
        }
    }
    return points.length();
}

void CurveHelper::getPoints(AcGePoint3dArray& points, bool& closed, double arcTolerance, ArcTolMode mode)
{
    points.removeAll();
    m_kind = static_cast<int>(CurveKind::None);
    OpenedObject<AcDbCurve> curve(m_id, AcDb::kForRead);
    if (!curve) return;
    closed = curve->isClosed();

    if (const AcDbLine* line = AcDbLine::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Line);
        points.append(line->startPoint());
        points.append(line->endPoint());
    } else if (AcDbArc::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Arc);
        facetCircularCurve(curve.get(), points, arcTolerance, mode);
    } else if (AcDbCircle::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Circle);
        facetCircularCurve(curve.get(), points, arcTolerance, mode);
    } else if (AcDbPolyline::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::LwPolyline);
        facetCircularCurve(curve.get(), points, arcTolerance, mode);
    } else if (const AcDb2dPolyline* p2 = AcDb2dPolyline::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Polyline2d);
        if (p2->polyType() == AcDb::k2dQuadSplinePoly || p2->polyType() == AcDb::k2dCubicSplinePoly) {
            AcDbSpline* spline = nullptr;
            if (p2->getSpline(spline) == Acad::eOk && spline) facetSpline(spline, m_splineTolerance, points);
            delete spline;
        } else {
            pointsAtVertices(p2, closed, points);
        }
    } else if (const AcDb3dPolyline* p3 = AcDb3dPolyline::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Polyline3d);
        if (p3->polyType() != AcDb::k3dSimplePoly) {
            AcDbSpline* spline = nullptr;
            if (p3->getSpline(spline) == Acad::eOk && spline) facetSpline(spline, m_splineTolerance, points);
            delete spline;
        } else {
            pointsAtVertices(p3, closed, points);
        }
    } else if (const AcDbSpline* spline = AcDbSpline::cast(curve.get())) {
        m_kind = static_cast<int>(CurveKind::Spline);
        facetSpline(spline, m_splineTolerance, points);
    }
}

void CurveHelper::reverse()
{
    bool closed = false;
    AcGePoint3dArray points;
    AcGeDoubleArray bulges, startWidths, endWidths;
    getVertices(closed, points, &bulges, &startWidths, &endWidths);

    OpenedObject<AcDbEntity> entity(m_id, AcDb::kForWrite);
    if (!entity) return;
    if (AcDbLine* line = AcDbLine::cast(entity.get())) {
        const AcGePoint3d start = line->startPoint();
        line->setStartPoint(line->endPoint());
        line->setEndPoint(start);
    } else if (AcDbArc* arc = AcDbArc::cast(entity.get())) {
        const double start = arc->startAngle();
        arc->setStartAngle(arc->endAngle());
        arc->setEndAngle(start);
    } else if (AcDbPolyline* lw = AcDbPolyline::cast(entity.get())) {
        reverseLwPolyline(lw, reverseVertices(points, bulges, startWidths, endWidths));
    } else if (AcDb2dPolyline* p2 = AcDb2dPolyline::cast(entity.get())) {
        const ReversedVertices r = reverseVertices(points, bulges, startWidths, endWidths);
        if (!rewriteVertices<AcDb2dPolyline, AcDb2dVertex>(p2, r.points.length(), [&](AcDb2dVertex& v, int i) {
                v.setPosition(r.points[i]);
                v.setBulge(r.bulges[i]);
                v.setStartWidth(r.startWidths[i]);
                v.setEndWidth(r.endWidths[i]);
            }))
            replaceVertices<AcDb2dPolyline, AcDb2dVertex>(p2, r.points.length(), [&](int i) {
                return new AcDb2dVertex(r.points[i], r.bulges[i], r.startWidths[i], r.endWidths[i]);
            });
    } else if (AcDb3dPolyline* p3 = AcDb3dPolyline::cast(entity.get())) {
        points.reverse();
        if (!rewriteVertices<AcDb3dPolyline, AcDb3dPolylineVertex>(
                p3, points.length(), [&](AcDb3dPolylineVertex& v, int i) { v.setPosition(points[i]); }))
            replaceVertices<AcDb3dPolyline, AcDb3dPolylineVertex>(
                p3, points.length(), [&](int i) { return new AcDb3dPolylineVertex(points[i]); });
    }
}
