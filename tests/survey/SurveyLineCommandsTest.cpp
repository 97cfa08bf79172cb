// "NODE", "CIP", "XBX", "NDCD", "NCDT" and "GCD1" driven through fendo scripts on saved drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "support/PolylinePoints.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {

AcDbPolyline* lwPolyline(const std::vector<AcGePoint2d>& points, double elevation = 0.0, bool closed = false,
                         const std::vector<double>& bulges = {})
{
    auto* p = new AcDbPolyline;
    for (unsigned i = 0; i < points.size(); ++i) p->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
    p->setElevation(elevation);
    p->setClosed(closed);
    return p;
}

KvoDbMeasurePointObj* surveyPoint(double x, double y, double z)
{
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(x, y, z), L"", L"", nullptr);
    return p;
}

AcDbText* text(double x, double y, const wchar_t* string)
{
    auto* t = new AcDbText(AcGePoint3d(x, y, 0), string);
    t->setHeight(1.0);
    return t;
}

AcDbMText* mtext(double x, double y, const wchar_t* contents)
{
    auto* t = new AcDbMText;
    t->setLocation(AcGePoint3d(x, y, 0));
    t->setTextHeight(1.0);
    t->setContents(contents);
    return t;
}

struct Circle {
    AcGePoint3d centre;
    double radius;
    int colour;
};

std::vector<Circle> circlesOf(AcDbDatabase& db)
{
    std::vector<Circle> out;
    for (AcDbObjectId id : modelSpaceEntities(db, AcDbCircle::desc())) {
        AcDbCircle* c = nullptr;
        if (acdbOpenObject(c, id, AcDb::kForRead) != Acad::eOk) continue;
        out.push_back({c->center(), c->radius(), c->colorIndex()});
        c->close();
    }
    return out;
}

int colourOf(AcDbObjectId id)
{
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return -1;
    const int colour = e->colorIndex();
    e->close();
    return colour;
}

// The vertices of every 3D polyline of the result.
std::vector<Points> elevationLines(const Session& s)
{
    std::vector<Points> out;
    if (!s.result) return out;
    for (AcDbObjectId id : modelSpaceEntities(*s.result, AcDb3dPolyline::desc())) out.push_back(verticesOf(id));
    return out;
}

// The elevation of each lightweight polyline of the result, in drawing order.
std::vector<double> elevations(const Session& s)
{
    std::vector<double> out;
    for (AcDbObjectId id : modelSpaceEntities(*s.result, AcDbPolyline::desc())) {
        AcDbPolyline* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk) continue;
        out.push_back(p->elevation());
        p->close();
    }
    return out;
}

}  // namespace

// ---- NODE -----------------------------------------------------------------------------------

TEST(NodeMarks, MarksEveryVertexAndRemembersTheRadiusForTheNextRun)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 4.0, true));
    AcGePoint3dArray vertices;
    vertices.append(AcGePoint3d(20, 0, 5));
    vertices.append(AcGePoint3d(30, 0, 6));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, vertices, false));
    // First run: radius 0.5 on the closed polyline; second: a negative answer keeps 0.5.
    const Session s = runSession(d, "NODE\n0.5\n5,0\n\nNODE\n-1\n25,0\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("pline<0.10>:"), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("pline<0.50>:"), std::string::npos) << s.run.output;
    const auto circles = circlesOf(*s.result);
    // The closed square's first vertex is marked twice; marks lie at z 0 whatever the elevation.
    ASSERT_EQ(circles.size(), 7u) << s.run.output;
    const double expected[][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {20, 0}, {30, 0}};
    for (std::size_t i = 0; i < circles.size(); ++i) {
        EXPECT_TRUE(circles[i].centre.isEqualTo(AcGePoint3d(expected[i][0], expected[i][1], 0))) << i;
        EXPECT_DOUBLE_EQ(circles[i].radius, 0.5);
    }
}

// ---- CIP ------------------------------------------------------------------------------------

TEST(CrossingCheck, MarksCrossingsOfDifferentElevationsOnTheirChordsOnly)
{
    TestDrawing d;
    d.add(lwPolyline({{0, 5}, {90, 5}}, 10.0));
    // Crosses A twice at elevation 11.
    d.add(lwPolyline({{5, 0}, {5, 10}, {15, 10}, {15, 0}}, 11.0));
    // Crosses A at the same elevation.
    d.add(lwPolyline({{2, 0}, {2, 10}}, 10.0));
    // Its arc dips through A, its chord stays above.
    d.add(lwPolyline({{30, 6}, {40, 6}}, 12.0, false, {1.0}));
    // Closed box whose closing segment alone is crossed by the short line below.
    d.add(lwPolyline({{70, 0}, {70, 4}, {80, 4}, {80, 0}}, 13.0, true));
    d.add(lwPolyline({{75, -1}, {75, 0.5}}, 0.0));
    const Session s = runSession(d, "CIP\nall\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto circles = circlesOf(*s.result);
    ASSERT_EQ(circles.size(), 2u) << s.run.output;
    EXPECT_TRUE(circles[0].centre.isEqualTo(AcGePoint3d(5, 5, 0)));
    EXPECT_TRUE(circles[1].centre.isEqualTo(AcGePoint3d(15, 5, 0)));
    for (const Circle& m : circles) {
        EXPECT_DOUBLE_EQ(m.radius, 0.5);
        EXPECT_EQ(m.colour, 1);
    }
    // Only the two crossing polylines turn red; the rest stay by layer.
    std::vector<int> colours;
    for (AcDbObjectId id : modelSpaceEntities(*s.result, AcDbPolyline::desc())) colours.push_back(colourOf(id));
    EXPECT_EQ(colours, (std::vector<int>{1, 1, 256, 256, 256, 256}));
}

// ---- XBX ------------------------------------------------------------------------------------

namespace {

struct ReportRun {
    RunResult run;
    std::string report;  // empty when no TD.txt was left
    bool reportExists = false;
};

// Runs fendo in a folder of its own, where the report lands.
ReportRun runInFolder(TestDrawing& d, const std::string& script, const std::string& previousReport = {})
{
    const auto folder = scratchDir("xbx");
    if (!previousReport.empty()) writeFile(folder / "TD.txt", previousReport);
    const auto drawing = d.save();
    const std::string command =
        "cd '" + folder.string() + "' && exec '" + (binDir() / "fendo").string() + "' '" + drawing.string() + "' -s -";
    ReportRun r;
    r.run = runProcess({"/bin/sh", "-c", command}, script);
    r.reportExists = std::filesystem::exists(folder / "TD.txt");
    if (r.reportExists) r.report = readFile(folder / "TD.txt");
    return r;
}

AcGePoint2d centreOf(AcDbObjectId id)
{
    AcDbEntity* label = nullptr;
    if (acdbOpenObject(label, id, AcDb::kForRead) != Acad::eOk) return {};
    AcDbExtents e;
    label->getGeomExtents(e);
    label->close();
    return {(e.minPoint().x + e.maxPoint().x) / 2, (e.minPoint().y + e.maxPoint().y) / 2};
}

std::string record(const AcGePoint2d& c, const std::string& label, const std::string& ring)
{
    char head[64];
    std::snprintf(head, sizeof head, "%.2f\t%.2f\t", c.x, c.y);
    return head + label + "\t" + ring + "\n";
}

}  // namespace

TEST(ParcelReport, PairsEachPolygonWithItsFirstUnusedLabel)
{
    TestDrawing d;
    d.layer(L"Bao_O");
    d.layer(L"Texhled");
    // Two labels in the square; the second is left for the overlapping rectangle after it.
    d.add(lwPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.0, true), L"Bao_O");
    const AcGePoint2d c1 = centreOf(d.add(mtext(1, 6, L"A1"), L"Texhled"));
    const AcGePoint2d c2 = centreOf(d.add(mtext(7, 6, L"A\\P2"), L"Texhled"));
    d.add(lwPolyline({{20, 0}, {30, 0}, {25, 10}}), L"Bao_O");
    const AcGePoint2d c3 = centreOf(d.add(mtext(23, 3, L"Th\u1eeda 3"), L"Texhled"));
    d.add(lwPolyline({{5, -5}, {15, -5}, {15, 15}, {5, 15}}, 0.0, true), L"Bao_O");
    // A polygon whose only labels are a single-line text and a paragraph text on another layer.
    d.add(lwPolyline({{40, 0}, {50, 0}, {50, 10}, {40, 10}}, 0.0, true), L"Bao_O");
    d.add(text(42, 5, L"B1"), L"Texhled");
    d.add(mtext(42, 8, L"B2"), L"0");
    // Two vertices make no ring.
    d.add(lwPolyline({{0, 0}, {60, 60}}), L"Bao_O");

    const ReportRun r = runInFolder(d, "XBX\n");
    ASSERT_TRUE(r.reportExists) << r.run.output;
    // "Thửa 3" is written in one byte per character.
    const std::string expected = record(c1, "A1", "0.00,0.00,10.00,0.00,10.00,10.00,0.00,10.00") +
                                 record(c3,
                                        std::string("Th\xF6"
                                                    "a 3"),
                                        "20.00,0.00,30.00,0.00,25.00,10.00,20.00,0.00") +
                                 record(c2, "A\\P2", "5.00,-5.00,15.00,-5.00,15.00,15.00,5.00,15.00");
    EXPECT_EQ(r.report, expected);
}

TEST(ParcelReport, WritesNothingWithoutARecord)
{
    TestDrawing d;
    d.layer(L"Bao_O");
    d.add(lwPolyline({{0, 0}, {10, 0}, {10, 10}}, 0.0, true), L"Bao_O");
    d.add(mtext(50, 50, L"far"), L"Texhled");
    const ReportRun r = runInFolder(d, "XBX\n", "earlier report\n");
    EXPECT_EQ(r.report, "earlier report\n") << r.run.output;
}

// ---- NDCD, NCDT -----------------------------------------------------------------------------

namespace {
// Survey points along the x axis at x 0, 1, 2 ... with the heights given.
void pointsAlongX(TestDrawing& d, const std::vector<double>& heights)
{
    for (std::size_t i = 0; i < heights.size(); ++i) d.add(surveyPoint(static_cast<double>(i), 0.0, heights[i]));
}

Points along(const std::vector<std::pair<double, double>>& xz)
{
    Points out;
    for (auto [x, z] : xz) out.emplace_back(x, 0.0, z);
    return out;
}
}  // namespace

TEST(ElevationRange, KeepsPointsWithinTheToleranceOfEitherBoundGivenInEitherOrder)
{
    const std::vector<double> heights = {9.99995, 12, 20.00005, 15, 9.9998, 25, 10};
    const Points expected = along({{0, 9.99995}, {1, 12}, {2, 20.00005}, {3, 15}, {6, 10}});
    for (const char* bounds : {"10\n20\n", "20\n10\n"}) {
        TestDrawing d;
        pointsAlongX(d, heights);
        const Session s = runSession(d, std::string("NDCD\nall\n\n") + bounds);
        const auto lines = elevationLines(s);
        ASSERT_EQ(lines.size(), 1u) << s.run.output;
        EXPECT_THAT(lines[0], PointsNear(expected)) << bounds;
    }
}

TEST(ElevationRange, EnterIsZeroAndTheNearestIsTakenWhenEveryCandidateCrosses)
{
    TestDrawing d;
    pointsAlongX(d, {9.99995, 12, 20.00005, 15, 9.9998, 25, 10});
    // Range 0..12: from 9.9998 at x 4 to 10 at x 6; every way back runs over the path, so the nearest (x 1) is taken,
    // then the last point.
    const Session s = runSession(d, "NDCD\nall\n\n\n12\n");
    const auto lines = elevationLines(s);
    ASSERT_EQ(lines.size(), 1u) << s.run.output;
    EXPECT_THAT(lines[0], PointsNear(along({{4, 9.9998}, {6, 10}, {1, 12}, {0, 9.99995}})));
}

TEST(ElevationRange, EqualBoundsASinglePointOrACancelDrawNothing)
{
    for (const char* script : {"NDCD\nall\n\n10\n10\n", "NDCD\nall\n\n10\n^C\n", "NDCD\nall\n\n^C\n",
                               "NCDT\nall\n\n11\n", "NCDT\nall\n\n^C\n", "NODE\n^C\n5,5\n\n"}) {
        TestDrawing d;
        pointsAlongX(d, {10, 11, 12});
        d.add(lwPolyline({{0, 5}, {10, 5}}));
        const Session s = runSession(d, script);
        ASSERT_TRUE(s.result) << s.run.output;
        EXPECT_TRUE(elevationLines(s).empty()) << script;
        EXPECT_TRUE(circlesOf(*s.result).empty()) << script;
    }
}

TEST(ElevationLine, StartsWestmostAndGoesRoundACrossingCandidate)
{
    TestDrawing d;
    // Drawing order apart from the path's order; a point at another height is left out.
    d.add(surveyPoint(1.5, -2, 5));
    d.add(surveyPoint(0.5, 6, 5.00005));
    d.add(surveyPoint(2, 0, 5));
    d.add(surveyPoint(0, 0, 4.9999));
    d.add(surveyPoint(-3, 0, 7));
    d.add(surveyPoint(2, 1.8, 5));
    const Session s = runSession(d, "NCDT\nall\n\n5\n");
    const auto lines = elevationLines(s);
    ASSERT_EQ(lines.size(), 1u) << s.run.output;
    // From (2, 1.8) the nearest, (1.5, -2), would cross the first segment: (0.5, 6) comes first.
    const Points expected = {{0, 0, 4.9999}, {2, 0, 5}, {2, 1.8, 5}, {0.5, 6, 5.00005}, {1.5, -2, 5}};
    EXPECT_THAT(lines[0], PointsNear(expected));
}

// ---- GCD1 -----------------------------------------------------------------------------------

TEST(ContourElevation, TakesTheFirstCrossingTextOnThePickedLayer)
{
    TestDrawing d;
    d.layer(L"DGD");
    // Both texts' boxes cross the first contour: the earlier one counts.
    d.add(lwPolyline({{-10, 0.5}, {50, 0.5}}), L"DGD");
    d.add(lwPolyline({{-10, 40}, {50, 40}}, 7.0), L"DGD");
    d.add(lwPolyline({{-10, 20.5}, {50, 20.5}}), L"DGD");
    d.add(lwPolyline({{-10, 30.5}, {50, 30.5}}), L"0");
    d.add(text(0, 0, L"105.5"));
    d.add(text(10, 0, L"106"));
    // A paragraph text is not read; a text with a unit suffix gives its number.
    d.add(mtext(0, 21, L"200"));
    d.add(text(20, 20, L"12.35m"));
    d.add(text(0, 30, L"99"));
    const Session s = runSession(d, "GCD1\n25,0.5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const auto e = elevations(s);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_DOUBLE_EQ(e[0], 105.5);
    EXPECT_DOUBLE_EQ(e[1], 7.0);
    EXPECT_DOUBLE_EQ(e[2], 12.35);
    EXPECT_DOUBLE_EQ(e[3], 0.0);
}

TEST(ContourElevation, EndsBeforeAskingWithoutSingleLineTexts)
{
    TestDrawing d;
    d.add(lwPolyline({{-10, 0.5}, {50, 0.5}}));
    d.add(mtext(0, 1, L"105"));
    const Session s = runSession(d, "GCD1\n25,0.5\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(s.run.output.find("layer v\u00e0 t\u00ednh"), std::string::npos) << s.run.output;
    EXPECT_EQ(elevations(s), std::vector<double>{0.0});
}

// ---- The README's examples, run as written on the shipped drawing ------------------------------

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
    EXPECT_EQ(elevations(contours), (std::vector<double>{100, 101, 102, 0, 0, 0}));
    EXPECT_EQ(countOf(contours, AcDbCircle::desc()), 2u);

    EXPECT_EQ(countOf(runSample("survey-lines-points.fendo"), AcDb3dPolyline::desc()), 2u);
}
