// Fit points placed along a faceted chain without building a polyline for each: the closest
// place and the distance along it are computed on the point list with the very operations
// the host's curve queries apply to a lightweight polyline at elevation 0 (segment i from
// point i to point i + 1, parameter i + f), so that both agree to the bit; running lengths
// are kept between fit points for the part of the list that did not change.
#include "commands/polyline/FitPointPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "geometry/CurveReaders.h"
#include "host/db/curves/CurvePieces.h"
#include "host/ge/AcGeTol.h"

namespace fendo::poly {

namespace {

using Points = std::vector<AcGePoint3d>;

// AcGePoint3d::isEqualTo at the tolerance tol (the host's equal-point tolerance), with the
// square root spared for points apart in x or y by more than twice the tolerance (never
// less than 1e-150, whose square is still a normal number).
bool equalPoints(const AcGePoint3d& p, const AcGePoint3d& q, double tol)
{
    const double reach = std::max(2.0 * tol, 1e-150);
    if (std::abs(p.x - q.x) > reach || std::abs(p.y - q.y) > reach) return false;
    return p.isEqualTo(q);
}

int firstEqual(const Points& points, const AcGePoint3d& p)
{
    const double tol = AcGeContext::gTol.equalPoint();
    for (size_t i = 0; i < points.size(); ++i)
        if (equalPoints(points[i], p, tol)) return static_cast<int>(i);
    return -1;
}

// Length in plan of a step, as the chain's pieces measure it (a point distance) and as the
// points' own distances are summed (hypot).
double pieceLength(const AcGePoint3d& a, const AcGePoint3d& b)
{
    const double dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}
double planStep(const AcGePoint3d& a, const AcGePoint3d& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Sums of step lengths from the first point, made as far as they are asked for and kept for
// the points before the first that changed. Never decreasing, so searched by halves.
class RunningSums {
public:
    explicit RunningSums(double (*step)(const AcGePoint3d&, const AcGePoint3d&)) : m_step(step), m_sums{0.0} {}

    // The sum up to point i (steps 0..i-1).
    double at(const Points& points, size_t i)
    {
        while (m_sums.size() <= i) {
            const size_t j = m_sums.size();
            m_sums.push_back(m_sums.back() + m_step(points[j - 1], points[j]));
        }
        return m_sums[i];
    }

    // The first index from `from` on whose sum fails `before`, which holds for a first run of
    // indices and then never again.
    template <typename Before>
    size_t firstFailing(const Points& points, size_t from, Before before)
    {
        if (from < m_sums.size() && !before(m_sums.back()))
            return static_cast<size_t>(
                std::partition_point(m_sums.begin() + static_cast<std::ptrdiff_t>(from), m_sums.end(), before) -
                m_sums.begin());
        size_t i = std::max(from, m_sums.size() - 1);
        while (i < points.size() && before(at(points, i))) ++i;
        return i;
    }

    // Points from index i on have changed.
    void changedFrom(size_t i) { m_sums.resize(std::min(m_sums.size(), std::max<size_t>(i, 1))); }

private:
    double (*m_step)(const AcGePoint3d&, const AcGePoint3d&);
    std::vector<double> m_sums;
};

// A place on the chain: its point in plan and its parameter (segment index plus fraction).
struct ChainPlace {
    double x = 0.0, y = 0.0;
    double param = 0.0;
};

// The closest place to (gx, gy) on the chain through the points in plan, as the host finds
// it on a polyline's pieces: on each the clamped projection, the first piece at the least
// distance winning. One point makes one piece of no length.
ChainPlace closestPlace(const Points& points, double gx, double gy, double& distance)
{
    ChainPlace best;
    double bestD = std::numeric_limits<double>::infinity();
    double bestSquare = bestD;
    const size_t n = points.size();
    const size_t pieces = n > 1 ? n - 1 : 1;
    for (size_t i = 0; i < pieces; ++i) {
        const AcGePoint3d& s = points[i];
        const AcGePoint3d& e = points[n > 1 ? i + 1 : i];
        const double dx = e.x - s.x, dy = e.y - s.y;
        const double len2 = dx * dx + dy * dy;
        const double f = len2 <= 0.0 ? 0.0 : std::clamp(((gx - s.x) * dx + (gy - s.y) * dy) / len2, 0.0, 1.0);
        // The ends are taken as they are, not recomputed.
        const AcGePoint3d& end = f == 0.0 ? s : e;
        const bool inside = f != 0.0 && f != 1.0;
        const double qx = inside ? s.x + dx * f : end.x, qy = inside ? s.y + dy * f : end.y;
        const double wx = qx - gx, wy = qy - gy;
        const double square = wx * wx + wy * wy;
        // The square root never decreases: a square no smaller gives a distance no smaller.
        if (square >= bestSquare) continue;
        const double d = std::sqrt(square);
        if (d < bestD) {
            bestD = d;
            bestSquare = square;
            const double p0 = n > 1 ? static_cast<double>(i) : 0.0;
            const double p1 = n > 1 ? static_cast<double>(i) + 1.0 : 0.0;
            best = {qx, qy, p0 + f * (p1 - p0)};
        }
    }
    distance = bestD;
    return best;
}

// The host's on-curve tolerance for the chain (fendo::db::curves::onCurveTolerance).
double onChainTolerance(const Points& points)
{
    double scale = 0.0;
    for (const AcGePoint3d& p : points) scale = std::max({scale, std::abs(p.x), std::abs(p.y)});
    return std::max(AcGeContext::gTol.equalPoint(), fendo::db::curves::kRelativeOnCurveTolerance * scale);
}

// The length along the chain to the parameter, summed piece by piece from the start as the
// host's distAtParam sums it (pieceSums holds those sums).
double distanceAtParam(const Points& points, RunningSums& pieceSums, double param)
{
    const size_t n = points.size();
    if (n < 2) return 0.0;
    const size_t last = n - 2;
    const size_t k = param >= 1.0 ? std::min(static_cast<size_t>(param), last) : 0;
    const double fraction =
        (param - static_cast<double>(k)) / ((static_cast<double>(k) + 1.0) - static_cast<double>(k));
    return pieceSums.at(points, k) + pieceLength(points[k], points[k + 1]) * std::clamp(fraction, 0.0, 1.0);
}

}  // namespace

void insertFitPoints(AcGePoint3dArray& pointArray, const AcGePoint3dArray& fitPoints, double z)
{
    Points& points = pointArray.vec();
    if (points.empty()) return;
    RunningSums pieceSums(pieceLength), planSums(planStep);
    bool elevated = false;
    for (const AcGePoint3d& given : fitPoints) {
        const AcGePoint3d fit(given.x, given.y, 0.0);
        if (firstEqual(points, fit) >= 0) continue;
        // The closest place, then the parameter of that place found again (as getDistAtPoint
        // finds it), which must lie on the chain.
        double distance = 0.0;
        const ChainPlace onChain = closestPlace(points, fit.x, fit.y, distance);
        const ChainPlace again = closestPlace(points, onChain.x, onChain.y, distance);
        if (distance > AcGeContext::gTol.equalPoint() && distance > onChainTolerance(points)) continue;
        const double d = distanceAtParam(points, pieceSums, again.param);

        // The points before d - kSameDistance stay, then the fit point, then those beyond
        // d + kSameDistance; the sums in plan never decrease, so each is one run.
        const double low = d - kSameDistance, high = d + kSameDistance;
        const size_t a = planSums.firstFailing(points, 0, [&](double s) { return s < low; });
        const size_t b = planSums.firstFailing(points, a, [&](double s) { return !(s > high); });
        if (!elevated) {
            for (AcGePoint3d& p : points) p.z = z;
            elevated = true;
        }
        const AcGePoint3d placed(fit.x, fit.y, z);
        if (a == b) {
            points.insert(points.begin() + static_cast<std::ptrdiff_t>(a), placed);
        } else {
            points[a] = placed;
            points.erase(points.begin() + static_cast<std::ptrdiff_t>(a + 1),
                         points.begin() + static_cast<std::ptrdiff_t>(b));
        }
        pieceSums.changedFrom(a);
        planSums.changedFrom(a);
    }
}

void setHeightsFromFitPoints(AcGePoint3dArray& pointArray, const AcGePoint3dArray& fitPoints, double z0)
{
    Points& points = pointArray.vec();
    std::vector<double> heights(points.size(), z0);
    std::vector<size_t> anchors;
    for (const AcGePoint3d& fit : fitPoints) {
        const int i = firstEqual(points, AcGePoint3d(fit.x, fit.y, 0.0));
        if (i < 0) continue;
        heights[static_cast<size_t>(i)] = fit.z;
        anchors.push_back(static_cast<size_t>(i));
    }
    RunningSums planSums(planStep);
    // Points strictly between two distances along lie strictly between the two in order,
    // the distances never decreasing.
    for (size_t n = 1; n < anchors.size(); ++n) {
        const size_t i = anchors[n - 1], j = anchors[n];
        const double dA = planSums.at(points, i), dB = planSums.at(points, j);
        for (size_t k = i + 1; k < j; ++k) {
            const double along = planSums.at(points, k);
            if (dA < along && along < dB) heights[k] = interpolateLinear(along - dA, dB - dA, heights[i], heights[j]);
        }
    }
    for (size_t k = 0; k < points.size(); ++k) points[k].z = heights[k];
}

}  // namespace fendo::poly
