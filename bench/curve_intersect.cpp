// Intersecting two 100,000-vertex polylines: two zigzags that cross about twice per
// vertex. Prints the time and the number of crossings; the pairing of segments through a
// grid keeps it near linear in the vertex counts.
#include <chrono>
#include <cstdio>

#include "host/db/entities/AcDbPolyline.h"

namespace {

void zigzag(AcDbPolyline& pl, unsigned int n, double dx, double low, double high)
{
    for (unsigned int i = 0; i < n; ++i) pl.addVertexAt(i, {i + dx, (i % 2) ? high : low});
}

}  // namespace

int main()
{
    for (unsigned int n : {10000u, 100000u}) {
        AcDbPolyline a(n), b(n);
        zigzag(a, n, 0.0, 0.0, 1.0);
        zigzag(b, n, 0.5, -0.5, 1.5);
        AcGePoint3dArray pts;
        auto t0 = std::chrono::steady_clock::now();
        Acad::ErrorStatus es = a.intersectWith(&b, AcDb::kOnBothOperands, pts);
        auto t1 = std::chrono::steady_clock::now();
        std::printf("intersectWith of two %u-vertex zigzags: %d points in %.1f ms (status %d)\n", n, pts.length(),
                    std::chrono::duration<double, std::milli>(t1 - t0).count(), static_cast<int>(es));
    }
    return 0;
}
