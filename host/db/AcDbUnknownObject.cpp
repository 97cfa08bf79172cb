// Unmodelled objects and entities kept as their groups, and the BLOCK / ENDBLK records.
#include "host/db/AcDbUnknownObject.h"

#include <unordered_map>

#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"

// Classes without a DXF name of their own (they take the name of what they keep), but
// with a constructor so that copies can be made.
#define FENDO_DEFINE_UNNAMED_MEMBERS(CLASS_NAME, PARENT_CLASS)                                          \
    AcRxClass* CLASS_NAME::gpDesc = nullptr;                                                           \
    AcRxClass* CLASS_NAME::desc()                                                                      \
    {                                                                                                  \
        if (!gpDesc) rxInit();                                                                         \
        return gpDesc;                                                                                 \
    }                                                                                                  \
    AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }                                  \
    void CLASS_NAME::rxInit()                                                                          \
    {                                                                                                  \
        if (gpDesc) return;                                                                            \
        gpDesc = acrxRegisterClass(new AcRxClass(L"" #CLASS_NAME, PARENT_CLASS::desc(),                 \
                                                 []() -> AcRxObject* { return new CLASS_NAME(); }));   \
        gpDesc->setSlot(&gpDesc);                                                                      \
    }

FENDO_DEFINE_UNNAMED_MEMBERS(AcDbUnknownObject, AcDbObject)
FENDO_DEFINE_UNNAMED_MEMBERS(AcDbUnknownEntity, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockBegin, AcDbEntity, 0, 0, 0, BLOCK, AcDbCore)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockEnd, AcDbEntity, 0, 0, 0, ENDBLK, AcDbCore)

namespace {

bool hasKeptGroupsWithoutMarkers(const AcDbObject* obj)
{
    const auto* kept = obj->keptGroups();
    if (!kept) return false;
    bool r12 = false;
    for (const auto& g : *kept) {
        if (g.tag.code == AcDb::kDxfSubclass) return false;
        if (g.subclass == L"*") r12 = true;
    }
    return r12;
}

const AcDbBlockTableRecord* ownerBlock(const AcDbObject* obj)
{
    const AcDbStub* stub = obj->ownerId().stub();
    return stub ? AcDbBlockTableRecord::cast(stub->object) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------- unknown object

AcRxObject* AcDbUnknownObject::clone() const
{
    auto* copy = AcDbUnknownObject::cast(AcDbObject::clone());
    if (copy) copy->m_type = m_type;
    return copy;
}

Acad::ErrorStatus AcDbUnknownObject::dxfInFields(AcDbDxfFiler* filer)
{
    // Everything past the common groups is kept by the reader (finishReading).
    return AcDbObject::dxfInFields(filer);
}

Acad::ErrorStatus AcDbUnknownObject::dxfOutFields(AcDbDxfFiler* filer) const
{
    return AcDbObject::dxfOutFields(filer);
}

// ---------------------------------------------------------------------------- unknown entity

AcRxObject* AcDbUnknownEntity::clone() const
{
    auto* copy = AcDbUnknownEntity::cast(AcDbEntity::clone());
    if (copy) copy->m_type = m_type;
    return copy;
}

std::wstring AcDbUnknownEntity::subclassForR12Type(const std::wstring& dxfType)
{
    static const std::unordered_map<std::wstring, std::wstring> kSubclass = {
        {L"3DFACE", L"AcDbFace"}, {L"SOLID", L"AcDbTrace"}, {L"TRACE", L"AcDbTrace"},
        {L"SHAPE", L"AcDbShape"}, {L"VIEWPORT", L"AcDbViewport"}, {L"LINE", L"AcDbLine"},
        {L"POINT", L"AcDbPoint"}, {L"CIRCLE", L"AcDbCircle"}, {L"INSERT", L"AcDbBlockReference"},
    };
    auto it = kSubclass.find(dxfType);
    return it == kSubclass.end() ? std::wstring() : it->second;
}

Acad::ErrorStatus AcDbUnknownEntity::dxfInFields(AcDbDxfFiler* filer)
{
    return AcDbEntity::dxfInFields(filer);
}

Acad::ErrorStatus AcDbUnknownEntity::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    // Groups read from a file without markers get the marker their type has in newer files.
    if (es == Acad::eOk && hasKeptGroupsWithoutMarkers(this)) {
        const std::wstring marker = subclassForR12Type(m_type);
        if (!marker.empty()) filer->writeString(AcDb::kDxfSubclass, marker.c_str());
    }
    return filer->filerStatus();
}

// ---------------------------------------------------------------------------- BLOCK, ENDBLK

Acad::ErrorStatus AcDbBlockBegin::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbBlockBegin");
    resbuf rb{};
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        switch (rb.restype) {
        case 2: m_name = rb.resval.rstring; break;
        case 70: m_flags = rb.resval.rint; break;
        case 10: m_base.set(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]); break;
        case 3: break;  // the name again
        case 1: m_path = rb.resval.rstring; break;
        case 4: m_description = rb.resval.rstring; break;
        default: filer->keepUnknownItem(); break;
        }
    }
    return es == Acad::eEndOfObject ? filer->filerStatus() : es;
}

Acad::ErrorStatus AcDbBlockBegin::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbBlockBegin");
    std::wstring name = m_name, path = m_path, description = m_description;
    int flags = m_flags;
    AcGePoint3d base = m_base;
    if (const AcDbBlockTableRecord* btr = ownerBlock(this)) {
        name = btr->name();
        path = btr->pathName();
        description = btr->comments();
        flags = btr->blockFlags();
        base = btr->origin();
        const bool layoutBlock = fendo::equalsNoCase(name.substr(0, 12), L"*Model_Space") ||
                                 fendo::equalsNoCase(name.substr(0, 12), L"*Paper_Space");
        if (!name.empty() && name[0] == L'*' && !layoutBlock) flags |= 1;  // anonymous
    }
    filer->writeString(AcDb::kDxfBlockName, name.c_str());
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    filer->writePoint3d(AcDb::kDxfXCoord, base);
    filer->writeString(static_cast<AcDb::DxfCode>(3), name.c_str());
    filer->writeString(AcDb::kDxfXRefPath, path.c_str());
    if (!description.empty()) filer->writeString(static_cast<AcDb::DxfCode>(4), description.c_str());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockEnd::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbBlockEnd");
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockEnd::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbBlockEnd");
    return filer->filerStatus();
}
