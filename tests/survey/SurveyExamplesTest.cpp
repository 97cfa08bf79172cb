// The README's survey point examples run as written on the shipped sample
// drawing and do what the README says.
#include <gtest/gtest.h>

#include <map>
#include <numbers>
#include <sstream>

#include "host/db/entities/AcDbCircle.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;

namespace {
// The README's code blocks whose first line names a survey example, by that
// name.
std::map<std::string, std::string> readmeExamples()
{
    std::map<std::string, std::string> out;
    std::istringstream readme(readFile(sourceDir() / "README.md"));
    std::string line, name, body;
    bool inBlock = false;
    while (std::getline(readme, line)) {
        if (line == "```") {
            if (inBlock && !name.empty()) out[name] = body;
            inBlock = !inBlock;
            name.clear();
            body.clear();
        } else if (inBlock) {
            if (body.empty() && line.rfind("# survey-", 0) == 0) name = line.substr(2, line.find(':') - 2);
            body += line + "\n";
        }
    }
    return out;
}

Session runExample(const std::string& script)
{
    KvoDbMeasurePointObj::desc();
    Session s = runSession(sourceDir() / "samples" / "survey-points.dxf", script);
    EXPECT_EQ(s.run.exitCode, 0) << s.run.output;
    for (const char* complaint : {"Unknown command", "Requires", "Dialog answer", "*Invalid"})
        EXPECT_EQ(s.run.output.find(complaint), std::string::npos) << s.run.output;
    return s;
}
}  // namespace

TEST(SurveyExamples, EveryExampleRunsOnTheSampleAsTheReadmeSays)
{
    const auto examples = readmeExamples();
    ASSERT_GE(examples.size(), 4u);

    const Session join = runExample(examples.at("survey-join.fendo"));
    ASSERT_TRUE(join.result);
    std::vector<double> heights;
    for (const SurveyPoint& p : surveyPoints(*join.result)) heights.push_back(std::round(p.position.z * 100) / 100);
    EXPECT_EQ(heights,
              (std::vector<double>{12.35, 12.8, 13.05, 0, 11.9, 105.42, 106.1, 104.95, 105.42, 105.18, 104.77}));

    const Session clean = runExample(examples.at("survey-clean.fendo"));
    ASSERT_TRUE(clean.result);
    EXPECT_EQ(modelSpaceEntities(*clean.result, AcDbCircle::desc()).size(), 4u);
    EXPECT_NE(clean.run.output.find("nummax:600"), std::string::npos);

    const Session vertices = runExample(examples.at("survey-vertices.fendo"));
    ASSERT_TRUE(vertices.result);
    const auto made = surveyPoints(*vertices.result);
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[3].position, AcGePoint3d(44, 24, 14.25));

    const Session display = runExample(examples.at("survey-display.fendo"));
    ASSERT_TRUE(display.result);
    const auto shown = surveyPoints(*display.result);
    ASSERT_EQ(shown.size(), 5u);
    for (const SurveyPoint& p : shown) {
        EXPECT_NEAR(p.rotation, std::numbers::pi / 6, 1e-12);
        EXPECT_DOUBLE_EQ(p.textHeight, 0.5);
    }
}
