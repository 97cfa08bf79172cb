// Filers: how objects write their fields out and read them back.
//
// AcDbDxfFiler works on the groups of one object (code + text, as in a DXF file). Reading
// walks the object's groups one subclass section at a time: readItem returns eEndOfObject
// at the next subclass marker (group 100) or at the end; atSubclassData consumes the marker
// that opens the next section. Groups a class does not model are handed back with
// keepUnknownItem and are written out again after the same section, so nothing read from a
// file is lost. Files without subclass markers (R12) present all groups to every class
// level; each level takes the codes it knows and leaves the rest to the next.
//
// AcDbDwgFiler is a binary in-memory filer for dwgInFields/dwgOutFields: values are read
// back in the order they were written.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>
#include "host/core/adsdef.h"
#include "host/db/AcDbObject.h"
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector2d.h"
#include "host/ge/AcGeVector3d.h"

namespace fendo::dxf {
class DxfOutput;
}

namespace fendo::db {
// A group seen in place: its text stays where the reader holds it (the file's bytes or the
// reader's store of decoded texts), so an object's groups are read without copying them.
struct TagView {
    short code = 0;
    std::string_view value;
};
// A real and an integer read from a group's text as the filer reads them (false for text
// that is no number; "nan" and "inf" are no real), for readers that take a record apart
// themselves.
bool readDxfReal(std::string_view text, double& v);
bool readDxfInteger(std::string_view text, long long& v);
}  // namespace fendo::db

namespace AcDb {
enum FilerType { kFileFiler = 0, kCopyFiler = 1, kUndoFiler = 2, kBagFiler = 3, kIdXlateFiler = 4, kPageFiler = 5,
                 kDeepCloneFiler = 6, kIdFiler = 7, kPurgeFiler = 8, kWblockCloneFiler = 9 };
}

class AcDbDxfFiler {
public:
    static constexpr int kDfltPrec = -1;  // shortest text that reads back to the same double

    explicit AcDbDxfFiler(AcDbDatabase* db, AcDb::FilerType type = AcDb::kFileFiler);
    virtual ~AcDbDxfFiler();

    AcDb::FilerType filerType() const { return m_type; }
    AcDbDatabase* database() const { return m_db; }

    // ---- reading ----
    // Loads the groups of one object (everything after its group 0). hasSubclassMarkers is
    // false for files without group 100 (R12).
    void setInput(fendo::db::RawTags tags, bool hasSubclassMarkers = true, int firstLine = 0);
    // The same over groups the caller keeps alive until the object is read (the loader).
    void setInput(std::span<const fendo::db::TagView> tags, bool hasSubclassMarkers = true, int firstLine = 0);
    Acad::ErrorStatus readItem(resbuf* item);
    Acad::ErrorStatus readResBuf(resbuf* item) { return readItem(item); }
    void pushBackItem();
    bool atEOF() const;
    bool atSubclassData(const ACHAR* subclassName);
    // True when the next group starts the extended data (1001).
    bool atExtendedData() const;
    // The group last read is not modelled by the reading class: keep it for writing back.
    void keepUnknownItem();
    // The current section's unread groups are all kept (used by classes that model only
    // part of their section).
    void keepRestOfSection();
    // The object whose dxfInFields is reading: groups handed back with keepUnknownItem
    // (and those left unread, see finishReading) are kept in it.
    void setObjectBeingRead(AcDbObject* obj) { m_reading = obj; }
    // Keeps every group no class level read in the object being read, each under the
    // subclass section it appeared in (under L"*", written at the end, for files without
    // subclass markers).
    void finishReading();
    // Lets go of the input groups (views the caller is about to reuse).
    void clearInput();
    // Source lines of each input group, when they are not two lines apart (binary files).
    void setInputLines(std::span<const int> lines) { m_inLines = lines; }
    // The record of a symbol table by name, through a cache kept for the filer's life (the
    // loader resolves a layer or linetype name per entity). With createIfMissing a record
    // of that name is added to the table (files name layers they never define).
    AcDbObjectId symbolId(AcDbObjectId tableId, std::wstring_view name, bool createIfMissing);
    // The last group read, as text, for messages and raw keeping.
    const fendo::db::RawTag& lastTag() const;
    // Line of the last group read in the source file (0 when not from a file).
    int lastLine() const;

    // ---- writing ----
    Acad::ErrorStatus writeItem(const resbuf* item);
    Acad::ErrorStatus writeString(AcDb::DxfCode code, const ACHAR* s);
    Acad::ErrorStatus writeString(AcDb::DxfCode code, const AcString& s) { return writeString(code, s.c_str()); }
    Acad::ErrorStatus writeBool(AcDb::DxfCode code, bool v);
    Acad::ErrorStatus writeInt8(AcDb::DxfCode code, std::int8_t v);
    Acad::ErrorStatus writeInt16(AcDb::DxfCode code, std::int16_t v);
    Acad::ErrorStatus writeInt32(AcDb::DxfCode code, std::int32_t v);
    Acad::ErrorStatus writeInt64(AcDb::DxfCode code, std::int64_t v);
    Acad::ErrorStatus writeUInt16(AcDb::DxfCode code, std::uint16_t v) { return writeInt16(code, static_cast<std::int16_t>(v)); }
    Acad::ErrorStatus writeUInt32(AcDb::DxfCode code, std::uint32_t v) { return writeInt32(code, static_cast<std::int32_t>(v)); }
    Acad::ErrorStatus writeDouble(AcDb::DxfCode code, double v, int precision = kDfltPrec);
    Acad::ErrorStatus writeAngle(AcDb::DxfCode code, double radians, int precision = kDfltPrec);  // written in degrees
    Acad::ErrorStatus writePoint2d(AcDb::DxfCode code, const AcGePoint2d& p, int precision = kDfltPrec);
    Acad::ErrorStatus writePoint3d(AcDb::DxfCode code, const AcGePoint3d& p, int precision = kDfltPrec);
    Acad::ErrorStatus writeVector2d(AcDb::DxfCode code, const AcGeVector2d& v, int precision = kDfltPrec);
    Acad::ErrorStatus writeVector3d(AcDb::DxfCode code, const AcGeVector3d& v, int precision = kDfltPrec);
    Acad::ErrorStatus writeObjectId(AcDb::DxfCode code, const AcDbObjectId& id);  // as its handle; null writes "0"
    Acad::ErrorStatus writeHandle(AcDb::DxfCode code, const AcDbHandle& handle);
    // Binary data as hexadecimal chunks of at most 127 bytes per group.
    Acad::ErrorStatus writeBytes(AcDb::DxfCode code, const void* data, std::size_t size);
    // A group whose text is already UTF-8 (names kept in that form).
    Acad::ErrorStatus writeUtf8(AcDb::DxfCode code, std::string_view text);
    // The name of a symbol table record in UTF-8, cached for the filer's life (the writer
    // names an entity's layer and linetype per entity).
    const std::string& symbolName(AcDbObjectId recordId);
    // A group exactly as given (its text is written unchanged).
    Acad::ErrorStatus writeRaw(const fendo::db::RawTag& tag);

    // Sends the groups straight to a text writer instead of collecting them (saving).
    void setOutputSink(fendo::dxf::DxfOutput* sink) { m_sink = sink; }
    // The groups written so far, and taking them out.
    const fendo::db::RawTags& output() const { return m_out; }
    fendo::db::RawTags takeOutput();

    // Writes the groups that the object being filed kept under subclass (and, for the last
    // section, all that remain). The database's writer calls these around each object.
    void setObjectBeingWritten(const AcDbObject* obj);

    Acad::ErrorStatus filerStatus() const { return m_status; }
    void setError(Acad::ErrorStatus es, const std::string& message);
    const std::string& errorMessage() const { return m_error; }
    void resetFilerStatus();

    // Maps a handle read from a file to the database's id (creating a stub for a handle not
    // loaded yet) and back.
    AcDbObjectId idFromHandle(const AcDbHandle& handle) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    AcDbDatabase* m_db;
    AcDb::FilerType m_type;
    // Input.
    std::span<const fendo::db::TagView> m_in;
    fendo::db::RawTags m_ownedIn;  // groups given as RawTags, seen through m_ownedViews
    std::vector<fendo::db::TagView> m_ownedViews;
    std::span<const int> m_inLines;
    mutable fendo::db::RawTag m_lastTag;
    std::vector<std::uint8_t> m_consumed;  // per input group: read, kept or skipped
    size_t m_pos = 0;
    size_t m_sectionStart = 0;
    size_t m_lastItemStart = 0;
    size_t m_lastItemEnd = 0;
    bool m_markers = true;
    std::wstring m_section;
    std::wstring m_lastString;
    std::string m_lastBinary;
    int m_firstLine = 0;
    // Output.
    fendo::db::RawTags m_out;
    const AcDbObject* m_writing = nullptr;
    std::wstring m_outSection;
    size_t m_keptWritten = 0;
    std::vector<bool> m_keptDone;
    AcDbObject* m_reading = nullptr;
    fendo::dxf::DxfOutput* m_sink = nullptr;
    Acad::ErrorStatus m_status = Acad::eOk;
    std::string m_error;
    void flushKept(const std::wstring& section);
    void flushAllKept();
    void emit(int code, std::string_view text);
    fendo::db::RawTag rawTag(size_t at) const { return {m_in[at].code, std::string(m_in[at].value)}; }
    void setLastString(std::string_view utf8);
    AcDbObjectId findSymbol(AcDbObjectId tableId, std::wstring_view name, bool createIfMissing);
    // handle: the value of a Name group, read by the caller.
    Acad::ErrorStatus parseItem(size_t at, ResValueKind kind, resbuf* item, AcDbHandle handle);
    Acad::ErrorStatus badValue(size_t at, const char* expected);
    int lineOf(size_t at) const;
    friend struct Impl;
};

class AcDbDwgFiler {
public:
    explicit AcDbDwgFiler(AcDb::FilerType type = AcDb::kCopyFiler) : m_type(type) {}
    AcDb::FilerType filerType() const { return m_type; }
    Acad::ErrorStatus filerStatus() const { return m_status; }
    void resetFilerStatus() { m_status = Acad::eOk; }
    void seekToStart() { m_pos = 0; }

    Acad::ErrorStatus writeBool(bool v);
    Acad::ErrorStatus writeInt8(std::int8_t v);
    Acad::ErrorStatus writeInt16(std::int16_t v);
    Acad::ErrorStatus writeInt32(std::int32_t v);
    Acad::ErrorStatus writeInt64(std::int64_t v);
    Acad::ErrorStatus writeUInt8(std::uint8_t v);
    Acad::ErrorStatus writeUInt16(std::uint16_t v);
    Acad::ErrorStatus writeUInt32(std::uint32_t v);
    Acad::ErrorStatus writeDouble(double v);
    Acad::ErrorStatus writeString(const ACHAR* s);
    Acad::ErrorStatus writeString(const AcString& s) { return writeString(s.c_str()); }
    Acad::ErrorStatus writePoint2d(const AcGePoint2d& p);
    Acad::ErrorStatus writePoint3d(const AcGePoint3d& p);
    Acad::ErrorStatus writeVector2d(const AcGeVector2d& v);
    Acad::ErrorStatus writeVector3d(const AcGeVector3d& v);
    Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id);
    Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id);
    Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id);
    Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id);
    Acad::ErrorStatus writeBytes(const void* data, std::uint32_t size);

    Acad::ErrorStatus readBool(bool* v);
    Acad::ErrorStatus readInt8(std::int8_t* v);
    Acad::ErrorStatus readInt16(std::int16_t* v);
    Acad::ErrorStatus readInt32(std::int32_t* v);
    Acad::ErrorStatus readInt64(std::int64_t* v);
    Acad::ErrorStatus readUInt8(std::uint8_t* v);
    Acad::ErrorStatus readUInt16(std::uint16_t* v);
    Acad::ErrorStatus readUInt32(std::uint32_t* v);
    Acad::ErrorStatus readDouble(double* v);
    Acad::ErrorStatus readString(AcString& s);
    Acad::ErrorStatus readString(ACHAR** s);  // new[]-allocated
    Acad::ErrorStatus readPoint2d(AcGePoint2d* p);
    Acad::ErrorStatus readPoint3d(AcGePoint3d* p);
    Acad::ErrorStatus readVector2d(AcGeVector2d* v);
    Acad::ErrorStatus readVector3d(AcGeVector3d* v);
    Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id);
    Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id);
    Acad::ErrorStatus readHardPointerId(AcDbObjectId* id);
    Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id);
    Acad::ErrorStatus readBytes(void* data, std::uint32_t size);

    const std::vector<unsigned char>& buffer() const { return m_buf; }

private:
    Acad::ErrorStatus put(const void* p, size_t n);
    Acad::ErrorStatus get(void* p, size_t n);
    AcDb::FilerType m_type;
    std::vector<unsigned char> m_buf;
    size_t m_pos = 0;
    Acad::ErrorStatus m_status = Acad::eOk;
};
