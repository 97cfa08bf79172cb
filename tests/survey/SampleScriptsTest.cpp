// The README's examples of the node, crossing, parcel and elevation-line commands, run as written on the shipped
// drawing samples/survey-lines.dxf.
#include <gtest/gtest.h>

#include <string>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPolyline.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
const std::filesystem::path kSamples = sourceDir() / "samples";

Session runSample(const std::string& script)
{
    return runSession(kSamples / "survey-lines.dxf", readFile(kSamples / script));
}

std::size_t countOf(const Session& s, AcRxClass* cls)
{
    return s.result ? modelSpaceEntities(*s.result, cls).size() : 0;
}
}  // namespace

TEST(SampleScripts, ReadmeExamplesRunOnTheShippedDrawing)
{
    const std::string readme = readFile(sourceDir() / "README.md");
    for (const char* script : {"survey-lines-node.fendo", "survey-lines-contours.fendo", "survey-lines-parcels.fendo",
                               "survey-lines-points.fendo"})
        EXPECT_NE(readme.find("```\n" + readFile(kSamples / script) + "```"), std::string::npos) << script;

    // Thirteen contour vertices and the parcel's four corners, its first twice.
    EXPECT_EQ(countOf(runSample("survey-lines-node.fendo"), AcDbCircle::desc()), 18u);

    const Session contours = runSample("survey-lines-contours.fendo");
    ASSERT_TRUE(contours.result) << contours.run.output;
    std::vector<double> elevations;
    for (AcDbObjectId id : modelSpaceEntities(*contours.result, AcDbPolyline::desc())) {
        AcDbPolyline* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk) continue;
        elevations.push_back(p->elevation());
        p->close();
    }
    EXPECT_EQ(elevations, (std::vector<double>{100, 101, 102, 0, 0, 0}));
    EXPECT_EQ(countOf(contours, AcDbCircle::desc()), 2u);

    EXPECT_EQ(countOf(runSample("survey-lines-points.fendo"), AcDb3dPolyline::desc()), 2u);
}
