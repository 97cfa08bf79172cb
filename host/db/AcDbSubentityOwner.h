// How entities that own a run of subentities in a DXF file (POLYLINE -> VERTEX ... SEQEND,
// INSERT -> ATTRIB ... SEQEND) meet the file reader and writer.
//
// An entity class that owns such a run also derives from fendo::db::SubentityOwner:
//   class AcDb2dPolyline : public AcDbCurve, public fendo::db::SubentityOwner { ... };
//
// The host's own AcDb2dPolyline, AcDb3dPolyline and AcDbBlockReference have the same
// operations as plain members (see host/db/entities/SubentityList.h); the reader and
// writer call those directly, and this interface for any other class (custom entities of
// modules).
//
// Reading: after the owner's own groups are read (dxfInFields), the reader sees each
// following VERTEX/ATTRIB record, asks the owner for the object to read it into
// (newDxfSubentity), reads it (dxfInFields), sets its owner id to the owner, adds it to the
// database under its handle, closes it and calls appendLoadedSubentity. The SEQEND record
// is read into an object of the class registered for "SEQEND" (or an AcDbUnknownEntity)
// owned by the owner and handed over with setSeqendId. The owner is closed while these
// calls are made (the loader holds it as a plain pointer); they must not assert an open mode.
//
// Writing: when hasSubentities() is true the writer writes the owner, then each id of
// subentityIds() that is not erased, then the record of seqendId().
//
// An owner whose class does not derive from SubentityOwner (an unknown or custom entity)
// keeps its VERTEX/ATTRIB/SEQEND records as unknown entities right after it in its block,
// so they are written back in place.
#pragma once
#include <string>
#include "host/db/AcDbObject.h"

class AcDbEntity;

namespace fendo::db {

class SubentityOwner {
public:
    virtual ~SubentityOwner() = default;
    // A new, empty object for a subentity record of the given DXF type ("VERTEX", "ATTRIB")
    // that follows this owner in a file; null to keep the record as an unknown entity.
    virtual AcDbEntity* newDxfSubentity(const std::wstring& dxfType) const = 0;
    // A subentity read from a file, already in the database with this owner as its owner.
    virtual Acad::ErrorStatus appendLoadedSubentity(AcDbObjectId id) = 0;
    virtual void setSeqendId(AcDbObjectId id) = 0;
    // Whether subentity records (and a SEQEND) follow this entity in a file.
    virtual bool hasSubentities() const = 0;
    // Subentities in file order, and the SEQEND record (made when there is none yet).
    virtual AcDbObjectIdArray subentityIds() const = 0;
    virtual AcDbObjectId seqendId() const = 0;
};

}  // namespace fendo::db
