// NURBS curve in space of the host's geometry library: degree, knots, control points,
// optional weights, optional fit data. A curve made from fit points is the cubic that
// interpolates them (chord-length parameters scaled to 0..1).
#pragma once
#include "host/core/AcArray.h"
#include "host/ge/AcGeKnotVector.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGePoint3dArray.h"
#include "host/ge/AcGeTol.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;
class AcGeNurbCurve3d;

namespace fendo::ge {
// The closed (periodic) cubic through the fit points; a last point equal to the first is
// dropped. With fewer than three distinct points the curve is left empty (not valid).
AcGeNurbCurve3d closedCurveThroughFitPoints(const AcGePoint3dArray& fitPoints,
                                            const AcGeTol& fitTolerance = AcGeContext::gTol);
}  // namespace fendo::ge

class AcGeNurbCurve3d {
public:
    AcGeNurbCurve3d() = default;
    // Non-rational curve from its definition. A periodic curve lists its wrapped control
    // points explicitly (the last `degree` equal the first) and its domain is
    // [knot[degree], knot[numKnots - degree - 1]].
    AcGeNurbCurve3d(int degree, const AcGeKnotVector& knots, const AcGePoint3dArray& controlPoints,
                    bool isPeriodic = false);
    // Rational curve; an empty weight array means all weights 1.
    AcGeNurbCurve3d(int degree, const AcGeKnotVector& knots, const AcGePoint3dArray& controlPoints,
                    const AcGeDoubleArray& weights, bool isPeriodic = false);
    // Open cubic through the fit points. Given end tangents fix the end directions; a
    // missing one is taken from the parabola through the three nearest fit points.
    AcGeNurbCurve3d(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                    const AcGeVector3d& endTangent, bool startTangentDefined = true,
                    bool endTangentDefined = true, const AcGeTol& fitTolerance = AcGeContext::gTol);
    AcGeNurbCurve3d(const AcGePoint3dArray& fitPoints, const AcGeTol& fitTolerance = AcGeContext::gTol);

    // Definition.
    int degree() const { return m_degree; }
    int order() const { return m_degree + 1; }
    bool isRational() const { return !m_weights.isEmpty(); }
    bool isPeriodic() const { return m_periodic; }
    bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;
    // Enough control points and knots for the degree, knots non-decreasing.
    bool isValid() const;
    int numControlPoints() const { return m_controlPoints.length(); }
    AcGePoint3d controlPointAt(int index) const { return m_controlPoints[index]; }
    AcGeNurbCurve3d& setControlPointAt(int index, const AcGePoint3d& point);
    int numKnots() const { return m_knots.length(); }
    double knotAt(int index) const { return m_knots[index]; }
    const AcGeKnotVector& knots() const { return m_knots; }
    int numWeights() const { return m_weights.length(); }
    double weightAt(int index) const { return m_weights.isEmpty() ? 1.0 : m_weights[index]; }
    AcGeNurbCurve3d& setWeightAt(int index, double weight);
    void getDefinitionData(int& degree, bool& rational, bool& periodic, AcGeKnotVector& knots,
                           AcGePoint3dArray& controlPoints, AcGeDoubleArray& weights) const;

    // Evaluation.
    double startParam() const;
    double endParam() const;
    AcGePoint3d startPoint() const { return evalPoint(startParam()); }
    AcGePoint3d endPoint() const { return evalPoint(endParam()); }
    AcGePoint3d evalPoint(double param) const;
    // The point and its first numDeriv derivatives (at most the degree) with respect to
    // the parameter. A periodic curve takes any parameter; others clamp to the domain.
    AcGePoint3d evalPoint(double param, int numDeriv, AcGeVector3dArray& derivArray) const;
    // Parameter of the curve point closest to pnt.
    double paramOf(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt) const;
    // Arc length between two parameters (negative when toParam < fromParam).
    double length(double fromParam, double toParam) const;
    double length() const { return length(startParam(), endParam()); }

    // Fit data: present on a curve made from fit points until a definition change.
    bool hasFitData() const { return !m_fitPoints.isEmpty(); }
    int numFitPoints() const { return m_fitPoints.length(); }
    bool getFitPointAt(int index, AcGePoint3d& point) const;
    bool getFitTolerance(AcGeTol& fitTolerance) const;
    bool getFitTangents(AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;
    bool getFitData(AcGePoint3dArray& fitPoints, AcGeTol& fitTolerance, bool& tangentsExist,
                    AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;
    // Replaces the curve by the cubic through the new fit points; false (curve kept)
    // with fewer than two distinct points.
    bool setFitData(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                    const AcGeVector3d& endTangent, const AcGeTol& fitTolerance = AcGeContext::gTol);
    bool setFitData(const AcGePoint3dArray& fitPoints, const AcGeTol& fitTolerance = AcGeContext::gTol);
    bool setFitPointAt(int index, const AcGePoint3d& point);
    bool addFitPointAt(int index, const AcGePoint3d& point);
    bool deleteFitPointAt(int index);
    bool setFitTangents(const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);
    bool purgeFitData();

    AcGeNurbCurve3d& reverseParam();
    AcGeNurbCurve3d& transformBy(const AcGeMatrix3d& m);

private:
    friend AcGeNurbCurve3d fendo::ge::closedCurveThroughFitPoints(const AcGePoint3dArray&, const AcGeTol&);
    enum class FitShape { kOpen, kClosed };
    bool refit();
    int findSpan(double u) const;
    double wrapParam(double param) const;

    // Whether the knots never decrease, found on the first validity test after they are set
    // (-1: not known yet); every evaluation asks, and the test walks every knot.
    bool knotsInOrder() const;
    void knotsChanged() { m_knotsInOrder = -1; }

    int m_degree = 0;
    bool m_periodic = false;
    AcGeKnotVector m_knots;
    mutable signed char m_knotsInOrder = -1;
    AcGePoint3dArray m_controlPoints;
    AcGeDoubleArray m_weights;  // empty for a non-rational curve

    AcGePoint3dArray m_fitPoints;
    AcGeTol m_fitTolerance;
    FitShape m_fitShape = FitShape::kOpen;
    bool m_startTangentDefined = false;
    bool m_endTangentDefined = false;
    AcGeVector3d m_startTangent;
    AcGeVector3d m_endTangent;
};
