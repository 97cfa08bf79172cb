// A list of 3D points in one host point array, with a nearest-point search and filing
// inside custom objects.
#pragma once
#include "host/core/AcadTypes.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbDwgFiler;

class CArrayPoint {
public:
    // Whether distances are measured in space or in the XY plane (both points at z = 0).
    enum class Distance { Spatial, Planar };

    CArrayPoint() = default;
    explicit CArrayPoint(const AcGePoint3dArray& points) : m_points(points) {}
    virtual ~CArrayPoint() = default;

    AcGePoint3dArray& points() { return m_points; }
    const AcGePoint3dArray& points() const { return m_points; }
    int length() const { return m_points.length(); }

    // The first point at the least distance from p (ties within 1e-10 go to the earlier
    // point) and its index; the origin and -1 for an empty list.
    AcGePoint3d nearestPoint(const AcGePoint3d& p, Distance distance, int& index) const;

    // A 16-bit count (the low 16 bits of the length) followed by the points; reading
    // replaces the list.
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);

private:
    AcGePoint3dArray m_points;
};
