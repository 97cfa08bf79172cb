// Class registration for drawing files and the subentity access of owning entities.
#include "host/dxf/DxfIo.h"

#include "host/db/AcDbSubentityOwner.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/AcDbText.h"
// Entity classes still being written are registered once their headers exist.
#if __has_include("host/db/entities/AcDbMText.h")
#include "host/db/entities/AcDbMText.h"
#define FENDO_HAS_MTEXT 1
#endif
#if __has_include("host/db/entities/AcDbHatch.h")
#include "host/db/entities/AcDbHatch.h"
#define FENDO_HAS_HATCH 1
#endif
#if __has_include("host/db/entities/AcDbDimension.h")
#include "host/db/entities/AcDbDimension.h"
#define FENDO_HAS_DIMENSION 1
#endif
#if __has_include("host/db/entities/AcDbTable.h")
#include "host/db/entities/AcDbTable.h"
#define FENDO_HAS_TABLE 1
#endif
#if __has_include("host/db/entities/AcDbViewport.h")
#include "host/db/entities/AcDbViewport.h"
#define FENDO_HAS_VIEWPORT 1
#endif

namespace fendo::dxf {

void registerDxfClasses()
{
    static const bool done = [] {
        fendo::db::registerDatabaseClasses();
        AcDbUnknownObject::rxInit();
        AcDbUnknownEntity::rxInit();
        AcDbBlockBegin::rxInit();
        AcDbBlockEnd::rxInit();
        AcDbLine::desc();
        AcDbArc::desc();
        AcDbCircle::desc();
        AcDbPoint::desc();
        AcDbPolyline::desc();
        AcDbSpline::desc();
        AcDbText::desc();
        AcDbAttribute::desc();
        AcDbAttributeDefinition::desc();
        AcDbBlockReference::desc();
        AcDb2dVertex::desc();
        AcDb3dPolylineVertex::desc();
        AcDb3dPolyline::desc();
        AcDb2dPolyline::desc();
        AcDbSequenceEnd::desc();
#ifdef FENDO_HAS_MTEXT
        AcDbMText::desc();
#endif
#ifdef FENDO_HAS_HATCH
        AcDbHatch::desc();
#endif
#ifdef FENDO_HAS_DIMENSION
        AcDbDimension::desc();
#endif
#ifdef FENDO_HAS_TABLE
        AcDbTable::desc();
#endif
#ifdef FENDO_HAS_VIEWPORT
        AcDbViewport::desc();
#endif
        return true;
    }();
    (void)done;
}

void SubentityAccess::makeRecords() const
{
    subentityIds();
    seqendId();
}

void SubentityAccess::forEachRecord(const std::function<void(AcDbObject*)>& fn) const
{
    auto visit = [&fn](AcDbObjectId id) {
        if (const std::unique_ptr<AcDbObject> copy = fendo::db::copyOfHeld(id.stub())) return fn(copy.get());
        if (AcDbStub* stub = id.stub(); stub && stub->object && !stub->erased && !stub->held) fn(stub->object);
    };
    for (const AcDbObjectId& id : subentityIds()) visit(id);
    visit(seqendId());
}

namespace {

// The host's owners have the operations as plain members.
template <typename Owner>
class MemberAccess : public SubentityAccess {
public:
    MemberAccess(Owner* owner, const ACHAR* subType, AcRxClass* subClass)
        : m_owner(owner), m_subType(subType), m_subClass(subClass) {}
    AcDbEntity* newSubentity(const std::wstring& dxfType) const override
    {
        if (dxfType != m_subType || !m_subClass) return nullptr;
        return entityOf(m_subClass->create());
    }
    Acad::ErrorStatus append(AcDbObjectId id) override { return m_owner->appendLoadedSubentity(id); }
    void setSeqend(AcDbObjectId id) override { m_owner->setSeqendId(id); }
    bool hasSubentities() const override { return m_owner->hasSubentities(); }
    AcDbObjectIdArray subentityIds() const override { return m_owner->subentityIds(); }
    AcDbObjectId seqendId() const override { return m_owner->seqendId(); }
    void makeRecords() const override
    {
        if constexpr (requires { m_owner->flushSubentities(); }) m_owner->flushSubentities();
        else SubentityAccess::makeRecords();
    }
    void forEachRecord(const std::function<void(AcDbObject*)>& fn) const override
    {
        if constexpr (requires { m_owner->forEachSubentityRecord(fn); }) m_owner->forEachSubentityRecord(fn);
        else SubentityAccess::forEachRecord(fn);
    }

private:
    Owner* m_owner;
    std::wstring m_subType;
    AcRxClass* m_subClass;
};

class InterfaceAccess : public SubentityAccess {
public:
    explicit InterfaceAccess(fendo::db::SubentityOwner* owner) : m_owner(owner) {}
    AcDbEntity* newSubentity(const std::wstring& dxfType) const override { return m_owner->newDxfSubentity(dxfType); }
    Acad::ErrorStatus append(AcDbObjectId id) override { return m_owner->appendLoadedSubentity(id); }
    void setSeqend(AcDbObjectId id) override { m_owner->setSeqendId(id); }
    bool hasSubentities() const override { return m_owner->hasSubentities(); }
    AcDbObjectIdArray subentityIds() const override { return m_owner->subentityIds(); }
    AcDbObjectId seqendId() const override { return m_owner->seqendId(); }

private:
    fendo::db::SubentityOwner* m_owner;
};

}  // namespace

bool mayOwnSubentities(const AcRxClass* cls)
{
    if (!cls) return false;
    if (cls->isCustom()) return true;
    // One walk up the class chain, asked of every entity read or written.
    static const AcRxClass* const owners[] = {AcDb2dPolyline::desc(), AcDb3dPolyline::desc(),
                                              AcDbBlockReference::desc()};
    for (const AcRxClass* c = cls; c; c = c->myParent())
        if (c == owners[0] || c == owners[1] || c == owners[2]) return true;
    return false;
}

std::unique_ptr<SubentityAccess> subentityAccess(AcDbEntity* entity)
{
    if (!entity) return nullptr;
    if (auto* p = AcDb2dPolyline::cast(entity))
        return std::make_unique<MemberAccess<AcDb2dPolyline>>(p, L"VERTEX", AcDb2dVertex::desc());
    if (auto* p = AcDb3dPolyline::cast(entity))
        return std::make_unique<MemberAccess<AcDb3dPolyline>>(p, L"VERTEX", AcDb3dPolylineVertex::desc());
    if (auto* r = AcDbBlockReference::cast(entity))
        return std::make_unique<MemberAccess<AcDbBlockReference>>(r, L"ATTRIB", AcDbAttribute::desc());
    if (auto* o = dynamic_cast<fendo::db::SubentityOwner*>(entity)) return std::make_unique<InterfaceAccess>(o);
    return nullptr;
}

}  // namespace fendo::dxf
