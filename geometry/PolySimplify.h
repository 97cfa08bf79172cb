// Simplification of an open chain of plane points: vertex reduction followed by
// Douglas-Peucker refinement, keeping every dropped point within the tolerance.
#pragma once
#include <memory>
#include <vector>
#include "host/ge/AcGePoint2d.h"

// The algorithm object; it keeps no state between runs.
class PolySimplyfy {
public:
    // Fills kept with the kept points and sourceIndices with their indices in the input
    // chain; returns the kept count (0 for an empty chain).
    int simplify(double tolerance, const AcGePoint2d* points, int count, std::vector<AcGePoint2d>& kept,
                 std::vector<int>& sourceIndices) const;
};

// An owned copy of the chain to simplify. Chains of fewer than four points are not stored,
// so that nothing comes out of approximating them.
class ApproximatPolylineData {
public:
    // Below this many points a chain is not stored.
    static constexpr int kMinStoredPoints = 4;

    ApproximatPolylineData(const AcGePoint2d* points, int count);
    virtual ~ApproximatPolylineData() = default;

    const AcGePoint2d* points() const { return m_points.data(); }
    int count() const { return static_cast<int>(m_points.size()); }

private:
    std::vector<AcGePoint2d> m_points;
};

// Base for users of the simplifier: they receive the kept points by overriding onResult.
class ApproximatPolyline {
public:
    ApproximatPolyline(const AcGePoint2d* points, int count);
    virtual ~ApproximatPolyline() = default;
    ApproximatPolyline(const ApproximatPolyline&) = delete;
    ApproximatPolyline& operator=(const ApproximatPolyline&) = delete;

    // The result operation: the kept points, their count, their indices in the source chain
    // and the source count. The base version ignores them.
    virtual int onResult(const AcGePoint2d* kept, int keptCount, const int* sourceIndices, int sourceCount);

    // Simplifies the stored chain and hands a non-empty result to onResult; returns the
    // kept count, 0 when the chain was not stored.
    int Approximate(double tolerance);

    const ApproximatPolylineData& data() const { return *m_data; }

private:
    std::unique_ptr<ApproximatPolylineData> m_data;
};
