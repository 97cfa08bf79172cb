// 4x4 affine transformation matrix: products, inverse and the usual constructions.
#include "host/ge/AcGeMatrix3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "host/ge/AcGeLine3d.h"
#include "host/ge/AcGePlane.h"

constinit const AcGeMatrix3d AcGeMatrix3d::kIdentity;

namespace fendo::ge {

void arbitraryAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
    // The threshold of the drawing-file rule, exactly 1/64.
    constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
    const AcGeVector3d n = normal.normal();
    if (std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit)
        xAxis = AcGeVector3d::kYAxis.crossProduct(n).normal();
    else
        xAxis = AcGeVector3d::kZAxis.crossProduct(n).normal();
    yAxis = n.crossProduct(xAxis).normal();
}

}  // namespace fendo::ge

namespace {

void setLinear(AcGeMatrix3d& m, const AcGeVector3d& c0, const AcGeVector3d& c1, const AcGeVector3d& c2) {
    for (int r = 0; r < 3; ++r) {
        m.entry[r][0] = c0[r];
        m.entry[r][1] = c1[r];
        m.entry[r][2] = c2[r];
    }
}

AcGeVector3d column(const AcGeMatrix3d& m, int c) { return {m.entry[0][c], m.entry[1][c], m.entry[2][c]}; }

// Gauss-Jordan elimination with partial pivoting; false when a pivot vanishes
// relative to the largest entry.
bool invert4(const double in[4][4], double out[4][4], double& determinant) {
    double a[4][8];
    double largest = 0.0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = in[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
            largest = std::max(largest, std::fabs(in[r][c]));
        }
    determinant = 1.0;
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (std::fabs(a[pivot][c]) <= 1e-14 * largest || a[pivot][c] == 0.0) {
            determinant = 0.0;
            return false;
        }
        if (pivot != c) {
            std::swap(a[pivot], a[c]);
            determinant = -determinant;
        }
        const double p = a[c][c];
        determinant *= p;
        for (int k = 0; k < 8; ++k) a[c][k] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == c || a[r][c] == 0.0) continue;
            const double f = a[r][c];
            for (int k = 0; k < 8; ++k) a[r][k] -= f * a[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[r][c] = a[r][c + 4];
    return true;
}

}  // namespace

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
    AcGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k) s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

AcGeMatrix3d& AcGeMatrix3d::operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) { return *this = left * *this; }
AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) { return *this = *this * right; }
AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& m1, const AcGeMatrix3d& m2) {
    return *this = m1 * m2;
}

AcGeMatrix3d& AcGeMatrix3d::invert() {
    double out[4][4];
    double d = 0.0;
    if (!invert4(entry, out, d)) return setToIdentity();
    std::copy(&out[0][0], &out[0][0] + 16, &entry[0][0]);
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
    AcGeMatrix3d r = *this;
    return r.invert();
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const {
    // Judged on the linear part, relative to its scale.
    const double s = scale();
    if (s == 0.0) return true;
    const double d = column(*this, 0).crossProduct(column(*this, 1)).dotProduct(column(*this, 2));
    return std::fabs(d) <= tol.equalVector() * s * s * s;
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt() {
    for (int r = 0; r < 4; ++r)
        for (int c = r + 1; c < 4; ++c) std::swap(entry[r][c], entry[c][r]);
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
    AcGeMatrix3d r = *this;
    return r.transposeIt();
}

double AcGeMatrix3d::det() const {
    double out[4][4];
    double d = 0.0;
    invert4(entry, out, d);
    return d;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(entry[r][c] - m.entry[r][c]) > tol.equalVector()) return false;
    return true;
}

bool AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const {
    if (entry[3][0] != 0.0 || entry[3][1] != 0.0 || entry[3][2] != 0.0 || entry[3][3] != 1.0) return false;
    const AcGeVector3d c[3] = {column(*this, 0), column(*this, 1), column(*this, 2)};
    for (int i = 0; i < 3; ++i)
        if (c[i].isZeroLength(tol)) return false;
    return c[0].isPerpendicularTo(c[1], tol) && c[1].isPerpendicularTo(c[2], tol) &&
           c[0].isPerpendicularTo(c[2], tol);
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
    if (!isScaledOrtho(tol)) return false;
    const double l0 = column(*this, 0).length(), l1 = column(*this, 1).length(), l2 = column(*this, 2).length();
    const double s = std::max({l0, l1, l2});
    return std::fabs(l0 - l1) <= tol.equalVector() * s && std::fabs(l1 - l2) <= tol.equalVector() * s;
}

double AcGeMatrix3d::scale() const {
    return std::max({column(*this, 0).length(), column(*this, 1).length(), column(*this, 2).length()});
}

AcGeMatrix3d& AcGeMatrix3d::setTranslation(const AcGeVector3d& vec) {
    entry[0][3] = vec.x;
    entry[1][3] = vec.y;
    entry[2][3] = vec.z;
    return *this;
}

AcGeVector3d AcGeMatrix3d::translation() const { return column(*this, 3); }

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vec) {
    setToIdentity();
    return setTranslation(vec);
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
    setToIdentity();
    AcGeVector3d cols[3] = {AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis};
    for (auto& c : cols) c.rotateBy(angle, axis);
    setLinear(*this, cols[0], cols[1], cols[2]);
    // Keep the centre fixed: t = c - R c.
    return setTranslation(center.asVector() - *this * center.asVector());
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double s, const AcGePoint3d& center) {
    setToIdentity();
    entry[0][0] = entry[1][1] = entry[2][2] = s;
    return setTranslation(center.asVector() * (1.0 - s));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePlane& mirrorPlane) {
    setToIdentity();
    const AcGeVector3d n = mirrorPlane.normal();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) entry[r][c] -= 2.0 * n[r] * n[c];
    return setTranslation(n * (2.0 * n.dotProduct(mirrorPlane.pointOnPlane().asVector())));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& mirrorPoint) { return setToScaling(-1.0, mirrorPoint); }

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGeLine3d& mirrorLine) {
    // A half turn about the line.
    return setToRotation(std::numbers::pi, mirrorLine.direction(), mirrorLine.pointOnLine());
}

AcGeMatrix3d& AcGeMatrix3d::setToProjection(const AcGePlane& projectionPlane, const AcGeVector3d& projectDir) {
    setToIdentity();
    const AcGeVector3d n = projectionPlane.normal();
    const double along = projectDir.dotProduct(n);
    if (std::fabs(along) <= 1e-300) return *this;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) entry[r][c] -= projectDir[r] * n[c] / along;
    return setTranslation(projectDir * (n.dotProduct(projectionPlane.pointOnPlane().asVector()) / along));
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
    setToIdentity();
    setLinear(*this, xAxis, yAxis, zAxis);
    return setTranslation(origin.asVector());
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const {
    xAxis = column(*this, 0);
    yAxis = column(*this, 1);
    zAxis = column(*this, 2);
    const AcGeVector3d t = translation();
    origin.set(t.x, t.y, t.z);
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                               const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                               const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                               const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
    AcGeMatrix3d from, to;
    from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
    to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
    return *this = to * from.inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
    AcGeVector3d x, y;
    fendo::ge::arbitraryAxes(normal, x, y);
    return setCoordSystem(AcGePoint3d::kOrigin, x, y, normal.normal());
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGePlane& plane) {
    AcGePoint3d o;
    AcGeVector3d u, v;
    plane.get(o, u, v);
    return setCoordSystem(o, u, v, plane.normal());
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
    return *this = planeToWorld(normal).inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGePlane& plane) { return *this = planeToWorld(plane).inverse(); }

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vec) { return AcGeMatrix3d().setToTranslation(vec); }
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double s, const AcGePoint3d& center) { return AcGeMatrix3d().setToScaling(s, center); }
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePlane& plane) { return AcGeMatrix3d().setToMirroring(plane); }
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& point) { return AcGeMatrix3d().setToMirroring(point); }
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGeLine3d& line) { return AcGeMatrix3d().setToMirroring(line); }
AcGeMatrix3d AcGeMatrix3d::projection(const AcGePlane& projectionPlane, const AcGeVector3d& projectDir) {
    return AcGeMatrix3d().setToProjection(projectionPlane, projectDir);
}
AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                         const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                         const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                         const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
    return AcGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin, toXAxis,
                                             toYAxis, toZAxis);
}
AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) { return AcGeMatrix3d().setToWorldToPlane(normal); }
AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGePlane& plane) { return AcGeMatrix3d().setToWorldToPlane(plane); }
AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) { return AcGeMatrix3d().setToPlaneToWorld(normal); }
AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGePlane& plane) { return AcGeMatrix3d().setToPlaneToWorld(plane); }
