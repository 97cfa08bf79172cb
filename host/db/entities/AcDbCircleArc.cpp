// Circle and arc entities: data, filing (centre in the object coordinate system, as DXF
// files keep it), exact extents and shape-keeping transformations.
#include <cmath>
#include <numbers>

#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, 0, 0, 0, CIRCLE, ObjectDBX Classes)
ACRX_DXF_DEFINE_MEMBERS(AcDbArc, AcDbCurve, 0, 0, 0, ARC, ObjectDBX Classes)

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Reads the AcDbCircle section shared by circles and arcs; the centre is converted to
// world coordinates once the normal is known.
Acad::ErrorStatus readCircleSection(AcDbDxfFiler* filer, AcGePoint3d& center, double& radius, double& thickness,
                                    AcGeVector3d& normal)
{
    ent::enterSection(filer, L"AcDbCircle");
    AcGePoint3d ocsCenter;
    Acad::ErrorStatus es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 10: ocsCenter = ent::asPoint(rb); return true;
        case 40: radius = ent::asReal(rb); return true;
        case 39: thickness = ent::asReal(rb); return true;
        case 210: normal = ent::unitNormal(ent::asVector(rb)); return true;
        default: return false;
        }
    });
    center = ent::ocsToWcs(normal) * ocsCenter;
    return es;
}

void writeCircleSection(AcDbDxfFiler* filer, const AcGePoint3d& center, double radius, double thickness,
                        const AcGeVector3d& normal)
{
    filer->writeString(AcDb::kDxfSubclass, L"AcDbCircle");
    if (thickness != 0.0) filer->writeDouble(AcDb::kDxfThickness, thickness);
    filer->writePoint3d(AcDb::kDxfXCoord, ent::wcsToOcs(normal) * center);
    filer->writeDouble(AcDb::kDxfReal, radius);
    if (!ent::isDefaultNormal(normal)) filer->writeVector3d(AcDb::kDxfNormalX, normal);
}
}  // namespace

// ---- circle ---------------------------------------------------------------------------

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(center), m_radius(radius), m_normal(ent::unitNormal(normal))
{
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c)
{
    assertWriteEnabled();
    m_center = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double r)
{
    if (!(r > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_radius = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setThickness(double t)
{
    assertWriteEnabled();
    m_thickness = t;
    return Acad::eOk;
}

double AcDbCircle::circumference() const { return kTwoPi * m_radius; }

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    ent::addArcExtents(extents, m_center, m_radius, m_normal, 0.0, kTwoPi);
    if (m_thickness != 0.0)
        ent::addArcExtents(extents, m_center + m_normal * m_thickness, m_radius, m_normal, 0.0, kTwoPi);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform)
{
    if (!ent::keepsShape(xform)) return Acad::eNotApplicable;
    assertWriteEnabled();
    m_center.transformBy(xform);
    m_radius *= xform.scale();
    m_normal = ent::mapPlane(xform, m_normal).normal;
    return Acad::eOk;
}

bool AcDbCircle::worldDraw(AcGiWorldDraw* wd)
{
    wd->geometry().circle(m_center, m_radius, m_normal);
    return true;
}

Acad::ErrorStatus AcDbCircle::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(m_center);
    for (int i = 0; i < 4; ++i)
        gripPoints.append(m_center + ent::directionInOcs(i * std::numbers::pi / 2, m_normal) * m_radius);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    for (int i : indices) {
        if (i == 0) {
            m_center += offset;
        } else if (i >= 1 && i <= 4) {
            AcGePoint3d q = m_center + ent::directionInOcs((i - 1) * std::numbers::pi / 2, m_normal) * m_radius;
            double r = (q + offset).distanceTo(m_center);
            if (r > 0.0) m_radius = r;
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    return readCircleSection(filer, m_center, m_radius, m_thickness, m_normal);
}

Acad::ErrorStatus AcDbCircle::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeCircleSection(filer, m_center, m_radius, m_thickness, m_normal);
    return filer->filerStatus();
}

// ---- arc ------------------------------------------------------------------------------

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : m_center(center), m_radius(radius), m_startAngle(startAngle), m_endAngle(endAngle)
{
}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : m_center(center), m_radius(radius), m_startAngle(startAngle), m_endAngle(endAngle),
      m_normal(ent::unitNormal(normal))
{
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& c)
{
    assertWriteEnabled();
    m_center = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setRadius(double r)
{
    if (!(r > 0.0)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_radius = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a)
{
    assertWriteEnabled();
    m_startAngle = a;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double a)
{
    assertWriteEnabled();
    m_endAngle = a;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setThickness(double t)
{
    assertWriteEnabled();
    m_thickness = t;
    return Acad::eOk;
}

double AcDbArc::totalAngle() const
{
    double sweep = ent::normalizeAngle(m_endAngle - m_startAngle);
    return sweep <= 0.0 ? kTwoPi : sweep;
}

AcGePoint3d AcDbArc::startPt() const
{
    return m_center + ent::directionInOcs(m_startAngle, m_normal) * m_radius;
}

AcGePoint3d AcDbArc::endPt() const
{
    return m_center + ent::directionInOcs(m_endAngle, m_normal) * m_radius;
}

AcGeCircArc3d AcDbArc::toGeArc() const
{
    AcGeVector3d u, v;
    fendo::ge::arbitraryAxes(m_normal, u, v);
    double start = ent::normalizeAngle(m_startAngle);
    return AcGeCircArc3d(m_center, m_normal, u, m_radius, start, start + totalAngle());
}

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    ent::addArcExtents(extents, m_center, m_radius, m_normal, m_startAngle, m_startAngle + totalAngle());
    if (m_thickness != 0.0)
        ent::addArcExtents(extents, m_center + m_normal * m_thickness, m_radius, m_normal, m_startAngle,
                           m_startAngle + totalAngle());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform)
{
    if (!ent::keepsShape(xform)) return Acad::eNotApplicable;
    assertWriteEnabled();
    AcGePoint3d s = startPt(), e = endPt();
    s.transformBy(xform);
    e.transformBy(xform);
    m_center.transformBy(xform);
    m_radius *= xform.scale();
    ent::PlaneMap map = ent::mapPlane(xform, m_normal);
    m_normal = map.normal;
    double a0 = ent::angleInOcs(s - m_center, m_normal);
    double a1 = ent::angleInOcs(e - m_center, m_normal);
    // A mirroring turns the arc's sense: what was its end is now where it starts.
    m_startAngle = map.mirrored ? a1 : a0;
    m_endAngle = map.mirrored ? a0 : a1;
    return Acad::eOk;
}

bool AcDbArc::worldDraw(AcGiWorldDraw* wd)
{
    wd->geometry().circularArc(m_center, m_radius, m_normal, ent::directionInOcs(m_startAngle, m_normal),
                               totalAngle());
    return true;
}

Acad::ErrorStatus AcDbArc::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    gripPoints.append(startPt());
    gripPoints.append(m_center + ent::directionInOcs(m_startAngle + totalAngle() / 2, m_normal) * m_radius);
    gripPoints.append(endPt());
    gripPoints.append(m_center);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    es = readCircleSection(filer, m_center, m_radius, m_thickness, m_normal);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbArc");
    return ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 50: m_startAngle = ent::angleOfLastItem(filer); return true;
        case 51: m_endAngle = ent::angleOfLastItem(filer); return true;
        default: return false;
        }
    });
}

Acad::ErrorStatus AcDbArc::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    writeCircleSection(filer, m_center, m_radius, m_thickness, m_normal);
    filer->writeString(AcDb::kDxfSubclass, L"AcDbArc");
    filer->writeAngle(AcDb::kDxfAngle, m_startAngle);
    filer->writeAngle(static_cast<AcDb::DxfCode>(51), m_endAngle);
    return filer->filerStatus();
}
