// Text extents for the justifications, with rotation and width factor; multiline text
// contents; spline fit data.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "EntityTestSupport.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/AcDbText.h"
#include "host/ge/AcGePlane.h"

using enttest::expectNear;

namespace {
constexpr double kPi = std::numbers::pi;

AcDbExtents extentsOf(const AcDbText& t)
{
    AcDbExtents ext;
    EXPECT_EQ(t.getGeomExtents(ext), Acad::eOk);
    return ext;
}

std::unique_ptr<AcDbText> justified(AcDb::TextHorzMode h, AcDb::TextVertMode v, const AcGePoint3d& align)
{
    auto t = std::make_unique<AcDbText>(AcGePoint3d(0, 0, 0), L"HHH");
    t->setHeight(2.0);
    t->setJustification(h, v);
    t->setAlignmentPoint(align);
    t->adjustAlignment();
    return t;
}
}  // namespace

TEST(TextExtents, HorizontalJustificationsPutTheBoxAroundTheAlignmentPoint)
{
    AcDbText left(AcGePoint3d(10, 5, 0), L"HHH");
    left.setHeight(2.0);
    AcDbExtents l = extentsOf(left);
    EXPECT_NEAR(l.minPoint().x, 10.0, 0.05);
    EXPECT_NEAR(l.minPoint().y, 5.0, 1e-9);  // capitals sit on the baseline
    EXPECT_NEAR(l.maxPoint().y, 7.0, 0.05);  // and reach the text height
    const double width = l.maxPoint().x - l.minPoint().x;
    EXPECT_GT(width, 2.0);

    AcDbExtents r = extentsOf(*justified(AcDb::kTextRight, AcDb::kTextBase, {20, 5, 0}));
    EXPECT_NEAR(r.maxPoint().x, 20.0, 0.05);
    EXPECT_NEAR(r.maxPoint().x - r.minPoint().x, width, 1e-9);

    AcDbExtents c = extentsOf(*justified(AcDb::kTextCenter, AcDb::kTextBase, {20, 5, 0}));
    EXPECT_NEAR((c.minPoint().x + c.maxPoint().x) / 2, 20.0, 0.05);
    EXPECT_NEAR(c.minPoint().y, 5.0, 1e-9);

    AcDbExtents top = extentsOf(*justified(AcDb::kTextLeft, AcDb::kTextTop, {0, 10, 0}));
    EXPECT_NEAR(top.maxPoint().y, 10.0, 0.05);

    // Bottom anchors below the baseline (at the font's descender line).
    AcDbExtents bottom = extentsOf(*justified(AcDb::kTextLeft, AcDb::kTextBottom, {0, 10, 0}));
    EXPECT_GT(bottom.minPoint().y, 10.0);
}

TEST(TextExtents, AlignedAndFitSpanTheirTwoPoints)
{
    AcDbText fit(AcGePoint3d(0, 0, 0), L"HHH");
    fit.setHeight(1.0);
    fit.setHorizontalMode(AcDb::kTextFit);
    fit.setAlignmentPoint({30, 0, 0});
    AcDbExtents f = extentsOf(fit);
    EXPECT_NEAR(f.minPoint().x, 0.0, 0.5);
    EXPECT_NEAR(f.maxPoint().x, 30.0, 0.5);
    EXPECT_NEAR(f.maxPoint().y, 1.0, 0.05);  // fit keeps the height

    AcDbText aligned(AcGePoint3d(0, 0, 0), L"HHH");
    aligned.setHeight(1.0);
    aligned.setHorizontalMode(AcDb::kTextAlign);
    aligned.setAlignmentPoint({30, 0, 0});
    EXPECT_GT(extentsOf(aligned).maxPoint().y, 3.0);  // aligned grows the height with the width
}

TEST(TextExtents, RotatedCentredBoxIsCentredOnTheAlignmentPointAndTurned)
{
    auto tp = justified(AcDb::kTextMid, AcDb::kTextBase, {100, 50, 0});
    AcDbText& t = *tp;
    t.setRotation(kPi / 6);
    t.setWidthFactor(1.5);
    AcGePoint3dArray c;
    ASSERT_EQ(t.getBoundingPoints(c), Acad::eOk);
    ASSERT_EQ(c.length(), 4);
    AcGePoint3d centre((c[0].x + c[2].x) / 2, (c[0].y + c[2].y) / 2, 0);
    expectNear(centre, {100, 50, 0}, 0.05);
    AcGeVector3d bottom = c[1] - c[0];
    EXPECT_NEAR(std::atan2(bottom.y, bottom.x), kPi / 6, 1e-9);
    EXPECT_NEAR((c[3] - c[0]).length(), 2.0, 0.05);

    auto narrow = justified(AcDb::kTextMid, AcDb::kTextBase, {100, 50, 0});
    narrow->setRotation(kPi / 6);
    AcGePoint3dArray n;
    narrow->getBoundingPoints(n);
    EXPECT_NEAR((c[1] - c[0]).length(), 1.5 * (n[1] - n[0]).length(), 1e-6);

    AcDbExtents ext = extentsOf(t);
    for (const AcGePoint3d& p : c) {
        EXPECT_GE(p.x, ext.minPoint().x - 1e-9);
        EXPECT_LE(p.y, ext.maxPoint().y + 1e-9);
    }
}

TEST(TextTransform, RotationTurnsTheTextAndMirrorMakesItBackward)
{
    AcDbText t(AcGePoint3d(1, 0, 0), L"A");
    ASSERT_EQ(t.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis)), Acad::eOk);
    expectNear(t.position(), {0, 1, 0});
    EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
    ASSERT_EQ(t.transformBy(AcGeMatrix3d::scaling(2.0)), Acad::eOk);
    EXPECT_NEAR(t.height(), 5.0, 1e-12);
    AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePlane::kYZPlane);
    ASSERT_EQ(t.transformBy(mirror), Acad::eOk);
    EXPECT_TRUE(t.isMirroredInX());
    AcDbVoidPtrArray pieces;
    EXPECT_EQ(t.explode(pieces), Acad::eNotApplicable);
}

TEST(MTextContents, FormattingCodesAreRemovedFromThePlainText)
{
    AcDbMText m;
    m.setContents(L"{\\fArial|b1;Cao\\P}do \\H2.5x;12\\~m \\S1^2;");
    EXPECT_EQ(m.text(), AcString(L"Cao\ndo 12 m 1/2"));
    m.setTextHeight(2.0);
    m.setAttachment(AcDbMText::kBottomRight);
    m.setLocation({10, 10, 0});
    AcDbExtents ext;
    ASSERT_EQ(m.getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x, 10.0, 1e-9);
    EXPECT_NEAR(ext.minPoint().y, 10.0, 1e-9);
    EXPECT_NEAR(ext.maxPoint().y, 10.0 + 2.0 + 2.0 * 5.0 / 3.0, 1e-9);  // two lines
}

TEST(SplineFitData, CurvePassesThroughFitPointsAndEditsAreChecked)
{
    AcGePoint3dArray fit{{0, 0, 0}, {2, 3, 0}, {5, 1, 0}, {8, 4, 1}};
    AcDbSpline s(fit, 4, 0.0);
    ASSERT_TRUE(s.hasFitData());
    ASSERT_FALSE(s.isNull());
    for (const AcGePoint3d& p : fit) EXPECT_LT(s.nurbs().distanceTo(p), 1e-6);

    AcGePoint3dArray got;
    int degree = 0;
    double tol = -1;
    bool tangents = true;
    AcGeVector3d st, en;
    ASSERT_EQ(s.getFitData(got, degree, tol, tangents, st, en), Acad::eOk);
    EXPECT_EQ(got.length(), 4);
    EXPECT_EQ(degree, 3);
    EXPECT_FALSE(tangents);

    EXPECT_EQ(s.insertFitPointAt(5, {9, 9, 0}), Acad::eInvalidIndex);
    EXPECT_EQ(s.insertFitPointAt(-1, {9, 9, 0}), Acad::eInvalidIndex);
    ASSERT_EQ(s.insertFitPointAt(4, {10, 0, 0}), Acad::eOk);
    EXPECT_LT(s.nurbs().distanceTo({10, 0, 0}), 1e-6);
    EXPECT_EQ(s.removeFitPointAt(5), Acad::eInvalidIndex);
    ASSERT_EQ(s.removeFitPointAt(1), Acad::eOk);
    EXPECT_EQ(s.numFitPoints(), 4);
    while (s.numFitPoints() > 2) ASSERT_EQ(s.removeFitPointAt(0), Acad::eOk);
    EXPECT_EQ(s.removeFitPointAt(0), Acad::eDegenerateGeometry);

    AcDbExtents ext;
    ASSERT_EQ(s.getGeomExtents(ext), Acad::eOk);
    s.purgeFitData();
    EXPECT_FALSE(s.hasFitData());
    EXPECT_FALSE(s.isNull());
    EXPECT_EQ(s.getFitData(got, degree, tol, tangents, st, en), Acad::eNotApplicable);
}
