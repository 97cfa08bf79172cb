// Module folder copies, slope drawings and the saved symbols for the slope tests.
#include "slope/SlopeTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/db/entities/AcDbPolyline.h"

namespace fendo::test::slope {

namespace fs = std::filesystem;

std::string SlopeFolder::settingsText() const
{
    return fs::exists(settingsPath()) ? readFile(settingsPath()) : std::string();
}

std::vector<std::string> SlopeFolder::settingsLines() const
{
    std::vector<std::string> lines;
    std::istringstream in(settingsText());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

SlopeRun::~SlopeRun()
{
    for (TaluyObj* symbol : symbols) symbol->close();
}

std::unique_ptr<SlopeRun> runSlope(const SlopeFolder& folder, TestDrawing& drawing, const std::string& script)
{
    const fs::path input = drawing.save();
    const fs::path output = scratchDir("slope") / "out.dxf";
    auto s = std::make_unique<SlopeRun>();
    s->run = runFendo({"--module", folder.module().string(), input.string(), "-o", output.string()}, script);
    if (!fs::exists(output)) return s;
    // The class must be known before the saved drawing is read, or its symbols stay unknown
    // objects; a test that has not made a symbol itself has not registered it yet.
    TaluyObj::desc();
    s->result = loadDrawing(output);
    if (!s->result) return s;
    for (const AcDbObjectId& id : modelSpaceEntities(*s->result, TaluyObj::desc())) {
        TaluyObj* symbol = nullptr;
        if (acdbOpenObject(symbol, id, AcDb::kForRead) == Acad::eOk) s->symbols.push_back(symbol);
    }
    return s;
}

namespace {
AcGePoint3dArray pointsOf(const std::vector<double>& xy)
{
    AcGePoint3dArray points;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) points.append(AcGePoint3d(xy[i], xy[i + 1], 0));
    return points;
}
}  // namespace

void addPolyline(TestDrawing& drawing, const std::vector<double>& xy)
{
    auto* polyline = new AcDbPolyline();
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        polyline->addVertexAt(static_cast<unsigned>(i / 2), AcGePoint2d(xy[i], xy[i + 1]));
    drawing.add(polyline);
}

void addSymbol(TestDrawing& drawing, const std::vector<double>& edgeXy, const std::vector<double>& toeXy)
{
    auto* symbol = new TaluyObj();
    EXPECT_TRUE(symbol->setSourcePoints(pointsOf(edgeXy), pointsOf(toeXy)));
    drawing.add(symbol);
}

}  // namespace fendo::test::slope
