// Times the spreadsheet exchange on large data: "EPL" on a 3D polyline of 100,000 vertices
// with 100,000 texts and "IPL" on the 100,000-row workbook it writes (each run through the
// fendo program), then a 100,000-row column read in process. Also checks, on 5,000 vertices
// and texts, that the nearest-text index names every vertex as the plain scan does.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/FendoRuns.h"
#include "exchange/ExcelHandler.h"
#include "exchange/NearestText.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;
using fendo::bench::runFendo;

namespace {
double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void append(AcDbBlockTableRecord* space, AcDbEntity* entity)
{
    if (space->appendAcDbEntity(entity) == Acad::eOk) entity->close();
}

// A winding survey line of n vertices with a point label beside every vertex.
fs::path surveyDrawing(const fs::path& dir, int n)
{
    AcDbDatabase db(true);
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return {};
    AcGePoint3dArray vertices;
    for (int i = 0; i < n; ++i) {
        const AcGePoint3d p((i % 1000) * 10.0, (i / 1000) * 10.0 + (i % 7) * 0.5, 100 + (i % 13) * 0.25);
        vertices.append(p);
        const std::wstring name = L"P" + std::to_wstring(i + 1);
        append(space, new AcDbText(AcGePoint3d(p.x + 1.2, p.y + 0.7, 0), name.c_str()));
    }
    append(space, new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices));
    space->close();
    const fs::path path = dir / "survey.dxf";
    db.dxfOut(path.wstring());
    return path;
}

// The index against the scan on random points, with repeated positions for ties.
bool indexMatchesScan(int n)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 200);
    std::vector<AcGePoint3d> texts, vertices;
    for (int i = 0; i < n; ++i) {
        texts.emplace_back(coordinate(random) * 0.5, coordinate(random) * 0.5, coordinate(random) % 5);
        vertices.emplace_back(coordinate(random) * 0.5, coordinate(random) * 0.5, 3.0);
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<int> scan = fendo::exchange::nearestTextsByScan(texts, vertices);
    const double scanSeconds = secondsSince(start);
    const auto indexStart = std::chrono::steady_clock::now();
    fendo::exchange::NearestTexts index(texts);
    std::vector<int> indexed;
    for (const auto& v : vertices) indexed.push_back(index.takeNearest(v));
    std::printf("nearest texts for %d vertices: scan %.3f s, index %.3f s\n", n, scanSeconds, secondsSince(indexStart));
    return scan == indexed;
}
}  // namespace

int main()
{
    constexpr int kPoints = 100000;
    const fs::path dir = fs::temp_directory_path() / "fendo-bench-exchange";
    fs::create_directories(dir);
    std::printf("index gives the scan's names: %s\n", indexMatchesScan(5000) ? "yes" : "NO");

    const fs::path drawing = surveyDrawing(dir, kPoints);
    const fs::path book = dir / "toado.xlsx";
    fs::remove(book);
    std::printf("EPL on a 3D polyline of %d vertices with %d texts (load, export, save): %.2f s\n", kPoints, kPoints,
                runFendo(drawing, "EPL\nl\n\n" + book.string() + "\n", dir));
    const fs::path empty = dir / "empty.dxf";
    AcDbDatabase(true).dxfOut(empty.wstring());
    std::printf("IPL on the %d-row workbook (opens it all, reads 1000 rows): %.2f s\n", kPoints,
                runFendo(empty, "IPL\n" + book.string() + "\n", dir));

    const auto start = std::chrono::steady_clock::now();
    CExcelHandler excel;
    excel.StartExcel();
    if (!excel.OpenWorkbook(book.wstring())) return 1;
    excel.SetActiveSheet(1);
    const double openSeconds = secondsSince(start);
    std::vector<std::wstring> values;
    const auto readStart = std::chrono::steady_clock::now();
    const int n = excel.GetColumnValues(L"C", 2, 1, kPoints, values, false);
    std::printf("open the workbook: %.3f s; GetColumnValues of rows 1..%d: %.3f s (%d values, last %ls)\n", openSeconds,
                kPoints, secondsSince(readStart), n, values.empty() ? L"-" : values.back().c_str());
    return 0;
}
