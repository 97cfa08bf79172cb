// Subentity lists of heavy polylines and block references (with the compact storage of
// held subentities), the SEQEND record and the subentity iterator.
#include "host/db/entities/SubentityList.h"

#include <type_traits>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/EntityUtil.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, 0, 0, 0, SEQEND, ObjectDBX Classes)

namespace fendo::db {

namespace {
// Gives a new subentity its owner's common properties, as the host does on append.
void inheritProperties(AcDbEntity* sub, const AcDbEntity* owner)
{
    if (owner->layerId().isValid()) sub->setPropertiesFrom(owner);
}

Acad::ErrorStatus addToDatabase(const AcDbEntity* owner, AcDbEntity* sub, AcDbObjectId& id)
{
    AcDbDatabase* db = owner->database();
    if (!db) return Acad::eNoDatabase;
    Acad::ErrorStatus es = db->addAcDbObject(id, sub);
    if (es != Acad::eOk) return es;
    sub->setOwnerId(owner->objectId());
    // A subentity is in its owner's space, whatever it was given before.
    sub->setInPaperSpace(owner->inPaperSpace());
    sub->close();
    return Acad::eOk;
}

void eraseSlotObject(AcDbObjectId id)
{
    if (id.isNull()) return;
    AcDbObject* obj = nullptr;
    if (acdbOpenAcDbObject(obj, id, AcDb::kForWrite) == Acad::eOk) {
        obj->erase();
        obj->close();
    }
}

// Whether sub, a closed object of the database, carries nothing beyond what its owner and
// the held data give it back when it is made again.
bool holdable(const AcDbEntity* owner, const AcDbEntity* sub)
{
    const AcDbStub* stub = sub->objectId().stub();
    if (!stub || stub->erased || stub->held || sub->ownerId() != owner->objectId()) return false;
    if (!sub->hasOnlyCommonMembers() || sub->openMode() != AcDb::kNotOpenForAnything) return false;
    const AcCmColor color = sub->color(), ownerColor = owner->color();
    const bool sameColor = color == ownerColor && color.colorMethod() == ownerColor.colorMethod() &&
                           color.indexBesideRGB() == ownerColor.indexBesideRGB();
    return sameColor && sub->layerId() == owner->layerId() &&
           sub->linetypeId() == owner->linetypeId() && sub->linetypeScale() == owner->linetypeScale() &&
           sub->lineWeight() == owner->lineWeight() && sub->visibility() == owner->visibility() &&
           sub->inPaperSpace() == owner->inPaperSpace();
}

// A made object with the owner's common properties, under the stub's id.
AcDbEntity* finishMade(const AcDbEntity* owner, AcDbEntity* made, AcDbStub* stub)
{
    if (!made) return nullptr;
    made->setPropertiesFrom(owner);
    made->setInPaperSpace(owner->inPaperSpace());
    ObjectAccess::setOwner(made, owner->objectId());
    ObjectAccess::setId(made, AcDbObjectId(stub));
    return made;
}

// Forgets held stubs when their owner goes: they name an object that no longer exists.
void releaseStub(AcDbStub* stub)
{
    if (stub && stub->held) {
        stub->object = nullptr;
        stub->held = false;
    }
}
}  // namespace

template <typename Held>
BasicSubentityList<Held>::~BasicSubentityList()
{
    for (Slot& s : m_slots) {
        if (s.ref.isNull())
            delete s.pending;
        else
            releaseStub(s.ref.stub());
    }
    releaseStub(m_seqend.stub());
}

template <typename Held>
AcDbObjectId BasicSubentityList<Held>::idOf(const AcDbEntity* owner, Ref& ref) const
{
    AcDbDatabase* db = owner->database();
    if (!ref.byHandle() || !db) return AcDbObjectId(ref.stub());
    if (AcDbStub* stub = db->stubForHeldHandle(ref.handle(), owner->objectId().stub())) {
        stub->object = const_cast<AcDbEntity*>(owner);
        stub->held = true;
        ref = Ref(AcDbObjectId(stub));
    } else {
        // Not this owner's in the index: the general lookup settles it (adopt puts the stub
        // in ref when it is ours after all).
        db->idFromHandle(AcDbHandle(ref.handle()));
    }
    return AcDbObjectId(ref.stub());
}

template <typename Held>
AcDbEntity* BasicSubentityList<Held>::entityOf(const AcDbEntity* owner, Slot& s, bool allowErased) const
{
    if (s.ref.isNull()) return s.pending;
    return ent::peek<AcDbEntity>(idOf(owner, s.ref), allowErased);
}

template <typename Held>
Held* BasicSubentityList<Held>::heldAt(size_t index) const
{
    Slot& s = m_slots[index];
    return s.ref.held() && !s.ref.erased() ? &s.held : nullptr;
}

template <typename Held>
AcDbEntity* BasicSubentityList<Held>::objectAt(size_t index, bool allowErased) const
{
    const Slot& s = m_slots[index];
    if (s.ref.isNull()) return s.pending;
    if (s.ref.held()) return nullptr;
    return ent::peek<AcDbEntity>(AcDbObjectId(s.ref.stub()), allowErased);
}

template <typename Held>
Acad::ErrorStatus BasicSubentityList<Held>::insert(const AcDbEntity* owner, size_t index, AcDbEntity* sub,
                                                   AcDbObjectId* newId)
{
    if (!sub) return Acad::eNullEntityPointer;
    if (!sub->objectId().isNull()) return Acad::eAlreadyInDb;
    if (index > m_slots.size()) index = m_slots.size();
    inheritProperties(sub, owner);
    Slot slot;
    AcDbObjectId id;
    if (!owner->objectId().isNull()) {
        Acad::ErrorStatus es = addToDatabase(owner, sub, id);
        if (es != Acad::eOk) return es;
        slot.ref = Ref(id);
    } else {
        slot.pending = sub;
    }
    if (newId) *newId = id;
    m_slots.insert(m_slots.begin() + static_cast<long>(index), slot);
    return Acad::eOk;
}

template <typename Held>
Acad::ErrorStatus BasicSubentityList<Held>::appendLoaded(AcDbObjectId id)
{
    if (id.isNull()) return Acad::eNullObjectId;
    Slot slot;
    slot.ref = Ref(id);
    m_slots.push_back(slot);
    return Acad::eOk;
}

template <typename Held>
size_t BasicSubentityList<Held>::indexOf(AcDbObjectId id) const
{
    // A subentity held by handle alone has no stub, so no id can name it.
    if (id.isNull()) return npos;
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].ref.stub() == id.stub()) return i;
    return npos;
}

template <typename Held>
size_t BasicSubentityList<Held>::indexOf(const AcDbEntity* sub) const
{
    // A held subentity has no object that sub could be.
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (objectAt(i, true) == sub) return i;
    return npos;
}

template <typename Held>
std::vector<AcDbEntity*> BasicSubentityList<Held>::live(const AcDbEntity* owner) const
{
    std::vector<AcDbEntity*> out;
    out.reserve(m_slots.size());
    for (Slot& s : m_slots)
        if (AcDbEntity* e = entityOf(owner, s)) out.push_back(e);
    return out;
}

template <typename Held>
std::vector<AcDbObjectIterator::Item> BasicSubentityList<Held>::liveItems(const AcDbEntity* owner) const
{
    std::vector<AcDbObjectIterator::Item> out;
    for (Slot& s : m_slots) {
        if (s.ref.held()) {
            if (!s.ref.erased()) out.push_back({idOf(owner, s.ref), nullptr});
        } else if (AcDbEntity* e = entityOf(owner, s)) {
            out.push_back({AcDbObjectId(s.ref.stub()), e});
        }
    }
    return out;
}

template <typename Held>
void BasicSubentityList<Held>::flush(const AcDbEntity* owner) const
{
    if (owner->objectId().isNull() || !owner->database()) return;
    // Owners that hold subentities as data keep new ones with nothing of their own beyond
    // that data (made from points, with the owner's properties) as data too, as they keep
    // those read from a file.
    constexpr bool holds = !std::is_same_v<Held, NoHeldData>;
    for (Slot& s : m_slots) {
        if (!s.ref.isNull()) continue;
        AcDbEntity* sub = s.pending;
        AcDbObjectId id;
        if (addToDatabase(owner, sub, id) != Acad::eOk) continue;
        s.ref = Ref(id);
        if constexpr (holds) holdSlot(owner, s);
    }
    if (m_seqend.isNull()) {
        auto* seq = new AcDbSequenceEnd;
        inheritProperties(seq, owner);
        AcDbObjectId id;
        if (addToDatabase(owner, seq, id) == Acad::eOk) {
            m_seqend = Ref(id);
            if constexpr (holds) {
                if (holdable(owner, seq)) m_seqend = const_cast<BasicSubentityList*>(this)->hold(owner, m_seqend.stub());
            }
        } else {
            delete seq;
        }
    }
}

template <typename Held>
AcDbObjectIdArray BasicSubentityList<Held>::ids(const AcDbEntity* owner) const
{
    flush(owner);
    AcDbObjectIdArray out;
    for (Slot& s : m_slots)
        if (!s.ref.isNull() && !s.ref.erased()) out.append(idOf(owner, s.ref));
    return out;
}

template <typename Held>
AcDbObjectId BasicSubentityList<Held>::seqend(const AcDbEntity* owner) const
{
    flush(owner);
    return idOf(owner, m_seqend);
}

template <typename Held>
AcDbEntity* BasicSubentityList<Held>::madeFrom(const Slot* slot) const
{
    return slot ? slot->held.make() : new AcDbSequenceEnd;
}

template <typename Held>
void BasicSubentityList<Held>::forEachRecord(const AcDbEntity* owner, const std::function<void(AcDbObject*)>& fn) const
{
    forEachRecord(owner, fn, nullptr);
}

template <typename Held>
void BasicSubentityList<Held>::forEachRecord(const AcDbEntity* owner, const std::function<void(AcDbObject*)>& fn,
                                             const std::function<bool(const Held&, std::uint64_t)>& held) const
{
    flush(owner);
    auto visit = [&](const Ref& ref, const Slot* slot) {
        AcDbStub* stub = ref.stub();
        if (ref.held()) {
            // A copy made from the slot at hand (no search for it), under the subentity's
            // stub or, held by handle alone, under a stub of its own for the writer's eyes only.
            if (stub && stub->erased) return;
            if (slot && held && held(slot->held, ref.handle())) return;
            AcDbStub temporary{AcDbHandle(ref.handle()), owner->database()};
            const std::unique_ptr<AcDbEntity> copy(finishMade(owner, madeFrom(slot), stub ? stub : &temporary));
            if (copy) fn(copy.get());
        } else if (stub && !stub->erased && stub->object) {
            fn(stub->object);
        }
    };
    for (const Slot& s : m_slots) visit(s.ref, &s);
    visit(m_seqend, nullptr);
}

template <typename Held>
void BasicSubentityList<Held>::removeAt(const AcDbEntity* owner, size_t index)
{
    if (index >= m_slots.size()) return;
    Slot& s = m_slots[index];
    if (s.ref.isNull())
        delete s.pending;
    else
        eraseSlotObject(idOf(owner, s.ref));
    m_slots.erase(m_slots.begin() + static_cast<long>(index));
}

template <typename Held>
void BasicSubentityList<Held>::clear(const AcDbEntity* owner)
{
    for (Slot& s : m_slots) {
        if (s.ref.isNull())
            delete s.pending;
        else
            eraseSlotObject(idOf(owner, s.ref));
    }
    m_slots.clear();
}

template <typename Held>
std::vector<AcDbEntity*> BasicSubentityList<Held>::cloneLive(const AcDbEntity* owner) const
{
    std::vector<AcDbEntity*> out;
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (const Held* h = heldAt(i)) {
            if (AcDbEntity* copy = h->make()) out.push_back(copy);
        } else if (AcDbEntity* e = entityOf(owner, m_slots[i])) {
            if (auto* copy = AcDbEntity::cast(e->clone())) out.push_back(copy);
        }
    }
    return out;
}

template <typename Held>
typename BasicSubentityList<Held>::Ref BasicSubentityList<Held>::hold(const AcDbEntity* owner, AcDbStub* stub)
{
    delete stub->object;
    stub->object = nullptr;
    const std::uint64_t handle = stub->handle.value();
    AcDbDatabase* db = owner->database();
    if (Ref::fits(handle) && db && db->releaseHeldStub(stub, owner->objectId().stub())) return Ref::ofHandle(handle);
    stub->object = const_cast<AcDbEntity*>(owner);
    stub->held = true;
    return Ref(AcDbObjectId(stub));
}

template <typename Held>
void BasicSubentityList<Held>::holdLast(const AcDbEntity* owner)
{
    if (!m_slots.empty()) holdSlot(owner, m_slots.back());
}

template <typename Held>
void BasicSubentityList<Held>::holdSlot(const AcDbEntity* owner, Slot& s) const
{
    const AcDbEntity* sub = s.ref.stub() ? ent::peek<AcDbEntity>(AcDbObjectId(s.ref.stub())) : nullptr;
    if (!sub || !holdable(owner, sub)) return;
    Held data;
    if (!Held::take(sub, data)) return;
    s.held = data;
    s.ref = const_cast<BasicSubentityList*>(this)->hold(owner, s.ref.stub());
}

template <typename Held>
bool BasicSubentityList<Held>::appendHeldLoaded(const AcDbEntity* owner, AcDbHandle handle, const Held& data)
{
    AcDbDatabase* db = owner->database();
    if (!db || !Ref::fits(handle.value()) || !db->holdLoadedHandle(handle, owner->objectId().stub())) return false;
    Slot s;
    s.held = data;
    s.ref = Ref::ofHandle(handle.value());
    m_slots.push_back(s);
    return true;
}

template <typename Held>
void BasicSubentityList<Held>::holdSeqend(const AcDbEntity* owner)
{
    // The end of a run read from a file: the list has all its slots.
    m_slots.shrink_to_fit();
    AcDbStub* stub = m_seqend.stub();
    const auto* seq = stub ? ent::peek<AcDbEntity>(AcDbObjectId(stub)) : nullptr;
    if (seq && seq->isA() == AcDbSequenceEnd::desc() && holdable(owner, seq)) m_seqend = hold(owner, stub);
}

template <typename Held>
bool BasicSubentityList<Held>::adopt(const AcDbEntity* owner, AcDbStub* stub)
{
    const std::uint64_t handle = stub->handle.value();
    auto take = [&](Ref& ref) {
        if (!ref.byHandle() || ref.handle() != handle) return false;
        ref = Ref(AcDbObjectId(stub));
        stub->object = const_cast<AcDbEntity*>(owner);
        stub->held = true;
        return true;
    };
    for (Slot& s : m_slots)
        if (take(s.ref)) return true;
    return take(m_seqend);
}

template <typename Held>
AcDbObject* BasicSubentityList<Held>::materialize(const AcDbEntity* owner, AcDbStub* stub)
{
    if (!stub || !stub->held || stub->object != owner) return nullptr;
    const Slot* slot = nullptr;
    if (stub != m_seqend.stub()) {
        const size_t at = indexOf(AcDbObjectId(stub));
        if (at == npos) return nullptr;
        slot = &m_slots[at];
    }
    AcDbEntity* made = finishMade(owner, madeFrom(slot), stub);
    if (!made) return nullptr;
    stub->object = made;
    stub->held = false;
    return made;
}

template <typename Held>
std::unique_ptr<AcDbObject> BasicSubentityList<Held>::copyOfHeld(const AcDbEntity* owner, const AcDbStub* stub) const
{
    if (!stub || !stub->held || stub->object != owner) return nullptr;
    const Slot* slot = nullptr;
    if (stub != m_seqend.stub()) {
        const size_t at = indexOf(AcDbObjectId(const_cast<AcDbStub*>(stub)));
        if (at == npos) return nullptr;
        slot = &m_slots[at];
    }
    return std::unique_ptr<AcDbObject>(finishMade(owner, madeFrom(slot), const_cast<AcDbStub*>(stub)));
}

template <typename Held>
void BasicSubentityList<Held>::materializeAll(const AcDbEntity* owner)
{
    for (Slot& s : m_slots)
        if (s.ref.held()) materialize(owner, idOf(owner, s.ref).stub());
    if (m_seqend.held()) materialize(owner, idOf(owner, m_seqend).stub());
}

template <typename Held>
void BasicSubentityList<Held>::forEachObject(const std::function<void(AcDbEntity*)>& fn) const
{
    auto visit = [&](const Ref& ref, AcDbEntity* pending) {
        if (ref.isNull()) {
            if (pending) fn(pending);
            return;
        }
        if (ref.held() || ref.erased()) return;
        AcDbEntity* sub = nullptr;
        if (acdbOpenObject(sub, AcDbObjectId(ref.stub()), AcDb::kForWrite) != Acad::eOk) return;
        fn(sub);
        sub->close();
    };
    for (const Slot& s : m_slots) visit(s.ref, s.ref.isNull() ? s.pending : nullptr);
    visit(m_seqend, nullptr);
}

template class BasicSubentityList<NoHeldData>;
template class BasicSubentityList<HeldVertex3d>;

}  // namespace fendo::db

// ---- iterator -------------------------------------------------------------------------

void AcDbObjectIterator::start(bool atEnd)
{
    m_pos = atEnd ? static_cast<long>(m_items.size()) - 1 : 0;
    skipErased(!atEnd);
}

void AcDbObjectIterator::step(bool backwards, bool skipErasedItems)
{
    if (done()) return;
    m_pos += backwards ? -1 : 1;
    if (skipErasedItems) skipErased(!backwards);
}

bool AcDbObjectIterator::seek(AcDbObjectId id)
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].id == id) { m_pos = static_cast<long>(i); return true; }
    return false;
}

bool AcDbObjectIterator::seek(const AcDbEntity* entity)
{
    if (!entity) return false;
    // An item not asked for yet may have been made since through its id.
    for (size_t i = 0; i < m_items.size(); ++i) {
        const AcDbStub* stub = m_items[i].id.stub();
        const bool made = stub && !stub->held && stub->object == entity;
        if (m_items[i].entity == entity || made) { m_pos = static_cast<long>(i); return true; }
    }
    return false;
}

AcDbEntity* AcDbObjectIterator::entity() const
{
    if (done()) return nullptr;
    Item& item = m_items[m_pos];
    if (!item.entity) item.entity = AcDbEntity::cast(fendo::db::objectOf(item.id.stub()));
    return item.entity;
}

void AcDbObjectIterator::skipErased(bool forward)
{
    while (!done() && m_items[m_pos].id.isErased()) m_pos += forward ? 1 : -1;
}
