// Shared drawing helpers of the module.
#include "frame/DrawingHelpers.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"

void ensureLayer(const ACHAR* layerName, int colorIndex)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || !layerName) return;
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return;
    if (!table->has(layerName)) {
        auto* record = new AcDbLayerTableRecord;
        record->setName(layerName);
        record->setIsFrozen(false);
        record->setIsOff(false);
        record->setVPDFLT(false);
        record->setIsLocked(false);
        if (colorIndex >= 1 && colorIndex <= 255) {
            AcCmColor color;
            color.setColorIndex(static_cast<Adesk::UInt16>(colorIndex));
            record->setColor(color);
        }
        AcDbLinetypeTable* linetypes = nullptr;
        if (db->getLinetypeTable(linetypes, AcDb::kForRead) == Acad::eOk) {
            AcDbObjectId continuous;
            if (linetypes->getAt(L"CONTINUOUS", continuous) == Acad::eOk) record->setLinetypeObjectId(continuous);
            linetypes->close();
        }
        if (table->add(record) == Acad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
}

namespace {
// The current UCS as a transform from UCS to world coordinates.
AcGeMatrix3d currentUcsToWorld(const AcDbDatabase& db)
{
    const bool model = db.tilemode();
    const AcGePoint3d origin = model ? db.ucsorg() : db.pucsorg();
    const AcGeVector3d x = model ? db.ucsxdir() : db.pucsxdir();
    const AcGeVector3d y = model ? db.ucsydir() : db.pucsydir();
    AcGeMatrix3d m;
    m.setCoordSystem(origin, x, y, x.crossProduct(y));
    return m;
}
}  // namespace

Acad::ErrorStatus appendToSpace(AcDbEntity* entity, AcDbObjectId& id, UcsTransform transform, SpaceChoice space)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return Acad::eNoDatabase;
    if (!entity) return Acad::eNullEntityPointer;
    AcDbBlockTable* blocks = nullptr;
    Acad::ErrorStatus es = db->getBlockTable(blocks, AcDb::kForRead);
    if (es != Acad::eOk) return es;
    const ACHAR* name = ACDB_MODEL_SPACE;
    if (space == SpaceChoice::Paper || (space == SpaceChoice::Current && !db->tilemode())) name = ACDB_PAPER_SPACE;
    AcDbBlockTableRecord* record = nullptr;
    es = blocks->getAt(name, record, AcDb::kForWrite);
    blocks->close();
    if (es != Acad::eOk) return es;
    es = record->appendAcDbEntity(id, entity);
    record->close();
    if (es != Acad::eOk) return es;
    if (transform == UcsTransform::FromCurrentUcs) {
        es = entity->transformBy(currentUcsToWorld(*db));
        if (es != Acad::eOk) {
            entity->close();
            return es;
        }
    }
    return entity->close();
}

Acad::ErrorStatus appendToCurrentSpace(AcDbEntity* entity, UcsTransform transform, SpaceChoice space)
{
    AcDbObjectId id;
    return appendToSpace(entity, id, transform, space);
}
