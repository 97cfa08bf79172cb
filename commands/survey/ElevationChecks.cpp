// "CD0" marks zero heights with red circles, "CHECK" finds polylines too long
// for the tools downstream, "D2D" makes a tagged survey point at every polyline
// vertex.
#include "commands/survey/SurveyCommands.h"

#include <algorithm>
#include <vector>

#include "commands/survey/SurveyPoints.h"
#include "commands/survey/VertexHeights.h"
#include "frame/DrawingHelpers.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/editor/aced.h"

using namespace fendo::survey;

namespace {
constexpr const wchar_t* kZeroMarkLayer = L"DanhDauCaoDo0";
constexpr int kZeroMarkColour = 1;
constexpr double kZeroMarkRadius = 1.0;
constexpr const wchar_t* kVertexPointLayer = L"DiemTuDuongPline";
// Polylines with more vertices than this are coloured red by "CHECK".
constexpr int kVertexLimit = 500;
constexpr int kRed = 1;

void markZero(const AcGePoint3d& at)
{
    auto* circle = new AcDbCircle(at, AcGeVector3d::kZAxis, kZeroMarkRadius);
    circle->setLayer(kZeroMarkLayer, true);
    AcDbObjectId id;
    if (appendToSpace(circle, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk && id.isNull()) delete circle;
}

// The points of one object that get a zero mark.
std::vector<AcGePoint3d> zeroPoints(const AcDbEntity* entity)
{
    std::vector<AcGePoint3d> marks;
    if (const auto* light = AcDbPolyline::cast(entity)) {
        AcGePoint3d start;
        if (isZeroHeight(light->elevation()) && light->getStartPoint(start) == Acad::eOk) marks.push_back(start);
    } else if (const auto* line = AcDbLine::cast(entity)) {
        // Only the start is tested: a line that falls to zero is marked where it
        // begins at zero.
        if (isZeroHeight(line->startPoint().z)) marks.push_back(line->startPoint());
    } else if (const auto* heavy = AcDb2dPolyline::cast(entity); heavy && heavy->polyType() != AcDb::k2dSimplePoly) {
        const std::vector<AcGePoint3d> stored = storedVertices(heavy);
        if (isZeroHeight(heavy->elevation()) && !stored.empty()) marks.emplace_back(stored[0].x, stored[0].y, 0.0);
    } else {
        for (const AcGePoint3d& p : vertexHeights(entity))
            if (isZeroHeight(p.z)) marks.push_back(p);
    }
    return marks;
}
}  // namespace

void cmdMarkZeroHeights()
{
    const AnyKindOf kinds{AcDbLine::desc(), AcDb3dPolyline::desc(), AcDbPolyline::desc(), AcDb2dPolyline::desc()};
    const Selected selected = selectObjects(L"\nChon cac doi tuong can kiem tra:", kinds);
    if (selected.cancelled) return;
    ensureLayer(kZeroMarkLayer, kZeroMarkColour);
    fendo::WalkProgress progress(L"CD0", selected.ids.size());
    for (const AcDbObjectId id : selected.ids) {
        progress.next();
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        const std::vector<AcGePoint3d> marks = zeroPoints(entity);
        entity->close();
        for (const AcGePoint3d& p : marks) markZero(p);
    }
}

void cmdCheckLargePolylines()
{
    FilterObjects polylines;
    polylines.addType(AcDbPolyline::desc()->dxfName());
    if (polylines.selectAll() == 0) return;
    int most = 0;
    fendo::WalkProgress progress(L"CHECK", polylines.ids().size());
    for (const AcDbObjectId id : polylines.ids()) {
        progress.next();
        AcDbPolyline* pline = nullptr;
        if (acdbOpenObject(pline, id, AcDb::kForRead) != Acad::eOk) continue;
        const int count = static_cast<int>(pline->numVerts());
        most = std::max(most, count);
        if (count > kVertexLimit && pline->upgradeOpen() == Acad::eOk) pline->setColorIndex(kRed, true);
        pline->close();
    }
    acutPrintf(L"\nnummax:%d", most);
}

void cmdPointsFromVertices()
{
    const AnyKindOf kinds{AcDb3dPolyline::desc(), AcDbPolyline::desc(), AcDb2dPolyline::desc()};
    const auto ids = selectObjects(L"\nChon cac doi tuong can tao diem:", kinds).ids;
    if (ids.empty()) return;
    ensureLayer(kVertexPointLayer, 0);
    int number = 0;
    fendo::WalkProgress progress(L"D2D", ids.size());
    for (const AcDbObjectId id : ids) {
        progress.next();
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        const std::vector<AcGePoint3d> vertices = vertexHeights(entity);
        entity->close();
        for (const AcGePoint3d& p : vertices)
            if (makeTaggedPoint(p, kVertexPointLayer, number)) ++number;
    }
}
