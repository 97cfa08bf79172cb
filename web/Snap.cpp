// Snap points of lines, arcs, circles, polylines, splines and points.
#include "web/Snap.h"

#include <cmath>
#include <vector>

#include "host/db/AcDbCurve.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::web {
namespace {

double planDistance(const AcGePoint3d& a, const AcGePoint3d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct Candidates {
    std::vector<Snap> points;
    void add(const AcGePoint3d& p, SnapKind kind) { points.push_back(Snap { p, kind }); }
};

// Vertices are the whole parameters of the polyline kinds; every segment's middle lies halfway.
void polylinePoints(const AcDbCurve& curve, int osmode, Candidates& out)
{
    double start = 0, end = 0;
    if (curve.getStartParam(start) != Acad::eOk || curve.getEndParam(end) != Acad::eOk) return;
    for (double param = start; param <= end + 1e-9; param += 1.0) {
        AcGePoint3d p;
        if ((osmode & kSnapEndpoint) && curve.getPointAtParam(param, p) == Acad::eOk) out.add(p, SnapKind::Endpoint);
        if ((osmode & kSnapMidpoint) && param + 0.5 <= end && curve.getPointAtParam(param + 0.5, p) == Acad::eOk)
            out.add(p, SnapKind::Midpoint);
    }
}

void curvePoints(const AcDbCurve& curve, int osmode, Candidates& out)
{
    if (AcDbPolyline::cast(&curve) || AcDb2dPolyline::cast(&curve) || AcDb3dPolyline::cast(&curve))
        return polylinePoints(curve, osmode, out);
    if (const auto* circle = AcDbCircle::cast(&curve)) {
        if (osmode & kSnapCenter) out.add(circle->center(), SnapKind::Center);
        return;
    }
    if (const auto* arc = AcDbArc::cast(&curve))
        if (osmode & kSnapCenter) out.add(arc->center(), SnapKind::Center);
    AcGePoint3d p;
    if (osmode & kSnapEndpoint) {
        if (curve.getStartPoint(p) == Acad::eOk) out.add(p, SnapKind::Endpoint);
        if (curve.getEndPoint(p) == Acad::eOk) out.add(p, SnapKind::Endpoint);
    }
    double end = 0, length = 0;
    if ((osmode & kSnapMidpoint) && curve.getEndParam(end) == Acad::eOk
        && curve.getDistAtParam(end, length) == Acad::eOk && curve.getPointAtDist(length / 2, p) == Acad::eOk)
        out.add(p, SnapKind::Midpoint);
}

bool layerShows(const AcDbEntity& e)
{
    const auto* layer = db::peekObject<AcDbLayerTableRecord>(e.layerId());
    return !layer || (!layer->isOff() && !layer->isFrozen());
}

}  // namespace

std::optional<Snap> findSnap(AcDbDatabase& db, const AcGePoint3d& at, double radius, int osmode)
{
    if ((osmode & kSnapSuppressed) || radius <= 0) return std::nullopt;
    const auto* space = db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId());
    if (!space) return std::nullopt;
    std::optional<Snap> best;
    double bestDistance = radius;
    std::optional<Snap> nearest;
    double nearestDistance = radius;
    for (AcDbObjectId id : space->entityIds()) {
        const AcDbStub* stub = id.stub();
        const AcDbEntity* e = stub && stub->object && !stub->erased ? AcDbEntity::cast(stub->object) : nullptr;
        if (!e || !layerShows(*e)) continue;
        AcDbExtents box;
        if (e->getGeomExtents(box) != Acad::eOk || box.isEmpty()) continue;
        if (at.x < box.minPoint().x - radius || at.x > box.maxPoint().x + radius || at.y < box.minPoint().y - radius
            || at.y > box.maxPoint().y + radius)
            continue;
        Candidates candidates;
        if (const auto* point = AcDbPoint::cast(e)) {
            if (osmode & (kSnapEndpoint | kSnapNearest)) candidates.add(point->position(), SnapKind::Endpoint);
        } else if (const auto* curve = AcDbCurve::cast(e)) {
            curvePoints(*curve, osmode, candidates);
            AcGePoint3d onCurve;
            const AcGePoint3d flat(at.x, at.y, 0.0);
            if ((osmode & kSnapNearest) && curve->getClosestPointTo(flat, onCurve) == Acad::eOk) {
                const double d = planDistance(onCurve, at);
                if (d <= nearestDistance) {
                    nearestDistance = d;
                    nearest = Snap { onCurve, SnapKind::Nearest };
                }
            }
        }
        for (const Snap& s : candidates.points) {
            const double d = planDistance(s.point, at);
            if (d <= bestDistance) {
                bestDistance = d;
                best = s;
            }
        }
    }
    // A named point within the aperture wins over the nearest point on a curve.
    return best ? best : nearest;
}

const char* snapKindName(SnapKind kind)
{
    switch (kind) {
    case SnapKind::Endpoint: return "endpoint";
    case SnapKind::Midpoint: return "midpoint";
    case SnapKind::Center: return "center";
    case SnapKind::Nearest: return "nearest";
    }
    return "snap";
}

}  // namespace fendo::web
