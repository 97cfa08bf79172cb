// Three-dimensional point operations.
#include "host/ge/AcGePoint3d.h"

#include <cmath>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePlane.h"

AcGePoint3d::AcGePoint3d(const AcGePlane& plane, const AcGePoint2d& uv) { *this = plane.evalPoint(uv); }

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
    const auto& e = m.entry;
    AcGePoint3d r(e[0][0] * p.x + e[0][1] * p.y + e[0][2] * p.z + e[0][3],
                  e[1][0] * p.x + e[1][1] * p.y + e[1][2] * p.z + e[1][3],
                  e[2][0] * p.x + e[2][1] * p.y + e[2][2] * p.z + e[2][3]);
    const double w = e[3][0] * p.x + e[3][1] * p.y + e[3][2] * p.z + e[3][3];
    if (w != 1.0 && w != 0.0) r /= w;
    return r;
}

AcGePoint3d& AcGePoint3d::setToProduct(const AcGeMatrix3d& m, const AcGePoint3d& p) { return *this = m * p; }

double AcGePoint3d::distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& vec, const AcGePoint3d& wrtPoint) {
    AcGeVector3d v = *this - wrtPoint;
    v.rotateBy(angle, vec);
    return *this = wrtPoint + v;
}

AcGePoint3d& AcGePoint3d::scaleBy(double factor, const AcGePoint3d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * factor;
}

AcGePoint3d& AcGePoint3d::mirror(const AcGePlane& plane) {
    return *this -= plane.normal() * (2.0 * plane.signedDistanceTo(*this));
}

AcGePoint3d AcGePoint3d::orthoProject(const AcGePlane& plane) const { return plane.closestPointTo(*this); }

AcGePoint3d AcGePoint3d::project(const AcGePlane& plane, const AcGeVector3d& projectDirection) const {
    const double along = projectDirection.dotProduct(plane.normal());
    if (std::fabs(along) <= 1e-300 || projectDirection.isPerpendicularTo(plane.normal())) return *this;
    return *this - projectDirection * (plane.signedDistanceTo(*this) / along);
}

AcGePoint2d AcGePoint3d::convert2d(const AcGePlane& plane) const { return plane.paramOf(*this); }

bool AcGePoint3d::isEqualTo(const AcGePoint3d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}
