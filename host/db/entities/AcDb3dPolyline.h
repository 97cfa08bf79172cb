// The host's 3D polyline and its vertices: world points joined by straight segments, or
// the control frame of a quadratic or cubic spline with generated fit vertices. Vertices
// are separate entities owned by the polyline (see AcDb2dPolyline.h for the DXF hooks).
#pragma once
#include "host/db/entities/AcDb2dPolyline.h"

class AcDbSpline;

class AcDb3dPolylineVertex : public AcDbVertex {
    ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);
    // The polyline edits its vertices directly (they need not be open).
    friend class AcDb3dPolyline;

public:
    AcDb3dPolylineVertex() = default;
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}

    // The vertex type the flags (group 70) of a vertex record give.
    static AcDb::Vertex3dType typeFromFlags(int flags);
    // The flags a vertex record of that type is written with.
    static int flagsOf(AcDb::Vertex3dType type);
    AcDb::Vertex3dType vertexType() const { return m_type; }
    void setVertexType(AcDb::Vertex3dType t) { m_type = t; }
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_position;
    AcDb::Vertex3dType m_type = AcDb::k3dSimpleVertex;
};

namespace fendo::db {
// A vertex as its polyline holds it without its object (see BasicSubentityList).
struct HeldVertex3d {
    AcGePoint3d position;
    AcDb::Vertex3dType type;
    static bool take(const AcDbEntity* sub, HeldVertex3d& data);
    AcDbEntity* make() const;
};
}  // namespace fendo::db

class AcDb3dPolyline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDb3dPolyline);

public:
    AcDb3dPolyline() = default;
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);

    AcDb::Poly3dType polyType() const { return m_type; }
    Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
    // As for AcDb2dPolyline::convertToPolyType.
    Acad::ErrorStatus convertToPolyType(AcDb::Poly3dType newType);
    Acad::ErrorStatus splineFit() { return convertToPolyType(AcDb::k3dCubicSplinePoly); }
    Acad::ErrorStatus straighten() { return convertToPolyType(AcDb::k3dSimplePoly); }

    bool isClosed() const override { return m_closed; }
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();

    Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& newId, AcDb3dPolylineVertex* vertex);
    Acad::ErrorStatus insertVertexAt(AcDbObjectId& newId, AcDbObjectId indexVertId, AcDb3dPolylineVertex* vertex);
    Acad::ErrorStatus insertVertexAt(const AcDb3dPolylineVertex* indexVertex, AcDb3dPolylineVertex* vertex);
    Acad::ErrorStatus openVertex(AcDb3dPolylineVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                 bool openErased = false) const;
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode);
    AcDbObjectIterator* vertexIterator() const;
    std::vector<AcDb3dPolylineVertex*> vertices() const;
    // The fitted vertices of a spline polyline (the frame when none were generated), else
    // all but frame vertices.
    std::vector<AcDb3dPolylineVertex*> shapeVertices() const;
    // Position and type of each vertex not erased, in order, and the positions of the shape
    // vertices: read without making the objects of vertices the polyline holds compactly.
    struct VertexData {
        AcGePoint3d position;
        AcDb::Vertex3dType type;
    };
    std::vector<VertexData> vertexData() const;
    std::vector<AcGePoint3d> shapePoints() const;

    bool hasSubentities() const { return true; }
    // Vertices and the SEQEND read from a file are held compactly when they carry nothing
    // beyond position, type and the polyline's common properties; their objects are made
    // when they are opened or asked for.
    Acad::ErrorStatus appendLoadedSubentity(AcDbObjectId id);
    // For a reader: whether the last vertex read is held by its handle alone, and the next
    // vertex appended held without making its object (false when its handle is in use).
    // A reader takes the second for a record that differs from a held one only in handle,
    // position and flags.
    bool lastVertexHeldByHandle() const { return m_subs.lastHeldByHandle(); }
    bool appendLoadedHeldVertex(AcDbHandle handle, const fendo::db::HeldVertex3d& vertex)
    {
        return m_subs.appendHeldLoaded(this, handle, vertex);
    }
    void setSeqendId(AcDbObjectId id);
    AcDbObjectIdArray subentityIds() const { return m_subs.ids(this); }
    AcDbObjectId seqendId() const { return m_subs.seqend(this); }

    Acad::ErrorStatus setOwnerId(AcDbObjectId owner) override;
    AcRxObject* clone() const override;
    AcDbObject* materializeHeld(AcDbStub* stub) override;
    std::unique_ptr<AcDbObject> copyOfHeld(const AcDbStub* stub) const override;
    bool adoptHeldStub(AcDbStub* stub) override;
    // For writers: the vertex records and the SEQEND in order, held ones as temporary copies
    // (see BasicSubentityList::forEachRecord), and the same run's records made beforehand.
    void forEachSubentityRecord(const std::function<void(AcDbObject*)>& fn) const { m_subs.forEachRecord(this, fn); }
    // The same, held vertices going first to `held` (see BasicSubentityList::forEachRecord).
    void forEachSubentityRecord(const std::function<void(AcDbObject*)>& fn,
                                const std::function<bool(const fendo::db::HeldVertex3d&, std::uint64_t)>& held) const
    {
        m_subs.forEachRecord(this, fn, held);
    }
    void flushSubentities() const { m_subs.flush(this); }

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    FENDO_DECLARE_CURVE_QUERIES;
    // The spline of a quadratic or cubic spline-fit polyline: the control vertices as its
    // control points, uniform knots (clamped when open, periodic when closed). A new object
    // owned by the caller; eNotApplicable for the other types.
    Acad::ErrorStatus getSpline(AcDbSpline*& spline) const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    void beforePropertiesChange(bool subentitiesFollow) override;
    void applyToSubentities(const std::function<void(AcDbEntity*)>& change) override { m_subs.forEachObject(change); }

private:
    Acad::ErrorStatus insertAt(size_t index, AcDb3dPolylineVertex* vertex, AcDbObjectId* newId);
    // The data of slot i when it is a vertex not erased: references into the held data or
    // into the vertex object; false otherwise.
    bool slotData(size_t i, AcGePoint3d*& position, AcDb::Vertex3dType*& type) const;

    AcDb::Poly3dType m_type = AcDb::k3dSimplePoly;
    bool m_closed = false;
    bool m_plinegen = false;
    fendo::db::BasicSubentityList<fendo::db::HeldVertex3d> m_subs;
};
