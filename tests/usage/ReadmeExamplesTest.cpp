// Every example of the README runs as written on the shipped samples: each code block that starts
// "# NAME.fendo: ..." is saved under its name, its "Run it with `fendo ...`" line is run from a
// folder that sees the repository's samples/, and the run must neither stumble (unknown commands,
// bad picks, empty selections, unreadable files) nor leave out its output. What some examples say
// they do is checked on the saved drawing as well.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numbers>
#include <regex>
#include <set>
#include <sstream>

#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbSpline.h"
#include "survey/SurveyTestSupport.h"

using namespace fendo::test;
namespace fs = std::filesystem;

namespace {

struct Example {
    std::string name;     // "flatten.fendo"
    std::string script;   // the block, as shown
    std::string command;  // the run line: "fendo samples/x.dxf -s flatten.fendo -o out.dxf"
};

// Code blocks that open with "# NAME.fendo:" and the "Run it with `...`" line after each, plus the
// indented one-line fendo commands on a shipped sample (picture and conversion options), which have
// no script; a "# ..." after such a command is its comment.
std::vector<Example> readmeExamples(std::vector<std::string>& problems)
{
    std::vector<Example> out;
    std::istringstream readme(readFile(sourceDir() / "README.md"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(readme, line);) lines.push_back(line);
    static const std::regex heading(R"(^# ([A-Za-z0-9_-]+\.fendo): .+)");
    static const std::regex runLine("^Run it with `(fendo [^`]+)`");
    static const std::regex indented(R"(^    (fendo samples/[^#]*[^#\s])\s*(#.*)?$)");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (std::regex_match(lines[i], m, indented)) {
            out.push_back({"", "", m[1]});
            continue;
        }
        if (lines[i] != "```" || i + 1 >= lines.size() || !std::regex_match(lines[i + 1], m, heading)) continue;
        Example example{m[1], "", ""};
        std::size_t j = i + 1;
        for (; j < lines.size() && lines[j] != "```"; ++j) example.script += lines[j] + "\n";
        std::smatch run;
        if (j + 1 < lines.size() && std::regex_search(lines[j + 1], run, runLine))
            example.command = run[1];
        else
            problems.push_back(example.name + ": no \"Run it with `fendo ...`\" line after its block");
        out.push_back(example);
        i = j;
    }
    return out;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The value after an option ("-o"), or empty.
std::string optionValue(const std::vector<std::string>& args, const std::string& option)
{
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option) return args[i + 1];
    return {};
}

struct ExampleRun {
    RunResult run;
    fs::path folder;
    std::unique_ptr<AcDbDatabase> result;  // the -o drawing, when there is one
};

ExampleRun runExample(const Example& example)
{
    ExampleRun r;
    const std::vector<std::string> args = words(example.command);
    r.folder = scratchDir("readme-example");
    fs::create_directory_symlink(sourceDir() / "samples", r.folder / "samples");

    const std::string drawing = args.size() > 1 ? args[1] : "";
    EXPECT_EQ(drawing.rfind("samples/", 0), 0u) << example.command << ": the drawing must be a shipped sample";
    EXPECT_TRUE(fs::exists(sourceDir() / drawing)) << example.command << ": " << drawing << " is not shipped";

    const std::string script = optionValue(args, "-s");
    if (!example.name.empty()) {
        EXPECT_EQ(fs::path(script).filename().string(), example.name) << example.command;
        if (script.rfind("samples/", 0) == 0) {
            EXPECT_EQ(readFile(sourceDir() / script), example.script)
                << script << " differs from the block the README shows";
        } else {
            writeFile(r.folder / script, example.script);
        }
    }

    std::vector<std::string> command{"/usr/bin/env", "-C", r.folder.string(), (binDir() / "fendo").string()};
    command.insert(command.end(), args.begin() + 1, args.end());
    r.run = runProcess(command);
    EXPECT_EQ(r.run.exitCode, 0) << example.command << "\n" << r.run.output;
    static const std::regex stumbles(R"(Unknown command|\*Invalid selection\*|(^|\s)0 found|cannot read|)"
                                     R"(Dialog answer|Requires |Point or option keyword required|Nothing selected)");
    EXPECT_FALSE(std::regex_search(r.run.output, stumbles)) << example.command << "\n" << r.run.output;
    for (const char* option : {"-o", "--render", "--export-plain"}) {
        const std::string file = optionValue(args, option);
        if (!file.empty()) {
            EXPECT_TRUE(fs::exists(r.folder / file)) << example.command << ": no " << file;
        }
    }
    if (const std::string saved = optionValue(args, "-o"); !saved.empty() && fs::exists(r.folder / saved))
        r.result = loadDrawing(r.folder / saved);
    return r;
}

std::size_t count(AcDbDatabase& db, AcRxClass* cls) { return modelSpaceEntities(db, cls).size(); }

// What the text after an example says, for the examples whose result can be told in a line.
using Check = std::function<void(ExampleRun&)>;
const std::map<std::string, Check>& resultChecks()
{
    static const std::map<std::string, Check> checks{
        {"cleanup.fendo",
         [](ExampleRun& r) {
             EXPECT_TRUE(layerIsOff(*r.result, L"DIEM_DO"));
             EXPECT_FALSE(layerIsOff(*r.result, L"TIM_DUONG"));
             EXPECT_EQ(count(*r.result, AcDbLine::desc()),
                       0u);  // the construction lines went
         }},
        {"flatten.fendo",
         [](ExampleRun& r) {
             EXPECT_EQ(count(*r.result, AcDbArc::desc()), 0u);
             EXPECT_EQ(count(*r.result, AcDbSpline::desc()), 0u);
             EXPECT_EQ(count(*r.result, AcDb3dPolyline::desc()),
                       1u);  // the spline's
         }},
        {"vertices.fendo",
         [](ExampleRun& r) {
             const auto breaklines = modelSpaceEntities(*r.result, AcDb3dPolyline::desc());
             ASSERT_EQ(breaklines.size(), 3u);
             AcDb3dPolyline* thinned = nullptr;
             ASSERT_EQ(acdbOpenObject(thinned, breaklines[2], AcDb::kForRead), Acad::eOk);
             int vertices = 0;
             AcDbObjectIterator* it = thinned->vertexIterator();
             for (it->start(); !it->done(); it->step()) ++vertices;
             delete it;
             thinned->close();
             EXPECT_EQ(vertices, 3);
         }},
        {"grips.fendo",
         [](ExampleRun& r) {
             EXPECT_NE(r.run.output.find("Grip 0 moved by 10,0,0."), std::string::npos) << r.run.output;
             EXPECT_NE(r.run.output.find("Grip 3 moved by 0,-1,0."), std::string::npos) << r.run.output;
         }},
        {"survey-join.fendo",
         [](ExampleRun& r) {
             std::vector<double> heights;
             for (const SurveyPoint& p : surveyPoints(*r.result))
                 heights.push_back(std::round(p.position.z * 100) / 100);
             EXPECT_EQ(heights, (std::vector<double>{12.35, 12.8, 13.05, 0, 11.9, 105.42, 106.1, 104.95, 105.42, 105.18,
                                                     104.77}));
         }},
        {"survey-clean.fendo",
         [](ExampleRun& r) {
             EXPECT_EQ(count(*r.result, AcDbCircle::desc()), 4u);
             EXPECT_NE(r.run.output.find("nummax:600"), std::string::npos);
         }},
        {"survey-vertices.fendo",
         [](ExampleRun& r) {
             const auto made = surveyPoints(*r.result);
             ASSERT_EQ(made.size(), 4u);
             EXPECT_EQ(made[3].position, AcGePoint3d(44, 24, 14.25));
         }},
        {"survey-display.fendo",
         [](ExampleRun& r) {
             const auto shown = surveyPoints(*r.result);
             ASSERT_EQ(shown.size(), 5u);
             for (const SurveyPoint& p : shown) {
                 EXPECT_NEAR(p.rotation, std::numbers::pi / 6, 1e-12);
                 EXPECT_DOUBLE_EQ(p.textHeight, 0.5);
             }
         }},
    };
    return checks;
}

}  // namespace

TEST(ReadmeExamples, EveryExampleRunsAsWrittenOnTheShippedSamples)
{
    KvoDbMeasurePointObj::desc();
    std::vector<std::string> problems;
    const std::vector<Example> examples = readmeExamples(problems);
    for (const std::string& problem : problems) ADD_FAILURE() << problem;
    // The examples present when this test was written; later sections only add to them.
    std::set<std::string> names;
    for (const Example& e : examples) names.insert(e.name);
    for (const char* name : {"grips.fendo", "cleanup.fendo", "flatten.fendo", "edges.fendo", "vertices.fendo",
                             "slope-embankment.fendo", "edit-values.fendo", "survey-join.fendo"})
        EXPECT_TRUE(names.count(name)) << name << " is no longer found in the README";

    for (const Example& example : examples) {
        if (example.command.empty()) continue;
        SCOPED_TRACE(example.command);
        ExampleRun r = runExample(example);
        const auto check = resultChecks().find(example.name);
        if (check != resultChecks().end() && r.result) check->second(r);
    }
}
