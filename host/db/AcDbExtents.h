// Axis-aligned box in world coordinates, as getGeomExtents fills it.
#pragma once
#include "host/core/AcadTypes.h"
#include "host/core/AcadTypes.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"

class AcDbExtents {
public:
    AcDbExtents();
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : m_min(min), m_max(max) {}
    const AcGePoint3d& minPoint() const { return m_min; }
    const AcGePoint3d& maxPoint() const { return m_max; }
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
    void addPoint(const AcGePoint3d& pt);
    void addExt(const AcDbExtents& other);
    void expandBy(const AcGeVector3d& vec);
    void transformBy(const AcGeMatrix3d& mat);
    // True while no point has been added.
    bool isEmpty() const { return m_min.x > m_max.x; }

private:
    AcGePoint3d m_min;
    AcGePoint3d m_max;
};
