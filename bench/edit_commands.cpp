// Times the batch edits through the fendo program on generated drawings: "CVTEXT", "P2C" and
// "EMT" on texts and "EML" on lines, at 25,000 and 100,000 objects, printing the seconds of
// each run (load, edit, save), so that growth faster than the count shows.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/FendoRuns.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;

namespace {
using fendo::bench::append;
using fendo::bench::runFendo;

// Number texts in the forms the commands mend (" 12 5 ", "12,5"), laid out in rows.
fs::path textsDrawing(const fs::path& dir, int count)
{
    AcDbDatabase db(true);
    for (int i = 0; i < count; ++i) {
        const wchar_t* text = i % 2 == 0 ? L" 12 5 " : L"12,5";
        append(db, new AcDbText(AcGePoint3d((i % 300) * 10.0, (i / 300) * 5.0, 0), text, AcDbObjectId::kNull, 1.0));
    }
    const fs::path path = dir / ("texts-" + std::to_string(count) + ".dxf");
    db.dxfOut(path.wstring());
    return path;
}

fs::path linesDrawing(const fs::path& dir, int count)
{
    AcDbDatabase db(true);
    for (int i = 0; i < count; ++i) {
        const double x = (i % 300) * 10.0, y = (i / 300) * 5.0;
        append(db, new AcDbLine(AcGePoint3d(x, y, 2), AcGePoint3d(x + 7, y + 1, 3)));
    }
    const fs::path path = dir / ("lines-" + std::to_string(count) + ".dxf");
    db.dxfOut(path.wstring());
    return path;
}

}  // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / "fendo-bench-edit";
    fs::create_directories(dir);
    for (const int count : {25000, 100000}) {
        const fs::path texts = textsDrawing(dir, count);
        std::printf("CVTEXT on %d texts (load, edit, save): %.2f s\n", count, runFendo(texts, "CVTEXT\nall\n\n", dir));
        std::printf("P2C on %d texts (load, edit, save): %.2f s\n", count, runFendo(texts, "P2C\nall\n\n", dir));
        std::printf("EMT on %d texts (load, edit, save): %.2f s\n", count,
                    runFendo(texts, "EMT\nall\n\n1038=K\n1039=m\nclick 1\n", dir));
        const fs::path lines = linesDrawing(dir, count);
        std::printf("EML on %d lines (load, edit, save): %.2f s\n", count,
                    runFendo(lines, "EML\nall\n\n1006=4\nclick 1\n", dir));
        std::fflush(stdout);
    }
    fs::remove_all(dir);
    return 0;
}
