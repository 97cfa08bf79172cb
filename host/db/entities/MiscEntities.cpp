// Hatch (mostly kept as read), viewport (kept as read) and group objects.
#include <cstdlib>

#include "host/db/entities/AcDbGroup.h"
#include "host/db/entities/AcDbHatch.h"
#include "host/db/entities/AcDbViewport.h"
#include "host/db/entities/EntityUtil.h"

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
        if (!inHead) return false;
        switch (rb.restype) {
        case 10: m_center = ent::asPoint(rb); return true;
        case 40: m_width = ent::asReal(rb); return true;
        case 41: m_height = ent::asReal(rb); return true;
        case 69: m_number = ent::asInt(rb); inHead = false; return true;
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
