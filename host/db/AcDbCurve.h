// Base of curves: parameters, distances, closest points, derivatives and offsets, as the
// host defines them for lines, arcs, circles, the three polyline kinds and splines.
#pragma once
#include "host/core/AcArray.h"
#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePlane.h"
#include "host/ge/AcGeVector3d.h"

class AcDbCurve : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbCurve);

public:
    virtual bool isClosed() const { return false; }
    virtual bool isPeriodic() const { return false; }

    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    // Fails (eInvalidInput) for a point that is not on the curve within the host tolerance.
    virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
    virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                                bool extend = false) const;
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,
                                                AcGePoint3d& pointOnCurve, bool extend = false) const;
    // New curves (not in a database, owned by the caller) offset by the signed distance.
    virtual Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const;
    virtual Acad::ErrorStatus getSplitCurves(const AcGeDoubleArray& params, AcDbVoidPtrArray& curveSegments) const;
    virtual Acad::ErrorStatus getSplitCurves(const AcGePoint3dArray& points, AcDbVoidPtrArray& curveSegments) const;
    virtual Acad::ErrorStatus getArea(double& area) const;
    virtual Acad::ErrorStatus reverseCurve();
};

// The overrides of every curve query and of intersectWith, declared in each curve class that
// answers them itself (host/db/curves/).
#define FENDO_DECLARE_CURVE_QUERIES                                                                           \
    Acad::ErrorStatus getStartParam(double& param) const override;                                           \
    Acad::ErrorStatus getEndParam(double& param) const override;                                             \
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;                                      \
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;                                        \
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;                      \
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;               \
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;                             \
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;                             \
    Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const override;                 \
    Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const override;                        \
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const override;                       \
    Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const override;           \
    Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const override;                      \
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,            \
                                        bool extend = false) const override;                                  \
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,        \
                                        AcGePoint3d& pointOnCurve, bool extend = false) const override;       \
    /* Points where this curve meets another curve, each once, in order along this curve. */                 \
    Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type, AcGePoint3dArray& points, \
                                    Adesk::GsMarker thisGsMarker = 0,                                         \
                                    Adesk::GsMarker otherGsMarker = 0) const override
