// The height of each vertex of the host's three polyline kinds, as the
// elevation checks and the point-from-vertex command read it.
#pragma once
#include <vector>

#include "host/ge/AcGePoint3d.h"

class AcDbEntity;
class AcDb2dPolyline;

namespace fendo::survey {

// True when the elevation counts as zero (within the height tolerance).
bool isZeroHeight(double z);

// (x, y, height) of every vertex in order, a closed polyline's first vertex
// once: a 3D polyline's vertex z; a lightweight polyline's elevation; a fitted
// or splined 2D polyline's elevation; a simple 2D polyline's vertex z, or its
// elevation when that z is zero and the elevation is not. Nothing for any other
// object.
std::vector<AcGePoint3d> vertexHeights(const AcDbEntity* entity);

// The vertex positions of a 2D polyline as stored, z included.
std::vector<AcGePoint3d> storedVertices(const AcDb2dPolyline* pline);

}  // namespace fendo::survey
