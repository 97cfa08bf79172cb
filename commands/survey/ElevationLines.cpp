// "NDCD" and "NCDT": a 3D polyline through the survey points of an elevation range or of one elevation, starting from
// the lowest (or westernmost) point.
#include "commands/survey/SurveyLineCommands.h"

#include <algorithm>
#include <vector>

#include "commands/survey/ElevationPath.h"
#include "commands/survey/ExchangeOrder.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/DrawingHelpers.h"
#include "frame/LeadingNumber.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/editor/aced.h"

namespace {

enum class SortBy { Elevation, Easting };

// Positions of the picked survey points, in selection order.
std::vector<AcGePoint3d> pickSurveyPoints()
{
    std::vector<AcGePoint3d> points;
    FilterObjects filter;
    filter.addType(L"KVOMEASUREPOINT");
    if (filter.select(LoadPrompt(47).c_str()) == 0) return points;
    for (const AcDbObjectId& id : filter.ids()) {
        fendo::db::OpenedObject<AcDbEntity> entity(id, AcDb::kForRead);
        if (const auto* point = KvoDbMeasurePointObj::cast(entity.get())) points.push_back(point->GetPoint());
    }
    return points;
}

// Orders the kept points as the exchange sort by z or x does, builds the path from the first and draws it as an open 3D
// polyline in the current space.
void drawPath(const std::vector<AcGePoint3d>& kept, SortBy sortBy)
{
    if (kept.size() < 2) return;
    std::vector<double> keys;
    for (const AcGePoint3d& p : kept) keys.push_back(sortBy == SortBy::Elevation ? p.z : p.x);
    std::vector<AcGePoint3d> sorted;
    for (std::size_t place : fendo::survey::exchangeSortOrder(keys)) sorted.push_back(kept[place]);
    AcGePoint3dArray vertices;
    for (std::size_t place : fendo::survey::buildElevationPath(sorted)) vertices.append(sorted[place]);
    appendToCurrentSpace(new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices, false));
}

// A bound for "NDCD": Enter counts as 0; false when the question is cancelled.
bool askBound(int promptId, double& bound)
{
    bound = 0.0;
    ads_real answer = 0.0;
    switch (acedGetReal(LoadPrompt(promptId).c_str(), &answer)) {
    case RTNORM:
        bound = answer;
        return true;
    case RTNONE:
        return true;
    default:
        return false;
    }
}

}  // namespace

void cmdJoinPointsInRange()
{
    const std::vector<AcGePoint3d> points = pickSurveyPoints();
    if (points.empty()) return;
    double first = 0.0, second = 0.0;
    if (!askBound(48, first) || !askBound(49, second)) return;
    const double low = std::min(first, second), high = std::max(first, second);
    if (high - low < fendo::kHeightTolerance) return;
    std::vector<AcGePoint3d> kept;
    for (const AcGePoint3d& p : points)
        if ((low < p.z && p.z < high) || fendo::sameHeight(p.z, low) || fendo::sameHeight(p.z, high)) kept.push_back(p);
    drawPath(kept, SortBy::Elevation);
}

void cmdJoinPointsAtElevation()
{
    const std::vector<AcGePoint3d> points = pickSurveyPoints();
    if (points.empty()) return;
    ads_real height = 0.0;
    if (acedGetReal(LoadPrompt(50).c_str(), &height) != RTNORM) return;
    std::vector<AcGePoint3d> kept;
    for (const AcGePoint3d& p : points)
        if (fendo::sameHeight(p.z, height)) kept.push_back(p);
    drawPath(kept, SortBy::Easting);
}
