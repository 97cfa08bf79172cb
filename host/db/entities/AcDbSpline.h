// The host's spline entity: a NURBS curve, optionally made from fit points. While the
// spline has fit data its NURBS definition is the cubic that interpolates the fit points
// (recomputed whenever the fit data changes); setting the NURBS data drops the fit data.
#pragma once
#include "host/db/AcDbCurve.h"
#include "host/ge/AcGeNurbCurve3d.h"

class AcDbSpline : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(AcDbSpline);

public:
    AcDbSpline() = default;
    // Through the fit points (only cubic interpolation is offered: order is kept as given
    // for filing but the curve is always degree 3). A last point equal to the first makes a
    // closed spline.
    explicit AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
    AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent, const AcGeVector3d& endTangent,
               int order = 4, double fitTolerance = 0.0);
    AcDbSpline(int degree, bool rational, bool closed, bool periodic, const AcGePoint3dArray& controlPoints,
               const AcGeDoubleArray& knots, const AcGeDoubleArray& weights, double controlPtTol = 0.0,
               double knotTol = 0.0);

    int degree() const { return m_curve.degree(); }
    bool isRational() const { return m_curve.isRational(); }
    bool isClosed() const override { return m_closed; }
    bool isPeriodic() const override { return m_curve.isPeriodic(); }
    bool isNull() const { return !m_curve.isValid(); }

    Acad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                   AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots, AcGeDoubleArray& weights,
                                   double& controlPtTol, double& knotTol) const;
    // eInvalidInput when the data does not make a valid curve (spline unchanged).
    Acad::ErrorStatus setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                   const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                                   const AcGeDoubleArray& weights, double controlPtTol = 0.0, double knotTol = 0.0);
    int numControlPoints() const { return m_curve.numControlPoints(); }
    Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setControlPointAt(int index, const AcGePoint3d& point);
    Acad::ErrorStatus getWeightAt(int index, double& weight) const;

    // Fit data.
    bool hasFitData() const { return !m_fitPoints.isEmpty(); }
    int numFitPoints() const { return m_fitPoints.length(); }
    Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setFitPointAt(int index, const AcGePoint3d& point);
    // Refused with eInvalidIndex outside 0..numFitPoints() and eNotApplicable without fit data.
    Acad::ErrorStatus insertFitPointAt(int index, const AcGePoint3d& point);
    // Refused with eInvalidIndex outside the fit points and eDegenerateGeometry when fewer
    // than two would remain.
    Acad::ErrorStatus removeFitPointAt(int index);
    // eNotApplicable when the spline has no fit data.
    Acad::ErrorStatus getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance, bool& tangentsExist,
                                 AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;
    // Zero tangents are left free. eInvalidInput with fewer than two fit points.
    Acad::ErrorStatus setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                 const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);
    Acad::ErrorStatus purgeFitData();
    Acad::ErrorStatus getFitTol(double& tol) const { tol = m_fitTol; return Acad::eOk; }
    Acad::ErrorStatus getFitTangents(AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;
    Acad::ErrorStatus setFitTangents(const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);

    // The curve in the geometry library.
    const AcGeNurbCurve3d& nurbs() const { return m_curve; }
    // Points along the curve, for drawing and extents.
    AcGePoint3dArray samplePoints(int perControlPoint = 32) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

    FENDO_DECLARE_CURVE_QUERIES;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    bool refit();

    AcGeNurbCurve3d m_curve;
    bool m_closed = false;
    double m_ctrlTol = 1e-10;
    double m_knotTol = 1e-10;
    AcGePoint3dArray m_fitPoints;
    int m_fitDegree = 3;
    double m_fitTol = 0.0;
    AcGeVector3d m_startTangent;
    AcGeVector3d m_endTangent;
    AcGeVector3d m_normal;  // group 210 of planar splines, kept as read
    int m_keptFlags = 0;    // bits of group 70 the curve does not say (planar, linear, fit method ...)
};
