// Lightweight polyline: vertex editing, segments, conversion from heavy 2D polylines,
// extents with arcs, transformations and filing as LWPOLYLINE.
#include "host/db/entities/AcDbPolyline.h"

#include <algorithm>
#include <cmath>

#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/AcGeCircArc2d.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeLineSeg2d.h"
#include "host/ge/AcGeLineSeg3d.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, 0, 0, 0, LWPOLYLINE, ObjectDBX Classes)

AcDbPolyline::AcDbPolyline(unsigned int reserve)
{
    m_verts.reserve(reserve);
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth, Adesk::Int32 vertexIdentifier)
{
    if (index > numVerts()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    placeVertex(index, {pt, bulge},
                {startWidth < 0.0 ? m_constWidth : startWidth, endWidth < 0.0 ? m_constWidth : endWidth, vertexIdentifier});
    return Acad::eOk;
}

void AcDbPolyline::placeVertex(unsigned int index, const Vertex& v, const VertexExtra& extra)
{
    m_verts.insert(m_verts.begin() + index, v);
    if (m_extra.empty() && extra.isZero()) return;
    if (m_extra.empty()) m_extra.resize(m_verts.size() - 1);
    m_extra.insert(m_extra.begin() + index, extra);
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index)
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_verts.erase(m_verts.begin() + index);
    if (!m_extra.empty()) m_extra.erase(m_extra.begin() + index);
    return Acad::eOk;
}

AcGePoint3d AcDbPolyline::toWorld(const AcGePoint2d& p) const
{
    AcGePoint3d ocs(p.x, p.y, m_elevation);
    if (ent::isDefaultNormal(m_normal)) return ocs;
    return ent::ocsToWcs(m_normal) * ocs;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    pt = m_verts[index].pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    pt = toWorld(m_verts[index].pt);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt)
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_verts[index].pt = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    bulge = m_verts[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge)
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_verts[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    const VertexExtra extra = extraAt(index);
    startWidth = extra.startWidth;
    endWidth = extra.endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth)
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    if (startWidth < 0.0 || endWidth < 0.0) return Acad::eInvalidInput;
    assertWriteEnabled();
    if (m_extra.empty() && startWidth == 0.0 && endWidth == 0.0) return Acad::eOk;
    VertexExtra& extra = extraFor(index);
    extra.startWidth = startWidth;
    extra.endWidth = endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getVertexIdentifierAt(unsigned int index, Adesk::Int32& id) const
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    id = extraAt(index).id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setVertexIdentifierAt(unsigned int index, Adesk::Int32 id)
{
    if (index >= numVerts()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    if (m_extra.empty() && id == 0) return Acad::eOk;
    extraFor(index).id = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const
{
    if (m_verts.empty()) {
        width = m_constWidth;
        return Acad::eOk;
    }
    width = extraAt(0).startWidth;
    for (const VertexExtra& x : m_extra)
        if (x.startWidth != width || x.endWidth != width) return Acad::eInvalidInput;
    return Acad::eOk;
}

double AcDbPolyline::constantWidth() const
{
    double w = 0.0;
    return getConstantWidth(w) == Acad::eOk ? w : 0.0;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width)
{
    if (width < 0.0) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_constWidth = width;
    if (m_extra.empty() && width == 0.0) return Acad::eOk;
    if (m_extra.empty()) m_extra.resize(m_verts.size());
    for (VertexExtra& x : m_extra) x.startWidth = x.endWidth = width;
    return Acad::eOk;
}

bool AcDbPolyline::hasWidth() const
{
    for (const VertexExtra& x : m_extra)
        if (x.startWidth != 0.0 || x.endWidth != 0.0) return true;
    return false;
}

bool AcDbPolyline::hasBulges() const
{
    for (const Vertex& v : m_verts)
        if (v.bulge != 0.0) return true;
    return false;
}

void AcDbPolyline::setClosed(bool closed)
{
    assertWriteEnabled();
    m_closed = closed;
}

void AcDbPolyline::setPlinegen(bool on)
{
    assertWriteEnabled();
    m_plinegen = on;
}

void AcDbPolyline::setElevation(double elev)
{
    assertWriteEnabled();
    m_elevation = elev;
}

void AcDbPolyline::setNormal(const AcGeVector3d& n)
{
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
}

Acad::ErrorStatus AcDbPolyline::setThickness(double t)
{
    assertWriteEnabled();
    m_thickness = t;
    return Acad::eOk;
}

void AcDbPolyline::reset(bool reuse, unsigned int newSize)
{
    assertWriteEnabled();
    if (!reuse) {
        m_verts.clear();
        m_extra.clear();
    } else if (newSize < numVerts()) {
        m_verts.resize(newSize);
        if (!m_extra.empty()) m_extra.resize(newSize);
    }
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const
{
    const unsigned int n = numVerts();
    if (index >= n) return kEmpty;
    if (n == 1) return kPoint;
    if (index == n - 1 && !m_closed) return kEmpty;
    const Vertex& a = m_verts[index];
    const Vertex& b = m_verts[nextIndex(index)];
    if (a.pt.isEqualTo(b.pt)) return kCoincident;
    return std::abs(a.bulge) > fendo::ge::kStraightBulge ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg2d& seg) const
{
    SegType t = segType(index);
    if (t != kLine && t != kCoincident) return Acad::eInvalidIndex;
    seg.set(m_verts[index].pt, m_verts[nextIndex(index)].pt);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg3d& seg) const
{
    SegType t = segType(index);
    if (t != kLine && t != kCoincident) return Acad::eInvalidIndex;
    seg.set(toWorld(m_verts[index].pt), toWorld(m_verts[nextIndex(index)].pt));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const
{
    if (segType(index) != kArc) return Acad::eInvalidIndex;
    const Vertex& a = m_verts[index];
    const Vertex& b = m_verts[nextIndex(index)];
    auto ba = fendo::ge::arcFromBulge(a.pt, b.pt, a.bulge);
    if (!ba) return Acad::eDegenerateGeometry;
    arc = AcGeCircArc2d(a.pt, fendo::ge::pointOnBulgeSegment(a.pt, b.pt, a.bulge, 0.5), b.pt);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const
{
    if (segType(index) != kArc) return Acad::eInvalidIndex;
    const Vertex& a = m_verts[index];
    const Vertex& b = m_verts[nextIndex(index)];
    auto ba = fendo::ge::arcFromBulge(a.pt, b.pt, a.bulge);
    if (!ba) return Acad::eDegenerateGeometry;
    // Counter-clockwise about the normal from the start vertex (clockwise arcs are given
    // from their end), the host's convention for arcs of the polyline's plane.
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(m_normal, u, v);
    double s = ba->ccw ? ba->startAngle : ba->endAngle;
    double e = ba->ccw ? ba->endAngle : ba->startAngle;
    double sweep = ent::normalizeAngle(e - s);
    arc.set(toWorld(ba->center), m_normal, u, ba->radius, s, s + sweep);
    return Acad::eOk;
}

bool AcDbPolyline::onSegAt(unsigned int index, const AcGePoint2d& pt, double& param) const
{
    SegType t = segType(index);
    if (t != kLine && t != kArc) return false;
    const Vertex& a = m_verts[index];
    const Vertex& b = m_verts[nextIndex(index)];
    fendo::ge::SegmentPoint sp = fendo::ge::closestPointOnBulgeSegment(a.pt, b.pt, a.bulge, pt);
    if (!sp.point.isEqualTo(pt)) return false;
    param = index + sp.fraction;
    return true;
}

Acad::ErrorStatus AcDbPolyline::convertFrom(AcDbEntity*& entity, bool transferId)
{
    auto* pl2d = AcDb2dPolyline::cast(entity);
    if (!pl2d) return Acad::eIllegalEntityType;
    assertWriteEnabled();
    m_verts.clear();
    m_extra.clear();
    // The shape as drawn: a spline-fit polyline gives its generated fit vertices, not its
    // frame; a frame vertex, if that is all there is, is a position only.
    for (AcDb2dVertex* v : pl2d->shapeVertices())
        placeVertex(numVerts(),
                    {{v->position().x, v->position().y}, v->vertexType() == AcDb::k2dSplineCtlVertex ? 0.0 : v->bulge()},
                    {v->startWidth(), v->endWidth(), v->vertexIdentifier()});
    m_closed = pl2d->isClosed();
    m_plinegen = pl2d->isLinetypeGenerationOn();
    m_elevation = pl2d->elevation();
    m_normal = pl2d->normal();
    m_thickness = pl2d->thickness();
    if (pl2d->layerId().isValid()) setPropertiesFrom(pl2d);

    if (!transferId || pl2d->objectId().isNull()) return Acad::eOk;
    // Take the other polyline's place: same stub (id and handle), same owner, open for
    // write as the other was; its vertices go, and the old object is freed.
    if (!objectId().isNull()) return Acad::eAlreadyInDb;
    AcDbObjectId id = pl2d->objectId();
    AcDbObjectIdArray vertexIds = pl2d->subentityIds();
    AcDbObjectId seqend = pl2d->seqendId();
    for (AcDbObjectId vid : vertexIds) {
        AcDbObject* v = nullptr;
        if (acdbOpenAcDbObject(v, vid, AcDb::kForWrite) == Acad::eOk) {
            v->erase();
            v->close();
        }
    }
    AcDbObject* s = nullptr;
    if (acdbOpenAcDbObject(s, seqend, AcDb::kForWrite) == Acad::eOk) {
        s->erase();
        s->close();
    }
    AcDbObject::setOwnerId(pl2d->ownerId());
    if (const auto* xd = pl2d->rawXData()) setRawXData(*xd);
    ObjectAccess::setId(pl2d, AcDbObjectId::kNull);
    ObjectAccess::setId(this, id);
    id.stub()->object = this;
    ObjectAccess::writer(this) = true;
    ObjectAccess::writer(pl2d) = false;
    ObjectAccess::readers(pl2d) = 0;
    delete pl2d;
    entity = this;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::convertTo(AcDb2dPolyline*& pline, bool transferId)
{
    (void)transferId;  // the new polyline is handed back outside any database
    AcGePoint3dArray pts;
    AcGeDoubleArray bulges;
    for (const Vertex& v : m_verts) {
        pts.append({v.pt.x, v.pt.y, m_elevation});
        bulges.append(v.bulge);
    }
    pline = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, m_elevation, m_closed, 0.0, 0.0, &bulges);
    pline->setNormal(m_normal);
    pline->setThickness(m_thickness);
    int i = 0;
    for (AcDb2dVertex* v : pline->vertices()) {
        const VertexExtra extra = extraAt(static_cast<unsigned int>(i));
        v->setStartWidth(extra.startWidth);
        v->setEndWidth(extra.endWidth);
        ++i;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    if (m_verts.empty()) return Acad::eInvalidExtents;
    for (unsigned int i = 0; i < numVerts(); ++i) {
        extents.addPoint(toWorld(m_verts[i].pt));
        if (segType(i) != kArc) continue;
        const Vertex& a = m_verts[i];
        const Vertex& b = m_verts[nextIndex(i)];
        auto ba = fendo::ge::arcFromBulge(a.pt, b.pt, a.bulge);
        if (!ba) continue;
        double s = ba->ccw ? ba->startAngle : ba->endAngle;
        double e = ba->ccw ? ba->endAngle : ba->startAngle;
        double sweep = ent::normalizeAngle(e - s);
        ent::addArcExtents(extents, toWorld(ba->center), ba->radius, m_normal, s, s + sweep);
    }
    if (m_thickness != 0.0) {
        AcDbExtents top = extents;
        top.transformBy(AcGeMatrix3d::translation(m_normal * m_thickness));
        extents.addExt(top);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform)
{
    const bool shapeKept = ent::keepsShape(xform);
    if (!shapeKept && hasBulges()) return Acad::eNotApplicable;
    assertWriteEnabled();
    ent::PlaneMap map = ent::mapPlane(xform, m_normal);
    AcGeMatrix3d toOcs = ent::wcsToOcs(map.normal);
    double scale = shapeKept ? xform.scale() : 1.0;
    AcGePoint3d origin = toWorld(AcGePoint2d(0, 0));
    origin.transformBy(xform);
    m_elevation = (toOcs * origin).z;
    for (Vertex& v : m_verts) {
        AcGePoint3d p = toWorld(v.pt);
        p.transformBy(xform);
        AcGePoint3d local = toOcs * p;
        v.pt = {local.x, local.y};
        if (map.mirrored) v.bulge = -v.bulge;
    }
    for (VertexExtra& x : m_extra) {
        x.startWidth *= scale;
        x.endWidth *= scale;
    }
    m_constWidth *= scale;
    m_thickness *= scale;
    m_normal = map.normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entitySet) const
{
    for (unsigned int i = 0; i < numVerts(); ++i) {
        SegType t = segType(i);
        AcDbCurve* piece = nullptr;
        if (t == kLine) {
            auto* line = new AcDbLine(toWorld(m_verts[i].pt), toWorld(m_verts[nextIndex(i)].pt));
            line->setNormal(m_normal);
            line->setThickness(m_thickness);
            piece = line;
        } else if (t == kArc) {
            AcGeCircArc3d ga;
            if (getArcSegAt(i, ga) != Acad::eOk) continue;
            auto* arc = new AcDbArc(ga.center(), m_normal, ga.radius(), ga.startAng(), ga.endAng());
            arc->setThickness(m_thickness);
            piece = arc;
        }
        if (!piece) continue;
        if (layerId().isValid()) piece->setPropertiesFrom(this);
        entitySet.append(piece);
    }
    return Acad::eOk;
}

bool AcDbPolyline::worldDraw(AcGiWorldDraw* wd)
{
    wd->geometry().pline(*this);
    return true;
}

Acad::ErrorStatus AcDbPolyline::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    for (const Vertex& v : m_verts) gripPoints.append(toWorld(v.pt));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    AcGeVector3d local = offset;
    local.transformBy(ent::wcsToOcs(m_normal));
    for (int i : indices) {
        if (i < 0 || i >= static_cast<int>(numVerts())) continue;
        m_verts[i].pt += AcGeVector2d(local.x, local.y);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbPolyline");
    m_verts.clear();
    m_extra.clear();
    bool haveConstWidth = false;
    long long count = -1;
    int countLine = 0;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 90:
            count = ent::asInt(rb);
            countLine = filer->lastLine();
            // Room for the vertices at once (a count beyond any real polyline is not trusted:
            // the list grows past it as vertices come).
            if (count > 0 && m_verts.empty()) m_verts.reserve(static_cast<size_t>(std::min<long long>(count, 4096)));
            return true;
        case 70: {
            int flags = ent::asInt(rb);
            m_closed = (flags & 1) != 0;
            m_plinegen = (flags & 128) != 0;
            return true;
        }
        case 43: m_constWidth = ent::asReal(rb); haveConstWidth = true; return true;
        case 38: m_elevation = ent::asReal(rb); return true;
        case 39: m_thickness = ent::asReal(rb); return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        case 10: {
            const AcGePoint3d p = ent::asPoint(rb);
            placeVertex(numVerts(), {{p.x, p.y}, 0.0}, {m_constWidth, m_constWidth, 0});
            return true;
        }
        case 42: if (m_verts.empty()) return false; m_verts.back().bulge = ent::asReal(rb); return true;
        case 40:
        case 41:
        case 91: {
            if (m_verts.empty()) return false;
            const double value = ent::asReal(rb);
            // Zeros many writers give for every vertex change nothing: no list is made for them.
            if (m_extra.empty() && value == 0.0) return true;
            VertexExtra& extra = extraFor(numVerts() - 1);
            if (rb.restype == 40) extra.startWidth = value;
            else if (rb.restype == 41) extra.endWidth = value;
            else extra.id = ent::asInt(rb);
            return true;
        }
        default: return false;
        }
    });
    if (!haveConstWidth) m_constWidth = 0.0;
    if (es == Acad::eOk && count > static_cast<long long>(m_verts.size()))
        return ent::countNotBorneOut(filer, countLine, 90, count, m_verts.size(), "vertices");
    return es;
}

Acad::ErrorStatus AcDbPolyline::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbPolyline");
    filer->writeInt32(AcDb::kDxfInt32, static_cast<std::int32_t>(m_verts.size()));
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>((m_closed ? 1 : 0) | (m_plinegen ? 128 : 0)));
    double cw = 0.0;
    const bool constant = getConstantWidth(cw) == Acad::eOk;
    if (constant) filer->writeDouble(static_cast<AcDb::DxfCode>(43), cw);
    if (m_elevation != 0.0) filer->writeDouble(AcDb::kDxfElevation, m_elevation);
    if (m_thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, m_thickness);
    for (unsigned int i = 0; i < numVerts(); ++i) {
        const Vertex& v = m_verts[i];
        const VertexExtra extra = extraAt(i);
        filer->writePoint2d(AcDb::kDxfXCoord, v.pt);
        if (!constant) {
            filer->writeDouble(AcDb::kDxfReal, extra.startWidth);
            filer->writeDouble(static_cast<AcDb::DxfCode>(41), extra.endWidth);
        }
        if (v.bulge != 0.0) filer->writeDouble(static_cast<AcDb::DxfCode>(42), v.bulge);
        if (extra.id != 0) filer->writeInt32(static_cast<AcDb::DxfCode>(91), extra.id);
    }
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return filer->filerStatus();
}
