// Symbol tables and their records: case-insensitive lookup, adding records, iteration,
// block records with their entities, and registered applications.
#include "host/db/AcDbSymbolTable.h"

#include "host/db/AcDbDatabase.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)

// Tables have no DXF class name of their own (every table is "TABLE" in a file, told
// apart by its group 2), so they are made by the database, not looked up by name.
#define FENDO_DEFINE_TABLE(TABLE, RECORD, RECORD_DXF)                                                         \
    ACRX_DXF_DEFINE_MEMBERS(TABLE, AcDbSymbolTable, 0, 0, 0, , ObjectDBX Classes)                             \
    ACRX_DXF_DEFINE_MEMBERS(RECORD, AcDbSymbolTableRecord, 0, 0, 0, RECORD_DXF, ObjectDBX Classes)            \
    Acad::ErrorStatus TABLE::getAt(const ACHAR* name, RECORD*& record, AcDb::OpenMode mode, bool openErased) const \
    {                                                                                                          \
        record = nullptr;                                                                                      \
        AcDbObjectId id;                                                                                       \
        Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErased);                                   \
        return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErased) : es;                           \
    }

FENDO_DEFINE_TABLE(AcDbLayerTable, AcDbLayerTableRecord, LAYER)
FENDO_DEFINE_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, LTYPE)
FENDO_DEFINE_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, STYLE)
FENDO_DEFINE_TABLE(AcDbBlockTable, AcDbBlockTableRecord, BLOCK_RECORD)
FENDO_DEFINE_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, DIMSTYLE)
FENDO_DEFINE_TABLE(AcDbViewTable, AcDbViewTableRecord, VIEW)
FENDO_DEFINE_TABLE(AcDbUCSTable, AcDbUCSTableRecord, UCS)
FENDO_DEFINE_TABLE(AcDbViewportTable, AcDbViewportTableRecord, VPORT)
FENDO_DEFINE_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, APPID)

namespace {

// Characters the host refuses in a record name; '*' is allowed only first (*Model_Space,
// *Active, anonymous blocks) and '|' marks names that come from an external reference.
bool isValidRecordName(const std::wstring& name)
{
    if (name.empty()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c < 0x20 || std::wstring_view(L"<>/\\\":;?,=`").find(c) != std::wstring_view::npos) return false;
        if (c == L'*' && i != 0) return false;
    }
    return true;
}

bool isLive(AcDbObjectId id) { return id.isValid() && !id.isErased(); }

}  // namespace

// ---- AcDbSymbolTable ----

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErasedRecord) const
{
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
    return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErasedRecord) : es;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const
{
    id = AcDbObjectId();
    if (!name) return Acad::eInvalidInput;
    auto it = m_byName.find(fendo::upperName(name));
    if (it == m_byName.end() || !it->second.isValid()) return Acad::eKeyNotFound;
    if (it->second.isErased() && !getErasedRecord) return Acad::eKeyNotFound;
    id = it->second;
    return Acad::eOk;
}

bool AcDbSymbolTable::has(const ACHAR* name) const
{
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const
{
    if (!isLive(id)) return false;
    return id.stub()->object->ownerId() == objectId();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record)
{
    AcDbObjectId id;
    return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record)
{
    return addRecord(id, record, true);
}

Acad::ErrorStatus AcDbSymbolTable::addNamedByFile(AcDbObjectId& id, AcDbSymbolTableRecord* record)
{
    return addRecord(id, record, false);
}

Acad::ErrorStatus AcDbSymbolTable::addRecord(AcDbObjectId& id, AcDbSymbolTableRecord* record, bool checkName)
{
    id = AcDbObjectId();
    if (!record) return Acad::eNullObjectPointer;
    AcDbDatabase* db = database();
    if (!db) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!record->objectId().isNull()) return Acad::eAlreadyInDb;
    if (record->name().empty() || (checkName && !isValidRecordName(record->name())))
        return Acad::eInvalidSymbolTableName;
    const std::wstring key = fendo::upperName(record->name());
    auto it = m_byName.find(key);
    if (it != m_byName.end() && isLive(it->second)) return Acad::eDuplicateRecordName;
    Acad::ErrorStatus es = db->addAcDbObject(id, record);
    if (es != Acad::eOk) return es;
    record->setOwnerId(objectId());
    m_records.push_back(id);
    m_byName[key] = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const
{
    iterator = new AcDbSymbolTableIterator(m_records, skipDeleted);
    iterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

void AcDbSymbolTable::recordRenamed(AcDbObjectId id, const std::wstring& oldName, const std::wstring& newName)
{
    auto it = m_byName.find(fendo::upperName(oldName));
    if (it != m_byName.end() && it->second == id) m_byName.erase(it);
    m_byName[fendo::upperName(newName)] = id;
}

void AcDbSymbolTable::appendLoadedRecord(AcDbObjectId id, const std::wstring& name)
{
    m_records.push_back(id);
    // A file naming two records alike keeps the first findable, as the host reads it.
    m_byName.emplace(fendo::upperName(name), id);
}

// ---- AcDbSymbolTableIterator ----

AcDbSymbolTableIterator::AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool skipDeleted)
    : m_ids(std::move(ids)), m_skipDeleted(skipDeleted)
{
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted)
{
    m_skipDeleted = skipDeleted;
    m_pos = atBeginning ? 0 : static_cast<long>(m_ids.size()) - 1;
    skip(atBeginning);
}

bool AcDbSymbolTableIterator::done() const { return m_pos < 0 || m_pos >= static_cast<long>(m_ids.size()); }

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted)
{
    if (done()) return;
    m_skipDeleted = skipDeleted;
    m_pos += forward ? 1 : -1;
    skip(forward);
}

void AcDbSymbolTableIterator::skip(bool forward)
{
    while (!done() && m_skipDeleted && !isLive(m_ids[m_pos])) m_pos += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const
{
    if (done()) return Acad::eInvalidIndex;
    id = m_ids[m_pos];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErasedRecord) const
{
    record = nullptr;
    if (done()) return Acad::eInvalidIndex;
    return acdbOpenObject(record, id(), mode, openErasedRecord);
}

// ---- AcDbSymbolTableRecord ----

Acad::ErrorStatus AcDbSymbolTableRecord::getName(AcString& name) const
{
    name = m_name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const
{
    name = m_name.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setNameFromFile(const std::wstring& name)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (name.empty()) return Acad::eInvalidSymbolTableName;
    if (isValidRecordName(name)) return setName(name.c_str());
    m_name = name;  // read before the record joins its table
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    const std::wstring newName = name ? name : L"";
    if (!isValidRecordName(newName)) return Acad::eInvalidSymbolTableName;
    // A record already in a table keeps the table's index in step and stays unique there.
    const AcDbStub* ownerStub = ownerId().stub();
    auto* table = ownerStub ? dynamic_cast<AcDbSymbolTable*>(ownerStub->object) : nullptr;
    if (table && !objectId().isNull()) {
        AcDbObjectId other;
        if (table->getAt(newName.c_str(), other) == Acad::eOk && other != objectId())
            return Acad::eDuplicateRecordName;
        table->recordRenamed(objectId(), m_name, newName);
    }
    m_name = newName;
    return Acad::eOk;
}

// ---- AcDbBlockTableRecord ----

AcDbBlockTableRecord::AcDbBlockTableRecord() = default;

AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity)
{
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity)
{
    id = AcDbObjectId();
    if (!entity) return Acad::eNullEntityPointer;
    AcDbDatabase* db = database();
    if (!db) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!entity->objectId().isNull()) return Acad::eAlreadyInDb;
    // The space first: subentities given to the entity before (attributes, vertices) go into
    // the database as it does, and take its space then.
    entity->setInPaperSpace(fendo::equalsNoCase(name(), ACDB_PAPER_SPACE));
    Acad::ErrorStatus es = db->addAcDbObject(id, entity);
    if (es != Acad::eOk) return es;
    entity->setOwnerId(objectId());
    m_entities.push_back(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const
{
    iterator = new AcDbBlockTableRecordIterator(&m_entities, skipDeleted);
    iterator->start(atBeginning, skipDeleted);
    return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const
{
    return !m_layout.isNull() || fendo::equalsNoCase(name(), ACDB_MODEL_SPACE) ||
           fendo::upperName(name()).starts_with(L"*PAPER_SPACE");
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const
{
    const auto* attdef = static_cast<const AcRxClass*>(acrxClassDictionary()->at(L"AcDbAttributeDefinition"));
    if (!attdef) return false;
    for (const AcDbObjectId& id : m_entities)
        if (isLive(id) && id.stub()->object->isKindOf(attdef)) return true;
    return false;
}

// ---- AcDbBlockTableRecordIterator ----

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const std::vector<AcDbObjectId>* ids, bool skipDeleted)
    : m_ids(ids), m_skipDeleted(skipDeleted)
{
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted)
{
    m_skipDeleted = skipDeleted;
    m_pos = atBeginning ? 0 : static_cast<long>(m_ids->size()) - 1;
    skip(atBeginning);
}

bool AcDbBlockTableRecordIterator::done() const { return m_pos < 0 || m_pos >= static_cast<long>(m_ids->size()); }

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted)
{
    if (done()) return;
    m_skipDeleted = skipDeleted;
    m_pos += forward ? 1 : -1;
    skip(forward);
}

void AcDbBlockTableRecordIterator::skip(bool forward)
{
    while (!done() && m_skipDeleted && !isLive((*m_ids)[m_pos])) m_pos += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const
{
    if (done()) return Acad::eInvalidIndex;
    id = (*m_ids)[m_pos];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErasedEntity) const
{
    entity = nullptr;
    if (done()) return Acad::eInvalidIndex;
    return acdbOpenObject(entity, (*m_ids)[m_pos], mode, openErasedEntity);
}

// ---- registered applications ----

bool acdbRegApp(const ACHAR* appName)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || !appName || !*appName) return false;
    AcDbRegAppTable* table = nullptr;
    if (db->getRegAppTable(table, AcDb::kForRead) != Acad::eOk) return false;
    if (table->has(appName)) {
        table->close();
        return true;
    }
    if (table->upgradeOpen() != Acad::eOk) {
        table->close();
        return false;
    }
    auto* record = new AcDbRegAppTableRecord;
    record->setName(appName);
    const bool added = table->add(record) == Acad::eOk;
    if (added)
        record->close();
    else
        delete record;
    table->close();
    return added;
}
