// Subentities owned by a heavy polyline (VERTEX) or a block reference (ATTRIB), followed in
// drawing files by a SEQEND record.
//
// Hooks for the DXF reader and writer:
//  - reading: the reader adds each VERTEX/ATTRIB record to the database, then calls the
//    owner's appendLoadedSubentity(id) in file order, and setSeqendId(id) for the SEQEND;
//  - writing: an entity whose hasSubentities() is true is followed by the records of
//    subentityIds() (erased ones left out) and then by the record of seqendId(). Both are
//    computed when asked, adding to the database any subentity appended while the owner
//    was not in one, and a SEQEND when it has none yet.
#pragma once
#include <memory>
#include <vector>
#include "host/db/AcDbEntity.h"
#include "host/db/entities/AcDbObjectIterator.h"

class AcDbSequenceEnd;

namespace fendo::db {

class SubentityList {
public:
    SubentityList() = default;
    ~SubentityList();
    SubentityList(const SubentityList&) = delete;
    SubentityList& operator=(const SubentityList&) = delete;

    // Appends (or inserts before position index) a new subentity. When the owner is in a
    // database the subentity is added to it at once (and left closed).
    Acad::ErrorStatus insert(const AcDbEntity* owner, size_t index, AcDbEntity* sub, AcDbObjectId* newId);
    Acad::ErrorStatus appendLoaded(AcDbObjectId id);
    void setSeqend(AcDbObjectId id) { m_seqend = id; }

    // Position of a subentity (by id or pointer) among all slots; npos when absent.
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t indexOf(AcDbObjectId id) const;
    size_t indexOf(const AcDbEntity* sub) const;
    size_t size() const { return m_slots.size(); }

    // The subentities not erased, in order.
    std::vector<AcDbEntity*> live() const;
    std::vector<AcDbObjectIterator::Item> liveItems() const;
    // Adds pending subentities (and a SEQEND) to the owner's database.
    void flush(const AcDbEntity* owner) const;
    AcDbObjectIdArray ids(const AcDbEntity* owner) const;
    AcDbObjectId seqend(const AcDbEntity* owner) const;
    // Removes one subentity (by slot index) or every one: those in a database are
    // erased, pending ones deleted.
    void removeAt(size_t index);
    void clear();
    // Copies of every live subentity (for cloning the owner).
    std::vector<AcDbEntity*> cloneLive() const;

private:
    struct Slot {
        AcDbObjectId id;
        std::unique_ptr<AcDbEntity> pending;  // owned until the owner is in a database
    };
    AcDbEntity* entityOf(const Slot& s, bool allowErased = false) const;
    mutable std::vector<Slot> m_slots;
    mutable AcDbObjectId m_seqend;
};

}  // namespace fendo::db

// The record that ends a run of vertices or attributes in a drawing file.
class AcDbSequenceEnd : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbSequenceEnd);

public:
    AcDbSequenceEnd() = default;
    Acad::ErrorStatus getGeomExtents(AcDbExtents&) const override { return Acad::eInvalidExtents; }
    bool worldDraw(AcGiWorldDraw*) override { return true; }
};
