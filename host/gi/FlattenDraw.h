// Flattens what an entity draws into plan-view polylines (world XY), so the host can pick,
// window and fence objects of any class, custom ones included, by their drawn geometry.
#pragma once
#include <cmath>
#include <vector>
#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"

namespace fendo::gi {

struct FlatShape {
    std::vector<AcGePoint2d> points;  // one point: a point marker
    bool closed = false;
    bool filled = false;
};

// What the entity draws through worldDraw, arcs faceted so that no chord strays more than
// chordTolerance from its arc (at least 8 segments per full circle).
std::vector<FlatShape> flattenEntity(AcDbEntity& entity, double chordTolerance);

// The world box of what the entity draws, arcs to their true extremes: it holds every point
// flattenEntity gives at any chord tolerance, in plan (x, y) as in height (z). Found without
// keeping shapes; empty (lo above hi) when the entity draws nothing.
struct DrawnBounds {
    AcGePoint3d lo{HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    bool isEmpty() const { return !(lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z); }
};
DrawnBounds drawnBounds(AcDbEntity& entity);

// Plan-view geometry tests used by selection.
double distanceToShape(const FlatShape& shape, const AcGePoint2d& p);
bool shapeInsideRect(const FlatShape& shape, const AcGePoint2d& lo, const AcGePoint2d& hi);
bool shapeTouchesRect(const FlatShape& shape, const AcGePoint2d& lo, const AcGePoint2d& hi);
bool shapeInsidePolygon(const FlatShape& shape, const std::vector<AcGePoint2d>& polygon);
bool shapeTouchesPolygon(const FlatShape& shape, const std::vector<AcGePoint2d>& polygon);
bool shapeCrossesFence(const FlatShape& shape, const std::vector<AcGePoint2d>& fence);

}  // namespace fendo::gi
