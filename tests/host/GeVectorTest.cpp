// Vectors, points and the global tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ge/AcGePlane.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kEps = 1e-12;
}  // namespace

TEST(GeTolerance, ScopedPointToleranceChangesEqualityAndRestoresIt) {
    const AcGePoint3d a(0, 0, 0), b(5e-7, 0, 0);
    EXPECT_FALSE(a == b);
    {
        fendo::ge::ScopedEqualPointTolerance loose(1e-6);
        EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalPoint(), 1e-6);
        EXPECT_TRUE(a == b);
    }
    EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
    EXPECT_FALSE(a == b);
}

TEST(GeTolerance, SavedGlobalToleranceCanBePutBack) {
    const AcGeTol saved = AcGeContext::gTol;
    AcGeContext::gTol.setEqualPoint(0.5);
    AcGeContext::gTol.setEqualVector(0.25);
    EXPECT_TRUE(AcGePoint3d(0, 0, 0).isEqualTo(AcGePoint3d(0.4, 0, 0)));
    AcGeContext::gTol = saved;
    EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
    EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalVector(), 1e-10);
}

TEST(GeVector3d, PerpVectorTurnsPlanarVectorsAQuarterCounterClockwise) {
    const AcGeVector3d p = AcGeVector3d(3, 4, 0).perpVector();
    EXPECT_TRUE(p.isEqualTo({-4, 3, 0}));
    // Any vector: perpendicular; along z: still perpendicular and not zero.
    for (const AcGeVector3d v : {AcGeVector3d(1, 2, 3), AcGeVector3d(0, 0, 2), AcGeVector3d(1e-20, 0, 1)}) {
        const AcGeVector3d q = v.perpVector();
        EXPECT_GT(q.length(), 0.0);
        EXPECT_NEAR(q.dotProduct(v), 0.0, kEps);
    }
}

TEST(GeVector3d, SignedAngleAboutReferenceRunsCounterClockwiseFullTurn) {
    const AcGeVector3d x = AcGeVector3d::kXAxis;
    EXPECT_NEAR(x.angleTo({0, 1, 0}, AcGeVector3d::kZAxis), kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo({0, -1, 0}, AcGeVector3d::kZAxis), 3 * kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo({0, -1, 0}, -AcGeVector3d::kZAxis), kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo({0, -1, 0}), kPi / 2, kEps);
    EXPECT_NEAR(x.angleTo({-1, 0, 0}), kPi, kEps);
}

TEST(GeVector3d, RotationFollowsTheRightHandRule) {
    AcGeVector3d v(1, 0, 0);
    v.rotateBy(kPi / 2, AcGeVector3d::kZAxis);
    EXPECT_TRUE(v.isEqualTo({0, 1, 0}));
    v.rotateBy(kPi / 2, AcGeVector3d(1, 0, 0));
    EXPECT_TRUE(v.isEqualTo({0, 0, 1}));
}

TEST(GeVector3d, DirectionRelationsUseTheVectorTolerance) {
    const AcGeVector3d a(1, 1, 0);
    EXPECT_TRUE(a.isParallelTo({-2, -2, 0}));
    EXPECT_FALSE(a.isCodirectionalTo({-2, -2, 0}));
    EXPECT_TRUE(a.isCodirectionalTo({3, 3, 0}));
    EXPECT_TRUE(a.isPerpendicularTo({1, -1, 5}));
    EXPECT_FALSE(a.isParallelTo({1, 1.001, 0}));
    EXPECT_FALSE(a.isParallelTo(AcGeVector3d::kIdentity));
    AcGeTol loose;
    loose.setEqualVector(1e-2);
    EXPECT_TRUE(a.isParallelTo({1, 1.001, 0}, loose));
    EXPECT_TRUE(AcGeVector3d(1e-11, 0, 0).isZeroLength());
    EXPECT_TRUE(AcGeVector3d(0, 0, 7).normal().isUnitLength());
    // A zero vector stays zero rather than turning into NaNs.
    EXPECT_TRUE(AcGeVector3d::kIdentity.normal().isZeroLength());
}

TEST(GePoint3d, PointArithmeticAndPlaneCoordinates) {
    const AcGePoint3d p(1, 2, 3), q(4, 6, 3);
    EXPECT_TRUE((q - p).isEqualTo({3, 4, 0}));
    EXPECT_TRUE((p + AcGeVector3d(3, 4, 0)).isEqualTo(q));
    EXPECT_DOUBLE_EQ(p.distanceTo(q), 5.0);
    AcGePoint3d r = q;
    r.rotateBy(kPi, AcGeVector3d::kZAxis, p);
    EXPECT_TRUE(r.isEqualTo({-2, -2, 3}));
    r = q;
    r.scaleBy(2.0, p);
    EXPECT_TRUE(r.isEqualTo({7, 10, 3}));

    // A plane with a tilted normal: projection drops the normal part and the 2D
    // coordinates give back the projected point.
    const AcGePlane plane(AcGePoint3d(1, 1, 1), AcGeVector3d(1, 1, 1));
    const AcGePoint3d x(3, -2, 5);
    const AcGePoint3d foot = x.orthoProject(plane);
    EXPECT_TRUE(plane.isOn(foot));
    EXPECT_TRUE((x - foot).isParallelTo(plane.normal()));
    EXPECT_TRUE(AcGePoint3d(plane, x.convert2d(plane)).isEqualTo(foot));
    // Projection along a slanted direction lands on the plane along that direction.
    const AcGePoint3d along = x.project(plane, AcGeVector3d(0, 0, 1));
    EXPECT_TRUE(plane.isOn(along));
    EXPECT_NEAR(along.x, x.x, kEps);
    EXPECT_NEAR(along.y, x.y, kEps);
}
