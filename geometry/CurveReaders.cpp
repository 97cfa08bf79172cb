// Per-kind curve readers and the faceting of arcs, circles and lightweight polylines.
#include "geometry/CurveReaders.h"

#include <cmath>
#include <vector>

#include "geometry/DistinctPoints.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/BulgeArc.h"

namespace {

// Two ends of a lightweight polyline closer than this make it closed.
constexpr double kCoincidentEndTolerance = 1e-6;
constexpr double kTwoPi = 6.283185307179586;

// n = sqrt(sweep^3 / (6 q)) rounded to the nearest whole number.
int arcSegmentCount(double radius, double sweep, double tol, ArcTolMode mode)
{
    const double q = mode == ArcTolMode::Radius ? 2.0 * tol / (radius * radius) : sweep * tol;
    const double n = std::sqrt(sweep * sweep * sweep / (6.0 * q)) + 0.5;
    // A zero tolerance asks for an unbounded count; the caller's minimum then applies.
    if (!(n < 2147483647.0)) return 0;
    return static_cast<int>(n);
}

}  // namespace

int readLwPolyline(const AcDbPolyline* pline, bool& closed, AcGePoint3dArray& points, AcGeDoubleArray* bulges,
                   AcGeDoubleArray* startWidths, AcGeDoubleArray* endWidths)
{
    points.removeAll();
    if (bulges) bulges->removeAll();
    if (startWidths) startWidths->removeAll();
    if (endWidths) endWidths->removeAll();
    closed = false;
    if (!pline) return 0;
    closed = pline->isClosed();
    const unsigned int n = pline->numVerts();
    points.setPhysicalLength(n);
    for (unsigned int i = 0; i < n; ++i) {
        AcGePoint3d p;
        pline->getPointAt(i, p);
        points.append(p);
        if (bulges) {
            double b = 0.0;
            pline->getBulgeAt(i, b);
            bulges->append(b);
        }
        if (startWidths && endWidths) {
            double sw = 0.0, ew = 0.0;
            pline->getWidthsAt(i, sw, ew);
            startWidths->append(sw);
            endWidths->append(ew);
        }
    }
    return points.length();
}

int readLwPolyline2d(const AcDbPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges)
{
    points.removeAll();
    bulges.removeAll();
    if (!pline) return 0;
    const unsigned int n = pline->numVerts();
    for (unsigned int i = 0; i < n; ++i) {
        AcGePoint2d p;
        double b = 0.0;
        pline->getPointAt(i, p);
        pline->getBulgeAt(i, b);
        points.append(p);
        bulges.append(b);
    }
    if (pline->isClosed() && n > 0) {
        points.append(points.first());
        bulges.append(0.0);
    }
    return points.length();
}

int readLwPolylineWidths(const AcDbPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges,
                         AcGeDoubleArray& startWidths, AcGeDoubleArray& endWidths)
{
    points.removeAll();
    bulges.removeAll();
    startWidths.removeAll();
    endWidths.removeAll();
    if (!pline) return 0;
    const unsigned int n = pline->numVerts();
    for (unsigned int i = 0; i < n; ++i) {
        AcGePoint2d p;
        double b = 0.0, sw = 0.0, ew = 0.0;
        pline->getPointAt(i, p);
        pline->getBulgeAt(i, b);
        pline->getWidthsAt(i, sw, ew);
        points.append(p);
        bulges.append(b);
        startWidths.append(sw);
        endWidths.append(ew);
    }
    return points.length();
}

namespace {

// A lightweight copy of a 2D polyline (the source keeps its id), or null.
AcDbPolyline* lightweightCopy(AcDb2dPolyline* pline)
{
    if (!pline) return nullptr;
    auto* lw = new AcDbPolyline();
    AcDbEntity* source = pline;
    if (lw->convertFrom(source, false) != Acad::eOk) {
        delete lw;
        return nullptr;
    }
    return lw;
}

}  // namespace

int asLwPolyline2d(AcDb2dPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges)
{
    points.removeAll();
    bulges.removeAll();
    AcDbPolyline* lw = lightweightCopy(pline);
    if (!lw) return 0;
    const int n = readLwPolyline2d(lw, points, bulges);
    delete lw;
    return n;
}

int asLwPolylineWidths(AcDb2dPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges,
                       AcGeDoubleArray& startWidths, AcGeDoubleArray& endWidths)
{
    points.removeAll();
    bulges.removeAll();
    startWidths.removeAll();
    endWidths.removeAll();
    AcDbPolyline* lw = lightweightCopy(pline);
    if (!lw) return 0;
    const int n = readLwPolylineWidths(lw, points, bulges, startWidths, endWidths);
    delete lw;
    return n;
}

int read3dPolylineVertices(const AcDb3dPolyline* pline, AcGePoint3dArray& points)
{
    points.removeAll();
    if (!pline) return 0;
    // Positions only: read without making the objects of vertices held compactly.
    const std::vector<AcDb3dPolyline::VertexData> all = pline->vertexData();
    double extent = 0.0;
    for (const AcDb3dPolyline::VertexData& v : all)
        extent = std::fmax(extent, fendo::geometry::coordinateExtent(v.position));
    fendo::geometry::DistinctPoints seen(AcGeContext::gTol.equalPoint(), extent);
    points.setPhysicalLength(static_cast<int>(all.size()));
    for (const AcDb3dPolyline::VertexData& v : all)
        if (seen.insert(v.position)) points.append(v.position);
    return points.length();
}

int getSplineFitPoints(const AcDbSpline* spline, AcGePoint3dArray& points)
{
    points.removeAll();
    if (!spline) return 0;
    int degree = 0;
    double fitTol = 0.0;
    bool tangentsExist = false;
    AcGeVector3d startTangent, endTangent;
    if (spline->getFitData(points, degree, fitTol, tangentsExist, startTangent, endTangent) != Acad::eOk)
        points.removeAll();
    return points.length();
}

int facetCircularCurve(const AcDbCurve* curve, AcGePoint3dArray& points, double tol, ArcTolMode mode)
{
    // Below this many segments an arc's shape is lost.
    constexpr int kMinArcSegments = 4;
    if (const AcDbPolyline* lw = AcDbPolyline::cast(curve)) return facetLwPolyline(lw, points, tol, mode);
    double radius = 0.0, sweep = 0.0;
    if (const AcDbArc* arc = AcDbArc::cast(curve)) {
        radius = arc->radius();
        // The included angle: stored angles may run across 0 (end below start).
        sweep = arc->endAngle() - arc->startAngle();
        if (sweep <= 0.0) sweep = arc->totalAngle();
    } else if (const AcDbCircle* circle = AcDbCircle::cast(curve)) {
        radius = circle->radius();
        sweep = kTwoPi;
    } else {
        return 0;
    }
    points.removeAll();
    int n = arcSegmentCount(radius, sweep, tol, mode);
    if (n < kMinArcSegments) n = kMinArcSegments;
    double s = 0.0, e = 0.0;
    if (curve->getStartParam(s) != Acad::eOk || curve->getEndParam(e) != Acad::eOk) return 0;
    points.setPhysicalLength(n + 1);
    for (int i = 0; i <= n; ++i) {
        AcGePoint3d p;
        curve->getPointAtParam(s + i * (e - s) / n, p);
        points.append(p);
    }
    return n;
}

int facetLwPolyline(const AcDbPolyline* pline, AcGePoint3dArray& points, double tol, ArcTolMode mode)
{
    points.removeAll();
    if (!pline || pline->numVerts() == 0) return 0;
    unsigned int m = pline->numVerts();
    const bool closed = pline->isClosed();
    AcGePoint3d first, last;
    pline->getPointAt(0, first);
    pline->getPointAt(m - 1, last);
    double endParam = 0.0;
    pline->getEndParam(endParam);
    bool closedByCoincidence = false;
    {
        const fendo::ge::ScopedEqualPointTolerance coincident(kCoincidentEndTolerance);
        if (m > 1 && last.isEqualTo(first)) {
            if (!closed) {
                closedByCoincidence = true;
            } else {
                endParam -= 1.0;
            }
            --m;
        }
    }
    // A polyline in the plan plane has its points at (x, y, elevation).
    const bool planView = pline->normal() == AcGeVector3d::kZAxis;
    for (unsigned int i = 0; i < m; ++i) {
        AcGePoint3d p;
        pline->getPointAt(i, p);
        points.append(p);
        if (pline->segType(i) != AcDbPolyline::kArc) continue;
        double start = i;
        double end = 0.0;
        if (i + 1 < m) {
            end = i + 1;
        } else if (closed || closedByCoincidence) {
            end = endParam;
        } else {
            break;
        }
        AcGeCircArc3d arc;
        pline->getArcSegAt(i, arc);
        const int k = arcSegmentCount(arc.radius(), arc.endAng() - arc.startAng(), tol, mode);
        if (planView) {
            // Points on the bulge arc itself: asking the polyline for a point at a parameter
            // reads the whole polyline again for each point.
            AcGePoint2d a, b;
            double bulge = 0.0;
            pline->getPointAt(i, a);
            pline->getPointAt(static_cast<unsigned int>(end) % pline->numVerts(), b);
            pline->getBulgeAt(i, bulge);
            const auto bulgeArc = fendo::ge::arcFromBulge(a, b, bulge);
            for (int j = 1; j < k; ++j) {
                const double f = static_cast<double>(j) / k;
                const AcGePoint2d q = bulgeArc ? fendo::ge::pointOnBulgeArc(*bulgeArc, f)
                                               : fendo::ge::pointOnBulgeSegment(a, b, bulge, f);
                points.append(AcGePoint3d(q.x, q.y, p.z));
            }
            continue;
        }
        for (int j = 1; j < k; ++j) {
            AcGePoint3d q;
            pline->getPointAtParam(start + j * (end - start) / k, q);
            points.append(q);
        }
    }
    if (closedByCoincidence) points.append(first);
    return points.length();
}

double interpolateLinear(double t, double total, double a, double b) { return a + (b - a) * t / total; }
