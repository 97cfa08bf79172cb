// Aligned and rotated dimensions: extension-line and dimension-line points, measurement,
// simple drawing and filing as DIMENSION.
#include "host/db/entities/AcDbDimension.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDimension, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDbAlignedDimension, AcDbDimension, 0, 0, 0, DIMENSION, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbRotatedDimension, AcDbAlignedDimension, 0, 0, 0, DIMENSION, ObjectDBX Classes)

// ---- common ---------------------------------------------------------------------------

Acad::ErrorStatus AcDbDimension::setDimensionText(const ACHAR* text) { assertWriteEnabled(); m_text = text; return Acad::eOk; }
Acad::ErrorStatus AcDbDimension::setTextPosition(const AcGePoint3d& p) { assertWriteEnabled(); m_textPosition = p; return Acad::eOk; }
Acad::ErrorStatus AcDbDimension::setTextRotation(double r) { assertWriteEnabled(); m_textRotation = r; return Acad::eOk; }

Acad::ErrorStatus AcDbDimension::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

AcDbObjectId AcDbDimension::dimensionStyle() const
{
    if (m_style.isNull() && !m_styleName.empty())
        if (AcDbDatabase* db = database()) m_style = ent::lookupRecord(db, db->dimStyleTableId(), m_styleName);
    return m_style;
}

Acad::ErrorStatus AcDbDimension::setDimensionStyle(AcDbObjectId style)
{
    assertWriteEnabled();
    m_style = style;
    m_styleName.clear();
    return Acad::eOk;
}

AcDbObjectId AcDbDimension::dimBlockId() const
{
    if (m_block.isNull() && !m_blockName.empty())
        if (AcDbDatabase* db = database()) m_block = ent::lookupRecord(db, db->blockTableId(), m_blockName);
    return m_block;
}

void AcDbDimension::transformCommon(const AcGeMatrix3d& xform)
{
    m_dimLinePoint.transformBy(xform);
    m_textPosition.transformBy(xform);
    m_normal = ent::mapPlane(xform, m_normal).normal;
}

Acad::ErrorStatus AcDbDimension::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbDimension");
    AcGePoint3d ocsText;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 2: m_blockName = ent::asString(rb); return true;
        case 3: m_styleName = ent::asString(rb); return true;
        case 1: m_text = ent::asString(rb); return true;
        case 10: m_dimLinePoint = ent::asPoint(rb); return true;
        case 11: ocsText = ent::asPoint(rb); return true;
        case 42: m_measurementRead = ent::asReal(rb); return true;
        case 53: m_textRotation = ent::angleOfLastItem(filer); return true;
        case 70: m_flagsHigh = ent::asInt(rb) & ~7; return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
    m_textPosition = ent::ocsToWcs(m_normal) * ocsText;
    return es;
}

Acad::ErrorStatus AcDbDimension::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbDimension");
    std::wstring block = dimBlockId().isNull() ? m_blockName : ent::recordName(dimBlockId());
    filer->writeString(AcDb::kDxfBlockName, block.c_str());
    filer->writePoint3d(AcDb::kDxfXCoord, m_dimLinePoint);
    filer->writePoint3d(static_cast<AcDb::DxfCode>(11), ent::wcsToOcs(m_normal) * m_textPosition);
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(m_flagsHigh | dimensionType()));
    double value = 0.0;
    if (measurement(value) == Acad::eOk) filer->writeDouble(static_cast<AcDb::DxfCode>(42), value);
    if (!m_text.empty()) filer->writeString(AcDb::kDxfText, m_text);
    if (m_textRotation != 0.0) filer->writeAngle(static_cast<AcDb::DxfCode>(53), m_textRotation);
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    std::wstring style = dimensionStyle().isNull() ? m_styleName : ent::recordName(dimensionStyle());
    filer->writeString(AcDb::kDxfDimStyleName, style.empty() ? L"Standard" : style.c_str());
    return filer->filerStatus();
}

// ---- aligned --------------------------------------------------------------------------

AcDbAlignedDimension::AcDbAlignedDimension(const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                                           const AcGePoint3d& dimLinePoint, const ACHAR* dimText,
                                           AcDbObjectId dimStyle)
    : m_x1(xLine1Point), m_x2(xLine2Point)
{
    m_dimLinePoint = dimLinePoint;
    if (dimText) setDimensionText(dimText);
    if (!dimStyle.isNull()) setDimensionStyle(dimStyle);
    setTextPosition(dimLinePoint + (xLine1Point - xLine2Point) * 0.5);
}

Acad::ErrorStatus AcDbAlignedDimension::setXLine1Point(const AcGePoint3d& p) { assertWriteEnabled(); m_x1 = p; return Acad::eOk; }
Acad::ErrorStatus AcDbAlignedDimension::setXLine2Point(const AcGePoint3d& p) { assertWriteEnabled(); m_x2 = p; return Acad::eOk; }
Acad::ErrorStatus AcDbAlignedDimension::setDimLinePoint(const AcGePoint3d& p) { assertWriteEnabled(); m_dimLinePoint = p; return Acad::eOk; }
Acad::ErrorStatus AcDbAlignedDimension::setOblique(double a) { assertWriteEnabled(); m_oblique = a; return Acad::eOk; }

Acad::ErrorStatus AcDbAlignedDimension::measurement(double& value) const
{
    value = m_x1.distanceTo(m_x2);
    return Acad::eOk;
}

void AcDbAlignedDimension::dimLineEnds(AcGePoint3d& a, AcGePoint3d& b) const
{
    // The dimension line runs through dimLinePoint parallel to x1-x2.
    AcGeVector3d d = m_x2 - m_x1;
    if (d.isZeroLength()) {
        a = b = m_dimLinePoint;
        return;
    }
    AcGeVector3d u = d / d.length();
    a = m_dimLinePoint + u * (m_x1 - m_dimLinePoint).dotProduct(u);
    b = m_dimLinePoint + u * (m_x2 - m_dimLinePoint).dotProduct(u);
}

Acad::ErrorStatus AcDbAlignedDimension::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    AcGePoint3d a, b;
    dimLineEnds(a, b);
    for (const AcGePoint3d& p : {m_x1, m_x2, a, b, textPosition()}) extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAlignedDimension::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_x1.transformBy(xform);
    m_x2.transformBy(xform);
    transformCommon(xform);
    return Acad::eOk;
}

bool AcDbAlignedDimension::worldDraw(AcGiWorldDraw* wd)
{
    AcGePoint3d a, b;
    dimLineEnds(a, b);
    AcGePoint3d l1[2] = {m_x1, a}, l2[2] = {m_x2, b}, dl[2] = {a, b};
    wd->geometry().polyline(2, l1);
    wd->geometry().polyline(2, l2);
    wd->geometry().polyline(2, dl);
    drawText(wd, b - a);
    return true;
}

// The dimension's text centred on its text position, along the dimension line and reading
// left to right: the override, with "<>" standing for the measurement ("" the measurement
// alone, " " no text), the measurement with the drawing's linear precision.
void AcDbDimension::drawText(AcGiWorldDraw* wd, const AcGeVector3d& along) const
{
    // Height of dimension texts when the style's own is not modelled (the metric default).
    constexpr double kDimTextHeight = 2.5;
    std::wstring text = m_text.c_str();
    if (text == L" ") return;
    double value = 0.0;
    measurement(value);
    AcDbDatabase* db = database();
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.*f", db ? std::clamp(db->luprec(), 0, 8) : 2, value);
    if (text.empty()) text = buf;
    else if (size_t at = text.find(L"<>"); at != std::wstring::npos) text.replace(at, 2, buf);
    AcGeVector3d x = along - m_normal * along.dotProduct(m_normal);
    x = x.isZeroLength() ? ent::directionInOcs(m_textRotation, m_normal) : x.normal();
    if (x.x < -1e-9 || (std::abs(x.x) <= 1e-9 && x.y < 0)) x = -x;
    const AcGeVector3d y = m_normal.crossProduct(x);
    const fendo::fonts::TextMeasure m = fendo::fonts::measureText(
        text, ent::textStyleFont(db ? db->textstyle() : AcDbObjectId()), {kDimTextHeight, 1.0, 0.0});
    const AcGePoint3d at = m_textPosition - x * (m.advance / 2) - y * (kDimTextHeight / 2);
    wd->geometry().text(at, m_normal, x, kDimTextHeight, 1.0, 0.0, text.c_str());
}

Acad::ErrorStatus AcDbAlignedDimension::readAlignedSection(AcDbDxfFiler* filer, double* rotation)
{
    ent::enterSection(filer, L"AcDbAlignedDimension");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 13: m_x1 = ent::asPoint(rb); return true;
        case 14: m_x2 = ent::asPoint(rb); return true;
        case 52: m_oblique = ent::angleOfLastItem(filer); return true;
        case 50:
            if (!rotation) return false;
            *rotation = ent::angleOfLastItem(filer);
            return true;
        default: return false;
        }
    });
}

void AcDbAlignedDimension::writeAlignedSection(AcDbDxfFiler* filer, const double* rotation) const
{
    filer->writeString(AcDb::kDxfSubclass, L"AcDbAlignedDimension");
    filer->writePoint3d(static_cast<AcDb::DxfCode>(13), m_x1);
    filer->writePoint3d(static_cast<AcDb::DxfCode>(14), m_x2);
    if (rotation) filer->writeAngle(AcDb::kDxfAngle, *rotation);
    if (m_oblique != 0.0) filer->writeAngle(static_cast<AcDb::DxfCode>(52), m_oblique);
}

Acad::ErrorStatus AcDbAlignedDimension::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbDimension::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readAlignedSection(filer, nullptr);
}

Acad::ErrorStatus AcDbAlignedDimension::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbDimension::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeAlignedSection(filer, nullptr);
    return filer->filerStatus();
}

// ---- rotated --------------------------------------------------------------------------

AcDbRotatedDimension::AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point,
                                           const AcGePoint3d& xLine2Point, const AcGePoint3d& dimLinePoint,
                                           const ACHAR* dimText, AcDbObjectId dimStyle)
    : AcDbAlignedDimension(xLine1Point, xLine2Point, dimLinePoint, dimText, dimStyle), m_rotation(rotation)
{
}

Acad::ErrorStatus AcDbRotatedDimension::setRotation(double r) { assertWriteEnabled(); m_rotation = r; return Acad::eOk; }

Acad::ErrorStatus AcDbRotatedDimension::measurement(double& value) const
{
    AcGeVector3d dir = ent::directionInOcs(m_rotation, normal());
    value = std::abs((m_x2 - m_x1).dotProduct(dir));
    return Acad::eOk;
}

void AcDbRotatedDimension::dimLineEnds(AcGePoint3d& a, AcGePoint3d& b) const
{
    AcGeVector3d u = ent::directionInOcs(m_rotation, normal());
    a = m_dimLinePoint + u * (m_x1 - m_dimLinePoint).dotProduct(u);
    b = m_dimLinePoint + u * (m_x2 - m_dimLinePoint).dotProduct(u);
}

Acad::ErrorStatus AcDbRotatedDimension::transformBy(const AcGeMatrix3d& xform)
{
    AcGeVector3d dir = ent::directionInOcs(m_rotation, normal());
    dir.transformBy(xform);
    Acad::ErrorStatus es = AcDbAlignedDimension::transformBy(xform);
    if (es == Acad::eOk) m_rotation = ent::angleInOcs(dir, normal());
    return es;
}

Acad::ErrorStatus AcDbRotatedDimension::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbDimension::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readAlignedSection(filer, &m_rotation);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbRotatedDimension");
    return ent::readSection(filer, [](const resbuf&) { return false; });
}

Acad::ErrorStatus AcDbRotatedDimension::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbDimension::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeAlignedSection(filer, &m_rotation);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbRotatedDimension");
    return filer->filerStatus();
}
