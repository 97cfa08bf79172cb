// Times "NODE", "CIP", "XBX", "NDCD", "NCDT" and "GCD1", each run through the fendo program on a generated survey
// drawing of 50,000 and of 100,000 objects, and prints the seconds of each (load, command, save), so that a command
// whose cost grows faster than the drawing shows.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/FendoRuns.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/DrawingHelpers.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;

namespace {
using fendo::bench::append;

AcDbPolyline* polyline(std::initializer_list<AcGePoint2d> points, double elevation = 0.0, bool closed = false)
{
    return fendo::bench::lwPolyline(points, elevation, closed);
}

// Contour pieces of five vertices in rows, every other row at another elevation and wavy enough to cross its neighbours
// now and then ("NODE", "CIP").
void contourPieces(AcDbDatabase& db, int count)
{
    const int perRow = 300;
    for (int i = 0; i < count; ++i) {
        const double x = (i % perRow) * 20.0, y = (i / perRow) * 4.0;
        const double wave = (i % 7 == 0) ? 5.0 : 1.0;
        append(db, polyline({{x, y}, {x + 5, y + wave}, {x + 10, y}, {x + 15, y - wave}, {x + 20, y}},
                            100.0 + (i / perRow) % 2));
    }
}

// Parcels with one label each, and every tenth parcel with a second one ("XBX").
void parcels(AcDbDatabase& db, int count)
{
    const int perRow = 250;
    for (int i = 0; i < count / 2; ++i) {
        const double x = (i % perRow) * 30.0, y = (i / perRow) * 20.0;
        append(db, polyline({{x, y}, {x + 25, y}, {x + 25, y + 15}, {x, y + 15}}, 0.0, true), L"Bao_O");
        auto* label = new AcDbMText;
        label->setLocation(AcGePoint3d(x + 10, y + 8, 0));
        label->setTextHeight(1.5);
        label->setContents(std::to_wstring(i).c_str());
        append(db, label, L"Texhled");
    }
}

// Survey points along four wavy contour lines at heights 100 to 103 ("NDCD", "NCDT").
void surveyPoints(AcDbDatabase& db, int count)
{
    const int perLine = count / 4;
    for (int line = 0; line < 4; ++line)
        for (int i = 0; i < perLine; ++i) {
            const double x = i * 1.0, y = line * 25.0 + 4.0 * std::sin(i * 0.05);
            auto* p = new KvoDbMeasurePointObj;
            p->Set(AcGePoint3d(x, y, 100.0 + line), L"", L"", nullptr);
            append(db, p);
        }
}

// Contours on "DGD" with a label on each and spot heights between them ("GCD1").
void labelledContours(AcDbDatabase& db, int count)
{
    const int perRow = 200;
    for (int i = 0; i < count / 3; ++i) {
        const double x = (i % perRow) * 40.0, y = (i / perRow) * 6.0;
        append(db, polyline({{x, y}, {x + 10, y + 1}, {x + 20, y}, {x + 30, y + 1}, {x + 38, y}}), L"DGD");
        auto* spot = new AcDbText(AcGePoint3d(x + 5, y + 2.5, 0), std::to_wstring(50 + i % 40).c_str());
        spot->setHeight(1.0);
        append(db, spot);
        auto* label = new AcDbText(AcGePoint3d(x + 15, y - 0.3, 0), std::to_wstring(100 + i % 50).c_str());
        label->setHeight(1.0);
        append(db, label);
    }
}

fs::path drawing(const fs::path& dir, const std::string& name, int count,
                 const std::function<void(AcDbDatabase&, int)>& fill)
{
    AcDbDatabase db(true);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    fill(db, count);
    const fs::path path = dir / (name + "-" + std::to_string(count) + ".dxf");
    db.dxfOut(path.wstring());
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    return path;
}

}  // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / "fendo-bench-survey-lines";
    fs::create_directories(dir);
    struct Case {
        const char* command;
        const char* what;
        std::function<void(AcDbDatabase&, int)> fill;
        std::string script;
    };
    const Case cases[] = {
        {"NODE", "contour pieces", contourPieces, "NODE\n0.2\nall\n\n"},
        {"CIP", "contour pieces", contourPieces, "CIP\nall\n\n"},
        {"XBX", "parcels and labels", parcels, "XBX\n"},
        {"NDCD", "survey points", surveyPoints, "NDCD\nall\n\n100\n101\n"},
        {"NCDT", "survey points", surveyPoints, "NCDT\nall\n\n102\n"},
        {"GCD1", "contours and texts", labelledContours, "GCD1\n5,0.5\n"},
    };
    for (const Case& c : cases)
        for (int count : {50000, 100000}) {
            const fs::path path = drawing(dir, c.command, count, c.fill);
            std::printf("%-4s on %6d objects (%s; load, run, save): %.2f s\n", c.command, count, c.what,
                        fendo::bench::runFendo(path, c.script, dir));
            if (std::string(c.command) == "XBX") {
                // The report's lines show that the parcels met their labels.
                std::ifstream report(dir / "TD.txt");
                std::string line;
                int lines = 0;
                while (std::getline(report, line)) ++lines;
                std::printf("     %d report lines\n", lines);
                fs::remove(dir / "TD.txt");
            }
            std::fflush(stdout);
        }
    fs::remove_all(dir);
    return 0;
}
