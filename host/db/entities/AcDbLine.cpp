// Line entity: data, filing and simple geometry.
#include "host/db/entities/AcDbLine.h"

#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, 0, 0, 0, LINE, ObjectDBX Classes)

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p)
{
    assertWriteEnabled();
    m_start = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p)
{
    assertWriteEnabled();
    m_end = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double t)
{
    assertWriteEnabled();
    m_thickness = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n)
{
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    extents.addPoint(m_start);
    extents.addPoint(m_end);
    if (m_thickness != 0.0) {
        extents.addPoint(m_start + m_normal * m_thickness);
        extents.addPoint(m_end + m_normal * m_thickness);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_start.transformBy(xform);
    m_end.transformBy(xform);
    m_normal = ent::mapPlane(xform, m_normal).normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::explode(AcDbVoidPtrArray&) const
{
    return Acad::eNotApplicable;
}

bool AcDbLine::worldDraw(AcGiWorldDraw* wd)
{
    AcGePoint3d pts[2] = {m_start, m_end};
    wd->geometry().polyline(2, pts);
    return true;
}

Acad::ErrorStatus AcDbLine::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_start);
    gripPoints.append(m_start + (m_end - m_start) * 0.5);
    gripPoints.append(m_end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    for (int i : indices) {
        if (i == 0) m_start += offset;
        else if (i == 2) m_end += offset;
        else if (i == 1) { m_start += offset; m_end += offset; }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbLine");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: m_start = ent::asPoint(rb); return true;
        case 11: m_end = ent::asPoint(rb); return true;
        case 39: m_thickness = ent::asReal(rb); return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbLine::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbLine");
    if (m_thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, m_thickness);
    filer->writePoint3d(AcDb::kDxfXCoord, m_start);
    filer->writePoint3d(static_cast<AcDb::DxfCode>(11), m_end);
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    return filer->filerStatus();
}
