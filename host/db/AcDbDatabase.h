// The drawing database: owns every object, hands out ids and handles, holds the symbol
// tables, the named object dictionary and the header variables, and loads and saves
// DXF files.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>
#include "host/db/AcCmColor.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbDictionary;

namespace fendo::db {
// A header variable we do not model, kept as its groups ($NAME and its values).
struct HeaderVariable {
    std::string name;
    RawTags values;
};
// A CLASSES record as read or as a registered custom class will be written.
struct DxfClassRecord {
    std::wstring dxfName, className, appName;
    int proxyFlags = 0, instanceCount = 0;
    bool wasProxy = false, isEntity = false;
};
}  // namespace fendo::db

class AcDbDatabase {
public:
    // With buildDefaultDrawing, the database holds what every drawing needs: the nine
    // symbol tables, layer "0", linetypes "ByBlock", "ByLayer" and "CONTINUOUS", text style
    // "Standard", dimension style "Standard", *Model_Space and *Paper_Space with their
    // layouts, the named object dictionary with ACAD_GROUP, ACAD_LAYOUT and ACAD_TABLESTYLE.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase();
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // Adds an object not yet in any database; it gets the next handle. The database owns
    // it afterwards; it is open for write until closed.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* obj);
    Acad::ErrorStatus addAcDbObject(AcDbObject* obj) { AcDbObjectId id; return addAcDbObject(id, obj); }
    // Adds an object under a given handle (used when loading): a forward reference made by
    // idFromHandle is filled in; a handle already holding an object fails with eHandleExists.
    // Like addAcDbObject, the object is open for write until closed.
    Acad::ErrorStatus addAcDbObjectWithHandle(AcDbObjectId& id, AcDbObject* obj, AcDbHandle handle);
    // Called once, before the first handle the database gives out itself (not one read from
    // a file): a reader may then raise the handle seed above handles it has not read yet,
    // instead of reading its whole file ahead for them. Cleared once called, or with null.
    void setBeforeFirstNewHandle(std::function<void()> hook) { m_beforeNewHandle = std::move(hook); }
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle);
    AcDbObjectId idFromHandle(const AcDbHandle& handle, bool createIfNotFound = false);
    AcDbHandle handseed() const { return m_handseed; }
    void setHandseed(AcDbHandle seed) { if (seed.value() > m_handseed.value()) m_handseed = seed; }
    // Every stub, in the order handles were first seen (subentities an owner holds by handle
    // alone have none until their handle is looked up).
    const std::deque<AcDbStub>& stubs() const { return m_stubs; }
    // For owners that hold a subentity compactly (see AcDbStub::held), called as they take
    // over the subentity just loaded, whose object they have deleted: when no one else can
    // know the stub (it is the newest, was never looked up by handle nor listed as
    // changed) the database lets it go and keeps the handle as held by `owner`; a lookup
    // of the handle then makes a new stub and hands it to the owner (adoptHeldStub). False
    // when the stub must stay.
    bool releaseHeldStub(AcDbStub* stub, AcDbStub* owner);
    // The same for a subentity read from a file whose object was never made: its handle goes
    // into the index as held by `owner`, as releaseHeldStub leaves it. False when the handle
    // is in use.
    bool holdLoadedHandle(AcDbHandle handle, AcDbStub* owner);
    // For the owner itself: a new stub for a handle it holds alone (its object and held
    // mark are the owner's to set); null when the handle is not held by `owner`.
    AcDbStub* stubForHeldHandle(std::uint64_t handle, const AcDbStub* owner);

    // Symbol tables.
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getViewTable(AcDbViewTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getUCSTable(AcDbUCSTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getViewportTable(AcDbViewportTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode);
    template <typename T>
    Acad::ErrorStatus getSymbolTable(T*& table, AcDb::OpenMode mode) { return acdbOpenObject(table, tableId<T>(), mode); }
    AcDbObjectId blockTableId() const { return m_tables[kBlock]; }
    AcDbObjectId layerTableId() const { return m_tables[kLayer]; }
    AcDbObjectId linetypeTableId() const { return m_tables[kLinetype]; }
    AcDbObjectId textStyleTableId() const { return m_tables[kStyle]; }
    AcDbObjectId dimStyleTableId() const { return m_tables[kDimStyle]; }
    AcDbObjectId viewTableId() const { return m_tables[kView]; }
    AcDbObjectId UCSTableId() const { return m_tables[kUcs]; }
    AcDbObjectId viewportTableId() const { return m_tables[kVport]; }
    AcDbObjectId regAppTableId() const { return m_tables[kAppid]; }
    // Tables in the order a DXF file lists them.
    std::vector<AcDbObjectId> tableIds() const;
    void setTableId(const std::wstring& dxfTableName, AcDbObjectId id);

    // Dictionaries.
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode);
    AcDbObjectId namedObjectsDictionaryId() const { return m_nod; }
    void setNamedObjectsDictionaryId(AcDbObjectId id) { m_nod = id; }
    Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode);
    AcDbObjectId groupDictionaryId() const;
    AcDbObjectId tableStyleDictionaryId() const;
    Acad::ErrorStatus getTableStyleDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode);
    AcDbObjectId layoutDictionaryId() const;
    // An entry of the named object dictionary, or null.
    AcDbObjectId namedDictionaryEntry(const ACHAR* key) const;

    // Well-known records.
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    // Model space when TILEMODE is 1, else paper space.
    AcDbObjectId currentSpaceId() const;
    AcDbObjectId layerZero() const;
    AcDbObjectId continuousLinetype() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;

    // Header variables the module reads or sets.
    AcDbObjectId clayer() const { return m_clayer; }
    Acad::ErrorStatus setClayer(AcDbObjectId layer);
    AcDbObjectId textstyle() const { return m_textstyle; }
    Acad::ErrorStatus setTextstyle(AcDbObjectId style) { m_textstyle = style; return Acad::eOk; }
    AcDbObjectId celtype() const { return m_celtype; }
    Acad::ErrorStatus setCeltype(AcDbObjectId lt) { m_celtype = lt; return Acad::eOk; }
    AcCmColor cecolor() const { return m_cecolor; }
    Acad::ErrorStatus setCecolor(const AcCmColor& c) { m_cecolor = c; return Acad::eOk; }
    bool tilemode() const { return m_tilemode; }
    Acad::ErrorStatus setTilemode(bool t) { m_tilemode = t; return Acad::eOk; }
    int luprec() const { return m_luprec; }
    Acad::ErrorStatus setLuprec(int p) { m_luprec = p; return Acad::eOk; }
    int pdmode() const { return m_pdmode; }
    Acad::ErrorStatus setPdmode(int m) { m_pdmode = m; return Acad::eOk; }
    double pdsize() const { return m_pdsize; }
    Acad::ErrorStatus setPdsize(double s) { m_pdsize = s; return Acad::eOk; }
    double textsize() const { return m_textsize; }
    Acad::ErrorStatus setTextsize(double s) { m_textsize = s; return Acad::eOk; }
    double ltscale() const { return m_ltscale; }
    // The model-space UCS (paper-space UCS when tile mode is off has its own trio).
    AcGePoint3d ucsorg() const { return m_ucsorg; }
    AcGeVector3d ucsxdir() const { return m_ucsxdir; }
    AcGeVector3d ucsydir() const { return m_ucsydir; }
    Acad::ErrorStatus setUcs(const AcGePoint3d& org, const AcGeVector3d& x, const AcGeVector3d& y);
    AcGePoint3d pucsorg() const { return m_pucsorg; }
    AcGeVector3d pucsxdir() const { return m_pucsxdir; }
    AcGeVector3d pucsydir() const { return m_pucsydir; }
    Acad::ErrorStatus setPucs(const AcGePoint3d& org, const AcGeVector3d& x, const AcGeVector3d& y);
    AcGePoint3d extmin() const { return m_extmin; }
    AcGePoint3d extmax() const { return m_extmax; }
    // Recomputes EXTMIN/EXTMAX from the model-space entities.
    void updateExt();

    // Header variables kept as read (and written back), in file order.
    std::vector<fendo::db::HeaderVariable>& otherHeaderVariables() { return m_otherHeader; }
    // Classes listed by the last file read (kept for classes no module registers now).
    std::vector<fendo::db::DxfClassRecord>& dxfClasses() { return m_dxfClasses; }
    // Sections other than HEADER, CLASSES, TABLES, BLOCKS, ENTITIES and OBJECTS, kept whole.
    std::vector<std::pair<std::string, fendo::db::RawTags>>& otherSections() { return m_otherSections; }
    // Objects of the OBJECTS section in file order (the named object dictionary first).
    std::vector<AcDbObjectId>& objectsSectionOrder() { return m_objectsOrder; }

    // File name and code page of the last file read or written.
    const std::wstring& filename() const { return m_filename; }
    void setFilename(const std::wstring& f) { m_filename = f; }

    // Loads a DXF file (ASCII or binary, R12 and R2000..R2018) into this database, which must
    // be empty (built with buildDefaultDrawing = false). On failure the message names the
    // file, the line (or byte offset) and what was expected.
    Acad::ErrorStatus readDxfFile(const std::wstring& path, std::string* errorMessage = nullptr);
    // Saves as R2007 ASCII DXF (UTF-8), through a temporary file renamed over the target,
    // so a failed save leaves the old file intact.
    Acad::ErrorStatus dxfOut(const std::wstring& path, std::string* errorMessage = nullptr);

    // Called by AcDbObject::erase and by the filers; not for commands.
    void noteErased(AcDbObject* obj, bool erased);

    // The objects opened for write since the last take, kept only while tracking is on, so that
    // a view of the drawing can redraw just what may have changed.
    void setTrackWriteOpens(bool on)
    {
        m_trackWrites = on;
        m_writeOpened.clear();
    }
    void noteWriteOpen(AcDbObjectId id)
    {
        if (m_trackWrites) m_writeOpened.push_back(id);
    }
    std::vector<AcDbObjectId> takeWriteOpens() { return std::exchange(m_writeOpened, {}); }
    // A cache of data derived from the objects (the editor's selection index), owned by the
    // database so it lives and dies with it. While one is attached, the database lists
    // every object added, opened for write, erased or unerased, for the cache to catch up.
    struct Attachment {
        virtual ~Attachment() = default;
    };
    Attachment* attachment() const { return m_attachment.get(); }
    void setAttachment(std::unique_ptr<Attachment> cache);
    // Moves the objects changed since the last call into out (each once, in no set order).
    void takeTouched(std::vector<AcDbStub*>& out);
    void noteTouched(AcDbStub* stub)
    {
        if (m_attachment && !stub->touched) {
            stub->touched = true;
            m_touched.push_back(stub);
        }
    }

private:
    enum TableIndex { kVport, kLinetype, kLayer, kStyle, kView, kUcs, kAppid, kDimStyle, kBlock, kTableCount };
    template <typename T>
    AcDbObjectId tableId() const;
    AcDbStub* newStub(AcDbHandle handle);
    void buildDefaultDrawing();

    std::deque<AcDbStub> m_stubs;
    std::unordered_map<std::uint64_t, AcDbStub*> m_byHandle;  // handles beyond the dense pages
    // Stubs by handle value for the dense low range every drawing mostly uses: a lookup is
    // two indexes and loading a million objects allocates no hash nodes. Fixed-size pages,
    // made as handles reach them, so the index never holds much more room than handles.
    static constexpr unsigned kDensePageBits = 12;
    std::vector<std::unique_ptr<AcDbStub*[]>> m_densePages;
    std::size_t m_indexedHandles = 0;
    // The index entry of a handle (null when the handle is not in the index): a stub, or
    // the owner's stub tagged in its low bit for a handle held without a stub.
    AcDbStub** entryOf(std::uint64_t handle) const;
    AcDbStub** makeEntry(std::uint64_t handle);
    bool handleInUse(std::uint64_t handle) const;
    // The stub of a handle, made for a held handle (see releaseHeldStub); null when unknown.
    AcDbStub* findStub(std::uint64_t handle);
    // A new stub for a held handle, put in its index entry.
    AcDbStub* stubInPlaceOfHeld(AcDbStub** entry, std::uint64_t handle);
    AcDbHandle m_handseed{1};
    AcDbObjectId m_tables[kTableCount];
    AcDbObjectId m_nod;
    AcDbObjectId m_clayer, m_textstyle, m_celtype;
    AcCmColor m_cecolor;
    bool m_tilemode = true;
    int m_luprec = 4;
    int m_pdmode = 0;
    double m_pdsize = 0;
    double m_textsize = 2.5;
    double m_ltscale = 1.0;
    AcGePoint3d m_ucsorg, m_pucsorg;
    AcGeVector3d m_ucsxdir{1, 0, 0}, m_ucsydir{0, 1, 0}, m_pucsxdir{1, 0, 0}, m_pucsydir{0, 1, 0};
    AcGePoint3d m_extmin{1e20, 1e20, 1e20}, m_extmax{-1e20, -1e20, -1e20};
    std::vector<fendo::db::HeaderVariable> m_otherHeader;
    std::vector<fendo::db::DxfClassRecord> m_dxfClasses;
    std::vector<std::pair<std::string, fendo::db::RawTags>> m_otherSections;
    std::vector<AcDbObjectId> m_objectsOrder;
    std::wstring m_filename;
    bool m_trackWrites = false;
    std::vector<AcDbObjectId> m_writeOpened;
    std::vector<AcDbStub*> m_touched;
    std::unique_ptr<Attachment> m_attachment;
    std::function<void()> m_beforeNewHandle;
    friend class fendo_db_DatabaseAccess;
};

template <typename T>
AcDbObjectId AcDbDatabase::tableId() const
{
    if constexpr (std::is_same_v<T, AcDbBlockTable>) return m_tables[kBlock];
    else if constexpr (std::is_same_v<T, AcDbLayerTable>) return m_tables[kLayer];
    else if constexpr (std::is_same_v<T, AcDbLinetypeTable>) return m_tables[kLinetype];
    else if constexpr (std::is_same_v<T, AcDbTextStyleTable>) return m_tables[kStyle];
    else if constexpr (std::is_same_v<T, AcDbDimStyleTable>) return m_tables[kDimStyle];
    else if constexpr (std::is_same_v<T, AcDbViewTable>) return m_tables[kView];
    else if constexpr (std::is_same_v<T, AcDbUCSTable>) return m_tables[kUcs];
    else if constexpr (std::is_same_v<T, AcDbViewportTable>) return m_tables[kVport];
    else if constexpr (std::is_same_v<T, AcDbRegAppTable>) return m_tables[kAppid];
    else static_assert(sizeof(T) == 0, "not a symbol table class");
}

// The host's application services: which database commands work on.
class AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const { return m_working; }
    void setWorkingDatabase(AcDbDatabase* db) { m_working = db; }

private:
    AcDbDatabase* m_working = nullptr;
};
AcDbHostApplicationServices* acdbHostApplicationServices();
