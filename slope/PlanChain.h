// Plan chains of straight segments on which slope ticks are generated: distances along the
// chain, tangents, closest points, and segment crossings found through a grid of segments.
#pragma once
#include <optional>
#include <vector>

#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGePoint3dArray.h"
#include "host/ge/AcGeVector3d.h"

namespace fendo::slope {

// Consecutive source points closer than this (in plan) are one point.
inline constexpr double kCoincidentPointDistance = 1e-05;

// A polyline of straight segments in the plane z = 0, with the running length at each vertex.
class PlanChain {
public:
    PlanChain() = default;
    // The points with z dropped; a point lying on the previous one is left out.
    explicit PlanChain(const AcGePoint3dArray& points);

    // False when there is no segment (fewer than 2 distinct points).
    bool hasSegments() const { return m_points.size() >= 2; }
    int segmentCount() const { return hasSegments() ? static_cast<int>(m_points.size()) - 1 : 0; }
    const std::vector<AcGePoint3d>& points() const { return m_points; }
    double length() const { return m_running.empty() ? 0.0 : m_running.back(); }
    double distanceAtVertex(int index) const { return m_running[static_cast<size_t>(index)]; }

    // The point at a distance along the chain (clamped to the chain).
    AcGePoint3d pointAtDistance(double distance) const;
    // The segment that carries the point at a distance: the one starting at or before it; a
    // distance at or past `coming into` is taken on the segment that ends there.
    int segmentAtDistance(double distance, double comingInto) const;
    // Unit direction of a segment (zero for a chain without segments).
    AcGeVector3d segmentDirection(int segment) const;

    struct Projection {
        AcGePoint3d point;
        double distance = 0.0;  // along the chain; grows with the curve parameter
    };
    // The closest point of the chain to p (in plan); of equal distances the earlier segment
    // wins. None for a chain without points.
    std::optional<Projection> project(const AcGePoint3d& p) const;

    // Half the extent of the largest coordinate, for tolerances relative to the drawing's size.
    double coordinateScale() const { return m_scale; }

private:
    std::vector<AcGePoint3d> m_points;
    std::vector<double> m_running;
    double m_scale = 0.0;
};

// A stretch [from, to] of a chain, measured from its own start: the working edge between a
// symbol's start and end points.
class ChainStretch {
public:
    ChainStretch(const PlanChain& chain, double from, double to);
    double length() const { return m_to - m_from; }
    AcGePoint3d pointAt(double distance) const;
    // The unit tangent at a distance: of the segment starting there, or at the stretch's end
    // of the segment ending there.
    AcGeVector3d tangentAt(double distance) const;
    // The tangent turned a quarter turn counter-clockwise in the plan: (-ty, tx, 0).
    AcGeVector3d normalAt(double distance) const;

private:
    const PlanChain* m_chain;
    double m_from;
    double m_to;
};

// How crossings find the segments of a chain that a query segment may meet.
enum class SegmentSearch {
    Grid,  // through a uniform grid of segment boxes
    Scan,  // every segment in turn (the plain reference the grid must agree with)
};

// The segments of one chain, ready for crossing queries.
class SegmentIndex {
public:
    SegmentIndex(const PlanChain& chain, SegmentSearch search, double tolerance);
    const PlanChain& chain() const { return *m_chain; }
    double tolerance() const { return m_tol; }
    // The segments that may meet the segment a-b, each once, in increasing order.
    void candidates(const AcGePoint3d& a, const AcGePoint3d& b, std::vector<int>& out) const;

private:
    const PlanChain* m_chain;
    SegmentSearch m_search;
    double m_tol;
    // Grid over the chain's box, grown by the tolerance.
    double m_loX = 0.0, m_loY = 0.0, m_hiX = 0.0, m_hiY = 0.0, m_cell = 1.0;
    int m_nx = 0, m_ny = 0;
    std::vector<std::vector<int>> m_cells;
    mutable std::vector<unsigned> m_seen;
    mutable unsigned m_stamp = 0;
    void addCells(int segment);
};

// The crossing points of segment a-b with one chain segment (both bounded, in plan): none, one,
// or the two ends of an overlap of collinear segments.
int segmentCrossings(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& p, const AcGePoint3d& q,
                     double tol, AcGePoint3d out[2]);

// The crossing of segment a-b with the chain nearest to `from` (plan distance); of equal
// distances the one on the earlier segment wins.
std::optional<AcGePoint3d> nearestCrossing(const SegmentIndex& index, const AcGePoint3d& a, const AcGePoint3d& b,
                                           const AcGePoint3d& from);
// How many distinct points segment a-b shares with the chain (points within ten tolerances
// are one: a crossing at a vertex belongs to two segments).
int crossingCount(const SegmentIndex& index, const AcGePoint3d& a, const AcGePoint3d& b);

// The tolerance for points on chains of this size: 1e-10 of the largest coordinate, at least 1e-10.
double crossingTolerance(const PlanChain& first, const PlanChain& second);

}  // namespace fendo::slope
