// Hatch (mostly kept as read), viewport (kept as read) and group objects.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/db/entities/AcDbGroup.h"
#include "host/db/entities/AcDbHatch.h"
#include "host/db/entities/AcDbViewport.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/AcGeVector2d.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, 0, 0, 0, HATCH, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbViewport, AcDbEntity, 0, 0, 0, VIEWPORT, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbGroup, AcDbObject, 0, 0, 0, GROUP, ObjectDBX Classes)

// ---- hatch ----------------------------------------------------------------------------

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name)
{
    assertWriteEnabled();
    m_patternType = type;
    m_pattern = name;
    m_solid = fendo::equalsNoCase(m_pattern, L"SOLID");
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setElevation(double e) { assertWriteEnabled(); m_elevation = e; return Acad::eOk; }

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    const auto* kept = keptGroups();
    if (!kept) return Acad::eInvalidExtents;
    AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    // Boundary data lies between the loop count (91) and the style (75); x of a vertex or
    // edge end is 10 or 11, its y the 20 or 21 that follows.
    bool inLoops = false;
    double x = 0.0;
    int pendingX = 0;
    for (const KeptGroup& g : *kept) {
        if (g.subclass != L"AcDbHatch") continue;
        const short c = g.tag.code;
        if (c == 91) inLoops = true;
        else if (c == 75) inLoops = false;
        if (!inLoops) continue;
        if (c == 10 || c == 11) {
            x = std::strtod(g.tag.value.c_str(), nullptr);
            pendingX = c;
        } else if ((c == 20 || c == 21) && pendingX == c - 10) {
            double y = std::strtod(g.tag.value.c_str(), nullptr);
            extents.addPoint(toWorld * AcGePoint3d(x, y, m_elevation));
            pendingX = 0;
        }
    }
    return extents.isEmpty() ? Acad::eInvalidExtents : Acad::eOk;
}

namespace {

// Reads the kept loop groups of a hatch one after another.
class LoopReader {
public:
    explicit LoopReader(const std::vector<AcDbObject::KeptGroup>& kept)
    {
        bool inLoops = false;
        for (const AcDbObject::KeptGroup& g : kept) {
            if (g.subclass != L"AcDbHatch") continue;
            if (g.tag.code == 91) inLoops = true;
            else if (g.tag.code == 75 && inLoops) break;
            if (inLoops) m_tags.push_back(&g.tag);
        }
    }
    bool atEnd() const { return m_at >= m_tags.size(); }
    short peek() const { return atEnd() ? -1 : m_tags[m_at]->code; }
    // The value of the next group when it has `code` (else 0, nothing consumed).
    double take(short code)
    {
        if (peek() != code) return 0.0;
        return std::strtod(m_tags[m_at++]->value.c_str(), nullptr);
    }
    void skip() { ++m_at; }

private:
    std::vector<const fendo::db::RawTag*> m_tags;
    size_t m_at = 0;
};

// Points of an arc edge (angles in degrees, clockwise edges stored with mirrored angles).
void addArcEdge(std::vector<AcGePoint2d>& pts, const AcGePoint2d& c, double rx, const AcGeVector2d& major, double ratio,
                double a0, double a1, bool ccw)
{
    constexpr int kSegmentsPerTurn = 72;
    constexpr double kDeg = 3.14159265358979323846 / 180.0;
    if (!ccw) {
        a0 = 360.0 - a0;
        a1 = 360.0 - a1;
        std::swap(a0, a1);
    }
    double sweep = a1 - a0;
    while (sweep <= 0) sweep += 360.0;
    const int k = std::max(2, static_cast<int>(sweep / 360.0 * kSegmentsPerTurn));
    const AcGeVector2d u = major.isZeroLength() ? AcGeVector2d(rx, 0) : major;
    const AcGeVector2d v(-u.y * ratio, u.x * ratio);
    std::vector<AcGePoint2d> arc;
    for (int j = 0; j <= k; ++j) {
        const double t = (a0 + sweep * j / k) * kDeg;
        arc.push_back(c + u * std::cos(t) + v * std::sin(t));
    }
    if (!ccw) std::reverse(arc.begin(), arc.end());
    pts.insert(pts.end(), arc.begin(), arc.end());
}

std::vector<std::vector<AcGePoint2d>> hatchLoops(const std::vector<AcDbObject::KeptGroup>& kept)
{
    std::vector<std::vector<AcGePoint2d>> loops;
    LoopReader r(kept);
    const int count = static_cast<int>(r.take(91));
    for (int loop = 0; loop < count && r.peek() == 92; ++loop) {
        const int flags = static_cast<int>(r.take(92));
        std::vector<AcGePoint2d> pts;
        if (flags & 2) {
            const bool bulges = r.take(72) != 0;
            r.take(73);
            const int n = static_cast<int>(r.take(93));
            std::vector<double> bulge;
            for (int i = 0; i < n && r.peek() == 10; ++i) {
                const double x = r.take(10), y = r.take(20);
                pts.emplace_back(x, y);
                bulge.push_back(bulges ? r.take(42) : 0.0);
            }
            std::vector<AcGePoint2d> faceted;
            for (size_t i = 0; i < pts.size(); ++i) {
                faceted.push_back(pts[i]);
                const AcGePoint2d& b = pts[(i + 1) % pts.size()];
                if (std::abs(bulge[i]) > fendo::ge::kStraightBulge)
                    for (int j = 1; j < 16; ++j)
                        faceted.push_back(fendo::ge::pointOnBulgeSegment(pts[i], b, bulge[i], j / 16.0));
            }
            pts = std::move(faceted);
        } else {
            const int edges = static_cast<int>(r.take(93));
            for (int e = 0; e < edges && r.peek() == 72; ++e) {
                const int type = static_cast<int>(r.take(72));
                if (type == 1) {
                    const double x0 = r.take(10), y0 = r.take(20), x1 = r.take(11), y1 = r.take(21);
                    pts.emplace_back(x0, y0);
                    pts.emplace_back(x1, y1);
                } else if (type == 2) {
                    const double cx = r.take(10), cy = r.take(20), rad = r.take(40), a0 = r.take(50),
                                 a1 = r.take(51);
                    const bool ccw = r.take(73) != 0;
                    addArcEdge(pts, AcGePoint2d(cx, cy), rad, AcGeVector2d(rad, 0), 1.0, a0, a1, ccw);
                } else if (type == 3) {
                    const double cx = r.take(10), cy = r.take(20), mx = r.take(11), my = r.take(21),
                                 ratio = r.take(40), a0 = r.take(50), a1 = r.take(51);
                    const bool ccw = r.take(73) != 0;
                    addArcEdge(pts, AcGePoint2d(cx, cy), 0, AcGeVector2d(mx, my), ratio, a0, a1, ccw);
                } else {
                    // A spline edge: its fit points when it has them, else its control points.
                    std::vector<AcGePoint2d> control, fit;
                    while (!r.atEnd() && r.peek() != 72 && r.peek() != 97) {
                        const short c = r.peek();
                        if (c == 10) {
                            const double x = r.take(10);
                            control.emplace_back(x, r.take(20));
                        } else if (c == 11) {
                            const double x = r.take(11);
                            fit.emplace_back(x, r.take(21));
                        } else {
                            r.skip();
                        }
                    }
                    const auto& use = fit.empty() ? control : fit;
                    pts.insert(pts.end(), use.begin(), use.end());
                }
            }
        }
        // Source boundary references.
        const int sources = static_cast<int>(r.take(97));
        for (int i = 0; i < sources && r.peek() == 330; ++i) r.skip();
        if (pts.size() >= 2) loops.push_back(std::move(pts));
    }
    return loops;
}

}  // namespace

bool AcDbHatch::worldDraw(AcGiWorldDraw* wd)
{
    const auto* kept = keptGroups();
    if (!kept) return true;
    const AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    const AcGiFillType before = wd->subEntityTraits().fillType();
    if (m_solid) wd->subEntityTraits().setFillType(kAcGiFillAlways);
    for (const auto& loop : hatchLoops(*kept)) {
        std::vector<AcGePoint3d> pts;
        for (const AcGePoint2d& p : loop) pts.push_back(toWorld * AcGePoint3d(p.x, p.y, m_elevation));
        if (m_solid) {
            wd->geometry().polygon(static_cast<std::uint32_t>(pts.size()), pts.data());
        } else {
            pts.push_back(pts.front());
            wd->geometry().polyline(static_cast<std::uint32_t>(pts.size()), pts.data());
        }
    }
    wd->subEntityTraits().setFillType(before);
    return true;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& xform)
{
    if (xform.isEqualTo(AcGeMatrix3d::kIdentity)) return Acad::eOk;
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbHatch::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbHatch");
    // Only the head of the section is modelled; from the loop count on, every group is
    // kept in order (the loops reuse codes 10, 70, 72 ...).
    bool inHead = true;
    return ent::readSection(filer, [&](const resbuf& rb) {
        if (!inHead) return false;
        switch (rb.restype) {
        case 10: m_elevation = ent::asPoint(rb).z; return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        case 2: m_pattern = ent::asString(rb); return true;
        case 70: m_solid = ent::asInt(rb) != 0; return true;
        case 71: m_associative = ent::asInt(rb) != 0; return true;
        case 91: m_loops = ent::asInt(rb); inHead = false; return false;
        default: inHead = false; return false;
        }
    });
}

Acad::ErrorStatus AcDbHatch::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbHatch");
    filer->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d(0, 0, m_elevation));
    filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    filer->writeString(AcDb::kDxfShapeName, m_pattern);
    filer->writeInt16(AcDb::kDxfInt16, m_solid ? 1 : 0);
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), m_associative ? 1 : 0);
    // A hatch made here has no loop data of its own: an empty boundary keeps the record valid.
    const auto* kept = keptGroups();
    bool hasLoops = false;
    if (kept)
        for (const KeptGroup& g : *kept) hasLoops = hasLoops || (g.subclass == L"AcDbHatch" && g.tag.code == 91);
    if (!hasLoops) {
        filer->writeInt32(static_cast<AcDb::DxfCode>(91), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(75), 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(76), static_cast<std::int16_t>(m_patternType));
        filer->writeInt32(static_cast<AcDb::DxfCode>(98), 0);
    }
    return filer->filerStatus();
}

// ---- viewport -------------------------------------------------------------------------

Acad::ErrorStatus AcDbViewport::setCenterPoint(const AcGePoint3d& c) { assertWriteEnabled(); m_center = c; return Acad::eOk; }
Acad::ErrorStatus AcDbViewport::setWidth(double w) { assertWriteEnabled(); m_width = w; return Acad::eOk; }
Acad::ErrorStatus AcDbViewport::setHeight(double h) { assertWriteEnabled(); m_height = h; return Acad::eOk; }

Acad::ErrorStatus AcDbViewport::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    extents.addPoint(m_center - AcGeVector3d(m_width / 2, m_height / 2, 0));
    extents.addPoint(m_center + AcGeVector3d(m_width / 2, m_height / 2, 0));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::transformBy(const AcGeMatrix3d& xform)
{
    if (!xform.isEqualTo(AcGeMatrix3d::translation(xform.translation()))) return Acad::eNotApplicable;
    assertWriteEnabled();
    m_center.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbViewport");
    bool inHead = true;
    return ent::readSection(filer, [&](const resbuf& rb) {
        // The number may follow the status (68) or other groups; it is written once.
        if (rb.restype == 69) {
            m_number = ent::asInt(rb);
            return true;
        }
        if (!inHead) return false;
        switch (rb.restype) {
        case 10: m_center = ent::asPoint(rb); return true;
        case 40: m_width = ent::asReal(rb); return true;
        case 41: m_height = ent::asReal(rb); return true;
        default: inHead = false; return false;
        }
    });
}

Acad::ErrorStatus AcDbViewport::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbViewport");
    filer->writePoint3d(AcDb::kDxfXCoord, m_center);
    filer->writeDouble(AcDb::kDxfReal, m_width);
    filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_height);
    filer->writeInt16(AcDb::kDxfViewportNumber, static_cast<std::int16_t>(m_number));
    return filer->filerStatus();
}

// ---- group ----------------------------------------------------------------------------

AcDbGroup::AcDbGroup(const ACHAR* description, bool selectable) : m_description(description), m_selectable(selectable)
{
}

Acad::ErrorStatus AcDbGroup::setDescription(const ACHAR* d) { assertWriteEnabled(); m_description = d; return Acad::eOk; }
Acad::ErrorStatus AcDbGroup::setSelectable(bool s) { assertWriteEnabled(); m_selectable = s; return Acad::eOk; }
Acad::ErrorStatus AcDbGroup::setAnonymous() { assertWriteEnabled(); m_anonymous = true; return Acad::eOk; }

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id)
{
    if (id.isNull()) return Acad::eNullObjectId;
    if (has(id)) return Acad::eAlreadyInDb;
    assertWriteEnabled();
    m_ids.push_back(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id)
{
    for (auto it = m_ids.begin(); it != m_ids.end(); ++it)
        if (*it == id) {
            assertWriteEnabled();
            m_ids.erase(it);
            return Acad::eOk;
        }
    return Acad::eNotInDatabase;
}

bool AcDbGroup::has(AcDbObjectId id) const
{
    for (AcDbObjectId m : m_ids)
        if (m == id) return true;
    return false;
}

Acad::ErrorStatus AcDbGroup::clear() { assertWriteEnabled(); m_ids.clear(); return Acad::eOk; }

AcDbObjectIdArray AcDbGroup::allEntityIds() const
{
    AcDbObjectIdArray out;
    for (AcDbObjectId id : m_ids)
        if (!id.isErased()) out.append(id);
    return out;
}

int AcDbGroup::numEntities() const { return allEntityIds().length(); }

Acad::ErrorStatus AcDbGroup::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbGroup");
    m_ids.clear();
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 300: m_description = ent::asString(rb); return true;
        case 70: m_anonymous = ent::asInt(rb) != 0; return true;
        case 71: m_selectable = ent::asInt(rb) != 0; return true;
        case 340: {
            AcDbObjectId id = ent::idOfLastItem(filer);
            if (!id.isNull()) m_ids.push_back(id);
            return !id.isNull();
        }
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbGroup::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbObject::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbGroup");
    filer->writeString(AcDb::kDxfXTextString, m_description);
    filer->writeInt16(AcDb::kDxfInt16, m_anonymous ? 1 : 0);
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), m_selectable ? 1 : 0);
    for (AcDbObjectId id : m_ids)
        if (!id.isErased()) filer->writeObjectId(AcDb::kDxfHardPointerId, id);
    return filer->filerStatus();
}
