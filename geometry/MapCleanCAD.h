// Vertex clean-up of a polyline's plan: the simplifier's result kept only when it still
// describes a polyline of more than two points.
#pragma once
#include "geometry/PolySimplify.h"
#include "host/ge/AcGePoint2dArray.h"

class MapCleanCAD : public ApproximatPolyline {
public:
    using ApproximatPolyline::ApproximatPolyline;

    // Empties the plane points and, when more than two points were kept, stores them all in
    // order. Returns the number stored.
    int onResult(const AcGePoint2d* kept, int keptCount, const int* sourceIndices, int sourceCount) override;

    // The kept points of the last approximation; empty when it kept two or fewer.
    const AcGePoint2dArray& planePoints() const { return m_planePoints; }

private:
    AcGePoint2dArray m_planePoints;
};
