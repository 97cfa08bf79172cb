// Long and short ticks of a slope symbol: stations every division length along the working
// edge, feet found where the perpendicular meets the toe, or fixed lengths without a toe.
#include "slope/TickGeneration.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace fendo::slope {

namespace {

// A symbol never gets more long-tick stations than this, whatever its division length.
constexpr double kMaxStations = 1e6;

int stationCount(double length, double division)
{
    if (!(division > 0.0) || !(length > 0.0)) return 0;
    return static_cast<int>(std::min(std::trunc(length / division), kMaxStations));
}

class ToeTicks {
public:
    ToeTicks(const TickSettings& settings, const ChainStretch& stretch, const SegmentIndex& toe,
             const SegmentIndex& edge)
        : m_s(settings), m_e(stretch), m_toe(toe), m_edge(edge),
          m_steps(std::max<short>(settings.stepsPerDivision, 0)),
          m_step(settings.divisionLength / (m_steps + 1))
    {
    }

    // The foot of the perpendicular through P: the crossing with the toe nearest to P.
    std::optional<AcGePoint3d> foot(const AcGePoint3d& p, const AcGeVector3d& n) const
    {
        return nearestCrossing(m_toe, p - n * kToeSearchReach, p + n * kToeSearchReach, p);
    }

    // A tick from P to F that meets the edge again would cross it.
    bool crossesEdge(const AcGePoint3d& p, const AcGePoint3d& f) const { return crossingCount(m_edge, p, f) >= 2; }

    bool longTick(const AcGePoint3d& p, const AcGeVector3d& n)
    {
        const auto f = foot(p, n);
        if (!f || crossesEdge(p, *f)) return false;
        const AcGeVector3d v = *f - p;
        const double length = v.length();
        const AcGePoint3d tip = length > 0.0 ? p + v * ((length - m_s.toeClearance) / length) : p;
        m_out.longTicks.push_back({p, tip});
        return true;
    }

    // The short ticks of [d0, d1]; the interval's first foot is sought along nAtStart.
    void shortTicks(double d0, double d1, bool full, const AcGeVector3d& nAtStart)
    {
        if (!foot(m_e.pointAt(d0), nAtStart)) return;
        for (int k = 1;; ++k) {
            const double d = d0 + k * m_step;
            if (full ? k > m_steps : (d >= d1 || k > m_steps + 1)) break;
            const AcGePoint3d p = m_e.pointAt(d);
            const auto f = foot(p, m_e.normalAt(d));
            if (!f || crossesEdge(p, *f)) continue;
            m_out.shortTicks.push_back({p, p + (*f - p) * m_s.shortRatio});
        }
    }

    TickSet run()
    {
        const double D = m_s.divisionLength;
        const double L = m_e.length();
        const int N = stationCount(L, D);
        const bool lastFull = D > 0.0 && L - N * D >= D;
        if (m_s.longPerTangent <= 1) {
            longTick(m_e.pointAt(0.0), m_e.normalAt(0.0));
            for (int i = 0; i < N; ++i) {
                shortTicks(i * D, (i + 1) * D, true, m_e.normalAt(i * D));
                longTick(m_e.pointAt((i + 1) * D), m_e.normalAt((i + 1) * D));
            }
            if (D > 0.0) shortTicks(N * D, L, lastFull, m_e.normalAt(N * D));
        } else {
            // Groups of long ticks share the perpendicular taken at the group's first station.
            AcGeVector3d shared = m_e.normalAt(0.0);
            longTick(m_e.pointAt(0.0), shared);
            int drawn = 1;
            for (int i = 0; i < N; ++i) {
                const double d = (i + 1) * D;
                if (drawn >= m_s.longPerTangent) {
                    shared = m_e.normalAt(d);
                    drawn = 0;
                }
                shortTicks(i * D, d, true, shared);
                if (longTick(m_e.pointAt(d), shared)) ++drawn;
            }
            if (D > 0.0) shortTicks(N * D, L, lastFull, shared);
        }
        return std::move(m_out);
    }

private:
    const TickSettings& m_s;
    const ChainStretch& m_e;
    const SegmentIndex& m_toe;
    const SegmentIndex& m_edge;
    int m_steps;
    double m_step;
    TickSet m_out;
};

// The stretch of the edge between the projections of two points, in edge order.
struct Stretch {
    double from = 0.0, to = 0.0;
};

Stretch projectRange(const PlanChain& edge, AcGePoint3d& start, AcGePoint3d& end)
{
    const auto a = edge.project(start);
    const auto b = edge.project(end);
    start = a->point;
    end = b->point;
    return {std::min(a->distance, b->distance), std::max(a->distance, b->distance)};
}

}  // namespace

TickSet ticksToToe(const TickSettings& settings, const PlanChain& edge, const PlanChain& toe, AcGePoint3d& start,
                   AcGePoint3d& end, SegmentSearch search)
{
    if (!edge.hasSegments()) return {};
    const Stretch range = projectRange(edge, start, end);
    const ChainStretch stretch(edge, range.from, range.to);
    const double tol = crossingTolerance(edge, toe);
    const SegmentIndex toeIndex(toe, search, tol);
    const SegmentIndex edgeIndex(edge, search, tol);
    return ToeTicks(settings, stretch, toeIndex, edgeIndex).run();
}

TickSet ticksWithoutToe(const TickSettings& settings, const PlanChain& edge, const AcGePoint3d& start,
                        const AcGePoint3d& end)
{
    TickSet out;
    if (!edge.hasSegments()) return out;
    AcGePoint3d a = start, b = end;
    const Stretch range = projectRange(edge, a, b);
    const ChainStretch e(edge, range.from, range.to);
    const double sigma = settings.side == TickSide::Left ? 1.0 : -1.0;
    const double D = settings.divisionLength;
    const double L = e.length();
    const int N = stationCount(L, D);
    const int steps = std::max<short>(settings.stepsPerDivision, 0);
    const double s = D / (steps + 1);
    auto tick = [&](double d, const AcGeVector3d& n, double length, std::vector<Tick>& into) {
        const AcGePoint3d p = e.pointAt(d);
        into.push_back({p, p + n * (sigma * length)});
    };

    AcGeVector3d n = e.normalAt(0.0);
    tick(0.0, n, settings.longLength, out.longTicks);
    int drawn = 1;
    for (int i = 0; i < N; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const double d = i * D + (j + 1) * s;
            if (settings.longPerTangent <= 1) {
                n = e.normalAt(d);
            } else if (drawn >= settings.longPerTangent) {
                n = e.normalAt(d);
                drawn = 0;
            }
            if (j == steps) {
                tick(d, n, settings.longLength, out.longTicks);
                ++drawn;
            } else {
                tick(d, n, settings.shortLength, out.shortTicks);
            }
        }
    }
    if (D > 0.0) {
        for (int k = 1; k <= steps + 1; ++k) {
            const double d = N * D + k * s;
            if (d >= L) break;
            tick(d, e.normalAt(d), settings.shortLength, out.shortTicks);
        }
    }
    return out;
}

}  // namespace fendo::slope
