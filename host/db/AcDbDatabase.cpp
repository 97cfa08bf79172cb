// The drawing database: object stubs and handles, the symbol tables, the named object
// dictionary, header variables and the contents of a new drawing.
#include "host/db/AcDbDatabase.h"

#include <utility>

#include "host/db/AcDbCurve.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/DbHelpers.h"
#include "host/dxf/DefaultObjects.h"

namespace {

// A handle this far past the stubs in use still goes to the dense index; beyond it
// (sparse handles from odd files) the hash map takes it.
constexpr std::uint64_t kDenseSlack = 4096;

using fendo::db::peekObject;

AcDbObjectId recordIn(AcDbObjectId tableId, const ACHAR* name)
{
    const auto* table = peekObject<AcDbSymbolTable>(tableId);
    AcDbObjectId id;
    if (table) table->getAt(name, id);
    return id;
}

}  // namespace

namespace fendo::db {

void registerDatabaseClasses()
{
    static const bool done = [] {
        AcDbObject::rxInit();
        AcDbEntity::rxInit();
        AcDbCurve::rxInit();
        AcDbDictionary::rxInit();
        AcDbSymbolTable::rxInit();
        AcDbSymbolTableRecord::rxInit();
        AcDbLayerTable::rxInit();
        AcDbLayerTableRecord::rxInit();
        AcDbLinetypeTable::rxInit();
        AcDbLinetypeTableRecord::rxInit();
        AcDbTextStyleTable::rxInit();
        AcDbTextStyleTableRecord::rxInit();
        AcDbBlockTable::rxInit();
        AcDbBlockTableRecord::rxInit();
        AcDbDimStyleTable::rxInit();
        AcDbDimStyleTableRecord::rxInit();
        AcDbViewTable::rxInit();
        AcDbViewTableRecord::rxInit();
        AcDbUCSTable::rxInit();
        AcDbUCSTableRecord::rxInit();
        AcDbViewportTable::rxInit();
        AcDbViewportTableRecord::rxInit();
        AcDbRegAppTable::rxInit();
        AcDbRegAppTableRecord::rxInit();
        return true;
    }();
    (void)done;
}

}  // namespace fendo::db

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool)
{
    fendo::db::registerDatabaseClasses();
    if (buildDefaultDrawing) this->buildDefaultDrawing();
}

AcDbDatabase::~AcDbDatabase()
{
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    // A held object's stub names its owner, which is deleted through its own stub.
    for (AcDbStub& stub : m_stubs) {
        if (!stub.held) delete stub.object;
        stub.object = nullptr;
        stub.held = false;
    }
}

// ---- stubs and handles ----

namespace {
// A handle an owner holds without a stub stays in the index as the owner's stub with the low
// bit set (stubs are aligned, so the bit is free).
bool isHeldEntry(const AcDbStub* entry) { return reinterpret_cast<std::uintptr_t>(entry) & 1u; }
AcDbStub* heldEntry(AcDbStub* owner)
{
    return reinterpret_cast<AcDbStub*>(reinterpret_cast<std::uintptr_t>(owner) | 1u);
}
AcDbStub* ownerOfEntry(AcDbStub* entry)
{
    return reinterpret_cast<AcDbStub*>(reinterpret_cast<std::uintptr_t>(entry) & ~std::uintptr_t{1});
}
}  // namespace

AcDbStub** AcDbDatabase::entryOf(std::uint64_t handle) const
{
    if (const std::uint64_t page = handle >> kDensePageBits; page < m_densePages.size() && m_densePages[page]) {
        if (AcDbStub*& e = m_densePages[page][handle & ((1u << kDensePageBits) - 1)]) return &e;
    }
    if (m_byHandle.empty()) return nullptr;
    auto it = m_byHandle.find(handle);
    return it == m_byHandle.end() ? nullptr : const_cast<AcDbStub**>(&it->second);
}

AcDbStub** AcDbDatabase::makeEntry(std::uint64_t h)
{
    ++m_indexedHandles;
    const std::uint64_t page = h >> kDensePageBits;
    const bool pageMade = page < m_densePages.size() && m_densePages[page];
    if (pageMade || h <= 2 * m_indexedHandles + kDenseSlack) {
        if (page >= m_densePages.size()) m_densePages.resize(page + 1);
        if (!m_densePages[page]) m_densePages[page] = std::make_unique<AcDbStub*[]>(std::size_t{1} << kDensePageBits);
        return &m_densePages[page][h & ((1u << kDensePageBits) - 1)];
    }
    return &m_byHandle[h];
}

bool AcDbDatabase::handleInUse(std::uint64_t handle) const { return entryOf(handle) != nullptr; }

AcDbStub* AcDbDatabase::findStub(std::uint64_t handle)
{
    AcDbStub** entry = entryOf(handle);
    if (!entry) return nullptr;
    if (!isHeldEntry(*entry)) return *entry;
    // A held handle gets its stub now, which its owner takes; an owner that is gone (or no
    // longer holds the handle) leaves a stub without an object, as for a missing record.
    AcDbStub* owner = ownerOfEntry(*entry);
    AcDbStub* stub = stubInPlaceOfHeld(entry, handle);
    if (owner->object && !owner->held) owner->object->adoptHeldStub(stub);
    return stub;
}

AcDbStub* AcDbDatabase::stubInPlaceOfHeld(AcDbStub** entry, std::uint64_t handle)
{
    m_stubs.push_back(AcDbStub{AcDbHandle(handle), this});
    *entry = &m_stubs.back();
    return *entry;
}

AcDbStub* AcDbDatabase::stubForHeldHandle(std::uint64_t handle, const AcDbStub* owner)
{
    AcDbStub** entry = entryOf(handle);
    if (!entry || !isHeldEntry(*entry) || ownerOfEntry(*entry) != owner) return nullptr;
    return stubInPlaceOfHeld(entry, handle);
}

AcDbStub* AcDbDatabase::newStub(AcDbHandle handle)
{
    m_stubs.push_back(AcDbStub{handle, this});
    AcDbStub* stub = &m_stubs.back();
    *makeEntry(handle.value()) = stub;
    if (handle.value() >= m_handseed.value()) m_handseed = AcDbHandle(handle.value() + 1);
    return stub;
}

bool AcDbDatabase::releaseHeldStub(AcDbStub* stub, AcDbStub* owner)
{
    if (!owner || m_stubs.empty() || stub != &m_stubs.back()) return false;
    if (stub->referenced || stub->touched || stub->cacheSlot != 0) return false;
    AcDbStub** entry = entryOf(stub->handle.value());
    if (!entry || *entry != stub) return false;
    *entry = heldEntry(owner);
    m_stubs.pop_back();
    return true;
}

bool AcDbDatabase::holdLoadedHandle(AcDbHandle handle, AcDbStub* owner)
{
    if (!owner || handle.isNull() || entryOf(handle.value())) return false;
    *makeEntry(handle.value()) = heldEntry(owner);
    if (handle.value() >= m_handseed.value()) m_handseed = AcDbHandle(handle.value() + 1);
    return true;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* obj)
{
    id = AcDbObjectId();
    if (!obj) return Acad::eNullObjectPointer;
    if (!obj->objectId().isNull()) return Acad::eAlreadyInDb;
    if (m_beforeNewHandle) std::exchange(m_beforeNewHandle, nullptr)();
    while (handleInUse(m_handseed.value())) ++m_handseed;
    AcDbStub* stub = newStub(m_handseed);
    stub->object = obj;
    id = AcDbObjectId(stub);
    fendo::db::ObjectAccess::setId(obj, id);
    fendo::db::ObjectAccess::writer(obj) = true;
    noteTouched(stub);
    // A new entity without a layer or linetype takes the drawing's current ones.
    if (auto* ent = dynamic_cast<AcDbEntity*>(obj)) {
        if (ent->layerId().isNull()) ent->setLayer(m_clayer.isNull() ? layerZero() : m_clayer);
        if (ent->linetypeId().isNull()) ent->setLinetype(m_celtype.isNull() ? byLayerLinetype() : m_celtype);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObjectWithHandle(AcDbObjectId& id, AcDbObject* obj, AcDbHandle handle)
{
    id = AcDbObjectId();
    if (!obj) return Acad::eNullObjectPointer;
    if (handle.isNull()) return Acad::eNullHandle;
    if (!obj->objectId().isNull()) return Acad::eAlreadyInDb;
    AcDbStub** entry = entryOf(handle.value());
    if (entry && (isHeldEntry(*entry) || (*entry)->object)) return Acad::eHandleExists;
    AcDbStub* stub = entry ? *entry : newStub(handle);
    stub->object = obj;
    id = AcDbObjectId(stub);
    fendo::db::ObjectAccess::setId(obj, id);
    fendo::db::ObjectAccess::writer(obj) = true;
    noteTouched(stub);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle)
{
    id = AcDbObjectId();
    if (handle.isNull()) return Acad::eNullHandle;
    AcDbStub* stub = findStub(handle.value());
    if (!stub) {
        if (!createIfNotFound) return Acad::eUnknownHandle;
        stub = newStub(handle);
    }
    stub->referenced = true;
    id = AcDbObjectId(stub);
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::idFromHandle(const AcDbHandle& handle, bool createIfNotFound)
{
    AcDbObjectId id;
    getAcDbObjectId(id, createIfNotFound, handle);
    return id;
}

void AcDbDatabase::noteErased(AcDbObject* obj, bool erased)
{
    if (AcDbStub* stub = obj ? obj->objectId().stub() : nullptr) {
        stub->erased = erased;
        noteTouched(stub);
    }
}

void AcDbDatabase::setAttachment(std::unique_ptr<Attachment> cache)
{
    for (AcDbStub* stub : m_touched) stub->touched = false;
    m_touched.clear();
    m_attachment = std::move(cache);
}

void AcDbDatabase::takeTouched(std::vector<AcDbStub*>& out)
{
    for (AcDbStub* stub : m_touched) stub->touched = false;
    out.insert(out.end(), m_touched.begin(), m_touched.end());
    m_touched.clear();
}

// ---- tables ----

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m)
{
    return getSymbolTable(t, m);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m)
{
    return getSymbolTable(t, m);
}
Acad::ErrorStatus AcDbDatabase::getDimStyleTable(AcDbDimStyleTable*& t, AcDb::OpenMode m)
{
    return getSymbolTable(t, m);
}
Acad::ErrorStatus AcDbDatabase::getViewTable(AcDbViewTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getUCSTable(AcDbUCSTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }
Acad::ErrorStatus AcDbDatabase::getViewportTable(AcDbViewportTable*& t, AcDb::OpenMode m)
{
    return getSymbolTable(t, m);
}
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& t, AcDb::OpenMode m) { return getSymbolTable(t, m); }

std::vector<AcDbObjectId> AcDbDatabase::tableIds() const
{
    return std::vector<AcDbObjectId>(std::begin(m_tables), std::end(m_tables));
}

void AcDbDatabase::setTableId(const std::wstring& dxfTableName, AcDbObjectId id)
{
    static const std::pair<const wchar_t*, TableIndex> kNames[] = {
        {L"VPORT", kVport}, {L"LTYPE", kLinetype}, {L"LAYER", kLayer},   {L"STYLE", kStyle},
        {L"VIEW", kView},   {L"UCS", kUcs},        {L"APPID", kAppid},  {L"DIMSTYLE", kDimStyle},
        {L"BLOCK_RECORD", kBlock}};
    for (const auto& [name, index] : kNames)
        if (fendo::equalsNoCase(dxfTableName, name)) m_tables[index] = id;
}

// ---- dictionaries and well-known records ----

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode)
{
    return acdbOpenObject(dict, m_nod, mode);
}

Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode)
{
    return acdbOpenObject(dict, groupDictionaryId(), mode);
}

AcDbObjectId AcDbDatabase::namedDictionaryEntry(const ACHAR* key) const
{
    const auto* nod = peekObject<AcDbDictionary>(m_nod);
    AcDbObjectId id;
    if (nod) nod->getAt(key, id);
    return id;
}

AcDbObjectId AcDbDatabase::groupDictionaryId() const { return namedDictionaryEntry(L"ACAD_GROUP"); }
AcDbObjectId AcDbDatabase::tableStyleDictionaryId() const { return namedDictionaryEntry(L"ACAD_TABLESTYLE"); }

Acad::ErrorStatus AcDbDatabase::getTableStyleDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode)
{
    return acdbOpenObject(dict, tableStyleDictionaryId(), mode);
}
AcDbObjectId AcDbDatabase::layoutDictionaryId() const { return namedDictionaryEntry(L"ACAD_LAYOUT"); }

AcDbObjectId AcDbDatabase::modelSpaceId() const { return recordIn(m_tables[kBlock], ACDB_MODEL_SPACE); }
AcDbObjectId AcDbDatabase::paperSpaceId() const { return recordIn(m_tables[kBlock], ACDB_PAPER_SPACE); }
AcDbObjectId AcDbDatabase::currentSpaceId() const { return m_tilemode ? modelSpaceId() : paperSpaceId(); }
AcDbObjectId AcDbDatabase::layerZero() const { return recordIn(m_tables[kLayer], L"0"); }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return recordIn(m_tables[kLinetype], L"Continuous"); }
AcDbObjectId AcDbDatabase::byLayerLinetype() const { return recordIn(m_tables[kLinetype], L"ByLayer"); }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return recordIn(m_tables[kLinetype], L"ByBlock"); }

// ---- header variables ----

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layer)
{
    if (layer.isNull()) return Acad::eNullObjectId;
    if (layer.database() != this) return Acad::eWrongDatabase;
    if (!peekObject<AcDbLayerTableRecord>(layer)) return Acad::eWrongObjectType;
    if (layer.isErased()) return Acad::eWasErased;
    m_clayer = layer;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setUcs(const AcGePoint3d& org, const AcGeVector3d& x, const AcGeVector3d& y)
{
    m_ucsorg = org;
    m_ucsxdir = x;
    m_ucsydir = y;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setPucs(const AcGePoint3d& org, const AcGeVector3d& x, const AcGeVector3d& y)
{
    m_pucsorg = org;
    m_pucsxdir = x;
    m_pucsydir = y;
    return Acad::eOk;
}

void AcDbDatabase::updateExt()
{
    AcDbExtents all;
    if (const auto* space = peekObject<AcDbBlockTableRecord>(modelSpaceId())) {
        for (const AcDbObjectId& id : space->entityIds()) {
            if (!id.isValid() || id.isErased()) continue;
            AcDbEntity* ent = nullptr;
            const bool opened = acdbOpenObject(ent, id, AcDb::kForRead) == Acad::eOk;
            // An entity someone holds open for write is readable through that open.
            if (!opened) ent = dynamic_cast<AcDbEntity*>(id.stub()->object);
            if (!ent) continue;
            AcDbExtents ext;
            if (ent->getGeomExtents(ext) == Acad::eOk) all.addExt(ext);
            if (opened) ent->close();
        }
    }
    if (all.isEmpty()) {
        m_extmin.set(1e20, 1e20, 1e20);
        m_extmax.set(-1e20, -1e20, -1e20);
    } else {
        m_extmin = all.minPoint();
        m_extmax = all.maxPoint();
    }
}

// ---- a new drawing ----

void AcDbDatabase::buildDefaultDrawing()
{
    auto addTable = [this](TableIndex index, AcDbSymbolTable* table) {
        addAcDbObject(m_tables[index], table);
        return table;
    };
    // Adds a record to a table open for write and closes the record.
    auto addRecord = [](AcDbSymbolTable* table, AcDbSymbolTableRecord* record, const ACHAR* name) {
        record->setName(name);
        AcDbObjectId id;
        table->add(id, record);
        record->close();
        return id;
    };

    AcDbSymbolTable* vports = addTable(kVport, new AcDbViewportTable);
    addRecord(vports, new AcDbViewportTableRecord, L"*Active");
    vports->close();

    AcDbSymbolTable* linetypes = addTable(kLinetype, new AcDbLinetypeTable);
    addRecord(linetypes, new AcDbLinetypeTableRecord, L"ByBlock");
    m_celtype = addRecord(linetypes, new AcDbLinetypeTableRecord, L"ByLayer");
    auto* continuous = new AcDbLinetypeTableRecord;
    continuous->setComments(L"Solid line");
    const AcDbObjectId continuousId = addRecord(linetypes, continuous, L"Continuous");
    linetypes->close();

    AcDbSymbolTable* layers = addTable(kLayer, new AcDbLayerTable);
    auto* zero = new AcDbLayerTableRecord;
    zero->setColor(AcCmColor(AcCmEntityColor(AcCm::kByACI)));
    zero->setLinetypeObjectId(continuousId);
    m_clayer = addRecord(layers, zero, L"0");
    layers->close();

    AcDbSymbolTable* styles = addTable(kStyle, new AcDbTextStyleTable);
    auto* standard = new AcDbTextStyleTableRecord;
    standard->setFileName(L"arial.ttf");
    m_textstyle = addRecord(styles, standard, L"Standard");
    styles->close();

    addTable(kView, new AcDbViewTable)->close();
    addTable(kUcs, new AcDbUCSTable)->close();

    AcDbSymbolTable* apps = addTable(kAppid, new AcDbRegAppTable);
    addRecord(apps, new AcDbRegAppTableRecord, L"ACAD");
    apps->close();

    AcDbSymbolTable* dimstyles = addTable(kDimStyle, new AcDbDimStyleTable);
    addRecord(dimstyles, new AcDbDimStyleTableRecord, L"Standard");
    dimstyles->close();

    AcDbSymbolTable* blocks = addTable(kBlock, new AcDbBlockTable);
    addRecord(blocks, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
    addRecord(blocks, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
    blocks->close();

    auto* nod = new AcDbDictionary;
    addAcDbObject(m_nod, nod);
    m_objectsOrder.push_back(m_nod);
    for (const ACHAR* key : {L"ACAD_GROUP", L"ACAD_LAYOUT", L"ACAD_TABLESTYLE"}) {
        auto* dict = new AcDbDictionary;
        AcDbObjectId id;
        nod->setAt(key, dict, id);
        dict->addPersistentReactor(m_nod);
        dict->close();
        m_objectsOrder.push_back(id);
    }
    nod->close();

    fendo::dxf::addDefaultLayouts(*this);
}

AcDbHostApplicationServices* acdbHostApplicationServices()
{
    static AcDbHostApplicationServices services;
    return &services;
}
