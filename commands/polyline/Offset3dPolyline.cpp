// "O3P": parallel copies of 3D polylines, a horizontal distance to one side in plan and a
// height difference above or below, as a road or slope edge follows a centre line.
#include <cmath>
#include <string>

#include "commands/polyline/PolylineCommands.h"
#include "commands/polyline/ReplaceCurve.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "geometry/CurveReaders.h"
#include "geometry/WorkingPolyline.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/aced.h"
#include "ui/DlgOffset3DPoly.h"
#include "ui/ModuleResources.h"

using namespace fendo::poly;

namespace {
// Heights and plan distances at or below this are none.
constexpr double kOffsetTolerance = 0.0001;
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

// Where the copy lies relative to the source: sideways in plan and up or down.
struct Shift {
    double distance = 0.0;
    double height = 0.0;
};

// Asks for the values; false when the dialog ends any other way than OK.
bool askShift(Shift& shift)
{
    acDocManagerPtr()->pushResourceHandle(&fendo::ui::moduleResources());
    DlgOffset3DPoly dialog;
    const INT_PTR answer = dialog.DoModal();
    acDocManagerPtr()->popResourceHandle();
    if (answer != IDOK) return false;
    if (dialog.input() == OffsetInput::DistanceAndHeight) {
        shift.distance = dialog.distance();
        shift.height = dialog.heightDifference();
        return true;
    }
    // A slope of the angle rising h runs h / tan(angle) in plan; the sign of the angle, not
    // that of the height, says whether the copy goes up or down.
    const double h = std::abs(dialog.heightDifference());
    const double s = std::sin(std::abs(dialog.angle()) * kDegreesToRadians);
    shift.distance = (std::abs(s) > 0.0 && h > kOffsetTolerance) ? std::sqrt((h / s) * (h / s) - h * h) : 0.0;
    shift.height = dialog.angle() < 0.0 ? -h : h;
    return true;
}

// The plan points of the copy: the host's offset of the plan polyline to the side of the side
// point, or the plan points themselves when there is no plan distance. Empty when neither side
// can be offset.
AcGePoint3dArray planOfCopy(const AcGePoint3dArray& vertices, double distance, const AcGePoint3d& side)
{
    BsPolylineNew plan;
    setPlanVertices(plan, vertices);
    AcGePoint3dArray points;
    if (std::abs(distance) <= kOffsetTolerance) {
        for (const AcGePoint3d& v : vertices) points.append(AcGePoint3d(v.x, v.y, 0.0));
        return points;
    }
    // The host offsets to the right of travel for a positive distance.
    BsPolylineNew right, left;
    const bool haveRight = plan.offsetTo(distance, right);
    const bool haveLeft = plan.offsetTo(-distance, left);
    AcGePoint3d onRight, onLeft;
    const bool rightNear = haveRight && right.getClosestPointTo(side, onRight) == Acad::eOk;
    const bool leftNear = haveLeft && left.getClosestPointTo(side, onLeft) == Acad::eOk;
    const BsPolylineNew* chosen = nullptr;
    if (rightNear && (!leftNear || onRight.distanceTo(side) < onLeft.distanceTo(side)))
        chosen = &right;
    else if (leftNear)
        chosen = &left;
    if (!chosen) return points;
    for (unsigned int i = 0; i < chosen->numVerts(); ++i) {
        AcGePoint3d p;
        chosen->getPointAt(i, p);
        points.append(AcGePoint3d(p.x, p.y, 0.0));
    }
    if (chosen->isClosed() && !points.isEmpty()) {
        const AcGePoint3d first = points.first();
        points.append(first);
    }
    return points;
}

// Reads the picked 3D polyline; false when the object does not open or is of another kind.
bool read3dPolyline(AcDbObjectId id, AcGePoint3dArray& vertices, SourceLook& look)
{
    fendo::db::OpenedObject<AcDbEntity> picked(id, AcDb::kForRead);
    const AcDb3dPolyline* source = picked ? AcDb3dPolyline::cast(picked.get()) : nullptr;
    if (!source) return false;
    look = lookOf(source);
    read3dPolylineVertices(source, vertices);
    return true;
}
}  // namespace

void cmdOffset3dPolyline()
{
    OpenForWrite lock;
    Shift shift;
    if (!askShift(shift)) return;
    const std::wstring pickPrompt = LoadPrompt(23);
    const std::wstring sidePrompt = LoadPrompt(24);
    for (;;) {
        const AcDbObjectId id = pickEntity(pickPrompt.c_str(), Highlight::No);
        if (id.isNull()) return;
        AcGePoint3dArray vertices;
        SourceLook look;
        if (!read3dPolyline(id, vertices, look)) return;
        ads_point answer;
        if (acedGetPoint(nullptr, sidePrompt.c_str(), answer) != RTNORM) return;
        const AcGePoint3d side(answer[0], answer[1], answer[2]);

        const AcGePoint3dArray plan = planOfCopy(vertices, shift.distance, side);
        // An offset that lost or gained corners no longer pairs with the source's heights.
        if (vertices.length() < 2 || plan.length() != vertices.length()) continue;
        AcGePoint3dArray copy;
        for (int i = 0; i < plan.length(); ++i)
            copy.append(AcGePoint3d(plan[i].x, plan[i].y, vertices[i].z + shift.height));
        appendLike(new AcDb3dPolyline(AcDb::k3dSimplePoly, copy, false), look, ColourTaken::Full);
    }
}
