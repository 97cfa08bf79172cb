// The pattern-file reader: what it accepts, and the file, line and expectation it names for what it
// refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/hatch/PatternFile.h"
#include "support/TestSupport.h"

using namespace fendo::hatch;

namespace {

PatternFileContents parse(const std::string& text) { return parsePatternText(text, "test.pat"); }

}  // namespace

TEST(PatternFile, ReadsFamiliesWithDashesDotsAndComments)
{
    const auto contents = parse("; shipped with the test\r\n"
                                "*Mixed, dashes and dots ; a comment after the header\r\n"
                                "\r\n"
                                "45, 0,0, 0,.125\r\n"
                                "  0 , 1.5 , -2 , +0.25 , 0.5 , 1 , -0.5 , 0 , -0.5   ; dash, gap, dot, gap\n");
    ASSERT_FALSE(contents.error) << contents.error->toString();
    ASSERT_EQ(contents.patterns.size(), 1u);
    const HatchPattern& p = contents.patterns[0];
    EXPECT_EQ(p.name, "Mixed");
    EXPECT_EQ(p.description, "dashes and dots");
    ASSERT_EQ(p.families.size(), 2u);
    EXPECT_EQ(p.families[0].angleDegrees, 45.0);
    EXPECT_EQ(p.families[0].deltaY, 0.125);
    EXPECT_TRUE(p.families[0].dashes.empty());
    const PatternFamily& f = p.families[1];
    EXPECT_EQ(f.originX, 1.5);
    EXPECT_EQ(f.originY, -2.0);
    EXPECT_EQ(f.deltaX, 0.25);
    EXPECT_EQ(f.deltaY, 0.5);
    EXPECT_EQ(f.dashes, (std::vector<double>{1, -0.5, 0, -0.5}));
}

TEST(PatternFile, HoldsSeveralPatternsFoundByNameInAnyCase)
{
    const auto dir = fendo::test::scratchDir("patternfile");
    const auto path = (dir / "several.pat").string();
    std::ofstream(path) << "*FIRST\n0,0,0,0,1\n*Second,with a description\n90,0,0,0,2\n0,0,0,0,2\n*EMPTY\n";
    PatternError error;
    const auto second = loadPattern(path, "SECOND", &error);
    ASSERT_TRUE(second) << error.toString();
    EXPECT_EQ(second->name, "Second");
    EXPECT_EQ(second->families.size(), 2u);
    const auto empty = loadPattern(path, "empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->families.empty());

    EXPECT_FALSE(loadPattern(path, "THIRD", &error));
    EXPECT_EQ(error.toString(), path + ": has no pattern \"THIRD\"");
    EXPECT_FALSE(loadPattern((dir / "missing.pat").string(), "FIRST", &error));
    EXPECT_EQ(error.line, 0);
    EXPECT_NE(error.message.find("cannot be read"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(PatternFile, BadLinesNameTheFileLineAndWhatWasExpected)
{
    struct Case {
        const char* text;
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {"0,0,0,0,1\n", 1, "expected a pattern header \"*NAME\" before the first line family"},
        {"*A\n\n* , nameless\n", 3, "expected a pattern name after '*'"},
        {"*A\n0,0,0,0\n", 2, "found 4 fields"},
        {"*A\n45\n", 2, "found 1 field"},
        {"*A\n0,0,0,zero,1\n", 2, "field 4: expected a number, found 'zero'"},
        {"*A\n0,0,0,0,1,,-1\n", 2, "field 6: expected a number, found ''"},
        {"*A\n0,0,0,0,1e999\n", 2, "field 5: expected a number"},
        {"*A\n0,0,0,0,1 2\n", 2, "field 5: expected a number, found '1 2'"},
    };
    for (const Case& c : cases) {
        const auto contents = parse(c.text);
        ASSERT_TRUE(contents.error) << c.text;
        EXPECT_EQ(contents.error->file, "test.pat");
        EXPECT_EQ(contents.error->line, c.line) << c.text;
        EXPECT_NE(contents.error->message.find(c.expected), std::string::npos)
            << c.text << " gave " << contents.error->toString();
    }
    // Patterns before the bad line are kept for whoever wants them; loading refuses the file.
    EXPECT_EQ(parse("*GOOD\n0,0,0,0,1\n*BAD\nx\n").patterns.size(), 2u);
}

TEST(PatternFile, PreviewReferencesSplitAtTheLastParenthesis)
{
    std::string path, name;
    ASSERT_TRUE(splitPatternReference("/opt/my (old) patterns/Brick.PAT(Brick)", path, name));
    EXPECT_EQ(path, "/opt/my (old) patterns/Brick.PAT");
    EXPECT_EQ(name, "Brick");
    EXPECT_FALSE(splitPatternReference("/opt/brick.pat", path, name));
    EXPECT_FALSE(splitPatternReference("/opt/brick.pat()", path, name));
    EXPECT_FALSE(splitPatternReference("(BRICK)", path, name));
}
