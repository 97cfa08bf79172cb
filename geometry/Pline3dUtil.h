// Reader of one 3D polyline of the drawing: its shape vertices and its vertices by index.
#pragma once
#include "host/core/AcadTypes.h"
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDb3dPolylineVertex;

class Pline3dUtil {
public:
    explicit Pline3dUtil(AcDbObjectId id) : m_id(id) {}
    virtual ~Pline3dUtil() = default;

    // Appends the positions of all vertices of a simple polyline, or of the fit vertices of a
    // spline-fit one, leaving out positions equal to one already in the list. Returns the
    // count of the list, 0 when the polyline cannot be opened.
    int getVertices(AcGePoint3dArray& points);
    // Opens the vertex at index (counting from 0). In read mode the vertex is closed again at
    // once and only handed back for reading; in write mode the caller closes it. False when
    // the polyline cannot be opened or the index is past the end.
    bool openVertexAt(int index, AcDb::OpenMode mode, AcDb3dPolylineVertex*& vertex);

    AcDbObjectId objectId() const { return m_id; }
    int vertexCount() const { return m_count; }

private:
    AcDbObjectId m_id;
    int m_count = 0;
};
