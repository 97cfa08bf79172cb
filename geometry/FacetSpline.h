// Faceting of splines into point chains whose chords stay within a deviation of the curve:
// nodes seeded from the knots are split until every span passes a segment test.
#pragma once
#include <deque>

#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGePoint3dArray.h"
#include "host/ge/AcGeVector3d.h"

class AcDbSpline;

// One sample of the curve: its parameter, point and first derivative (evaluated once, when
// the node is made), linked to its neighbours by parameter.
class FacetNode {
public:
    FacetNode(const AcDbSpline* spline, double param);

    double param() const { return m_param; }
    const AcGeVector3d& deriv() const { return m_deriv; }
    const AcGePoint3d& point() const { return m_point; }
    FacetNode* prev() const { return m_prev; }
    FacetNode* next() const { return m_next; }

private:
    friend class FacetSpline;
    double m_param;
    AcGeVector3d m_deriv;
    AcGePoint3d m_point;
    FacetNode* m_prev = nullptr;
    FacetNode* m_next = nullptr;
};

// The node list and its refinement; the segment test is left to the derived class.
class FacetSpline {
public:
    FacetSpline() = default;
    virtual ~FacetSpline();
    FacetSpline(const FacetSpline&) = delete;
    FacetSpline& operator=(const FacetSpline&) = delete;

    // Accepts the span A-B, or rejects it and gives the parameter at which to split it.
    virtual bool testSegment(const FacetNode& a, const FacetNode& b, double& splitParam,
                             double& deviation) const = 0;

    // Seeds the nodes from the spline's knots. The spline is borrowed and must stay open
    // for reading until the last getPoints. Fails (with a message) when its NURBS data
    // cannot be read.
    bool setup(const AcDbSpline* spline, double chordTolerance, int stepLimit);
    // Refines on the first call, then gives one point per node in parameter order. Fails,
    // leaving the list untouched, when refinement needs more nodes than the step limit; a
    // list with no nodes (setup failed) gives an empty list and false.
    bool getPoints(AcGePoint3dArray& points);

    const FacetNode* firstNode() const { return m_first; }
    int nodeCount() const { return m_nodeCount; }
    double chordTolerance() const { return m_tolerance; }
    // The largest deviation of a span accepted during refinement.
    double maxDeviation() const { return m_maxDeviation; }
    bool isRefined() const { return m_refined != 0; }

private:
    bool refine();
    void clear();
    // A new node at the parameter, unlinked; it lives until clear.
    FacetNode* makeNode(double param);

    const AcDbSpline* m_spline = nullptr;
    // The nodes in the order they were made (a deque keeps their addresses), linked in
    // parameter order from m_first.
    std::deque<FacetNode> m_nodes;
    FacetNode* m_first = nullptr;
    int m_refined = 0;
    double m_tolerance = 0.0;
    double m_maxDeviation = 0.0;
    int m_nodeCount = 0;
    int m_stepLimit = 0;
};

// Chordal deviation test: the tangent lines at the span's ends meet (or come closest) at
// points whose distance from the chord must not exceed the tolerance.
class FacetSplineChordal : public FacetSpline {
public:
    bool testSegment(const FacetNode& a, const FacetNode& b, double& splitParam,
                     double& deviation) const override;
};
