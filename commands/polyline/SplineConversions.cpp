// Spline conversions: "P2S" (polylines to fit-point splines), "S2P" and "S3P" (splines to
// polylines and 3D polylines by chordal faceting, keeping every fit point as a vertex),
// "S2P1" (a spline's fit points drawn as a polyline), "TDSPL" and "LDSPL" (insert and
// remove fit points at picked places).
#include "commands/polyline/PolylineCommands.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>
#include "commands/polyline/FitPointPlacement.h"
#include "commands/polyline/ReplaceCurve.h"
#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "geometry/CurveHelper.h"
#include "geometry/CurveReaders.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/editor/aced.h"

using namespace fendo::poly;

namespace {
// The division tolerance of "S2P" and "S3P" when the user gives none.
constexpr double kDefaultDivisionTolerance = 0.1;
// The fit points of a new spline: cubic, passing through every point.
constexpr int kSplineOrder = 4;
constexpr double kSplineFitTolerance = 0.0;

AcGePoint3d flat(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0.0); }

enum class SplineTarget { Polyline, Polyline3d };

// The shared road of "S2P" and "S3P"; command names the progress meter.
void splinesToPolylines(const ACHAR* command, int selectPromptId, SplineTarget target)
{
    OpenForWrite lock;
    double tolerance = kDefaultDivisionTolerance;
    ads_real answer = 0.0;
    if (acedGetReal(LoadPrompt(57).c_str(), &answer) == RTNORM) tolerance = answer;

    const sset::KindOf kind(AcDbSpline::desc());
    const auto ids = selectKinds(LoadPrompt(selectPromptId), kind);
    fendo::WalkProgress progress(command, ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDbSpline* spline = nullptr;
        if (acdbOpenObject(spline, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(spline);
        AcGePoint3dArray fitPoints;
        getSplineFitPoints(spline, fitPoints);
        spline->close();

        CurveHelper helper(id);
        helper.setSplineTolerance(tolerance);
        AcGePoint3dArray points;
        bool closed = false;
        helper.getPoints(points, closed, kArcFacetTolerance, ArcTolMode::Sweep);
        if (points.isEmpty()) continue;
        const double z0 = points[0].z;
        eraseEntity(id);

        if (target == SplineTarget::Polyline) {
            insertFitPoints(points, fitPoints, z0);
            auto pline = polylineThrough(points);
            pline->setElevation(points[0].z);
            appendLike(pline.release(), look);
            continue;
        }

        insertFitPoints(points, fitPoints, 0.0);
        setHeightsFromFitPoints(points, fitPoints, z0);
        appendLike(new AcDb3dPolyline(AcDb::k3dSimplePoly, points, false), look);
    }
}

enum class FitPointEdit { Insert, Remove };

// The shared loop of "TDSPL" and "LDSPL": each point picked edits the fit point after the
// span of the fit-point chain it projects onto.
void editFitPoints(const wchar_t* pointPrompt, FitPointEdit edit)
{
    const AcDbObjectId id = pickEntity(L"\nChon duong spline:", Highlight::No);
    for (;;) {
        ads_point picked;
        if (acedGetPoint(nullptr, pointPrompt, picked) != RTNORM) return;
        const AcGePoint3d p(picked[0], picked[1], picked[2]);
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return;
        AcGePoint3dArray fitPoints;
        if (auto* spline = AcDbSpline::cast(entity)) getSplineFitPoints(spline, fitPoints);
        entity->close();
        const auto chain = polylineThrough(fitPoints);

        AcDbSpline* spline = nullptr;
        if (acdbOpenObject(spline, id, AcDb::kForWrite) != Acad::eOk) continue;
        AcGePoint3d onChain;
        double param = 0.0;
        if (chain->getClosestPointTo(flat(p), onChain, false) == Acad::eOk &&
            chain->getParamAtPoint(onChain, param) == Acad::eOk) {
            const int k = static_cast<int>(param) + 1;
            // A refused edit (index out of range, too few fit points) leaves the spline as it was.
            if (edit == FitPointEdit::Insert)
                spline->insertFitPointAt(k, p);
            else
                spline->removeFitPointAt(k);
        }
        spline->close();
    }
}
}  // namespace

void cmdPolylineToSpline()
{
    OpenForWrite lock;
    const sset::KindOf light(AcDbPolyline::desc());
    const sset::KindOf heavy(AcDb2dPolyline::desc());
    const sset::KindOf poly3d(AcDb3dPolyline::desc());
    const sset::OrCondition plane(light, heavy);
    const sset::OrCondition any(plane, poly3d);
    const auto ids = selectKinds(LoadPrompt(18), any);
    if (ids.empty()) {
        acutPrintf(kNoPolylineSelected);
        return;
    }
    fendo::WalkProgress progress(L"P2S", ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDbEntity* source = nullptr;
        if (acdbOpenObject(source, id, AcDb::kForRead) != Acad::eOk) continue;
        const SourceLook look = lookOf(source);
        AcGePoint3dArray points;
        // A closed polyline repeats its first point at the end; a 3D one's closed state is not used.
        if (!readVerticesAtElevation(source, points))
            if (auto* p3d = AcDb3dPolyline::cast(source)) read3dPolylineVertices(p3d, points);
        source->close();
        if (points.isEmpty()) continue;
        eraseEntity(id);
        appendLike(new AcDbSpline(points, kSplineOrder, kSplineFitTolerance), look);
    }
}

void cmdSplineToPolyline() { splinesToPolylines(L"S2P", 19, SplineTarget::Polyline); }

void cmdSplineTo3dPoly() { splinesToPolylines(L"S3P", 20, SplineTarget::Polyline3d); }

void cmdSplineFitPointsToPolyline()
{
    const AcDbObjectId id = pickEntity(L"\nSelect object:", Highlight::No);
    AcDbSpline* spline = nullptr;
    if (id.isNull() || acdbOpenObject(spline, id, AcDb::kForRead) != Acad::eOk) return;
    AcGePoint3dArray fitPoints;
    getSplineFitPoints(spline, fitPoints);
    const std::wstring layer = spline->layer();
    const auto color = spline->colorIndex();
    spline->close();
    if (fitPoints.length() <= 1) return;
    auto pline = polylineThrough(fitPoints);
    // The spline's colour is given whatever it is, ByLayer and ByBlock included.
    pline->setColorIndex(color);
    pline->setLayer(layer.c_str());
    AcDbPolyline* made = pline.release();
    if (appendToCurrentSpace(made) != Acad::eOk && made->objectId().isNull()) delete made;
}

void cmdInsertSplineFitPoint() { editFitPoints(L"\nDiem chen them :", FitPointEdit::Insert); }

void cmdRemoveSplineFitPoint() { editFitPoints(L"\nDiem loai bo :", FitPointEdit::Remove); }
