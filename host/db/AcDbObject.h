// Base of every object a drawing database holds: identity, ownership, the open/close
// discipline, extended data and filing.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "host/core/AcArray.h"
#include "host/core/AcadTypes.h"
#include "host/core/adsdef.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcString.h"
#include "host/rx/AcRxObject.h"

class AcDbDxfFiler;
class AcDbDwgFiler;
class AcDbDatabase;

using AcDbObjectIdArray = AcArray<AcDbObjectId>;
using AcDbIntArray = AcArray<int>;
using AcDbVoidPtrArray = AcArray<void*>;

namespace fendo::db {
// One group of a drawing file kept as it was read: its code and its text as written in
// the file (UTF-8). Used for everything the database does not model.
struct RawTag {
    short code = 0;
    std::string value;
    bool operator==(const RawTag&) const = default;
};
using RawTags = std::vector<RawTag>;
struct ObjectAccess;
}  // namespace fendo::db

class AcDbObject : public AcRxObject {
    ACRX_DECLARE_MEMBERS(AcDbObject);

public:
    AcDbObject();
    ~AcDbObject() override;
    AcDbObject(const AcDbObject&) = delete;
    AcDbObject& operator=(const AcDbObject&) = delete;

    AcDbObjectId objectId() const { return m_id; }
    AcDbObjectId ownerId() const { return m_ownerId; }
    virtual Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
    AcDbDatabase* database() const;
    void getAcDbHandle(AcDbHandle& handle) const { handle = m_id.handle(); }

    // Open state. An object not in a database is always readable and writable.
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isErased() const;
    bool isNewObject() const { return m_id.isNull(); }
    AcDb::OpenMode openMode() const;
    Acad::ErrorStatus close();
    Acad::ErrorStatus erase(bool erasing = true);
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    // Internal invariants: using an object in a way its open mode forbids is a programming
    // error; these abort in every build rather than silently change a drawing.
    void assertReadEnabled() const;
    void assertWriteEnabled();

    // Extended data. xData returns a new chain (caller releases it with acutRelRb) of every
    // application's data, or only regappName's; null when there is none. setXData replaces
    // the data of each application named in the chain; an application with no values
    // after its 1001 group is removed. The application must be registered (acdbRegApp).
    resbuf* xData(const ACHAR* regappName = nullptr) const;
    Acad::ErrorStatus setXData(const resbuf* xdata);
    bool hasXData() const { return m_extra && !m_extra->xdata.empty(); }
    // Raw access for filers: the 1001.. groups as read or written.
    const fendo::db::RawTags* rawXData() const { return hasXData() ? &m_extra->xdata : nullptr; }
    void setRawXData(fendo::db::RawTags tags);

    AcDbObjectId extensionDictionary() const { return m_extra ? m_extra->extDict : AcDbObjectId(); }
    Acad::ErrorStatus createExtensionDictionary();
    void setExtensionDictionary(AcDbObjectId dict);
    const AcDbObjectIdArray& reactors() const;
    void addPersistentReactor(AcDbObjectId id);
    void removePersistentReactor(AcDbObjectId id);

    // Filing. dxfOutFields writes the object's groups after its type name (0); dxfInFields
    // reads them back. Each class files its own subclass section after its parent's.
    virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer);
    virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const;
    virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);
    virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;
    // The DXF type name written in group 0 (the class's DXF name unless a class says otherwise).
    virtual std::wstring dxfTypeName() const;

    // A copy not in any database, made by filing this object out and into a new object
    // of the same class (owner, handle and reactors are not copied).
    AcRxObject* clone() const override;

    // Groups read from a file that this object's classes do not model, kept per subclass
    // section and written back after that section.
    struct KeptGroup {
        std::wstring subclass;
        fendo::db::RawTag tag;
    };
    const std::vector<KeptGroup>* keptGroups() const { return m_extra && !m_extra->kept.empty() ? &m_extra->kept : nullptr; }
    void keepGroup(const std::wstring& subclass, fendo::db::RawTag tag);
    void clearKeptGroups();

    // For owners that hold subentities compactly (see AcDbStub::held): makes the object of
    // held subentity `stub` (from then on an ordinary object of the database), or gives a
    // temporary copy of it for writing (it has the subentity's id and owner but is not the
    // database's object). Other objects hold nothing and return null.
    virtual AcDbObject* materializeHeld(AcDbStub* stub);
    virtual std::unique_ptr<AcDbObject> copyOfHeld(const AcDbStub* stub) const;
    // An owner may hold a subentity without even a stub (its handle alone, see
    // AcDbDatabase::releaseHeldStub). When the handle is looked up the database makes a stub
    // for it and hands it here: the owner takes it (stub->object becomes the owner, held set)
    // and returns true, or returns false when it holds no such handle.
    virtual bool adoptHeldStub(AcDbStub* stub);

    // True when the object has none of the members most objects go without (extension
    // dictionary, reactors, extended data, kept groups).
    bool hasOnlyCommonMembers() const { return !m_extra; }

private:
    friend class AcDbDatabase;
    friend struct fendo::db::ObjectAccess;
    // Members most objects never use, in one block made on first use: an object of a big
    // drawing then costs its ids and open state only.
    struct Extra {
        AcDbObjectId extDict;
        AcDbObjectIdArray reactors;
        fendo::db::RawTags xdata;
        std::vector<KeptGroup> kept;
    };
    Extra& extra();
    // Drops the block once nothing is left in it.
    void trimExtra();

    AcDbObjectId m_id;
    AcDbObjectId m_ownerId;
    std::unique_ptr<Extra> m_extra;
    // Readers at once are capped far below this type's range (kMaxReaders).
    std::uint16_t m_readers = 0;
    bool m_writer = false;
};

namespace fendo::db {
// The object behind a stub, made now from its owner's compact storage when it is held;
// null when there is none.
AcDbObject* materializeHeld(AcDbStub* stub);
inline AcDbObject* objectOf(AcDbStub* stub)
{
    if (!stub) return nullptr;
    return stub->held ? materializeHeld(stub) : stub->object;
}
// For writers: a temporary copy of a held object (null when the stub's object is not held).
std::unique_ptr<AcDbObject> copyOfHeld(const AcDbStub* stub);

// Lets the database and its filers reach an object's private bookkeeping.
struct ObjectAccess {
    static void setId(AcDbObject* obj, AcDbObjectId id) { obj->m_id = id; }
    static std::uint16_t& readers(AcDbObject* obj) { return obj->m_readers; }
    static void setOwner(AcDbObject* obj, AcDbObjectId owner) { obj->m_ownerId = owner; }
    static bool& writer(AcDbObject* obj) { return obj->m_writer; }
};
}  // namespace fendo::db

// Opening objects by id. An erased object fails with eWasErased unless openErased is set;
// an object open for write cannot be opened again (eWasOpenForWrite); one open for read
// cannot be opened for write (eWasOpenForRead); an entity on a locked layer cannot be
// opened for write (eOnLockedLayer). Every successful open is matched by close().
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false);

template <typename T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
{
    obj = nullptr;
    AcDbObject* any = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(any, id, mode, openErased);
    if (es != Acad::eOk) return es;
    obj = T::cast(any);
    if (!obj) {
        any->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}

// Selection-set names and ids: an ads_name holds the object's stub.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
