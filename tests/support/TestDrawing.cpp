// Drawings for tests.
#include "support/TestDrawing.h"

#include <gtest/gtest.h>
#include "host/db/AcDbSymbolTable.h"

namespace fendo::test {

TestDrawing::TestDrawing()
    : m_db(std::make_unique<AcDbDatabase>(true)), m_previous(acdbHostApplicationServices()->workingDatabase())
{
    acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
}

TestDrawing::~TestDrawing() { acdbHostApplicationServices()->setWorkingDatabase(m_previous); }

AcDbObjectId TestDrawing::layer(const wchar_t* name, int colorIndex)
{
    AcDbLayerTable* table = nullptr;
    AcDbObjectId id;
    if (m_db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return id;
    if (table->getAt(name, id) != Acad::eOk) {
        auto* record = new AcDbLayerTableRecord;
        record->setName(name);
        AcCmColor color;
        color.setColorIndex(static_cast<Adesk::UInt16>(colorIndex));
        record->setColor(color);
        if (table->add(id, record) == Acad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
    return id;
}

AcDbObjectId TestDrawing::add(AcDbEntity* entity, const wchar_t* layerName)
{
    AcDbObjectId id;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, m_db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) {
        delete entity;
        return id;
    }
    entity->setDatabaseDefaults(m_db.get());
    if (space->appendAcDbEntity(id, entity) != Acad::eOk) {
        space->close();
        delete entity;
        return id;
    }
    space->close();
    if (layerName) {
        layer(layerName);
        entity->setLayer(layerName);
    }
    entity->close();
    return id;
}

std::filesystem::path TestDrawing::save(const std::string& name)
{
    const auto path = scratchDir("drawing") / name;
    std::string error;
    EXPECT_EQ(m_db->dxfOut(path.wstring(), &error), Acad::eOk) << error;
    return path;
}

std::unique_ptr<AcDbDatabase> loadDrawing(const std::filesystem::path& path)
{
    auto db = std::make_unique<AcDbDatabase>(false);
    std::string error;
    const Acad::ErrorStatus es = db->readDxfFile(path.wstring(), &error);
    EXPECT_EQ(es, Acad::eOk) << error;
    if (es != Acad::eOk) return nullptr;
    return db;
}

Session runSession(const std::filesystem::path& drawing, const std::string& script)
{
    Session s;
    s.output = scratchDir("session") / "out.dxf";
    s.run = runFendo({drawing.string(), "-o", s.output.string()}, script);
    if (std::filesystem::exists(s.output)) s.result = loadDrawing(s.output);
    return s;
}

Session runSession(TestDrawing& drawing, const std::string& script) { return runSession(drawing.save(), script); }

std::vector<AcDbObjectId> modelSpaceEntities(AcDbDatabase& db, AcRxClass* cls)
{
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return ids;
    for (const AcDbObjectId& id : space->entityIds()) {
        if (id.isErased()) continue;
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
        if (!cls || e->isKindOf(cls)) ids.push_back(id);
        e->close();
    }
    space->close();
    return ids;
}

AcDbObjectId addBlock(AcDbDatabase& db, const wchar_t* name, const std::vector<AcDbEntity*>& entities)
{
    AcDbBlockTable* blocks = nullptr;
    EXPECT_EQ(db.getBlockTable(blocks, AcDb::kForWrite), Acad::eOk);
    if (!blocks) return {};
    auto* record = new AcDbBlockTableRecord;
    record->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(blocks->add(id, record), Acad::eOk);
    for (AcDbEntity* entity : entities) {
        EXPECT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
        entity->close();
    }
    record->close();
    blocks->close();
    return id;
}

bool layerIsOff(AcDbDatabase& db, const wchar_t* name)
{
    AcDbLayerTable* table = nullptr;
    if (db.getLayerTable(table, AcDb::kForRead) != Acad::eOk) return false;
    AcDbLayerTableRecord* record = nullptr;
    bool off = false;
    if (table->getAt(name, record, AcDb::kForRead) == Acad::eOk) {
        off = record->isOff();
        record->close();
    }
    table->close();
    return off;
}

}  // namespace fendo::test
