// Text placement: justification anchors, rotation, aligned and fitted texts.
#include "host/fonts/TextPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace fendo::fonts;

namespace {

constexpr double kExact = 1e-9;

// A measured text 10 long and 2 high with descenders to -1; its font's descender line is at -0.6.
TextMeasure sampleMeasure()
{
    TextMeasure m;
    m.model = TextModel::Outline;
    m.empty = false;
    m.advance = 10.0;
    m.box = TextBox{0.0, 10.0, -1.0, 2.0};
    m.obliqueBox = m.box;
    m.descent = -0.6;
    return m;
}

TextLayout sampleLayout(HorizontalMode h, VerticalMode v)
{
    TextLayout layout;
    layout.position = {-7.0, -7.0}; // stale, as drawings often carry it for justified texts
    layout.alignmentPoint = {100.0, 50.0};
    layout.horizontal = h;
    layout.vertical = v;
    layout.height = 2.0;
    return layout;
}

void expectPoint(const AcGePoint2d& actual, double x, double y, const char* what)
{
    EXPECT_NEAR(actual.x, x, kExact) << what;
    EXPECT_NEAR(actual.y, y, kExact) << what;
}

} // namespace

TEST(TextPlacement, EachJustificationPutsItsAnchorOnTheAlignmentPoint)
{
    // Anchor in the text's frame (x from the baseline start, y from the baseline) for advance 10,
    // height 2, font descender -0.6.
    struct Case {
        HorizontalMode h;
        VerticalMode v;
        double anchorX;
        double anchorY;
        const char* name;
    };
    const Case cases[] = {
        {HorizontalMode::Center, VerticalMode::Baseline, 5.0, 0.0, "center"},
        {HorizontalMode::Right, VerticalMode::Baseline, 10.0, 0.0, "right"},
        {HorizontalMode::Middle, VerticalMode::Baseline, 5.0, 1.0, "middle"},
        {HorizontalMode::Left, VerticalMode::Top, 0.0, 2.0, "top left"},
        {HorizontalMode::Center, VerticalMode::Top, 5.0, 2.0, "top center"},
        {HorizontalMode::Right, VerticalMode::Top, 10.0, 2.0, "top right"},
        {HorizontalMode::Left, VerticalMode::Middle, 0.0, 1.0, "middle left"},
        {HorizontalMode::Center, VerticalMode::Middle, 5.0, 1.0, "middle center"},
        {HorizontalMode::Right, VerticalMode::Middle, 10.0, 1.0, "middle right"},
        {HorizontalMode::Left, VerticalMode::Bottom, 0.0, -0.6, "bottom left"},
        {HorizontalMode::Center, VerticalMode::Bottom, 5.0, -0.6, "bottom center"},
        {HorizontalMode::Right, VerticalMode::Bottom, 10.0, -0.6, "bottom right"},
    };
    const TextMeasure m = sampleMeasure();
    for (const auto& c : cases) {
        const PlacedText placed = placeText(sampleLayout(c.h, c.v), m);
        const AcGePoint2d expectedInsertion{100.0 - c.anchorX, 50.0 - c.anchorY};
        expectPoint(placed.insertion, expectedInsertion.x, expectedInsertion.y, c.name);
        expectPoint(insertionPointFor(sampleLayout(c.h, c.v), m), expectedInsertion.x, expectedInsertion.y, c.name);
        // The box keeps its shape around the insertion point.
        expectPoint(placed.corners[0], expectedInsertion.x, expectedInsertion.y - 1.0, c.name);
        expectPoint(placed.corners[2], expectedInsertion.x + 10.0, expectedInsertion.y + 2.0, c.name);
    }
}

TEST(TextPlacement, RotationTurnsTheBoxAboutTheAnchor)
{
    TextLayout layout = sampleLayout(HorizontalMode::Left, VerticalMode::Baseline);
    layout.position = {1.0, 1.0};
    layout.rotation = std::numbers::pi / 2;
    const PlacedText left = placeText(layout, sampleMeasure());
    expectPoint(left.corners[0], 2.0, 1.0, "lower left");
    expectPoint(left.corners[1], 2.0, 11.0, "lower right");
    expectPoint(left.corners[2], -1.0, 11.0, "upper right");
    expectPoint(left.corners[3], -1.0, 1.0, "upper left");

    // A right-justified text turned a quarter ends its baseline on the alignment point.
    layout.horizontal = HorizontalMode::Right;
    const PlacedText right = placeText(layout, sampleMeasure());
    expectPoint(right.insertion, 100.0, 40.0, "right insertion");
}

TEST(TextPlacement, ObliquingSlantsTheTopOfTheBox)
{
    TextLayout layout = sampleLayout(HorizontalMode::Left, VerticalMode::Baseline);
    layout.position = {0.0, 0.0};
    layout.oblique = std::numbers::pi / 4;
    const PlacedText placed = placeText(layout, sampleMeasure());
    expectPoint(placed.corners[0], -1.0, -1.0, "lower left");
    expectPoint(placed.corners[2], 12.0, 2.0, "upper right");
}

TEST(TextPlacement, AlignedAndFitSpanExactlyBetweenTheTwoPoints)
{
    TextMeasure m = sampleMeasure();
    m.box.bottom = 0.0; // so that the lower corners lie on the baseline
    TextLayout layout = sampleLayout(HorizontalMode::Aligned, VerticalMode::Top); // vertical ignored
    layout.position = {1.0, 2.0};
    layout.alignmentPoint = {1.0 + 30.0, 2.0 + 40.0}; // a span of 50 on a slanted baseline

    const PlacedText aligned = placeText(layout, m);
    expectPoint(aligned.insertion, 1.0, 2.0, "aligned insertion");
    expectPoint(aligned.corners[0], 1.0, 2.0, "aligned start");
    expectPoint(aligned.corners[1], 31.0, 42.0, "aligned end");
    EXPECT_NEAR(aligned.rotation, std::atan2(40.0, 30.0), kExact);
    EXPECT_NEAR(aligned.height, 10.0, kExact); // scaled with the width, 5 times
    EXPECT_NEAR(aligned.widthFactor, 1.0, kExact);
    EXPECT_NEAR(std::hypot(aligned.corners[3].x - 1.0, aligned.corners[3].y - 2.0), 10.0, kExact);

    layout.horizontal = HorizontalMode::Fit;
    const PlacedText fit = placeText(layout, m);
    expectPoint(fit.corners[0], 1.0, 2.0, "fit start");
    expectPoint(fit.corners[1], 31.0, 42.0, "fit end");
    EXPECT_NEAR(fit.height, 2.0, kExact);
    EXPECT_NEAR(fit.widthFactor, 5.0, kExact);
    EXPECT_NEAR(std::hypot(fit.corners[3].x - 1.0, fit.corners[3].y - 2.0), 2.0, kExact);
}

TEST(TextPlacement, AlignedTextWithoutASpanIsPlacedAsLeftJustified)
{
    TextLayout layout = sampleLayout(HorizontalMode::Aligned, VerticalMode::Baseline);
    layout.position = layout.alignmentPoint;
    const PlacedText placed = placeText(layout, sampleMeasure());
    EXPECT_NEAR(placed.height, 2.0, kExact);
    expectPoint(placed.corners[1], 110.0, 49.0, "lower right");
}

TEST(TextPlacement, RightJustifiedDigitsEndOnTheAlignmentPoint)
{
    TextLayout layout = sampleLayout(HorizontalMode::Right, VerticalMode::Baseline);
    layout.height = 1.5;
    const PlacedText placed = placeText(L"12", TextStyleFont{L"arial.ttf", L""}, layout);
    // Digits end inside their advance and sit on the baseline.
    expectPoint(placed.corners[1], 100.0, 50.0, "lower right");
    EXPECT_LT(placed.insertion.x, 100.0 - 1.5);
}
