// Survey point objects: drawing, editing and filing.
#include "companions/kvoobjects/KvoDbPointObj.h"

#include <cmath>
#include <cstdio>
#include "host/core/NumberText.h"
#include "host/db/AcDbFiler.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbText.h"
#include "host/gi/AcGi.h"

ACRX_DXF_DEFINE_MEMBERS(KvoDbPointObj, AcDbEntity, 27, 1, 0, KVOPOINT, KVOObjects17)
ACRX_DXF_DEFINE_MEMBERS(KvoDbMeasurePointObj, KvoDbPointObj, 27, 1, 0, KVOMEASUREPOINT, KVOObjects17)

namespace {
// Marker size relative to the label height: a cross of this half-size at the point.
constexpr double kMarkerPerLabelHeight = 0.5;
// The label starts this many label heights to the right of the point.
constexpr double kLabelOffsetPerHeight = 0.75;

AcGeVector3d labelDirection(double rotation) { return AcGeVector3d(std::cos(rotation), std::sin(rotation), 0); }
}  // namespace

void KvoDbPointObj::Set(const AcGePoint3d& position, const wchar_t* text0, const wchar_t* text1, const wchar_t* text2)
{
    assertWriteEnabled();
    m_position = position;
    m_texts = {text0 ? text0 : L"", text1 ? text1 : L"", text2 ? text2 : L""};
}

AcGePoint3d KvoDbPointObj::GetPoint() const { return m_position; }

const wchar_t* KvoDbPointObj::Get(int index) const
{
    return index >= 0 && index < 3 ? m_texts[static_cast<size_t>(index)].c_str() : L"";
}

void KvoDbPointObj::SetRotation(double radians)
{
    assertWriteEnabled();
    m_rotation = radians;
}

double KvoDbPointObj::Rotation() const { return m_rotation; }

std::wstring KvoDbPointObj::label() const
{
    return fendo::fixedText(m_position.z, 2);
}

void KvoDbPointObj::applyColor(AcGiWorldDraw*) const {}

bool KvoDbPointObj::worldDraw(AcGiWorldDraw* wd)
{
    applyColor(wd);
    const double h = labelHeight();
    const double m = h * kMarkerPerLabelHeight;
    const AcGePoint3d& p = m_position;
    const AcGePoint3d a[2] = {AcGePoint3d(p.x - m, p.y, p.z), AcGePoint3d(p.x + m, p.y, p.z)};
    const AcGePoint3d b[2] = {AcGePoint3d(p.x, p.y - m, p.z), AcGePoint3d(p.x, p.y + m, p.z)};
    wd->geometry().polyline(2, a);
    wd->geometry().polyline(2, b);
    const AcGeVector3d dir = labelDirection(m_rotation);
    const AcGePoint3d at = p + dir * (h * kLabelOffsetPerHeight);
    const std::wstring text = label();
    wd->geometry().text(at, AcGeVector3d::kZAxis, dir, h, 1.0, 0.0, text.c_str());
    return true;
}

Acad::ErrorStatus KvoDbPointObj::getGeomExtents(AcDbExtents& extents) const
{
    const double h = labelHeight();
    const double m = h * kMarkerPerLabelHeight;
    extents = AcDbExtents();
    extents.addPoint(m_position - AcGeVector3d(m, m, 0));
    extents.addPoint(m_position + AcGeVector3d(m, m, 0));
    // The label: a box of its text's length at 0.8 height per character along the label direction.
    const AcGeVector3d dir = labelDirection(m_rotation);
    const AcGeVector3d up(-dir.y, dir.x, 0);
    const AcGePoint3d start = m_position + dir * (h * kLabelOffsetPerHeight);
    const double len = 0.8 * h * static_cast<double>(label().size());
    for (const AcGePoint3d& q : {start, start + dir * len, start + up * h, start + dir * len + up * h}) extents.addPoint(q);
    return Acad::eOk;
}

Acad::ErrorStatus KvoDbPointObj::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    AcGeVector3d dir = labelDirection(m_rotation);
    dir.transformBy(xform);
    m_position.transformBy(xform);
    if (!dir.isZeroLength()) m_rotation = std::atan2(dir.y, dir.x);
    return Acad::eOk;
}

Acad::ErrorStatus KvoDbPointObj::getGripPoints(AcGePoint3dArray& points, AcDbIntArray&, AcDbIntArray&) const
{
    points.append(m_position);
    return Acad::eOk;
}

Acad::ErrorStatus KvoDbPointObj::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    if (indices.contains(0)) m_position += offset;
    return Acad::eOk;
}

Acad::ErrorStatus KvoDbPointObj::explode(AcDbVoidPtrArray& entitySet) const
{
    auto* point = new AcDbPoint(m_position);
    point->setPropertiesFrom(this);
    entitySet.append(point);
    auto* text = new AcDbText;
    text->setPropertiesFrom(this);
    const double h = labelHeight();
    text->setPosition(m_position + labelDirection(m_rotation) * (h * kLabelOffsetPerHeight));
    text->setHeight(h);
    text->setRotation(m_rotation);
    const std::wstring s = label();
    text->setTextString(s.c_str());
    entitySet.append(text);
    return Acad::eOk;
}

Acad::ErrorStatus KvoDbPointObj::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"KvoDbPointObj");
    filer->writePoint3d(AcDb::kDxfXCoord, m_position);
    filer->writeString(AcDb::kDxfXTextString, m_texts[0].c_str());
    filer->writeString(static_cast<AcDb::DxfCode>(301), m_texts[1].c_str());
    filer->writeString(static_cast<AcDb::DxfCode>(302), m_texts[2].c_str());
    filer->writeDouble(AcDb::kDxfAngle, m_rotation);
    return filer->filerStatus();
}

Acad::ErrorStatus KvoDbPointObj::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"KvoDbPointObj")) return Acad::eBadDxfSequence;
    resbuf rb;
    while (filer->readItem(&rb) == Acad::eOk) {
        switch (rb.restype) {
        case 10: m_position = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]); break;
        case 300: m_texts[0] = rb.resval.rstring; break;
        case 301: m_texts[1] = rb.resval.rstring; break;
        case 302: m_texts[2] = rb.resval.rstring; break;
        case 50: m_rotation = rb.resval.rreal; break;
        default: filer->keepUnknownItem(); break;
        }
    }
    return filer->filerStatus();
}

// ---- measured points -----------------------------------------------------------------

KvoDbMeasurePointObj::KvoDbMeasurePointObj() { m_heights.fill(1.0); }

void KvoDbMeasurePointObj::SetColor(const AcCmEntityColor& color)
{
    assertWriteEnabled();
    m_color = color;
}

AcCmEntityColor KvoDbMeasurePointObj::GetColor() const { return m_color; }

void KvoDbMeasurePointObj::SetTextHeight(int index, double height)
{
    assertWriteEnabled();
    if (index >= 0 && index < 4) m_heights[static_cast<size_t>(index)] = height;
}

double KvoDbMeasurePointObj::TextHeight(int index) const
{
    return index >= 0 && index < 4 ? m_heights[static_cast<size_t>(index)] : 0.0;
}

Acad::ErrorStatus KvoDbMeasurePointObj::transformBy(const AcGeMatrix3d& xform)
{
    const Acad::ErrorStatus es = KvoDbPointObj::transformBy(xform);
    if (es == Acad::eOk && std::abs(xform.scale() - 1.0) > 1e-12)
        for (double& h : m_heights) h *= xform.scale();
    return es;
}

void KvoDbMeasurePointObj::applyColor(AcGiWorldDraw* wd) const
{
    if (m_color.isByACI())
        wd->subEntityTraits().setColor(m_color.colorIndex());
    else if (m_color.isByColor())
        wd->subEntityTraits().setTrueColor(m_color);
}

Acad::ErrorStatus KvoDbMeasurePointObj::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = KvoDbPointObj::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"KvoDbMeasurePointObj");
    filer->writeInt16(static_cast<AcDb::DxfCode>(170), static_cast<std::int16_t>(m_color.colorMethod()));
    filer->writeInt16(static_cast<AcDb::DxfCode>(171), static_cast<std::int16_t>(m_color.colorIndex()));
    filer->writeInt32(static_cast<AcDb::DxfCode>(90), static_cast<std::int32_t>(m_color.rgb()));
    for (size_t i = 0; i < 4; ++i) filer->writeDouble(static_cast<AcDb::DxfCode>(140 + i), m_heights[i]);
    return filer->filerStatus();
}

Acad::ErrorStatus KvoDbMeasurePointObj::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = KvoDbPointObj::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"KvoDbMeasurePointObj")) return Acad::eBadDxfSequence;
    resbuf rb;
    int method = AcCm::kByLayer, index = 256;
    std::uint32_t rgb = 0;
    while (filer->readItem(&rb) == Acad::eOk) {
        if (rb.restype == 170)
            method = rb.resval.rint;
        else if (rb.restype == 171)
            index = rb.resval.rint;
        else if (rb.restype == 90)
            rgb = static_cast<std::uint32_t>(rb.resval.rlong);
        else if (rb.restype >= 140 && rb.restype <= 143)
            m_heights[static_cast<size_t>(rb.restype - 140)] = rb.resval.rreal;
        else
            filer->keepUnknownItem();
    }
    if (method == AcCm::kByColor)
        m_color.setRGB(static_cast<Adesk::UInt8>(rgb >> 16), static_cast<Adesk::UInt8>(rgb >> 8), static_cast<Adesk::UInt8>(rgb));
    else
        m_color.setColorIndex(static_cast<Adesk::UInt16>(index));
    return filer->filerStatus();
}
