// Readers that turn opened polylines and splines into plain point, bulge and width lists,
// and the point approximation of arcs, circles and lightweight polylines.
#pragma once
#include "host/core/AcArray.h"
#include "host/ge/AcGePoint2dArray.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbCurve;
class AcDbPolyline;
class AcDb2dPolyline;
class AcDb3dPolyline;
class AcDbSpline;

// How an arc tolerance becomes the per-arc quantity q of the segment count
// n = sqrt(sweep^3 / (6 q)): Sweep takes q = sweep * tol (the callers' choice), Radius takes
// q = 2 * tol / R^2.
enum class ArcTolMode { Sweep, Radius };

// The arc tolerance every command passes.
constexpr double kArcFacetTolerance = 0.005;

// One point per vertex (world coordinates), no closing vertex; closed from the polyline.
// The optional lists get one bulge and one start and end width per vertex. Returns the count.
int readLwPolyline(const AcDbPolyline* pline, bool& closed, AcGePoint3dArray& points,
                   AcGeDoubleArray* bulges = nullptr, AcGeDoubleArray* startWidths = nullptr,
                   AcGeDoubleArray* endWidths = nullptr);
// One 2D point and bulge per vertex; a closed polyline gets its first point again with
// bulge 0. Returns the point count.
int readLwPolyline2d(const AcDbPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges);
// One entry per vertex in each list (all emptied first), no closing vertex.
int readLwPolylineWidths(const AcDbPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges,
                         AcGeDoubleArray& startWidths, AcGeDoubleArray& endWidths);
// A 2D polyline read through a temporary lightweight copy; nothing when it cannot be
// converted (spline-fit polylines).
int asLwPolyline2d(AcDb2dPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges);
int asLwPolylineWidths(AcDb2dPolyline* pline, AcGePoint2dArray& points, AcGeDoubleArray& bulges,
                       AcGeDoubleArray& startWidths, AcGeDoubleArray& endWidths);
// Every vertex position in order, leaving out positions equal (host default tolerance) to
// one already listed. Returns the count.
int read3dPolylineVertices(const AcDb3dPolyline* pline, AcGePoint3dArray& points);
// The spline's fit points; returns their count (0 without fit data).
int getSplineFitPoints(const AcDbSpline* spline, AcGePoint3dArray& points);

// Points along an arc or circle at equal parameter steps, at least 4 segments; a
// lightweight polyline goes to facetLwPolyline. Returns the segment count (the point
// count for a lightweight polyline), 0 for other curves.
int facetCircularCurve(const AcDbCurve* curve, AcGePoint3dArray& points, double tol, ArcTolMode mode);
// The vertices of a lightweight polyline with its arc segments subdivided. A polyline whose
// last vertex lies on its first (within 1e-6) is treated as closed; an open one of that kind
// ends with its first point again, a closed one gets no repeated first point. Returns the
// point count.
int facetLwPolyline(const AcDbPolyline* pline, AcGePoint3dArray& points, double tol, ArcTolMode mode);
// a + (b - a) * t / total.
double interpolateLinear(double t, double total, double a, double b);
