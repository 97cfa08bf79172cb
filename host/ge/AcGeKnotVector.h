// Knot vector of a NURBS curve: non-decreasing parameter values with a tolerance under
// which two knots are the same.
#pragma once
#include "host/core/AcArray.h"

class AcGeKnotVector : public AcGeDoubleArray {
public:
    static constexpr double kDefaultTolerance = 1e-9;

    AcGeKnotVector() = default;
    explicit AcGeKnotVector(const AcGeDoubleArray& knots, double tolerance = kDefaultTolerance)
        : AcGeDoubleArray(knots), m_tolerance(tolerance) {}

    double tolerance() const { return m_tolerance; }
    AcGeKnotVector& setTolerance(double tol) { m_tolerance = tol; return *this; }
    double startParam() const { return isEmpty() ? 0.0 : first(); }
    double endParam() const { return isEmpty() ? 0.0 : last(); }
    // How many knots equal (within the tolerance) the knot at index.
    int multiplicityAt(int index) const;
    // Number of knot intervals of non-zero length.
    int numIntervals() const;

private:
    double m_tolerance = kDefaultTolerance;
};
