// Subentity lists of heavy polylines and block references, the SEQEND record and the
// subentity iterator.
#include "host/db/entities/SubentityList.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity, 0, 0, 0, SEQEND, ObjectDBX Classes)

namespace fendo::db {

SubentityList::~SubentityList() = default;

AcDbEntity* SubentityList::entityOf(const Slot& s, bool allowErased) const
{
    if (s.pending) return s.pending.get();
    return ent::peek<AcDbEntity>(s.id, allowErased);
}

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
    sub->close();
    return Acad::eOk;
}
}  // namespace

Acad::ErrorStatus SubentityList::insert(const AcDbEntity* owner, size_t index, AcDbEntity* sub, AcDbObjectId* newId)
{
    if (!sub) return Acad::eNullEntityPointer;
    if (!sub->objectId().isNull()) return Acad::eAlreadyInDb;
    if (index > m_slots.size()) index = m_slots.size();
    inheritProperties(sub, owner);
    Slot slot;
    if (!owner->objectId().isNull()) {
        Acad::ErrorStatus es = addToDatabase(owner, sub, slot.id);
        if (es != Acad::eOk) return es;
    } else {
        slot.pending.reset(sub);
    }
    if (newId) *newId = slot.id;
    m_slots.insert(m_slots.begin() + static_cast<long>(index), std::move(slot));
    return Acad::eOk;
}

Acad::ErrorStatus SubentityList::appendLoaded(AcDbObjectId id)
{
    if (id.isNull()) return Acad::eNullObjectId;
    Slot slot;
    slot.id = id;
    m_slots.push_back(std::move(slot));
    return Acad::eOk;
}

size_t SubentityList::indexOf(AcDbObjectId id) const
{
    if (id.isNull()) return npos;
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].id == id) return i;
    return npos;
}

size_t SubentityList::indexOf(const AcDbEntity* sub) const
{
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (entityOf(m_slots[i], true) == sub) return i;
    return npos;
}

std::vector<AcDbEntity*> SubentityList::live() const
{
    std::vector<AcDbEntity*> out;
    out.reserve(m_slots.size());
    for (const Slot& s : m_slots)
        if (AcDbEntity* e = entityOf(s)) out.push_back(e);
    return out;
}

std::vector<AcDbObjectIterator::Item> SubentityList::liveItems() const
{
    std::vector<AcDbObjectIterator::Item> out;
    for (const Slot& s : m_slots)
        if (AcDbEntity* e = entityOf(s)) out.push_back({s.id, e});
    return out;
}

void SubentityList::flush(const AcDbEntity* owner) const
{
    if (owner->objectId().isNull() || !owner->database()) return;
    for (Slot& s : m_slots) {
        if (!s.pending) continue;
        AcDbEntity* sub = s.pending.release();
        if (addToDatabase(owner, sub, s.id) != Acad::eOk) s.pending.reset(sub);
    }
    if (m_seqend.isNull()) {
        auto* seq = new AcDbSequenceEnd;
        inheritProperties(seq, owner);
        AcDbObjectId id;
        if (addToDatabase(owner, seq, id) == Acad::eOk) m_seqend = id;
        else delete seq;
    }
}

AcDbObjectIdArray SubentityList::ids(const AcDbEntity* owner) const
{
    flush(owner);
    AcDbObjectIdArray out;
    for (const Slot& s : m_slots)
        if (!s.id.isNull() && !s.id.isErased()) out.append(s.id);
    return out;
}

AcDbObjectId SubentityList::seqend(const AcDbEntity* owner) const
{
    flush(owner);
    return m_seqend;
}

namespace {
void eraseSlotObject(AcDbObjectId id)
{
    if (id.isNull()) return;
    AcDbObject* obj = nullptr;
    if (acdbOpenAcDbObject(obj, id, AcDb::kForWrite) == Acad::eOk) {
        obj->erase();
        obj->close();
    }
}
}  // namespace

void SubentityList::removeAt(size_t index)
{
    if (index >= m_slots.size()) return;
    if (!m_slots[index].pending) eraseSlotObject(m_slots[index].id);
    m_slots.erase(m_slots.begin() + static_cast<long>(index));
}

void SubentityList::clear()
{
    for (Slot& s : m_slots)
        if (!s.pending) eraseSlotObject(s.id);
    m_slots.clear();
}

std::vector<AcDbEntity*> SubentityList::cloneLive() const
{
    std::vector<AcDbEntity*> out;
    for (AcDbEntity* e : live())
        if (auto* copy = AcDbEntity::cast(e->clone())) out.push_back(copy);
    return out;
}

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
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].entity == entity) { m_pos = static_cast<long>(i); return true; }
    return false;
}

void AcDbObjectIterator::skipErased(bool forward)
{
    while (!done() && m_items[m_pos].id.isErased()) m_pos += forward ? 1 : -1;
}
