// Copying curves into the working polyline, cutting it, offsetting it and crossing it.
#include "geometry/WorkingPolyline.h"

#include <cmath>
#include <vector>

#include "host/db/AcDbFiler.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeLine3d.h"
#include "host/ge/BulgeArc.h"

namespace {

// Consecutive vertices closer than this are one vertex.
constexpr double kCoincidentVertexDistance = 1e-05;
// crossLine's tolerance for a crossing at one of the two points and for opposite directions.
constexpr double kCrossingTolerance = 0.0001;
// The width that takes the polyline's constant width.
constexpr double kDefaultWidth = -1.0;
constexpr double kTwoPi = 6.283185307179586;

AcGePoint2d plan(const AcGePoint3d& p) { return AcGePoint2d(p.x, p.y); }

// The bulge of the part from p to q of the arc segment s0-s1 with bulge b (same centre and
// radius, same sense).
double partBulge(const AcGePoint2d& s0, const AcGePoint2d& s1, double b, const AcGePoint2d& p,
                 const AcGePoint2d& q)
{
    const auto arc = fendo::ge::arcFromBulge(s0, s1, b);
    if (!arc || p.isEqualTo(q)) return 0.0;
    const double a0 = std::atan2(p.y - arc->center.y, p.x - arc->center.x);
    const double a1 = std::atan2(q.y - arc->center.y, q.x - arc->center.x);
    double sweep = arc->ccw ? a1 - a0 : a0 - a1;
    sweep = std::fmod(sweep, kTwoPi);
    if (sweep < 0.0) sweep += kTwoPi;
    return std::tan((arc->ccw ? sweep : -sweep) / 4.0);
}

}  // namespace

// ---- BsPolyline -------------------------------------------------------------------------

Acad::ErrorStatus BsPolyline::shapeDwgOutFields(AcDbDwgFiler* filer) const
{
    filer->writeInt32(static_cast<std::int32_t>(numVerts()));
    for (unsigned int i = 0; i < numVerts(); ++i) {
        AcGePoint2d p;
        double b = 0.0, sw = 0.0, ew = 0.0;
        getPointAt(i, p);
        getBulgeAt(i, b);
        getWidthsAt(i, sw, ew);
        filer->writePoint2d(p);
        filer->writeDouble(b);
        filer->writeDouble(sw);
        filer->writeDouble(ew);
    }
    filer->writeBool(isClosed());
    filer->writeDouble(elevation());
    filer->writeVector3d(normal());
    return filer->filerStatus();
}

Acad::ErrorStatus BsPolyline::shapeDwgInFields(AcDbDwgFiler* filer)
{
    std::int32_t n = 0;
    Acad::ErrorStatus es = filer->readInt32(&n);
    if (es != Acad::eOk) return es;
    reset(false, 0);
    for (std::int32_t i = 0; i < n; ++i) {
        AcGePoint2d p;
        double b = 0.0, sw = 0.0, ew = 0.0;
        filer->readPoint2d(&p);
        filer->readDouble(&b);
        filer->readDouble(&sw);
        es = filer->readDouble(&ew);
        if (es != Acad::eOk) return es;
        addVertexAt(static_cast<unsigned int>(i), p, b, sw, ew);
    }
    bool closed = false;
    double elev = 0.0;
    AcGeVector3d n3;
    filer->readBool(&closed);
    filer->readDouble(&elev);
    es = filer->readVector3d(&n3);
    if (es != Acad::eOk) return es;
    setClosed(closed);
    setElevation(elev);
    setNormal(n3);
    return Acad::eOk;
}

// ---- BsPolylineNew ----------------------------------------------------------------------

void BsPolylineNew::copyFrom(const AcDbPolyline* source)
{
    reset(false, 0);
    if (!source) return;
    for (unsigned int i = 0; i < source->numVerts(); ++i) {
        AcGePoint2d p;
        double b = 0.0, sw = 0.0, ew = 0.0;
        source->getPointAt(i, p);
        source->getBulgeAt(i, b);
        source->getWidthsAt(i, sw, ew);
        addVertexAt(i, p, b, sw, ew);
    }
    setClosed(source->isClosed());
    setElevation(source->elevation());
}

bool BsPolylineNew::loadFrom(AcDbObjectId id)
{
    fendo::db::OpenedObject<AcDbEntity> source(id, AcDb::kForRead);
    if (!source) return false;
    const AcDbEntity* e = source.get();
    auto copyLooks = [&](const AcGeVector3d& n) {
        setColorIndex(e->colorIndex());
        setVisibility(e->visibility());
        setLinetype(e->linetypeId());
        setLinetypeScale(e->linetypeScale());
        setNormal(n);
    };

    if (const AcDbLine* line = AcDbLine::cast(e)) {
        copyLooks(line->normal());
        reset(false, 0);
        addVertexAt(0, plan(line->startPoint()), 0.0, kDefaultWidth, kDefaultWidth);
        addVertexAt(1, plan(line->endPoint()), 0.0, kDefaultWidth, kDefaultWidth);
        setClosed(false);
    } else if (const AcDbArc* arc = AcDbArc::cast(e)) {
        copyLooks(arc->normal());
        const AcGeCircArc3d ge = arc->toGeArc();
        // The middle of the included angle: stored angles may run across 0.
        const AcGePoint3d p0 = arc->startPt();
        const AcGePoint3d p1 = arc->endPt();
        const AcGePoint3d pm = ge.evalPoint(ge.startAng() + arc->totalAngle() / 2.0);
        reset(false, 0);
        addVertexAt(0, plan(p0), fendo::ge::bulgeFromThreePoints(plan(p0), plan(pm), plan(p1)), kDefaultWidth,
                    kDefaultWidth);
        addVertexAt(1, plan(p1), 0.0, kDefaultWidth, kDefaultWidth);
        setClosed(false);
    } else if (const AcDbCircle* circle = AcDbCircle::cast(e)) {
        copyLooks(circle->normal());
        const AcGePoint3d c = circle->center();
        const double r = circle->radius();
        reset(false, 0);
        addVertexAt(0, AcGePoint2d(c.x - r, c.y), 1.0, kDefaultWidth, kDefaultWidth);
        addVertexAt(1, AcGePoint2d(c.x + r, c.y), 1.0, kDefaultWidth, kDefaultWidth);
        setClosed(true);
    } else if (const AcDbPolyline* lw = AcDbPolyline::cast(e)) {
        copyLooks(lw->normal());
        copyFrom(lw);
    } else if (const AcDb2dPolyline* p2 = AcDb2dPolyline::cast(e)) {
        copyLooks(p2->normal());
        reset(false, 0);
        AcDbObjectIterator* it = p2->vertexIterator();
        unsigned int i = 0;
        for (it->start(); !it->done(); it->step()) {
            AcDb2dVertex* v = nullptr;
            if (p2->openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            addVertexAt(i++, plan(v->position()), v->bulge(), v->startWidth(), v->endWidth());
            v->close();
        }
        delete it;
        setClosed(p2->isClosed());
        setElevation(p2->elevation());
    } else {
        return false;
    }
    source.close();

    for (unsigned int i = 0; i + 1 < numVerts();) {
        AcGePoint2d p, q;
        getPointAt(i, p);
        getPointAt(i + 1, q);
        if (p.distanceTo(q) < kCoincidentVertexDistance) {
            removeVertexAt(i);
        } else {
            ++i;
        }
    }
    return true;
}

bool BsPolylineNew::subPolyline(const AcGePoint3d& a, const AcGePoint3d& b, BsPolylineNew& target) const
{
    double pa = 0.0, pb = 0.0;
    if (getParamAtPoint(a, pa) != Acad::eOk || getParamAtPoint(b, pb) != Acad::eOk) return false;
    target.reset(false, 0);
    target.setClosed(false);
    target.setElevation(elevation());
    target.setNormal(normal());
    AcGePoint2d from = plan(a), to = plan(b);
    if (pb < pa) {
        std::swap(pa, pb);
        std::swap(from, to);
    }

    const unsigned int n = numVerts();
    const unsigned int segments = isClosed() ? n : (n > 0 ? n - 1 : 0);
    auto vertex = [&](unsigned int i) {
        AcGePoint2d p;
        getPointAt(i % n, p);
        return p;
    };
    // The bulge of the part from p (parameter ps) to q (parameter pe) of the segment
    // holding it: the segment's own bulge when the part is the whole segment.
    auto bulgeOf = [&](double ps, double pe, const AcGePoint2d& p, const AcGePoint2d& q) {
        if (segments == 0) return 0.0;
        unsigned int s = static_cast<unsigned int>(std::floor(ps));
        if (s >= segments) s = segments - 1;
        double bulge = 0.0;
        getBulgeAt(s, bulge);
        if (bulge == 0.0) return 0.0;
        if (ps == s && pe == s + 1.0) return bulge;
        return partBulge(vertex(s), vertex(s + 1), bulge, p, q);
    };

    std::vector<AcGePoint2d> pts{from};
    std::vector<double> params{pa};
    for (unsigned int i = static_cast<unsigned int>(std::floor(pa)) + 1; i < n && i < pb; ++i) {
        pts.push_back(vertex(i));
        params.push_back(i);
    }
    pts.push_back(to);
    params.push_back(pb);
    for (size_t k = 0; k < pts.size(); ++k) {
        const double bulge = k + 1 < pts.size() ? bulgeOf(params[k], params[k + 1], pts[k], pts[k + 1]) : 0.0;
        target.addVertexAt(static_cast<unsigned int>(k), pts[k], bulge, kDefaultWidth, kDefaultWidth);
    }
    return true;
}

bool BsPolylineNew::offsetTo(double distance, BsPolylineNew& target) const
{
    AcDbVoidPtrArray curves;
    if (getOffsetCurves(distance, curves) != Acad::eOk || curves.isEmpty()) {
        for (void* c : curves) delete static_cast<AcDbEntity*>(c);
        return false;
    }
    const AcDbPolyline* first = AcDbPolyline::cast(static_cast<AcDbEntity*>(curves[0]));
    if (first) target.copyFrom(first);
    for (void* c : curves) delete static_cast<AcDbEntity*>(c);
    return first != nullptr;
}

bool BsPolylineNew::crossLine(const AcGePoint3d& a, const AcGePoint3d& b, AcGePoint3d& crossing,
                              CrossMode mode) const
{
    const AcGePoint3d pa(a.x, a.y, 0.0), pb(b.x, b.y, 0.0);
    const AcGeLine3d line(pa, pb);
    AcGeTol tol;
    tol.setEqualPoint(kCrossingTolerance);
    tol.setEqualVector(kCrossingTolerance);
    auto accepted = [&](const AcGePoint3d& c) {
        if (mode == CrossMode::AnyCrossing) return true;
        if (c.isEqualTo(pa, tol) || c.isEqualTo(pb, tol)) return false;
        const AcGeVector3d toA = (pa - c).normal();
        const AcGeVector3d toB = (pb - c).normal();
        return (toA + toB).length() <= kCrossingTolerance;
    };

    const unsigned int n = numVerts();
    for (unsigned int i = 0; i + 1 < n; ++i) {
        AcGePoint2d p0, p1;
        double bulge = 0.0;
        getPointAt(i, p0);
        getPointAt(i + 1, p1);
        getBulgeAt(i, bulge);
        AcGePoint3d candidates[2];
        int count = 0;
        const auto arc = fendo::ge::arcFromBulge(p0, p1, bulge);
        if (arc) {
            // The same arc travelled counter-clockwise, in the plane z = 0.
            const double start = arc->ccw ? arc->startAngle : arc->endAngle;
            double end = arc->ccw ? arc->endAngle : arc->startAngle;
            if (end <= start) end += kTwoPi;
            const AcGeCircArc3d ge(AcGePoint3d(arc->center.x, arc->center.y, 0.0), AcGeVector3d(0, 0, 1),
                                   AcGeVector3d(1, 0, 0), arc->radius, start, end);
            ge.intersectWith(line, count, candidates[0], candidates[1]);
        } else {
            // Bounded segment against the unbounded line.
            const AcGeVector2d d = p1 - p0;
            const double lx = pb.x - pa.x, ly = pb.y - pa.y;
            const double denom = d.x * ly - d.y * lx;
            if (denom != 0.0) {
                const double t = ((pa.x - p0.x) * ly - (pa.y - p0.y) * lx) / denom;
                if (t >= 0.0 && t <= 1.0) {
                    candidates[0] = AcGePoint3d(p0.x + t * d.x, p0.y + t * d.y, 0.0);
                    count = 1;
                }
            }
        }
        for (int k = 0; k < count; ++k) {
            if (!accepted(candidates[k])) continue;
            crossing = AcGePoint3d(candidates[k].x, candidates[k].y, 0.0);
            return true;
        }
    }
    return false;
}
