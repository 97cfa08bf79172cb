// Spline equivalents of spline-fit polyline frames.
#include "host/db/curves/PolylineSpline.h"

#include <algorithm>

#include "host/db/entities/AcDbSpline.h"

namespace fendo::db::curves {

AcDbSpline* splineOfFrame(const std::vector<AcGePoint3d>& frame, int degree, bool closed)
{
    const int n = static_cast<int>(frame.size());
    if (n < 2) return nullptr;
    degree = std::clamp(degree, 1, n - 1);
    if (closed && n < 3) closed = false;
    AcGePoint3dArray ctrl;
    AcGeDoubleArray knots, weights;
    for (const AcGePoint3d& p : frame) ctrl.append(p);
    if (closed) {
        for (int i = 0; i < degree; ++i) ctrl.append(frame[i]);
        for (int i = 0; i < ctrl.length() + degree + 1; ++i) knots.append(i);
    } else {
        for (int i = 0; i <= degree; ++i) knots.append(0.0);
        for (int i = 1; i < n - degree; ++i) knots.append(i);
        for (int i = 0; i <= degree; ++i) knots.append(n - degree);
    }
    auto* spline = new AcDbSpline(degree, false, closed, closed, ctrl, knots, weights);
    if (spline->isNull()) {
        delete spline;
        return nullptr;
    }
    return spline;
}

}  // namespace fendo::db::curves
