// Transformation matrices: worked values and algebraic invariants.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

namespace {
constexpr double kPi = std::numbers::pi;

void expectFrameOrthonormalRightHanded(const AcGeVector3d& x, const AcGeVector3d& y, const AcGeVector3d& z) {
    EXPECT_NEAR(x.length(), 1.0, 1e-12);
    EXPECT_NEAR(y.length(), 1.0, 1e-12);
    EXPECT_NEAR(z.length(), 1.0, 1e-12);
    EXPECT_NEAR(x.dotProduct(y), 0.0, 1e-12);
    EXPECT_NEAR(y.dotProduct(z), 0.0, 1e-12);
    EXPECT_NEAR(x.dotProduct(z), 0.0, 1e-12);
    EXPECT_TRUE(x.crossProduct(y).isEqualTo(z));
}
}  // namespace

TEST(GeMatrix3d, RotationAboutANonOriginCentre) {
    const AcGeMatrix3d m = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, AcGePoint3d(1, 1, 0));
    EXPECT_TRUE((m * AcGePoint3d(2, 1, 0)).isEqualTo({1, 2, 0}));
    EXPECT_TRUE((m * AcGePoint3d(1, 1, 7)).isEqualTo({1, 1, 7}));
    EXPECT_TRUE((m * AcGePoint3d(0, 0, 0)).isEqualTo({2, 0, 0}));
    // Vectors turn but do not move.
    EXPECT_TRUE((m * AcGeVector3d(1, 0, 0)).isEqualTo({0, 1, 0}));
    EXPECT_TRUE(m.isUniScaledOrtho());
    EXPECT_NEAR(m.det(), 1.0, 1e-12);
}

TEST(GeMatrix3d, MirroringInPlaneLineAndPoint) {
    // Plane x = 2.
    const AcGeMatrix3d byPlane = AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d(2, 0, 0), AcGeVector3d(1, 0, 0)));
    EXPECT_TRUE((byPlane * AcGePoint3d(5, 3, 1)).isEqualTo({-1, 3, 1}));
    EXPECT_NEAR(byPlane.det(), -1.0, 1e-12);
    EXPECT_TRUE((byPlane * byPlane).isEqualTo(AcGeMatrix3d::kIdentity));
    // Line along z through (1, 0, 0): a half turn.
    const AcGeMatrix3d byLine = AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(1, 0, 0), AcGeVector3d::kZAxis));
    EXPECT_TRUE((byLine * AcGePoint3d(3, 1, 4)).isEqualTo({-1, -1, 4}));
    const AcGeMatrix3d byPoint = AcGeMatrix3d::mirroring(AcGePoint3d(1, 1, 1));
    EXPECT_TRUE((byPoint * AcGePoint3d(2, 3, 4)).isEqualTo({0, -1, -2}));
}

TEST(GeMatrix3d, InverseTimesMatrixIsIdentity) {
    AcGeMatrix3d m = AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 2, 3), AcGePoint3d(4, -5, 6));
    m = AcGeMatrix3d::scaling(2.5, AcGePoint3d(1, 1, 1)) * m;
    m = AcGeMatrix3d::translation(AcGeVector3d(10, 20, 30)) * m;
    EXPECT_TRUE((m.inverse() * m).isEqualTo(AcGeMatrix3d::kIdentity, [] {
        AcGeTol t;
        t.setEqualVector(1e-12);
        return t;
    }()));
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_NEAR(m.det(), 2.5 * 2.5 * 2.5, 1e-9);
    EXPECT_NEAR(m.scale(), 2.5, 1e-12);
    EXPECT_TRUE(m.isUniScaledOrtho());
    EXPECT_FALSE(AcGeMatrix3d::kIdentity.isSingular());
}

TEST(GeMatrix3d, NonUniformAndSingularMatricesAreRecognised) {
    AcGeMatrix3d m;
    m.entry[0][0] = 2.0;
    EXPECT_TRUE(m.isScaledOrtho());
    EXPECT_FALSE(m.isUniScaledOrtho());
    m.entry[1][1] = 0.0;
    EXPECT_TRUE(m.isSingular());
    EXPECT_DOUBLE_EQ(m.det(), 0.0);
}

TEST(GeMatrix3d, ArbitraryAxisOfWorldZIsTheIdentity) {
    EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(AcGeMatrix3d::worldToPlane(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(GeMatrix3d, ArbitraryAxisGivesOrthonormalRightHandedFrames) {
    // Both branches of the rule: a normal close to z (|Nx|, |Ny| < 1/64) and a tilted one.
    for (const AcGeVector3d n : {AcGeVector3d(0.01, -0.01, 1), AcGeVector3d(1, 2, 3), AcGeVector3d(0, 0, -1),
                                 AcGeVector3d(1, 0, 0)}) {
        const AcGeMatrix3d m = AcGeMatrix3d::planeToWorld(n);
        AcGePoint3d o;
        AcGeVector3d x, y, z;
        m.getCoordSystem(o, x, y, z);
        expectFrameOrthonormalRightHanded(x, y, z);
        EXPECT_TRUE(z.isEqualTo(n.normal()));
        EXPECT_TRUE((AcGeMatrix3d::worldToPlane(n) * m).isEqualTo(AcGeMatrix3d::kIdentity));
    }
    // Worked values from the rule: N = (1, 0, 0) gives Ax = Wz x N = (0, 1, 0), Ay = (0, 0, 1).
    AcGeVector3d x, y;
    fendo::ge::arbitraryAxes(AcGeVector3d(1, 0, 0), x, y);
    EXPECT_TRUE(x.isEqualTo({0, 1, 0}));
    EXPECT_TRUE(y.isEqualTo({0, 0, 1}));
    // N = (0, 0, -1) is in the Wy branch: Ax = Wy x N = (-1, 0, 0).
    fendo::ge::arbitraryAxes(AcGeVector3d(0, 0, -1), x, y);
    EXPECT_TRUE(x.isEqualTo({-1, 0, 0}));
    EXPECT_TRUE(y.isEqualTo({0, 1, 0}));
}

TEST(GeMatrix3d, AlignCoordSysMapsOneFrameOntoTheOther) {
    const AcGePoint3d fromO(1, 2, 3), toO(-4, 0, 2);
    const AcGeVector3d fx(0, 1, 0), fy(-1, 0, 0), fz(0, 0, 1);
    const AcGeVector3d tx(0, 0, 1), ty(1, 0, 0), tz(0, 1, 0);
    const AcGeMatrix3d m = AcGeMatrix3d::alignCoordSys(fromO, fx, fy, fz, toO, tx, ty, tz);
    EXPECT_TRUE((m * fromO).isEqualTo(toO));
    EXPECT_TRUE((m * (fromO + fx * 2.0)).isEqualTo(toO + tx * 2.0));
    EXPECT_TRUE((m * fy).isEqualTo(ty));
    EXPECT_TRUE((m * fz).isEqualTo(tz));
}

TEST(GeMatrix3d, ProductAppliesTheRightFactorFirst) {
    const AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0));
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    EXPECT_TRUE(((turn * move) * AcGePoint3d(0, 0, 0)).isEqualTo({0, 1, 0}));
    EXPECT_TRUE(((move * turn) * AcGePoint3d(0, 0, 0)).isEqualTo({1, 0, 0}));
    EXPECT_TRUE((turn * move).translation().isEqualTo({0, 1, 0}));
}
