// Dictionaries: ordered name -> object entries with the host's case-insensitive keys.
// Dictionaries stay small (tens of entries), so entries are found by a scan.
#include "host/db/AcDbDictionary.h"

#include "host/db/AcDbDatabase.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, 0, 0, 0, DICTIONARY, ObjectDBX Classes)

namespace {

bool isLive(AcDbObjectId id) { return id.isValid() && !id.isErased(); }

}  // namespace

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObject*& obj, AcDb::OpenMode mode) const
{
    obj = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(key, id);
    return es == Acad::eOk ? acdbOpenAcDbObject(obj, id, mode) : es;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObjectId& id) const
{
    id = AcDbObjectId();
    if (!key) return Acad::eInvalidKey;
    for (const auto& [name, entry] : m_order) {
        if (isLive(entry) && fendo::equalsNoCase(name, key)) {
            id = entry;
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

bool AcDbDictionary::has(const ACHAR* key) const
{
    AcDbObjectId id;
    return getAt(key, id) == Acad::eOk;
}

bool AcDbDictionary::has(AcDbObjectId id) const
{
    if (!isLive(id)) return false;
    for (const auto& entry : m_order)
        if (entry.second == id) return true;
    return false;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, AcString& key) const
{
    for (const auto& [name, entry] : m_order) {
        if (entry == id) {
            key = name;
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* key, AcDbObject* newValue, AcDbObjectId& newId)
{
    newId = AcDbObjectId();
    if (!newValue) return Acad::eNullObjectPointer;
    if (!key || !*key) return Acad::eInvalidKey;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    AcDbDatabase* db = database();
    if (newValue->objectId().isNull()) {
        if (!db) return Acad::eNoDatabase;
        Acad::ErrorStatus es = db->addAcDbObject(newId, newValue);
        if (es != Acad::eOk) return es;
    } else {
        newId = newValue->objectId();
        if (db && newId.database() != db) return Acad::eWrongDatabase;
    }
    // An object the caller holds open for read keeps its owner; the entry is made anyway.
    newValue->setOwnerId(objectId());
    for (auto& entry : m_order) {
        if (fendo::equalsNoCase(entry.first, key)) {
            entry.second = newId;
            return Acad::eOk;
        }
    }
    m_order.emplace_back(key, newId);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key)
{
    AcDbObjectId id;
    return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& returnId)
{
    returnId = AcDbObjectId();
    if (!key) return Acad::eInvalidKey;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    for (auto it = m_order.begin(); it != m_order.end(); ++it) {
        if (fendo::equalsNoCase(it->first, key)) {
            returnId = it->second;
            m_order.erase(it);
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const
{
    std::vector<std::pair<std::wstring, AcDbObjectId>> live;
    live.reserve(m_order.size());
    for (const auto& entry : m_order)
        if (isLive(entry.second)) live.push_back(entry);
    return new AcDbDictionaryIterator(std::move(live));
}

void AcDbDictionary::appendLoadedEntry(const std::wstring& key, AcDbObjectId id) { m_order.emplace_back(key, id); }

const ACHAR* AcDbDictionaryIterator::name() const { return done() ? nullptr : m_entries[m_pos].first.c_str(); }

AcDbObjectId AcDbDictionaryIterator::objectId() const { return done() ? AcDbObjectId() : m_entries[m_pos].second; }

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& obj, AcDb::OpenMode mode) const
{
    obj = nullptr;
    if (done()) return Acad::eInvalidIndex;
    return acdbOpenAcDbObject(obj, m_entries[m_pos].second, mode);
}
