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
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "host/db/AcDbEntity.h"
#include "host/db/entities/AcDbObjectIterator.h"

class AcDbSequenceEnd;

namespace fendo::db {

// What a list keeps of a subentity it holds without its object (see AcDbStub::held). A
// Held type has:
//   static bool take(const AcDbEntity* sub, Held& data)  copies sub's data when the data
//       carries all of it, else returns false (the subentity stays an object);
//   AcDbEntity* make() const                              a new object with the data.
// Lists of subentities that are never held use NoHeldData.
struct NoHeldData {
    static bool take(const AcDbEntity*, NoHeldData&) { return false; }
    AcDbEntity* make() const { return nullptr; }
};

template <typename Held = NoHeldData>
class BasicSubentityList {
public:
    BasicSubentityList() = default;
    ~BasicSubentityList();
    BasicSubentityList(const BasicSubentityList&) = delete;
    BasicSubentityList& operator=(const BasicSubentityList&) = delete;

    // Appends (or inserts before position index) a new subentity. When the owner is in a
    // database the subentity is added to it at once (and left closed).
    Acad::ErrorStatus insert(const AcDbEntity* owner, size_t index, AcDbEntity* sub, AcDbObjectId* newId);
    Acad::ErrorStatus appendLoaded(AcDbObjectId id);
    void setSeqend(AcDbObjectId id) { m_seqend = Ref(id); }

    // Position of a subentity (by id or pointer) among all slots; npos when absent.
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t indexOf(AcDbObjectId id) const;
    size_t indexOf(const AcDbEntity* sub) const;
    size_t size() const { return m_slots.size(); }
    // Room for n subentities, for an owner made with its vertices.
    void reserve(size_t n) { m_slots.reserve(n); }

    // The subentities not erased, in order (held ones are made).
    std::vector<AcDbEntity*> live(const AcDbEntity* owner) const;
    // The same for an iterator: held ones are made when the iterator is asked for them.
    std::vector<AcDbObjectIterator::Item> liveItems(const AcDbEntity* owner) const;
    // Adds pending subentities (and a SEQEND) to the owner's database.
    void flush(const AcDbEntity* owner) const;
    AcDbObjectIdArray ids(const AcDbEntity* owner) const;
    AcDbObjectId seqend(const AcDbEntity* owner) const;
    // For writers: after flush, every subentity not erased in order and then the SEQEND,
    // each as the database's object or, when held, as a temporary copy with its handle (no
    // object or stub is made for it).
    void forEachRecord(const AcDbEntity* owner, const std::function<void(AcDbObject*)>& fn) const;
    // The same, but a held subentity goes first to `held` with its data and handle: when
    // that gives false, its temporary copy goes to fn.
    void forEachRecord(const AcDbEntity* owner, const std::function<void(AcDbObject*)>& fn,
                       const std::function<bool(const Held&, std::uint64_t handle)>& held) const;
    // Removes one subentity (by slot index) or every one: those in a database are
    // erased, pending ones deleted.
    void removeAt(const AcDbEntity* owner, size_t index);
    void clear(const AcDbEntity* owner);
    // Copies of every live subentity (for cloning the owner); held ones are copied from
    // their data, without making their objects.
    std::vector<AcDbEntity*> cloneLive(const AcDbEntity* owner) const;

    // Compact storage. holdLast and holdSeqend replace the object of the last subentity
    // (or of the SEQEND) by its data when it has nothing of its own beyond that data: its
    // owner is `owner`, its common properties are the owner's, it has no extended data,
    // reactors, extension dictionary or kept groups, and it is closed and not erased.
    // The object is deleted; the list keeps its handle alone when the database lets the
    // stub go (AcDbDatabase::releaseHeldStub), else the stub names the owner until the
    // object is made again. holdSeqend ends a run read from a file and gives back the
    // list's spare room.
    void holdLast(const AcDbEntity* owner);
    void holdSeqend(const AcDbEntity* owner);
    // Whether the last subentity is held by its handle alone (holdLast let its stub go).
    bool lastHeldByHandle() const { return !m_slots.empty() && m_slots.back().ref.byHandle(); }
    // Appends a subentity read from a file as held data without making its object, as
    // holdLast would leave one that proved holdable; false when the database has the handle.
    bool appendHeldLoaded(const AcDbEntity* owner, AcDbHandle handle, const Held& data);
    // Takes the stub the database made for a handle the list holds alone; false when the
    // list does not hold that handle.
    bool adopt(const AcDbEntity* owner, AcDbStub* stub);
    // Makes the object of held subentity `stub` (a vertex or the SEQEND) with the owner's
    // common properties, or a temporary copy of it; null when the list does not hold it.
    AcDbObject* materialize(const AcDbEntity* owner, AcDbStub* stub);
    std::unique_ptr<AcDbObject> copyOfHeld(const AcDbEntity* owner, const AcDbStub* stub) const;
    // Makes every held object (before the owner's common properties change).
    void materializeAll(const AcDbEntity* owner);
    // Gives every subentity that is an object (the SEQEND included; not held, not erased)
    // to fn: pending ones as they are, the others opened for write.
    void forEachObject(const std::function<void(AcDbEntity*)>& fn) const;

    // Slot access for the owner's own code: the data of a held subentity, else null; the
    // object of a subentity that has one (null when held, or erased unless allowErased).
    Held* heldAt(size_t index) const;
    AcDbEntity* objectAt(size_t index, bool allowErased = false) const;

private:
    // Names a subentity of the database: its stub, or its handle alone (low bit set) while
    // the list holds it without a stub; zero for a subentity not in the database yet.
    class Ref {
    public:
        Ref() = default;
        explicit Ref(AcDbObjectId id) : m_bits(reinterpret_cast<std::uintptr_t>(id.stub())) {}
        static Ref ofHandle(std::uint64_t handle)
        {
            Ref r;
            r.m_bits = static_cast<std::uintptr_t>(handle << 1 | 1u);
            return r;
        }
        // Handles with the top bit set cannot be kept alone.
        static bool fits(std::uint64_t handle) { return (handle >> 63) == 0; }
        bool isNull() const { return m_bits == 0; }
        bool byHandle() const { return m_bits & 1u; }
        std::uint64_t handle() const { return byHandle() ? m_bits >> 1 : (m_bits ? stub()->handle.value() : 0); }
        AcDbStub* stub() const { return byHandle() ? nullptr : reinterpret_cast<AcDbStub*>(m_bits); }
        bool held() const { return byHandle() || (m_bits && stub()->held); }
        bool erased() const { return !byHandle() && m_bits && stub()->erased; }

    private:
        std::uintptr_t m_bits = 0;
    };
    struct Slot {
        Slot() : pending(nullptr) {}
        Ref ref;
        union {
            AcDbEntity* pending;  // owned until the owner is in a database (ref null)
            Held held;            // while the subentity is held
        };
    };
    // The id of a subentity in the database (a stub is made for one held by handle alone).
    AcDbObjectId idOf(const AcDbEntity* owner, Ref& ref) const;
    AcDbEntity* entityOf(const AcDbEntity* owner, Slot& s, bool allowErased = false) const;
    Ref hold(const AcDbEntity* owner, AcDbStub* stub);
    // Holds the subentity of slot s as data when it has nothing of its own beyond it.
    void holdSlot(const AcDbEntity* owner, Slot& s) const;
    AcDbEntity* madeFrom(const Slot* slot) const;
    mutable std::vector<Slot> m_slots;
    mutable Ref m_seqend;
};

using SubentityList = BasicSubentityList<NoHeldData>;

}  // namespace fendo::db

// The record that ends a run of vertices or attributes in a drawing file.
class AcDbSequenceEnd : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbSequenceEnd);

public:
    AcDbSequenceEnd() = default;
    Acad::ErrorStatus getGeomExtents(AcDbExtents&) const override { return Acad::eInvalidExtents; }
    bool worldDraw(AcGiWorldDraw*) override { return true; }
};
