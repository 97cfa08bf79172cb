// Pieces shared by the DXF reader and writer: class registration and access to the
// subentity runs (VERTEX / ATTRIB ... SEQEND) of the entities that own them.
#pragma once
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include "host/db/AcDbEntity.h"

namespace fendo::dxf {

class DxfByteSource;

// Loads DXF bytes held in memory (ASCII or binary) into an empty database; name stands for
// the file in messages. windows, where given, gives the same bytes again for the plain
// path to read windowBytes at a time (0: the usual window).
Acad::ErrorStatus readDxfData(AcDbDatabase& db, std::string_view data, const std::string& name,
                              std::string* errorMessage = nullptr, DxfByteSource* windows = nullptr,
                              std::size_t windowBytes = 0);

// Registers every class a drawing file may name, so that acrxFindClassByDxfName finds it.
void registerDxfClasses();

// The subentity operations of one owner (a heavy polyline, a block reference, or a class
// implementing fendo::db::SubentityOwner).
class SubentityAccess {
public:
    virtual ~SubentityAccess() = default;
    virtual AcDbEntity* newSubentity(const std::wstring& dxfType) const = 0;
    virtual Acad::ErrorStatus append(AcDbObjectId id) = 0;
    virtual void setSeqend(AcDbObjectId id) = 0;
    virtual bool hasSubentities() const = 0;
    virtual AcDbObjectIdArray subentityIds() const = 0;
    virtual AcDbObjectId seqendId() const = 0;
    // For writers: makes the records of the run that are not in the database yet (the
    // SEQEND included), then visits each record to write in order, held subentities as
    // temporary copies. Owners that hold subentities by handle alone do both without making
    // their stubs.
    virtual void makeRecords() const;
    virtual void forEachRecord(const std::function<void(AcDbObject*)>& fn) const;
};

// The entity obj is, or null, by its class alone: loading and saving ask this of every
// object, and the class test needs no dynamic_cast (entities derive from AcRxObject along
// one line of plain bases).
inline AcDbEntity* entityOf(AcRxObject* obj)
{
    return obj && obj->isKindOf(AcDbEntity::desc()) ? static_cast<AcDbEntity*>(obj) : nullptr;
}

// Whether entities of a class may own subentities (a cheap test before subentityAccess).
bool mayOwnSubentities(const AcRxClass* cls);
// Null for an entity that owns no subentities.
std::unique_ptr<SubentityAccess> subentityAccess(AcDbEntity* entity);

}  // namespace fendo::dxf
