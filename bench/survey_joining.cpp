// Times "JT", "JT1", "LDTT", "CD0" and "D2D" through the fendo program on
// generated survey drawings of 50,000 and 100,000 objects and prints the
// seconds of each (load, command, save), so that a command whose time grows
// faster than its drawing shows at once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "bench/FendoRuns.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;
using fendo::bench::append;
using fendo::bench::runFendo;

namespace {
// Survey stations on a square grid 5 units apart, `count` of them, row by row.
AcGePoint3d station(int i, int count, double z = 0)
{
    int side = 1;
    while (side * side < count) ++side;
    return AcGePoint3d((i % side) * 5.0, (i / side) * 5.0, z);
}

constexpr double kTextHeight = 0.2;

AcDbText* rightAligned(const wchar_t* s, const AcGePoint3d& end)
{
    auto* t = new AcDbText(end, s, AcDbObjectId::kNull, kTextHeight);
    t->setHorizontalMode(AcDb::kTextRight);
    t->setAlignmentPoint(end);
    t->adjustAlignment();
    return t;
}

AcDbText* leftAligned(const wchar_t* s, const AcGePoint3d& start)
{
    return new AcDbText(start, s, AcDbObjectId::kNull, kTextHeight);
}

// Field input: a marker with its integer part ending left of it and its decimal
// part right of it; one station in ten has no marker, so the corner pass has
// work too.
void splitTexts(AcDbDatabase& db, int objects)
{
    const int stations = objects / 3;
    for (int i = 0; i < stations; ++i) {
        const AcGePoint3d p = station(i, stations);
        if (i % 10 != 0) append(db, new AcDbPoint(p));
        append(db, rightAligned(std::to_wstring(10 + i % 90).c_str(), p + AcGeVector3d(-0.05, -0.1, 0)));
        append(db, leftAligned(L".35", p + AcGeVector3d(i % 10 != 0 ? 0.05 : 0.02, -0.1, 0)));
    }
}

// The integer part right-aligned and the decimal part left-aligned at the
// station.
void alignedTexts(AcDbDatabase& db, int objects)
{
    const int stations = objects / 2;
    for (int i = 0; i < stations; ++i) {
        const AcGePoint3d p = station(i, stations);
        append(db, rightAligned(std::to_wstring(100 + i % 900).c_str(), p + AcGeVector3d(-0.1, -0.05, 0)));
        append(db, leftAligned(L"42", p));
    }
}

// Survey points and breaklines between stations, a third of them repeated.
void repeatedData(AcDbDatabase& db, int objects)
{
    const int stations = objects / 2;
    for (int i = 0; i < stations; ++i) {
        const int at = i % 3 == 2 ? i - 1 : i;
        auto* p = new KvoDbMeasurePointObj;
        p->Set(station(at, stations, 10.0 + i % 7), L"", L"", nullptr);
        append(db, p);
        append(db, new AcDbLine(station(at, stations), station(at, stations) + AcGeVector3d(5, 2.5, 0)));
    }
}

// Lines, 3D polylines and polylines of 10 vertices, some at height zero.
void heightData(AcDbDatabase& db, int objects)
{
    for (int i = 0; i < objects; ++i) {
        const AcGePoint3d p = station(i, objects, i % 4 == 0 ? 0.0 : 12.5);
        if (i % 3 == 0) {
            append(db, new AcDbLine(p, p + AcGeVector3d(4, 0, 1)));
        } else if (i % 3 == 1) {
            AcGePoint3dArray vertices;
            for (int k = 0; k < 10; ++k) vertices.append(p + AcGeVector3d(k * 0.4, (k % 2) * 0.5, k % 2 ? 0.0 : 3.0));
            append(db, new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices));
        } else {
            auto* pline = new AcDbPolyline;
            for (unsigned k = 0; k < 10; ++k) pline->addVertexAt(k, AcGePoint2d(p.x + k * 0.4, p.y + (k % 2) * 0.5));
            pline->setElevation(p.z);
            append(db, pline);
        }
    }
}

fs::path drawing(const fs::path& dir, const std::string& name, int objects,
                 const std::function<void(AcDbDatabase&, int)>& fill)
{
    AcDbDatabase db(true);
    AcDbDatabase* previous = acdbHostApplicationServices()->workingDatabase();
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    fill(db, objects);
    const fs::path path = dir / (name + "-" + std::to_string(objects) + ".dxf");
    db.dxfOut(path.wstring());
    acdbHostApplicationServices()->setWorkingDatabase(previous);
    return path;
}

}  // namespace

// Optional arguments: the two drawing sizes (objects) in place of 50000 and
// 100000.
int main(int argc, char** argv)
{
    const int small = argc > 2 ? std::atoi(argv[1]) : 50000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 100000;
    const fs::path dir = fs::temp_directory_path() / "fendo-bench-survey";
    fs::create_directories(dir);
    KvoDbMeasurePointObj::desc();
    struct Case {
        const char* command;
        const char* what;
        std::function<void(AcDbDatabase&, int)> fill;
    };
    const Case cases[] = {
        {"JT", "markers with split elevation texts", splitTexts},
        {"JT1", "right- and left-aligned text pairs", alignedTexts},
        {"LDTT", "survey points and lines, a third repeated", repeatedData},
        {"CD0", "lines and polylines, a quarter at height zero", heightData},
        {"D2D", "lines and polylines of 10 vertices", heightData},
    };
    for (const Case& c : cases) {
        for (const int objects : {small, large}) {
            const fs::path path = drawing(dir, c.what[0] == 'l' ? "heights" : c.command, objects, c.fill);
            const std::string script = std::string(c.command) + "\nall\n\n";
            std::printf("%-4s on %6d objects (%s; load, command, save): %.2f s\n", c.command, objects, c.what,
                        runFendo(path, script, dir));
            std::fflush(stdout);
        }
    }
    if (!std::getenv("FENDO_BENCH_KEEP")) fs::remove_all(dir);
    return 0;
}
