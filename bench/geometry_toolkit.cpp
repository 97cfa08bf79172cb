// Timings of the geometry toolkit: faceting a spline of 10,000 fit points at chord
// tolerance 0.01, and joining 200,000 loose segments into chains.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <random>
#include <vector>

#include "geometry/FacetSpline.h"
#include "geometry/JointSegment.h"
#include "host/db/entities/AcDbSpline.h"

namespace {

// Processor time, so that the figures do not depend on other work on the machine.
struct Clock {
    using time_point = std::clock_t;
    static time_point now() { return std::clock(); }
};

double msSince(Clock::time_point start) { return 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC; }

class CountingJoint : public JointSegment {
public:
    int onChain(const std::vector<Adesk::Int32>&, const std::vector<int>&, int count) override
    {
        links += count;
        return 0;
    }
    long links = 0;
};

void benchSplineFaceting()
{
    // A winding road line: 10,000 fit points 5 units apart along a slowly turning curve.
    AcGePoint3dArray fit;
    double x = 0, y = 0, heading = 0;
    for (int i = 0; i < 10000; ++i) {
        fit.append(AcGePoint3d(x, y, 0.01 * i));
        heading += 0.05 * std::sin(i * 0.013);
        x += 5 * std::cos(heading);
        y += 5 * std::sin(heading);
    }
    auto start = Clock::now();
    const AcDbSpline spline(fit);
    const double buildMs = msSince(start);
    start = Clock::now();
    FacetSplineChordal facet;
    facet.setup(&spline, 0.01, 10000000);
    AcGePoint3dArray points;
    const bool ok = facet.getPoints(points);
    const double facetMs = msSince(start);
    std::printf(
        "spline faceting (processor time): 10000 fit points, tolerance 0.01: %s, %d points in %.1f ms "
        "(spline built in %.1f ms)\n",
        ok ? "ok" : "failed", points.length(), facetMs, buildMs);
}

void benchJoining()
{
    // 200,000 segments: 2,000 polylines of 100 pieces each, shuffled and half of them
    // drawn backwards, with ends jittered within the tolerance.
    constexpr int kLines = 2000, kPieces = 100;
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> jitter(-0.004, 0.004);
    struct Seg {
        AcGePoint3d a, b;
    };
    std::vector<Seg> segs;
    segs.reserve(kLines * kPieces);
    for (int l = 0; l < kLines; ++l) {
        for (int p = 0; p < kPieces; ++p) {
            const AcGePoint3d a(p * 3.0 + jitter(rng), l * 7.0 + std::sin(p) + jitter(rng), 0);
            const AcGePoint3d b((p + 1) * 3.0 + jitter(rng), l * 7.0 + std::sin(p + 1) + jitter(rng), 0);
            segs.push_back(rng() % 2 ? Seg{a, b} : Seg{b, a});
        }
    }
    std::shuffle(segs.begin(), segs.end(), rng);
    JointSegment::setTolerance(0.01);
    const auto start = Clock::now();
    CountingJoint joint;
    for (size_t i = 0; i < segs.size(); ++i)
        joint.addSegment(static_cast<Adesk::Int32>(i), segs[i].a, segs[i].b);
    const double addMs = msSince(start);
    const int chains = joint.run();
    const double totalMs = msSince(start);
    std::printf(
        "joining (processor time): %zu segments into %d chains (%ld links) in %.1f ms (adding %.1f ms)\n",
        segs.size(), chains, joint.links, totalMs, addMs);
}

}  // namespace

int main()
{
    benchSplineFaceting();
    benchJoining();
    return 0;
}
