// The host's heavy 2D polyline and its vertices. Vertices are separate entities owned by
// the polyline (their own handles; VERTEX records followed by SEQEND in drawing files).
// Vertex positions are in the polyline's plane (OCS); z is the polyline's elevation.
//
// For the DXF reader: POLYLINE records become AcDb2dPolyline or AcDb3dPolyline by bit 8 of
// group 70, and VERTEX records AcDb2dVertex or AcDb3dPolylineVertex by bit 32; use
// fendo::db::createEntityForRecord (EntityFactory.h). Vertices read after the polyline are
// attached with appendLoadedSubentity, the SEQEND with setSeqendId (see SubentityList.h).
#pragma once
#include "host/core/AcArray.h"
#include "host/db/AcDbCurve.h"
#include "host/db/entities/SubentityList.h"
#include "host/ge/AcGePoint3dArray.h"

class AcDbSpline;

class AcDbVertex : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbVertex);

public:
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    // Vertices have no extents of their own; their polyline has.
    Acad::ErrorStatus getGeomExtents(AcDbExtents&) const override { return Acad::eInvalidExtents; }
    bool worldDraw(AcGiWorldDraw*) override { return true; }
};

class AcDb2dVertex : public AcDbVertex {
    ACRX_DECLARE_MEMBERS(AcDb2dVertex);
    // The polyline edits its vertices directly (they need not be open).
    friend class AcDb2dPolyline;

public:
    AcDb2dVertex() = default;
    explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                          double endWidth = 0.0, double tangent = 0.0, Adesk::Int32 vertexIdentifier = 0);

    AcDb::Vertex2dType vertexType() const { return m_type; }
    void setVertexType(AcDb::Vertex2dType t) { m_type = t; }
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double bulge() const { return m_bulge; }
    Acad::ErrorStatus setBulge(double b);
    double startWidth() const { return m_startWidth; }
    Acad::ErrorStatus setStartWidth(double w);
    double endWidth() const { return m_endWidth; }
    Acad::ErrorStatus setEndWidth(double w);
    bool isTangentUsed() const { return m_tangentUsed; }
    void useTangent() { m_tangentUsed = true; }
    void ignoreTangent() { m_tangentUsed = false; }
    double tangent() const { return m_tangent; }
    Acad::ErrorStatus setTangent(double t);
    Adesk::Int32 vertexIdentifier() const { return m_vertexId; }
    Acad::ErrorStatus setVertexIdentifier(Adesk::Int32 id);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_position;
    double m_bulge = 0.0, m_startWidth = 0.0, m_endWidth = 0.0, m_tangent = 0.0;
    bool m_tangentUsed = false;
    Adesk::Int32 m_vertexId = 0;
    AcDb::Vertex2dType m_type = AcDb::k2dVertex;
};

class AcDb2dPolyline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDb2dPolyline);

public:
    AcDb2dPolyline() = default;
    // Vertices at the given points (their z is ignored: the polyline lies at elevation).
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                   bool closed = false, double defStartWidth = 0.0, double defEndWidth = 0.0,
                   const AcGeDoubleArray* bulges = nullptr);
    ~AcDb2dPolyline() override = default;

    AcDb::Poly2dType polyType() const { return m_type; }
    // Sets the type only; convertToPolyType also rebuilds the vertices.
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    // To simple: spline frame vertices are dropped (the fitted ones stay as plain vertices)
    // and curve-fit vertices become plain. To a spline type: the current vertices become
    // the control frame and fit vertices are generated along the spline.
    Acad::ErrorStatus convertToPolyType(AcDb::Poly2dType newType);
    Acad::ErrorStatus splineFit() { return convertToPolyType(AcDb::k2dCubicSplinePoly); }
    Acad::ErrorStatus straighten() { return convertToPolyType(AcDb::k2dSimplePoly); }

    bool isClosed() const override { return m_closed; }
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double e);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    double defaultStartWidth() const { return m_defStartWidth; }
    Acad::ErrorStatus setDefaultStartWidth(double w);
    double defaultEndWidth() const { return m_defEndWidth; }
    Acad::ErrorStatus setDefaultEndWidth(double w);
    bool isLinetypeGenerationOn() const { return m_plinegen; }
    Acad::ErrorStatus setLinetypeGenerationOn() { m_plinegen = true; return Acad::eOk; }
    Acad::ErrorStatus setLinetypeGenerationOff() { m_plinegen = false; return Acad::eOk; }

    // Vertices. The polyline owns each vertex appended; when the polyline is in a database
    // the vertex is added to it at once, else when the polyline is added.
    Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& newId, AcDb2dVertex* vertex);
    // Inserts after the vertex indexVertId (a null id inserts at the front).
    Acad::ErrorStatus insertVertexAt(AcDbObjectId& newId, AcDbObjectId indexVertId, AcDb2dVertex* vertex);
    Acad::ErrorStatus insertVertexAt(const AcDb2dVertex* indexVertex, AcDb2dVertex* vertex);
    Acad::ErrorStatus openVertex(AcDb2dVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                 bool openErased = false) const;
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode);
    // A new iterator (deleted by the caller) over the vertices not erased.
    AcDbObjectIterator* vertexIterator() const;
    // World position of one of this polyline's vertices.
    AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;
    // Vertices not erased, in order (not opened).
    std::vector<AcDb2dVertex*> vertices() const;

    // Subentity hooks for the DXF reader and writer (see SubentityList.h).
    bool hasSubentities() const { return true; }
    Acad::ErrorStatus appendLoadedSubentity(AcDbObjectId id) { return m_subs.appendLoaded(id); }
    void setSeqendId(AcDbObjectId id) { m_subs.setSeqend(id); }
    AcDbObjectIdArray subentityIds() const { return m_subs.ids(this); }
    AcDbObjectId seqendId() const { return m_subs.seqend(this); }

    Acad::ErrorStatus setOwnerId(AcDbObjectId owner) override;
    // A copy with copies of the vertices.
    AcRxObject* clone() const override;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Lines and arcs (world coordinates) along the drawn shape.
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

    // The vertices that make the drawn shape: the fitted ones of a spline-fit polyline
    // (the frame when none were generated), else all but frame vertices.
    std::vector<AcDb2dVertex*> shapeVertices() const;

private:
    Acad::ErrorStatus insertAt(size_t index, AcDb2dVertex* vertex, AcDbObjectId* newId);

    AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
    bool m_closed = false;
    bool m_plinegen = false;
    double m_elevation = 0.0;
    double m_thickness = 0.0;
    double m_defStartWidth = 0.0;
    double m_defEndWidth = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    fendo::db::SubentityList m_subs;

protected:
    void applyToSubentities(const std::function<void(AcDbEntity*)>& change) override { m_subs.forEachObject(change); }
};
