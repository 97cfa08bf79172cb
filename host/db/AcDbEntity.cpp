// Entities: common properties with their open-mode checks, database defaults, and the
// geometry services every entity class may override.
#include "host/db/AcDbEntity.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/gi/ExtentsCollector.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

namespace {

AcDbDatabase* databaseFor(const AcDbEntity* ent)
{
    return ent->database() ? ent->database() : acdbHostApplicationServices()->workingDatabase();
}

const AcDbSymbolTableRecord* recordOf(AcDbObjectId id)
{
    const AcDbStub* stub = id.stub();
    return stub ? dynamic_cast<const AcDbSymbolTableRecord*>(stub->object) : nullptr;
}

// A live record of the table by name, looked up without opening the table.
AcDbObjectId findRecord(AcDbObjectId tableId, const ACHAR* name)
{
    const AcDbStub* stub = tableId.stub();
    const auto* table = stub ? dynamic_cast<const AcDbSymbolTable*>(stub->object) : nullptr;
    AcDbObjectId id;
    if (!table || !name || table->getAt(name, id) != Acad::eOk) return AcDbObjectId();
    return id;
}

}  // namespace

AcDbEntity::AcDbEntity() = default;

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    beforePropertiesChange(doSubents);
    m_color = color;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setColor(color, false); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index, bool doSubents)
{
    if (index > AcCmEntityColor::kByLayerIndex) return Acad::eInvalidInput;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    beforePropertiesChange(doSubents);
    m_color.setColorIndex(index);
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setColorIndex(index, false); });
    return Acad::eOk;
}

AcString AcDbEntity::layer() const
{
    const AcDbSymbolTableRecord* rec = recordOf(m_layerId);
    return rec ? AcString(rec->name()) : AcString();
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* layerName, bool doSubents, bool allowHiddenLayer)
{
    AcDbDatabase* db = databaseFor(this);
    if (!db) return Acad::eNoDatabase;
    const AcDbObjectId id = findRecord(db->layerTableId(), layerName);
    if (id.isNull()) return Acad::eKeyNotFound;
    return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layerId, bool doSubents, bool allowHiddenLayer)
{
    if (layerId.isNull()) return Acad::eNullObjectId;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    const AcDbStub* stub = layerId.stub();
    if (!dynamic_cast<const AcDbLayerTableRecord*>(stub->object)) return Acad::eWrongObjectType;
    if (database() && layerId.database() != database()) return Acad::eWrongDatabase;
    beforePropertiesChange(doSubents);
    m_layerId = layerId;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setLayer(layerId, false, allowHiddenLayer); });
    return Acad::eOk;
}

AcString AcDbEntity::linetype() const
{
    const AcDbSymbolTableRecord* rec = recordOf(m_linetypeId);
    return rec ? AcString(rec->name()) : AcString(L"ByLayer");
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name, bool doSubents)
{
    AcDbDatabase* db = databaseFor(this);
    if (!db) return Acad::eNoDatabase;
    const AcDbObjectId id = findRecord(db->linetypeTableId(), name);
    if (id.isNull()) return Acad::eKeyNotFound;
    return setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId id, bool doSubents)
{
    if (id.isNull()) return Acad::eNullObjectId;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!dynamic_cast<const AcDbLinetypeTableRecord*>(id.stub()->object)) return Acad::eWrongObjectType;
    if (database() && id.database() != database()) return Acad::eWrongDatabase;
    beforePropertiesChange(doSubents);
    m_linetypeId = id;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setLinetype(id, false); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool doSubents)
{
    if (!(scale > 0)) return Acad::eInvalidInput;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    beforePropertiesChange(doSubents);
    m_ltscale = scale;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setLinetypeScale(scale, false); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight, bool doSubents)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    beforePropertiesChange(doSubents);
    m_lineweight = weight;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setLineWeight(weight, false); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, bool doSubents)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    beforePropertiesChange(doSubents);
    m_visibility = v;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setVisibility(v, false); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* other, bool doSubents)
{
    if (!other) return Acad::eNullEntityPointer;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    // Ids name records of the other entity's drawing; copying them into another
    // drawing would point outside it.
    if (database() && other->database() && database() != other->database()) return Acad::eWrongDatabase;
    beforePropertiesChange(doSubents);
    m_color = other->m_color;
    m_layerId = other->m_layerId;
    m_linetypeId = other->m_linetypeId;
    m_ltscale = other->m_ltscale;
    m_lineweight = other->m_lineweight;
    m_visibility = other->m_visibility;
    if (doSubents) applyToSubentities([&](AcDbEntity* sub) { sub->setPropertiesFrom(other, false); });
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db)
{
    assertWriteEnabled();
    if (!db) db = databaseFor(this);
    if (!db) return;
    beforePropertiesChange();
    m_layerId = db->clayer().isNull() ? db->layerZero() : db->clayer();
    m_linetypeId = db->celtype().isNull() ? db->byLayerLinetype() : db->celtype();
    m_color = db->cecolor();
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const
{
    fendo::gi::ExtentsCollector collector;
    // Drawing does not change the entity; worldDraw is non-const only by the host's signature.
    const_cast<AcDbEntity*>(this)->worldDraw(&collector);
    if (collector.extents().isEmpty()) return Acad::eInvalidExtents;
    extents = collector.extents();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const
{
    copy = nullptr;
    AcRxObject* made = clone();
    auto* ent = AcDbEntity::cast(made);
    if (!ent) {
        delete made;
        return Acad::eNotApplicable;
    }
    Acad::ErrorStatus es = ent->transformBy(xform);
    if (es != Acad::eOk) {
        delete ent;
        return es;
    }
    copy = ent;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity*, AcDb::Intersect, AcGePoint3dArray&, Adesk::GsMarker,
                                            Adesk::GsMarker) const
{
    return Acad::eNotApplicable;
}

bool AcDbEntity::worldDraw(AcGiWorldDraw*) { return true; }

void AcDbEntity::viewportDraw(AcGiViewportDraw*) {}

Acad::ErrorStatus AcDbEntity::getGripPoints(AcGePoint3dArray&, AcDbIntArray&, AcDbIntArray&) const
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::moveGripPointsAt(const AcDbIntArray&, const AcGeVector3d&)
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::getOsnapPoints(AcDb::OsnapMode, Adesk::GsMarker, const AcGePoint3d&, const AcGePoint3d&,
                                             const AcGeMatrix3d&, AcGePoint3dArray&, AcDbIntArray&) const
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::highlight() const
{
    m_highlighted = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::unhighlight() const
{
    m_highlighted = false;
    return Acad::eOk;
}
