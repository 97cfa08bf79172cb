// Generation of a slope symbol's long and short ticks from its edge and toe chains, kept apart
// from the drawing object so that it can be run and timed on plain point lists.
#pragma once
#include <vector>

#include "host/ge/AcGePoint3d.h"
#include "slope/PlanChain.h"

namespace fendo::slope {

// Half length of the line along which a tick looks for the toe, on each side of the edge.
inline constexpr double kToeSearchReach = 1e6;

// Which side of the edge ticks go to when there is no toe.
enum class TickSide { Left, Right };

struct TickSettings {
    short longPerTangent = 1;
    double shortRatio = 0.5;
    double divisionLength = 5.0;
    double toeClearance = 0.5;
    short stepsPerDivision = 1;
    double longLength = 10.0;
    double shortLength = 5.0;
    TickSide side = TickSide::Left;
};

struct Tick {
    AcGePoint3d base;
    AcGePoint3d tip;
};

struct TickSet {
    std::vector<Tick> longTicks;
    std::vector<Tick> shortTicks;
};

// Ticks from the edge towards the toe between the start and end points; both are replaced by
// their closest points on the edge. Ticks that find no toe, or would cross the edge, are left out.
TickSet ticksToToe(const TickSettings& settings, const PlanChain& edge, const PlanChain& toe, AcGePoint3d& start,
                   AcGePoint3d& end, SegmentSearch search = SegmentSearch::Grid);

// Ticks of fixed lengths on one side of the edge between the projected start and end points.
TickSet ticksWithoutToe(const TickSettings& settings, const PlanChain& edge, const AcGePoint3d& start,
                        const AcGePoint3d& end);

}  // namespace fendo::slope
