// Polyline kind conversions: "32P" (3D polylines to polylines), "32D" (3D polylines to 2D
// polylines), "2P" (2D polylines to polylines), "P23" (polylines to 3D polylines), "BA"
// (arcs and bulged polylines to chords) and "BA1" (polylines without arcs and widths).
// Each replaces every selected object by a new one on the same layer and colour.
#include "commands/polyline/PolylineCommands.h"

#include <string>
#include <vector>
#include "commands/polyline/ReplaceCurve.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "geometry/CurveHelper.h"
#include "geometry/CurveReaders.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/editor/aced.h"

using namespace fendo::poly;

namespace {
// "BA" facets splines at this chord tolerance and arcs at the common arc tolerance.
constexpr double kChordSplineTolerance = 0.05;

// Reads a 3D polyline's distinct vertices, its closed state and look; false when it cannot
// be opened or has no vertex.
bool read3dSource(AcDbObjectId id, AcGePoint3dArray& points, bool& closed, SourceLook& look)
{
    AcDb3dPolyline* source = nullptr;
    if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) return false;
    look = lookOf(source);
    closed = source->isClosed();
    read3dPolylineVertices(source, points);
    source->close();
    return !points.isEmpty();
}
}  // namespace

namespace {
// Replaces each selected 3D polyline by the curve `make` builds from its vertices and
// closed state, on the source's layer and colour.
template <typename Make>
void replace3dPolylines(const ACHAR* command, int promptId, Make&& make)
{
    OpenForWrite lock;
    const sset::KindOf kind(AcDb3dPolyline::desc());
    const auto ids = selectKinds(LoadPrompt(promptId), kind);
    if (ids.empty()) {
        acutPrintf(kNoPolylineSelected);
        return;
    }
    fendo::WalkProgress progress(command, ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcGePoint3dArray points;
        bool closed = false;
        SourceLook look;
        if (!read3dSource(id, points, closed, look)) continue;
        eraseEntity(id);
        appendLike(make(points, closed), look);
    }
}
}  // namespace

void cmd3dPolyToPolyline()
{
    replace3dPolylines(L"32P", 34, [](const AcGePoint3dArray& points, bool closed) -> AcDbEntity* {
        AcDbPolyline* pline = polylineThrough(points).release();
        pline->setClosed(closed);
        return pline;
    });
}

void cmd3dPolyTo2dPolyline()
{
    replace3dPolylines(L"32D", 42, [](const AcGePoint3dArray& points, bool closed) -> AcDbEntity* {
        auto* pline = new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, false, 0.0, 0.0, nullptr);
        if (closed) pline->makeClosed();
        return pline;
    });
}

void cmd2dPolylineToPolyline()
{
    OpenForWrite lock;
    const sset::KindOf kind(AcDb2dPolyline::desc());
    const auto ids = selectKinds(LoadPrompt(39), kind);
    if (ids.empty()) {
        acutPrintf(kNoPolylineSelected);
        return;
    }
    fendo::WalkProgress progress(L"2P", ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDb2dPolyline* source = nullptr;
        if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(source);
        const double elevation = source->elevation();
        source->close();
        // The helper reads a fitted polyline through its simple form.
        CurveHelper helper(id);
        AcGePoint3dArray points;
        bool closed = false;
        helper.getVertices(closed, points);
        if (points.isEmpty()) continue;
        eraseEntity(id);
        AcDbPolyline* pline = polylineThrough(points).release();
        pline->setElevation(elevation);
        pline->setClosed(closed);
        appendLike(pline, look);
    }
}

void cmdPolylineTo3dPoly()
{
    OpenForWrite lock;
    const sset::KindOf heavy(AcDb2dPolyline::desc());
    const sset::KindOf light(AcDbPolyline::desc());
    const sset::OrCondition either(heavy, light);
    const auto ids = selectKinds(LoadPrompt(35), either);
    if (ids.empty()) {
        acutPrintf(kNoPolylineSelected);
        return;
    }
    fendo::WalkProgress progress(L"P23", ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDbEntity* source = nullptr;
        if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(source);
        AcGePoint3dArray vertices;
        readVerticesAtElevation(source, vertices);
        source->close();
        if (vertices.isEmpty()) continue;
        eraseEntity(id);
        appendLike(new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices, false), look);
    }
}

void cmdArcsToChords()
{
    OpenForWrite lock;
    const sset::KindOf light(AcDbPolyline::desc());
    const sset::KindOf arc(AcDbArc::desc());
    const sset::OrCondition either(light, arc);
    const auto ids = selectKinds(L"\nChon cac doi tuong can chuyen doi(Arc,Pline):", either);
    fendo::WalkProgress progress(L"BA", ids.size());
    size_t done = 0;
    for (const AcDbObjectId id : ids) {
        progress.at(done++);
        AcDbEntity* source = nullptr;
        if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(source);
        source->close();
        CurveHelper helper(id);
        helper.setSplineTolerance(kChordSplineTolerance);
        AcGePoint3dArray points;
        bool closed = false;
        helper.getPoints(points, closed, kArcFacetTolerance, ArcTolMode::Sweep);
        if (points.isEmpty()) continue;
        eraseEntity(id);
        AcDbPolyline* pline = polylineThrough(points).release();
        pline->setElevation(points[0].z);
        pline->setClosed(closed);
        appendLike(pline, look);
    }
}

void cmdDropArcsAndWidths()
{
    OpenForWrite lock;
    const sset::KindOf light(AcDbPolyline::desc());
    const sset::KindOf heavy(AcDb2dPolyline::desc());
    const sset::OrCondition either(light, heavy);
    const auto ids = selectKinds(L"\nChon cac doi tuong can chuyen doi:", either);
    fendo::WalkProgress progress(L"BA1", ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDbEntity* source = nullptr;
        if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(source);
        AcGePoint2dArray points;
        AcGeDoubleArray bulges, startWidths, endWidths;
        if (auto* lw = AcDbPolyline::cast(source))
            readLwPolylineWidths(lw, points, bulges, startWidths, endWidths);
        else if (auto* old = AcDb2dPolyline::cast(source))
            asLwPolylineWidths(old, points, bulges, startWidths, endWidths);
        source->close();
        // No empty check here: a polyline without vertices becomes an empty polyline.
        eraseEntity(id);
        appendLike(polylineThrough(points).release(), look);
    }
}
