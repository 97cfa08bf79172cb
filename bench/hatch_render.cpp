// Drawing a pattern hatch with many islands: a 100 x 100 hatch of horizontal lines 0.5 apart with
// 1,000 square islands (and, for comparison, 100 and 10,000) rendered to a PNG. Prints the time of
// each picture; the time should grow with the islands about linearly, not with their square.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/render/DrawingRenderer.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

void square(std::ofstream& out, double x0, double y0, double x1, double y1, int flags)
{
    out << "92\n" << flags << "\n72\n0\n73\n1\n93\n4\n";
    out << "10\n" << x0 << "\n20\n" << y0 << "\n10\n" << x1 << "\n20\n" << y0 << "\n";
    out << "10\n" << x1 << "\n20\n" << y1 << "\n10\n" << x0 << "\n20\n" << y1 << "\n97\n0\n";
}

// The drawing: one hatch whose islands sit in a grid inside the 100 x 100 outer loop.
void writeDrawing(const fs::path& path, int islands)
{
    std::ofstream out(path);
    out.precision(17);
    out << "0\nSECTION\n2\nENTITIES\n0\nHATCH\n100\nAcDbEntity\n8\n0\n62\n1\n100\nAcDbHatch\n";
    out << "10\n0\n20\n0\n30\n0\n210\n0\n220\n0\n230\n1\n2\nBENCH\n70\n0\n71\n0\n91\n" << islands + 1 << "\n";
    square(out, 0, 0, 100, 100, 19);  // a polyline loop, outermost
    const int side = static_cast<int>(std::ceil(std::sqrt(islands)));
    const double cell = 90.0 / side;
    for (int i = 0; i < islands; ++i) {
        const double x = 5 + (i % side) * cell, y = 5 + (i / side) * cell;
        square(out, x + cell / 4, y + cell / 4, x + cell * 3 / 4, y + cell * 3 / 4, 2);
    }
    out << "75\n0\n76\n2\n52\n0\n41\n1\n77\n0\n78\n1\n53\n0\n43\n0\n44\n0\n45\n0\n46\n0.5\n79\n0\n98\n0\n";
    out << "0\nENDSEC\n0\nEOF\n";
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "fendo-hatch-bench";
    fs::create_directories(folder);
    for (int islands : {100, 1000, 10000}) {
        const fs::path drawing = folder / ("hatch-" + std::to_string(islands) + ".dxf");
        const fs::path picture = folder / ("hatch-" + std::to_string(islands) + ".png");
        writeDrawing(drawing, islands);
        AcDbDatabase db(false);
        std::string error;
        if (db.readDxfFile(drawing.wstring(), &error) != Acad::eOk) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        fendo::render::RenderOptions options;
        options.width = options.height = 1000;
        const auto start = Clock::now();
        if (fendo::render::renderDrawing(db, picture.string(), options, &error) != Acad::eOk) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("100 x 100 hatch, lines 0.5 apart, %5d islands: %8.1f ms to PNG (%s)\n", islands, ms,
                    picture.c_str());
    }
    return 0;
}
