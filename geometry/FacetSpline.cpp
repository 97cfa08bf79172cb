// Spline faceting: knot seeding, span refinement and the chordal segment test.
#include "geometry/FacetSpline.h"

#include <cmath>

#include "host/db/entities/AcDbSpline.h"
#include "host/editor/aced.h"
#include "host/ge/AcGeLine3d.h"

FacetNode::FacetNode(const AcDbSpline* spline, double param) : m_param(param)
{
    // One evaluation gives both the point and the first derivative; the array is reused
    // from node to node.
    thread_local AcGeVector3dArray derivs;
    m_point = spline->nurbs().evalPoint(param, 1, derivs);
    if (derivs.length() > 0) m_deriv = derivs[0];
}

FacetSpline::~FacetSpline() { clear(); }

FacetNode* FacetSpline::makeNode(double param) { return &m_nodes.emplace_back(m_spline, param); }

void FacetSpline::clear()
{
    m_nodes.clear();
    m_first = nullptr;
    m_nodeCount = 0;
    m_refined = 0;
    m_maxDeviation = 0.0;
}

bool FacetSpline::setup(const AcDbSpline* spline, double chordTolerance, int stepLimit)
{
    clear();
    m_spline = spline;
    m_tolerance = chordTolerance;
    m_stepLimit = stepLimit;

    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    AcGePoint3dArray controlPoints;
    AcGeDoubleArray knots, weights;
    double controlPtTol = 0.0, knotTol = 0.0;
    if (!spline || spline->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights,
                                        controlPtTol, knotTol) != Acad::eOk) {
        acutPrintf(L"Problems extracting Nurbs Data\n");
        return false;
    }

    // Knots from the end down; a knot equal to the last one seeded adds nothing, and after
    // each seed the next lower knot is passed over.
    int i = knots.length() - 1;
    if (i < 0) return true;
    double last = knots[i];
    while (i > 0) {
        --i;
        const double k = knots[i];
        if (m_first && std::abs(k - last) <= knotTol) continue;
        auto* node = makeNode(k);
        node->m_next = m_first;
        if (m_first) m_first->m_prev = node;
        m_first = node;
        ++m_nodeCount;
        --i;
        last = k;
    }
    return true;
}

bool FacetSpline::refine()
{
    if (!m_first) return true;
    FacetNode* a = m_first;
    FacetNode* b = a->m_next;
    while (b) {
        double split = 0.0, deviation = 0.0;
        if (testSegment(*a, *b, split, deviation)) {
            if (deviation > m_maxDeviation) m_maxDeviation = deviation;
            a = b;
            b = b->m_next;
        } else {
            auto* node = makeNode(split);
            node->m_prev = a;
            node->m_next = b;
            a->m_next = node;
            b->m_prev = node;
            ++m_nodeCount;
            b = node;
        }
        if (m_nodeCount > m_stepLimit) {
            const FacetNode* lastNode = a;
            while (lastNode->m_next) lastNode = lastNode->m_next;
            const double span = lastNode->m_param - m_first->m_param;
            const double f = span != 0.0 ? (a->m_param - m_first->m_param) / span : 0.0;
            acutPrintf(L"Requires too many steps\n");
            acutPrintf(L"%d steps used so far to cover less than %2.0f%% of the curve\n", m_stepLimit,
                       f * 100.0);
            return false;
        }
    }
    m_refined = 1;
    return true;
}

bool FacetSpline::getPoints(AcGePoint3dArray& points)
{
    if (!m_first) {
        points.removeAll();
        return false;
    }
    if (!m_refined && !refine()) return false;
    points.removeAll();
    points.setPhysicalLength(m_nodeCount);
    for (const FacetNode* n = m_first; n; n = n->m_next) points.append(n->m_point);
    return true;
}

bool FacetSplineChordal::testSegment(const FacetNode& a, const FacetNode& b, double& splitParam,
                                     double& deviation) const
{
    const AcGeLine3d tangentA(a.point(), a.deriv());
    const AcGeLine3d tangentB(b.point(), b.deriv());
    const AcGeLine3d chord(a.point(), b.point());
    // Parallel tangents give A's own point and its foot on B's tangent.
    AcGePoint3d p2;
    const AcGePoint3d p1 = tangentA.closestPointTo(tangentB, p2);
    const double d1 = chord.distanceTo(p1);
    const double d2 = chord.distanceTo(p2);
    deviation = d1 > d2 ? d1 : d2;
    if (chordTolerance() < deviation) {
        splitParam = (a.param() + b.param()) / 2.0;
        return false;
    }
    return true;
}
