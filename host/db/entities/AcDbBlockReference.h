// The host's block reference (INSERT) with its attributes (ATTRIB), and attribute
// definitions (ATTDEF) of block definitions. Attributes are separate entities owned by the
// reference, filed after it and closed by a SEQEND record; the DXF reader attaches them with
// appendLoadedSubentity / setSeqendId and the writer lists them with subentityIds() /
// seqendId() when hasSubentities() is true (see SubentityList.h).
#pragma once
#include "host/db/entities/AcDbText.h"
#include "host/db/entities/SubentityList.h"
#include "host/ge/AcGeScale3d.h"

struct resbuf;

namespace fendo::db {
// What an attribute and an attribute definition both carry: the tag, the flag bits (1
// invisible, 2 constant, 4 verifiable, 8 preset) and the field length, filed as groups 2, 70
// and 73.
struct AttributeFields {
    AcString tag;
    int flags = 0;
    Adesk::UInt16 fieldLength = 0;

    bool flag(int bit) const { return (flags & bit) != 0; }
    void setFlag(int bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); }
    // Takes one group of the section; false for a group that is not one of these fields.
    bool read(const resbuf& rb);
    void write(AcDbDxfFiler* filer) const;
};
}  // namespace fendo::db

class AcDbAttribute : public AcDbText {
    ACRX_DECLARE_MEMBERS(AcDbAttribute);

public:
    AcDbAttribute() = default;
    AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                  AcDbObjectId style = AcDbObjectId::kNull);

    AcString tag() const { return m_fields.tag; }
    Acad::ErrorStatus setTag(const ACHAR* tag);
    bool isInvisible() const { return m_fields.flag(1); }
    Acad::ErrorStatus setInvisible(bool invisible);
    bool isConstant() const { return m_fields.flag(2); }
    bool isVerifiable() const { return m_fields.flag(4); }
    bool isPreset() const { return m_fields.flag(8); }
    Adesk::UInt16 fieldLength() const { return m_fields.fieldLength; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    fendo::db::AttributeFields m_fields;
};

class AcDbAttributeDefinition : public AcDbText {
    ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition);

public:
    AcDbAttributeDefinition() = default;
    AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag, const ACHAR* prompt,
                            AcDbObjectId style = AcDbObjectId::kNull);

    AcString tag() const { return m_fields.tag; }
    Acad::ErrorStatus setTag(const ACHAR* tag);
    AcString prompt() const { return m_prompt; }
    Acad::ErrorStatus setPrompt(const ACHAR* prompt);
    bool isInvisible() const { return m_fields.flag(1); }
    Acad::ErrorStatus setInvisible(bool invisible);
    bool isConstant() const { return m_fields.flag(2); }
    Acad::ErrorStatus setConstant(bool constant);
    bool isVerifiable() const { return m_fields.flag(4); }
    bool isPreset() const { return m_fields.flag(8); }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    fendo::db::AttributeFields m_fields;
    AcString m_prompt;
};

class AcDbBlockReference : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbBlockReference);

public:
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);

    // The block definition; a name read from a file is looked up when first asked.
    AcDbObjectId blockTableRecord() const;
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGeScale3d scaleFactors() const { return m_scale; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);  // eInvalidInput for a zero factor
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // Block coordinates (relative to the block's base point) to world coordinates.
    AcGeMatrix3d blockTransform() const;

    // Attributes, owned by the reference (see the file comment).
    Acad::ErrorStatus appendAttribute(AcDbAttribute* attribute);
    Acad::ErrorStatus appendAttribute(AcDbObjectId& newId, AcDbAttribute* attribute);
    Acad::ErrorStatus openAttribute(AcDbAttribute*& attribute, AcDbObjectId id, AcDb::OpenMode mode,
                                    bool openErased = false) const;
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode);
    AcDbObjectIterator* attributeIterator() const;
    std::vector<AcDbAttribute*> attributes() const;

    bool hasSubentities() const { return m_subs.size() > 0; }
    Acad::ErrorStatus appendLoadedSubentity(AcDbObjectId id) { return m_subs.appendLoaded(id); }
    void setSeqendId(AcDbObjectId id) { m_subs.setSeqend(id); }
    AcDbObjectIdArray subentityIds() const { return m_subs.ids(this); }
    AcDbObjectId seqendId() const { return m_subs.seqend(this); }

    Acad::ErrorStatus setOwnerId(AcDbObjectId owner) override;
    AcRxObject* clone() const override;

    // The block's entities (transformed) and the attributes.
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Transformed copies of the block's entities (attributes are not exploded).
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    // The AcDbBlockReference section, shared with tables.
    Acad::ErrorStatus readReferenceSection(AcDbDxfFiler* filer);
    void writeReferenceSection(AcDbDxfFiler* filer, bool withAttributesFlag) const;
    std::wstring blockName() const;

private:
    mutable AcDbObjectId m_block;
    std::wstring m_blockName;  // as read, until resolved
    bool m_multiple = false;   // read as a MINSERT: its own subclass, rows and columns kept as read
    AcGePoint3d m_position;
    AcGeScale3d m_scale;
    double m_rotation = 0.0;
    AcGeVector3d m_normal{0, 0, 1};
    fendo::db::SubentityList m_subs;
};
