// Loading a DXF file (ASCII or binary, R12 and R13..R2018) into an empty database. Each
// object is read by its own class through the DXF filer; records of types no class files
// are kept as unknown objects and entities. Any malformed input ends the load with one
// message naming the file, the line (byte offset in binary files) and what was expected.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <unordered_map>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/dxf/CodePage.h"
#include "host/dxf/DatabaseAccess.h"
#include "host/dxf/DefaultObjects.h"
#include "host/dxf/DxfChunks.h"
#include "host/dxf/DxfIo.h"
#include "host/dxf/DxfOutput.h"
#include "host/dxf/DxfProgress.h"
#include "host/dxf/DxfTagReader.h"

using fendo::db::RawTag;
using fendo::db::RawTags;
using fendo::db::TagView;

namespace fendo::dxf {
namespace {

double toDouble(std::string_view s)
{
    const std::string t(trimmed(s));
    return std::strtod(t.c_str(), nullptr);
}

long toLong(std::string_view s)
{
    // The usual flag or count: an integer alone (anything else as strtod reads it).
    const std::string_view digits = trimmed(s);
    long n = 0;
    if (auto r = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        r.ec == std::errc() && r.ptr == digits.data() + digits.size())
        return n;
    const std::string t(digits);
    return static_cast<long>(std::strtod(t.c_str(), nullptr));
}

// The file's bytes, mapped into memory (read whole where mapping is not possible).
class FileData {
public:
    ~FileData()
    {
        if (m_map) ::munmap(m_map, m_size);
        if (m_fd >= 0) ::close(m_fd);
    }
    bool open(const std::string& path, std::string& error)
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return fail(path, "cannot open", error);
        if (S_ISDIR(st.st_mode)) {
            error = path + ": cannot open: it is a folder";
            return false;
        }
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) return fail(path, "cannot open", error);
        m_size = static_cast<size_t>(st.st_size);
        if (m_size > 0 && S_ISREG(st.st_mode)) {
            void* p = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (p != MAP_FAILED) {
                m_map = p;
                m_fd = fd;  // the plain load reads the file in windows
                return true;
            }
        }
        m_size = 0;
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0) {
                ::close(fd);
                return fail(path, "cannot read", error);
            }
            if (n == 0) break;
            m_copy.append(buf, static_cast<size_t>(n));
        }
        ::close(fd);
        return true;
    }
    std::string_view view() const
    {
        return m_map ? std::string_view(static_cast<const char*>(m_map), m_size) : std::string_view(m_copy);
    }
    // The mapped file read from its start a window at a time; null for a file read whole.
    DxfByteSource* windows()
    {
        if (m_fd < 0) return nullptr;
        m_windows.emplace(m_fd, m_size);
        return &*m_windows;
    }

private:
    static bool fail(const std::string& path, const char* what, std::string& error)
    {
        error = path + ": " + what + ": " + std::strerror(errno);
        return false;
    }
    class Windows : public DxfByteSource {
    public:
        Windows(int fd, size_t size) : m_fd(fd), m_size(size) {}
        long read(char* to, std::size_t room) override
        {
            // No more than the size mapped: a file that grows meanwhile is read as it was.
            room = std::min(room, m_size - m_offset);
            if (room == 0) return 0;
            for (;;) {
                const ssize_t n = ::pread(m_fd, to, room, static_cast<off_t>(m_offset));
                if (n < 0 && errno == EINTR) continue;
                if (n > 0) m_offset += static_cast<size_t>(n);
                return static_cast<long>(n);
            }
        }

    private:
        int m_fd;
        size_t m_size, m_offset = 0;
    };
    void* m_map = nullptr;
    size_t m_size = 0;
    int m_fd = -1;
    std::string m_copy;
    std::optional<Windows> m_windows;
};

// The groups of a vertex record that a 3D polyline held without making its object, but for
// the handle (5), the position (10, 20, 30) and the flags (70): a record of the same
// polyline with the same groups otherwise is held the same way (see Loader::readHeldVertex).
class HeldVertexShape {
public:
    // Takes the shape of a vertex record of `owner`; none when its groups are not the plain
    // kind (one handle, one position of three groups in a row, one flags group).
    void take(std::span<const TagView> groups, AcDbObjectId owner)
    {
        m_owner = AcDbObjectId();
        m_codes.clear();
        m_ends.clear();
        m_text.clear();
        int counts[5] = {};  // of the groups 5, 10, 20, 30 and 70
        for (size_t i = 0; i < groups.size(); ++i) {
            const short code = groups[i].code;
            m_codes.push_back(code);
            if (const int v = variable(code); v >= 0) {
                ++counts[v];
                if (code == 10) m_point = i;
                if (code == 70) m_flags = i;
            } else {
                m_text.append(groups[i].value);
            }
            m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
        }
        const bool plain = counts[0] == 1 && counts[1] == 1 && counts[2] == 1 && counts[3] == 1 && counts[4] == 1 &&
                           m_point + 2 < groups.size() && groups[m_point + 1].code == 20 &&
                           groups[m_point + 2].code == 30;
        if (plain) m_owner = owner;
    }
    void forget() { m_owner = AcDbObjectId(); }
    bool matches(std::span<const TagView> groups, AcDbObjectId owner) const
    {
        if (m_owner.isNull() || owner != m_owner || groups.size() != m_codes.size()) return false;
        std::uint32_t begin = 0;
        for (size_t i = 0; i < groups.size(); ++i) {
            if (groups[i].code != m_codes[i]) return false;
            const std::uint32_t end = m_ends[i];
            if (variable(m_codes[i]) < 0 && groups[i].value != std::string_view(m_text).substr(begin, end - begin))
                return false;
            begin = end;
        }
        return true;
    }
    // Where the position's x group and the flags stand in a matching record.
    size_t pointAt() const { return m_point; }
    size_t flagsAt() const { return m_flags; }

private:
    // The place of a code among those a held vertex has of its own; -1 for the others.
    static int variable(short code)
    {
        switch (code) {
        case 5: return 0;
        case 10: return 1;
        case 20: return 2;
        case 30: return 3;
        case 70: return 4;
        default: return -1;
        }
    }
    AcDbObjectId m_owner;
    std::vector<short> m_codes;
    std::vector<std::uint32_t> m_ends;  // of each group's value in m_text (variable ones: none)
    std::string m_text;
    size_t m_point = 0, m_flags = 0;
};

// The symbol table classes by DXF table name.
AcDbSymbolTable* newTable(std::string_view name)
{
    if (name == "VPORT") return new AcDbViewportTable;
    if (name == "LTYPE") return new AcDbLinetypeTable;
    if (name == "LAYER") return new AcDbLayerTable;
    if (name == "STYLE") return new AcDbTextStyleTable;
    if (name == "VIEW") return new AcDbViewTable;
    if (name == "UCS") return new AcDbUCSTable;
    if (name == "APPID") return new AcDbRegAppTable;
    if (name == "DIMSTYLE") return new AcDbDimStyleTable;
    if (name == "BLOCK_RECORD") return new AcDbBlockTable;
    return nullptr;
}

class Loader {
public:
    // source: the same bytes as data, read a window at a time by the plain path (ASCII).
    Loader(AcDbDatabase& db, std::string path, std::string_view data, DxfByteSource* source, std::size_t windowBytes)
        : m_db(db), m_path(std::move(path)), m_data(data),
          m_tags(source && !data.starts_with(DxfTagReader::kBinarySentinel) ? DxfTagReader(*source, windowBytes)
                                                                             : DxfTagReader(data)),
          m_filer(&db),
          m_progress(L"Loading", data.size(), data.size() > kProgressBytes)
    {
    }

    ~Loader() { m_db.setBeforeFirstNewHandle(nullptr); }  // the hook reads this loader's file
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;

    bool run();
    const std::string& error() const { return m_error; }

private:
    bool fail(const std::string& message)
    {
        if (m_error.empty()) m_error = m_path + ": " + message;
        return false;
    }
    bool failAt(int line, const std::string& message) { return fail(m_tags.where(line) + ": " + message); }
    // The next group, decoded; at the end of the data a failure saying what was expected.
    bool next(const char* expected);
    bool nextFromParts(const char* expected);
    // The next call to next() returns the same group again.
    void pushBack();
    bool isZero(std::string_view value) const { return m_tag.code == 0 && trimmed(m_tag.value) == value; }
    // Groups after the current "0 TYPE" up to the next group 0, split at the extended data.
    bool readRecord();
    void prescanHeader();
    // Starts reading the file's groups on several threads (big ASCII files).
    bool startParts();
    void raiseHandseed(const AcDbHandle& fromFile);

    bool readHeader();
    void headerVariable(const std::string& name, RawTags& values);
    bool readClasses();
    bool readTables();
    bool readTable();
    bool readBlocks();
    bool readEntities(AcDbObjectId fixedOwner, const char* terminator);
    bool readObjects();
    bool keepSection(const std::string& name);

    // Reads the record just collected into obj (taking ownership), adds it to the
    // database under its handle and closes it.
    bool loadObject(AcDbObject* obj, AcDbObjectId owner, bool setOwner, AcDbObjectId& id);
    AcDbHandle recordHandle(bool dimStyle) const;
    // Holds the vertex record just collected in `owner` without making its object, when it
    // differs from the last vertex the polyline held only in handle, position and flags.
    bool readHeldVertex(AcDb3dPolyline* owner, AcDbObjectId ownerId);
    void tickProgress() { m_progress.tick(m_parts ? m_partOffset : m_tags.offset()); }
    std::string recordValue(int code) const;
    AcDbObjectId recordOwnerBlock();
    AcDbEntity* newEntity(const std::string& type);
    AcDbObjectId blockNamed(std::wstring name, bool create);
    void ensureLayoutBlocks();
    void ensureTables();
    void complete();
    void relinkLayouts();

    AcDbDatabase& m_db;
    std::string m_path;
    std::string_view m_data;  // the whole file
    DxfTagReader m_tags;
    bool m_inRecord = false;  // the groups of a record are being read: their windows stay
    TextDecoder m_decoder;
    AcDbDxfFiler m_filer;
    DxfTag m_tag;
    std::string m_error;
    std::string m_version;
    bool m_preR13 = false;
    TextStore m_texts;  // decoded texts of the record being read
    std::vector<TagView> m_groups;
    std::vector<int> m_lines;
    RawTags m_xdata;
    int m_recordLine = 0;
    std::wstring m_clayer, m_textstyle, m_celtype;
    bool m_sawObjects = false;
    std::uint64_t m_handleFloor = 1;
    HandleScan m_handles;  // the handles of the groups read so far (plain path)
    DxfProgress m_progress;  // by the bytes read
    std::size_t m_headerEnd = 0;  // where the HEADER section ends (the prescan stops there)
    std::string m_codePage;
    // Big files: groups read ahead by the part reader; the position in its parts.
    std::unique_ptr<DxfPartReader> m_parts;
    std::size_t m_partIndex = 0, m_tagIndex = 0, m_lastPart = 0, m_lastTagIndex = 0;
    std::size_t m_partOffset = 0;
    // The class of each entity type name met (null: none), looked up once per load.
    std::unordered_map<std::string, AcRxClass*> m_classByType;
    const DxfPart* m_part = nullptr;  // part m_partShown, while the part reader keeps it
    std::size_t m_partShown = 0;
    HeldVertexShape m_heldVertex;
    struct {
        std::string text;  // of the last owner group read (330), and the block it names
        AcDbObjectId block;
    } m_lastOwner;
};

bool Loader::next(const char* expected)
{
    if (m_parts) return nextFromParts(expected);
    // Outside a record no group read before the current one is looked at again.
    if (!m_inRecord) m_tags.dropEarlierWindows();
    for (;;) {
        if (!m_tags.next(m_tag)) {
            if (!m_tags.error().empty()) return fail(m_tags.error());
            return failAt(m_tags.position(), std::string("expected ") + expected + ", found the end of the file");
        }
        m_handles.see(m_tag);
        if (m_tag.code == 999) continue;  // comments
        m_tag.value = loaderText(m_tag, m_decoder, m_tags.isBinary(), m_tags.window(), m_texts);
        return true;
    }
}

// The groups the part reader's threads read ahead (already decoded, comments left out).
bool Loader::nextFromParts(const char* expected)
{
    m_lastPart = m_partIndex;
    m_lastTagIndex = m_tagIndex;
    for (;;) {
        if (!m_part || m_partIndex != m_partShown) {
            m_part = &m_parts->part(m_partIndex);
            m_partShown = m_partIndex;
        }
        const DxfPart& part = *m_part;
        if (m_tagIndex < part.tags.size()) {
            m_tag = part.tags[m_tagIndex++];
            m_partOffset = part.begin;
            return true;
        }
        if (!part.error.empty()) return fail(part.error);
        if (m_partIndex + 1 >= m_parts->partCount())
            return failAt(part.endPosition, std::string("expected ") + expected + ", found the end of the file");
        ++m_partIndex;
        m_tagIndex = 0;
    }
}

void Loader::pushBack()
{
    if (!m_parts) return m_tags.pushBack();
    m_partIndex = m_lastPart;
    m_tagIndex = m_lastTagIndex;
}

bool Loader::readRecord()
{
    m_groups.clear();
    m_lines.clear();
    m_xdata.clear();
    m_texts.clear();
    m_recordLine = 0;
    m_tags.dropEarlierWindows();
    m_inRecord = true;
    for (;;) {
        if (!next("the record's groups or the next group 0")) {
            m_inRecord = false;
            return false;
        }
        if (m_tag.code == 0) {
            pushBack();
            m_inRecord = false;
            return true;
        }
        if (m_tag.code == 1001 || !m_xdata.empty()) {
            m_xdata.push_back(RawTag{static_cast<short>(m_tag.code), std::string(m_tag.value)});
            continue;
        }
        if (m_groups.empty()) m_recordLine = m_tag.line;
        m_groups.push_back(TagView{static_cast<short>(m_tag.code), m_tag.value});
        if (m_tags.isBinary()) m_lines.push_back(m_tag.line);  // ASCII groups are two lines apart
    }
}

std::string Loader::recordValue(int code) const
{
    for (const TagView& t : m_groups)
        if (t.code == code) return std::string(trimmed(t.value));
    return {};
}

AcDbHandle Loader::recordHandle(bool dimStyle) const
{
    const int code = dimStyle ? 105 : 5;
    for (const TagView& t : m_groups) {
        if (t.code == 100) break;
        if (t.code != code) continue;
        // Usually the group the handle scan has just read.
        if (!m_parts && t.value.data() == m_handles.lastText && t.value.size() == m_handles.lastSize)
            return AcDbHandle(m_handles.lastValue);
        return AcDbHandle::fromHex(t.value);
    }
    return {};
}

// The block an entity of the ENTITIES section names as its owner (330 outside the 102 groups).
AcDbObjectId Loader::recordOwnerBlock()
{
    bool inGroup = false;
    for (const TagView& t : m_groups) {
        if (t.code == 100) break;
        if (t.code == 102) inGroup = !trimmed(t.value).starts_with("}");
        if (t.code == 330 && !inGroup) {
            // Most entities name the block the one before named (a name that was no block
            // yet is looked up again: the block may come later in the file).
            if (!m_lastOwner.block.isNull() && t.value == m_lastOwner.text) return m_lastOwner.block;
            const AcDbObjectId id = m_db.idFromHandle(AcDbHandle::fromHex(t.value), false);
            if (!fendo::db::peekObject<AcDbBlockTableRecord>(id)) break;
            m_lastOwner.text.assign(t.value);
            m_lastOwner.block = id;
            return id;
        }
    }
    return {};
}

bool Loader::readHeldVertex(AcDb3dPolyline* owner, AcDbObjectId ownerId)
{
    if (!m_xdata.empty() || !m_heldVertex.matches(m_groups, ownerId)) return false;
    const size_t at = m_heldVertex.pointAt();
    fendo::db::HeldVertex3d vertex;
    double xyz[3];
    for (int axis = 0; axis < 3; ++axis)
        if (!fendo::db::readDxfReal(m_groups[at + axis].value, xyz[axis])) return false;
    vertex.position.set(xyz[0], xyz[1], xyz[2]);
    long long flags = 0;
    if (!fendo::db::readDxfInteger(m_groups[m_heldVertex.flagsAt()].value, flags)) return false;
    // As the filer reads a 16-bit group.
    vertex.type = AcDb3dPolylineVertex::typeFromFlags(static_cast<std::int16_t>(flags));
    const AcDbHandle handle = recordHandle(false);
    if (handle.isNull() || !owner->appendLoadedHeldVertex(handle, vertex)) return false;
    tickProgress();
    m_groups.clear();
    return true;
}

bool Loader::loadObject(AcDbObject* obj, AcDbObjectId owner, bool setOwner, AcDbObjectId& id)
{
    tickProgress();
    bool markers = false;
    for (const TagView& t : m_groups)
        if (t.code == 100) {
            markers = true;
            break;
        }
    const AcDbHandle handle = recordHandle(obj->isA() == AcDbDimStyleTableRecord::desc());
    if (!m_xdata.empty()) obj->setRawXData(std::move(m_xdata));
    m_xdata.clear();
    m_filer.setObjectBeingRead(obj);
    m_filer.setInput(std::span<const TagView>(m_groups), markers, m_tags.isBinary() ? 0 : m_recordLine);
    if (m_tags.isBinary()) m_filer.setInputLines(m_lines);
    Acad::ErrorStatus es = obj->dxfInFields(&m_filer);
    if (es == Acad::eOk) es = m_filer.filerStatus();
    m_filer.finishReading();
    m_filer.setObjectBeingRead(nullptr);
    m_filer.clearInput();
    m_groups.clear();
    if (es != Acad::eOk) {
        const std::unique_ptr<AcDbObject> failed(obj);
        if (!m_filer.errorMessage().empty()) return fail(m_filer.errorMessage());
        return failAt(m_recordLine, fendo::toUtf8(obj->dxfTypeName()) + ": the record cannot be read (" +
                                        Acad::errorStatusText(es) + ")");
    }
    if (setOwner) obj->setOwnerId(owner);
    // A handle used twice, or none (R12), gets a new one.
    if (handle.isNull() || m_db.addAcDbObjectWithHandle(id, obj, handle) != Acad::eOk) {
        if (m_db.addAcDbObject(id, obj) != Acad::eOk) {
            const std::unique_ptr<AcDbObject> failed(obj);
            return failAt(m_recordLine, fendo::toUtf8(obj->dxfTypeName()) + ": cannot be added to the drawing");
        }
    }
    obj->close();
    return true;
}

void Loader::prescanHeader()
{
    DxfTagReader pre(m_data);
    DxfTag t;
    std::string variable, codePage;
    for (int n = 0; n < 4000 && pre.next(t); ++n) {
        if (t.code == 0 && trimmed(t.value) == "ENDSEC") {
            m_headerEnd = pre.offset();
            break;
        }
        if (t.code == 9) {
            variable = std::string(trimmed(t.value));
        } else if (variable == "$ACADVER" && t.code == 1) {
            m_version = std::string(trimmed(t.value));
        } else if (variable == "$DWGCODEPAGE" && t.code == 3) {
            codePage = std::string(trimmed(t.value));
        }
    }
    // Without a version the text is taken as UTF-8 (read as ANSI_1252 where it is not).
    m_decoder.setUtf8(m_version.empty() || m_version >= "AC1021");
    m_decoder.setCodePage(codePage);
    m_codePage = codePage;
    m_preR13 = !m_version.empty() && m_version < "AC1012";
    if (startParts()) return;

    // Objects the loader makes (records a file lacks, layouts, R12 records without handles)
    // must not take a handle that a later record of the file holds, and some writers give a
    // $HANDSEED below their handles or none: the seed goes above every handle in the file.
    // The groups read so far are seen as they come; the rest of the file is read for its
    // handles only when the first such object is made (most files need no such object
    // before their end, where every handle has been seen).
    m_db.setBeforeFirstNewHandle([this] {
        HandleScan rest = m_handles;
        DxfTagReader ahead(m_data);
        ahead.seek(m_tags.offset());
        DxfTag t;
        while (ahead.next(t)) rest.see(t);
        m_handleFloor = rest.highest + 1;
        raiseHandseed(AcDbHandle());
    });
}

bool Loader::startParts()
{
    if (m_tags.isBinary()) return false;
    auto parts = std::make_unique<DxfPartReader>();
    std::uint64_t highest = 0;
    if (!parts->prepare(m_data, m_tags.offset(), m_headerEnd, TextSettings{m_decoder.isUtf8(), m_codePage}, highest))
        return false;
    m_handleFloor = highest + 1;
    raiseHandseed(AcDbHandle());
    m_parts = std::move(parts);
    m_parts->start();
    return true;
}

void Loader::raiseHandseed(const AcDbHandle& fromFile)
{
    m_db.setHandseed(AcDbHandle(std::max({fromFile.value(), m_handleFloor, m_db.handseed().value()})));
}

bool Loader::run()
{
    registerDxfClasses();
    prescanHeader();
    for (;;) {
        if (!next("0 SECTION or 0 EOF")) return false;
        if (isZero("EOF")) break;
        if (!isZero("SECTION"))
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 SECTION or 0 EOF, found '" +
                                          std::string(m_tag.value.substr(0, 40)) + "'");
        if (!next("2 and the section name")) return false;
        if (m_tag.code != 2)
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 2 and the section name");
        const std::string name(trimmed(m_tag.value));
        bool ok = true;
        if (name == "HEADER") {
            ok = readHeader();
        } else if (name == "CLASSES") {
            ok = readClasses();
        } else if (name == "TABLES") {
            ok = readTables();
        } else if (name == "BLOCKS") {
            ensureTables();
            ensureLayoutBlocks();
            ok = readBlocks();
        } else if (name == "ENTITIES") {
            ensureTables();
            ensureLayoutBlocks();
            ok = readEntities(AcDbObjectId(), "ENDSEC");
        } else if (name == "OBJECTS") {
            ok = readObjects();
        } else {
            ok = keepSection(name);
        }
        if (!ok) return false;
    }
    complete();
    // Every group has been read: the seed goes above every handle the file holds.
    if (!m_parts) {
        m_db.setBeforeFirstNewHandle(nullptr);
        m_handleFloor = std::max(m_handleFloor, m_handles.highest + 1);
        raiseHandseed(AcDbHandle());
    }
    return true;
}

// ---------------------------------------------------------------------------- HEADER, CLASSES

bool Loader::readHeader()
{
    std::string name;
    RawTags values;
    for (;;) {
        if (!next("a header variable or 0 ENDSEC")) return false;
        if (m_tag.code == 0) {
            if (!isZero("ENDSEC"))
                return failAt(m_tag.line, "group code 0: expected 0 ENDSEC, found '" + std::string(m_tag.value.substr(0, 40)) + "'");
            if (!name.empty()) headerVariable(name, values);
            return true;
        }
        if (m_tag.code == 9) {
            if (!name.empty()) headerVariable(name, values);
            name = std::string(trimmed(m_tag.value));
            values.clear();
            continue;
        }
        if (name.empty())
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 9 and a variable name");
        values.push_back(RawTag{static_cast<short>(m_tag.code), std::string(m_tag.value)});
    }
}

void Loader::headerVariable(const std::string& name, RawTags& values)
{
    auto value = [&](int code) -> std::string {
        for (const RawTag& t : values)
            if (t.code == code) return t.value;
        return {};
    };
    auto point = [&](int code) {
        return AcGePoint3d(toDouble(value(code)), toDouble(value(code + 10)), toDouble(value(code + 20)));
    };
    if (name == "$ACADVER" || name == "$DWGCODEPAGE") return;  // written anew on save
    if (name == "$HANDSEED") {
        raiseHandseed(AcDbHandle::fromHex(value(5)));
    } else if (name == "$CLAYER") {
        m_clayer = fendo::fromUtf8(value(8));
    } else if (name == "$TEXTSTYLE") {
        m_textstyle = fendo::fromUtf8(value(7));
    } else if (name == "$CELTYPE") {
        m_celtype = fendo::fromUtf8(value(6));
    } else if (name == "$CECOLOR") {
        AcCmColor c;
        c.setColorIndex(static_cast<Adesk::UInt16>(toLong(value(62))));
        m_db.setCecolor(c);
    } else if (name == "$TILEMODE") {
        m_db.setTilemode(toLong(value(70)) != 0);
    } else if (name == "$LUPREC") {
        m_db.setLuprec(static_cast<int>(toLong(value(70))));
    } else if (name == "$PDMODE") {
        m_db.setPdmode(static_cast<int>(toLong(value(70))));
    } else if (name == "$PDSIZE") {
        m_db.setPdsize(toDouble(value(40)));
    } else if (name == "$TEXTSIZE") {
        m_db.setTextsize(toDouble(value(40)));
    } else if (name == "$LTSCALE") {
        fendo_db_DatabaseAccess::setLtscale(m_db, toDouble(value(40)));
    } else if (name == "$UCSORG") {
        m_db.setUcs(point(10), m_db.ucsxdir(), m_db.ucsydir());
    } else if (name == "$UCSXDIR") {
        m_db.setUcs(m_db.ucsorg(), point(10).asVector(), m_db.ucsydir());
    } else if (name == "$UCSYDIR") {
        m_db.setUcs(m_db.ucsorg(), m_db.ucsxdir(), point(10).asVector());
    } else if (name == "$PUCSORG") {
        m_db.setPucs(point(10), m_db.pucsxdir(), m_db.pucsydir());
    } else if (name == "$PUCSXDIR") {
        m_db.setPucs(m_db.pucsorg(), point(10).asVector(), m_db.pucsydir());
    } else if (name == "$PUCSYDIR") {
        m_db.setPucs(m_db.pucsorg(), m_db.pucsxdir(), point(10).asVector());
    } else if (name == "$EXTMIN") {
        fendo_db_DatabaseAccess::setExtents(m_db, point(10), m_db.extmax());
    } else if (name == "$EXTMAX") {
        fendo_db_DatabaseAccess::setExtents(m_db, m_db.extmin(), point(10));
    } else {
        m_db.otherHeaderVariables().push_back({name, std::move(values)});
        values = RawTags();
    }
}

bool Loader::readClasses()
{
    for (;;) {
        if (!next("0 CLASS or 0 ENDSEC")) return false;
        if (isZero("ENDSEC")) return true;
        if (!isZero("CLASS"))
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 CLASS or 0 ENDSEC");
        if (!readRecord()) return false;
        fendo::db::DxfClassRecord rec;
        rec.dxfName = fendo::fromUtf8(recordValue(1));
        rec.className = fendo::fromUtf8(recordValue(2));
        rec.appName = fendo::fromUtf8(recordValue(3));
        rec.proxyFlags = static_cast<int>(toLong(recordValue(90)));
        rec.instanceCount = static_cast<int>(toLong(recordValue(91)));
        rec.wasProxy = toLong(recordValue(280)) != 0;
        rec.isEntity = toLong(recordValue(281)) != 0;
        m_db.dxfClasses().push_back(std::move(rec));
    }
}

// ---------------------------------------------------------------------------- TABLES

bool Loader::readTables()
{
    for (;;) {
        if (!next("0 TABLE or 0 ENDSEC")) return false;
        if (isZero("ENDSEC")) return true;
        if (!isZero("TABLE"))
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 TABLE or 0 ENDSEC, found '" +
                                          std::string(m_tag.value.substr(0, 40)) + "'");
        if (!readTable()) return false;
    }
}

bool Loader::readTable()
{
    const int tableLine = m_tag.line;
    if (!readRecord()) return false;
    const std::string name = recordValue(2);
    AcDbSymbolTable* table = newTable(name);
    AcDbObjectId tableId;
    if (table) {
        // A second table of the same kind adds its records to the first.
        const std::wstring wname = fendo::fromUtf8(name);
        AcDbObjectId existing;
        for (AcDbObjectId id : m_db.tableIds()) {
            auto* t = fendo::db::peekObject<AcDbSymbolTable>(id);
            if (t && wname == t->tableName()) existing = id;
        }
        if (!existing.isNull()) {
            delete table;
            tableId = existing;
        } else {
            if (!loadObject(table, AcDbObjectId(), false, tableId)) return false;
            m_db.setTableId(wname, tableId);
        }
    } else if (name.empty()) {
        return failAt(tableLine, "group code 0: expected 2 and the table name after 0 TABLE");
    }
    for (;;) {
        if (!next("a table record or 0 ENDTAB")) return false;
        if (m_tag.code != 0)
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 and a record type");
        if (isZero("ENDTAB")) return readRecord();
        if (isZero("ENDSEC") || isZero("EOF"))
            return failAt(m_tag.line, "group code 0: expected 0 ENDTAB, found '" + std::string(m_tag.value) + "'");
        const std::wstring type = fendo::fromUtf8(trimmed(m_tag.value));
        const int typeLine = m_tag.line;
        if (!readRecord()) return false;
        AcRxClass* cls = acrxFindClassByDxfName(type);
        AcRxObject* made = cls ? cls->create() : nullptr;
        auto* rec = AcDbSymbolTableRecord::cast(made);
        if (!rec || tableId.isNull()) {
            // A record of a table the host does not know, or no table record at all (an
            // entity type in a table): nothing can hold it.
            delete made;
            continue;
        }
        AcDbObjectId id;
        if (!loadObject(rec, tableId, true, id)) return false;
        // A record without a name (its name in a section no class reads) could be neither
        // found nor written back.
        if (rec->name().empty())
            return failAt(typeLine, "group code 2: expected the name of the " + fendo::toUtf8(type) + " record");
        if (auto* t = fendo::db::peekObject<AcDbSymbolTable>(tableId)) t->appendLoadedRecord(id, rec->name());
    }
}

// ---------------------------------------------------------------------------- blocks, entities

AcDbObjectId Loader::blockNamed(std::wstring name, bool create)
{
    if (m_preR13) {
        if (fendo::equalsNoCase(name, L"$MODEL_SPACE")) name = ACDB_MODEL_SPACE;
        if (fendo::equalsNoCase(name, L"$PAPER_SPACE")) name = ACDB_PAPER_SPACE;
    }
    if (m_db.blockTableId().isNull()) {
        AcDbObjectId id;
        auto* table = new AcDbBlockTable;
        if (m_db.addAcDbObject(id, table) != Acad::eOk) {
            delete table;
            return {};
        }
        table->close();
        m_db.setTableId(L"BLOCK_RECORD", id);
    }
    AcDbObjectId id = m_filer.symbolId(m_db.blockTableId(), name, false);
    if (!id.isNull() || !create) return id;
    AcDbBlockTable* table = nullptr;
    if (acdbOpenObject(table, m_db.blockTableId(), AcDb::kForWrite) != Acad::eOk) return {};
    auto* btr = new AcDbBlockTableRecord;
    if (btr->setNameFromFile(name) != Acad::eOk || table->addNamedByFile(id, btr) != Acad::eOk) {
        delete btr;
        table->close();
        return {};
    }
    btr->close();
    table->close();
    return id;
}

void Loader::ensureLayoutBlocks()
{
    blockNamed(ACDB_MODEL_SPACE, true);
    blockNamed(ACDB_PAPER_SPACE, true);
}

AcDbEntity* Loader::newEntity(const std::string& typeName)
{
    const std::string_view type = typeName;
    AcRxClass* cls = nullptr;
    if (type == "POLYLINE") {
        // Bit 8: 3D polyline; 16 and 64 (meshes) are not modelled.
        const long flags = toLong(recordValue(70));
        if ((flags & (16 | 64)) == 0) cls = (flags & 8) ? AcDb3dPolyline::desc() : AcDb2dPolyline::desc();
    } else if (type == "DIMENSION") {
        // The kind is in the low bits of 70: rotated (0) and aligned (1) are modelled; the
        // others (angular, radial, diametric, ordinate) are kept as read.
        const long kind = toLong(recordValue(70)) & 7;
        cls = kind == 0 ? AcDbRotatedDimension::desc() : kind == 1 ? AcDbAlignedDimension::desc() : nullptr;
    } else if (type != "VERTEX" && type != "SEQEND" && type != "ATTRIB") {
        auto [it, added] = m_classByType.try_emplace(typeName, nullptr);
        if (added) it->second = acrxFindClassByDxfName(fendo::fromUtf8(type));
        cls = it->second;
    }
    AcRxObject* made = cls ? cls->create() : nullptr;
    if (auto* ent = entityOf(made)) return ent;
    delete made;
    return new AcDbUnknownEntity(fendo::fromUtf8(typeName));
}

bool Loader::readBlocks()
{
    for (;;) {
        if (!next("0 BLOCK or 0 ENDSEC")) return false;
        if (isZero("ENDSEC")) return true;
        if (!isZero("BLOCK"))
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 BLOCK or 0 ENDSEC, found '" +
                                          std::string(m_tag.value.substr(0, 40)) + "'");
        const int blockLine = m_tag.line;
        if (!readRecord()) return false;
        const std::string name = recordValue(2);
        if (name.empty()) return failAt(blockLine, "group code 2: expected the block name after 0 BLOCK");
        const AcDbObjectId btrId = blockNamed(fendo::fromUtf8(name), true);
        if (btrId.isNull()) return failAt(blockLine, "group code 2: the block name '" + name + "' cannot be used");
        auto* begin = new AcDbBlockBegin;
        AcDbObjectId beginId;
        if (!loadObject(begin, btrId, true, beginId)) return false;
        if (auto* btr = fendo::db::peekObject<AcDbBlockTableRecord>(btrId)) {
            btr->setBlockBeginId(beginId);
            btr->setOrigin(begin->basePoint());
            btr->setBlockFlags(begin->flags());
            btr->setPathName(begin->pathName());
            btr->setComments(begin->description());
        }
        if (!readEntities(btrId, "ENDBLK")) return false;
        if (!readRecord()) return false;
        auto* end = new AcDbBlockEnd;
        AcDbObjectId endId;
        if (!loadObject(end, btrId, true, endId)) return false;
        if (auto* btr = fendo::db::peekObject<AcDbBlockTableRecord>(btrId)) btr->setBlockEndId(endId);
    }
}

bool Loader::readEntities(AcDbObjectId fixedOwner, const char* terminator)
{
    std::unique_ptr<SubentityAccess> owner;  // the entity whose VERTEX/ATTRIB run may follow
    AcDbObjectId ownerId;
    AcDb3dPolyline* owner3d = nullptr;  // the owner, when a 3D polyline
    AcDbObjectId keptOwner, keptBlock;  // a polyline kept as read, whose VERTEX run may follow
    const std::string expected = std::string("an entity or 0 ") + terminator;
    static const std::wstring kVertex = L"VERTEX", kAttrib = L"ATTRIB";
    std::string type;
    for (;;) {
        if (!next(expected.c_str())) return false;
        if (m_tag.code != 0)
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 and an entity type");
        const std::string_view name = trimmed(m_tag.value);
        if (name == terminator) return true;
        if (name == "ENDSEC" || name == "EOF" || name == "SECTION" || name == "BLOCK" || name == "ENDBLK")
            return failAt(m_tag.line, "group code 0: expected 0 " + std::string(terminator) + ", found '" + std::string(m_tag.value) + "'");
        type.assign(name);
        if (!readRecord()) return false;

        const std::string_view kind = type;
        const bool vertex = kind == "VERTEX", seqend = kind == "SEQEND";
        const bool sub = vertex || kind == "ATTRIB";
        if (owner && (sub || seqend)) {
            // Most vertices of a 3D polyline have nothing but their handle, position and
            // flags of their own: the polyline holds them as data, without their objects.
            if (vertex && owner3d && readHeldVertex(owner3d, ownerId)) continue;
            if (vertex && owner3d) m_heldVertex.take(m_groups, ownerId);
            AcDbEntity* ent = nullptr;
            if (sub) {
                ent = owner->newSubentity(vertex ? kVertex : kAttrib);
            } else if (AcRxClass* cls = acrxFindClassByDxfName(L"SEQEND")) {
                ent = AcDbEntity::cast(cls->create());
            }
            if (!ent) ent = new AcDbUnknownEntity(fendo::fromUtf8(type));
            AcDbObjectId id;
            if (!loadObject(ent, ownerId, true, id)) return false;
            if (sub)
                owner->append(id);
            else
                owner->setSeqend(id);
            if (vertex && owner3d && !owner3d->lastVertexHeldByHandle()) m_heldVertex.forget();
            if (!sub) {
                owner.reset();
                owner3d = nullptr;
            }
            continue;
        }
        owner.reset();
        owner3d = nullptr;
        AcDbObjectId blockId = fixedOwner;
        // The vertices of a polyline kept as read (a polyface mesh) stay in the block's
        // sequence after it, owned by the polyline.
        const bool keptRun = !keptOwner.isNull() && (sub || seqend);
        if (keptRun) blockId = keptBlock;
        if (blockId.isNull()) {
            blockId = recordOwnerBlock();
            if (blockId.isNull()) blockId = toLong(recordValue(67)) != 0 ? m_db.paperSpaceId() : m_db.modelSpaceId();
        }
        AcDbEntity* ent = newEntity(type);
        AcDbObjectId id;
        if (!loadObject(ent, keptRun ? keptOwner : blockId, true, id)) return false;
        if (!keptRun || seqend) keptOwner = AcDbObjectId();
        if (AcDbUnknownEntity::cast(ent) && kind == "POLYLINE") {
            keptOwner = id;
            keptBlock = blockId;
        }
        if (auto* btr = fendo::db::peekObject<AcDbBlockTableRecord>(blockId)) btr->appendLoadedEntity(id);
        if (mayOwnSubentities(ent->isA())) {
            owner = subentityAccess(ent);
            ownerId = id;
            owner3d = AcDb3dPolyline::cast(ent);
        }
    }
}

// ---------------------------------------------------------------------------- OBJECTS, others

bool Loader::readObjects()
{
    m_sawObjects = true;
    for (;;) {
        if (!next("an object or 0 ENDSEC")) return false;
        if (m_tag.code != 0)
            return failAt(m_tag.line, "group code " + std::to_string(m_tag.code) + ": expected 0 and an object type");
        if (isZero("ENDSEC")) return true;
        if (isZero("EOF") || isZero("SECTION"))
            return failAt(m_tag.line, "group code 0: expected 0 ENDSEC, found '" + std::string(m_tag.value) + "'");
        const std::wstring type = fendo::fromUtf8(trimmed(m_tag.value));
        if (!readRecord()) return false;
        AcRxClass* cls = acrxFindClassByDxfName(type);
        AcRxObject* made = cls ? cls->create() : nullptr;
        AcDbObject* obj = AcDbObject::cast(made);
        if (!obj || AcDbEntity::cast(obj) || AcDbSymbolTableRecord::cast(obj)) {
            delete made;
            obj = new AcDbUnknownObject(type);
        }
        AcDbObjectId id;
        if (!loadObject(obj, AcDbObjectId(), false, id)) return false;
        // The first dictionary is the named object dictionary.
        if (m_db.namedObjectsDictionaryId().isNull() && type == L"DICTIONARY") m_db.setNamedObjectsDictionaryId(id);
        m_db.objectsSectionOrder().push_back(id);
    }
}

bool Loader::keepSection(const std::string& name)
{
    RawTags tags;
    for (;;) {
        if (!next("0 ENDSEC")) return false;
        if (isZero("ENDSEC")) break;
        if (isZero("EOF") || isZero("SECTION"))
            return failAt(m_tag.line, "group code 0: expected 0 ENDSEC, found '" + std::string(m_tag.value) + "'");
        tags.push_back(RawTag{static_cast<short>(m_tag.code), std::string(m_tag.value)});
    }
    m_db.otherSections().emplace_back(name, std::move(tags));
    return true;
}

// ---------------------------------------------------------------------------- completing

template <typename Record>
AcDbObjectId ensureRecord(AcDbObjectId tableId, const ACHAR* name, Record* (*make)())
{
    AcDbSymbolTable* table = nullptr;
    AcDbObjectId id;
    if (acdbOpenObject(table, tableId, AcDb::kForRead) != Acad::eOk) return id;
    if (table->getAt(name, id) == Acad::eOk) {
        table->close();
        return id;
    }
    table->upgradeOpen();
    Record* rec = make();
    rec->setName(name);
    if (table->add(id, rec) == Acad::eOk)
        rec->close();
    else
        delete rec;
    table->close();
    return id;
}

template <typename Table>
void ensureTable(AcDbDatabase& db, AcDbObjectId id, const ACHAR* name)
{
    if (!id.isNull()) return;
    auto* table = new Table;
    AcDbObjectId newId;
    if (db.addAcDbObject(newId, table) != Acad::eOk) {
        delete table;
        return;
    }
    table->close();
    db.setTableId(name, newId);
}

// Whatever a drawing file may lack (R12 files have no block records, objects or handles;
// some writers leave out whole tables) is added so that the drawing saves complete.
// Files without a TABLES section still name layers, linetypes and styles in their
// entities: the tables must exist before entities are read so those names are kept.
void Loader::ensureTables()
{
    ensureTable<AcDbViewportTable>(m_db, m_db.viewportTableId(), L"VPORT");
    ensureTable<AcDbLinetypeTable>(m_db, m_db.linetypeTableId(), L"LTYPE");
    ensureTable<AcDbLayerTable>(m_db, m_db.layerTableId(), L"LAYER");
    ensureTable<AcDbTextStyleTable>(m_db, m_db.textStyleTableId(), L"STYLE");
    ensureTable<AcDbViewTable>(m_db, m_db.viewTableId(), L"VIEW");
    ensureTable<AcDbUCSTable>(m_db, m_db.UCSTableId(), L"UCS");
    ensureTable<AcDbRegAppTable>(m_db, m_db.regAppTableId(), L"APPID");
    ensureTable<AcDbDimStyleTable>(m_db, m_db.dimStyleTableId(), L"DIMSTYLE");
}

void Loader::complete()
{
    ensureTables();
    ensureLayoutBlocks();

    ensureRecord<AcDbViewportTableRecord>(m_db.viewportTableId(), L"*Active", [] { return new AcDbViewportTableRecord; });
    ensureRecord<AcDbLinetypeTableRecord>(m_db.linetypeTableId(), L"ByBlock", [] { return new AcDbLinetypeTableRecord; });
    const AcDbObjectId byLayer =
        ensureRecord<AcDbLinetypeTableRecord>(m_db.linetypeTableId(), L"ByLayer", [] { return new AcDbLinetypeTableRecord; });
    const AcDbObjectId continuous = ensureRecord<AcDbLinetypeTableRecord>(m_db.linetypeTableId(), L"Continuous", [] {
        auto* lt = new AcDbLinetypeTableRecord;
        lt->setComments(L"Solid line");
        return lt;
    });
    const AcDbObjectId layer0 = ensureRecord<AcDbLayerTableRecord>(m_db.layerTableId(), L"0", [] {
        auto* layer = new AcDbLayerTableRecord;
        AcCmColor white;
        white.setColorIndex(7);
        layer->setColor(white);
        return layer;
    });
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, layer0, AcDb::kForWrite) == Acad::eOk) {
        if (layer->linetypeObjectId().isNull()) layer->setLinetypeObjectId(continuous);
        layer->close();
    }
    const AcDbObjectId standard =
        ensureRecord<AcDbTextStyleTableRecord>(m_db.textStyleTableId(), L"Standard", [] { return new AcDbTextStyleTableRecord; });
    ensureRecord<AcDbRegAppTableRecord>(m_db.regAppTableId(), L"ACAD", [] { return new AcDbRegAppTableRecord; });
    ensureRecord<AcDbDimStyleTableRecord>(m_db.dimStyleTableId(), L"Standard", [] { return new AcDbDimStyleTableRecord; });

    // Current layer, text style and linetype by the names the header gave.
    AcDbObjectId clayer = m_filer.symbolId(m_db.layerTableId(), m_clayer, false);
    m_db.setClayer(clayer.isNull() ? layer0 : clayer);
    AcDbObjectId style = m_filer.symbolId(m_db.textStyleTableId(), m_textstyle, false);
    m_db.setTextstyle(style.isNull() ? standard : style);
    AcDbObjectId celtype = m_filer.symbolId(m_db.linetypeTableId(), m_celtype, false);
    m_db.setCeltype(celtype.isNull() ? byLayer : celtype);

    if (m_db.namedObjectsDictionaryId().isNull()) {
        auto* nod = new AcDbDictionary;
        AcDbObjectId id;
        if (m_db.addAcDbObject(id, nod) == Acad::eOk) {
            nod->close();
            m_db.setNamedObjectsDictionaryId(id);
            auto& order = m_db.objectsSectionOrder();
            order.insert(order.begin(), id);
        } else {
            delete nod;
        }
    }
    AcDbDictionary* nod = nullptr;
    if (m_db.getNamedObjectsDictionary(nod, AcDb::kForWrite) == Acad::eOk) {
        for (const ACHAR* key : {L"ACAD_GROUP", L"ACAD_TABLESTYLE"}) {
            if (nod->has(key)) continue;
            auto* dict = new AcDbDictionary;
            AcDbObjectId id;
            if (nod->setAt(key, dict, id) == Acad::eOk) {
                dict->addPersistentReactor(nod->objectId());
                dict->close();
                m_db.objectsSectionOrder().push_back(id);
            } else {
                delete dict;
            }
        }
        nod->close();
    }
    relinkLayouts();
    addDefaultLayouts(m_db);
}

// Writers that give block records no handle still point from each layout to its block
// record by a handle (330 of the layout): the record got a new handle, and the layout
// follows it.
void Loader::relinkLayouts()
{
    auto* blocks = fendo::db::peekObject<AcDbBlockTable>(m_db.blockTableId());
    if (!blocks) return;
    for (AcDbObjectId btrId : blocks->recordIds()) {
        auto* btr = fendo::db::peekObject<AcDbBlockTableRecord>(btrId);
        AcDbObject* layout = btr ? fendo::db::peekObject<AcDbObject>(btr->getLayoutId()) : nullptr;
        const auto* kept = layout ? layout->keptGroups() : nullptr;
        if (!kept || layout->dxfTypeName() != L"LAYOUT") continue;
        size_t pointer = kept->size();
        for (size_t i = 0; i < kept->size(); ++i)
            if ((*kept)[i].tag.code == 330) pointer = i;
        if (pointer == kept->size()) continue;
        const AcDbObjectId named = m_db.idFromHandle(AcDbHandle::fromHex((*kept)[pointer].tag.value), false);
        if (named == btrId || fendo::db::peekObject<AcDbBlockTableRecord>(named)) continue;
        std::vector<AcDbObject::KeptGroup> groups = *kept;
        groups[pointer].tag.value = btrId.handle().hex();
        layout->clearKeptGroups();
        for (auto& g : groups) layout->keepGroup(g.subclass, std::move(g.tag));
    }
}

}  // namespace
}  // namespace fendo::dxf

Acad::ErrorStatus fendo::dxf::readDxfData(AcDbDatabase& db, std::string_view data, const std::string& name,
                                          std::string* errorMessage, DxfByteSource* windows, std::size_t windowBytes)
{
    auto report = [&](const std::string& message, Acad::ErrorStatus es) {
        if (errorMessage) *errorMessage = message;
        return es;
    };
    if (!db.blockTableId().isNull() || !db.namedObjectsDictionaryId().isNull())
        return report(name + ": cannot read into a drawing that is not empty", Acad::eInvalidInput);
    Loader loader(db, name, data, windows, windowBytes ? windowBytes : DxfTagReader::kWindowBytes);
    if (!loader.run()) return report(loader.error(), Acad::eInvalidDxfCode);
    if (errorMessage) errorMessage->clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::readDxfFile(const std::wstring& path, std::string* errorMessage)
{
    const std::string narrow = fendo::toUtf8(path);
    if (!blockTableId().isNull() || !namedObjectsDictionaryId().isNull()) {
        if (errorMessage) *errorMessage = narrow + ": cannot read into a drawing that is not empty";
        return Acad::eInvalidInput;
    }
    std::string error;
    fendo::dxf::FileData data;
    if (!data.open(narrow, error)) {
        if (errorMessage) *errorMessage = error;
        return Acad::eFileAccessErr;
    }
    const Acad::ErrorStatus es = fendo::dxf::readDxfData(*this, data.view(), narrow, errorMessage, data.windows());
    if (es == Acad::eOk) setFilename(path);
    return es;
}
