// Viewport (kept as read) and group objects.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/db/entities/AcDbGroup.h"
#include "host/db/entities/AcDbViewport.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/AcGeVector2d.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbViewport, AcDbEntity, 0, 0, 0, VIEWPORT, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbGroup, AcDbObject, 0, 0, 0, GROUP, ObjectDBX Classes)

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
