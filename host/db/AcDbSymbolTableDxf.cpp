// Filing of the symbol tables and their records (TABLES section) and of dictionaries.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

AcDbObjectId idOf(const resbuf& rb)
{
    AcDbObjectId id;
    acdbGetObjectId(id, rb.resval.rlname);
    return id;
}

// An id from a group that carries a handle as text (390 ...).
AcDbObjectId idOfHandleText(AcDbDxfFiler* filer)
{
    bool ok = false;
    const AcDbHandle h = AcDbHandle::fromHex(filer->lastTag().value, &ok);
    return ok ? filer->idFromHandle(h) : AcDbObjectId();
}

// Reads a record's own section: handle(rb) takes the groups it models; name (2) and
// standard flags (70) are taken here when it does not; the rest is kept.
template <typename Handler>
Acad::ErrorStatus readRecordSection(AcDbDxfFiler* filer, AcDbSymbolTableRecord* rec, const ACHAR* subclass,
                                    Handler&& handle)
{
    filer->atSubclassData(subclass);
    resbuf rb{};
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (handle(rb)) continue;
        if (rb.restype == AcDb::kDxfSymTableRecName)
            rec->setNameFromFile(rb.resval.rstring);
        else if (rb.restype == AcDb::kDxfInt16)
            rec->setFlags70(rb.resval.rint);
        else
            filer->keepUnknownItem();
    }
    return es == Acad::eEndOfObject ? filer->filerStatus() : es;
}

void writeRecordStart(AcDbDxfFiler* filer, const AcDbSymbolTableRecord* rec, const ACHAR* subclass, int flags)
{
    filer->writeString(AcDb::kDxfSubclass, subclass);
    filer->writeString(AcDb::kDxfSymTableRecName, rec->name().c_str());
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
}

// The subclass marker of record classes that have no filing of their own.
const ACHAR* genericRecordSubclass(const AcDbSymbolTableRecord* rec)
{
    if (rec->isA() == AcDbViewTableRecord::desc()) return L"AcDbViewTableRecord";
    if (rec->isA() == AcDbRegAppTableRecord::desc()) return L"AcDbRegAppTableRecord";
    return nullptr;
}

bool hasKeptMarker(const AcDbObject* obj, const char* marker)
{
    if (const auto* kept = obj->keptGroups())
        for (const auto& g : *kept)
            if (g.tag.code == AcDb::kDxfSubclass && g.tag.value == marker) return true;
    return false;
}

bool hasKeptCode(const AcDbObject* obj, const std::wstring& subclass, int code)
{
    if (const auto* kept = obj->keptGroups())
        for (const auto& g : *kept)
            if (g.tag.code == code && g.subclass == subclass) return true;
    return false;
}

int liveCount(const std::vector<AcDbObjectId>& ids)
{
    int n = 0;
    for (const AcDbObjectId& id : ids)
        if (id.isValid() && !id.isErased()) ++n;
    return n;
}

AcCmColor colorFromIndex(int index)
{
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(index));
    return c;
}

}  // namespace

// ---------------------------------------------------------------------------- tables

Acad::ErrorStatus AcDbSymbolTable::dxfInFields(AcDbDxfFiler* filer)
{
    // The table's name (group 2) comes before its handle; the table type is known already.
    resbuf rb{};
    if (filer->readItem(&rb) == Acad::eOk && rb.restype != AcDb::kDxfSymbolTableName) filer->pushBackItem();
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbSymbolTable");
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (rb.restype != AcDb::kDxfInt16) filer->keepUnknownItem();  // 70 is the record count, recounted
    }
    return es == Acad::eEndOfObject ? filer->filerStatus() : es;
}

Acad::ErrorStatus AcDbSymbolTable::dxfOutFields(AcDbDxfFiler* filer) const
{
    filer->writeString(AcDb::kDxfSymbolTableName, tableName());
    AcDbObject::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbSymbolTable");
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(liveCount(m_records)));
    if (std::wcscmp(tableName(), L"DIMSTYLE") == 0 && !hasKeptMarker(this, "AcDbDimStyleTable")) {
        filer->writeString(AcDb::kDxfSubclass, L"AcDbDimStyleTable");
        filer->writeInt16(static_cast<AcDb::DxfCode>(71), static_cast<std::int16_t>(liveCount(m_records)));
    }
    return filer->filerStatus();
}

// ---------------------------------------------------------------------------- records

Acad::ErrorStatus AcDbSymbolTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (filer->atSubclassData(L"AcDbSymbolTableRecord")) {
        resbuf rb{};
        while ((es = filer->readItem(&rb)) == Acad::eOk) filer->keepUnknownItem();
        if (es != Acad::eEndOfObject) return es;
    }
    if (const ACHAR* subclass = genericRecordSubclass(this))
        return readRecordSection(filer, this, subclass, [](const resbuf&) { return false; });
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbObject::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbSymbolTableRecord");
    if (const ACHAR* subclass = genericRecordSubclass(this)) writeRecordStart(filer, this, subclass, m_flags);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLayerTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    AcDbDatabase* db = filer->database();
    bool trueColor = false;
    return readRecordSection(filer, this, L"AcDbLayerTableRecord", [&](const resbuf& rb) {
        switch (rb.restype) {
        case 70:
            m_frozen = (rb.resval.rint & 1) != 0;
            m_vpdflt = (rb.resval.rint & 2) != 0;
            m_locked = (rb.resval.rint & 4) != 0;
            setFlags70(rb.resval.rint & ~7);
            return true;
        case 62:
            // A negative colour is how a file says the layer is off.
            m_off = rb.resval.rint < 0;
            if (!trueColor) m_color = colorFromIndex(std::abs(rb.resval.rint));
            return true;
        case 420: {
            const auto rgb = static_cast<std::uint32_t>(rb.resval.rlong);
            m_color.setRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
            trueColor = true;
            return true;
        }
        case 6:
            if (!db) return false;
            m_linetype = filer->symbolId(db->linetypeTableId(), rb.resval.rstring, true);
            return true;
        case 290: m_plottable = rb.resval.rint != 0; return true;
        case 370: m_lineweight = static_cast<AcDb::LineWeight>(rb.resval.rint); return true;
        case 390: m_plotStyle = idOfHandleText(filer); return true;
        case 347: m_material = idOf(rb); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbLayerTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    const int flags = flags70() | (m_frozen ? 1 : 0) | (m_vpdflt ? 2 : 0) | (m_locked ? 4 : 0);
    writeRecordStart(filer, this, L"AcDbLayerTableRecord", flags);
    int index = m_color.colorIndex();
    if (index < 1 || index > 255) index = 7;
    filer->writeInt16(AcDb::kDxfColor, static_cast<std::int16_t>(m_off ? -index : index));
    if (m_color.isByColor()) filer->writeInt32(AcDb::kDxfColorRGB, static_cast<std::int32_t>(m_color.rgb()));
    const std::string& lt = filer->symbolName(m_linetype);
    filer->writeUtf8(AcDb::kDxfLinetypeName, lt.empty() ? std::string_view("Continuous") : std::string_view(lt));
    if (!m_plottable) filer->writeInt16(static_cast<AcDb::DxfCode>(290), 0);
    filer->writeInt16(AcDb::kDxfLineWeight, static_cast<std::int16_t>(m_lineweight));
    if (!m_plotStyle.isNull()) filer->writeObjectId(AcDb::kDxfPlotStyleNameId, m_plotStyle);
    if (!m_material.isNull()) filer->writeObjectId(static_cast<AcDb::DxfCode>(347), m_material);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    // The dash pattern is modelled when every element is a plain dash; a pattern with
    // text or shape elements is also kept whole, in order, and written back as read.
    fendo::db::RawTags pattern;
    bool complex = false;
    m_dashes.clear();
    es = readRecordSection(filer, this, L"AcDbLinetypeTableRecord", [&](const resbuf& rb) {
        switch (rb.restype) {
        case 3: m_comments = rb.resval.rstring; return true;
        case 40: m_patternLength = rb.resval.rreal; break;
        case 49: m_dashes.push_back(rb.resval.rreal); break;
        case 74: complex = complex || rb.resval.rint != 0; break;
        case 72: case 73: case 75: case 340: case 46: case 50: case 44: case 45: case 9: break;
        default: return false;
        }
        pattern.push_back(filer->lastTag());
        return true;
    });
    if (complex)
        for (auto& tag : pattern) keepGroup(L"AcDbLinetypeTableRecord", std::move(tag));
    return es;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    writeRecordStart(filer, this, L"AcDbLinetypeTableRecord", flags70());
    filer->writeString(static_cast<AcDb::DxfCode>(3), m_comments.c_str());
    if (hasKeptCode(this, L"AcDbLinetypeTableRecord", 49)) return filer->filerStatus();  // complex, kept whole
    filer->writeInt16(static_cast<AcDb::DxfCode>(72), 65);
    filer->writeInt16(static_cast<AcDb::DxfCode>(73), static_cast<std::int16_t>(m_dashes.size()));
    filer->writeDouble(AcDb::kDxfReal, m_patternLength);
    for (double d : m_dashes) {
        filer->writeDouble(AcDb::kDxfDashLength, d);
        filer->writeInt16(static_cast<AcDb::DxfCode>(74), 0);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readRecordSection(filer, this, L"AcDbTextStyleTableRecord", [&](const resbuf& rb) {
        switch (rb.restype) {
        case 40: m_size = rb.resval.rreal; return true;
        case 41: m_xscale = rb.resval.rreal; return true;
        case 50: m_oblique = rb.resval.rreal * kRadiansPerDegree; return true;
        case 71: m_genFlags = static_cast<Adesk::UInt8>(rb.resval.rint); return true;
        case 42: m_prior = rb.resval.rreal; return true;
        case 3: m_file = rb.resval.rstring; return true;
        case 4: m_bigFont = rb.resval.rstring; return true;
        default: return false;
        }
    });
    // The TrueType face name travels in the "ACAD" extended data (1000 after 1001 ACAD).
    if (const auto* xd = rawXData()) {
        for (size_t i = 0; i + 1 < xd->size(); ++i)
            if ((*xd)[i].code == AcDb::kDxfRegAppName && (*xd)[i].value == "ACAD" &&
                (*xd)[i + 1].code == AcDb::kDxfXdAsciiString) {
                m_typeface = fendo::fromUtf8((*xd)[i + 1].value);
                break;
            }
    }
    return es;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    writeRecordStart(filer, this, L"AcDbTextStyleTableRecord", flags70());
    filer->writeDouble(AcDb::kDxfTxtSize, m_size);
    filer->writeDouble(AcDb::kDxfTxtStyleXScale, m_xscale);
    filer->writeDouble(AcDb::kDxfAngle, m_oblique / kRadiansPerDegree);
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), m_genFlags);
    filer->writeDouble(AcDb::kDxfTxtStylePSize, m_prior);
    filer->writeString(AcDb::kDxfTextFontFile, m_file.c_str());
    filer->writeString(AcDb::kDxfTextBigFontFile, m_bigFont.c_str());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readRecordSection(filer, this, L"AcDbBlockTableRecord", [&](const resbuf& rb) {
        if (rb.restype != 340) return false;
        m_layout = idOf(rb);
        return true;
    });
}

Acad::ErrorStatus AcDbBlockTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbBlockTableRecord");
    filer->writeString(AcDb::kDxfSymTableRecName, name().c_str());
    if (!hasKeptCode(this, L"AcDbBlockTableRecord", 70) && flags70() != 0)
        filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags70()));
    filer->writeObjectId(AcDb::kDxfHardPointerId, m_layout);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbDimStyleTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readRecordSection(filer, this, L"AcDbDimStyleTableRecord", [](const resbuf&) { return false; });
}

Acad::ErrorStatus AcDbDimStyleTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    writeRecordStart(filer, this, L"AcDbDimStyleTableRecord", flags70());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbUCSTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readRecordSection(filer, this, L"AcDbUCSTableRecord", [&](const resbuf& rb) {
        const double* p = rb.resval.rpoint;
        switch (rb.restype) {
        case 10: m_origin.set(p[0], p[1], p[2]); return true;
        case 11: m_x.set(p[0], p[1], p[2]); return true;
        case 12: m_y.set(p[0], p[1], p[2]); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbUCSTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    writeRecordStart(filer, this, L"AcDbUCSTableRecord", flags70());
    filer->writePoint3d(AcDb::kDxfXCoord, m_origin);
    filer->writeVector3d(static_cast<AcDb::DxfCode>(11), m_x);
    filer->writeVector3d(static_cast<AcDb::DxfCode>(12), m_y);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbViewportTableRecord::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readRecordSection(filer, this, L"AcDbViewportTableRecord", [&](const resbuf& rb) {
        switch (rb.restype) {
        case 12: m_center.set(rb.resval.rpoint[0], rb.resval.rpoint[1]); return true;
        case 40: m_height = rb.resval.rreal; return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbViewportTableRecord::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbSymbolTableRecord::dxfOutFields(filer);
    writeRecordStart(filer, this, L"AcDbViewportTableRecord", flags70());
    filer->writePoint2d(static_cast<AcDb::DxfCode>(12), m_center);
    filer->writeDouble(AcDb::kDxfViewportHeight, m_height);
    return filer->filerStatus();
}

// ---------------------------------------------------------------------------- dictionaries

Acad::ErrorStatus AcDbDictionary::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbObject::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    filer->atSubclassData(L"AcDbDictionary");
    resbuf rb{};
    std::wstring key;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        switch (rb.restype) {
        case 280: m_hardOwner = rb.resval.rint != 0; break;
        case 281: m_merge = rb.resval.rint; break;
        case 3: key = rb.resval.rstring; break;
        case 350:
        case 360:
            if (rb.restype == 360) m_hardEntries.push_back(idOf(rb));
            appendLoadedEntry(key, idOf(rb));
            break;
        default: filer->keepUnknownItem(); break;
        }
    }
    return es == Acad::eEndOfObject ? filer->filerStatus() : es;
}

Acad::ErrorStatus AcDbDictionary::dxfOutFields(AcDbDxfFiler* filer) const
{
    AcDbObject::dxfOutFields(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbDictionary");
    if (m_hardOwner) filer->writeInt16(AcDb::kDxfInt8, 1);
    filer->writeInt16(AcDb::kDxfRenderMode, static_cast<std::int16_t>(m_merge));
    for (const auto& [name, id] : m_order) {
        if (id.isErased()) continue;
        const bool hard = m_hardOwner || std::find(m_hardEntries.begin(), m_hardEntries.end(), id) != m_hardEntries.end();
        filer->writeString(static_cast<AcDb::DxfCode>(3), name.c_str());
        filer->writeObjectId(hard ? AcDb::kDxfHardOwnershipId : AcDb::kDxfSoftOwnershipId, id);
    }
    return filer->filerStatus();
}
