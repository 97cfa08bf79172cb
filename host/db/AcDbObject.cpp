// Drawing objects: the open/close discipline, erasing, extended data, extension
// dictionaries, reactors, copies, and opening objects by id.
#include "host/db/AcDbObject.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObject, AcRxObject)

using fendo::db::RawTag;
using fendo::db::RawTags;

namespace {

// More simultaneous readers than this is taken for a leak of opens.
constexpr int kMaxReaders = 256;

[[noreturn]] void openStateViolation(const AcDbObject* obj, const char* what)
{
    std::fprintf(stderr, "fendo: %s %s (handle %s) is %s\n", fendo::toUtf8(obj->isA()->name()).c_str(), what,
                 obj->objectId().handle().hex().c_str(), "not open as its use requires");
    std::abort();
}

bool onLockedLayer(const AcDbObject* obj)
{
    const auto* ent = dynamic_cast<const AcDbEntity*>(obj);
    if (!ent) return false;
    const AcDbStub* stub = ent->layerId().stub();
    if (!stub || !stub->object) return false;
    const auto* layer = dynamic_cast<const AcDbLayerTableRecord*>(stub->object);
    return layer && layer->isLocked();
}

// ---- extended data as text groups ----

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

double parseReal(std::string_view s)
{
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

long long parseInt(std::string_view s)
{
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long long v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

std::string formatReal(double v)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string hexBytes(const char* data, int n)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(static_cast<size_t>(n) * 2);
    for (int i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

ACHAR* newString(const std::wstring& s)
{
    auto* out = new ACHAR[s.size() + 1];
    std::wmemcpy(out, s.c_str(), s.size() + 1);
    return out;
}

bool isXDataValueCode(int code)
{
    return code == 1000 || code == 1002 || code == 1003 || code == 1004 || code == 1005 ||
           (code >= 1010 && code <= 1013) || (code >= 1040 && code <= 1042) || code == 1070 || code == 1071;
}

// One resbuf of extended data as its groups' text; false for a group xdata cannot hold.
bool appendXDataTags(const resbuf* rb, RawTags& out)
{
    const int code = rb->restype;
    switch (resValueKind(code)) {
    case ResValueKind::String:
    case ResValueKind::Handle: {
        std::string text = fendo::toUtf8(rb->resval.rstring ? rb->resval.rstring : L"");
        if (code == 1002 && text != "{" && text != "}") return false;
        out.push_back({static_cast<short>(code), std::move(text)});
        return true;
    }
    case ResValueKind::Binary:
        out.push_back({static_cast<short>(code), hexBytes(rb->resval.rbinary.buf, rb->resval.rbinary.clen)});
        return true;
    case ResValueKind::Point:
        for (int i = 0; i < 3; ++i)
            out.push_back({static_cast<short>(code + 10 * i), formatReal(rb->resval.rpoint[i])});
        return true;
    case ResValueKind::Real:
        out.push_back({static_cast<short>(code), formatReal(rb->resval.rreal)});
        return true;
    case ResValueKind::Int16:
        out.push_back({static_cast<short>(code), std::to_string(rb->resval.rint)});
        return true;
    case ResValueKind::Int32:
        out.push_back({static_cast<short>(code), std::to_string(rb->resval.rlong)});
        return true;
    default:
        return false;
    }
}

// The resbuf for the group at tags[i] (points take their y and z groups too); advances i.
resbuf* xdataResbuf(const RawTags& tags, size_t& i)
{
    const RawTag& tag = tags[i++];
    resbuf* rb = acutNewRb(tag.code);
    switch (resValueKind(tag.code)) {
    case ResValueKind::String:
    case ResValueKind::Handle:
        rb->resval.rstring = newString(fendo::fromUtf8(tag.value));
        break;
    case ResValueKind::Binary: {
        const std::string_view hex = trimmed(tag.value);
        const size_t n = std::min<size_t>(hex.size() / 2, 32767);
        rb->resval.rbinary.clen = static_cast<std::int16_t>(n);
        rb->resval.rbinary.buf = n ? new char[n] : nullptr;
        for (size_t k = 0; k < n; ++k)
            rb->resval.rbinary.buf[k] = static_cast<char>(hexValue(hex[2 * k]) * 16 + hexValue(hex[2 * k + 1]));
        break;
    }
    case ResValueKind::Point:
        rb->resval.rpoint[0] = parseReal(tag.value);
        for (int k = 1; k < 3 && i < tags.size() && tags[i].code == tag.code + 10 * k; ++k, ++i)
            rb->resval.rpoint[k] = parseReal(tags[i].value);
        break;
    case ResValueKind::Real:
        rb->resval.rreal = parseReal(tag.value);
        break;
    case ResValueKind::Int16:
    case ResValueKind::Bool:
        rb->resval.rint = static_cast<std::int16_t>(parseInt(tag.value));
        break;
    case ResValueKind::Int32:
        rb->resval.rlong = static_cast<std::int32_t>(parseInt(tag.value));
        break;
    case ResValueKind::Int64:
        rb->resval.mnInt64 = parseInt(tag.value);
        break;
    default:
        break;
    }
    return rb;
}

// One application's groups: its 1001 group and the values up to the next 1001.
struct AppXData {
    std::wstring upperApp;
    RawTags tags;
};

std::vector<AppXData> splitByApp(const RawTags& tags)
{
    std::vector<AppXData> apps;
    for (const RawTag& t : tags) {
        if (t.code == AcDb::kDxfRegAppName)
            apps.push_back({fendo::upperName(fendo::fromUtf8(t.value)), {}});
        else if (apps.empty())
            apps.push_back({L"", {}});  // groups before any application: kept as they are
        apps.back().tags.push_back(t);
    }
    return apps;
}

bool isRegisteredApp(AcDbDatabase* db, const std::wstring& app)
{
    const AcDbStub* stub = db->regAppTableId().stub();
    const auto* table = stub ? dynamic_cast<const AcDbSymbolTable*>(stub->object) : nullptr;
    return table && table->has(app.c_str());
}

}  // namespace

AcDbObject::AcDbObject() = default;

AcDbObject::~AcDbObject() = default;

AcDbObject* AcDbObject::materializeHeld(AcDbStub*) { return nullptr; }

std::unique_ptr<AcDbObject> AcDbObject::copyOfHeld(const AcDbStub*) const { return nullptr; }

bool AcDbObject::adoptHeldStub(AcDbStub*) { return false; }

namespace fendo::db {

AcDbObject* materializeHeld(AcDbStub* stub)
{
    if (!stub->held) return stub->object;
    AcDbObject* made = stub->object->materializeHeld(stub);
    return stub->held ? nullptr : made;
}

std::unique_ptr<AcDbObject> copyOfHeld(const AcDbStub* stub)
{
    if (!stub || !stub->held) return nullptr;
    return stub->object->copyOfHeld(stub);
}

}  // namespace fendo::db

AcDbObject::Extra& AcDbObject::extra()
{
    if (!m_extra) m_extra = std::make_unique<Extra>();
    return *m_extra;
}

void AcDbObject::trimExtra()
{
    if (m_extra && m_extra->extDict.isNull() && m_extra->reactors.isEmpty() && m_extra->xdata.empty() &&
        m_extra->kept.empty())
        m_extra.reset();
}

void AcDbObject::setExtensionDictionary(AcDbObjectId dict)
{
    extra().extDict = dict;
    trimExtra();
}

const AcDbObjectIdArray& AcDbObject::reactors() const
{
    static const AcDbObjectIdArray kNone;
    return m_extra ? m_extra->reactors : kNone;
}

void AcDbObject::clearKeptGroups()
{
    if (!m_extra) return;
    m_extra->kept.clear();
    m_extra->kept.shrink_to_fit();
    trimExtra();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    m_ownerId = owner;
    return Acad::eOk;
}

AcDbDatabase* AcDbObject::database() const { return m_id.database(); }

bool AcDbObject::isReadEnabled() const { return m_id.isNull() || m_writer || m_readers > 0; }

bool AcDbObject::isWriteEnabled() const { return m_id.isNull() || m_writer; }

bool AcDbObject::isErased() const { return m_id.isErased(); }

AcDb::OpenMode AcDbObject::openMode() const
{
    if (m_id.isNull() || m_writer) return AcDb::kForWrite;
    return m_readers > 0 ? AcDb::kForRead : AcDb::kNotOpenForAnything;
}

Acad::ErrorStatus AcDbObject::close()
{
    if (m_id.isNull()) return Acad::eOk;
    if (m_writer) {
        m_writer = false;
        return Acad::eOk;
    }
    if (m_readers > 0) {
        --m_readers;
        return Acad::eOk;
    }
    return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing)
{
    AcDbDatabase* db = database();
    if (!db) return Acad::eNotInDatabase;
    if (!m_writer) return Acad::eNotOpenForWrite;
    if (erasing == isErased()) return erasing ? Acad::eWasErased : Acad::eOk;
    db->noteErased(this, erasing);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen()
{
    if (m_id.isNull()) return Acad::eOk;
    if (m_writer) return Acad::eWasOpenForWrite;
    if (m_readers == 0) return Acad::eNotOpenForRead;
    if (m_readers > 1) return Acad::eWasOpenForRead;
    if (onLockedLayer(this)) return Acad::eOnLockedLayer;
    m_readers = 0;
    m_writer = true;
    if (AcDbDatabase* db = database()) {
        db->noteWriteOpen(m_id);
        db->noteTouched(m_id.stub());
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen()
{
    if (m_id.isNull()) return Acad::eOk;
    if (!m_writer) return Acad::eNotOpenForWrite;
    m_writer = false;
    m_readers = 1;
    return Acad::eOk;
}

void AcDbObject::assertReadEnabled() const
{
    if (!isReadEnabled()) openStateViolation(this, "read");
}

void AcDbObject::assertWriteEnabled()
{
    if (!isWriteEnabled()) openStateViolation(this, "written");
}

resbuf* AcDbObject::xData(const ACHAR* regappName) const
{
    if (!hasXData()) return nullptr;
    const std::wstring wanted = regappName ? fendo::upperName(regappName) : std::wstring();
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    bool taking = !regappName;
    const RawTags& tags = m_extra->xdata;
    for (size_t i = 0; i < tags.size();) {
        const short code = tags[i].code;
        if (code == AcDb::kDxfRegAppName && regappName)
            taking = fendo::upperName(fendo::fromUtf8(tags[i].value)) == wanted;
        if (!taking || resValueKind(code) == ResValueKind::None) {
            ++i;
            continue;
        }
        resbuf* rb = xdataResbuf(tags, i);
        if (tail)
            tail->rbnext = rb;
        else
            head = rb;
        tail = rb;
    }
    return head;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata)
{
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (xdata && xdata->restype == AcDb::kDxfXDataStart) xdata = xdata->rbnext;
    if (!xdata) return Acad::eOk;
    if (xdata->restype != AcDb::kDxfRegAppName) return Acad::eInvalidResBuf;

    // Check and convert the whole chain before anything changes.
    AcDbDatabase* db = database() ? database() : acdbHostApplicationServices()->workingDatabase();
    std::vector<AppXData> incoming;
    int braceDepth = 0;
    for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
        if (rb->restype == AcDb::kDxfRegAppName) {
            if (braceDepth != 0) return Acad::eInvalidResBuf;
            const std::wstring app = rb->resval.rstring ? rb->resval.rstring : L"";
            if (app.empty()) return Acad::eInvalidResBuf;
            if (db && !isRegisteredApp(db, app)) return Acad::eRegappIdNotFound;
            incoming.push_back({fendo::upperName(app), {{AcDb::kDxfRegAppName, fendo::toUtf8(app)}}});
            continue;
        }
        if (!isXDataValueCode(rb->restype) || !appendXDataTags(rb, incoming.back().tags))
            return Acad::eInvalidResBuf;
        if (rb->restype == AcDb::kDxfXdControlString) {
            braceDepth += incoming.back().tags.back().value == "{" ? 1 : -1;
            if (braceDepth < 0) return Acad::eInvalidResBuf;
        }
    }
    if (braceDepth != 0) return Acad::eInvalidResBuf;

    std::vector<AppXData> apps = hasXData() ? splitByApp(m_extra->xdata) : std::vector<AppXData>();
    for (AppXData& in : incoming) {
        bool replaced = false;
        for (AppXData& have : apps) {
            if (have.upperApp == in.upperApp) {
                have.tags = in.tags;
                replaced = true;
            }
        }
        if (!replaced) apps.push_back(std::move(in));
    }
    RawTags merged;
    for (const AppXData& app : apps)
        if (app.tags.size() > 1 || app.upperApp.empty()) merged.insert(merged.end(), app.tags.begin(), app.tags.end());
    setRawXData(std::move(merged));
    return Acad::eOk;
}

void AcDbObject::setRawXData(RawTags tags)
{
    if (tags.empty() && !m_extra) return;
    extra().xdata = std::move(tags);
    trimExtra();
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary()
{
    AcDbDatabase* db = database();
    if (!db) return Acad::eNoDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    const AcDbObjectId current = extensionDictionary();
    if (!current.isNull() && !current.isErased()) return Acad::eAlreadyInDb;
    auto* dict = new AcDbDictionary;
    AcDbObjectId dictId;
    Acad::ErrorStatus es = db->addAcDbObject(dictId, dict);
    if (es != Acad::eOk) {
        delete dict;
        return es;
    }
    dict->setOwnerId(m_id);
    dict->addPersistentReactor(m_id);
    dict->close();
    extra().extDict = dictId;
    return Acad::eOk;
}

void AcDbObject::addPersistentReactor(AcDbObjectId id)
{
    if (!id.isNull() && !reactors().contains(id)) extra().reactors.append(id);
}

void AcDbObject::removePersistentReactor(AcDbObjectId id)
{
    if (!m_extra) return;
    m_extra->reactors.remove(id);
    trimExtra();
}

AcRxObject* AcDbObject::clone() const
{
    AcDbObject* copy = AcDbObject::cast(isA()->create());
    if (!copy) return nullptr;
    AcDbDxfFiler out(database(), AcDb::kCopyFiler);
    out.setObjectBeingWritten(this);
    Acad::ErrorStatus es = dxfOutFields(&out);
    if (es == Acad::eOk) {
        AcDbDxfFiler in(database(), AcDb::kCopyFiler);
        in.setInput(out.takeOutput());
        es = copy->dxfInFields(&in);
    }
    if (es != Acad::eOk) {
        delete copy;
        return nullptr;
    }
    // A copy belongs to nobody until it is added somewhere.
    copy->m_ownerId = AcDbObjectId();
    if (copy->m_extra) {
        copy->m_extra->extDict = AcDbObjectId();
        copy->m_extra->reactors.removeAll();
    }
    copy->setRawXData(hasXData() ? m_extra->xdata : RawTags());
    if (keptGroups() && !copy->keptGroups()) copy->extra().kept = m_extra->kept;
    copy->trimExtra();
    return copy;
}

void AcDbObject::keepGroup(const std::wstring& subclass, RawTag tag)
{
    extra().kept.push_back({subclass, std::move(tag)});
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    obj = nullptr;
    AcDbStub* stub = id.stub();
    if (!stub) return Acad::eNullObjectId;
    AcDbObject* target = fendo::db::objectOf(stub);
    if (!target) return Acad::eUnknownHandle;
    if (stub->erased && !openErased) return Acad::eWasErased;
    bool& writer = fendo::db::ObjectAccess::writer(target);
    std::uint16_t& readers = fendo::db::ObjectAccess::readers(target);
    if (writer) return Acad::eWasOpenForWrite;
    if (mode == AcDb::kForWrite) {
        if (readers > 0) return Acad::eWasOpenForRead;
        if (onLockedLayer(target)) return Acad::eOnLockedLayer;
        writer = true;
        if (stub->database) {
            stub->database->noteWriteOpen(id);
            stub->database->noteTouched(stub);
        }
    } else {
        if (readers >= kMaxReaders) return Acad::eAtMaxReaders;
        ++readers;
    }
    obj = target;
    return Acad::eOk;
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    return acdbOpenAcDbObject(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name)
{
    id = AcDbObjectId(reinterpret_cast<AcDbStub*>(name[0]));
    return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id)
{
    name[0] = static_cast<std::int64_t>(id.asOldId());
    name[1] = 0;
    return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}
