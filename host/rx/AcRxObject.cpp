// Runtime class registry of the stand-in host.
#include "host/rx/AcRxObject.h"

#include <unordered_map>

namespace {
std::unordered_map<std::wstring, AcRxClass*>& dxfNameIndex()
{
    static std::unordered_map<std::wstring, AcRxClass*> index;
    return index;
}
}  // namespace

AcRxClass* AcRxObject::desc()
{
    static AcRxClass* cls = acrxRegisterClass(new AcRxClass(L"AcRxObject", nullptr));
    return cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }


AcRxClass::AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor ctor, int dwgVersion,
                     int maintVersion, int proxyFlags, const ACHAR* dxfName, const ACHAR* appName)
    : m_name(name ? name : L""),
      m_dxfName(dxfName ? dxfName : L""),
      m_appName(appName ? appName : L""),
      m_parent(parent),
      m_ctor(ctor),
      m_dwgVersion(dwgVersion),
      m_maintVersion(maintVersion),
      m_proxyFlags(proxyFlags)
{
}

AcRxClass* AcRxClass::isA() const
{
    static AcRxClass* cls = acrxRegisterClass(new AcRxClass(L"AcRxClass", AcRxObject::desc()));
    return cls;
}


AcRxObject* AcRxDictionary::at(const ACHAR* key) const
{
    auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* value)
{
    AcRxObject*& slot = m_entries[key];
    AcRxObject* previous = slot;
    slot = value;
    return previous;
}

AcRxObject* AcRxDictionary::remove(const ACHAR* key)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end()) return nullptr;
    AcRxObject* previous = it->second;
    m_entries.erase(it);
    return previous;
}

AcRxDictionary* acrxSysRegistry()
{
    static AcRxDictionary* registry = [] {
        auto* r = new AcRxDictionary;
        r->atPut(L"ClassDictionary", new AcRxDictionary);
        return r;
    }();
    return registry;
}

AcRxDictionary* acrxClassDictionary()
{
    return static_cast<AcRxDictionary*>(acrxSysRegistry()->at(L"ClassDictionary"));
}

AcRxClass* acrxRegisterClass(AcRxClass* cls)
{
    AcRxDictionary* dict = acrxClassDictionary();
    if (auto* existing = static_cast<AcRxClass*>(dict->at(cls->name()))) {
        delete cls;
        return existing;
    }
    dict->atPut(cls->name(), cls);
    if (*cls->dxfName()) dxfNameIndex()[cls->dxfName()] = cls;
    return cls;
}

AcRxClass* acrxFindClassByDxfName(const std::wstring& dxfName)
{
    auto it = dxfNameIndex().find(dxfName);
    return it == dxfNameIndex().end() ? nullptr : it->second;
}

void acrxBuildClassHierarchy()
{
    // Parents are linked when a class is made, so there is nothing to rebuild.
}

void deleteAcRxClass(AcRxClass* cls)
{
    if (!cls) return;
    AcRxDictionary* dict = acrxClassDictionary();
    if (dict->at(cls->name()) == cls) dict->remove(cls->name());
    auto it = dxfNameIndex().find(cls->dxfName());
    if (it != dxfNameIndex().end() && it->second == cls) dxfNameIndex().erase(it);
    if (AcRxClass** slot = cls->slot()) *slot = nullptr;
    delete cls;
}
