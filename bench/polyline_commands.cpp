// Times "N3d" on 200,000 lines forming chains and "BA" on 100,000 bulged polylines, each
// run through the fendo program on a generated drawing, and prints the seconds of each.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/FendoRuns.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fs = std::filesystem;

namespace {
using fendo::bench::append;
using fendo::bench::runFendo;

// Chains of 100 level lines each, laid out in rows.
fs::path chainsDrawing(const fs::path& dir, int lineCount)
{
    AcDbDatabase db(true);
    for (int i = 0; i < lineCount; ++i) {
        const double row = (i / 100) * 10.0;
        const double x = (i % 100) * 5.0;
        append(db, new AcDbLine(AcGePoint3d(x, row, 0), AcGePoint3d(x + 5.0, row, 0)));
    }
    const fs::path path = dir / "chains.dxf";
    db.dxfOut(path.wstring());
    return path;
}

// Polylines of three vertices with a half-circle bulge on their first segment.
fs::path bulgesDrawing(const fs::path& dir, int count)
{
    AcDbDatabase db(true);
    for (int i = 0; i < count; ++i) {
        auto* p = new AcDbPolyline;
        const double x = (i % 300) * 30.0, y = (i / 300) * 30.0;
        p->addVertexAt(0, AcGePoint2d(x, y), 1.0);
        p->addVertexAt(1, AcGePoint2d(x + 10, y), 0.2);
        p->addVertexAt(2, AcGePoint2d(x + 20, y + 5));
        append(db, p);
    }
    const fs::path path = dir / "bulges.dxf";
    db.dxfOut(path.wstring());
    return path;
}

}  // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / "fendo-bench-polyline";
    fs::create_directories(dir);
    const fs::path chains = chainsDrawing(dir, 200000);
    std::printf("N3d on 200000 lines (load, join, save): %.2f s\n", runFendo(chains, "N3d\nall\n\n", dir));
    const fs::path bulges = bulgesDrawing(dir, 100000);
    std::printf("BA on 100000 bulged polylines (load, replace, save): %.2f s\n", runFendo(bulges, "BA\nall\n\n", dir));
    fs::remove_all(dir);
    return 0;
}
