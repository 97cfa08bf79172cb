// Vertex reduction and Douglas-Peucker refinement of plane point chains.
#include "geometry/PolySimplify.h"

#include <utility>

namespace {

double dist2(const AcGePoint2d& a, const AcGePoint2d& b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// Squared distance from p to the segment a-b.
double segmentDist2(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    const double ux = b.x - a.x, uy = b.y - a.y;
    const double cu = ux * ux + uy * uy;
    const double cw = (p.x - a.x) * ux + (p.y - a.y) * uy;
    if (cw <= 0.0) return dist2(p, a);
    if (cw >= cu) return dist2(p, b);
    const double f = cw / cu;
    return dist2(p, AcGePoint2d(a.x + f * ux, a.y + f * uy));
}

}  // namespace

int PolySimplyfy::simplify(double tolerance, const AcGePoint2d* points, int count,
                           std::vector<AcGePoint2d>& kept, std::vector<int>& sourceIndices) const
{
    kept.clear();
    sourceIndices.clear();
    if (!points || count <= 0) return 0;
    const double tol2 = tolerance * tolerance;

    // Stage 1: drop points that crowd the last kept point; the last input point always stays.
    std::vector<AcGePoint2d> reduced;
    std::vector<int> source;
    reduced.reserve(count);
    source.reserve(count);
    reduced.push_back(points[0]);
    source.push_back(0);
    int last = 0;
    for (int i = 1; i < count; ++i) {
        if (dist2(points[i], points[last]) >= tol2) {
            reduced.push_back(points[i]);
            source.push_back(i);
            last = i;
        }
    }
    if (last < count - 1) {
        reduced.push_back(points[count - 1]);
        source.push_back(count - 1);
    }

    // Stage 2: Douglas-Peucker with an explicit stack; the marks do not depend on the order
    // in which the spans are refined.
    const int m = static_cast<int>(reduced.size());
    std::vector<char> marked(m, 0);
    marked[0] = 1;
    marked[m - 1] = 1;
    std::vector<std::pair<int, int>> spans;
    spans.reserve(m);
    if (m > 2) spans.emplace_back(0, m - 1);
    while (!spans.empty()) {
        const auto [j, k] = spans.back();
        spans.pop_back();
        if (k <= j + 1) continue;
        double farthest2 = 0.0;
        int farthest = -1;
        for (int i = j + 1; i < k; ++i) {
            const double d2 = segmentDist2(reduced[i], reduced[j], reduced[k]);
            if (d2 > farthest2) {
                farthest2 = d2;
                farthest = i;
            }
        }
        if (farthest < 0 || farthest2 <= tol2) continue;
        marked[farthest] = 1;
        spans.emplace_back(farthest, k);
        spans.emplace_back(j, farthest);
    }

    for (int i = 0; i < m; ++i) {
        if (!marked[i]) continue;
        kept.push_back(reduced[i]);
        sourceIndices.push_back(source[i]);
    }
    return static_cast<int>(kept.size());
}

ApproximatPolylineData::ApproximatPolylineData(const AcGePoint2d* points, int count)
{
    if (points && count >= kMinStoredPoints) m_points.assign(points, points + count);
}

ApproximatPolyline::ApproximatPolyline(const AcGePoint2d* points, int count)
    : m_data(std::make_unique<ApproximatPolylineData>(points, count))
{
}

int ApproximatPolyline::onResult(const AcGePoint2d*, int, const int*, int) { return 0; }

int ApproximatPolyline::Approximate(double tolerance)
{
    if (m_data->count() < 3) return 0;
    std::vector<AcGePoint2d> kept;
    std::vector<int> indices;
    const int n = PolySimplyfy().simplify(tolerance, m_data->points(), m_data->count(), kept, indices);
    if (n > 0) onResult(kept.data(), n, indices.data(), m_data->count());
    return n;
}
