// "CHIAPL" splits a polyline in two at a picked point; "ThayPl" replaces a stretch of a
// polyline by another polyline drawn over it, keeping the polyline's boundary tag.
#include <string>
#include <utility>

#include "commands/polyline/BoundaryTag.h"
#include "commands/polyline/PolylineCommands.h"
#include "commands/polyline/ReplaceCurve.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "geometry/CurveReaders.h"
#include "geometry/WorkingPolyline.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/editor/aced.h"

using namespace fendo::poly;

namespace {
// A division point closer than this to an end of the polyline divides nothing.
constexpr double kEndTolerance = 0.0001;

// Replaces the polyline's vertices by the part's points and bulges, with default widths.
void setVerticesFrom(AcDbPolyline& pline, const AcDbPolyline& part)
{
    pline.reset(false, 0);
    for (unsigned int i = 0; i < part.numVerts(); ++i) {
        AcGePoint2d p;
        double bulge = 0.0;
        part.getPointAt(i, p);
        part.getBulgeAt(i, bulge);
        pline.addVertexAt(i, p, bulge);
    }
}

// The polyline run the other way: vertices in reverse order, each arc turned round on its
// segment; a closed polyline is taken as an open one.
void reverseInto(const AcDbPolyline& source, BsPolylineNew& target)
{
    target.reset(false, 0);
    const unsigned int n = source.numVerts();
    for (unsigned int k = 0; k < n; ++k) {
        AcGePoint2d p;
        double bulge = 0.0;
        source.getPointAt(n - 1 - k, p);
        if (k + 1 < n) source.getBulgeAt(n - 2 - k, bulge);
        target.addVertexAt(k, p, bulge == 0.0 ? 0.0 : -bulge);
    }
    target.setElevation(source.elevation());
    target.setNormal(source.normal());
}

// The part of the working polyline from a point on it to its end. A closed polyline ends where
// it starts, and the host finds that point at the start; so the part is cut from the start of
// the polyline run backwards once round, and turned back.
bool partToEnd(const BsPolylineNew& whole, const AcGePoint3d& at, BsPolylineNew& part)
{
    AcGePoint3d end;
    if (whole.getEndPoint(end) != Acad::eOk) return false;
    if (!whole.isClosed()) return whole.subPolyline(at, end, part);
    BsPolylineNew onceRound;
    onceRound.copyFrom(&whole);
    onceRound.setClosed(false);
    AcGePoint2d first;
    onceRound.getPointAt(0, first);
    onceRound.addVertexAt(onceRound.numVerts(), first);
    BsPolylineNew backwards, partBackwards;
    reverseInto(onceRound, backwards);
    if (!backwards.subPolyline(end, at, partBackwards)) return false;
    reverseInto(partBackwards, part);
    return true;
}

SourceLook lookOfObject(AcDbObjectId id)
{
    fendo::db::OpenedObject<AcDbEntity> entity(id, AcDb::kForRead);
    return entity ? lookOf(entity.get()) : SourceLook();
}
}  // namespace

void cmdSplitPolyline()
{
    const std::wstring pickPrompt = LoadPrompt(70);
    const std::wstring pointPrompt = LoadPrompt(71);
    const AcDbObjectId id = pickEntity(pickPrompt.c_str(), Highlight::No);
    if (id.isNull()) return;
    ads_point answer;
    if (acedGetPoint(nullptr, pointPrompt.c_str(), answer) != RTNORM) return;

    BsPolylineNew whole;
    if (!whole.loadFrom(id)) return;
    AcGePoint3d at, start, end;
    if (whole.getClosestPointTo(AcGePoint3d(answer[0], answer[1], answer[2]), at) != Acad::eOk) return;
    if (whole.getStartPoint(start) != Acad::eOk || whole.getEndPoint(end) != Acad::eOk) return;
    if (at.distanceTo(start) < kEndTolerance || at.distanceTo(end) < kEndTolerance) return;
    BsPolylineNew before, after;
    if (!whole.subPolyline(start, at, before)) before.reset(false, 0);
    if (!partToEnd(whole, at, after)) after.reset(false, 0);

    const SourceLook look = lookOfObject(id);
    if (before.numVerts() > 1) {
        // Only a lightweight polyline is shortened; another curve stays as it was.
        fendo::db::OpenedObject<AcDbPolyline> picked(id, AcDb::kForWrite);
        if (picked) setVerticesFrom(*picked.get(), before);
    }
    if (after.numVerts() > 1) {
        auto* rest = new AcDbPolyline;
        setVerticesFrom(*rest, after);
        // The part after the point stays where it lay: in the picked polyline's plane.
        rest->setNormal(after.normal());
        rest->setElevation(after.elevation());
        appendLike(rest, look, ColourTaken::Full);
    }
}

namespace {
// The plan points (z 0) of the replacing stretch's vertices; bulges are not used. A closed
// polyline ends with its first point again.
AcGePoint3dArray planPointsOfStretch(AcDbObjectId id)
{
    AcGePoint3dArray points;
    fendo::db::OpenedObject<AcDbEntity> stretch(id, AcDb::kForRead);
    if (!stretch) return points;
    AcGePoint2dArray plan;
    AcGeDoubleArray bulges;
    if (const AcDbPolyline* lw = AcDbPolyline::cast(stretch.get())) {
        readLwPolyline2d(lw, plan, bulges);
    } else if (AcDb2dPolyline* heavy = AcDb2dPolyline::cast(stretch.get())) {
        asLwPolyline2d(heavy, plan, bulges);
    } else if (const AcDb3dPolyline* p3 = AcDb3dPolyline::cast(stretch.get())) {
        AcGePoint3dArray vertices;
        read3dPolylineVertices(p3, vertices);
        for (const AcGePoint3d& v : vertices) plan.append(AcGePoint2d(v.x, v.y));
    }
    for (const AcGePoint2d& p : plan) points.append(AcGePoint3d(p.x, p.y, 0.0));
    return points;
}

// What ThayPl needs of the target: its kind, plan polyline (at elevation 0), tag and look.
struct Target {
    enum class Kind { Lightweight, Heavy3d } kind = Kind::Lightweight;
    BsPolylineNew plan;
    BoundaryTag tag;
    SourceLook look;
};

bool readTarget(AcDbObjectId id, Target& target)
{
    fendo::db::OpenedObject<AcDbEntity> entity(id, AcDb::kForRead);
    if (!entity) return false;
    if (const AcDbPolyline* lw = AcDbPolyline::cast(entity.get())) {
        target.kind = Target::Kind::Lightweight;
        target.plan.copyFrom(lw);
        target.plan.setElevation(0.0);
    } else if (const AcDb3dPolyline* p3 = AcDb3dPolyline::cast(entity.get())) {
        target.kind = Target::Kind::Heavy3d;
        AcGePoint3dArray vertices;
        read3dPolylineVertices(p3, vertices);
        setPlanVertices(target.plan, vertices);
    } else {
        return false;
    }
    target.tag = readBoundaryTag(entity.get());
    target.look = lookOf(entity.get());
    return true;
}

// The target's vertices, as points of its plan polyline, whose distance along it is below
// `limit` (Before) or above it (After), in the target's order.
enum class Side { Before, After };
void appendVertices(const BsPolylineNew& plan, double limit, Side side, AcGePoint3dArray& out)
{
    for (unsigned int i = 0; i < plan.numVerts(); ++i) {
        double dist = 0.0;
        if (plan.getDistAtParam(i, dist) != Acad::eOk) continue;
        if (side == Side::Before ? dist < limit : dist > limit) {
            AcGePoint3d p;
            plan.getPointAt(i, p);
            out.append(AcGePoint3d(p.x, p.y, 0.0));
        }
    }
}

// The target's plan points with the stretch put in: between the places where its ends lie on
// the target, after the target's start part when only one end lies on it, or alone.
AcGePoint3dArray splice(const BsPolylineNew& plan, AcGePoint3dArray stretch)
{
    double d1 = 0.0, d2 = 0.0;
    const bool firstOn = plan.getDistAtPoint(stretch.first(), d1) == Acad::eOk;
    const bool lastOn = plan.getDistAtPoint(stretch.last(), d2) == Acad::eOk;
    AcGePoint3dArray result;
    if (firstOn && lastOn) {
        if (d2 < d1) {
            stretch.reverse();
            std::swap(d1, d2);
        }
        appendVertices(plan, d1, Side::Before, result);
        result.append(stretch);
        appendVertices(plan, d2, Side::After, result);
    } else if (firstOn) {
        appendVertices(plan, d1, Side::Before, result);
        result.append(stretch);
    } else if (lastOn) {
        stretch.reverse();
        appendVertices(plan, d2, Side::Before, result);
        result.append(stretch);
    } else {
        result = stretch;
    }
    return result;
}

// One polyline picked with the prompt: lightweight or heavy (2D or 3D); the null id when
// nothing was picked.
AcDbObjectId selectPolyline(int promptId)
{
    FilterObjects filter;
    filter.addType(L"LWPOLYLINE");
    filter.addType(L"POLYLINE");
    const std::wstring prompt = LoadPrompt(promptId);
    return filter.selectOne(prompt.c_str()) > 0 ? filter.idAt(0) : AcDbObjectId();
}
}  // namespace

void cmdReplacePolylineStretch()
{
    const AcDbObjectId targetId = selectPolyline(68);
    if (targetId.isNull()) return;
    const AcDbObjectId stretchId = selectPolyline(69);
    // A polyline replacing a stretch of itself would leave nothing once the stretch is erased.
    if (stretchId.isNull() || stretchId == targetId) return;

    const AcGePoint3dArray stretch = planPointsOfStretch(stretchId);
    if (stretch.length() < 2) return;
    Target target;
    if (!readTarget(targetId, target)) return;
    const AcGePoint3dArray result = splice(target.plan, stretch);
    if (result.length() < 2) return;

    if (target.kind == Target::Kind::Heavy3d) {
        const AcDbObjectId made =
            appendLike(new AcDb3dPolyline(AcDb::k3dSimplePoly, result, false), target.look, ColourTaken::Full);
        if (made.isNull()) return;
        writeBoundaryTag(made, target.tag);
        eraseEntity(stretchId);
        eraseEntity(targetId);
        return;
    }
    {
        // The target keeps its identity, layer, colour, elevation, closed state and tag.
        fendo::db::OpenedObject<AcDbPolyline> pline(targetId, AcDb::kForWrite);
        if (!pline) return;
        setPlanVertices(*pline.get(), result);
    }
    eraseEntity(stretchId);
}
