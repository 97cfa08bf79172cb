// The curve queries of the classes made of pieces (lines, arcs, circles, polylines),
// written once and stamped into each class by FENDO_DEFINE_PIECEWISE_CURVE_QUERIES.
#pragma once
#include <cmath>

#include "host/db/AcDbCurve.h"
#include "host/db/curves/CurvePieces.h"

namespace fendo::db::curves {

// The polyline segment holding a parameter, so a query at one parameter builds one piece.
inline unsigned int segmentOf(double param)
{
    return param <= 0.0 ? 0u : static_cast<unsigned int>(std::floor(param));
}

// Intersections of any two supported curves (see CurveIntersect.cpp).
Acad::ErrorStatus intersectCurves(const AcDbCurve& self, const AcDbEntity* other, AcDb::Intersect type,
                                  AcGePoint3dArray& points);

}  // namespace fendo::db::curves

#define FENDO_DEFINE_PIECEWISE_CURVE_QUERIES(Class)                                                             \
    Acad::ErrorStatus Class::getStartParam(double& param) const                                                 \
    {                                                                                                           \
        auto range = fendo::db::curves::paramRangeOf(*this);                                                    \
        if (!range) return Acad::eDegenerateGeometry;                                                           \
        param = range->first;                                                                                   \
        return Acad::eOk;                                                                                       \
    }                                                                                                           \
    Acad::ErrorStatus Class::getEndParam(double& param) const                                                   \
    {                                                                                                           \
        auto range = fendo::db::curves::paramRangeOf(*this);                                                    \
        if (!range) return Acad::eDegenerateGeometry;                                                           \
        param = range->second;                                                                                  \
        return Acad::eOk;                                                                                       \
    }                                                                                                           \
    Acad::ErrorStatus Class::getStartPoint(AcGePoint3d& point) const                                            \
    {                                                                                                           \
        double t = 0.0;                                                                                         \
        Acad::ErrorStatus es = getStartParam(t);                                                                \
        return es == Acad::eOk ? getPointAtParam(t, point) : es;                                                \
    }                                                                                                           \
    Acad::ErrorStatus Class::getEndPoint(AcGePoint3d& point) const                                              \
    {                                                                                                           \
        double t = 0.0;                                                                                         \
        Acad::ErrorStatus es = getEndParam(t);                                                                  \
        return es == Acad::eOk ? getPointAtParam(t, point) : es;                                                \
    }                                                                                                           \
    Acad::ErrorStatus Class::getPointAtParam(double param, AcGePoint3d& point) const                            \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this, fendo::db::curves::segmentOf(param));                    \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::pointAtParam(*chain, param, point);                                           \
    }                                                                                                           \
    Acad::ErrorStatus Class::getParamAtPoint(const AcGePoint3d& point, double& param) const                     \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::paramAtPoint(*chain, point, param);                                           \
    }                                                                                                           \
    Acad::ErrorStatus Class::getDistAtParam(double param, double& dist) const                                   \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::distAtParam(*chain, param, dist);                                             \
    }                                                                                                           \
    Acad::ErrorStatus Class::getParamAtDist(double dist, double& param) const                                   \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::paramAtDist(*chain, dist, param);                                             \
    }                                                                                                           \
    Acad::ErrorStatus Class::getDistAtPoint(const AcGePoint3d& point, double& dist) const                       \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        double param = 0.0;                                                                                     \
        Acad::ErrorStatus es = fendo::db::curves::paramAtPoint(*chain, point, param);                           \
        return es == Acad::eOk ? fendo::db::curves::distAtParam(*chain, param, dist) : es;                      \
    }                                                                                                           \
    Acad::ErrorStatus Class::getPointAtDist(double dist, AcGePoint3d& point) const                              \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        double param = 0.0;                                                                                     \
        Acad::ErrorStatus es = fendo::db::curves::paramAtDist(*chain, dist, param);                             \
        return es == Acad::eOk ? fendo::db::curves::pointAtParam(*chain, param, point) : es;                    \
    }                                                                                                           \
    Acad::ErrorStatus Class::getFirstDeriv(double param, AcGeVector3d& deriv) const                             \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this, fendo::db::curves::segmentOf(param));                    \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::derivAtParam(*chain, param, 1, deriv);                                        \
    }                                                                                                           \
    Acad::ErrorStatus Class::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const                 \
    {                                                                                                           \
        double param = 0.0;                                                                                     \
        Acad::ErrorStatus es = getParamAtPoint(point, param);                                                   \
        return es == Acad::eOk ? getFirstDeriv(param, deriv) : es;                                              \
    }                                                                                                           \
    Acad::ErrorStatus Class::getSecondDeriv(double param, AcGeVector3d& deriv) const                            \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this, fendo::db::curves::segmentOf(param));                    \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        return fendo::db::curves::derivAtParam(*chain, param, 2, deriv);                                        \
    }                                                                                                           \
    Acad::ErrorStatus Class::getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,        \
                                               bool extend) const                                               \
    {                                                                                                           \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        pointOnCurve = fendo::db::curves::closestPoint(*chain, givenPoint, extend).point;                       \
        return Acad::eOk;                                                                                       \
    }                                                                                                           \
    Acad::ErrorStatus Class::getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,    \
                                               AcGePoint3d& pointOnCurve, bool extend) const                    \
    {                                                                                                           \
        if (direction.isZeroLength()) return getClosestPointTo(givenPoint, pointOnCurve, extend);               \
        auto chain = fendo::db::curves::chainOf(*this);                                                         \
        if (!chain) return Acad::eDegenerateGeometry;                                                           \
        pointOnCurve = fendo::db::curves::closestPointAlong(*chain, givenPoint, direction);                     \
        return Acad::eOk;                                                                                       \
    }                                                                                                           \
    Acad::ErrorStatus Class::intersectWith(const AcDbEntity* other, AcDb::Intersect type,                       \
                                           AcGePoint3dArray& points, Adesk::GsMarker, Adesk::GsMarker) const    \
    {                                                                                                           \
        return fendo::db::curves::intersectCurves(*this, other, type, points);                                  \
    }
