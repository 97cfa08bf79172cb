// Block references, attributes and attribute definitions: data, block transform, extents
// through the block's entities, and filing as INSERT / ATTRIB / ATTDEF.
#include "host/db/entities/AcDbBlockReference.h"

#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbAttribute, AcDbText, 0, 0, 0, ATTRIB, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, 0, 0, 0, ATTDEF, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, 0, 0, 0, INSERT, ObjectDBX Classes)

namespace {
// Nested blocks deeper than this are taken as a reference cycle and not followed.
constexpr int kMaxBlockNesting = 32;
thread_local int t_nesting = 0;

struct NestingGuard {
    NestingGuard() { ++t_nesting; }
    ~NestingGuard() { --t_nesting; }
    bool tooDeep() const { return t_nesting > kMaxBlockNesting; }
};
}  // namespace

// ---- attributes -----------------------------------------------------------------------

bool fendo::db::AttributeFields::read(const resbuf& rb)
{
    switch (rb.restype) {
    case 2: tag = ent::asString(rb); return true;
    case 70: flags = ent::asInt(rb); return true;
    case 73: fieldLength = static_cast<Adesk::UInt16>(ent::asInt(rb)); return true;
    default: return false;
    }
}

void fendo::db::AttributeFields::write(AcDbDxfFiler* filer) const
{
    filer->writeString(AcDb::kDxfAttributeTag, tag);
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    if (fieldLength != 0) filer->writeInt16(static_cast<AcDb::DxfCode>(73), static_cast<std::int16_t>(fieldLength));
}

namespace {
// Group 74, the vertical alignment, closes both attribute sections when it is not the baseline.
void writeVerticalMode(AcDbDxfFiler* filer, AcDb::TextVertMode mode)
{
    if (mode != AcDb::kTextBase) filer->writeInt16(static_cast<AcDb::DxfCode>(74), static_cast<std::int16_t>(mode));
}
}  // namespace

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag, AcDbObjectId style)
    : AcDbText(position, text, style)
{
    m_fields.tag = tag;
}

Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) { assertWriteEnabled(); m_fields.tag = tag; return Acad::eOk; }

Acad::ErrorStatus AcDbAttribute::setInvisible(bool invisible)
{
    assertWriteEnabled();
    m_fields.setFlag(1, invisible);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readTextSection(filer, false);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbAttribute");
    return ent::readSection(filer, [&](const resbuf& rb) {
        if (rb.restype == 74) {
            setVerticalModeRaw(ent::asInt(rb));
            return true;
        }
        return m_fields.read(rb);
    });
}

Acad::ErrorStatus AcDbAttribute::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeTextSection(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbAttribute");
    m_fields.write(filer);
    writeVerticalMode(filer, verticalMode());
    return filer->filerStatus();
}

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                                                 const ACHAR* prompt, AcDbObjectId style)
    : AcDbText(position, text, style), m_prompt(prompt)
{
    m_fields.tag = tag;
}

Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag)
{
    assertWriteEnabled();
    m_fields.tag = tag;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* p) { assertWriteEnabled(); m_prompt = p; return Acad::eOk; }

Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool invisible)
{
    assertWriteEnabled();
    m_fields.setFlag(1, invisible);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool constant)
{
    assertWriteEnabled();
    m_fields.setFlag(2, constant);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readTextSection(filer, false);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbAttributeDefinition");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 3: m_prompt = ent::asString(rb); return true;
        case 74: setVerticalModeRaw(ent::asInt(rb)); return true;
        default: return m_fields.read(rb);
        }
    });
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeTextSection(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbAttributeDefinition");
    filer->writeString(AcDb::kDxfAttributePrompt, m_prompt);
    m_fields.write(filer);
    writeVerticalMode(filer, verticalMode());
    return filer->filerStatus();
}

// ---- block reference ------------------------------------------------------------------

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : m_block(blockTableRecord), m_position(position)
{
}

AcDbObjectId AcDbBlockReference::blockTableRecord() const
{
    if (m_block.isNull() && !m_blockName.empty()) {
        AcDbDatabase* db = database();
        if (db) m_block = ent::lookupRecord(db, db->blockTableId(), m_blockName);
    }
    return m_block;
}

std::wstring AcDbBlockReference::blockName() const
{
    AcDbObjectId id = blockTableRecord();
    return id.isNull() ? m_blockName : ent::recordName(id);
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id)
{
    assertWriteEnabled();
    m_block = id;
    m_blockName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) { assertWriteEnabled(); m_position = p; return Acad::eOk; }

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s)
{
    if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_scale = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double r) { assertWriteEnabled(); m_rotation = r; return Acad::eOk; }

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const
{
    AcGePoint3d base;
    if (auto* rec = ent::peek<AcDbBlockTableRecord>(blockTableRecord(), true)) base = rec->origin();
    AcGeMatrix3d scale;
    scale.entry[0][0] = m_scale.sx;
    scale.entry[1][1] = m_scale.sy;
    scale.entry[2][2] = m_scale.sz;
    // The insertion point is kept in world coordinates; the block's axes are those of the
    // normal's OCS turned by the rotation.
    return AcGeMatrix3d::translation(m_position.asVector()) * AcGeMatrix3d::planeToWorld(m_normal) *
           AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis) * scale *
           AcGeMatrix3d::translation(-base.asVector());
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* attribute)
{
    assertWriteEnabled();
    return m_subs.insert(this, m_subs.size(), attribute, nullptr);
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& newId, AcDbAttribute* attribute)
{
    assertWriteEnabled();
    return m_subs.insert(this, m_subs.size(), attribute, &newId);
}

Acad::ErrorStatus AcDbBlockReference::openAttribute(AcDbAttribute*& attribute, AcDbObjectId id, AcDb::OpenMode mode,
                                                    bool openErased) const
{
    attribute = nullptr;
    if (m_subs.indexOf(id) == SubentityList::npos) return Acad::eInvalidInput;
    return acdbOpenObject(attribute, id, mode, openErased);
}

Acad::ErrorStatus AcDbBlockReference::openSequenceEnd(AcDbSequenceEnd*& seqend, AcDb::OpenMode mode)
{
    seqend = nullptr;
    AcDbObjectId id = m_subs.seqend(this);
    if (id.isNull()) return Acad::eNotInDatabase;
    return acdbOpenObject(seqend, id, mode);
}

AcDbObjectIterator* AcDbBlockReference::attributeIterator() const
{
    m_subs.flush(this);
    return new AcDbObjectIterator(m_subs.liveItems(this));
}

std::vector<AcDbAttribute*> AcDbBlockReference::attributes() const
{
    std::vector<AcDbAttribute*> out;
    for (AcDbEntity* e : m_subs.live(this))
        if (auto* a = AcDbAttribute::cast(e)) out.push_back(a);
    return out;
}

Acad::ErrorStatus AcDbBlockReference::setOwnerId(AcDbObjectId owner)
{
    Acad::ErrorStatus es = AcDbEntity::setOwnerId(owner);
    if (m_subs.size() > 0) m_subs.flush(this);
    return es;
}

AcRxObject* AcDbBlockReference::clone() const
{
    auto* copy = AcDbBlockReference::cast(AcDbEntity::clone());
    if (!copy) return nullptr;
    copy->m_subs.clear(copy);
    for (AcDbEntity* a : m_subs.cloneLive(this)) copy->m_subs.insert(copy, copy->m_subs.size(), a, nullptr);
    return copy;
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    NestingGuard guard;
    if (!guard.tooDeep()) {
        if (auto* rec = ent::peek<AcDbBlockTableRecord>(blockTableRecord())) {
            const AcGeMatrix3d xf = blockTransform();
            for (AcDbObjectId id : rec->entityIds()) {
                auto* e = ent::peek<AcDbEntity>(id);
                if (!e || AcDbAttributeDefinition::cast(e)) continue;
                AcDbExtents part;
                if (e->getGeomExtents(part) != Acad::eOk || part.isEmpty()) continue;
                part.transformBy(xf);
                extents.addExt(part);
            }
        }
    }
    for (AcDbAttribute* a : attributes()) {
        AcDbExtents part;
        if (!a->isInvisible() && a->getGeomExtents(part) == Acad::eOk) extents.addExt(part);
    }
    if (extents.isEmpty()) {
        extents.addPoint(m_position);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform)
{
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(m_normal, u, v);
    AcGeVector3d x = (u * std::cos(m_rotation) + v * std::sin(m_rotation)) * m_scale.sx;
    AcGeVector3d y = (v * std::cos(m_rotation) - u * std::sin(m_rotation)) * m_scale.sy;
    AcGeVector3d z = m_normal * m_scale.sz;
    x.transformBy(xform);
    y.transformBy(xform);
    z.transformBy(xform);
    if (!x.isPerpendicularTo(y)) return Acad::eNotApplicable;  // a skew cannot be kept
    assertWriteEnabled();
    ent::PlaneMap map = ent::mapPlane(xform, m_normal);
    m_position.transformBy(xform);
    m_normal = map.normal;
    m_rotation = ent::angleInOcs(x, m_normal);
    m_scale.sx = x.length() * (map.mirrored ? -1.0 : 1.0);
    if (map.mirrored) m_rotation = ent::angleInOcs(-x, m_normal);
    m_scale.sy = y.length();
    m_scale.sz = z.length() * (z.dotProduct(m_normal) < 0 ? -1.0 : 1.0);
    for (AcDbAttribute* a : attributes()) a->AcDbText::transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entitySet) const
{
    auto* rec = ent::peek<AcDbBlockTableRecord>(blockTableRecord());
    if (!rec) return Acad::eNotApplicable;
    const AcGeMatrix3d xf = blockTransform();
    for (AcDbObjectId id : rec->entityIds()) {
        auto* e = ent::peek<AcDbEntity>(id);
        if (!e || AcDbAttributeDefinition::cast(e)) continue;
        auto* copy = AcDbEntity::cast(e->clone());
        if (!copy) continue;
        if (copy->transformBy(xf) != Acad::eOk) {
            delete copy;
            continue;
        }
        entitySet.append(copy);
    }
    return Acad::eOk;
}

bool AcDbBlockReference::worldDraw(AcGiWorldDraw* wd)
{
    NestingGuard guard;
    if (guard.tooDeep()) return true;
    AcDbVoidPtrArray pieces;
    explode(pieces);
    for (void* p : pieces) {
        auto* e = static_cast<AcDbEntity*>(p);
        e->worldDraw(wd);
        delete e;
    }
    for (AcDbAttribute* a : attributes())
        if (!a->isInvisible()) a->worldDraw(wd);
    return true;
}

Acad::ErrorStatus AcDbBlockReference::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_position);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    if (indices.isEmpty()) return Acad::eOk;
    return transformBy(AcGeMatrix3d::translation(offset));
}

Acad::ErrorStatus AcDbBlockReference::readReferenceSection(AcDbDxfFiler* filer)
{
    // A MINSERT (an array of the block) files its reference under a subclass of its own.
    m_multiple = !filer->atSubclassData(L"AcDbBlockReference") && filer->atSubclassData(L"AcDbMInsertBlock");
    AcGePoint3d ocsPosition;
    Acad::ErrorStatus es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 66: return true;  // "attributes follow": the reader attaches them
        case 2: {
            m_blockName = ent::asString(rb);
            AcDbDatabase* db = filer->database();
            m_block = db ? ent::lookupRecord(db, db->blockTableId(), m_blockName) : AcDbObjectId::kNull;
            return true;
        }
        case 10: ocsPosition = ent::asPoint(rb); return true;
        case 41: m_scale.sx = ent::asReal(rb); return true;
        case 42: m_scale.sy = ent::asReal(rb); return true;
        case 43: m_scale.sz = ent::asReal(rb); return true;
        case 50: m_rotation = ent::angleOfLastItem(filer); return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
    m_position = ent::ocsToWcs(m_normal) * ocsPosition;
    return es;
}

void AcDbBlockReference::writeReferenceSection(AcDbDxfFiler* filer, bool withAttributesFlag) const
{
    filer->writeString(AcDb::kDxfSubclass, m_multiple ? L"AcDbMInsertBlock" : L"AcDbBlockReference");
    if (withAttributesFlag && !m_subs.ids(this).isEmpty()) filer->writeInt16(AcDb::kDxfHasSubentities, 1);
    filer->writeString(AcDb::kDxfBlockName, blockName().c_str());
    filer->writePoint3d(AcDb::kDxfXCoord, ent::wcsToOcs(m_normal) * m_position);
    if (m_scale.sx != 1.0) filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_scale.sx);
    if (m_scale.sy != 1.0) filer->writeDouble(static_cast<AcDb::DxfCode>(42), m_scale.sy);
    if (m_scale.sz != 1.0) filer->writeDouble(static_cast<AcDb::DxfCode>(43), m_scale.sz);
    if (m_rotation != 0.0) filer->writeAngle(AcDb::kDxfAngle, m_rotation);
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
}

Acad::ErrorStatus AcDbBlockReference::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readReferenceSection(filer);
}

Acad::ErrorStatus AcDbBlockReference::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeReferenceSection(filer, true);
    return filer->filerStatus();
}
