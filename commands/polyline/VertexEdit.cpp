// "TDPL" and "LDPL": adding vertices to one polyline (at a picked place, or densely along its
// curved parts) and removing them (the picked ones, or those the simplifier finds unneeded).
#include "commands/polyline/PolylineCommands.h"

#include <cmath>
#include <vector>
#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/SysVarOverride.h"
#include "geometry/CArrayPoint.h"
#include "geometry/CurveHelper.h"
#include "geometry/CurveReaders.h"
#include "geometry/MapCleanCAD.h"
#include "geometry/PolylineVertices.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"

using fendo::db::OpenedObject;

namespace {

// Both words of the label name the tolerance option: "D", "Dung" or "sai" choose it.
constexpr const wchar_t* kToleranceKeyword = L"Dung sai";
constexpr double kDefaultTolerance = 0.5;
// The vertex marks of "LDPL": small red circles.
constexpr double kMarkRadius = 0.1;
constexpr int kMarkColor = 1;
// Centre snap, so that picks land on the marks' centres, the vertices.
constexpr short kCentreSnap = 4;
constexpr const wchar_t* kObjectSnapVariable = L"OSMODE";

enum class Reply { Point, Tolerance, Cancel, Other, Unreadable };

// One pick at a prompt that also offers the tolerance keyword.
Reply askPointOrTolerance(const std::wstring& prompt, AcGePoint3d& picked)
{
    acedInitGet(0, kToleranceKeyword);
    ads_point p;
    switch (acedGetPoint(nullptr, prompt.c_str(), p)) {
    case RTNORM:
        picked = AcGePoint3d(p[0], p[1], p[2]);
        return Reply::Point;
    case RTCAN:
        return Reply::Cancel;
    case RTKWORD: {
        ACHAR keyword[kHostInputBufferLength];
        return acedGetInput(keyword, kHostInputBufferLength) == RTNORM ? Reply::Tolerance : Reply::Unreadable;
    }
    default:
        return Reply::Other;
    }
}

// The tolerance answer; Enter keeps the default. False when the question is cancelled.
bool askTolerance(int promptId, int initFlags, double& tolerance)
{
    tolerance = kDefaultTolerance;
    acedInitGet(initFlags, nullptr);
    ads_real answer = 0.0;
    switch (acedGetReal(LoadPrompt(promptId).c_str(), &answer)) {
    case RTNORM:
        tolerance = answer;
        return true;
    case RTNONE:
        return true;
    default:
        return false;
    }
}

// One lightweight, 2D or 3D polyline picked with the prompt; the null id when none.
AcDbObjectId selectPolyline(int promptId)
{
    FilterObjects filter;
    filter.addType(L"LWPOLYLINE");
    filter.addType(L"POLYLINE");
    if (filter.selectOne(LoadPrompt(promptId).c_str()) == 0) return AcDbObjectId();
    const AcDbObjectId id = filter.idAt(0);
    OpenedObject<AcDbEntity> entity(id, AcDb::kForRead);
    if (!entity) return AcDbObjectId();
    const AcDbEntity* e = entity.get();
    const bool polyline = AcDbPolyline::cast(e) || AcDb2dPolyline::cast(e) || AcDb3dPolyline::cast(e);
    return polyline ? id : AcDbObjectId();
}

// ---- "TDPL" -------------------------------------------------------------------------------

// A polyline's vertices as (x, y) with bulges, and z for a 3D polyline.
struct VertexList {
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    bool closed = false;
};

// Where a picked vertex goes: its index, position, bulge, and the receiving segment's new
// bulge and the share of that segment before the pick.
struct Insertion {
    int index = 0;
    AcGePoint3d point;
    double bulge = 0.0;
    double bulgeBefore = 0.0;
    double share = 0.0;
};

double tanQuarter(double angle) { return std::tan(angle / 4.0); }

// Places the picked point in the vertex list by the distance along the plan of the nearest
// point of the polyline: vertices not farther along stay before it. An arc that receives the
// vertex is split in two arcs of the same circle at the nearest point, so the shape is kept
// when the pick lies on the arc. A 3D polyline's new vertex takes its height from its
// neighbours by plan distance. False when the nearest point is a vertex already.
bool placeVertex(const VertexList& v, const AcGePoint3d& picked, Insertion& out)
{
    const int n = v.points.length();
    if (n < 2) return false;
    AcDbPolyline plan;
    for (int i = 0; i < n; ++i)
        plan.addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(v.points[i].x, v.points[i].y), v.bulges[i]);
    plan.setClosed(v.closed);

    AcGePoint3d nearest;
    double along = 0.0, endParam = 0.0, total = 0.0;
    const AcGePoint3d flatPick(picked.x, picked.y, 0.0);
    if (plan.getClosestPointTo(flatPick, nearest, false) != Acad::eOk ||
        plan.getDistAtPoint(nearest, along) != Acad::eOk || plan.getEndParam(endParam) != Acad::eOk ||
        plan.getDistAtParam(endParam, total) != Acad::eOk)
        return false;
    const AcGePoint2d q(nearest.x, nearest.y);
    std::vector<double> dist(static_cast<size_t>(n), 0.0);
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (AcGePoint2d(v.points[i].x, v.points[i].y).isEqualTo(q)) return false;
        plan.getDistAtParam(static_cast<double>(i), dist[i]);
        if (dist[i] <= along) k = i + 1;
    }
    if (k == n && !v.closed) return false;

    const int a = k - 1, b = k % n;
    const double segment = (k < n ? dist[k] : total) - dist[a];
    out.index = k;
    out.share = segment > 0.0 ? (along - dist[a]) / segment : 0.0;
    const double sweep = 4.0 * std::atan(v.bulges[a]);
    out.bulgeBefore = tanQuarter(sweep * out.share);
    out.bulge = tanQuarter(sweep * (1.0 - out.share));
    const AcGePoint2d pa(v.points[a].x, v.points[a].y), pb(v.points[b].x, v.points[b].y);
    const double span = pa.distanceTo(pb);
    const double z = span > 0.0 ? interpolateLinear(q.distanceTo(pa), span, v.points[a].z, v.points[b].z)
                                : v.points[a].z;
    out.point = AcGePoint3d(picked.x, picked.y, z);
    return true;
}

void insertIntoLightweight(AcDbPolyline* pline, const AcGePoint3d& picked)
{
    VertexList v;
    AcGePoint2dArray points;
    AcGeDoubleArray startWidths, endWidths;
    readLwPolylineWidths(pline, points, v.bulges, startWidths, endWidths);
    for (int i = 0; i < points.length(); ++i) v.points.append(AcGePoint3d(points[i].x, points[i].y, 0.0));
    v.closed = pline->isClosed();
    Insertion ins;
    if (!placeVertex(v, picked, ins)) return;
    // The receiving segment's width runs on through the new vertex.
    const int a = ins.index - 1;
    const double width = interpolateLinear(ins.share, 1.0, startWidths[a], endWidths[a]);
    pline->setBulgeAt(static_cast<unsigned int>(a), ins.bulgeBefore);
    pline->setWidthsAt(static_cast<unsigned int>(a), startWidths[a], width);
    pline->addVertexAt(static_cast<unsigned int>(ins.index), AcGePoint2d(ins.point.x, ins.point.y), ins.bulge, width,
                       endWidths[a]);
}

void insertIntoPolyline2d(AcDb2dPolyline* pline, const AcGePoint3d& picked)
{
    VertexList v;
    AcGePoint2dArray points;
    AcGeDoubleArray startWidths, endWidths;
    asLwPolylineWidths(pline, points, v.bulges, startWidths, endWidths);
    for (int i = 0; i < points.length(); ++i) v.points.append(AcGePoint3d(points[i].x, points[i].y, 0.0));
    v.closed = pline->isClosed();
    Insertion ins;
    if (!placeVertex(v, picked, ins)) return;
    v.bulges[ins.index - 1] = ins.bulgeBefore;
    v.points.insertAt(ins.index, ins.point);
    v.bulges.insertAt(ins.index, ins.bulge);
    replaceVertices(pline, v.points, &v.bulges);
}

void insertIntoPolyline3d(AcDb3dPolyline* pline, const AcGePoint3d& picked)
{
    VertexList v;
    read3dPolylineVertices(pline, v.points);
    v.bulges.setLogicalLength(v.points.length());
    for (int i = 0; i < v.bulges.length(); ++i) v.bulges[i] = 0.0;
    v.closed = pline->isClosed();
    Insertion ins;
    if (!placeVertex(v, picked, ins)) return;
    v.points.insertAt(ins.index, ins.point);
    replaceVertices(pline, v.points);
}

void insertAtPick(AcDbObjectId id, const AcGePoint3d& picked)
{
    OpenedObject<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity) return;
    if (auto* lw = AcDbPolyline::cast(entity.get()))
        insertIntoLightweight(lw, picked);
    else if (auto* heavy = AcDb2dPolyline::cast(entity.get()))
        insertIntoPolyline2d(heavy, picked);
    else if (auto* p3d = AcDb3dPolyline::cast(entity.get()))
        insertIntoPolyline3d(p3d, picked);
}

// The polyline's curved parts (arcs, spline fit) followed at the given spline tolerance.
void densify(AcDbObjectId id, double splineTolerance)
{
    CurveHelper helper(id);
    helper.setSplineTolerance(splineTolerance);
    AcGePoint3dArray points;
    bool closed = false;
    helper.getPoints(points, closed, kArcFacetTolerance, ArcTolMode::Sweep);
    if (points.length() <= 1) return;
    OpenedObject<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) replaceVertices(entity.get(), points);
}

// ---- "LDPL" -------------------------------------------------------------------------------

// The red circles drawn on the vertices for one pick; erased when the scope ends.
class VertexMarks {
public:
    explicit VertexMarks(const AcGePoint2dArray& vertices)
    {
        for (int i = 0; i < vertices.length(); ++i) {
            auto* circle = new AcDbCircle(AcGePoint3d(vertices[i].x, vertices[i].y, 0.0), AcGeVector3d::kZAxis,
                                          kMarkRadius);
            circle->setColorIndex(kMarkColor);
            AcDbObjectId id;
            if (appendToSpace(circle, id, UcsTransform::None, SpaceChoice::Current) == Acad::eOk)
                m_ids.push_back(id);
            else if (id.isNull())
                delete circle;
        }
    }
    ~VertexMarks()
    {
        for (const AcDbObjectId& id : m_ids) eraseEntity(id);
    }
    VertexMarks(const VertexMarks&) = delete;
    VertexMarks& operator=(const VertexMarks&) = delete;

private:
    std::vector<AcDbObjectId> m_ids;
};

AcGePoint2dArray planVerticesOf(AcDbObjectId id)
{
    AcGePoint2dArray points;
    OpenedObject<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity) readPlanVertices(entity.get(), points);
    return points;
}

// Index of the first point nearest to p in the plan.
int nearestIndex(const AcGePoint3dArray& points, const AcGePoint3d& p)
{
    int index = -1;
    CArrayPoint(points).nearestPoint(p, CArrayPoint::Distance::Planar, index);
    return index;
}

// Heavy polylines: the vertices that make the shape (a spline frame is left alone), erased
// by id.
template <typename Pline, typename Vertex, typename IsFrame>
void removeNearestHeavyVertex(Pline* pline, const AcGePoint3d& p, IsFrame isFrame)
{
    std::vector<AcDbObjectId> ids;
    AcGePoint3dArray positions;
    AcDbObjectIterator* it = pline->vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        Vertex* v = nullptr;
        if (pline->openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        if (!isFrame(v)) {
            ids.push_back(it->objectId());
            positions.append(v->position());
        }
        v->close();
    }
    delete it;
    if (ids.size() <= 2) return;
    Vertex* v = nullptr;
    if (pline->openVertex(v, ids[nearestIndex(positions, p)], AcDb::kForWrite) != Acad::eOk) return;
    v->erase();
    v->close();
}

void removeNearestVertex(AcDbObjectId id, const AcGePoint3d& p)
{
    OpenedObject<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity) return;
    if (auto* lw = AcDbPolyline::cast(entity.get())) {
        if (lw->numVerts() <= 2) return;
        AcGePoint3dArray points;
        for (unsigned int i = 0; i < lw->numVerts(); ++i) {
            AcGePoint3d point;
            lw->getPointAt(i, point);
            points.append(point);
        }
        lw->removeVertexAt(static_cast<unsigned int>(nearestIndex(points, p)));
    } else if (auto* heavy = AcDb2dPolyline::cast(entity.get())) {
        removeNearestHeavyVertex<AcDb2dPolyline, AcDb2dVertex>(
            heavy, p, [](const AcDb2dVertex* v) { return v->vertexType() == AcDb::k2dSplineCtlVertex; });
    } else if (auto* p3d = AcDb3dPolyline::cast(entity.get())) {
        removeNearestHeavyVertex<AcDb3dPolyline, AcDb3dPolylineVertex>(
            p3d, p, [](const AcDb3dPolylineVertex* v) { return v->vertexType() == AcDb::k3dControlVertex; });
    }
}

// Keeps the vertices the simplifier needs at the tolerance, all in the plane z = 0.
void removeUnneededVertices(AcDbObjectId id, const AcGePoint2dArray& plan, double tolerance)
{
    MapCleanCAD clean(plan.asArrayPtr(), plan.length());
    clean.Approximate(tolerance);
    const AcGePoint2dArray& kept = clean.planePoints().isEmpty() ? plan : clean.planePoints();
    if (kept.length() <= 1) return;
    AcGePoint3dArray points;
    for (int i = 0; i < kept.length(); ++i) points.append(AcGePoint3d(kept[i].x, kept[i].y, 0.0));
    OpenedObject<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) replaceVertices(entity.get(), points);
}

}  // namespace

void cmdInsertVertices()
{
    const AcDbObjectId id = selectPolyline(59);
    if (id.isNull()) return;
    AcGePoint3d picked;
    switch (askPointOrTolerance(LoadPrompt(58), picked)) {
    case Reply::Point:
        insertAtPick(id, picked);
        return;
    case Reply::Tolerance: {
        double tolerance = kDefaultTolerance;
        // The tolerance is the chord tolerance of spline faceting, which must be above zero.
        if (askTolerance(60, RSG_NONEG | RSG_NOZERO, tolerance)) densify(id, tolerance);
        return;
    }
    default:
        return;
    }
}

void cmdRemoveVertices()
{
    const AcDbObjectId id = selectPolyline(62);
    if (id.isNull()) return;
    const SysVarOverride snap(kObjectSnapVariable, kCentreSnap);
    const std::wstring pickPrompt = LoadPrompt(63);
    for (;;) {
        if (acedUsrBrk()) return;
        const AcGePoint2dArray plan = planVerticesOf(id);
        const VertexMarks marks(plan);
        AcGePoint3d picked;
        switch (askPointOrTolerance(pickPrompt, picked)) {
        case Reply::Point:
            removeNearestVertex(id, picked);
            continue;
        case Reply::Unreadable:
            continue;
        case Reply::Tolerance: {
            double tolerance = kDefaultTolerance;
            if (askTolerance(64, RSG_NONEG, tolerance)) removeUnneededVertices(id, plan, tolerance);
            return;
        }
        case Reply::Cancel:
        case Reply::Other:
            return;
        }
    }
}
