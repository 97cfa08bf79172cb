// Point entity: data, filing, marker drawing.
#include "host/db/entities/AcDbPoint.h"

#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, 0, 0, 0, POINT, ObjectDBX Classes)

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& p)
{
    assertWriteEnabled();
    m_position = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setThickness(double t)
{
    assertWriteEnabled();
    m_thickness = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& n)
{
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setEcsRotation(double a)
{
    assertWriteEnabled();
    m_ecsRotation = a;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    extents.addPoint(m_position);
    if (m_thickness != 0.0) extents.addPoint(m_position + m_normal * m_thickness);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_position.transformBy(xform);
    m_normal = ent::mapPlane(xform, m_normal).normal;
    return Acad::eOk;
}

namespace {
int pointMode(const AcDbDatabase* db) { return db ? db->pdmode() : 0; }
double pointSize(const AcDbDatabase* db) { return db ? db->pdsize() : 0.0; }
}  // namespace

bool AcDbPoint::worldDraw(AcGiWorldDraw* wd)
{
    const double size = pointSize(database());
    if (size <= 0.0 && dynamic_cast<AcGiViewportDraw*>(wd)) return false;
    drawMarker(*wd, size > 0.0 ? size : 1.0);
    return true;
}

void AcDbPoint::viewportDraw(AcGiViewportDraw* vd)
{
    const double size = pointSize(database());
    if (size > 0.0) return drawMarker(*vd, size);
    AcGePoint2d lowerLeft, upperRight, perUnit;
    vd->viewport().getViewportDcCorners(lowerLeft, upperRight);
    vd->viewport().getNumPixelsInUnitSquare(m_position, perUnit);
    const double viewHeight = perUnit.y > 0.0 ? std::fabs(upperRight.y - lowerLeft.y) / perUnit.y : 0.0;
    const double percent = size < 0.0 ? -size : 5.0;
    drawMarker(*vd, viewHeight > 0.0 ? viewHeight * percent / 100.0 : 1.0);
}

void AcDbPoint::drawMarker(AcGiWorldDraw& wd, double size) const
{
    const int mode = pointMode(database());
    AcGiWorldGeometry& g = wd.geometry();
    const AcGeVector3d x = ent::directionInOcs(m_ecsRotation, m_normal) * (size / 2);
    const AcGeVector3d y = m_normal.crossProduct(x);
    auto seg = [&](const AcGePoint3d& a, const AcGePoint3d& b) {
        AcGePoint3d pts[2] = {a, b};
        g.polyline(2, pts);
    };
    switch (mode & 7) {
    case 0: seg(m_position, m_position); break;
    case 2: seg(m_position - x, m_position + x); seg(m_position - y, m_position + y); break;
    case 3: seg(m_position - x - y, m_position + x + y); seg(m_position - x + y, m_position + x - y); break;
    case 4: seg(m_position, m_position + y); break;
    default: break;
    }
    if (mode & 32) g.circle(m_position, size / 2, m_normal);
    if (mode & 64) {
        AcGePoint3d sq[5] = {m_position - x - y, m_position + x - y, m_position + x + y, m_position - x + y,
                             m_position - x - y};
        g.polyline(5, sq);
    }
}

Acad::ErrorStatus AcDbPoint::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_position);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    if (!indices.isEmpty()) m_position += offset;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbPoint");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: m_position = ent::asPoint(rb); return true;
        case 39: m_thickness = ent::asReal(rb); return true;
        case 210: m_normal = ent::unitNormal(ent::asVector(rb)); return true;
        case 50: m_ecsRotation = ent::angleOfLastItem(filer); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbPoint::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbPoint");
    filer->writePoint3d(AcDb::kDxfXCoord, m_position);
    if (m_thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, m_thickness);
    if (!ent::isDefaultNormal(m_normal)) filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    if (m_ecsRotation != 0.0) filer->writeAngle(AcDb::kDxfAngle, m_ecsRotation);
    return filer->filerStatus();
}
