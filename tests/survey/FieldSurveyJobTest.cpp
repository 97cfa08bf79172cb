// The main job shipped with fendo: raw field input in samples/field-survey.dxf cleaned, joined
// into survey points, checked and drawn as elevation lines by samples/field-survey.fendo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPolyline.h"
#include "slope/TaluyObj.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;

namespace {

TEST(FieldSurveyJob, TurnsTheFieldInputIntoSurveyPointsElevationLinesAndMarks)
{
    KvoDbMeasurePointObj::desc();
    TaluyObj::desc();
    std::string script = readFile(sourceDir() / "samples" / "field-survey.fendo");
    const auto picture = scratchDir("job") / "result.png";
    const std::string render = "RENDER out/sample-result.png";
    ASSERT_NE(script.find(render), std::string::npos) << "the job draws its picture";
    script.replace(script.find(render), render.size(), "RENDER " + picture.string());

    const Session s = runSession(sourceDir() / "samples" / "field-survey.dxf", script);
    ASSERT_EQ(s.run.exitCode, 0) << s.run.output;
    for (const char* complaint : {"Unknown command", "*Invalid", "not understood", "*Cancel*"})
        EXPECT_EQ(s.run.output.find(complaint), std::string::npos) << complaint << "\n" << s.run.output;
    ASSERT_TRUE(s.result);
    EXPECT_TRUE(std::filesystem::file_size(picture) > 0);
    AcDbDatabase& db = *s.result;

    // Three breaklines of 13 shots, the stream's 9 and the two lost heights: every marker and
    // its two texts became one survey point.
    const auto points = surveyPoints(db);
    ASSERT_EQ(points.size(), 50u);
    EXPECT_EQ(std::count_if(points.begin(), points.end(), [](const SurveyPoint& p) { return p.position.z == 0; }), 2);

    // The twice-digitised road edge is gone; four elevation lines were drawn: the three bands
    // and the stream at 9.50, each through all of its points.
    std::vector<int> lineVertices;
    int roadEdges = 0;
    for (const AcDbObjectId id : modelSpaceEntities(db, AcDb3dPolyline::desc())) {
        AcDb3dPolyline* pl = nullptr;
        ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForRead), Acad::eOk);
        int count = 0;
        AcDbObjectIterator* it = pl->vertexIterator();
        for (; !it->done(); it->step()) ++count;
        delete it;
        if (std::wstring(pl->layer()) == L"Breaklines")
            ++roadEdges;
        else
            lineVertices.push_back(count);
        pl->close();
    }
    EXPECT_EQ(roadEdges, 3);  // two road edges and the ditch
    std::sort(lineVertices.begin(), lineVertices.end());
    EXPECT_EQ(lineVertices, (std::vector<int>{9, 13, 13, 13}));

    // The ditch left at height 0 gets a circle on the red marking layer at each of its three
    // vertices; the dense contour is coloured red.
    int marks = 0;
    for (const AcDbObjectId id : modelSpaceEntities(db, AcDbCircle::desc())) {
        AcDbCircle* c = nullptr;
        ASSERT_EQ(acdbOpenObject(c, id, AcDb::kForRead), Acad::eOk);
        if (std::wstring(c->layer()) == L"DanhDauCaoDo0") ++marks;
        c->close();
    }
    EXPECT_EQ(marks, 3);
    const auto contours = modelSpaceEntities(db, AcDbPolyline::desc());
    ASSERT_EQ(contours.size(), 1u);
    AcDbPolyline* contour = nullptr;
    ASSERT_EQ(acdbOpenObject(contour, contours[0], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(contour->colorIndex(), 1);
    contour->close();

    // And the bank between the southern edge and the ditch carries a slope symbol.
    EXPECT_EQ(modelSpaceEntities(db, TaluyObj::desc()).size(), 1u);
}

}  // namespace
