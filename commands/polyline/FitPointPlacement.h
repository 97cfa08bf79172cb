// Placing a spline's fit points among the points of its faceted chain ("S2P", "S3P"), and the
// heights the points of a 3D result take from the fit points.
#pragma once
#include "host/ge/AcGePoint3dArray.h"

namespace fendo::poly {

// Two distances along the faceted chain closer than this are one place.
inline constexpr double kSameDistance = 1e-9;

// Puts every fit point missing from the points (none equal to it in 3D at the host's
// equal-point tolerance) at its place along them: the closest place in plan on the chain
// through the points, measured along the chain, as a lightweight polyline through the
// points at elevation 0 finds and measures it (the same segment on ties, the same distance
// to the last bit). The fit point, in plan, replaces the points within kSameDistance of that
// distance (their own distances summed in plan); once one is placed, every point takes the
// elevation z. Coordinates are expected finite.
void insertFitPoints(AcGePoint3dArray& points, const AcGePoint3dArray& fitPoints, double z);

// Heights of the points after insertFitPoints(points, fitPoints, 0): each fit point gives its
// elevation to the first point equal to it in plan, the points between two such points rise
// or fall linearly with the length in plan (each pair of successive fit points in turn), and
// the rest take z0.
void setHeightsFromFitPoints(AcGePoint3dArray& points, const AcGePoint3dArray& fitPoints, double z0);

}  // namespace fendo::poly
