// The DXF filer (one object's groups in and out, with subclass sections and kept groups)
// and the binary in-memory DWG filer.
#include "host/db/AcDbFiler.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <cstring>
#include <numbers>
#include <unordered_map>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/dxf/DxfOutput.h"

using fendo::db::RawTag;
using fendo::db::RawTags;
using fendo::dxf::DxfOutput;

namespace {
// Lets the name cache be searched with a view, without making a string per lookup.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::wstring_view s) const { return std::hash<std::wstring_view>{}(s); }
};
}  // namespace

struct AcDbDxfFiler::Impl {
    // Per table (by its stub): record names as written in the file -> record id.
    std::unordered_map<const void*, std::unordered_map<std::wstring, AcDbObjectId, NameHash, std::equal_to<>>> symbols;
    // The last name found, per table kind asked for in turn (most entities of a drawing name
    // the layer and linetype the one before named).
    struct LastSymbol {
        const void* table = nullptr;
        std::wstring name;
        AcDbObjectId id;
    };
    LastSymbol last[2];
    // Record (by its stub) -> its name in UTF-8.
    std::unordered_map<const void*, std::string> names;
};

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The usual number of a file, digits with a point between them ("-12.345"), read exactly
// when it has at most 15 digits and a few decimals: the digits as an integer are exact in a
// double, and so is the power of ten, so the one division rounds as the general reader does.
// False for anything else (exponents, blanks, signs before a point...), read by the general
// path.
bool parsePlainDecimal(std::string_view s, double& v)
{
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0;
    const char* const first = p;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++count) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    if (p == first) return false;
    int decimals = 0;
    if (p < end && *p == '.') {
        const char* const fraction = ++p;
        for (; p < end && *p >= '0' && *p <= '9'; ++p, ++count) digits = digits * 10 + static_cast<unsigned>(*p - '0');
        decimals = static_cast<int>(p - fraction);
    }
    if (p != end || count > 15 || decimals > 22) return false;
    const double magnitude = static_cast<double>(digits) / kPowers[decimals];
    v = negative ? -magnitude : magnitude;
    return true;
}

bool parseDouble(std::string_view text, double& v)
{
    if (parsePlainDecimal(text, v)) return true;
    std::string_view s = trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    // "nan" and "inf" parse, but no coordinate or size in a drawing may be one.
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(v);
}

bool parseInt(std::string_view text, long long& v)
{
    // The usual integer: a few digits, perhaps after a minus.
    if (!text.empty() && text.size() <= 9) {
        const bool negative = text.front() == '-';
        size_t i = negative ? 1 : 0;
        long long n = 0;
        if (i < text.size()) {
            for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) n = n * 10 + (text[i] - '0');
            if (i == text.size()) {
                v = negative ? -n : n;
                return true;
            }
        }
    }
    std::string_view s = trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc() && r.ptr == s.data() + s.size()) return true;
    // Some programs write integers as reals ("1.0").
    double d = 0;
    if (!parseDouble(s, d) || !std::isfinite(d)) return false;
    v = static_cast<long long>(d);
    return true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A subclass name as written in the file against the one a class asks for (names are ASCII;
// anything else goes through a conversion).
bool sameName(std::string_view utf8, std::wstring_view name)
{
    if (utf8.size() != name.size()) return utf8.size() > name.size() && fendo::fromUtf8(utf8) == name;
    for (size_t i = 0; i < utf8.size(); ++i)
        if (static_cast<wchar_t>(static_cast<unsigned char>(utf8[i])) != name[i]) return fendo::fromUtf8(utf8) == name;
    return true;
}

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The value kind of a group code, looked up in a table for the codes of DXF files.
ResValueKind valueKind(int code)
{
    static const auto table = [] {
        std::array<ResValueKind, 1072> kinds{};
        for (int c = 0; c < static_cast<int>(kinds.size()); ++c) kinds[static_cast<size_t>(c)] = resValueKind(c);
        return kinds;
    }();
    return code >= 0 && code < static_cast<int>(table.size()) ? table[static_cast<size_t>(code)] : resValueKind(code);
}

}  // namespace

namespace {

// The text a kept group is written back with: a number as read without the blanks round it
// (a tab would be written as a caret pair, which no reader takes for a number); none for a
// number group without a number (kept from a damaged record), which would make the saved
// file unreadable.
std::optional<std::string_view> keptText(const fendo::db::RawTag& tag)
{
    const std::string_view text = trim(tag.value);
    switch (valueKind(tag.code)) {
    case ResValueKind::Real:
    case ResValueKind::Point: {
        double v = 0;
        if (!parseDouble(text, v)) return std::nullopt;
        return text;
    }
    case ResValueKind::Int16:
    case ResValueKind::Int32:
    case ResValueKind::Int64:
    case ResValueKind::Bool: {
        long long v = 0;
        if (!parseInt(text, v)) return std::nullopt;
        return text;
    }
    default: return std::string_view(tag.value);
    }
}

}  // namespace

bool fendo::db::readDxfReal(std::string_view text, double& v) { return parseDouble(text, v); }
bool fendo::db::readDxfInteger(std::string_view text, long long& v) { return parseInt(text, v); }

AcDbDxfFiler::AcDbDxfFiler(AcDbDatabase* db, AcDb::FilerType type) : m_impl(std::make_unique<Impl>()), m_db(db), m_type(type) {}

AcDbDxfFiler::~AcDbDxfFiler() = default;

// ---------------------------------------------------------------------------- reading

void AcDbDxfFiler::setInput(RawTags tags, bool hasSubclassMarkers, int firstLine)
{
    m_ownedIn = std::move(tags);
    m_ownedViews.clear();
    for (const RawTag& t : m_ownedIn) m_ownedViews.push_back({t.code, t.value});
    setInput(std::span<const fendo::db::TagView>(m_ownedViews), hasSubclassMarkers, firstLine);
}

void AcDbDxfFiler::setInput(std::span<const fendo::db::TagView> tags, bool hasSubclassMarkers, int firstLine)
{
    m_in = tags;
    m_consumed.assign(m_in.size(), false);
    m_inLines = {};
    m_pos = m_sectionStart = m_lastItemStart = m_lastItemEnd = 0;
    m_markers = hasSubclassMarkers;
    m_section.clear();
    m_firstLine = firstLine;
    m_status = Acad::eOk;
    m_error.clear();
}

void AcDbDxfFiler::clearInput()
{
    m_in = {};
    m_inLines = {};
    m_ownedIn.clear();
    m_ownedViews.clear();
    m_consumed.clear();
    m_pos = 0;
}

int AcDbDxfFiler::lineOf(size_t at) const
{
    if (at < m_inLines.size()) return m_inLines[at];
    return m_firstLine > 0 ? m_firstLine + 2 * static_cast<int>(at) : 0;
}

int AcDbDxfFiler::lastLine() const { return lineOf(m_lastItemStart); }

const RawTag& AcDbDxfFiler::lastTag() const
{
    if (m_lastItemStart < m_in.size()) {
        m_lastTag.code = m_in[m_lastItemStart].code;
        m_lastTag.value.assign(m_in[m_lastItemStart].value);
    } else {
        m_lastTag = RawTag();
    }
    return m_lastTag;
}

// Most texts are ASCII: widened in place, keeping the buffer's storage from group to group.
void AcDbDxfFiler::setLastString(std::string_view utf8)
{
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) {
            m_lastString = fendo::fromUtf8(utf8);
            return;
        }
    m_lastString.resize(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) m_lastString[i] = static_cast<wchar_t>(utf8[i]);
}

Acad::ErrorStatus AcDbDxfFiler::badValue(size_t at, const char* expected)
{
    std::string msg;
    const int line = lineOf(at);
    if (line > 0) msg = "line " + std::to_string(line) + ": ";
    msg += "group code " + std::to_string(m_in[at].code) + ": expected " + expected + ", found '" +
           std::string(m_in[at].value.substr(0, 40)) + "'";
    setError(Acad::eInvalidDxfCode, msg);
    return Acad::eInvalidDxfCode;
}

Acad::ErrorStatus AcDbDxfFiler::parseItem(size_t at, ResValueKind kind, resbuf* item, AcDbHandle handle)
{
    const fendo::db::TagView& tag = m_in[at];
    const int code = tag.code;
    item->rbnext = nullptr;
    item->restype = static_cast<short>(code);
    m_lastItemStart = at;
    m_lastItemEnd = at + 1;
    switch (kind) {
    case ResValueKind::Point: {
        double xyz[3] = {0, 0, 0};
        if (!parseDouble(tag.value, xyz[0])) return badValue(at, "a number");
        size_t next = at + 1;
        for (int axis = 1; axis <= 2; ++axis) {
            if (next < m_in.size() && !m_consumed[next] && m_in[next].code == code + 10 * axis) {
                if (!parseDouble(m_in[next].value, xyz[axis])) return badValue(next, "a number");
                ++next;
            } else {
                break;  // z is optional; a missing y reads as 0
            }
        }
        m_lastItemEnd = next;
        std::memcpy(item->resval.rpoint, xyz, sizeof xyz);
        break;
    }
    case ResValueKind::Real:
        if (!parseDouble(tag.value, item->resval.rreal)) return badValue(at, "a number");
        break;
    case ResValueKind::Int16:
    case ResValueKind::Bool: {
        long long v = 0;
        if (!parseInt(tag.value, v)) return badValue(at, "an integer");
        item->resval.rint = static_cast<std::int16_t>(v);
        break;
    }
    case ResValueKind::Int32: {
        long long v = 0;
        if (!parseInt(tag.value, v)) return badValue(at, "an integer");
        item->resval.rlong = static_cast<std::int32_t>(v);
        break;
    }
    case ResValueKind::Int64: {
        long long v = 0;
        if (!parseInt(tag.value, v)) return badValue(at, "an integer");
        item->resval.mnInt64 = v;
        break;
    }
    case ResValueKind::Name:
        acdbGetAdsName(item->resval.rlname, idFromHandle(handle));
        break;
    case ResValueKind::Binary: {
        std::string_view s = trim(tag.value);
        m_lastBinary.clear();
        for (size_t i = 0; i + 1 < s.size(); i += 2) {
            const int hi = hexValue(s[i]), lo = hexValue(s[i + 1]);
            if (hi < 0 || lo < 0) return badValue(at, "hexadecimal bytes");
            m_lastBinary.push_back(static_cast<char>(hi * 16 + lo));
        }
        item->resval.rbinary.clen = static_cast<std::int16_t>(m_lastBinary.size());
        item->resval.rbinary.buf = m_lastBinary.data();
        break;
    }
    default:  // strings, handles as text, and codes of no known kind
        setLastString(tag.value);
        item->resval.rstring = m_lastString.data();
        break;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDxfFiler::readItem(resbuf* item)
{
    for (;;) {
        if (!m_markers)
            while (m_pos < m_in.size() && m_consumed[m_pos]) ++m_pos;
        if (m_pos >= m_in.size()) return Acad::eEndOfObject;
        const int code = m_in[m_pos].code;
        if ((m_markers && code == AcDb::kDxfSubclass) || code == AcDb::kDxfRegAppName) return Acad::eEndOfObject;
        const size_t at = m_pos;
        const ResValueKind kind = valueKind(code);
        AcDbHandle handle;
        if (kind == ResValueKind::Name) {
            bool ok = false;
            handle = AcDbHandle::fromHex(m_in[at].value, &ok);
            if (!ok) {
                // Some writers put a record's name where its handle belongs (a text style name
                // in a dimension style's 340): the group is kept as it stands and written back.
                m_consumed[at] = true;
                ++m_pos;
                if (m_reading) m_reading->keepGroup(m_markers ? m_section : std::wstring(L"*"), rawTag(at));
                continue;
            }
        }
        Acad::ErrorStatus es = parseItem(at, kind, item, handle);
        for (size_t i = at; i < m_lastItemEnd; ++i) m_consumed[i] = true;
        m_pos = m_lastItemEnd;
        return es;
    }
}

void AcDbDxfFiler::pushBackItem()
{
    for (size_t i = m_lastItemStart; i < m_lastItemEnd && i < m_consumed.size(); ++i) m_consumed[i] = false;
    m_pos = m_lastItemStart;
}

bool AcDbDxfFiler::atEOF() const
{
    for (size_t i = m_pos; i < m_in.size(); ++i)
        if (!m_consumed[i]) return false;
    return true;
}

bool AcDbDxfFiler::atSubclassData(const ACHAR* subclassName)
{
    const std::wstring_view name = subclassName ? subclassName : L"";
    if (!m_markers) {
        // Without markers every class level sees all groups not taken yet.
        m_pos = 0;
        m_section.assign(name);
        return true;
    }
    for (size_t j = m_pos; j < m_in.size(); ++j) {
        if (m_in[j].code == AcDb::kDxfRegAppName) break;
        if (m_in[j].code != AcDb::kDxfSubclass || m_consumed[j]) continue;
        if (!sameName(trim(m_in[j].value), name)) continue;
        // Sections skipped on the way stay unread and are kept by finishReading.
        m_consumed[j] = true;
        m_pos = m_sectionStart = j + 1;
        m_section.assign(name);
        return true;
    }
    return false;
}

bool AcDbDxfFiler::atExtendedData() const
{
    size_t i = m_pos;
    if (!m_markers)
        while (i < m_in.size() && m_consumed[i]) ++i;
    return i < m_in.size() && m_in[i].code == AcDb::kDxfRegAppName;
}

void AcDbDxfFiler::keepUnknownItem()
{
    if (!m_markers) {
        // Left for the next class level; whatever no level takes is kept at the end.
        for (size_t i = m_lastItemStart; i < m_lastItemEnd && i < m_consumed.size(); ++i) m_consumed[i] = false;
        return;
    }
    if (!m_reading) return;
    for (size_t i = m_lastItemStart; i < m_lastItemEnd && i < m_in.size(); ++i) m_reading->keepGroup(m_section, rawTag(i));
}

void AcDbDxfFiler::keepRestOfSection()
{
    if (!m_markers) return;
    for (; m_pos < m_in.size(); ++m_pos) {
        const int code = m_in[m_pos].code;
        if (code == AcDb::kDxfSubclass || code == AcDb::kDxfRegAppName) break;
        if (m_consumed[m_pos]) continue;
        m_consumed[m_pos] = true;
        if (m_reading) m_reading->keepGroup(m_section, rawTag(m_pos));
    }
}

void AcDbDxfFiler::finishReading()
{
    if (!m_reading) return;
    bool anyUnread = false;
    for (size_t i = 0; i < m_consumed.size() && !anyUnread; ++i) anyUnread = !m_consumed[i];
    if (!anyUnread) return;
    std::wstring section;
    for (size_t i = 0; i < m_in.size(); ++i) {
        if (m_markers && m_in[i].code == AcDb::kDxfSubclass) section = fendo::fromUtf8(trim(m_in[i].value));
        if (m_consumed[i]) continue;
        m_consumed[i] = true;
        m_reading->keepGroup(m_markers ? section : std::wstring(L"*"), rawTag(i));
    }
}

AcDbObjectId AcDbDxfFiler::idFromHandle(const AcDbHandle& handle) const
{
    if (handle.isNull() || !m_db) return AcDbObjectId();
    return m_db->idFromHandle(handle, true);
}

AcDbObjectId AcDbDxfFiler::symbolId(AcDbObjectId tableId, std::wstring_view nameView, bool createIfMissing)
{
    if (tableId.isNull() || nameView.empty()) return AcDbObjectId();
    for (const Impl::LastSymbol& last : m_impl->last)
        if (last.table == tableId.stub() && last.name == nameView && !last.id.isErased()) return last.id;
    const AcDbObjectId found = findSymbol(tableId, nameView, createIfMissing);
    if (!found.isNull()) {
        // The slot of this table, else a free one, else the first.
        Impl::LastSymbol* last = m_impl->last;
        const void* table = tableId.stub();
        Impl::LastSymbol* slot = last[0].table == table || !last[0].table ? &last[0]
                                 : last[1].table == table || !last[1].table ? &last[1]
                                                                              : &last[0];
        slot->table = table;
        slot->name.assign(nameView);
        slot->id = found;
    }
    return found;
}

AcDbObjectId AcDbDxfFiler::findSymbol(AcDbObjectId tableId, std::wstring_view nameView, bool createIfMissing)
{
    auto& byName = m_impl->symbols[tableId.stub()];
    auto it = byName.find(nameView);
    if (it != byName.end() && !it->second.isErased()) return it->second;

    const std::wstring name(nameView);
    AcDbObjectId id;
    AcDbSymbolTable* table = nullptr;
    if (acdbOpenObject(table, tableId, AcDb::kForRead) != Acad::eOk) return id;
    table->getAt(name.c_str(), id);
    const std::wstring tableName = table->tableName();
    table->close();
    if (id.isNull() && createIfMissing && acdbOpenObject(table, tableId, AcDb::kForWrite) == Acad::eOk) {
        AcDbSymbolTableRecord* rec = nullptr;
        if (tableName == L"LAYER") {
            auto* layer = new AcDbLayerTableRecord;
            AcCmColor white;
            white.setColorIndex(7);
            layer->setColor(white);
            if (m_db) layer->setLinetypeObjectId(m_db->continuousLinetype());
            rec = layer;
        } else if (tableName == L"LTYPE") {
            rec = new AcDbLinetypeTableRecord;
        } else if (tableName == L"STYLE") {
            rec = new AcDbTextStyleTableRecord;
        }
        if (rec && rec->setNameFromFile(name) == Acad::eOk && table->addNamedByFile(id, rec) == Acad::eOk) {
            rec->close();
        } else {
            delete rec;
            id = AcDbObjectId();
        }
        table->close();
    }
    if (!id.isNull()) byName[name] = id;
    return id;
}

// ---------------------------------------------------------------------------- writing

void AcDbDxfFiler::emit(int code, std::string_view text)
{
    if (m_sink)
        m_sink->group(code, text);
    else
        m_out.push_back(RawTag{static_cast<short>(code), std::string(text)});
}

void AcDbDxfFiler::flushKept(const std::wstring& section)
{
    const auto* kept = m_writing ? m_writing->keptGroups() : nullptr;
    if (!kept || m_keptWritten >= kept->size()) return;
    if (m_keptDone.size() != kept->size()) m_keptDone.resize(kept->size(), false);
    std::string marker;
    for (size_t i = 0; i < kept->size(); ++i) {
        const auto& g = (*kept)[i];
        if (m_keptDone[i] || g.subclass != section) continue;
        m_keptDone[i] = true;
        ++m_keptWritten;
        if (g.tag.code == AcDb::kDxfSubclass) {
            // The section's own marker was written by its class.
            if (marker.empty()) marker = fendo::toUtf8(section);
            if (trim(g.tag.value) == marker) continue;
        }
        if (const auto text = keptText(g.tag)) emit(g.tag.code, *text);
    }
}

void AcDbDxfFiler::flushAllKept()
{
    flushKept(m_outSection);
    const auto* kept = m_writing ? m_writing->keptGroups() : nullptr;
    if (!kept) return;
    if (m_keptDone.size() != kept->size()) m_keptDone.resize(kept->size(), false);
    for (size_t i = 0; i < kept->size(); ++i) {
        if (m_keptDone[i]) continue;
        m_keptDone[i] = true;
        ++m_keptWritten;
        if (const auto text = keptText((*kept)[i].tag)) emit((*kept)[i].tag.code, *text);
    }
}

void AcDbDxfFiler::setObjectBeingWritten(const AcDbObject* obj)
{
    if (m_writing) flushAllKept();
    m_writing = obj;
    m_outSection.clear();
    m_keptWritten = 0;
    m_keptDone.assign(obj && obj->keptGroups() ? obj->keptGroups()->size() : 0, false);
}

RawTags AcDbDxfFiler::takeOutput()
{
    if (m_writing) {
        flushAllKept();
        m_writing = nullptr;
    }
    RawTags out = std::move(m_out);
    m_out.clear();
    return out;
}

Acad::ErrorStatus AcDbDxfFiler::writeItem(const resbuf* item)
{
    if (!item) return Acad::eInvalidResBuf;
    const auto code = static_cast<AcDb::DxfCode>(item->restype);
    switch (resValueKind(item->restype)) {
    case ResValueKind::Point: return writePoint3d(code, {item->resval.rpoint[0], item->resval.rpoint[1], item->resval.rpoint[2]});
    case ResValueKind::Real: return writeDouble(code, item->resval.rreal);
    case ResValueKind::Int16:
    case ResValueKind::Bool: return writeInt16(code, item->resval.rint);
    case ResValueKind::Int32: return writeInt32(code, item->resval.rlong);
    case ResValueKind::Int64: return writeInt64(code, item->resval.mnInt64);
    case ResValueKind::Name: {
        AcDbObjectId id;
        acdbGetObjectId(id, item->resval.rlname);
        return writeObjectId(code, id);
    }
    case ResValueKind::Binary:
        return writeBytes(code, item->resval.rbinary.buf, static_cast<std::size_t>(std::max<int>(0, item->resval.rbinary.clen)));
    default: return writeString(code, item->resval.rstring);
    }
}

Acad::ErrorStatus AcDbDxfFiler::writeString(AcDb::DxfCode code, const ACHAR* s)
{
    if (!s) s = L"";
    // Only objects that kept groups need to know which section is being written.
    if (code == AcDb::kDxfSubclass && m_writing && m_writing->keptGroups()) {
        flushKept(m_outSection);
        m_outSection = s;
    }
    // Line feeds and other control characters are written as caret pairs by the file writer.
    // Short ASCII texts (subclass markers, names) are narrowed on the stack.
    char tmp[64];
    size_t n = 0;
    for (; n < sizeof tmp && s[n]; ++n) {
        if (static_cast<unsigned>(s[n]) >= 0x80) break;
        tmp[n] = static_cast<char>(s[n]);
    }
    if (!s[n]) {
        emit(code, std::string_view(tmp, n));
        return m_status;
    }
    emit(code, fendo::toUtf8(s));
    return m_status;
}

Acad::ErrorStatus AcDbDxfFiler::writeBool(AcDb::DxfCode code, bool v) { return writeInt16(code, v ? 1 : 0); }
Acad::ErrorStatus AcDbDxfFiler::writeInt8(AcDb::DxfCode code, std::int8_t v) { return writeInt64(code, v); }
Acad::ErrorStatus AcDbDxfFiler::writeInt16(AcDb::DxfCode code, std::int16_t v) { return writeInt64(code, v); }
Acad::ErrorStatus AcDbDxfFiler::writeInt32(AcDb::DxfCode code, std::int32_t v) { return writeInt64(code, v); }

Acad::ErrorStatus AcDbDxfFiler::writeInt64(AcDb::DxfCode code, std::int64_t v)
{
    if (m_sink) {
        m_sink->groupInt(code, v);
    } else {
        char tmp[24];
        auto r = std::to_chars(tmp, tmp + sizeof tmp, static_cast<long long>(v));
        emit(code, std::string_view(tmp, r.ptr - tmp));
    }
    return m_status;
}

Acad::ErrorStatus AcDbDxfFiler::writeDouble(AcDb::DxfCode code, double v, int precision)
{
    if (m_sink && precision == kDfltPrec) {
        m_sink->groupDouble(code, v);
        return m_status;
    }
    char tmp[48];
    char* end = tmp;
    if (precision == kDfltPrec || precision < 0) {
        end = DxfOutput::formatDouble(tmp, v);
    } else {
        auto r = std::to_chars(tmp, tmp + sizeof tmp, std::isfinite(v) ? v : 0.0, std::chars_format::fixed,
                               std::min(precision, 16));
        end = r.ptr;
    }
    emit(code, std::string_view(tmp, end - tmp));
    return m_status;
}

Acad::ErrorStatus AcDbDxfFiler::writeAngle(AcDb::DxfCode code, double radians, int precision)
{
    return writeDouble(code, radians * kDegreesPerRadian, precision);
}

Acad::ErrorStatus AcDbDxfFiler::writePoint2d(AcDb::DxfCode code, const AcGePoint2d& p, int precision)
{
    writeDouble(code, p.x, precision);
    return writeDouble(static_cast<AcDb::DxfCode>(code + 10), p.y, precision);
}

Acad::ErrorStatus AcDbDxfFiler::writePoint3d(AcDb::DxfCode code, const AcGePoint3d& p, int precision)
{
    writeDouble(code, p.x, precision);
    writeDouble(static_cast<AcDb::DxfCode>(code + 10), p.y, precision);
    return writeDouble(static_cast<AcDb::DxfCode>(code + 20), p.z, precision);
}

Acad::ErrorStatus AcDbDxfFiler::writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int precision)
{
    writeDouble(code, v.x, precision);
    return writeDouble(static_cast<AcDb::DxfCode>(code + 10), v.y, precision);
}

Acad::ErrorStatus AcDbDxfFiler::writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int precision)
{
    writeDouble(code, v.x, precision);
    writeDouble(static_cast<AcDb::DxfCode>(code + 10), v.y, precision);
    return writeDouble(static_cast<AcDb::DxfCode>(code + 20), v.z, precision);
}

Acad::ErrorStatus AcDbDxfFiler::writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id)
{
    return writeHandle(code, id.handle());
}

Acad::ErrorStatus AcDbDxfFiler::writeHandle(AcDb::DxfCode code, const AcDbHandle& handle)
{
    if (m_sink) {
        m_sink->groupHandle(code, handle.value());
    } else {
        char tmp[20];
        char* end = DxfOutput::formatHex(tmp, handle.value());
        emit(code, std::string_view(tmp, end - tmp));
    }
    return m_status;
}

Acad::ErrorStatus AcDbDxfFiler::writeBytes(AcDb::DxfCode code, const void* data, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    static constexpr std::size_t kChunk = 127;
    const auto* bytes = static_cast<const unsigned char*>(data);
    char tmp[2 * kChunk];
    std::size_t done = 0;
    do {
        const std::size_t n = std::min(kChunk, size - done);
        for (std::size_t i = 0; i < n; ++i) {
            tmp[2 * i] = kDigits[bytes[done + i] >> 4];
            tmp[2 * i + 1] = kDigits[bytes[done + i] & 0xF];
        }
        emit(code, std::string_view(tmp, 2 * n));
        done += n;
    } while (done < size);
    return m_status;
}

Acad::ErrorStatus AcDbDxfFiler::writeUtf8(AcDb::DxfCode code, std::string_view text)
{
    emit(code, text);
    return m_status;
}

const std::string& AcDbDxfFiler::symbolName(AcDbObjectId recordId)
{
    auto [it, added] = m_impl->names.try_emplace(recordId.stub());
    if (added) {
        AcDbStub* stub = recordId.stub();
        if (auto* rec = AcDbSymbolTableRecord::cast(stub ? stub->object : nullptr)) it->second = fendo::toUtf8(rec->name());
    }
    return it->second;
}

Acad::ErrorStatus AcDbDxfFiler::writeRaw(const RawTag& tag)
{
    if (tag.code == AcDb::kDxfSubclass && m_writing && m_writing->keptGroups()) {
        flushKept(m_outSection);
        m_outSection = fendo::fromUtf8(trim(tag.value));
    }
    emit(tag.code, tag.value);
    return m_status;
}

void AcDbDxfFiler::setError(Acad::ErrorStatus es, const std::string& message)
{
    if (m_status != Acad::eOk) return;  // the first error is the one worth reporting
    m_status = es;
    m_error = message;
}

void AcDbDxfFiler::resetFilerStatus()
{
    m_status = Acad::eOk;
    m_error.clear();
}

// ---------------------------------------------------------------------------- DWG filer

Acad::ErrorStatus AcDbDwgFiler::put(const void* p, size_t n)
{
    const auto* b = static_cast<const unsigned char*>(p);
    m_buf.insert(m_buf.end(), b, b + n);
    return m_status;
}

Acad::ErrorStatus AcDbDwgFiler::get(void* p, size_t n)
{
    if (m_status != Acad::eOk) return m_status;
    if (m_pos + n > m_buf.size()) {
        std::memset(p, 0, n);
        m_status = Acad::eEndOfFile;
        return m_status;
    }
    std::memcpy(p, m_buf.data() + m_pos, n);
    m_pos += n;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDwgFiler::writeBool(bool v) { return writeUInt8(v ? 1 : 0); }
Acad::ErrorStatus AcDbDwgFiler::writeInt8(std::int8_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeInt16(std::int16_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeInt32(std::int32_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeInt64(std::int64_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeUInt8(std::uint8_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeUInt16(std::uint16_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeUInt32(std::uint32_t v) { return put(&v, sizeof v); }
Acad::ErrorStatus AcDbDwgFiler::writeDouble(double v) { return put(&v, sizeof v); }

Acad::ErrorStatus AcDbDwgFiler::writeString(const ACHAR* s)
{
    const std::string utf8 = fendo::toUtf8(s ? s : L"");
    writeUInt32(static_cast<std::uint32_t>(utf8.size()));
    return put(utf8.data(), utf8.size());
}

Acad::ErrorStatus AcDbDwgFiler::writePoint2d(const AcGePoint2d& p)
{
    writeDouble(p.x);
    return writeDouble(p.y);
}

Acad::ErrorStatus AcDbDwgFiler::writePoint3d(const AcGePoint3d& p)
{
    writeDouble(p.x);
    writeDouble(p.y);
    return writeDouble(p.z);
}

Acad::ErrorStatus AcDbDwgFiler::writeVector2d(const AcGeVector2d& v)
{
    writeDouble(v.x);
    return writeDouble(v.y);
}

Acad::ErrorStatus AcDbDwgFiler::writeVector3d(const AcGeVector3d& v)
{
    writeDouble(v.x);
    writeDouble(v.y);
    return writeDouble(v.z);
}

// Ids travel as their stubs: this filer never leaves the process that wrote it.
Acad::ErrorStatus AcDbDwgFiler::writeHardOwnershipId(const AcDbObjectId& id) { return writeInt64(id.asOldId()); }
Acad::ErrorStatus AcDbDwgFiler::writeSoftOwnershipId(const AcDbObjectId& id) { return writeInt64(id.asOldId()); }
Acad::ErrorStatus AcDbDwgFiler::writeHardPointerId(const AcDbObjectId& id) { return writeInt64(id.asOldId()); }
Acad::ErrorStatus AcDbDwgFiler::writeSoftPointerId(const AcDbObjectId& id) { return writeInt64(id.asOldId()); }

Acad::ErrorStatus AcDbDwgFiler::writeBytes(const void* data, std::uint32_t size)
{
    writeUInt32(size);
    return put(data, size);
}

Acad::ErrorStatus AcDbDwgFiler::readBool(bool* v)
{
    std::uint8_t b = 0;
    Acad::ErrorStatus es = readUInt8(&b);
    *v = b != 0;
    return es;
}
Acad::ErrorStatus AcDbDwgFiler::readInt8(std::int8_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readInt16(std::int16_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readInt32(std::int32_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readInt64(std::int64_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readUInt8(std::uint8_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readUInt16(std::uint16_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readUInt32(std::uint32_t* v) { return get(v, sizeof *v); }
Acad::ErrorStatus AcDbDwgFiler::readDouble(double* v) { return get(v, sizeof *v); }

Acad::ErrorStatus AcDbDwgFiler::readString(AcString& s)
{
    std::uint32_t n = 0;
    if (readUInt32(&n) != Acad::eOk) return m_status;
    if (m_pos + n > m_buf.size()) return m_status = Acad::eEndOfFile;
    s = fendo::fromUtf8(std::string_view(reinterpret_cast<const char*>(m_buf.data() + m_pos), n));
    m_pos += n;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDwgFiler::readString(ACHAR** s)
{
    AcString text;
    Acad::ErrorStatus es = readString(text);
    *s = new ACHAR[text.size() + 1];
    std::wmemcpy(*s, text.c_str(), text.size() + 1);
    return es;
}

Acad::ErrorStatus AcDbDwgFiler::readPoint2d(AcGePoint2d* p)
{
    readDouble(&p->x);
    return readDouble(&p->y);
}

Acad::ErrorStatus AcDbDwgFiler::readPoint3d(AcGePoint3d* p)
{
    readDouble(&p->x);
    readDouble(&p->y);
    return readDouble(&p->z);
}

Acad::ErrorStatus AcDbDwgFiler::readVector2d(AcGeVector2d* v)
{
    readDouble(&v->x);
    return readDouble(&v->y);
}

Acad::ErrorStatus AcDbDwgFiler::readVector3d(AcGeVector3d* v)
{
    readDouble(&v->x);
    readDouble(&v->y);
    return readDouble(&v->z);
}

namespace {
Acad::ErrorStatus readId(AcDbDwgFiler* f, AcDbObjectId* id)
{
    std::int64_t raw = 0;
    Acad::ErrorStatus es = f->readInt64(&raw);
    *id = AcDbObjectId(reinterpret_cast<AcDbStub*>(static_cast<std::intptr_t>(raw)));
    return es;
}
}  // namespace

Acad::ErrorStatus AcDbDwgFiler::readHardOwnershipId(AcDbObjectId* id) { return readId(this, id); }
Acad::ErrorStatus AcDbDwgFiler::readSoftOwnershipId(AcDbObjectId* id) { return readId(this, id); }
Acad::ErrorStatus AcDbDwgFiler::readHardPointerId(AcDbObjectId* id) { return readId(this, id); }
Acad::ErrorStatus AcDbDwgFiler::readSoftPointerId(AcDbObjectId* id) { return readId(this, id); }

Acad::ErrorStatus AcDbDwgFiler::readBytes(void* data, std::uint32_t size)
{
    std::uint32_t stored = 0;
    if (readUInt32(&stored) != Acad::eOk) return m_status;
    if (stored != size) return m_status = Acad::eInvalidInput;
    return get(data, size);
}
