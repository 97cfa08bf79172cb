// Spline entity: NURBS and fit data, interpolation through the geometry library, sampled
// extents and filing as SPLINE.
#include "host/db/entities/AcDbSpline.h"

#include <algorithm>

#include "host/db/entities/EntityUtil.h"
#include "host/gi/AcGi.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbSpline, AcDbCurve, 0, 0, 0, SPLINE, ObjectDBX Classes)

namespace {
// SPLINE group 70 bits.
enum SplineFlags { kClosed = 1, kPeriodic = 2, kRational = 4, kPlanar = 8, kLinear = 16 };
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance)
    : m_fitPoints(fitPoints), m_fitDegree(std::max(1, order - 1)), m_fitTol(fitTolerance)
{
    refit();
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                       const AcGeVector3d& endTangent, int order, double fitTolerance)
    : m_fitPoints(fitPoints), m_fitDegree(std::max(1, order - 1)), m_fitTol(fitTolerance),
      m_startTangent(startTangent), m_endTangent(endTangent)
{
    refit();
}

AcDbSpline::AcDbSpline(int degree, bool rational, bool closed, bool periodic, const AcGePoint3dArray& controlPoints,
                       const AcGeDoubleArray& knots, const AcGeDoubleArray& weights, double controlPtTol,
                       double knotTol)
{
    setNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPtTol, knotTol);
}

bool AcDbSpline::refit()
{
    const int n = m_fitPoints.length();
    if (n < 2) return false;
    AcGeTol tol;
    if (m_fitTol > 0.0) tol.setEqualPoint(m_fitTol);
    const bool closed = n >= 3 && m_fitPoints.first().isEqualTo(m_fitPoints.last());
    AcGeNurbCurve3d curve;
    if (closed) {
        curve = fendo::ge::closedCurveThroughFitPoints(m_fitPoints, tol);
    } else {
        curve = AcGeNurbCurve3d(m_fitPoints, m_startTangent, m_endTangent, !m_startTangent.isZeroLength(),
                                !m_endTangent.isZeroLength(), tol);
    }
    if (!curve.isValid()) return false;
    m_curve = curve;
    m_closed = closed;
    return true;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                           AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                           AcGeDoubleArray& weights, double& controlPtTol, double& knotTol) const
{
    if (!m_curve.isValid()) return Acad::eDegenerateGeometry;
    AcGeKnotVector kv;
    m_curve.getDefinitionData(degree, rational, periodic, kv, controlPoints, weights);
    knots = kv;
    closed = m_closed;
    controlPtTol = m_ctrlTol;
    knotTol = m_knotTol;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                           const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                                           const AcGeDoubleArray& weights, double controlPtTol, double knotTol)
{
    AcGeKnotVector kv(knots, knotTol > 0.0 ? knotTol : AcGeKnotVector::kDefaultTolerance);
    AcGeNurbCurve3d curve = (rational && weights.length() == controlPoints.length())
                                ? AcGeNurbCurve3d(degree, kv, controlPoints, weights, periodic)
                                : AcGeNurbCurve3d(degree, kv, controlPoints, periodic);
    if (!curve.isValid()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_curve = curve;
    m_closed = closed || periodic;
    m_ctrlTol = controlPtTol > 0.0 ? controlPtTol : 1e-10;
    m_knotTol = knotTol > 0.0 ? knotTol : 1e-10;
    m_fitPoints.removeAll();
    m_startTangent = m_endTangent = AcGeVector3d();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const
{
    if (index < 0 || index >= numControlPoints()) return Acad::eInvalidIndex;
    point = m_curve.controlPointAt(index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setControlPointAt(int index, const AcGePoint3d& point)
{
    if (index < 0 || index >= numControlPoints()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_curve.setControlPointAt(index, point);
    m_fitPoints.removeAll();  // the curve no longer passes through them
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getWeightAt(int index, double& weight) const
{
    if (index < 0 || index >= numControlPoints()) return Acad::eInvalidIndex;
    weight = m_curve.weightAt(index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const
{
    if (index < 0 || index >= numFitPoints()) return Acad::eInvalidIndex;
    point = m_fitPoints[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setFitPointAt(int index, const AcGePoint3d& point)
{
    if (index < 0 || index >= numFitPoints()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    AcGePoint3d old = m_fitPoints[index];
    m_fitPoints[index] = point;
    if (!refit()) {
        m_fitPoints[index] = old;
        return Acad::eInvalidInput;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::insertFitPointAt(int index, const AcGePoint3d& point)
{
    if (!hasFitData()) return Acad::eNotApplicable;
    if (index < 0 || index > numFitPoints()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_fitPoints.insertAt(index, point);
    if (!refit()) {
        m_fitPoints.removeAt(index);
        return Acad::eInvalidInput;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::removeFitPointAt(int index)
{
    if (!hasFitData()) return Acad::eNotApplicable;
    if (index < 0 || index >= numFitPoints()) return Acad::eInvalidIndex;
    if (numFitPoints() <= 2) return Acad::eDegenerateGeometry;
    assertWriteEnabled();
    AcGePoint3d old = m_fitPoints[index];
    m_fitPoints.removeAt(index);
    if (!refit()) {
        m_fitPoints.insertAt(index, old);
        refit();
        return Acad::eDegenerateGeometry;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                                         bool& tangentsExist, AcGeVector3d& startTangent,
                                         AcGeVector3d& endTangent) const
{
    if (!hasFitData()) return Acad::eNotApplicable;
    fitPoints = m_fitPoints;
    degree = m_fitDegree;
    fitTolerance = m_fitTol;
    tangentsExist = !m_startTangent.isZeroLength() || !m_endTangent.isZeroLength();
    startTangent = m_startTangent;
    endTangent = m_endTangent;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                         const AcGeVector3d& startTangent, const AcGeVector3d& endTangent)
{
    if (fitPoints.length() < 2) return Acad::eInvalidInput;
    assertWriteEnabled();
    AcGePoint3dArray oldPts = m_fitPoints;
    AcGeVector3d oldS = m_startTangent, oldE = m_endTangent;
    m_fitPoints = fitPoints;
    m_startTangent = startTangent;
    m_endTangent = endTangent;
    if (!refit()) {
        m_fitPoints = oldPts;
        m_startTangent = oldS;
        m_endTangent = oldE;
        return Acad::eInvalidInput;
    }
    m_fitDegree = degree;
    m_fitTol = fitTolerance;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::purgeFitData()
{
    assertWriteEnabled();
    m_fitPoints.removeAll();
    m_startTangent = m_endTangent = AcGeVector3d();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitTangents(AcGeVector3d& startTangent, AcGeVector3d& endTangent) const
{
    if (!hasFitData()) return Acad::eNotApplicable;
    startTangent = m_startTangent;
    endTangent = m_endTangent;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setFitTangents(const AcGeVector3d& startTangent, const AcGeVector3d& endTangent)
{
    if (!hasFitData()) return Acad::eNotApplicable;
    assertWriteEnabled();
    m_startTangent = startTangent;
    m_endTangent = endTangent;
    refit();
    return Acad::eOk;
}

AcGePoint3dArray AcDbSpline::samplePoints(int perControlPoint) const
{
    AcGePoint3dArray out;
    if (!m_curve.isValid()) return out;
    const int n = std::max(8, perControlPoint * m_curve.numControlPoints());
    const double t0 = m_curve.startParam(), t1 = m_curve.endParam();
    for (int i = 0; i <= n; ++i) out.append(m_curve.evalPoint(t0 + (t1 - t0) * i / n));
    return out;
}

Acad::ErrorStatus AcDbSpline::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    if (!m_curve.isValid()) return Acad::eInvalidExtents;
    for (const AcGePoint3d& p : samplePoints()) extents.addPoint(p);
    for (const AcGePoint3d& p : m_fitPoints) extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    m_curve.transformBy(xform);
    for (AcGePoint3d& p : m_fitPoints) p.transformBy(xform);
    m_startTangent.transformBy(xform);
    m_endTangent.transformBy(xform);
    if (!m_normal.isZeroLength()) m_normal = ent::mapPlane(xform, m_normal).normal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::explode(AcDbVoidPtrArray&) const
{
    return Acad::eNotApplicable;
}

bool AcDbSpline::worldDraw(AcGiWorldDraw* wd)
{
    AcGePoint3dArray pts = samplePoints();
    if (pts.length() >= 2) wd->geometry().polyline(static_cast<std::uint32_t>(pts.length()), pts.asArrayPtr());
    return true;
}

Acad::ErrorStatus AcDbSpline::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
    if (hasFitData()) gripPoints.append(m_fitPoints);
    else
        for (int i = 0; i < numControlPoints(); ++i) gripPoints.append(m_curve.controlPointAt(i));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    if (hasFitData()) {
        for (int i : indices)
            if (i >= 0 && i < numFitPoints()) m_fitPoints[i] += offset;
        refit();
        return Acad::eOk;
    }
    for (int i : indices)
        if (i >= 0 && i < numControlPoints()) m_curve.setControlPointAt(i, m_curve.controlPointAt(i) + offset);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbSpline");
    int flags = 0, degree = 3;
    AcGeDoubleArray knots, weights;
    AcGePoint3dArray ctrl;
    m_fitPoints.removeAll();
    es = ent::readSection(filer, [&](const resbuf& rb) {
        switch (rb.restype) {
        case 210: m_normal = ent::asVector(rb); return true;
        case 70: flags = ent::asInt(rb); return true;
        case 71: degree = ent::asInt(rb); return true;
        case 72: case 73: case 74: return true;  // counts: the lists say it
        case 42: m_knotTol = ent::asReal(rb); return true;
        case 43: m_ctrlTol = ent::asReal(rb); return true;
        case 44: m_fitTol = ent::asReal(rb); return true;
        case 12: m_startTangent = ent::asVector(rb); return true;
        case 13: m_endTangent = ent::asVector(rb); return true;
        case 40: knots.append(ent::asReal(rb)); return true;
        case 41: weights.append(ent::asReal(rb)); return true;
        case 10: ctrl.append(ent::asPoint(rb)); return true;
        case 11: m_fitPoints.append(ent::asPoint(rb)); return true;
        default: return false;
        }
    });
    if (es != Acad::eOk) return es;
    m_fitDegree = degree;
    m_keptFlags = flags & ~(kClosed | kPeriodic | kRational);
    const bool rational = (flags & kRational) != 0 && weights.length() == ctrl.length();
    AcGeKnotVector kv(knots);
    AcGeNurbCurve3d curve = rational ? AcGeNurbCurve3d(degree, kv, ctrl, weights, (flags & kPeriodic) != 0)
                                     : AcGeNurbCurve3d(degree, kv, ctrl, (flags & kPeriodic) != 0);
    if (!ctrl.isEmpty() && curve.isValid()) {
        m_curve = curve;
        m_closed = (flags & (kClosed | kPeriodic)) != 0;
    } else if (!refit()) {
        m_curve = curve;  // kept as read; it files back the same
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbCurve::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbSpline");
    int flags = (m_closed ? kClosed : 0) | (m_curve.isPeriodic() ? kPeriodic : 0) |
                (m_curve.isRational() ? kRational : 0) | m_keptFlags;
    if (!m_normal.isZeroLength()) {
        flags |= kPlanar;
        filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    }
    filer->writeInt16(AcDb::kDxfInt16, static_cast<std::int16_t>(flags));
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), static_cast<std::int16_t>(m_curve.degree()));
    filer->writeInt16(static_cast<AcDb::DxfCode>(72), static_cast<std::int16_t>(m_curve.numKnots()));
    filer->writeInt16(static_cast<AcDb::DxfCode>(73), static_cast<std::int16_t>(m_curve.numControlPoints()));
    filer->writeInt16(static_cast<AcDb::DxfCode>(74), static_cast<std::int16_t>(m_fitPoints.length()));
    filer->writeDouble(static_cast<AcDb::DxfCode>(42), m_knotTol);
    filer->writeDouble(static_cast<AcDb::DxfCode>(43), m_ctrlTol);
    if (hasFitData()) {
        filer->writeDouble(static_cast<AcDb::DxfCode>(44), m_fitTol);
        if (!m_startTangent.isZeroLength()) filer->writeVector3d(static_cast<AcDb::DxfCode>(12), m_startTangent);
        if (!m_endTangent.isZeroLength()) filer->writeVector3d(static_cast<AcDb::DxfCode>(13), m_endTangent);
    }
    for (int i = 0; i < m_curve.numKnots(); ++i) filer->writeDouble(AcDb::kDxfReal, m_curve.knotAt(i));
    if (m_curve.isRational())
        for (int i = 0; i < m_curve.numControlPoints(); ++i)
            filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_curve.weightAt(i));
    for (int i = 0; i < m_curve.numControlPoints(); ++i)
        filer->writePoint3d(AcDb::kDxfXCoord, m_curve.controlPointAt(i));
    for (const AcGePoint3d& p : m_fitPoints) filer->writePoint3d(static_cast<AcDb::DxfCode>(11), p);
    return filer->filerStatus();
}
