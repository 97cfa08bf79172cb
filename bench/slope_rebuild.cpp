// Rebuilding a slope symbol along a 10 km edge with a division length of 5 and a toe beside
// it: about 2000 long and 2000 short ticks, each looking for its foot on a toe of 4000
// segments and checked against an edge of 5000. Prints the processor time of a rebuild
// through the grid of segments and through a plain scan of every segment, and whether the
// two give the same ticks.
#include <cmath>
#include <cstdio>
#include <ctime>

#include "slope/TaluyObj.h"
#include "slope/TickGeneration.h"

namespace {

constexpr double kEdgeLength = 10000.0;

double cpuMs(std::clock_t from, std::clock_t to)
{
    return 1000.0 * static_cast<double>(to - from) / CLOCKS_PER_SEC;
}

// A winding road edge at national-grid coordinates, and a toe that keeps 6 to 10 below it.
void road(AcGePoint3dArray& edge, AcGePoint3dArray& toe)
{
    for (int i = 0; i <= 5000; ++i) {
        const double x = 580000.0 + kEdgeLength * i / 5000.0;
        edge.append(AcGePoint3d(x, 1230000.0 + 40.0 * std::sin(x / 300.0), 0.0));
    }
    for (int i = 0; i <= 4000; ++i) {
        const double x = 580000.0 - 20.0 + (kEdgeLength + 40.0) * i / 4000.0;
        toe.append(AcGePoint3d(x, 1230000.0 + 40.0 * std::sin(x / 300.0) - 8.0 + 2.0 * std::sin(x / 37.0), 0.0));
    }
}

bool sameTicks(const fendo::slope::TickSet& a, const fendo::slope::TickSet& b)
{
    auto same = [](const std::vector<fendo::slope::Tick>& p, const std::vector<fendo::slope::Tick>& q) {
        if (p.size() != q.size()) return false;
        for (size_t i = 0; i < p.size(); ++i)
            if (p[i].base != q[i].base || p[i].tip != q[i].tip) return false;
        return true;
    };
    return same(a.longTicks, b.longTicks) && same(a.shortTicks, b.shortTicks);
}

}  // namespace

int main()
{
    AcGePoint3dArray edgePoints, toePoints;
    road(edgePoints, toePoints);

    TaluyObj symbol;
    std::clock_t t0 = std::clock();
    symbol.setSourcePoints(edgePoints, toePoints);
    std::clock_t t1 = std::clock();
    std::printf("TaluyObj rebuild along %.0f m, division 5: %d long and %d short ticks in %.1f ms\n", kEdgeLength,
                symbol.longTraces().count(), symbol.shortTraces().count(), cpuMs(t0, t1));

    const fendo::slope::PlanChain edge(edgePoints), toe(toePoints);
    fendo::slope::TickSettings settings;
    fendo::slope::TickSet results[2];
    const fendo::slope::SegmentSearch searches[2] = {fendo::slope::SegmentSearch::Grid,
                                                     fendo::slope::SegmentSearch::Scan};
    const char* names[2] = {"segment grid", "plain scan"};
    for (int k = 0; k < 2; ++k) {
        AcGePoint3d start = edgePoints.first(), end = edgePoints.last();
        t0 = std::clock();
        results[k] = fendo::slope::ticksToToe(settings, edge, toe, start, end, searches[k]);
        t1 = std::clock();
        std::printf("ticks through the %s: %zu long, %zu short in %.1f ms\n", names[k], results[k].longTicks.size(),
                    results[k].shortTicks.size(), cpuMs(t0, t1));
    }
    std::printf("grid and scan ticks identical: %s\n", sameTicks(results[0], results[1]) ? "yes" : "NO");
    return sameTicks(results[0], results[1]) ? 0 : 1;
}
