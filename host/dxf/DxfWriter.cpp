// Saving a database as an R2007 ASCII DXF file (AC1021, UTF-8). Every object files itself
// through the DXF filer, which sends its groups straight to one buffered writer. The file
// is written beside the target under a temporary name, flushed to disk and renamed over
// the target, so a failed save leaves the old file as it was.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/dxf/DxfExport.h"
#include "host/dxf/DxfIo.h"
#include "host/dxf/DxfOutput.h"
#include "host/dxf/DxfProgress.h"
#include "host/gi/ProxyGraphicsWriter.h"

namespace fendo::dxf {
namespace {

AcDbObject* liveObject(AcDbObjectId id)
{
    AcDbStub* stub = id.stub();
    return stub && stub->object && !stub->erased && !stub->held ? stub->object : nullptr;
}

// Classes of objects CAD programs expect listed in CLASSES when a drawing holds them.
struct BuiltInClass {
    const wchar_t* dxfName;
    const char* className;
    const char* appName;
    int proxyFlags;
    bool isEntity;
};
constexpr BuiltInClass kBuiltInClasses[] = {
    {L"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", "ObjectDBX Classes", 0, false},
    {L"ACDBPLACEHOLDER", "AcDbPlaceHolder", "ObjectDBX Classes", 0, false},
    {L"LAYOUT", "AcDbLayout", "ObjectDBX Classes", 0, false},
    {L"DICTIONARYVAR", "AcDbDictionaryVar", "ObjectDBX Classes", 0, false},
    {L"TABLESTYLE", "AcDbTableStyle", "ObjectDBX Classes", 4095, false},
    {L"MLEADERSTYLE", "AcDbMLeaderStyle", "ACDB_MLEADERSTYLE_CLASS", 4095, false},
    {L"SCALE", "AcDbScale", "ObjectDBX Classes", 1153, false},
    {L"VISUALSTYLE", "AcDbVisualStyle", "ObjectDBX Classes", 4095, false},
    {L"MATERIAL", "AcDbMaterial", "ObjectDBX Classes", 1153, false},
    {L"SUN", "AcDbSun", "SCENEOE", 1153, false},
    {L"MESH", "AcDbSubDMesh", "ObjectDBX Classes", 0, true},
    {L"ACAD_TABLE", "AcDbTable", "ObjectDBX Classes", 1025, true},
    {L"MULTILEADER", "AcDbMLeader", "ACDB_MLEADER_CLASS", 3071, true},
};

class Writer {
public:
    Writer(AcDbDatabase& db, std::FILE* file, const DxfWriteOptions& options)
        : m_db(db), m_out(file), m_filer(&db), m_options(options),
          m_progress(L"Saving", db.stubs().size(), db.stubs().size() > kProgressRecords)
    {
        if (options.binary) m_out.startBinary(options.version == DxfVersion::R12);
        m_out.setEscapeUnicode(options.version < DxfVersion::R2007);
        m_filer.setOutputSink(&m_out);
    }

    void prepare();
    void write();
    bool failed() { return !m_out.flush(); }

private:
    void section(const char* name)
    {
        m_out.group(0, "SECTION");
        m_out.group(2, name);
    }
    void endSection() { m_out.group(0, "ENDSEC"); }
    const std::string& typeName(const AcDbObject* obj);
    void writeObject(AcDbObject* obj, std::string_view typeOverride = {});
    void writeObjectTo(DxfOutput& out, AcDbObject* obj, std::string_view typeOverride);
    void writeEntity(AcDbObjectId id);
    // The vertices a 3D polyline holds as data: the first through a temporary copy, which
    // shows the groups every held vertex of that polyline has besides its handle, position
    // and flags; the others are written from those groups and their own data.
    void write3dPolylineVertices(const AcDb3dPolyline* polyline);
    bool writeHeldVertex(const fendo::db::HeldVertex3d& vertex, std::uint64_t handle);
    void writeVertexShowingItsShape(AcDbObject* copy);
    // The groups of a held vertex before and after those it shares with the polyline's other
    // held vertices.
    static void heldVertexHead(DxfOutput& out, std::uint64_t handle);
    static void heldVertexTail(DxfOutput& out, const fendo::db::HeldVertex3d& vertex);
    // Custom entities: with their proxy graphics, or as their exploded pieces.
    fendo::db::RawTags fieldsOf(const AcDbObject* obj);
    void writeCustomEntity(AcDbEntity* ent);
    void explodeCustomEntity(AcDbEntity* ent);
    void writePiece(AcDbEntity* piece, std::uint64_t handle, AcDbObjectId owner);
    void writeHeader();
    void writeClasses();
    void writeTables();
    void writeBlocks();
    void writeEntities();
    void writeObjects();
    // R12: the groups R12 has, lightweight polylines as POLYLINE and VERTEX records, and a
    // count of the entities left out.
    bool r12() const { return m_options.version == DxfVersion::R12; }
    bool explodes() const { return m_options.explodeCustomObjects || r12(); }
    // handle: for exploded pieces, which have none of their own.
    void writeR12Object(AcDbObject* obj, std::string_view type, std::uint64_t handle = 0);
    void writeR12Polyline(const fendo::db::RawTags& tags, std::uint64_t handle);
    void writeR12ViewportView(const fendo::db::RawTags& tags);
    void reportLeftOut();
    std::map<std::string, int> m_leftOut;
    // Handles the vertices and ends of converted polylines take, above every other.
    std::uint64_t m_r12Handles = 0;

    AcDbDatabase& m_db;
    DxfOutput m_out;
    AcDbDxfFiler m_filer;
    std::unordered_map<const AcRxClass*, std::string> m_typeNames;
    std::string m_scratchType;
    DxfWriteOptions m_options;
    // Exploded pieces of custom entities and the handles they are written with.
    struct Piece {
        std::unique_ptr<AcDbEntity> entity;
        std::uint64_t handle;
    };
    std::unordered_map<const AcDbEntity*, std::vector<Piece>> m_pieces;
    std::uint64_t m_nextHandle = 0;
    DxfProgress m_progress;  // by the objects written
    std::size_t m_written = 0;
    // The held vertices of the 3D polyline being written: whether the first was written yet
    // (through a copy, to learn the shape) and, when its groups had the shape expected, the
    // groups between its handle and its position.
    enum class VertexShape { NotSeen, Learning, Known, Unknown };
    VertexShape m_vertexShape = VertexShape::NotSeen;
    std::string m_vertexMiddle;
    std::size_t m_vertexHead = 0;
    DxfOutput m_scratch, m_scratchEnds;  // a copy's record and the groups expected round it
};

// Visits every stub in order, asking the processor for each one's object some stubs ahead: the
// objects of a big drawing lie spread over hundreds of megabytes, and a visit that reads one
// would otherwise wait for memory every time.
template <typename Visit>
void forEachStubReadingAhead(const std::deque<AcDbStub>& stubs, Visit visit)
{
    constexpr int kAhead = 16;
    auto ahead = stubs.begin();
    for (int i = 0; i < kAhead && ahead != stubs.end(); ++i) ++ahead;
    for (const AcDbStub& stub : stubs) {
        if (ahead != stubs.end()) {
            if (ahead->object) __builtin_prefetch(ahead->object);
            ++ahead;
        }
        visit(stub);
    }
}

// Group codes R12 has: no subclass markers, pointers, 32-bit integers or the properties later
// releases added (line weight, true colour, transparency...).
bool r12Group(int code)
{
    if (code == 48 || code == 60) return false;
    return code < 90 || code == 105 || (code >= 140 && code < 180) || (code >= 210 && code < 240) || code >= 1000;
}

// The entities R12 has, as written (LWPOLYLINE is converted, custom entities exploded).
bool r12Entity(std::string_view type)
{
    static constexpr std::string_view kTypes[] = {
        "LINE",   "POINT",  "CIRCLE", "ARC",    "TEXT",  "SOLID",    "TRACE",     "3DFACE", "POLYLINE", "VERTEX",
        "SEQEND", "INSERT", "ATTRIB", "ATTDEF", "SHAPE", "VIEWPORT", "DIMENSION", "BLOCK",  "ENDBLK",
    };
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

// Explode results that are themselves custom are exploded again, to this depth.
constexpr int kMaxExplodeDepth = 4;
// Proxy graphics groups: byte count, then the data in hexadecimal chunks.
constexpr int kProxyGraphicsSizeCode = 92;
constexpr int kProxyGraphicsSizeCodeR2013 = 160;
constexpr int kProxyGraphicsDataCode = 310;
constexpr size_t kBinaryChunk = 127;

const std::string& Writer::typeName(const AcDbObject* obj)
{
    const AcRxClass* cls = obj->isA();
    if (cls == AcDbUnknownObject::desc() || cls == AcDbUnknownEntity::desc()) {
        m_scratchType = fendo::toUtf8(obj->dxfTypeName());
        return m_scratchType;
    }
    auto [it, added] = m_typeNames.try_emplace(cls);
    if (added) it->second = fendo::toUtf8(obj->dxfTypeName());
    return it->second;
}

void Writer::writeObject(AcDbObject* obj, std::string_view typeOverride)
{
    if (!obj) return;
    m_progress.tick(++m_written);
    if (r12()) return writeR12Object(obj, typeOverride.empty() ? std::string_view(typeName(obj)) : typeOverride);
    writeObjectTo(m_out, obj, typeOverride);
}

void Writer::writeObjectTo(DxfOutput& out, AcDbObject* obj, std::string_view typeOverride)
{
    out.group(0, typeOverride.empty() ? std::string_view(typeName(obj)) : typeOverride);
    m_filer.setOutputSink(&out);
    m_filer.setObjectBeingWritten(obj);
    obj->dxfOutFields(&m_filer);
    m_filer.setObjectBeingWritten(nullptr);
    m_filer.setOutputSink(&m_out);
    if (const auto* xdata = obj->rawXData())
        for (const auto& tag : *xdata) out.group(tag.code, tag.value);
}

void Writer::write3dPolylineVertices(const AcDb3dPolyline* polyline)
{
    m_vertexShape = VertexShape::NotSeen;
    polyline->forEachSubentityRecord(
        [this](AcDbObject* sub) {
            if (m_vertexShape == VertexShape::Learning)
                writeVertexShowingItsShape(sub);
            else
                writeObject(sub);
        },
        [this](const fendo::db::HeldVertex3d& vertex, std::uint64_t handle) { return writeHeldVertex(vertex, handle); });
}

void Writer::heldVertexHead(DxfOutput& out, std::uint64_t handle)
{
    out.group(0, "VERTEX");
    out.groupHandle(AcDb::kDxfHandle, handle);
}

void Writer::heldVertexTail(DxfOutput& out, const fendo::db::HeldVertex3d& vertex)
{
    out.groupDouble(AcDb::kDxfXCoord, vertex.position.x);
    out.groupDouble(AcDb::kDxfXCoord + 10, vertex.position.y);
    out.groupDouble(AcDb::kDxfXCoord + 20, vertex.position.z);
    out.groupInt(AcDb::kDxfInt16, AcDb3dPolylineVertex::flagsOf(vertex.type));
}

bool Writer::writeHeldVertex(const fendo::db::HeldVertex3d& vertex, std::uint64_t handle)
{
    switch (m_vertexShape) {
    case VertexShape::NotSeen:
        // The copy written next shows the shape; what this vertex's own groups look like
        // is kept to find them in it.
        if (r12() || m_out.isBinary()) {
            m_vertexShape = VertexShape::Unknown;
            return false;
        }
        m_vertexShape = VertexShape::Learning;
        m_scratchEnds.clearBuffer();
        m_scratchEnds.setEscapeUnicode(m_out.escapesUnicode());
        heldVertexHead(m_scratchEnds, handle);
        m_vertexHead = m_scratchEnds.buffer().size();
        heldVertexTail(m_scratchEnds, vertex);
        return false;
    case VertexShape::Known:
        m_progress.tick(++m_written);
        heldVertexHead(m_out, handle);
        m_out.raw(m_vertexMiddle);
        heldVertexTail(m_out, vertex);
        return true;
    default: return false;
    }
}

void Writer::writeVertexShowingItsShape(AcDbObject* copy)
{
    m_progress.tick(++m_written);
    m_scratch.clearBuffer();
    m_scratch.setEscapeUnicode(m_out.escapesUnicode());
    writeObjectTo(m_scratch, copy, {});
    const std::string_view record = m_scratch.buffer(), ends = m_scratchEnds.buffer();
    const std::string_view head = ends.substr(0, m_vertexHead), tail = ends.substr(m_vertexHead);
    if (record.size() >= ends.size() && record.starts_with(head) && record.ends_with(tail)) {
        m_vertexMiddle.assign(record.substr(head.size(), record.size() - ends.size()));
        m_vertexShape = VertexShape::Known;
    } else {
        m_vertexShape = VertexShape::Unknown;
    }
    m_out.raw(record);
}

fendo::db::RawTags Writer::fieldsOf(const AcDbObject* obj)
{
    m_filer.setOutputSink(nullptr);
    m_filer.setObjectBeingWritten(obj);
    obj->dxfOutFields(&m_filer);
    fendo::db::RawTags tags = m_filer.takeOutput();
    m_filer.setOutputSink(&m_out);
    return tags;
}

// The proxy graphics go at the end of the AcDbEntity section, where readers look for them;
// any the object brought from a file are dropped, since they showed an older state.
void Writer::writeCustomEntity(AcDbEntity* ent)
{
    m_out.group(0, typeName(ent));
    fendo::db::RawTags tags = fieldsOf(ent);
    size_t start = tags.size(), end = tags.size();
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].code != AcDb::kDxfSubclass) continue;
        if (start == tags.size() && tags[i].value == "AcDbEntity") {
            start = i + 1;
        } else if (start != tags.size()) {
            end = i;
            break;
        }
    }
    const std::vector<std::uint8_t> graphics = fendo::gi::proxyGraphicsFor(*ent);
    for (size_t i = 0; i < tags.size(); ++i) {
        const int code = tags[i].code;
        const bool stale = i >= start && i < end &&
                           (code == kProxyGraphicsSizeCode || code == kProxyGraphicsSizeCodeR2013 ||
                            code == kProxyGraphicsDataCode);
        if (!stale) m_out.group(code, tags[i].value);
        if (i + 1 != end || graphics.empty()) continue;
        m_out.groupInt(m_options.version >= DxfVersion::R2013 ? kProxyGraphicsSizeCodeR2013 : kProxyGraphicsSizeCode,
                       static_cast<long long>(graphics.size()));
        static constexpr char kHex[] = "0123456789ABCDEF";
        char chunk[2 * kBinaryChunk];
        for (size_t at = 0; at < graphics.size(); at += kBinaryChunk) {
            const size_t count = std::min(graphics.size() - at, kBinaryChunk);
            for (size_t k = 0; k < count; ++k) {
                chunk[2 * k] = kHex[graphics[at + k] >> 4];
                chunk[2 * k + 1] = kHex[graphics[at + k] & 0xF];
            }
            m_out.group(kProxyGraphicsDataCode, std::string_view(chunk, 2 * count));
        }
    }
    if (const auto* xdata = ent->rawXData())
        for (const auto& tag : *xdata) m_out.group(tag.code, tag.value);
}

void Writer::explodeCustomEntity(AcDbEntity* ent)
{
    std::vector<Piece>& out = m_pieces[ent];
    std::vector<std::pair<AcDbEntity*, int>> todo{{ent, 0}};
    while (!todo.empty()) {
        auto [e, depth] = todo.back();
        todo.pop_back();
        AcDbVoidPtrArray parts;
        e->explode(parts);  // a refusal leaves no pieces
        for (void* p : parts) {
            std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(p));
            if (!piece) continue;
            if (piece->layerId().isNull()) piece->setPropertiesFrom(ent);
            if (piece->isA()->isCustom() && depth + 1 < kMaxExplodeDepth) {
                todo.emplace_back(piece.get(), depth + 1);
                out.push_back(Piece{std::move(piece), 0});  // kept alive while exploded, not written
                continue;
            }
            if (piece->isA()->isCustom()) continue;
            out.push_back(Piece{std::move(piece), m_nextHandle++});
        }
    }
}

void Writer::writePiece(AcDbEntity* piece, std::uint64_t handle, AcDbObjectId owner)
{
    if (r12()) return writeR12Object(piece, typeName(piece), handle);
    m_out.group(0, typeName(piece));
    fendo::db::RawTags tags = fieldsOf(piece);
    m_out.groupHandle(AcDb::kDxfHandle, handle);
    bool ownerDone = false;
    for (const auto& tag : tags) {
        if (!ownerDone && tag.code == AcDb::kDxfSoftPointerId) {
            ownerDone = true;
            m_out.groupHandle(AcDb::kDxfSoftPointerId, owner.handle().value());
            continue;
        }
        m_out.group(tag.code, tag.value);
    }
}

void Writer::writeEntity(AcDbObjectId id)
{
    auto* ent = entityOf(liveObject(id));
    if (!ent) return;
    if (ent->isA()->isCustom()) {
        if (!explodes()) return writeCustomEntity(ent);
        auto it = m_pieces.find(ent);
        if (it == m_pieces.end()) return;
        for (Piece& piece : it->second)
            if (piece.handle) writePiece(piece.entity.get(), piece.handle, ent->ownerId());
        return;
    }
    writeObject(ent);
    if (!mayOwnSubentities(ent->isA())) return;
    auto subs = subentityAccess(ent);
    if (!subs || !subs->hasSubentities()) return;
    if (auto* polyline = AcDb3dPolyline::cast(ent)) return write3dPolylineVertices(polyline);
    // Subentities their owner holds compactly are written from a temporary copy.
    subs->forEachRecord([this](AcDbObject* sub) { writeObject(sub); });
}

// Gives every block its BLOCK and ENDBLK records and lets owners make their SEQEND records,
// so that all handles exist before $HANDSEED is written.
void Writer::prepare()
{
    auto* blocks = fendo::db::peekObject<AcDbBlockTable>(m_db.blockTableId());
    if (!blocks) return;
    for (AcDbObjectId btrId : blocks->recordIds()) {
        auto* btr = AcDbBlockTableRecord::cast(liveObject(btrId));
        if (!btr) continue;
        if (!liveObject(btr->blockBeginId())) {
            auto* begin = new AcDbBlockBegin;
            AcDbObjectId id;
            if (m_db.addAcDbObject(id, begin) == Acad::eOk) {
                begin->setOwnerId(btrId);
                if (fendo::equalsNoCase(btr->name(), ACDB_PAPER_SPACE)) begin->setInPaperSpace(true);
                begin->close();
                btr->setBlockBeginId(id);
            } else {
                delete begin;
            }
        }
        if (!liveObject(btr->blockEndId())) {
            auto* end = new AcDbBlockEnd;
            AcDbObjectId id;
            if (m_db.addAcDbObject(id, end) == Acad::eOk) {
                end->setOwnerId(btrId);
                if (fendo::equalsNoCase(btr->name(), ACDB_PAPER_SPACE)) end->setInPaperSpace(true);
                end->close();
                btr->setBlockEndId(id);
            } else {
                delete end;
            }
        }
        for (AcDbObjectId id : btr->entityIds()) {
            AcDbObject* obj = liveObject(id);
            if (!obj || !mayOwnSubentities(obj->isA())) continue;
            auto subs = subentityAccess(AcDbEntity::cast(obj));
            if (subs && subs->hasSubentities()) subs->makeRecords();
        }
    }
    m_nextHandle = 0;
    if (!explodes()) return;
    // Pieces take handles above every handle in use, the records made above included (the
    // seed is written after them).
    m_nextHandle = m_db.handseed().value();
    for (const AcDbStub& stub : m_db.stubs()) m_nextHandle = std::max(m_nextHandle, stub.handle.value() + 1);
    for (AcDbObjectId btrId : blocks->recordIds())
        if (auto* btr = AcDbBlockTableRecord::cast(liveObject(btrId)))
            for (AcDbObjectId id : btr->entityIds())
                if (AcDbObject* obj = liveObject(id); obj && obj->isA()->isCustom() && AcDbEntity::cast(obj))
                    explodeCustomEntity(AcDbEntity::cast(obj));
    if (!r12()) return;
    auto count = [&](const AcDbEntity* ent) {
        if (const auto* pline = AcDbPolyline::cast(ent)) m_r12Handles += pline->numVerts() + 1;
    };
    for (AcDbObjectId btrId : blocks->recordIds())
        if (auto* btr = AcDbBlockTableRecord::cast(liveObject(btrId)))
            for (AcDbObjectId id : btr->entityIds()) count(AcDbEntity::cast(liveObject(id)));
    for (const auto& [owner, pieces] : m_pieces)
        for (const Piece& piece : pieces) count(piece.entity.get());
}

void Writer::write()
{
    writeHeader();
    if (!r12()) writeClasses();
    writeTables();
    writeBlocks();
    writeEntities();
    if (r12()) {
        reportLeftOut();
        m_out.group(0, "EOF");
        return;
    }
    writeObjects();
    for (const auto& [name, tags] : m_db.otherSections()) {
        section(name.c_str());
        for (const auto& tag : tags) m_out.group(tag.code, tag.value);
        endSection();
    }
    m_out.group(0, "EOF");
}

void Writer::writeR12Object(AcDbObject* obj, std::string_view type, std::uint64_t handle)
{
    if (AcDbEntity::cast(obj) && type != "LWPOLYLINE" && !r12Entity(type)) {
        ++m_leftOut[std::string(type)];
        return;
    }
    const fendo::db::RawTags tags = fieldsOf(obj);
    if (type == "LWPOLYLINE") return writeR12Polyline(tags, handle);
    m_out.group(0, type);
    if (handle) m_out.groupHandle(AcDb::kDxfHandle, handle);
    // Line type elements of R12 hold dash lengths only; its viewports their frame (the
    // view itself went in extended data, which readers default).
    auto keep = [&](int code) {
        if (type == "LTYPE") return code != 74 && code != 75 && code != 44 && code != 45 && code != 46 && code != 50;
        if (type == "VIEWPORT")
            return code == 8 || code == 6 || code == 62 || code == 67 || code == 68 || code == 69 ||
                   (code >= 10 && code <= 41 && code % 10 == 0);
        if (type == "VPORT") return code != 65;
        return true;
    };
    bool embedded = false;
    for (const auto& tag : tags) {
        embedded = embedded || tag.code == 101;  // an embedded paragraph text of later releases
        if (!embedded && r12Group(tag.code) && keep(tag.code)) m_out.group(tag.code, tag.value);
    }
    if (type == "VIEWPORT") return writeR12ViewportView(tags);
    if (const auto* xdata = obj->rawXData())
        for (const auto& tag : *xdata) m_out.group(tag.code, tag.value);
}

// The view of an R12 viewport is extended data of the application ACAD: target, direction,
// twist, height, centre, lens and clipping from the viewport, the drawing aids at their defaults.
void Writer::writeR12ViewportView(const fendo::db::RawTags& tags)
{
    auto value = [&](int code, const char* fallback) {
        for (const auto& tag : tags)
            if (tag.code == code) return std::string_view(tag.value);
        return std::string_view(fallback);
    };
    m_out.group(1001, "ACAD");
    m_out.group(1000, "MVIEW");
    m_out.group(1002, "{");
    m_out.groupInt(1070, 16);
    const std::pair<int, const char*> view[] = {{1010, "0.0"}, {1020, "0.0"}, {1030, "0.0"}, {1010, "0.0"},
                                                {1020, "0.0"}, {1030, "1.0"}, {1040, "0.0"}, {1040, "1.0"},
                                                {1040, "0.0"}, {1040, "0.0"}, {1040, "50.0"}, {1040, "0.0"},
                                                {1040, "0.0"}};
    const int from[] = {17, 27, 37, 16, 26, 36, 51, 45, 12, 22, 42, 43, 44};
    for (size_t i = 0; i < std::size(from); ++i) m_out.group(view[i].first, value(from[i], view[i].second));
    // View mode, circle zoom, fast zoom, UCS icon, snap, grid, snap style, isometric pair.
    for (int mode : {0, 100, 1, 3, 0, 0, 0, 0}) m_out.groupInt(1070, mode);
    // Snap angle and base, snap and grid spacing.
    for (double d : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}) m_out.groupDouble(1040, d);
    m_out.groupInt(1070, 0);  // shown in plots
    for (const char* brace : {"{", "}", "}"}) m_out.group(1002, brace);
}

// A lightweight polyline as the POLYLINE of R12: its elevation is the z of every vertex,
// widths and bulges stay with the vertices.
void Writer::writeR12Polyline(const fendo::db::RawTags& tags, std::uint64_t pieceHandle)
{
    fendo::db::RawTags common, vertices;
    std::string handle, flags = "0", width, elevation = "0.0", thickness, nx, ny, nz;
    bool body = false;
    for (const auto& tag : tags) {
        if (tag.code == AcDb::kDxfSubclass) {
            body = tag.value == "AcDbPolyline";
            continue;
        }
        if (!body) {
            if (tag.code == AcDb::kDxfHandle)
                handle = tag.value;
            else if (r12Group(tag.code))
                common.push_back(tag);
            continue;
        }
        switch (tag.code) {
        case 70: flags = tag.value; break;
        case 43: width = tag.value; break;
        case 38: elevation = tag.value; break;
        case 39: thickness = tag.value; break;
        case 210: nx = tag.value; break;
        case 220: ny = tag.value; break;
        case 230: nz = tag.value; break;
        case 10:
        case 20:
        case 40:
        case 41:
        case 42: vertices.push_back(tag); break;
        default: break;
        }
    }
    auto put = [&](const fendo::db::RawTags& list) {
        for (const auto& tag : list) m_out.group(tag.code, tag.value);
    };
    m_out.group(0, "POLYLINE");
    if (pieceHandle) m_out.groupHandle(AcDb::kDxfHandle, pieceHandle);
    if (!handle.empty()) m_out.group(AcDb::kDxfHandle, handle);
    put(common);
    if (!thickness.empty()) m_out.group(39, thickness);
    m_out.groupInt(66, 1);
    m_out.groupDouble(10, 0.0);
    m_out.groupDouble(20, 0.0);
    m_out.group(30, elevation);
    // Closed (1) and line type generation (128) mean the same in both.
    m_out.groupInt(70, std::atoi(flags.c_str()) & (1 | 128));
    if (!width.empty()) {
        m_out.group(40, width);
        m_out.group(41, width);
    }
    if (!nz.empty()) {
        m_out.group(210, nx);
        m_out.group(220, ny);
        m_out.group(230, nz);
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        if (vertices[i].code != 10) continue;
        m_out.group(0, "VERTEX");
        m_out.groupHandle(AcDb::kDxfHandle, m_nextHandle++);
        put(common);
        m_out.group(10, vertices[i].value);
        size_t k = i + 1;
        if (k < vertices.size() && vertices[k].code == 20) m_out.group(20, vertices[k++].value);
        m_out.group(30, elevation);
        for (; k < vertices.size() && vertices[k].code != 10; ++k) m_out.group(vertices[k].code, vertices[k].value);
        m_out.groupInt(70, 0);
    }
    m_out.group(0, "SEQEND");
    m_out.groupHandle(AcDb::kDxfHandle, m_nextHandle++);
    put(common);
}

void Writer::reportLeftOut()
{
    if (!m_options.leftOut) return;
    m_options.leftOut->clear();
    if (m_leftOut.empty()) return;
    int count = 0;
    std::string kinds;
    for (const auto& [type, n] : m_leftOut) {
        kinds += (kinds.empty() ? "" : ", ") + type;
        count += n;
    }
    *m_options.leftOut =
        "R12 has no " + kinds + ": " + std::to_string(count) + (count == 1 ? " object" : " objects") + " left out";
}

void Writer::writeHeader()
{
    section("HEADER");
    auto var = [&](const char* name) { m_out.group(9, name); };
    auto point = [&](const char* name, double x, double y, double z) {
        var(name);
        m_out.groupDouble(10, x);
        m_out.groupDouble(20, y);
        m_out.groupDouble(30, z);
    };
    var("$ACADVER");
    m_out.group(1, acadVersionName(m_options.version));
    var("$DWGCODEPAGE");
    m_out.group(3, "ANSI_1252");
    // The seed is above every handle in use.
    std::uint64_t seed = m_db.handseed().value();
    for (const AcDbStub& stub : m_db.stubs()) seed = std::max(seed, stub.handle.value() + 1);
    seed = std::max(seed, m_nextHandle);
    if (r12()) {
        var("$HANDLING");
        m_out.groupInt(70, 1);
    }
    var("$HANDSEED");
    m_out.groupHandle(5, seed + m_r12Handles);
    var("$CLAYER");
    m_out.group(8, m_filer.symbolName(m_db.clayer()).empty() ? "0" : m_filer.symbolName(m_db.clayer()));
    var("$TEXTSTYLE");
    m_out.group(7, m_filer.symbolName(m_db.textstyle()).empty() ? "Standard" : m_filer.symbolName(m_db.textstyle()));
    var("$CELTYPE");
    m_out.group(6, m_filer.symbolName(m_db.celtype()).empty() ? "ByLayer" : m_filer.symbolName(m_db.celtype()));
    var("$CECOLOR");
    m_out.groupInt(62, m_db.cecolor().colorIndex());
    var("$TILEMODE");
    m_out.groupInt(70, m_db.tilemode() ? 1 : 0);
    var("$LUPREC");
    m_out.groupInt(70, m_db.luprec());
    var("$PDMODE");
    m_out.groupInt(70, m_db.pdmode());
    var("$PDSIZE");
    m_out.groupDouble(40, m_db.pdsize());
    var("$TEXTSIZE");
    m_out.groupDouble(40, m_db.textsize());
    var("$LTSCALE");
    m_out.groupDouble(40, m_db.ltscale());
    const AcGePoint3d o = m_db.ucsorg(), po = m_db.pucsorg(), mn = m_db.extmin(), mx = m_db.extmax();
    const AcGeVector3d x = m_db.ucsxdir(), y = m_db.ucsydir(), px = m_db.pucsxdir(), py = m_db.pucsydir();
    point("$UCSORG", o.x, o.y, o.z);
    point("$UCSXDIR", x.x, x.y, x.z);
    point("$UCSYDIR", y.x, y.y, y.z);
    point("$PUCSORG", po.x, po.y, po.z);
    point("$PUCSXDIR", px.x, px.y, px.z);
    point("$PUCSYDIR", py.x, py.y, py.z);
    point("$EXTMIN", mn.x, mn.y, mn.z);
    point("$EXTMAX", mx.x, mx.y, mx.z);
    for (const auto& v : m_db.otherHeaderVariables()) {
        if (r12() && (v.name == "$HANDLING" || v.name == "$HANDSEED" ||
                      std::any_of(v.values.begin(), v.values.end(), [](const auto& t) { return !r12Group(t.code); })))
            continue;
        var(v.name.c_str());
        for (const auto& tag : v.values) m_out.group(tag.code, tag.value);
    }
    endSection();
}

void Writer::writeClasses()
{
    // Instances by class (custom classes) and by type name (everything else but the
    // host's own entities).
    std::unordered_map<const AcRxClass*, int> byClass;
    std::unordered_map<std::wstring, int> byType;
    forEachStubReadingAhead(m_db.stubs(), [&](const AcDbStub& stub) {
        AcDbObject* obj = stub.erased ? nullptr : stub.object;
        if (!obj) return;
        const AcRxClass* cls = obj->isA();
        if (cls->isCustom() && explodes() && entityOf(obj)) return;  // written as its pieces
        if (cls->isCustom())
            ++byClass[cls];
        else if (!entityOf(obj) || cls == AcDbUnknownEntity::desc())
            ++byType[obj->dxfTypeName()];
    });
    std::unordered_set<std::wstring> written;
    auto record = [&](const std::wstring& dxfName, std::string_view className, std::string_view appName, int flags,
                      int count, bool wasProxy, bool isEntity) {
        m_out.group(0, "CLASS");
        m_out.group(1, fendo::toUtf8(dxfName));
        m_out.group(2, className);
        m_out.group(3, appName);
        m_out.groupInt(90, flags);
        m_out.groupInt(91, count);
        m_out.groupInt(280, wasProxy ? 1 : 0);
        m_out.groupInt(281, isEntity ? 1 : 0);
        written.insert(dxfName);
    };
    section("CLASSES");
    for (const auto& [name, rx] : acrxClassDictionary()->entries()) {
        auto* cls = static_cast<const AcRxClass*>(rx);
        auto it = byClass.find(cls);
        if (!cls->isCustom() || !*cls->dxfName() || it == byClass.end() || written.count(cls->dxfName())) continue;
        record(cls->dxfName(), fendo::toUtf8(cls->name()), fendo::toUtf8(cls->appName()), cls->proxyFlags(), it->second,
               false, cls->isDerivedFrom(AcDbEntity::desc()));
    }
    // The plain export writes custom entities as their pieces: the class records the file
    // brought for them would announce objects that are no longer there.
    std::unordered_set<std::wstring> exploded;
    if (m_options.explodeCustomObjects)
        for (const auto& [name, rx] : acrxClassDictionary()->entries()) {
            auto* cls = static_cast<const AcRxClass*>(rx);
            if (cls->isCustom() && *cls->dxfName() && cls->isDerivedFrom(AcDbEntity::desc()))
                exploded.insert(cls->dxfName());
        }
    for (const auto& rec : m_db.dxfClasses()) {
        if (written.count(rec.dxfName) || exploded.count(rec.dxfName)) continue;
        auto it = byType.find(rec.dxfName);
        record(rec.dxfName, fendo::toUtf8(rec.className), fendo::toUtf8(rec.appName), rec.proxyFlags,
               it == byType.end() ? rec.instanceCount : it->second, rec.wasProxy, rec.isEntity);
    }
    for (const BuiltInClass& c : kBuiltInClasses) {
        auto it = byType.find(c.dxfName);
        if (it == byType.end() || written.count(c.dxfName)) continue;
        record(c.dxfName, c.className, c.appName, c.proxyFlags, it->second, false, c.isEntity);
    }
    endSection();
}

void Writer::writeTables()
{
    section("TABLES");
    for (AcDbObjectId tableId : m_db.tableIds()) {
        auto* table = AcDbSymbolTable::cast(liveObject(tableId));
        if (!table || (r12() && AcDbBlockTable::cast(table))) continue;  // R12 has no block records
        writeObject(table, "TABLE");
        for (AcDbObjectId id : table->recordIds()) writeObject(liveObject(id));
        m_out.group(0, "ENDTAB");
    }
    endSection();
}

void Writer::writeBlocks()
{
    section("BLOCKS");
    if (auto* blocks = AcDbBlockTable::cast(liveObject(m_db.blockTableId()))) {
        const AcDbObjectId model = m_db.modelSpaceId(), paper = m_db.paperSpaceId();
        for (AcDbObjectId btrId : blocks->recordIds()) {
            auto* btr = AcDbBlockTableRecord::cast(liveObject(btrId));
            if (!btr) continue;
            if (r12() && btrId != paper && fendo::equalsNoCase(btr->name().substr(0, 12), L"*Paper_Space")) {
                // R12 has one paper space: the entities of other layouts are left out.
                if (const auto n = btr->entityIds().size()) m_leftOut["more than one layout"] += static_cast<int>(n);
                continue;
            }
            writeObject(liveObject(btr->blockBeginId()));
            // The entities of model space and the current paper space go to ENTITIES.
            if (btrId != model && btrId != paper)
                for (AcDbObjectId id : btr->entityIds()) writeEntity(id);
            writeObject(liveObject(btr->blockEndId()));
        }
    }
    endSection();
}

void Writer::writeEntities()
{
    section("ENTITIES");
    for (AcDbObjectId spaceId : {m_db.modelSpaceId(), m_db.paperSpaceId()})
        if (auto* btr = AcDbBlockTableRecord::cast(liveObject(spaceId)))
            for (AcDbObjectId id : btr->entityIds()) writeEntity(id);
    endSection();
}

void Writer::writeObjects()
{
    section("OBJECTS");
    std::unordered_set<const AcDbStub*> done;
    auto put = [&](AcDbObjectId id) {
        AcDbObject* obj = liveObject(id);
        if (!obj || done.count(id.stub()) || entityOf(obj) || AcDbSymbolTable::cast(obj) ||
            AcDbSymbolTableRecord::cast(obj))
            return;
        done.insert(id.stub());
        writeObject(obj);
    };
    put(m_db.namedObjectsDictionaryId());
    for (AcDbObjectId id : m_db.objectsSectionOrder()) put(id);
    // Objects made since the drawing was read, in the order they were made.
    forEachStubReadingAhead(m_db.stubs(), [&](const AcDbStub& stub) {
        if (stub.object && !stub.erased && !done.count(&stub)) put(AcDbObjectId(const_cast<AcDbStub*>(&stub)));
    });
    endSection();
}

std::string parentFolder(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A save writes "NAME.fendo-save-XXXXXX" beside NAME, holding a lock on it, and renames it
// over NAME. A save that was killed leaves that file behind; the next save of NAME removes
// those no running save holds.
constexpr const char* kTemporaryInfix = ".fendo-save-";

void removeStaleTemporaries(const std::string& target)
{
    const std::string folder = parentFolder(target);
    const size_t slash = target.rfind('/');
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + kTemporaryInfix;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace
}  // namespace fendo::dxf

namespace {
struct VersionName {
    fendo::dxf::DxfVersion version;
    const char* release;
    const char* acad;
};
constexpr VersionName kVersions[] = {
    {fendo::dxf::DxfVersion::R12, "R12", "AC1009"},
    {fendo::dxf::DxfVersion::R2000, "R2000", "AC1015"}, {fendo::dxf::DxfVersion::R2004, "R2004", "AC1018"},
    {fendo::dxf::DxfVersion::R2007, "R2007", "AC1021"}, {fendo::dxf::DxfVersion::R2010, "R2010", "AC1024"},
    {fendo::dxf::DxfVersion::R2013, "R2013", "AC1027"}, {fendo::dxf::DxfVersion::R2018, "R2018", "AC1032"},
};
}  // namespace

bool fendo::dxf::parseDxfVersion(std::string_view text, DxfVersion& version)
{
    for (const VersionName& v : kVersions) {
        if (fendo::equalsNoCase(fendo::fromUtf8(text), fendo::fromUtf8(v.release)) ||
            fendo::equalsNoCase(fendo::fromUtf8(text), fendo::fromUtf8(v.acad))) {
            version = v.version;
            return true;
        }
    }
    return false;
}

const char* fendo::dxf::acadVersionName(DxfVersion version)
{
    for (const VersionName& v : kVersions)
        if (v.version == version) return v.acad;
    return "AC1021";
}

const char* fendo::dxf::releaseName(DxfVersion version)
{
    for (const VersionName& v : kVersions)
        if (v.version == version) return v.release;
    return "R2007";
}

bool fendo::dxf::writeDxfStream(AcDbDatabase& db, std::FILE* file, const DxfWriteOptions& options)
{
    Writer writer(db, file, options);
    writer.prepare();
    writer.write();
    return !writer.failed();
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const std::wstring& path, std::string* errorMessage)
{
    const Acad::ErrorStatus es = fendo::dxf::writeDxfFile(*this, path, {}, errorMessage);
    if (es == Acad::eOk) setFilename(path);
    return es;
}

Acad::ErrorStatus fendo::dxf::writeDxfFile(AcDbDatabase& db, const std::wstring& path, const DxfWriteOptions& options,
                                           std::string* errorMessage)
{
    const std::string target = fendo::toUtf8(path);
    auto failure = [&](const std::string& why, Acad::ErrorStatus es) {
        if (errorMessage) *errorMessage = target + ": cannot save: " + why;
        return es;
    };
    if (target.empty()) return failure("no file name", Acad::eInvalidInput);
    // A symbolic link is kept: the file it leads to is the one written.
    std::string resolved = target;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat lst {};
        if (::lstat(resolved.c_str(), &lst) != 0 || !S_ISLNK(lst.st_mode)) break;
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(resolved.c_str(), link.data(), link.size());
        if (n <= 0) break;
        link.resize(static_cast<size_t>(n));
        resolved = link.front() == '/' ? link : fendo::dxf::parentFolder(resolved) + "/" + link;
    }
    struct stat st {};
    const bool exists = ::stat(resolved.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return failure("it is a folder", Acad::eFileAccessErr);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device, a pipe or a socket is written in place, never replaced by a file.
        const int fd = ::open(resolved.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return failure(std::string("it is not a plain file and cannot be written: ") + std::strerror(errno),
                           Acad::eFileAccessErr);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        std::FILE* file = ::fdopen(fd, "wb");
        if (!file) {
            ::close(fd);
            return failure(std::strerror(errno), Acad::eFileAccessErr);
        }
        bool ok = fendo::dxf::writeDxfStream(db, file, options);
        const int err = errno;
        if (std::fclose(file) != 0) ok = false;
        if (!ok) return failure(std::strerror(err ? err : EIO), Acad::eFileAccessErr);
        if (errorMessage) errorMessage->clear();
        return Acad::eOk;
    }
    fendo::dxf::removeStaleTemporaries(resolved);

    std::string temp = resolved + fendo::dxf::kTemporaryInfix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return failure("cannot create a file in " + fendo::dxf::parentFolder(resolved) + ": " + std::strerror(errno),
                       Acad::eFileAccessErr);
    ::flock(fd, LOCK_EX);  // ours while the save runs (see removeStaleTemporaries)
    // The new file keeps the old one's permissions (a new one gets the usual ones).
    if (exists) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(temp.c_str());
        return failure(std::strerror(errno), Acad::eFileAccessErr);
    }
    bool ok = true;
    int err = 0;
    if (!fendo::dxf::writeDxfStream(db, file, options)) {
        ok = false;
        err = errno;
    }
    if (ok && (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0)) {
        ok = false;
        err = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), resolved.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return failure(std::strerror(err ? err : EIO), Acad::eFileAccessErr);
    }
    if (errorMessage) errorMessage->clear();
    return Acad::eOk;
}
