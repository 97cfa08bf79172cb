// Reading a slope symbol's edge or toe from a polyline of the drawing into a point list.
#pragma once
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbPolyline;

namespace fendo::slope {

// The number of chords of an arc of sweep theta (radians) and radius r:
// trunc(sqrt(theta^3 r^2 / 12) + 0.5).
int arcChordCount(double sweep, double radius);

// The points of a lightweight polyline: its vertices and, after each vertex that starts an arc
// (the closing segment of a closed polyline included), the arc's interior points at equal angle
// steps; the first vertex is not repeated at the end of a closed polyline.
void lightweightPolylinePoints(const AcDbPolyline& pline, AcGePoint3dArray& points);

// Opens the object for read and lists its points: a 3D or heavy 2D polyline its vertex
// positions, a lightweight polyline as above. False (and no points) for any other object,
// an object that cannot be opened, or one without vertices.
bool readSourcePolyline(AcDbObjectId id, AcGePoint3dArray& points);

}  // namespace fendo::slope
