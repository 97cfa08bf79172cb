// "LDTT": erases repeated survey data. A survey point is a repeat when an
// earlier one lies at the same plan position (whatever its height); a line or
// polyline is a repeat when both corners of its extents are corners seen
// before, possibly on two different objects.
#include "commands/survey/SurveyCommands.h"

#include "commands/survey/SeenPoints.h"
#include "commands/survey/SurveyPoints.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/DrawingHelpers.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"

using namespace fendo::survey;

namespace {
// Made as the point-from-vertex command makes it, though nothing is put on it
// here.
constexpr const wchar_t* kVertexPointLayer = L"DiemTuDuongPline";

enum class Verdict { Keep, Erase, Skip };

struct SeenPlaces {
    SeenPoints surveyPoints;
    SeenPoints lowerLeft;
    SeenPoints upperRight;
};

Verdict judge(const AcDbEntity* entity, SeenPlaces& seen)
{
    if (const auto* point = KvoDbMeasurePointObj::cast(entity)) {
        const AcGePoint3d p(point->GetPoint().x, point->GetPoint().y, 0.0);
        if (seen.surveyPoints.contains(p)) return Verdict::Erase;
        seen.surveyPoints.add(p);
        return Verdict::Keep;
    }
    AcDbExtents extents;
    if (entity->getGeomExtents(extents) != Acad::eOk) return Verdict::Skip;
    const AcGePoint3d a(extents.minPoint().x, extents.minPoint().y, 0.0);
    const AcGePoint3d b(extents.maxPoint().x, extents.maxPoint().y, 0.0);
    if (seen.lowerLeft.contains(a) && seen.upperRight.contains(b)) return Verdict::Erase;
    seen.lowerLeft.add(a);
    seen.upperRight.add(b);
    return Verdict::Keep;
}
}  // namespace

void cmdEraseDuplicates()
{
    const AnyKindOf kinds{AcDb3dPolyline::desc(), AcDbPolyline::desc(), AcDb2dPolyline::desc(), AcDbLine::desc(),
                          KvoDbMeasurePointObj::desc()};
    const Selected selected = selectObjects(L"\nChon cac doi tuong can loai:", kinds);
    if (selected.cancelled) return;
    ensureLayer(kVertexPointLayer, 0);
    SeenPlaces seen;
    fendo::WalkProgress progress(L"LDTT", selected.ids.size());
    for (const AcDbObjectId id : selected.ids) {
        progress.next();
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        // An object on a locked layer is still seen, though it cannot be erased.
        if (judge(entity, seen) == Verdict::Erase && entity->upgradeOpen() == Acad::eOk) entity->erase();
        entity->close();
    }
}
