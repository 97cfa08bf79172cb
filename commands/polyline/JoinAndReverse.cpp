// "N3d" joins lines and 3D polylines that meet end to end into 3D polylines; "DCPL" reverses
// the direction of polylines in place.
#include <vector>

#include "commands/polyline/PolylineCommands.h"
#include "commands/polyline/ReplaceCurve.h"
#include "commands/survey/SeenPoints.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "geometry/CurveHelper.h"
#include "geometry/JointSegmentAcad.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"

namespace {
// End points closer than this in x and y are one node when joining.
constexpr double kJoinTolerance = 0.05;

// Erases, in selection order, every object whose plan extents have a lower corner and an
// upper corner that earlier objects already had (not necessarily the same object's).
void eraseDuplicates(const std::vector<AcDbObjectId>& ids)
{
    // Found again at the host's equal-point tolerance, in a grid of cells around each point.
    fendo::survey::SeenPoints lowers;
    fendo::survey::SeenPoints uppers;
    lowers.reserve(ids.size());
    uppers.reserve(ids.size());
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
        AcDbExtents box;
        if (entity->getGeomExtents(box) == Acad::eOk) {
            const AcGePoint3d lower(box.minPoint().x, box.minPoint().y, 0);
            const AcGePoint3d upper(box.maxPoint().x, box.maxPoint().y, 0);
            if (lowers.contains(lower) && uppers.contains(upper)) {
                entity->erase();
            } else {
                lowers.add(lower);
                uppers.add(upper);
            }
        }
        entity->close();
    }
}
}  // namespace

void cmdJoinInto3dPolylines()
{
    OpenForWrite lock;
    FilterObjects filter;
    filter.addType(L"LINE");
    filter.addType(L"POLYLINE");
    const std::wstring prompt = LoadPrompt(25);
    if (filter.select(prompt.c_str()) == 0) return;
    // The filter's POLYLINE admits 2D polylines too; the joining works on lines and 3D ones.
    std::vector<AcDbObjectId> ids;
    fendo::WalkProgress progress(L"N3d", filter.ids().size());
    for (const AcDbObjectId& id : filter.ids()) {
        progress.next();
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        if (entity->isKindOf(AcDbLine::desc()) || entity->isKindOf(AcDb3dPolyline::desc())) ids.push_back(id);
        entity->close();
    }
    eraseDuplicates(ids);
    JointSegmentAcad joiner;
    JointSegment::setTolerance(kJoinTolerance);
    joiner.addEntities(AcDbObjectIdArray(ids));
    joiner.run();
}

void cmdReverseCurves()
{
    OpenForWrite lock;
    sset::KindOf lightweight(AcDbPolyline::desc());
    sset::KindOf heavy2d(AcDb2dPolyline::desc());
    sset::KindOf heavy3d(AcDb3dPolyline::desc());
    sset::OrCondition anyHeavy(heavy2d, heavy3d);
    sset::OrCondition anyPolyline(lightweight, anyHeavy);
    std::vector<AcDbObjectId> ids;
    const std::wstring prompt = LoadPrompt(56);
    if (selectMatching(ids, anyPolyline, prompt.c_str(), fendo::poly::kRemovePrompt, Highlight::No) == 0) return;
    fendo::WalkProgress progress(L"DCPL", ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        CurveHelper(ids[i]).reverse();
        progress.at(i + 1);
    }
}
