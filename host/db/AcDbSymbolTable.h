// Symbol tables (layers, linetypes, text styles, blocks, dimension styles, views, UCSs,
// viewports, registered applications) and their records. Names compare without regard
// to case, as the host does.
#pragma once
#include <memory>
#include <unordered_map>
#include <vector>
#include "host/db/AcCmColor.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObject.h"
#include "host/ge/AcGePoint2d.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;

class AcDbSymbolTable : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable);

public:
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                            bool openErasedRecord = false) const;
    Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    // Adds a new record (the table must be open for write); the record is owned by the
    // database afterwards and must be closed by the caller.
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    // As add, for a record a drawing file names: any non-empty name the file gave is kept
    // (only names the user types are checked).
    Acad::ErrorStatus addNamedByFile(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    // Record ids in table order (erased ones included).
    const std::vector<AcDbObjectId>& recordIds() const { return m_records; }
    // The DXF name of the table ("LAYER", "LTYPE" ...).
    virtual const ACHAR* tableName() const = 0;
    // Keeps the name index in step after a record is renamed.
    void recordRenamed(AcDbObjectId id, const std::wstring& oldName, const std::wstring& newName);
    // Used by the database while loading: appends without the open-for-write check.
    void appendLoadedRecord(AcDbObjectId id, const std::wstring& name);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    Acad::ErrorStatus addRecord(AcDbObjectId& id, AcDbSymbolTableRecord* record, bool checkName);
    std::vector<AcDbObjectId> m_records;
    std::unordered_map<std::wstring, AcDbObjectId> m_byName;  // upper-case name
};

class AcDbSymbolTableIterator {
public:
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                bool openErasedRecord = false) const;
    template <typename T>
    Acad::ErrorStatus getRecord(T*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const
    {
        return acdbOpenObject(record, id(), mode, openErasedRecord);
    }

private:
    friend class AcDbSymbolTable;
    explicit AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool skipDeleted);
    AcDbObjectId id() const { return done() ? AcDbObjectId() : m_ids[m_pos]; }
    void skip(bool forward);
    std::vector<AcDbObjectId> m_ids;
    long m_pos = 0;
    bool m_skipDeleted = true;
};

class AcDbSymbolTableRecord : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);

public:
    Acad::ErrorStatus getName(AcString& name) const;
    Acad::ErrorStatus getName(const ACHAR*& name) const;  // points into the record
    const std::wstring& name() const { return m_name; }
    Acad::ErrorStatus setName(const ACHAR* name);
    // The name a drawing file gave, kept as it stands (a file may use characters a user
    // may not type); empty names are refused.
    Acad::ErrorStatus setNameFromFile(const std::wstring& name);
    bool isDependent() const { return m_name.find(L'|') != std::wstring::npos; }
    // Standard flags of group 70 that a record does not model itself.
    int flags70() const { return m_flags; }
    void setFlags70(int flags) { m_flags = flags; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_name;
    int m_flags = 0;
};

#define FENDO_DECLARE_TABLE(TABLE, RECORD, DXFNAME)                                  \
    class RECORD;                                                                   \
    class TABLE : public AcDbSymbolTable {                                          \
        ACRX_DECLARE_MEMBERS(TABLE);                                                \
                                                                                    \
    public:                                                                         \
        const ACHAR* tableName() const override { return DXFNAME; }                 \
        using AcDbSymbolTable::getAt;                                               \
        Acad::ErrorStatus getAt(const ACHAR* name, RECORD*& record, AcDb::OpenMode mode, \
                                bool openErasedRecord = false) const;               \
    };

FENDO_DECLARE_TABLE(AcDbLayerTable, AcDbLayerTableRecord, L"LAYER")
FENDO_DECLARE_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, L"LTYPE")
FENDO_DECLARE_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, L"STYLE")
FENDO_DECLARE_TABLE(AcDbBlockTable, AcDbBlockTableRecord, L"BLOCK_RECORD")
FENDO_DECLARE_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, L"DIMSTYLE")
FENDO_DECLARE_TABLE(AcDbViewTable, AcDbViewTableRecord, L"VIEW")
FENDO_DECLARE_TABLE(AcDbUCSTable, AcDbUCSTableRecord, L"UCS")
FENDO_DECLARE_TABLE(AcDbViewportTable, AcDbViewportTableRecord, L"VPORT")
FENDO_DECLARE_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, L"APPID")

constexpr const ACHAR* ACDB_MODEL_SPACE = L"*Model_Space";
constexpr const ACHAR* ACDB_PAPER_SPACE = L"*Paper_Space";

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);

public:
    bool isOff() const { return m_off; }
    void setIsOff(bool off) { assertWriteEnabled(); m_off = off; }
    bool isFrozen() const { return m_frozen; }
    Acad::ErrorStatus setIsFrozen(bool frozen) { assertWriteEnabled(); m_frozen = frozen; return Acad::eOk; }
    bool isLocked() const { return m_locked; }
    void setIsLocked(bool locked) { assertWriteEnabled(); m_locked = locked; }
    bool VPDFLT() const { return m_vpdflt; }
    void setVPDFLT(bool frozenInNewViewports) { assertWriteEnabled(); m_vpdflt = frozenInNewViewports; }
    bool isPlottable() const { return m_plottable; }
    Acad::ErrorStatus setIsPlottable(bool p) { assertWriteEnabled(); m_plottable = p; return Acad::eOk; }
    AcCmColor color() const { return m_color; }
    void setColor(const AcCmColor& color) { assertWriteEnabled(); m_color = color; }
    AcDbObjectId linetypeObjectId() const { return m_linetype; }
    void setLinetypeObjectId(AcDbObjectId id) { assertWriteEnabled(); m_linetype = id; }
    AcDb::LineWeight lineWeight() const { return m_lineweight; }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight w) { assertWriteEnabled(); m_lineweight = w; return Acad::eOk; }
    AcDbObjectId plotStyleNameId() const { return m_plotStyle; }
    void setPlotStyleNameId(AcDbObjectId id) { m_plotStyle = id; }
    AcDbObjectId materialId() const { return m_material; }
    void setMaterialId(AcDbObjectId id) { m_material = id; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    bool m_off = false, m_frozen = false, m_locked = false, m_vpdflt = false, m_plottable = true;
    AcCmColor m_color{AcCmEntityColor(AcCm::kByACI)};
    AcDbObjectId m_linetype;
    AcDb::LineWeight m_lineweight = AcDb::kLnWtByLwDefault;
    AcDbObjectId m_plotStyle;
    AcDbObjectId m_material;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);

public:
    AcString comments() const { return m_comments; }
    Acad::ErrorStatus setComments(const ACHAR* c) { assertWriteEnabled(); m_comments = c ? c : L""; return Acad::eOk; }
    int numDashes() const { return static_cast<int>(m_dashes.size()); }
    double dashLengthAt(int i) const { return m_dashes.at(i); }
    double patternLength() const { return m_patternLength; }
    void setPatternLength(double l) { m_patternLength = l; }
    void setNumDashes(int n) { m_dashes.resize(n > 0 ? n : 0); }
    void setDashLengthAt(int i, double l) { m_dashes.at(i) = l; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_comments;
    double m_patternLength = 0;
    std::vector<double> m_dashes;
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);

public:
    Acad::ErrorStatus fileName(AcString& name) const { name = m_file; return Acad::eOk; }
    const std::wstring& fileName() const { return m_file; }
    Acad::ErrorStatus setFileName(const ACHAR* name) { assertWriteEnabled(); m_file = name ? name : L""; return Acad::eOk; }
    Acad::ErrorStatus bigFontFileName(AcString& name) const { name = m_bigFont; return Acad::eOk; }
    const std::wstring& bigFontFileName() const { return m_bigFont; }
    Acad::ErrorStatus setBigFontFileName(const ACHAR* name) { assertWriteEnabled(); m_bigFont = name ? name : L""; return Acad::eOk; }
    double textSize() const { return m_size; }
    Acad::ErrorStatus setTextSize(double s) { assertWriteEnabled(); m_size = s; return Acad::eOk; }
    double xScale() const { return m_xscale; }
    Acad::ErrorStatus setXScale(double s) { assertWriteEnabled(); m_xscale = s; return Acad::eOk; }
    double obliquingAngle() const { return m_oblique; }
    Acad::ErrorStatus setObliquingAngle(double a) { assertWriteEnabled(); m_oblique = a; return Acad::eOk; }
    double priorSize() const { return m_prior; }
    void setPriorSize(double s) { m_prior = s; }
    // Group 71: 2 backwards, 4 upside down.
    Adesk::UInt8 flagBits() const { return m_genFlags; }
    void setFlagBits(Adesk::UInt8 f) { m_genFlags = f; }
    bool isShapeFile() const { return (flags70() & 1) != 0; }
    bool isVertical() const { return (flags70() & 4) != 0; }
    // The TrueType face name kept in the extended data of "ACAD", when a drawing names one.
    const std::wstring& typeface() const { return m_typeface; }
    void setTypeface(const std::wstring& face) { m_typeface = face; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_file = L"txt";
    std::wstring m_bigFont;
    std::wstring m_typeface;
    double m_size = 0, m_xscale = 1, m_oblique = 0, m_prior = 2.5;
    Adesk::UInt8 m_genFlags = 0;
};

class AcDbBlockTableRecordIterator;
class AcDbBlockBegin;
class AcDbBlockEnd;

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);

public:
    AcDbBlockTableRecord();
    ~AcDbBlockTableRecord() override;

    // Adds the entity to the database and to this block (the record must be open for
    // write); the entity stays open for write and is closed by the caller.
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    // Entity ids in drawing order (erased ones included).
    const std::vector<AcDbObjectId>& entityIds() const { return m_entities; }
    AcGePoint3d origin() const { return m_origin; }
    Acad::ErrorStatus setOrigin(const AcGePoint3d& o) { m_origin = o; return Acad::eOk; }
    bool isLayout() const;
    AcDbObjectId getLayoutId() const { return m_layout; }
    void setLayoutId(AcDbObjectId id) { m_layout = id; }
    bool hasAttributeDefinitions() const;
    bool isAnonymous() const { return (blockFlags() & 1) != 0; }

    // The BLOCK and ENDBLK records of the BLOCKS section, kept with their handles.
    AcDbObjectId blockBeginId() const { return m_begin; }
    AcDbObjectId blockEndId() const { return m_end; }
    void setBlockBeginId(AcDbObjectId id) { m_begin = id; }
    void setBlockEndId(AcDbObjectId id) { m_end = id; }
    int blockFlags() const { return m_blockFlags; }
    void setBlockFlags(int f) { m_blockFlags = f; }
    const std::wstring& pathName() const { return m_xrefPath; }
    void setPathName(const std::wstring& p) { m_xrefPath = p; }
    const std::wstring& comments() const { return m_comments; }
    void setComments(const std::wstring& c) { m_comments = c; }

    // Used by the database while loading: appends without the open-for-write check.
    void appendLoadedEntity(AcDbObjectId id) { m_entities.push_back(id); }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::vector<AcDbObjectId> m_entities;
    AcGePoint3d m_origin;
    AcDbObjectId m_layout;
    AcDbObjectId m_begin;
    AcDbObjectId m_end;
    int m_blockFlags = 0;
    std::wstring m_xrefPath;
    std::wstring m_comments;
};

class AcDbBlockTableRecordIterator {
public:
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErasedEntity = false) const;

private:
    friend class AcDbBlockTableRecord;
    AcDbBlockTableRecordIterator(const std::vector<AcDbObjectId>* ids, bool skipDeleted);
    void skip(bool forward);
    const std::vector<AcDbObjectId>* m_ids;
    long m_pos = 0;
    bool m_skipDeleted = true;
};

class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbDimStyleTableRecord);

public:
    // Dimension variables are kept as the groups read; only the name is modelled.
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};

class AcDbViewTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbViewTableRecord);
};

class AcDbUCSTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbUCSTableRecord);

public:
    AcGePoint3d origin() const { return m_origin; }
    void setOrigin(const AcGePoint3d& p) { m_origin = p; }
    AcGeVector3d xAxis() const { return m_x; }
    void setXAxis(const AcGeVector3d& v) { m_x = v; }
    AcGeVector3d yAxis() const { return m_y; }
    void setYAxis(const AcGeVector3d& v) { m_y = v; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_x{1, 0, 0};
    AcGeVector3d m_y{0, 1, 0};
};

class AcDbViewportTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbViewportTableRecord);

public:
    // The active viewport's view: centre and height drive the pick box and VIEWSIZE.
    AcGePoint2d centerPoint() const { return m_center; }
    void setCenterPoint(const AcGePoint2d& c) { m_center = c; }
    double height() const { return m_height; }
    void setHeight(double h) { m_height = h; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint2d m_center;
    double m_height = 100;
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord);
};

// Registers an application name for extended data; true when it was added or already there.
bool acdbRegApp(const ACHAR* appName);
