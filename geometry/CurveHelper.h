// Reader of one curve of the drawing by id: its vertices with bulges and widths, or a point
// approximation of its shape; and reversal of its direction in the drawing.
#pragma once
#include "geometry/CurveReaders.h"
#include "host/db/AcDbObjectId.h"

enum class CurveKind {
    Line = 0,
    Arc = 1,
    Circle = 2,
    LwPolyline = 3,
    Polyline2d = 4,
    Polyline3d = 5,
    Spline = 6,
    None = 7
};

class CurveHelper {
public:
    // The chord tolerance of spline faceting until setSplineTolerance.
    static constexpr double kDefaultSplineTolerance = 0.1;
    // Spline faceting gives up beyond this many nodes.
    static constexpr int kSplineStepLimit = 10000;

    explicit CurveHelper(AcDbObjectId id) : m_id(id) {}
    virtual ~CurveHelper() = default;

    // Vertices of a line, lightweight, 2D or 3D polyline (other kinds give none). Every list
    // is emptied first; bulges and widths are filled when given (widths both or neither).
    // 2D and 3D polylines are read through a temporary copy in the current space, which is
    // erased again. Returns the number of vertices and sets the kind.
    int getVertices(bool& closed, AcGePoint3dArray& points, AcGeDoubleArray* bulges = nullptr,
                    AcGeDoubleArray* startWidths = nullptr, AcGeDoubleArray* endWidths = nullptr);
    // Points along the curve: splines and spline-fit polylines faceted at the spline
    // tolerance, arcs, circles and lightweight polylines at arcTolerance, other polylines at
    // their vertices. Sets the kind.
    void getPoints(AcGePoint3dArray& points, bool& closed, double arcTolerance = kArcFacetTolerance,
                   ArcTolMode mode = ArcTolMode::Sweep);
    // Reverses the curve's direction in the drawing (lines, arcs, the three polyline kinds).
    void reverse();
    void setSplineTolerance(double tol) { m_splineTolerance = tol; }

    AcDbObjectId objectId() const { return m_id; }
    double splineTolerance() const { return m_splineTolerance; }
    // The kind found by the last read.
    CurveKind kind() const { return static_cast<CurveKind>(m_kind); }

private:
    AcDbObjectId m_id;
    double m_splineTolerance = kDefaultSplineTolerance;
    int m_kind = static_cast<int>(CurveKind::None);
};
