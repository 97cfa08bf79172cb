// The host's lightweight polyline: 2D vertices in the plane of its normal at an elevation,
// each with a bulge (tan of a quarter of the arc's included angle) and start and end widths.
#pragma once
#include <vector>
#include "host/db/AcDbCurve.h"
#include "host/ge/AcGePoint2d.h"

class AcDb2dPolyline;
class AcGeLineSeg2d;
class AcGeLineSeg3d;
class AcGeCircArc2d;
class AcGeCircArc3d;

class AcDbPolyline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbPolyline);

public:
    enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };

    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned int reserve);

    unsigned int numVerts() const { return static_cast<unsigned int>(m_verts.size()); }
    // A negative width takes the polyline's constant width (0 when it has none).
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0,
                                  Adesk::Int32 vertexIdentifier = 0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    // Point in the polyline's plane (OCS), or in world coordinates.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    Acad::ErrorStatus getVertexIdentifierAt(unsigned int index, Adesk::Int32& id) const;
    Acad::ErrorStatus setVertexIdentifierAt(unsigned int index, Adesk::Int32 id);

    // Constant width: every segment's widths equal (fails with eInvalidInput otherwise).
    Acad::ErrorStatus getConstantWidth(double& width) const;
    double constantWidth() const;
    Acad::ErrorStatus setConstantWidth(double width);
    bool hasWidth() const;
    bool hasBulges() const;
    bool isOnlyLines() const { return !hasBulges(); }

    bool isClosed() const override { return m_closed; }
    void setClosed(bool closed);
    bool hasPlinegen() const { return m_plinegen; }
    void setPlinegen(bool on);
    double elevation() const { return m_elevation; }
    void setElevation(double elev);
    AcGeVector3d normal() const { return m_normal; }
    void setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);

    // Empties the polyline (reuse false) or keeps the first newSize vertices (reuse true).
    void reset(bool reuse, unsigned int newSize);
    void minimizeMemory()
    {
        m_verts.shrink_to_fit();
        m_extra.shrink_to_fit();
    }
    void maximizeMemory() {}

    // The kind of the segment starting at a vertex: kEmpty past the last segment (and for
    // the last vertex of an open polyline), kPoint for a polyline of one vertex,
    // kCoincident when the segment's ends coincide.
    SegType segType(unsigned int index) const;
    Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg2d& seg) const;
    Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& seg) const;
    Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const;
    Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;
    bool onSegAt(unsigned int index, const AcGePoint2d& pt, double& param) const;

    // Takes the vertices, flags, elevation, normal and common properties of a simple or
    // fit-curve AcDb2dPolyline (spline-fit ones: eIllegalEntityType). With transferId the
    // polyline takes the other's place in its database (same id and handle; its vertices
    // are erased and the old object deleted) and ent then points at this polyline, which
    // is open for write.
    Acad::ErrorStatus convertFrom(AcDbEntity*& ent, bool transferId = true);
    // Makes a new simple AcDb2dPolyline with the same shape (not in a database).
    Acad::ErrorStatus convertTo(AcDb2dPolyline*& pline, bool transferId = true);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // Refused (eNotApplicable) for non-uniform scalings when the polyline has arcs.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Lines and arcs in world coordinates, one per non-degenerate segment.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    FENDO_DECLARE_CURVE_QUERIES;
    // Positive distances offset to the right of the direction of travel (seen from the
    // normal's side): outwards for circles, arcs and counter-clockwise closed polylines.
    Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    struct Vertex {
        AcGePoint2d pt;
        double bulge = 0.0;
    };
    // Widths and identifier, which most polylines do not have: kept for every vertex once one
    // vertex has any, so that a plain polyline's vertex takes half the room.
    struct VertexExtra {
        double startWidth = 0.0;
        double endWidth = 0.0;
        Adesk::Int32 id = 0;
        bool isZero() const { return startWidth == 0.0 && endWidth == 0.0 && id == 0; }
    };
    AcGePoint3d toWorld(const AcGePoint2d& p) const;
    unsigned int nextIndex(unsigned int index) const { return index + 1 < numVerts() ? index + 1 : 0; }
    VertexExtra extraAt(unsigned int index) const { return m_extra.empty() ? VertexExtra{} : m_extra[index]; }
    // The extra data of a vertex to change, making the list of them first if need be.
    VertexExtra& extraFor(unsigned int index)
    {
        if (m_extra.empty()) m_extra.resize(m_verts.size());
        return m_extra[index];
    }
    void placeVertex(unsigned int index, const Vertex& v, const VertexExtra& extra);

    std::vector<Vertex> m_verts;
    // Empty, or one for each vertex.
    std::vector<VertexExtra> m_extra;
    bool m_closed = false;
    bool m_plinegen = false;
    double m_elevation = 0.0;
    double m_thickness = 0.0;
    double m_constWidth = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
};
