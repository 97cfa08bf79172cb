// Point objects in pictures: drawn as the drawing's PDMODE and PDSIZE say, so spot heights can be
// seen, with sizes relative to the picture when PDSIZE is 0 or negative.
#include <gtest/gtest.h>

#include <regex>

#include "host/db/entities/AcDbPoint.h"
#include "support/TestDrawing.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {

struct Box {
    double width = 0.0;
    double height = 0.0;
    int paths = 0;
};

// The extent, in pixels, of every path cairo wrote into the SVG picture.
Box pathExtent(const std::string& svg)
{
    static const std::regex pathData(R"re(<path[^>]* d="([^"]*)")re");
    static const std::regex number(R"([-+]?[0-9]*\.?[0-9]+(e[-+]?[0-9]+)?)");
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    Box box;
    for (auto p = std::sregex_iterator(svg.begin(), svg.end(), pathData); p != std::sregex_iterator(); ++p) {
        const std::string d = (*p)[1];
        std::vector<double> values;
        for (auto n = std::sregex_iterator(d.begin(), d.end(), number); n != std::sregex_iterator(); ++n)
            values.push_back(std::stod(n->str()));
        for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
            x0 = std::min(x0, values[i]), x1 = std::max(x1, values[i]);
            y0 = std::min(y0, values[i + 1]), y1 = std::max(y1, values[i + 1]);
        }
        ++box.paths;
    }
    if (box.paths) box = {x1 - x0, y1 - y0, box.paths};
    return box;
}

// One point at the middle of a 100 x 100 window drawn on 1000 x 1000 pixels.
Box markerOf(int pdmode, double pdsize)
{
    TestDrawing drawing;
    drawing.db().setPdmode(pdmode);
    drawing.db().setPdsize(pdsize);
    drawing.add(new AcDbPoint(AcGePoint3d(50, 50, 12.5)));
    const fs::path in = drawing.save();
    const fs::path picture = scratchDir("markers") / "point.svg";
    const RunResult run =
        runFendo({in.string(), "--render", picture.string(), "--window", "0,0,100,100", "--size", "1000x1000"}, "\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return fs::exists(picture) ? pathExtent(readFile(picture)) : Box{};
}

}  // namespace

TEST(PointMarkers, FollowPdmodeAndPdsize)
{
    // PDSIZE 0: 5% of the picture's height (100 units on 1000 pixels: 50 pixels).
    const Box cross = markerOf(3, 0.0);
    EXPECT_NEAR(cross.width, 50.0, 1.0);
    EXPECT_NEAR(cross.height, 50.0, 1.0);
    // Negative: that percentage of the picture's height.
    EXPECT_NEAR(markerOf(2, -20.0).width, 200.0, 1.0);
    // Positive: drawing units.
    EXPECT_NEAR(markerOf(3, 2.0).width, 20.0, 1.0);
    // A circle round a plus, and a square round nothing, the same size.
    const Box circled = markerOf(34, 4.0);
    EXPECT_NEAR(circled.width, 40.0, 1.0);
    EXPECT_GE(circled.paths, 2);
    EXPECT_NEAR(markerOf(65, 4.0).width, 40.0, 1.0);
    // PDMODE 1 draws nothing; 0 a dot.
    EXPECT_EQ(markerOf(1, 0.0).paths, 0);
    EXPECT_LE(markerOf(0, 0.0).width, 3.0);
}
