// Single-line text: data, extents from the style's font for every justification, world
// drawing, transformations and filing as TEXT.
#include "host/db/entities/AcDbText.h"

#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"
#include "host/fonts/TextPlacement.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, 0, 0, 0, TEXT, ObjectDBX Classes)

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height,
                   double rotation)
    : m_text(text), m_position(position), m_alignment(position), m_rotation(rotation), m_style(style)
{
    if (height > 0.0) m_height = height;
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) { assertWriteEnabled(); m_text = text; return Acad::eOk; }
Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) { assertWriteEnabled(); m_position = p; return Acad::eOk; }
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) { assertWriteEnabled(); m_alignment = p; return Acad::eOk; }

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode)
{
    assertWriteEnabled();
    m_hmode = mode;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode)
{
    assertWriteEnabled();
    m_vmode = mode;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setJustification(AcDb::TextHorzMode h, AcDb::TextVertMode v)
{
    assertWriteEnabled();
    m_hmode = h;
    m_vmode = v;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double h)
{
    if (!(h > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_height = h;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double r) { assertWriteEnabled(); m_rotation = r; return Acad::eOk; }

Acad::ErrorStatus AcDbText::setWidthFactor(double w)
{
    if (!(w > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_widthFactor = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setOblique(double a) { assertWriteEnabled(); m_oblique = a; return Acad::eOk; }

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style)
{
    assertWriteEnabled();
    m_style = style;
    m_styleName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setThickness(double t) { assertWriteEnabled(); m_thickness = t; return Acad::eOk; }

Acad::ErrorStatus AcDbText::mirrorInX(bool mirror)
{
    assertWriteEnabled();
    m_genFlags = mirror ? (m_genFlags | 2) : (m_genFlags & ~2);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInY(bool mirror)
{
    assertWriteEnabled();
    m_genFlags = mirror ? (m_genFlags | 4) : (m_genFlags & ~4);
    return Acad::eOk;
}

AcDbObjectId AcDbText::styleForMeasuring() const
{
    if (!m_style.isNull()) return m_style;
    AcDbDatabase* db = database();
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return AcDbObjectId::kNull;
    return ent::lookupRecord(db, db->textStyleTableId(), m_styleName.empty() ? L"Standard" : m_styleName);
}

fendo::fonts::PlacedText AcDbText::place(double& planeZ) const
{
    AcGeMatrix3d toOcs = ent::wcsToOcs(m_normal);
    AcGePoint3d p = toOcs * m_position;
    AcGePoint3d a = toOcs * m_alignment;
    planeZ = isDefaultAlignment() ? p.z : a.z;
    fendo::fonts::TextLayout layout;
    layout.position = {p.x, p.y};
    layout.alignmentPoint = {a.x, a.y};
    layout.horizontal = static_cast<fendo::fonts::HorizontalMode>(m_hmode);
    layout.vertical = static_cast<fendo::fonts::VerticalMode>(m_vmode);
    layout.height = m_height;
    layout.rotation = m_rotation;
    layout.widthFactor = m_widthFactor;
    layout.oblique = m_oblique;
    fendo::fonts::PlacedText placed = fendo::fonts::placeText(m_text, ent::textStyleFont(styleForMeasuring()), layout);
    if (m_genFlags & 6) {
        // Backward and upside-down texts are the box mirrored about the anchor: across the
        // line perpendicular to the baseline, and across the baseline.
        AcGePoint2d anchor = isDefaultAlignment() || m_hmode == AcDb::kTextAlign || m_hmode == AcDb::kTextFit
                                 ? placed.insertion
                                 : layout.alignmentPoint;
        AcGeVector2d d(std::cos(placed.rotation), std::sin(placed.rotation));
        AcGeVector2d n = d.perpVector();
        for (AcGePoint2d& c : placed.corners) {
            if (m_genFlags & 2) c -= d * (2.0 * (c - anchor).dotProduct(d));
            if (m_genFlags & 4) c -= n * (2.0 * (c - placed.insertion).dotProduct(n));
        }
    }
    return placed;
}

Acad::ErrorStatus AcDbText::adjustAlignment(AcDbDatabase*)
{
    if (isDefaultAlignment()) return Acad::eOk;
    assertWriteEnabled();
    double z = 0.0;
    fendo::fonts::PlacedText placed = place(z);
    m_position = ent::ocsToWcs(m_normal) * AcGePoint3d(placed.insertion.x, placed.insertion.y, z);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getBoundingPoints(AcGePoint3dArray& corners) const
{
    double z = 0.0;
    fendo::fonts::PlacedText placed = place(z);
    AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    corners.removeAll();
    for (const AcGePoint2d& c : placed.corners) corners.append(toWorld * AcGePoint3d(c.x, c.y, z));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    AcGePoint3dArray corners;
    getBoundingPoints(corners);
    for (const AcGePoint3d& c : corners) {
        extents.addPoint(c);
        if (m_thickness != 0.0) extents.addPoint(c + m_normal * m_thickness);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform)
{
    if (!ent::keepsShape(xform)) return Acad::eNotApplicable;
    assertWriteEnabled();
    AcGeVector3d dir = ent::directionInOcs(m_rotation, m_normal);
    dir.transformBy(xform);
    ent::PlaneMap map = ent::mapPlane(xform, m_normal);
    m_position.transformBy(xform);
    m_alignment.transformBy(xform);
    m_normal = map.normal;
    m_rotation = ent::angleInOcs(dir, m_normal);
    const double s = xform.scale();
    m_height *= s;
    m_thickness *= s;
    if (map.mirrored) m_genFlags ^= 2;  // a mirrored text reads backwards
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::explode(AcDbVoidPtrArray&) const
{
    return Acad::eNotApplicable;
}

bool AcDbText::worldDraw(AcGiWorldDraw* wd)
{
    double z = 0.0;
    fendo::fonts::PlacedText placed = place(z);
    AcGeVector3d dir = ent::directionInOcs(placed.rotation, m_normal);
    AcGePoint3d at = ent::ocsToWcs(m_normal) * AcGePoint3d(placed.insertion.x, placed.insertion.y, z);
    wd->geometry().text(at, m_normal, dir, placed.height, placed.widthFactor, m_oblique, m_text.c_str());
    return true;
}

Acad::ErrorStatus AcDbText::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_position);
    if (!isDefaultAlignment()) gripPoints.append(m_alignment);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    for (int i : indices) {
        if (i == 0) {
            m_position += offset;
            if (!isDefaultAlignment()) m_alignment += offset;
        } else if (i == 1) {
            m_alignment += offset;
        }
    }
    adjustAlignment();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::readTextSection(AcDbDxfFiler* filer, bool takeVertical73)
{
    ent::enterSection(filer, L"AcDbText");
    AcGePoint3d pos, align;
    bool haveAlign = false;
    Acad::ErrorStatus es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: pos = ent::asPoint(rb); return true;
        case 11: align = ent::asPoint(rb); haveAlign = true; return true;
        case 1: m_text = ent::asString(rb); return true;
        case 7: {
            m_styleName = ent::asString(rb);
            AcDbDatabase* db = filer->database();
            m_style = db ? ent::lookupRecord(db, db->textStyleTableId(), m_styleName) : AcDbObjectId::kNull;
            if (!m_style.isNull()) m_styleName.clear();
            return true;
        }
        case 39: m_thickness = ent::asReal(rb); return true;
        case 40: m_height = ent::asReal(rb); return true;
        case 41: m_widthFactor = ent::asReal(rb); return true;
        case 50: m_rotation = ent::angleOfLastItem(filer); return true;
        case 51: m_oblique = ent::angleOfLastItem(filer); return true;
        case 71: m_genFlags = ent::asInt(rb); return true;
        case 72: {
            int h = ent::asInt(rb);
            m_hmode = static_cast<AcDb::TextHorzMode>(h < 0 || h > 5 ? 0 : h);
            return true;
        }
        case 73:
            if (!takeVertical73) return false;
            setVerticalModeRaw(ent::asInt(rb));
            return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
    AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    m_position = toWorld * pos;
    m_alignment = haveAlign ? toWorld * align : m_position;
    return es;
}

void AcDbText::writeTextSection(AcDbDxfFiler* filer) const
{
    AcGeMatrix3d toOcs = ent::wcsToOcs(m_normal);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbText");
    if (m_thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, m_thickness);
    filer->writePoint3d(AcDb::kDxfXCoord, toOcs * m_position);
    filer->writeDouble(AcDb::kDxfTxtSize, m_height);
    filer->writeString(AcDb::kDxfText, m_text);
    if (m_rotation != 0.0) filer->writeAngle(AcDb::kDxfAngle, m_rotation);
    if (m_widthFactor != 1.0) filer->writeDouble(AcDb::kDxfTxtStyleXScale, m_widthFactor);
    if (m_oblique != 0.0) filer->writeAngle(static_cast<AcDb::DxfCode>(51), m_oblique);
    std::wstring style = m_style.isNull() ? m_styleName : ent::recordName(m_style);
    if (!style.empty()) filer->writeString(AcDb::kDxfTextStyleName, style.c_str());
    if (m_genFlags != 0) filer->writeInt16(static_cast<AcDb::DxfCode>(71), static_cast<std::int16_t>(m_genFlags));
    if (m_hmode != AcDb::kTextLeft) filer->writeInt16(static_cast<AcDb::DxfCode>(72), static_cast<std::int16_t>(m_hmode));
    if (!isDefaultAlignment()) filer->writePoint3d(static_cast<AcDb::DxfCode>(11), toOcs * m_alignment);
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
}

Acad::ErrorStatus AcDbText::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readTextSection(filer, true);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbText");
    return ent::readSection(filer, [&](const resbuf& rb) {
        if (rb.restype != 73) return false;
        setVerticalModeRaw(ent::asInt(rb));
        return true;
    });
}

Acad::ErrorStatus AcDbText::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeTextSection(filer);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbText");
    if (m_vmode != AcDb::kTextBase) filer->writeInt16(static_cast<AcDb::DxfCode>(73), static_cast<std::int16_t>(m_vmode));
    return filer->filerStatus();
}
