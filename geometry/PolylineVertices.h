// The vertex list of a polyline of any of the three kinds (lightweight, 2D, 3D): its plan
// vertices as seen from above, and rewriting the whole list in place.
#pragma once
#include "host/core/AcArray.h"
#include "host/core/AcadTypes.h"
#include "host/ge/AcGePoint2dArray.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbEntity;

// The (x, y) of every vertex in order. A lightweight polyline gives its first point again at
// the end when it is closed; a 2D polyline gives the same list through a temporary
// lightweight copy (nothing for a spline-fit one); a 3D polyline leaves out positions equal to
// one already listed. Other entities give nothing. Returns the count.
int readPlanVertices(AcDbEntity* pline, AcGePoint2dArray& points);

// Replaces every vertex of a polyline opened for write by one per point, keeping its closed
// state: a lightweight polyline keeps its elevation and gets (x, y) vertices with default
// widths; a 2D polyline gets simple vertices at its elevation; a 3D polyline gets simple
// vertices at the points, with the polyline's properties. Bulges, when given, go with the
// points one for one (a lightweight or 2D polyline only); otherwise every segment is straight.
// A closed polyline's list that ends on its first point loses that repeated point. Lists of
// fewer than two points leave the polyline unchanged (eInvalidInput).
Acad::ErrorStatus replaceVertices(AcDbEntity* pline, const AcGePoint3dArray& points,
                                  const AcGeDoubleArray* bulges = nullptr);
