// The spline equivalent of a spline-fit polyline's control frame, shared by the 2D and 3D
// polylines' getSpline.
#pragma once
#include <vector>

#include "host/ge/AcGePoint3d.h"

class AcDbSpline;

namespace fendo::db::curves {

// The uniform B-spline of the given degree over the frame (lowered to fit a short frame):
// clamped at both ends when open, periodic when closed. Null for fewer than two points.
AcDbSpline* splineOfFrame(const std::vector<AcGePoint3d>& frame, int degree, bool closed);

}  // namespace fendo::db::curves
