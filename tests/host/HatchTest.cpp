// The hatch keeps its loops and everything after its pattern as read, and models its style, pattern
// scale, angle and definition lines: read, kept and written back in their place.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>

#include "EntityTestSupport.h"
#include "host/db/entities/AcDbHatch.h"
#include "host/hatch/PatternLibrary.h"
#include "support/TestSupport.h"

using fendo::db::RawTags;

namespace {

RawTags tags(std::initializer_list<std::pair<short, const char*>> list)
{
    RawTags out;
    for (const auto& [code, value] : list) out.push_back({code, value});
    return out;
}

// A hatch of one square loop 0..4 x 0..3 at elevation 2, with a 45-degree dashed family and a seed
// point after the pattern.
RawTags patternHatch()
{
    return tags({{100, "AcDbEntity"}, {8, "0"},     {100, "AcDbHatch"}, {10, "0"},    {20, "0"},    {30, "2"},
                 {210, "0"},          {220, "0"},   {230, "1"},         {2, "MINE"},  {70, "0"},    {71, "0"},
                 {91, "1"},           {92, "2"},    {72, "0"},          {73, "1"},    {93, "3"},    {10, "0"},
                 {20, "0"},           {10, "4"},    {20, "0"},          {10, "4"},    {20, "3"},    {97, "0"},
                 {75, "2"},           {76, "2"},    {52, "30"},         {41, "2.5"},  {77, "0"},    {78, "1"},
                 {53, "75"},          {43, "1"},    {44, "2"},          {45, "-0.5"}, {46, "0.75"}, {79, "2"},
                 {49, "1.25"},        {49, "-0.5"}, {47, "0.1"},        {98, "1"},    {10, "1"},    {20, "1"}});
}

// The group codes of the hatch's own section, from its subclass marker on.
std::vector<short> codes(const RawTags& t)
{
    std::vector<short> out;
    bool inHatch = false;
    for (const auto& tag : t) {
        inHatch = inHatch || (tag.code == 100 && tag.value == "AcDbHatch");
        if (inHatch) out.push_back(tag.code);
    }
    return out;
}

}  // namespace

TEST(HatchFiling, PatternDefinitionStyleScaleAndAngleAreReadAndWrittenInPlace)
{
    const RawTags file = patternHatch();
    std::unique_ptr<AcDbHatch> h(enttest::readGroups<AcDbHatch>(file));
    EXPECT_EQ(h->patternName(), AcString(L"MINE"));
    EXPECT_EQ(h->numLoops(), 1);
    EXPECT_EQ(h->hatchStyle(), AcDbHatch::kIgnore);
    EXPECT_EQ(h->patternType(), AcDbHatch::kCustomDefined);
    EXPECT_NEAR(h->patternAngle(), 30 * std::numbers::pi / 180, 1e-12);
    EXPECT_EQ(h->patternScale(), 2.5);
    ASSERT_EQ(h->numPatternDefinitions(), 1);
    double angle, bx, by, ox, oy;
    AcGeDoubleArray dashes;
    ASSERT_EQ(h->getPatternDefinitionAt(0, angle, bx, by, ox, oy, dashes), Acad::eOk);
    EXPECT_NEAR(angle, 75 * std::numbers::pi / 180, 1e-12);
    EXPECT_EQ(bx, 1.0);
    EXPECT_EQ(by, 2.0);
    EXPECT_EQ(ox, -0.5);
    EXPECT_EQ(oy, 0.75);
    ASSERT_EQ(dashes.length(), 2);
    EXPECT_EQ(dashes[0], 1.25);
    EXPECT_EQ(dashes[1], -0.5);
    EXPECT_EQ(h->getPatternDefinitionAt(1, angle, bx, by, ox, oy, dashes), Acad::eInvalidIndex);

    AcDbExtents ext;
    ASSERT_EQ(h->getGeomExtents(ext), Acad::eOk);
    enttest::expectNear(ext.maxPoint(), {4, 3, 2});

    // The same groups in the same order: loops, then style and pattern, then the seed points.
    const RawTags out = enttest::fileOut(*h);
    EXPECT_EQ(codes(out), codes(file));
    const auto loopsIn = std::find_if(file.begin(), file.end(), [](const auto& t) { return t.code == 91; });
    const auto loopsOut = std::find_if(out.begin(), out.end(), [](const auto& t) { return t.code == 91; });
    EXPECT_TRUE(std::equal(loopsIn, loopsIn + 12, loopsOut));
    EXPECT_TRUE(std::equal(file.end() - 5, file.end(), out.end() - 5));

    // Read again and written again: nothing moves.
    std::unique_ptr<AcDbHatch> copy(enttest::readGroups<AcDbHatch>(out));
    EXPECT_EQ(enttest::fileOut(*copy), out);
}

TEST(HatchFiling, SolidAndNewHatchesWriteAValidRecord)
{
    AcDbHatch fresh;
    fresh.setHatchStyle(AcDbHatch::kOuter);
    const std::vector<short> solid = codes(enttest::fileOut(fresh));
    // A solid fill has no pattern groups; an empty boundary and no seed points keep it valid.
    const std::vector<short> tail(solid.end() - 4, solid.end());
    EXPECT_EQ(tail, (std::vector<short>{91, 75, 76, 98}));

    fresh.setPattern(AcDbHatch::kUserDefined, L"_USER");
    const RawTags user = enttest::fileOut(fresh);
    const std::vector<short> c = codes(user);
    const std::vector<short> userTail(c.end() - 8, c.end());
    EXPECT_EQ(userTail, (std::vector<short>{91, 75, 76, 52, 41, 77, 78, 98}));
    std::unique_ptr<AcDbHatch> back(enttest::readGroups<AcDbHatch>(user));
    EXPECT_EQ(back->hatchStyle(), AcDbHatch::kOuter);
    EXPECT_FALSE(back->isSolidFill());
    EXPECT_EQ(back->numPatternDefinitions(), 0);
    EXPECT_EQ(fresh.setPatternScale(0.0), Acad::eInvalidInput);
    EXPECT_EQ(fresh.setHatchStyle(static_cast<AcDbHatch::HatchStyle>(3)), Acad::eInvalidInput);
}

TEST(HatchFiling, NamedPatternsTakeTheirLinesFromThePatternFiles)
{
    const auto dir = fendo::test::scratchDir("hatch-library");
    std::ofstream(dir / "Stripes.PAT") << "*STRIPES,horizontal stripes\n0, 0,1, 0.5,2, 3,-1\n";
    fendo::hatch::addPatternFolder(dir.string());

    AcDbHatch h;
    ASSERT_EQ(h.setPatternScale(2.0), Acad::eOk);
    ASSERT_EQ(h.setPatternAngle(std::numbers::pi / 2), Acad::eOk);
    h.setPattern(AcDbHatch::kPreDefined, L"stripes");
    ASSERT_EQ(h.numPatternDefinitions(), 1);
    double angle, bx, by, ox, oy;
    AcGeDoubleArray dashes;
    h.getPatternDefinitionAt(0, angle, bx, by, ox, oy, dashes);
    // Turned a quarter and doubled: the origin (0, 1) goes to (-2, 0), the step (1, 4) in the
    // line's frame points (-4, 1) in the plane, the dashes double.
    EXPECT_NEAR(angle, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(bx, -2.0, 1e-12);
    EXPECT_NEAR(by, 0.0, 1e-12);
    EXPECT_NEAR(ox, -4.0, 1e-12);
    EXPECT_NEAR(oy, 1.0, 1e-12);
    ASSERT_EQ(dashes.length(), 2);
    EXPECT_EQ(dashes[0], 6.0);

    // A scale change rebuilds the lines; a name no file holds leaves none.
    h.setPatternScale(1.0);
    h.getPatternDefinitionAt(0, angle, bx, by, ox, oy, dashes);
    EXPECT_EQ(dashes[0], 3.0);
    h.setPattern(AcDbHatch::kPreDefined, L"NO_SUCH_PATTERN");
    EXPECT_EQ(h.numPatternDefinitions(), 0);

    fendo::hatch::clearPatternFolders();
    std::filesystem::remove_all(dir);
}
