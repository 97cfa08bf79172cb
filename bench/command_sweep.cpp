// The module's walking commands on drawings of about 100,000 objects: each command runs through the fendo
// program once, beside a plain load + save of the same drawing, and one line per command shows the processor
// seconds of both and the command's own cost (its run less the plain load + save) as a multiple of the plain
// load + save. The output column is the size of the saved drawing against the plain save, so that a command
// whose result is much bigger than its input (BA faceting arcs, NODE drawing a circle a vertex) shows why it
// costs more; for such a command (a saved drawing bigger than the plain save) the result drawing is loaded and
// saved with the same plain run too ("result s", the better of two), and its own cost is shown against that
// ("own/res"): the objects a command touches include those it makes. A mark (*) follows a command whose own
// cost is above 1x of the larger of the two plain runs.
//
// usage: bench_command_sweep [COMMAND ...] [folder]
//   COMMAND picks commands by name (all of them without one); a folder is told by a slash in it. The drawings
//   stay in the folder between runs (generated once, under /tmp/fendo-command-sweep unless a folder is given).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/FendoRuns.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/DrawingHelpers.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;

namespace {
using fendo::bench::lwPolyline;
constexpr int kCount = 100000;

void add(AcDbDatabase& db, AcDbEntity* entity, const wchar_t* layer = nullptr)
{
    fendo::bench::append(db, entity, layer);
}

double cellX(int i, int perRow, double step) { return (i % perRow) * step; }
double cellY(int i, int perRow, double step) { return (i / perRow) * step; }

// 3D polylines of six vertices; every tenth lies at height 0.
void polylines3d(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 12.0), y = cellY(i, 300, 4.0), z = i % 10 == 0 ? 0.0 : 100.0;
        AcGePoint3dArray pts;
        for (int v = 0; v < 6; ++v) pts.append(AcGePoint3d(x + v * 1.5, y + (v % 3) * 0.75, z + (z > 0 ? v * 0.125 : 0)));
        add(db, new AcDb3dPolyline(AcDb::k3dSimplePoly, pts));
    }
}

// 2D polylines of four vertices at an elevation.
void polylines2d(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 12.0), y = cellY(i, 300, 4.0);
        AcGePoint3dArray pts;
        for (int v = 0; v < 4; ++v) pts.append(AcGePoint3d(x + v * 2.5, y + (v % 2) * 1.75, 0));
        add(db, new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 12.5));
    }
}

// Lightweight polylines of four vertices with a bulge on the second segment.
void bulgedPolylines(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 12.0), y = cellY(i, 300, 4.0);
        auto* pl = new AcDbPolyline;
        for (unsigned v = 0; v < 4; ++v)
            pl->addVertexAt(v, AcGePoint2d(x + v * 2.5, y + (v % 2) * 1.75), v == 1 ? 0.5 : 0.0);
        pl->setElevation(i % 10 == 0 ? 0.0 : 20.0);
        add(db, pl);
    }
}

// Splines through five fit points.
void splines(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 12.0), y = cellY(i, 300, 4.0);
        AcGePoint3dArray pts;
        for (int v = 0; v < 5; ++v) pts.append(AcGePoint3d(x + v * 2.0, y + ((v % 2) ? 1.0 : 0.0), 10.0 + v * 0.5));
        add(db, new AcDbSpline(pts));
    }
}

// Chains of 100 level lines end to end in rows, every tenth row at height 0, and one line in twenty drawn twice.
// All on layer "DUONG", which a pick of the first line names ("44").
void lines(AcDbDatabase& db)
{
    int drawn = 0;
    for (int i = 0; drawn < kCount; ++i) {
        const int row = i / 100;
        const double x = (i % 100) * 5.0, y = row * 10.0, z = row % 10 == 0 ? 0.0 : 5.0;
        const int copies = i % 20 == 0 ? 2 : 1;
        for (int c = 0; c < copies && drawn < kCount; ++c, ++drawn)
            add(db, new AcDbLine(AcGePoint3d(x, y, z), AcGePoint3d(x + 5.0, y, z)), L"DUONG");
    }
}

// Number texts in the forms CVTEXT and P2C mend (" 12 5 ", "12,5").
void numberTexts(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i)
        add(db, new AcDbText(AcGePoint3d(cellX(i, 300, 10.0), cellY(i, 300, 5.0), 0), i % 2 ? L"12,5" : L" 12 5 ",
                             AcDbObjectId::kNull, 1.0));
}

// Survey points along four wavy lines at heights 100 to 103, one in fifty repeated at the same place.
void surveyPoints(AcDbDatabase& db)
{
    const int perLine = kCount / 4;
    for (int line = 0; line < 4; ++line)
        for (int i = 0; i < perLine; ++i) {
            const int at = i % 50 == 49 ? i - 1 : i;
            const double x = at * 1.0, y = line * 25.0 + 4.0 * std::sin(at * 0.05);
            auto* p = new KvoDbMeasurePointObj;
            p->Set(AcGePoint3d(x, y, 100.0 + line), L"", L"", nullptr);
            add(db, p);
        }
}

// Aligned dimensions of 10 along rows.
void dimensions(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 15.0), y = cellY(i, 300, 10.0);
        add(db, new AcDbAlignedDimension(AcGePoint3d(x, y, 0), AcGePoint3d(x + 10, y + 1, 0),
                                         AcGePoint3d(x + 10, y + 4, 0)));
    }
}

// A text 0.2 high, left or right aligned, moved so that the bottom corner on the side of `right` lies at (x, y).
AcDbText* textAtCorner(const wchar_t* s, bool right, double x, double y, bool rightAligned = false)
{
    auto* text = new AcDbText(AcGePoint3d(0, 0, 0), s, AcDbObjectId::kNull, 0.2);
    if (rightAligned) {
        text->setHorizontalMode(AcDb::kTextRight);
        text->setAlignmentPoint(AcGePoint3d(0, 0, 0));
        text->adjustAlignment();
    }
    AcDbExtents e;
    text->getGeomExtents(e);
    const AcGeVector3d shift(x - (right ? e.maxPoint().x : e.minPoint().x), y - e.minPoint().y, 0);
    text->setPosition(text->position() + shift);
    if (rightAligned) text->setAlignmentPoint(text->alignmentPoint() + shift);
    return text;
}

// Point markers with an integer text ending left of each and a decimal text starting right of it ("JT"), and
// right-aligned integers meeting left-aligned decimals ("JT1"): a third of the objects each.
void markersAndTexts(AcDbDatabase& db)
{
    for (int i = 0; i < kCount / 3; ++i) {
        const double x = cellX(i, 300, 10.0), y = cellY(i, 300, 5.0);
        add(db, new AcDbPoint(AcGePoint3d(x, y, 0)));
        add(db, textAtCorner(L"12", true, x - 0.2, y - 0.1));
        add(db, textAtCorner(L".35", false, x + 0.2, y - 0.1));
    }
}

void alignedPairs(AcDbDatabase& db)
{
    for (int i = 0; i < kCount / 2; ++i) {
        const double x = cellX(i, 300, 10.0), y = cellY(i, 300, 5.0);
        add(db, textAtCorner(L"105", true, x - 0.1, y - 0.05, true));
        add(db, new AcDbText(AcGePoint3d(x, y, 0), L"42", AcDbObjectId::kNull, 0.2));
    }
}

// Contour pieces of five vertices in rows, every other row at another elevation and wavy enough to cross its
// neighbours now and then ("NODE", "CIP").
void contourPieces(AcDbDatabase& db)
{
    for (int i = 0; i < kCount; ++i) {
        const double x = cellX(i, 300, 20.0), y = cellY(i, 300, 4.0);
        const double wave = (i % 7 == 0) ? 5.0 : 1.0;
        add(db, lwPolyline({{x, y}, {x + 5, y + wave}, {x + 10, y}, {x + 15, y - wave}, {x + 20, y}},
                           100.0 + (i / 300) % 2));
    }
}

// Parcels with one label each ("XBX").
void parcels(AcDbDatabase& db)
{
    for (int i = 0; i < kCount / 2; ++i) {
        const double x = cellX(i, 250, 30.0), y = cellY(i, 250, 20.0);
        add(db, lwPolyline({{x, y}, {x + 25, y}, {x + 25, y + 15}, {x, y + 15}}, 0.0, true), L"Bao_O");
        auto* label = new AcDbMText;
        label->setLocation(AcGePoint3d(x + 10, y + 8, 0));
        label->setTextHeight(1.5);
        label->setContents(std::to_wstring(i).c_str());
        add(db, label, L"Texhled");
    }
}

// Contours on "DGD" with a label crossing each and a spot height beside it ("GCD1").
void labelledContours(AcDbDatabase& db)
{
    for (int i = 0; i < kCount / 3; ++i) {
        const double x = cellX(i, 200, 40.0), y = cellY(i, 200, 6.0);
        add(db, lwPolyline({{x, y}, {x + 10, y + 1}, {x + 20, y}, {x + 30, y + 1}, {x + 38, y}}), L"DGD");
        auto* spot = new AcDbText(AcGePoint3d(x + 5, y + 2.5, 0), std::to_wstring(50 + i % 40).c_str());
        spot->setHeight(1.0);
        add(db, spot);
        auto* label = new AcDbText(AcGePoint3d(x + 15, y - 0.3, 0), std::to_wstring(100 + i % 50).c_str());
        label->setHeight(1.0);
        add(db, label);
    }
}

struct Drawing {
    const char* name;
    void (*fill)(AcDbDatabase&);
};

const Drawing kDrawings[] = {
    {"polylines3d", polylines3d}, {"polylines2d", polylines2d},   {"bulged", bulgedPolylines},
    {"splines", splines},         {"lines", lines},               {"texts", numberTexts},
    {"points", surveyPoints},     {"dimensions", dimensions},     {"markers", markersAndTexts},
    {"aligned", alignedPairs},    {"contours", contourPieces},    {"parcels", parcels},
    {"labelled", labelledContours},
};

// A command, the drawing it runs on and its script; "$BOOK" stands for a workbook path in the run folder.
struct Command {
    const char* name;
    const char* drawing;
    std::string script;
};

const Command kCommands[] = {
    {"32P", "polylines3d", "32P\nall\n\n"},
    {"32D", "polylines3d", "32D\nall\n\n"},
    {"P2S", "polylines3d", "P2S\nall\n\n"},
    {"DCPL", "polylines3d", "DCPL\nall\n\n"},
    {"N3d", "polylines3d", "N3d\nall\n\n"},
    {"D2D", "polylines3d", "D2D\nall\n\n"},
    {"CD0", "polylines3d", "CD0\nall\n\n"},
    {"EPL", "polylines3d", "EPL\nall\n\n$BOOK\n"},
    {"XPL", "polylines3d", "XPL\nall\n\n$BOOK\n"},
    {"2P", "polylines2d", "2P\nall\n\n"},
    {"P23", "polylines2d", "P23\nall\n\n"},
    {"BA1", "polylines2d", "BA1\nall\n\n"},
    {"BA", "bulged", "BA\nall\n\n"},
    {"CHECK", "bulged", "CHECK\n"},
    {"EML", "bulged", "EML\nall\n\n1006=4\nclick 1\n"},
    {"S2P", "splines", "S2P\n\nall\n\n"},
    {"S3P", "splines", "S3P\n\nall\n\n"},
    {"N3d lines", "lines", "N3d\nall\n\n"},
    {"LDTT", "lines", "LDTT\nall\n\n"},
    {"44", "lines", "44\n2.5,0\nok\n"},
    {"CVTEXT", "texts", "CVTEXT\nall\n\n"},
    {"P2C", "texts", "P2C\nall\n\n"},
    {"EMT", "texts", "EMT\nall\n\n1038=K\n1039=m\nclick 1\n"},
    {"RPT", "texts", "RPT\n$BOOK\nall\n\n"},
    {"NCDT", "points", "NCDT\nall\n\n102\n"},
    {"NDCD", "points", "NDCD\nall\n\n100\n101\n"},
    {"HCD", "points", "HCD\n1020=on\n1006=0.5\nclick 1029\nall\n\nclick 1\n"},
    {"LDTT points", "points", "LDTT\nall\n\n"},
    {"EMD", "dimensions", "EMD\nall\n\n0,-2\n"},
    {"JT", "markers", "JT\nall\n\n"},
    {"JT1", "aligned", "JT1\nall\n\n"},
    {"NODE", "contours", "NODE\n0.2\nall\n\n"},
    {"CIP", "contours", "CIP\nall\n\n"},
    {"XBX", "parcels", "XBX\n"},
    {"GCD1", "labelled", "GCD1\n5,0.5\n"},
};

fs::path drawingFile(const fs::path& dir, const std::string& name)
{
    const fs::path path = dir / (name + "-" + std::to_string(kCount) + ".dxf");
    if (fs::exists(path)) return path;
    for (const Drawing& d : kDrawings)
        if (name == d.name) {
            AcDbDatabase db(true);
            acdbHostApplicationServices()->setWorkingDatabase(&db);
            d.fill(db);
            db.dxfOut(path.wstring());
            acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        }
    return path;
}

// Processor seconds (user + system) of a shell command run as a child.
double childSeconds(const std::string& command)
{
    const char* args[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(args), environ) != 0) return 0;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("  (failed: %s)\n", command.c_str());
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Run {
    double seconds = 0;
    double outMb = 0;
};

Run runFendo(const fs::path& drawing, std::string script, const fs::path& dir)
{
    for (auto at = script.find("$BOOK"); at != std::string::npos; at = script.find("$BOOK"))
        script.replace(at, 5, (dir / "book.xlsx").string());
    fs::remove(dir / "out.dxf");
    const fs::path scriptPath = dir / "script.fendo";
    std::FILE* f = std::fopen(scriptPath.c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    Run r;
    r.seconds = childSeconds("cd '" + dir.string() + "' && '" + (fendo::bench::binDir() / "fendo").string() + "' '" +
                             drawing.string() + "' -s '" + scriptPath.string() + "' -o '" +
                             (dir / "out.dxf").string() + "' > '" + (dir / "log.txt").string() + "' 2>&1");
    if (fs::exists(dir / "out.dxf")) r.outMb = static_cast<double>(fs::file_size(dir / "out.dxf")) / 1e6;
    return r;
}

// A plain load + save of the drawing, the better of two runs: the first after writing a drawing often pays for
// the system's writeback.
Run plainRun(const fs::path& drawing, const fs::path& dir)
{
    const Run first = runFendo(drawing, "", dir), second = runFendo(drawing, "", dir);
    return first.seconds < second.seconds ? first : second;
}

// RPT's lookup sheet: the mended forms of the number texts to words. EPL and XPL write their own workbook
// over it, so it is made again before each RPT run.
bool makeLookupBook(const fs::path& book)
{
    const std::string command = "/usr/bin/python3 -c \"import openpyxl,sys\nwb = openpyxl.Workbook()\nws = wb.active\n"
                                "ws['A1'] = '12,5'\nws['B1'] = 'twelve'\nws['A2'] = 'other'\nws['B2'] = 'x'\n"
                                "wb.save(sys.argv[1])\" '" +
                                book.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    KvoDbPointObj::desc();
    KvoDbMeasurePointObj::desc();
    fs::path dir = fs::temp_directory_path() / "fendo-command-sweep";
    std::vector<std::string> picked;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a[0] == '-') {
            std::fprintf(a == "--help" ? stdout : stderr, "usage: bench_command_sweep [COMMAND ...] [folder]\n");
            return a == "--help" ? 0 : 2;
        }
        if (a.find('/') != std::string::npos)
            dir = a;
        else
            picked.push_back(a);
    }
    const fs::path runDir = dir / "run";
    fs::create_directories(runDir);

    std::printf("%-12s %-12s %9s %9s %8s %9s %9s %8s\n", "command", "drawing", "plain s", "with s", "own/ls",
                "out/plain", "result s", "own/res");
    std::map<std::string, Run> plain;
    for (const Command& c : kCommands) {
        if (!picked.empty() && std::find(picked.begin(), picked.end(), c.name) == picked.end()) continue;
        const fs::path in = drawingFile(dir, c.drawing);
        if (!plain.count(c.drawing)) plain[c.drawing] = plainRun(in, runDir);
        if (c.script.find("RPT") == 0 && !makeLookupBook(runDir / "book.xlsx")) {
            std::printf("%-12s (skipped: no openpyxl for its workbook)\n", c.name);
            continue;
        }
        const Run& p = plain[c.drawing];
        const Run r = runFendo(in, c.script, runDir);
        const double ownSeconds = r.seconds - p.seconds;
        const double own = ownSeconds / p.seconds;
        const double outRatio = p.outMb > 0 ? r.outMb / p.outMb : 0.0;
        char resultColumns[32] = "        -        -";
        double larger = p.seconds;
        if (r.outMb > p.outMb) {
            // The command's saved drawing, loaded and saved like its input.
            const fs::path result = runDir / "result.dxf";
            fs::rename(runDir / "out.dxf", result);
            const Run res = plainRun(result, runDir);
            larger = std::max(larger, res.seconds);
            std::snprintf(resultColumns, sizeof resultColumns, "%9.2f %7.2fx", res.seconds, ownSeconds / res.seconds);
            fs::remove(result);
        }
        std::printf("%-12s %-12s %9.2f %9.2f %7.2fx %8.2fx %s %s\n", c.name, c.drawing, p.seconds, r.seconds, own,
                    outRatio, resultColumns, ownSeconds > larger ? "*" : "");
    }
    std::printf(
        "(processor seconds of fendo loading, running and saving; own/ls: the command's own seconds over the plain "
        "load + save; out/plain: the saved drawing's size over the plain save's; result s: the plain load + save of "
        "a saved drawing bigger than the input's, own/res: the own seconds over it; * own seconds above the larger "
        "plain run)\n");
    return 0;
}
