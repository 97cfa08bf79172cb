// Small conveniences over the database interfaces for the host's own code and tests:
// closing opened objects automatically, opening a table record by name, and reading
// an object without opening it where the host itself needs to look.
#pragma once
#include <concepts>
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbSymbolTable.h"

namespace fendo::db {

// Registers the runtime classes of the database core (objects, entities, curves, tables,
// records, dictionaries) so that they can be found by DXF name. Every database does
// this when it is made.
void registerDatabaseClasses();

// The object behind an id, of class T, without opening it; null when there is none.
// For the host's internals only (lookups that must not disturb open states): commands
// open objects.
template <typename T>
T* peekObject(AcDbObjectId id)
{
    AcDbObject* obj = objectOf(id.stub());
    // Classes with a runtime class of their own are told by it (no dynamic_cast).
    if constexpr (requires { { T::cast(obj) } -> std::same_as<T*>; })
        return T::cast(obj);
    else
        return dynamic_cast<T*>(obj);
}

// An object opened by id and closed when this goes out of scope.
template <typename T>
class OpenedObject {
public:
    OpenedObject(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
    {
        m_status = acdbOpenObject(m_obj, id, mode, openErased);
    }
    ~OpenedObject() { close(); }
    OpenedObject(const OpenedObject&) = delete;
    OpenedObject& operator=(const OpenedObject&) = delete;

    Acad::ErrorStatus openStatus() const { return m_status; }
    explicit operator bool() const { return m_obj != nullptr; }
    T* get() const { return m_obj; }
    T* operator->() const { return m_obj; }
    // Closes now (idempotent).
    void close()
    {
        if (m_obj) m_obj->close();
        m_obj = nullptr;
    }

private:
    T* m_obj = nullptr;
    Acad::ErrorStatus m_status = Acad::eNullObjectId;
};

// Opens the record `name` of the table T (for example AcDbLayerTable) of db; the table is
// opened for read and closed again. The record must be closed by the caller.
template <typename Table, typename Record>
Acad::ErrorStatus openTableRecord(AcDbDatabase* db, const ACHAR* name, Record*& record, AcDb::OpenMode mode)
{
    record = nullptr;
    if (!db) return Acad::eNoDatabase;
    Table* table = nullptr;
    Acad::ErrorStatus es = db->getSymbolTable(table, AcDb::kForRead);
    if (es != Acad::eOk) return es;
    AcDbObjectId id;
    es = table->getAt(name, id);
    table->close();
    if (es != Acad::eOk) return es;
    return acdbOpenObject(record, id, mode);
}

}  // namespace fendo::db
