// Where selected contour-like polylines of different elevations cross ("CIP"), taking each polyline as the open chain
// of straight segments through its vertices.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbPolyline;

namespace fendo::survey {

// A polyline as "CIP" reads it: elevation and vertices, without bulges or closed state.
struct PlanPolyline {
    double elevation = 0.0;
    std::vector<AcGePoint2d> vertices;
};

struct Crossing {
    std::size_t first = 0, second = 0;
    AcGePoint3dArray points;
};

// The open, straight, elevation-0 polyline through the vertices, for the host's intersection.
std::unique_ptr<AcDbPolyline> chordPolyline(const PlanPolyline& pline);

// Every pair (first < second, in that order) of different elevation whose chord polylines meet, with the host's
// intersection points. Only pairs with segments near each other are intersected.
std::vector<Crossing> findCrossings(const std::vector<PlanPolyline>& plines);

}  // namespace fendo::survey
