// Heavy 2D and 3D polylines and their vertices: vertex ownership, poly type conversions
// (spline frames with generated fit vertices), geometry through an equivalent lightweight
// polyline, and filing as POLYLINE / VERTEX.
#include <algorithm>
#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbVertex, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, 0, 0, 0, VERTEX, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, 0, 0, 0, VERTEX, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, 0, 0, 0, POLYLINE, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, 0, 0, 0, POLYLINE, ObjectDBX Classes)

namespace {

// Segments drawn per span of a spline-fit polyline (the host's SPLINESEGS default).
constexpr int kSplineSegments = 8;

// Group 70 bits of POLYLINE and VERTEX records.
enum PolylineFlags { kClosedFlag = 1, kCurveFitFlag = 2, kSplineFitFlag = 4, k3dFlag = 8, kPlinegenFlag = 128 };
enum VertexFlags { kCurveFitExtra = 1, kTangentFlag = 2, kSplineFitVertexFlag = 8, kFrameFlag = 16, k3dVertexFlag = 32 };

// Uniform B-spline of the given degree over the frame points: clamped at both ends for an
// open frame, periodic for a closed one. Returns the points along it, kSplineSegments per span.
std::vector<AcGePoint3d> sampleFrame(const std::vector<AcGePoint3d>& frame, int degree, bool closed)
{
    std::vector<AcGePoint3d> ctrl = frame;
    const int n0 = static_cast<int>(frame.size());
    if (n0 < 2) return frame;
    degree = std::min(degree, closed ? n0 - 1 : n0 - 1);
    if (degree < 1) return frame;
    std::vector<double> knots;
    double t0 = 0.0, t1 = 0.0;
    if (closed) {
        for (int i = 0; i < degree; ++i) ctrl.push_back(frame[i]);
        const int n = static_cast<int>(ctrl.size());
        for (int i = 0; i < n + degree + 1; ++i) knots.push_back(i);
        t0 = degree;
        t1 = n;
    } else {
        const int n = n0;
        for (int i = 0; i <= degree; ++i) knots.push_back(0.0);
        for (int i = 1; i < n - degree; ++i) knots.push_back(i);
        for (int i = 0; i <= degree; ++i) knots.push_back(n - degree);
        t1 = n - degree;
    }
    const int n = static_cast<int>(ctrl.size());
    auto eval = [&](double t) {
        int k = degree;
        while (k < n - 1 && t >= knots[k + 1]) ++k;
        std::vector<AcGePoint3d> d(degree + 1);
        for (int j = 0; j <= degree; ++j) d[j] = ctrl[j + k - degree];
        for (int r = 1; r <= degree; ++r)
            for (int j = degree; j >= r; --j) {
                double den = knots[j + 1 + k - r] - knots[j + k - degree];
                double a = den > 0 ? (t - knots[j + k - degree]) / den : 0.0;
                d[j] = d[j - 1] + (d[j] - d[j - 1]) * a;
            }
        return d[degree];
    };
    std::vector<AcGePoint3d> out;
    const int steps = static_cast<int>(std::lround(t1 - t0)) * kSplineSegments;
    for (int i = 0; i <= steps; ++i) out.push_back(eval(t0 + (t1 - t0) * i / steps));
    if (closed && !out.empty()) out.pop_back();  // the closing segment returns to the start
    return out;
}

int smoothTypeOf(int degreeType)
{
    return degreeType == 2 ? 5 : 6;
}

}  // namespace

// ---- vertices -------------------------------------------------------------------------

Acad::ErrorStatus AcDbVertex::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbVertex");
    return ent::readSection(filer, [](const resbuf&) { return false; });
}

Acad::ErrorStatus AcDbVertex::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    return filer->writeString(AcDb::kDxfSubclass, L"AcDbVertex");
}

AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent, Adesk::Int32 vertexIdentifier)
    : m_position(position), m_bulge(bulge), m_startWidth(startWidth), m_endWidth(endWidth), m_tangent(tangent),
      m_vertexId(vertexIdentifier)
{
}

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& p) { assertWriteEnabled(); m_position = p; return Acad::eOk; }
Acad::ErrorStatus AcDb2dVertex::setBulge(double b) { assertWriteEnabled(); m_bulge = b; return Acad::eOk; }
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double w) { assertWriteEnabled(); m_startWidth = w; return Acad::eOk; }
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double w) { assertWriteEnabled(); m_endWidth = w; return Acad::eOk; }
Acad::ErrorStatus AcDb2dVertex::setTangent(double t) { assertWriteEnabled(); m_tangent = t; m_tangentUsed = true; return Acad::eOk; }
Acad::ErrorStatus AcDb2dVertex::setVertexIdentifier(Adesk::Int32 id) { assertWriteEnabled(); m_vertexId = id; return Acad::eOk; }

Acad::ErrorStatus AcDb2dVertex::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_position.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbVertex::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDb2dVertex");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: m_position = ent::asPoint(rb); return true;
        case 40: m_startWidth = ent::asReal(rb); return true;
        case 41: m_endWidth = ent::asReal(rb); return true;
        case 42: m_bulge = ent::asReal(rb); return true;
        case 50: m_tangent = ent::angleOfLastItem(filer); return true;
        case 91: m_vertexId = ent::asInt(rb); return true;
        case 70: {
            int f = ent::asInt(rb);
            m_tangentUsed = (f & kTangentFlag) != 0;
            m_type = (f & kFrameFlag)             ? AcDb::k2dSplineCtlVertex
                     : (f & kSplineFitVertexFlag) ? AcDb::k2dSplineFitVertex
                     : (f & kCurveFitExtra)       ? AcDb::k2dCurveFitVertex
                                                  : AcDb::k2dVertex;
            return true;
        }
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDb2dVertex::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbVertex::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDb2dVertex");
    filer->writePoint3d(AcDb::kDxfXCoord, m_position);
    if (m_startWidth != 0.0) filer->writeDouble(AcDb::kDxfReal, m_startWidth);
    if (m_endWidth != 0.0) filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_endWidth);
    if (m_bulge != 0.0) filer->writeDouble(static_cast<AcDb::DxfCode>(42), m_bulge);
    int flags = m_tangentUsed ? kTangentFlag : 0;
    switch (m_type) {
    case AcDb::k2dSplineCtlVertex: flags |= kFrameFlag; break;
    case AcDb::k2dSplineFitVertex: flags |= kSplineFitVertexFlag; break;
    case AcDb::k2dCurveFitVertex: flags |= kCurveFitExtra; break;
    default: break;
    }
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    if (m_tangentUsed) filer->writeAngle(AcDb::kDxfAngle, m_tangent);
    if (m_vertexId != 0) filer->writeInt32(static_cast<AcDb::DxfCode>(91), m_vertexId);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& p)
{
    assertWriteEnabled();
    m_position = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolylineVertex::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_position.transformBy(xform);
    return Acad::eOk;
}

AcDb::Vertex3dType AcDb3dPolylineVertex::typeFromFlags(int flags)
{
    return (flags & kFrameFlag)             ? AcDb::k3dControlVertex
           : (flags & kSplineFitVertexFlag) ? AcDb::k3dFitVertex
                                            : AcDb::k3dSimpleVertex;
}

int AcDb3dPolylineVertex::flagsOf(AcDb::Vertex3dType type)
{
    int flags = k3dVertexFlag;
    if (type == AcDb::k3dControlVertex) flags |= kFrameFlag;
    if (type == AcDb::k3dFitVertex) flags |= kSplineFitVertexFlag;
    return flags;
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbVertex::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDb3dPolylineVertex");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: m_position = ent::asPoint(rb); return true;
        case 70: m_type = typeFromFlags(ent::asInt(rb)); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbVertex::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDb3dPolylineVertex");
    filer->writePoint3d(AcDb::kDxfXCoord, m_position);
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flagsOf(m_type)));
    return filer->filerStatus();
}

namespace fendo::db {

bool HeldVertex3d::take(const AcDbEntity* sub, HeldVertex3d& data)
{
    const auto* v = AcDb3dPolylineVertex::cast(sub);
    if (!v || v->isA() != AcDb3dPolylineVertex::desc()) return false;
    data.position = v->position();
    data.type = v->vertexType();
    return true;
}

AcDbEntity* HeldVertex3d::make() const
{
    auto* v = new AcDb3dPolylineVertex(position);
    v->setVertexType(type);
    return v;
}

}  // namespace fendo::db

// ---- 2D polyline ----------------------------------------------------------------------

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               bool closed, double defStartWidth, double defEndWidth, const AcGeDoubleArray* bulges)
    : m_closed(closed), m_elevation(elevation), m_defStartWidth(defStartWidth), m_defEndWidth(defEndWidth)
{
    m_subs.reserve(static_cast<size_t>(vertices.length()));
    for (int i = 0; i < vertices.length(); ++i) {
        double b = (bulges && i < bulges->length()) ? (*bulges)[i] : 0.0;
        AcGePoint3d p(vertices[i].x, vertices[i].y, elevation);
        appendVertex(new AcDb2dVertex(p, b, defStartWidth, defEndWidth));
    }
    if (type != AcDb::k2dSimplePoly) convertToPolyType(type);
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type)
{
    assertWriteEnabled();
    m_type = type;
    return Acad::eOk;
}

std::vector<AcDb2dVertex*> AcDb2dPolyline::vertices() const
{
    std::vector<AcDb2dVertex*> out;
    for (AcDbEntity* e : m_subs.live(this))
        if (auto* v = AcDb2dVertex::cast(e)) out.push_back(v);
    return out;
}

std::vector<AcDb2dVertex*> AcDb2dPolyline::shapeVertices() const
{
    std::vector<AcDb2dVertex*> all = vertices(), fit, rest;
    for (AcDb2dVertex* v : all) {
        if (v->vertexType() == AcDb::k2dSplineFitVertex) fit.push_back(v);
        else if (v->vertexType() != AcDb::k2dSplineCtlVertex) rest.push_back(v);
    }
    if (!fit.empty()) return fit;
    if (!rest.empty()) return rest;
    return all;  // a frame whose fit vertices were never generated
}

Acad::ErrorStatus AcDb2dPolyline::convertToPolyType(AcDb::Poly2dType newType)
{
    assertWriteEnabled();
    const bool toSpline = newType == AcDb::k2dQuadSplinePoly || newType == AcDb::k2dCubicSplinePoly;
    // The frame (control vertices) is what the polyline is made of: the generated fit
    // vertices go whichever way it is converted, and are made again for a spline type.
    for (AcDb2dVertex* v : vertices())
        if (v->vertexType() == AcDb::k2dSplineFitVertex) m_subs.removeAt(this, m_subs.indexOf(v));
    std::vector<AcGePoint3d> frame;
    for (AcDb2dVertex* v : vertices()) {
        v->m_type = toSpline ? AcDb::k2dSplineCtlVertex : AcDb::k2dVertex;
        if (toSpline) v->m_bulge = 0.0;
        v->m_tangentUsed = v->m_tangentUsed && newType == AcDb::k2dFitCurvePoly;
        frame.push_back(v->m_position);
    }
    m_type = newType;
    if (!toSpline) return Acad::eOk;
    for (const AcGePoint3d& p : sampleFrame(frame, newType == AcDb::k2dQuadSplinePoly ? 2 : 3, m_closed)) {
        auto* v = new AcDb2dVertex(p);
        v->m_type = AcDb::k2dSplineFitVertex;
        m_subs.insert(this, m_subs.size(), v, nullptr);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeClosed() { assertWriteEnabled(); m_closed = true; return Acad::eOk; }
Acad::ErrorStatus AcDb2dPolyline::makeOpen() { assertWriteEnabled(); m_closed = false; return Acad::eOk; }
Acad::ErrorStatus AcDb2dPolyline::setElevation(double e)
{
    assertWriteEnabled();
    m_elevation = e;
    for (AcDb2dVertex* v : vertices()) v->m_position.z = e;
    return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& n) { assertWriteEnabled(); m_normal = ent::unitNormal(n); return Acad::eOk; }
Acad::ErrorStatus AcDb2dPolyline::setThickness(double t) { assertWriteEnabled(); m_thickness = t; return Acad::eOk; }
Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double w) { assertWriteEnabled(); m_defStartWidth = w; return Acad::eOk; }
Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double w) { assertWriteEnabled(); m_defEndWidth = w; return Acad::eOk; }

Acad::ErrorStatus AcDb2dPolyline::insertAt(size_t index, AcDb2dVertex* vertex, AcDbObjectId* newId)
{
    assertWriteEnabled();
    return m_subs.insert(this, index, vertex, newId);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex) { return insertAt(m_subs.size(), vertex, nullptr); }
Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& newId, AcDb2dVertex* vertex)
{
    return insertAt(m_subs.size(), vertex, &newId);
}

Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(AcDbObjectId& newId, AcDbObjectId indexVertId, AcDb2dVertex* vertex)
{
    if (indexVertId.isNull()) return insertAt(0, vertex, &newId);
    size_t at = m_subs.indexOf(indexVertId);
    if (at == SubentityList::npos) return Acad::eInvalidInput;
    return insertAt(at + 1, vertex, &newId);
}

Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(const AcDb2dVertex* indexVertex, AcDb2dVertex* vertex)
{
    if (!indexVertex) return insertAt(0, vertex, nullptr);
    size_t at = m_subs.indexOf(indexVertex);
    if (at == SubentityList::npos) return Acad::eInvalidInput;
    return insertAt(at + 1, vertex, nullptr);
}

Acad::ErrorStatus AcDb2dPolyline::openVertex(AcDb2dVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                             bool openErased) const
{
    vertex = nullptr;
    if (m_subs.indexOf(vertId) == SubentityList::npos) return Acad::eInvalidInput;
    return acdbOpenObject(vertex, vertId, mode, openErased);
}

Acad::ErrorStatus AcDb2dPolyline::openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode)
{
    seqend = nullptr;
    AcDbObjectId id = m_subs.seqend(this);
    if (id.isNull()) return Acad::eNotInDatabase;
    return acdbOpenObject(seqend, id, mode);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const
{
    m_subs.flush(this);
    return new AcDbObjectIterator(m_subs.liveItems(this));
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const
{
    AcGePoint3d ocs(vertex.position().x, vertex.position().y, m_elevation);
    return ent::isDefaultNormal(m_normal) ? ocs : ent::ocsToWcs(m_normal) * ocs;
}

Acad::ErrorStatus AcDb2dPolyline::setOwnerId(AcDbObjectId owner)
{
    Acad::ErrorStatus es = AcDbCurve::setOwnerId(owner);
    m_subs.flush(this);
    return es;
}

AcRxObject* AcDb2dPolyline::clone() const
{
    auto* copy = AcDb2dPolyline::cast(AcDbCurve::clone());
    if (!copy) return nullptr;
    copy->m_subs.clear(copy);
    for (AcDbEntity* v : m_subs.cloneLive(this)) copy->m_subs.insert(copy, copy->m_subs.size(), v, nullptr);
    return copy;
}

namespace {
// The lightweight polyline with the same drawn shape (bulges only for non-spline types).
void fillShape(AcDbPolyline& lw, const AcDb2dPolyline& pl)
{
    const bool spline = pl.polyType() == AcDb::k2dQuadSplinePoly || pl.polyType() == AcDb::k2dCubicSplinePoly;
    unsigned int i = 0;
    for (AcDb2dVertex* v : pl.shapeVertices())
        lw.addVertexAt(i++, {v->position().x, v->position().y}, spline ? 0.0 : v->bulge(), v->startWidth(),
                       v->endWidth());
    lw.setClosed(pl.isClosed());
    lw.setElevation(pl.elevation());
    lw.setNormal(pl.normal());
    lw.setThickness(pl.thickness());
}
}  // namespace

Acad::ErrorStatus AcDb2dPolyline::getGeomExtents(AcDbExtents& extents) const
{
    AcDbPolyline lw;
    fillShape(lw, *this);
    return lw.getGeomExtents(extents);
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform)
{
    std::vector<AcDb2dVertex*> all = vertices();
    bool arcs = std::any_of(all.begin(), all.end(), [](AcDb2dVertex* v) { return v->bulge() != 0.0; });
    const bool shapeKept = ent::keepsShape(xform);
    if (!shapeKept && arcs) return Acad::eNotApplicable;
    assertWriteEnabled();
    ent::PlaneMap map = ent::mapPlane(xform, m_normal);
    AcGeMatrix3d toOcs = ent::wcsToOcs(map.normal);
    const double scale = shapeKept ? xform.scale() : 1.0;
    AcGePoint3d origin = vertexPosition(AcDb2dVertex(AcGePoint3d(0, 0, m_elevation)));
    origin.transformBy(xform);
    double newElevation = (toOcs * origin).z;
    for (AcDb2dVertex* v : all) {
        AcGePoint3d p = vertexPosition(*v);
        p.transformBy(xform);
        AcGePoint3d local = toOcs * p;
        if (v->m_tangentUsed) {
            AcGeVector3d dir = ent::directionInOcs(v->m_tangent, m_normal);
            dir.transformBy(xform);
            v->m_tangent = ent::angleInOcs(dir, map.normal);
        }
        v->m_position = {local.x, local.y, newElevation};
        if (map.mirrored) v->m_bulge = -v->m_bulge;
        v->m_startWidth *= scale;
        v->m_endWidth *= scale;
    }
    m_elevation = newElevation;
    m_defStartWidth *= scale;
    m_defEndWidth *= scale;
    m_thickness *= scale;
    m_normal = map.normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::explode(AcDbVoidPtrArray& entitySet) const
{
    AcDbPolyline lw;
    fillShape(lw, *this);
    AcDbVoidPtrArray pieces;
    Acad::ErrorStatus es = lw.explode(pieces);
    if (es != Acad::eOk) return es;
    for (void* p : pieces) {
        auto* e = static_cast<AcDbEntity*>(p);
        if (layerId().isValid()) e->setPropertiesFrom(this);
        entitySet.append(e);
    }
    return Acad::eOk;
}

bool AcDb2dPolyline::worldDraw(AcGiWorldDraw* wd)
{
    AcDbPolyline lw;
    fillShape(lw, *this);
    wd->geometry().pline(lw);
    return true;
}

Acad::ErrorStatus AcDb2dPolyline::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    for (AcDb2dVertex* v : vertices())
        if (v->vertexType() != AcDb::k2dSplineFitVertex) gripPoints.append(vertexPosition(*v));
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    std::vector<AcDb2dVertex*> grips;
    for (AcDb2dVertex* v : vertices())
        if (v->vertexType() != AcDb::k2dSplineFitVertex) grips.push_back(v);
    AcGeVector3d local = offset;
    local.transformBy(ent::wcsToOcs(m_normal));
    for (int i : indices) {
        if (i < 0 || i >= static_cast<int>(grips.size())) continue;
        grips[i]->m_position.x += local.x;
        grips[i]->m_position.y += local.y;
    }
    if (m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly) convertToPolyType(m_type);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDb2dPolyline");
    int flags = 0, smooth = 0;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 66: return true;  // "vertices follow": they always do
        case 10: m_elevation = ent::asPoint(rb).z; return true;
        case 39: m_thickness = ent::asReal(rb); return true;
        case 70: flags = ent::asInt(rb); return true;
        case 40: m_defStartWidth = ent::asReal(rb); return true;
        case 41: m_defEndWidth = ent::asReal(rb); return true;
        case 75: smooth = ent::asInt(rb); return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
    m_closed = (flags & kClosedFlag) != 0;
    m_plinegen = (flags & kPlinegenFlag) != 0;
    m_type = (flags & kSplineFitFlag) ? (smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly)
             : (flags & kCurveFitFlag) ? AcDb::k2dFitCurvePoly
                                       : AcDb::k2dSimplePoly;
    return es;
}

Acad::ErrorStatus AcDb2dPolyline::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDb2dPolyline");
    filer->writeInt16(AcDb::kDxfHasSubentities, 1);
    filer->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d(0, 0, m_elevation));
    if (m_thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, m_thickness);
    int flags = (m_closed ? kClosedFlag : 0) | (m_plinegen ? kPlinegenFlag : 0);
    if (m_type == AcDb::k2dFitCurvePoly) flags |= kCurveFitFlag;
    const bool spline = m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly;
    if (spline) flags |= kSplineFitFlag;
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    if (m_defStartWidth != 0.0) filer->writeDouble(AcDb::kDxfReal, m_defStartWidth);
    if (m_defEndWidth != 0.0) filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_defEndWidth);
    if (spline)
        filer->writeInt16(static_cast<AcDb::DxfCode>(75),
                          static_cast<std::int16_t>(smoothTypeOf(m_type == AcDb::k2dQuadSplinePoly ? 2 : 3)));
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return filer->filerStatus();
}

// ---- 3D polyline ----------------------------------------------------------------------

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : m_closed(closed)
{
    m_subs.reserve(static_cast<size_t>(vertices.length()));
    for (const AcGePoint3d& p : vertices) appendVertex(new AcDb3dPolylineVertex(p));
    if (type != AcDb::k3dSimplePoly) convertToPolyType(type);
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type)
{
    assertWriteEnabled();
    m_type = type;
    return Acad::eOk;
}

std::vector<AcDb3dPolylineVertex*> AcDb3dPolyline::vertices() const
{
    std::vector<AcDb3dPolylineVertex*> out;
    for (AcDbEntity* e : m_subs.live(this))
        if (auto* v = AcDb3dPolylineVertex::cast(e)) out.push_back(v);
    return out;
}

bool AcDb3dPolyline::slotData(size_t i, AcGePoint3d*& position, AcDb::Vertex3dType*& type) const
{
    if (HeldVertex3d* held = m_subs.heldAt(i)) {
        position = &held->position;
        type = &held->type;
        return true;
    }
    auto* v = AcDb3dPolylineVertex::cast(m_subs.objectAt(i));
    if (!v) return false;
    position = &v->m_position;
    type = &v->m_type;
    return true;
}

std::vector<AcDb3dPolyline::VertexData> AcDb3dPolyline::vertexData() const
{
    std::vector<VertexData> out;
    out.reserve(m_subs.size());
    AcGePoint3d* position = nullptr;
    AcDb::Vertex3dType* type = nullptr;
    for (size_t i = 0; i < m_subs.size(); ++i)
        if (slotData(i, position, type)) out.push_back({*position, *type});
    return out;
}

std::vector<AcGePoint3d> AcDb3dPolyline::shapePoints() const
{
    std::vector<AcGePoint3d> all, fit, rest;
    for (const VertexData& v : vertexData()) {
        all.push_back(v.position);
        if (v.type == AcDb::k3dFitVertex) fit.push_back(v.position);
        else if (v.type != AcDb::k3dControlVertex) rest.push_back(v.position);
    }
    if (!fit.empty()) return fit;
    if (!rest.empty()) return rest;
    return all;
}

std::vector<AcDb3dPolylineVertex*> AcDb3dPolyline::shapeVertices() const
{
    std::vector<AcDb3dPolylineVertex*> all = vertices(), fit, rest;
    for (AcDb3dPolylineVertex* v : all) {
        if (v->vertexType() == AcDb::k3dFitVertex) fit.push_back(v);
        else if (v->vertexType() != AcDb::k3dControlVertex) rest.push_back(v);
    }
    if (!fit.empty()) return fit;
    if (!rest.empty()) return rest;
    return all;
}

Acad::ErrorStatus AcDb3dPolyline::convertToPolyType(AcDb::Poly3dType newType)
{
    assertWriteEnabled();
    const bool toSpline = newType != AcDb::k3dSimplePoly;
    AcGePoint3d* position = nullptr;
    AcDb::Vertex3dType* type = nullptr;
    // As for the 2D polyline: the frame stays, the generated fit vertices go.
    for (size_t i = m_subs.size(); i-- > 0;)
        if (slotData(i, position, type) && *type == AcDb::k3dFitVertex) m_subs.removeAt(this, i);
    std::vector<AcGePoint3d> frame;
    for (size_t i = 0; i < m_subs.size(); ++i) {
        if (!slotData(i, position, type)) continue;
        *type = toSpline ? AcDb::k3dControlVertex : AcDb::k3dSimpleVertex;
        frame.push_back(*position);
    }
    m_type = newType;
    if (!toSpline) return Acad::eOk;
    for (const AcGePoint3d& p : sampleFrame(frame, newType == AcDb::k3dQuadSplinePoly ? 2 : 3, m_closed)) {
        auto* v = new AcDb3dPolylineVertex(p);
        v->m_type = AcDb::k3dFitVertex;
        m_subs.insert(this, m_subs.size(), v, nullptr);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeClosed() { assertWriteEnabled(); m_closed = true; return Acad::eOk; }
Acad::ErrorStatus AcDb3dPolyline::makeOpen() { assertWriteEnabled(); m_closed = false; return Acad::eOk; }

Acad::ErrorStatus AcDb3dPolyline::insertAt(size_t index, AcDb3dPolylineVertex* vertex, AcDbObjectId* newId)
{
    assertWriteEnabled();
    return m_subs.insert(this, index, vertex, newId);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) { return insertAt(m_subs.size(), vertex, nullptr); }
Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& newId, AcDb3dPolylineVertex* vertex)
{
    return insertAt(m_subs.size(), vertex, &newId);
}

Acad::ErrorStatus AcDb3dPolyline::insertVertexAt(AcDbObjectId& newId, AcDbObjectId indexVertId,
                                                 AcDb3dPolylineVertex* vertex)
{
    if (indexVertId.isNull()) return insertAt(0, vertex, &newId);
    size_t at = m_subs.indexOf(indexVertId);
    if (at == SubentityList::npos) return Acad::eInvalidInput;
    return insertAt(at + 1, vertex, &newId);
}

Acad::ErrorStatus AcDb3dPolyline::insertVertexAt(const AcDb3dPolylineVertex* indexVertex, AcDb3dPolylineVertex* vertex)
{
    if (!indexVertex) return insertAt(0, vertex, nullptr);
    size_t at = m_subs.indexOf(indexVertex);
    if (at == SubentityList::npos) return Acad::eInvalidInput;
    return insertAt(at + 1, vertex, nullptr);
}

Acad::ErrorStatus AcDb3dPolyline::openVertex(AcDb3dPolylineVertex*& vertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                             bool openErased) const
{
    vertex = nullptr;
    if (m_subs.indexOf(vertId) == SubentityList::npos) return Acad::eInvalidInput;
    return acdbOpenObject(vertex, vertId, mode, openErased);
}

Acad::ErrorStatus AcDb3dPolyline::openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode)
{
    seqend = nullptr;
    AcDbObjectId id = m_subs.seqend(this);
    if (id.isNull()) return Acad::eNotInDatabase;
    return acdbOpenObject(seqend, id, mode);
}

AcDbObjectIterator* AcDb3dPolyline::vertexIterator() const
{
    m_subs.flush(this);
    return new AcDbObjectIterator(m_subs.liveItems(this));
}

Acad::ErrorStatus AcDb3dPolyline::setOwnerId(AcDbObjectId owner)
{
    Acad::ErrorStatus es = AcDbCurve::setOwnerId(owner);
    m_subs.flush(this);
    return es;
}

AcRxObject* AcDb3dPolyline::clone() const
{
    auto* copy = AcDb3dPolyline::cast(AcDbCurve::clone());
    if (!copy) return nullptr;
    copy->m_subs.clear(copy);
    for (AcDbEntity* v : m_subs.cloneLive(this)) copy->m_subs.insert(copy, copy->m_subs.size(), v, nullptr);
    return copy;
}

Acad::ErrorStatus AcDb3dPolyline::appendLoadedSubentity(AcDbObjectId id)
{
    Acad::ErrorStatus es = m_subs.appendLoaded(id);
    if (es == Acad::eOk) m_subs.holdLast(this);
    return es;
}

void AcDb3dPolyline::setSeqendId(AcDbObjectId id)
{
    m_subs.setSeqend(id);
    m_subs.holdSeqend(this);
}

AcDbObject* AcDb3dPolyline::materializeHeld(AcDbStub* stub) { return m_subs.materialize(this, stub); }

std::unique_ptr<AcDbObject> AcDb3dPolyline::copyOfHeld(const AcDbStub* stub) const
{
    return m_subs.copyOfHeld(this, stub);
}

bool AcDb3dPolyline::adoptHeldStub(AcDbStub* stub) { return m_subs.adopt(this, stub); }

void AcDb3dPolyline::beforePropertiesChange(bool subentitiesFollow)
{
    if (!subentitiesFollow) m_subs.materializeAll(this);
}

Acad::ErrorStatus AcDb3dPolyline::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    for (const AcGePoint3d& p : shapePoints()) extents.addPoint(p);
    return extents.isEmpty() ? Acad::eInvalidExtents : Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    AcGePoint3d* position = nullptr;
    AcDb::Vertex3dType* type = nullptr;
    for (size_t i = 0; i < m_subs.size(); ++i)
        if (slotData(i, position, type)) position->transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::explode(AcDbVoidPtrArray& entitySet) const
{
    const std::vector<AcGePoint3d> pts = shapePoints();
    const size_t n = pts.size();
    const size_t segs = n < 2 ? 0 : (m_closed ? n : n - 1);
    for (size_t i = 0; i < segs; ++i) {
        AcGePoint3d a = pts[i], b = pts[(i + 1) % n];
        if (a.isEqualTo(b)) continue;
        auto* line = new AcDbLine(a, b);
        if (layerId().isValid()) line->setPropertiesFrom(this);
        entitySet.append(line);
    }
    return Acad::eOk;
}

bool AcDb3dPolyline::worldDraw(AcGiWorldDraw* wd)
{
    std::vector<AcGePoint3d> pts = shapePoints();
    if (m_closed && !pts.empty()) pts.push_back(pts.front());
    if (pts.size() >= 2) wd->geometry().polyline(static_cast<std::uint32_t>(pts.size()), pts.data());
    return true;
}

Acad::ErrorStatus AcDb3dPolyline::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    for (const VertexData& v : vertexData())
        if (v.type != AcDb::k3dFitVertex) gripPoints.append(v.position);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    std::vector<AcGePoint3d*> grips;
    AcGePoint3d* position = nullptr;
    AcDb::Vertex3dType* type = nullptr;
    for (size_t i = 0; i < m_subs.size(); ++i)
        if (slotData(i, position, type) && *type != AcDb::k3dFitVertex) grips.push_back(position);
    for (int i : indices)
        if (i >= 0 && i < static_cast<int>(grips.size())) *grips[i] += offset;
    if (m_type != AcDb::k3dSimplePoly) convertToPolyType(m_type);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDb3dPolyline");
    int flags = k3dFlag, smooth = 0;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 66: return true;
        case 10: return true;  // always the origin for 3D polylines
        case 70: flags = ent::asInt(rb); return true;
        case 75: smooth = ent::asInt(rb); return true;
        default: return false;
        }
    });
    m_closed = (flags & kClosedFlag) != 0;
    m_plinegen = (flags & kPlinegenFlag) != 0;
    m_type = (flags & kSplineFitFlag) ? (smooth == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly)
                                      : AcDb::k3dSimplePoly;
    return es;
}

Acad::ErrorStatus AcDb3dPolyline::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDb3dPolyline");
    filer->writeInt16(AcDb::kDxfHasSubentities, 1);
    filer->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d::kOrigin);
    int flags = k3dFlag | (m_closed ? kClosedFlag : 0) | (m_plinegen ? kPlinegenFlag : 0);
    if (m_type != AcDb::k3dSimplePoly) flags |= kSplineFitFlag;
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    if (m_type != AcDb::k3dSimplePoly)
        filer->writeInt16(static_cast<AcDb::DxfCode>(75),
                          static_cast<std::int16_t>(smoothTypeOf(m_type == AcDb::k3dQuadSplinePoly ? 2 : 3)));
    return filer->filerStatus();
}
