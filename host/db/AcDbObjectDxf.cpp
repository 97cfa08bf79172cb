// Filing of the fields every object and every entity has: handle, application groups
// (reactors, extension dictionary), owner; layer, linetype, colour, line weight ...
#include <cstring>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"

namespace {

AcDbObjectId idOf(const resbuf& rb)
{
    AcDbObjectId id;
    acdbGetObjectId(id, rb.resval.rlname);
    return id;
}

bool isText(const resbuf& rb, const wchar_t* text)
{
    return rb.resval.rstring && std::wcscmp(rb.resval.rstring, text) == 0;
}

}  // namespace

std::wstring AcDbObject::dxfTypeName() const
{
    for (const AcRxClass* c = isA(); c; c = c->myParent())
        if (*c->dxfName()) return c->dxfName();
    return L"";
}

Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler* filer)
{
    resbuf rb{};
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        switch (rb.restype) {
        case AcDb::kDxfHandle:
        case AcDb::kDxfDimVarHandle:
            break;  // the loader gives the object its handle
        case AcDb::kDxfSoftPointerId:
            m_ownerId = idOf(rb);
            break;
        case AcDb::kDxfControlString: {
            if (isText(rb, L"{ACAD_REACTORS") || isText(rb, L"{ACAD_XDICTIONARY")) {
                const bool reactors = isText(rb, L"{ACAD_REACTORS");
                while ((es = filer->readItem(&rb)) == Acad::eOk && rb.restype != AcDb::kDxfControlString) {
                    if (reactors && rb.restype == AcDb::kDxfSoftPointerId)
                        addPersistentReactor(idOf(rb));
                    else if (!reactors && rb.restype == AcDb::kDxfHardOwnershipId)
                        setExtensionDictionary(idOf(rb));
                    else
                        filer->keepUnknownItem();
                }
            } else {
                // Another application's group: kept whole, up to its closing brace.
                filer->keepUnknownItem();
                while ((es = filer->readItem(&rb)) == Acad::eOk) {
                    filer->keepUnknownItem();
                    if (rb.restype == AcDb::kDxfControlString) break;
                }
            }
            if (es != Acad::eOk && es != Acad::eEndOfObject) return es;
            break;
        }
        default:
            filer->keepUnknownItem();
            break;
        }
    }
    if (es != Acad::eEndOfObject) return es;
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler* filer) const
{
    const AcDbHandle handle = m_id.handle();
    if (!handle.isNull()) {
        // Dimension styles carry their handle in group 105.
        const bool dimStyle = isA() == AcDbDimStyleTableRecord::desc();
        filer->writeHandle(dimStyle ? AcDb::kDxfDimVarHandle : AcDb::kDxfHandle, handle);
    }
    if (!reactors().isEmpty()) {
        filer->writeString(AcDb::kDxfControlString, L"{ACAD_REACTORS");
        for (const AcDbObjectId& id : reactors()) filer->writeObjectId(AcDb::kDxfSoftPointerId, id);
        filer->writeString(AcDb::kDxfControlString, L"}");
    }
    if (const AcDbObjectId dict = extensionDictionary(); !dict.isNull() && !dict.isErased()) {
        filer->writeString(AcDb::kDxfControlString, L"{ACAD_XDICTIONARY");
        filer->writeObjectId(AcDb::kDxfHardOwnershipId, dict);
        filer->writeString(AcDb::kDxfControlString, L"}");
    }
    filer->writeObjectId(AcDb::kDxfSoftPointerId, m_ownerId);
    return filer->filerStatus();
}

// The in-memory copy filer carries what a copy needs; ownership and handle are the
// database's business.
Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* filer) { return filer->filerStatus(); }
Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* filer) const { return filer->filerStatus(); }

// ---------------------------------------------------------------------------- entity

Acad::ErrorStatus AcDbEntity::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    beforePropertiesChange();
    // A file without the marker (a careless writer) still has its groups read.
    filer->atSubclassData(L"AcDbEntity");
    AcDbDatabase* db = filer->database();
    resbuf rb{};
    bool trueColor = false;
    int index = -1;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        switch (rb.restype) {
        case AcDb::kDxfViewportVisibility:
            m_paperSpace = rb.resval.rint != 0;
            break;
        case AcDb::kDxfLayerName:
            if (!db) {
                filer->keepUnknownItem();
                break;
            }
            // Layers a file names without defining are made, as CAD programs do.
            m_layerId = filer->symbolId(db->layerTableId(), rb.resval.rstring, true);
            break;
        case AcDb::kDxfLinetypeName:
            if (!db) {
                filer->keepUnknownItem();
                break;
            }
            m_linetypeId = filer->symbolId(db->linetypeTableId(), rb.resval.rstring, true);
            break;
        case AcDb::kDxfColor:
            index = std::abs(rb.resval.rint);
            if (!trueColor) m_color.setColorIndex(static_cast<Adesk::UInt16>(index));
            break;
        case AcDb::kDxfColorRGB: {
            const auto rgb = static_cast<std::uint32_t>(rb.resval.rlong);
            m_color.setRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
            trueColor = true;
            break;
        }
        case AcDb::kDxfLineWeight:
            m_lineweight = static_cast<AcDb::LineWeight>(rb.resval.rint);
            break;
        case AcDb::kDxfLinetypeScale:
            m_ltscale = rb.resval.rreal;
            break;
        case AcDb::kDxfVisibility:
            m_visibility = rb.resval.rint ? AcDb::kInvisible : AcDb::kVisible;
            break;
        default:
            filer->keepUnknownItem();
            break;
        }
    }
    if (es != Acad::eEndOfObject) return es;
    if (trueColor && index >= 0) m_color.setIndexBesideRGB(static_cast<Adesk::UInt16>(index));
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbObject::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbEntity");
    if (m_paperSpace) filer->writeInt16(AcDb::kDxfViewportVisibility, 1);
    const std::string& layer = filer->symbolName(m_layerId);
    filer->writeUtf8(AcDb::kDxfLayerName, layer.empty() ? std::string_view("0") : std::string_view(layer));
    if (!m_linetypeId.isNull()) {
        const std::string& lt = filer->symbolName(m_linetypeId);
        if (!lt.empty() && !fendo::equalsNoCase(fendo::fromUtf8(lt), L"BYLAYER"))
            filer->writeUtf8(AcDb::kDxfLinetypeName, lt);
    }
    if (m_color.isByColor()) {
        // Readers take 420 over any index; an index the file gave beside it goes back too.
        if (m_color.indexBesideRGB() != AcCmEntityColor::kByLayerIndex)
            filer->writeInt16(AcDb::kDxfColor, static_cast<std::int16_t>(m_color.indexBesideRGB()));
        filer->writeInt32(AcDb::kDxfColorRGB, static_cast<std::int32_t>(m_color.rgb()));
    } else if (!m_color.isByLayer()) {
        filer->writeInt16(AcDb::kDxfColor, static_cast<std::int16_t>(m_color.colorIndex()));
    }
    if (m_lineweight != AcDb::kLnWtByLayer) filer->writeInt16(AcDb::kDxfLineWeight, static_cast<std::int16_t>(m_lineweight));
    if (m_ltscale != 1.0) filer->writeDouble(AcDb::kDxfLinetypeScale, m_ltscale);
    if (m_visibility == AcDb::kInvisible) filer->writeInt16(AcDb::kDxfVisibility, 1);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* filer)
{
    AcDbObject::dwgInFields(filer);
    std::uint8_t method = 0, r = 0, g = 0, b = 0;
    std::uint16_t index = 0;
    std::int32_t weight = 0;
    std::int8_t visibility = 0, paper = 0;
    beforePropertiesChange();
    filer->readHardPointerId(&m_layerId);
    filer->readHardPointerId(&m_linetypeId);
    filer->readUInt8(&method);
    filer->readUInt16(&index);
    filer->readUInt8(&r);
    filer->readUInt8(&g);
    filer->readUInt8(&b);
    filer->readDouble(&m_ltscale);
    filer->readInt32(&weight);
    filer->readInt8(&visibility);
    filer->readInt8(&paper);
    if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
    if (method == AcCm::kByColor)
        m_color.setRGB(r, g, b);
    else
        m_color.setColorIndex(index);
    m_lineweight = static_cast<AcDb::LineWeight>(weight);
    m_visibility = visibility ? AcDb::kInvisible : AcDb::kVisible;
    m_paperSpace = paper != 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* filer) const
{
    AcDbObject::dwgOutFields(filer);
    filer->writeHardPointerId(m_layerId);
    filer->writeHardPointerId(m_linetypeId);
    filer->writeUInt8(static_cast<std::uint8_t>(m_color.colorMethod()));
    filer->writeUInt16(m_color.colorIndex());
    filer->writeUInt8(m_color.red());
    filer->writeUInt8(m_color.green());
    filer->writeUInt8(m_color.blue());
    filer->writeDouble(m_ltscale);
    filer->writeInt32(m_lineweight);
    filer->writeInt8(m_visibility == AcDb::kInvisible ? 1 : 0);
    filer->writeInt8(m_paperSpace ? 1 : 0);
    return filer->filerStatus();
}
