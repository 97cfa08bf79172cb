// Runtime classes: every host and module object knows its class, its parent class and,
// for drawing objects, its DXF name; modules register their own classes at load.
#pragma once
#include <cassert>
#include <functional>
#include <map>
#include <string>
#include "host/core/AcadTypes.h"

class AcRxClass;

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
    static AcRxClass* desc();
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* cls) const;
    static AcRxObject* cast(const AcRxObject* obj) { return const_cast<AcRxObject*>(obj); }
    // A new object of the same class with the same contents; not in any database.
    virtual AcRxObject* clone() const { return nullptr; }
};

using AcRxPseudoConstructor = AcRxObject* (*)();

// Proxy flags and versions are kept for filing (the CLASSES section of a DXF file).
class AcRxClass : public AcRxObject {
public:
    AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor ctor = nullptr,
              int dwgVersion = 0, int maintVersion = 0, int proxyFlags = 0, const ACHAR* dxfName = nullptr,
              const ACHAR* appName = nullptr);
    AcRxClass* isA() const override;

    const ACHAR* name() const { return m_name.c_str(); }
    const ACHAR* dxfName() const { return m_dxfName.c_str(); }
    const ACHAR* appName() const { return m_appName.c_str(); }
    AcRxClass* myParent() const { return m_parent; }
    int proxyFlags() const { return m_proxyFlags; }
    int dwgVersion() const { return m_dwgVersion; }
    int maintenanceVersion() const { return m_maintVersion; }
    bool isDerivedFrom(const AcRxClass* other) const;
    AcRxObject* create() const { return m_ctor ? m_ctor() : nullptr; }
    // True for classes registered by a module or companion library at run time; these
    // are listed in a DXF file's CLASSES section.
    bool isCustom() const { return m_custom; }
    void setCustom(bool custom) { m_custom = custom; }

    // The static slot holding this class's pointer, cleared when the class is deleted.
    void setSlot(AcRxClass** slot) { m_slot = slot; }
    AcRxClass** slot() const { return m_slot; }

private:
    std::wstring m_name;
    std::wstring m_dxfName;
    std::wstring m_appName;
    AcRxClass* m_parent;
    AcRxPseudoConstructor m_ctor;
    int m_dwgVersion;
    int m_maintVersion;
    int m_proxyFlags;
    bool m_custom = false;
    AcRxClass** m_slot = nullptr;
};

// A named dictionary of objects, as the host's system registry and class dictionary.
// Keys compare exactly; values are not owned unless said.
class AcRxDictionary : public AcRxObject {
public:
    AcRxObject* at(const ACHAR* key) const;
    AcRxObject* atPut(const ACHAR* key, AcRxObject* value);  // returns the previous value
    AcRxObject* remove(const ACHAR* key);
    bool has(const ACHAR* key) const { return at(key) != nullptr; }
    int numEntries() const { return static_cast<int>(m_entries.size()); }
    const std::map<std::wstring, AcRxObject*>& entries() const { return m_entries; }

private:
    std::map<std::wstring, AcRxObject*> m_entries;
};

// The host's system registry: "ClassDictionary", "DynamicLinker", "ACAD_REGISTERED_COMMANDS".
AcRxDictionary* acrxSysRegistry();
// The class dictionary (name -> AcRxClass).
AcRxDictionary* acrxClassDictionary();
// Class lookup by DXF name, for reading drawing files.
AcRxClass* acrxFindClassByDxfName(const std::wstring& dxfName);
void acrxBuildClassHierarchy();
// Removes a class from the class dictionary and frees it; the class's desc() slot is cleared.
void deleteAcRxClass(AcRxClass* cls);
// Registers a class object in the class dictionary (it takes ownership).
AcRxClass* acrxRegisterClass(AcRxClass* cls);

inline bool AcRxClass::isDerivedFrom(const AcRxClass* other) const
{
    for (const AcRxClass* c = this; c; c = c->m_parent)
        if (c == other) return true;
    return false;
}

inline bool AcRxObject::isKindOf(const AcRxClass* cls) const
{
    const AcRxClass* mine = isA();
    return mine && cls && mine->isDerivedFrom(cls);
}

// Declares the runtime-class members of a class. Every class names its C++ base as its
// parent class, so cast() tests the class chain and converts without a dynamic_cast (debug
// builds check that the two agree).
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                                  \
public:                                                                                 \
    static AcRxClass* desc();                                                           \
    AcRxClass* isA() const override;                                                    \
    static CLASS_NAME* cast(const AcRxObject* obj)                                      \
    {                                                                                   \
        if (!obj || !obj->isKindOf(CLASS_NAME::desc())) return nullptr;                 \
        const auto* same = static_cast<const CLASS_NAME*>(obj);                         \
        assert(same == dynamic_cast<const CLASS_NAME*>(obj));                           \
        return const_cast<CLASS_NAME*>(same);                                           \
    }                                                                                   \
    static void rxInit();                                                               \
    static AcRxClass* gpDesc

// Defines the members for a class that can be created and filed under a DXF name.
// desc() registers the class on first use; rxInit() does the same explicitly.
#define ACRX_DXF_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, DWG_VERSION, MAINT_VERSION, PROXY_FLAGS, DXF_NAME, APP) \
    AcRxClass* CLASS_NAME::gpDesc = nullptr;                                                                     \
    AcRxClass* CLASS_NAME::desc()                                                                                \
    {                                                                                                            \
        if (!gpDesc) rxInit();                                                                                   \
        return gpDesc;                                                                                           \
    }                                                                                                            \
    AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }                                            \
    void CLASS_NAME::rxInit()                                                                                    \
    {                                                                                                            \
        if (gpDesc) return;                                                                                      \
        gpDesc = acrxRegisterClass(new AcRxClass(                                                                \
            L"" #CLASS_NAME, PARENT_CLASS::desc(), []() -> AcRxObject* { return new CLASS_NAME(); },              \
            DWG_VERSION, MAINT_VERSION, PROXY_FLAGS, L"" #DXF_NAME, L"" #APP));                                  \
        gpDesc->setSlot(&gpDesc);                                                                                \
    }

// Same, for classes without a DXF name and without a public default constructor.
#define ACRX_NO_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS)                                    \
    AcRxClass* CLASS_NAME::gpDesc = nullptr;                                                     \
    AcRxClass* CLASS_NAME::desc()                                                                \
    {                                                                                            \
        if (!gpDesc) rxInit();                                                                   \
        return gpDesc;                                                                           \
    }                                                                                            \
    AcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }                            \
    void CLASS_NAME::rxInit()                                                                    \
    {                                                                                            \
        if (gpDesc) return;                                                                      \
        gpDesc = acrxRegisterClass(new AcRxClass(L"" #CLASS_NAME, PARENT_CLASS::desc(), nullptr)); \
        gpDesc->setSlot(&gpDesc);                                                                \
    }
