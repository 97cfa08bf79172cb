// Two-dimensional point operations.
#include "host/ge/AcGePoint2d.h"

#include <cmath>

double AcGePoint2d::distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
    AcGeVector2d v = *this - wrtPoint;
    v.rotateBy(angle);
    return *this = wrtPoint + v;
}

AcGePoint2d& AcGePoint2d::scaleBy(double factor, const AcGePoint2d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * factor;
}

bool AcGePoint2d::isEqualTo(const AcGePoint2d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}
