// NURBS curve: evaluation with derivatives (de Boor's basis recurrences), closest
// points, arc length and cubic interpolation of fit points.
#include "host/ge/AcGeNurbCurve3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "host/ge/AcGeMatrix3d.h"

namespace {

constexpr int kMaxDegree = 25;
// Interpolation always builds cubics.
constexpr int kFitDegree = 3;

// Basis function values N[0..p] of span i at u (the non-zero ones, N_{i-p} .. N_i).
void basisFuns(int i, double u, int p, const AcGeKnotVector& U, double* N) {
    double left[kMaxDegree + 1], right[kMaxDegree + 1];
    N[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[j] = u - U[i + 1 - j];
        right[j] = U[i + j] - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            const double denom = right[r + 1] + left[j - r];
            const double temp = denom == 0.0 ? 0.0 : N[r] / denom;
            N[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        N[j] = saved;
    }
}

// Basis functions and their derivatives up to order n: ders[k][j] is the k-th derivative
// of N_{i-p+j}.
// ders holds n + 1 rows, set to zero by the caller.
using BasisRow = std::array<double, kMaxDegree + 1>;
void dersBasisFuns(int i, double u, int p, int n, const AcGeKnotVector& U, BasisRow* ders) {
    double ndu[kMaxDegree + 1][kMaxDegree + 1];
    double left[kMaxDegree + 1], right[kMaxDegree + 1];
    ndu[0][0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[j] = u - U[i + 1 - j];
        right[j] = U[i + j] - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            ndu[j][r] = right[r + 1] + left[j - r];
            const double temp = ndu[j][r] == 0.0 ? 0.0 : ndu[r][j - 1] / ndu[j][r];
            ndu[r][j] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        ndu[j][j] = saved;
    }
    for (int j = 0; j <= p; ++j) ders[0][j] = ndu[j][p];
    double a[2][kMaxDegree + 1];
    for (int r = 0; r <= p; ++r) {
        int s1 = 0, s2 = 1;
        a[0][0] = 1.0;
        for (int k = 1; k <= n; ++k) {
            double d = 0.0;
            const int rk = r - k, pk = p - k;
            if (r >= k) {
                a[s2][0] = ndu[pk + 1][rk] == 0.0 ? 0.0 : a[s1][0] / ndu[pk + 1][rk];
                d = a[s2][0] * ndu[rk][pk];
            }
            const int j1 = rk >= -1 ? 1 : -rk;
            const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
            for (int j = j1; j <= j2; ++j) {
                const double denom = ndu[pk + 1][rk + j];
                a[s2][j] = denom == 0.0 ? 0.0 : (a[s1][j] - a[s1][j - 1]) / denom;
                d += a[s2][j] * ndu[rk + j][pk];
            }
            if (r <= pk) {
                a[s2][k] = ndu[pk + 1][r] == 0.0 ? 0.0 : -a[s1][k - 1] / ndu[pk + 1][r];
                d += a[s2][k] * ndu[r][pk];
            }
            ders[k][r] = d;
            std::swap(s1, s2);
        }
    }
    double f = p;
    for (int k = 1; k <= n; ++k) {
        for (int j = 0; j <= p; ++j) ders[k][j] *= f;
        f *= (p - k);
    }
}

// Solves a tridiagonal system a[i] x[i-1] + b[i] x[i] + c[i] x[i+1] = r[i] in place of r
// (Thomas algorithm; B-spline collocation matrices need no pivoting).
bool solveTridiagonal(const std::vector<double>& a, std::vector<double> b, const std::vector<double>& c,
                      std::vector<AcGeVector3d>& r) {
    const size_t n = b.size();
    for (size_t i = 1; i < n; ++i) {
        if (b[i - 1] == 0.0) return false;
        const double m = a[i] / b[i - 1];
        b[i] -= m * c[i - 1];
        r[i] -= r[i - 1] * m;
    }
    if (b[n - 1] == 0.0) return false;
    r[n - 1] /= b[n - 1];
    for (size_t i = n - 1; i-- > 0;) r[i] = (r[i] - r[i + 1] * c[i]) / b[i];
    return true;
}

// Cyclic tridiagonal system: as above plus a[0] x[n-1] in the first row and c[n-1] x[0]
// in the last, by the Sherman-Morrison correction.
bool solveCyclicTridiagonal(const std::vector<double>& a, const std::vector<double>& b, const std::vector<double>& c,
                            std::vector<AcGeVector3d>& r) {
    const size_t n = b.size();
    const double alpha = c[n - 1], beta = a[0];
    const double gamma = -b[0];
    std::vector<double> bb = b;
    bb[0] = b[0] - gamma;
    bb[n - 1] = b[n - 1] - alpha * beta / gamma;
    std::vector<AcGeVector3d> x = r;
    if (!solveTridiagonal(a, bb, c, x)) return false;
    // z solves T z = u with u = (gamma, 0, ..., alpha); one scalar component suffices.
    std::vector<AcGeVector3d> z(n);
    z[0].x = gamma;
    z[n - 1].x = alpha;
    if (!solveTridiagonal(a, bb, c, z)) return false;
    const double denom = 1.0 + z[0].x + beta * z[n - 1].x / gamma;
    const AcGeVector3d fact = (x[0] + x[n - 1] * (beta / gamma)) / denom;
    for (size_t i = 0; i < n; ++i) r[i] = x[i] - fact * z[i].x;
    return true;
}

// Fit points with consecutive repeats removed.
std::vector<AcGePoint3d> distinctPoints(const AcGePoint3dArray& pts, const AcGeTol& tol) {
    std::vector<AcGePoint3d> out;
    for (const auto& p : pts)
        if (out.empty() || !out.back().isEqualTo(p, tol)) out.push_back(p);
    return out;
}

// Parameter derivative at the start of the parabola through q0, q1, q2 at parameters
// 0, h1, h1 + h2.
AcGeVector3d parabolaStartDerivative(const AcGePoint3d& q0, const AcGePoint3d& q1, const AcGePoint3d& q2, double h1,
                                     double h2) {
    const AcGeVector3d s1 = (q1 - q0) / h1, s2 = (q2 - q1) / h2;
    return s1 + (s1 - s2) * (h1 / (h1 + h2));
}

// Eight-point Gauss-Legendre rule for the speed |C'| over [lo, hi].
double gaussLength(const AcGeNurbCurve3d& c, double lo, double hi) {
    static constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                         0.9602898564975363};
    static constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                           0.1012285362903763};
    const double mid = (lo + hi) / 2.0, rad = (hi - lo) / 2.0;
    double sum = 0.0;
    AcGeVector3dArray d;
    for (int k = 0; k < 4; ++k)
        for (double sign : {-1.0, 1.0}) {
            c.evalPoint(mid + sign * rad * kNodes[k], 1, d);
            sum += kWeights[k] * rad * d[0].length();
        }
    return sum;
}

// Length of a piece within one knot span, halved until the halves agree with the whole.
double spanLength(const AcGeNurbCurve3d& c, double lo, double hi, int depth) {
    constexpr double kRelativeAccuracy = 1e-13;
    constexpr int kMaxDepth = 20;
    const double mid = (lo + hi) / 2.0;
    const double whole = gaussLength(c, lo, hi);
    const double halves = gaussLength(c, lo, mid) + gaussLength(c, mid, hi);
    if (depth >= kMaxDepth || std::fabs(whole - halves) <= kRelativeAccuracy * (1.0 + std::fabs(halves)))
        return halves;
    return spanLength(c, lo, mid, depth + 1) + spanLength(c, mid, hi, depth + 1);
}

}  // namespace

AcGeNurbCurve3d::AcGeNurbCurve3d(int degree, const AcGeKnotVector& knots, const AcGePoint3dArray& controlPoints,
                                 bool isPeriodic)
    : m_degree(degree), m_periodic(isPeriodic), m_knots(knots), m_controlPoints(controlPoints) {}

AcGeNurbCurve3d::AcGeNurbCurve3d(int degree, const AcGeKnotVector& knots, const AcGePoint3dArray& controlPoints,
                                 const AcGeDoubleArray& weights, bool isPeriodic)
    : m_degree(degree), m_periodic(isPeriodic), m_knots(knots), m_controlPoints(controlPoints), m_weights(weights) {}

AcGeNurbCurve3d::AcGeNurbCurve3d(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                                 const AcGeVector3d& endTangent, bool startTangentDefined, bool endTangentDefined,
                                 const AcGeTol& fitTolerance)
    : m_fitPoints(fitPoints),
      m_fitTolerance(fitTolerance),
      m_startTangentDefined(startTangentDefined && !startTangent.isZeroLength()),
      m_endTangentDefined(endTangentDefined && !endTangent.isZeroLength()),
      m_startTangent(startTangent),
      m_endTangent(endTangent) {
    if (!refit()) m_fitPoints.removeAll();
}

AcGeNurbCurve3d::AcGeNurbCurve3d(const AcGePoint3dArray& fitPoints, const AcGeTol& fitTolerance)
    : m_fitPoints(fitPoints), m_fitTolerance(fitTolerance) {
    if (!refit()) m_fitPoints.removeAll();
}

bool AcGeNurbCurve3d::refit() {
    const std::vector<AcGePoint3d> q = distinctPoints(m_fitPoints, AcGeContext::gTol);
    const int n = static_cast<int>(q.size());
    const int p = kFitDegree;

    if (m_fitShape == FitShape::kClosed) {
        // Periodic cubic: parameters at the fit points (closing chord included), knots
        // at the parameters extended by one period on each side, control points wrapped.
        std::vector<AcGePoint3d> c = q;
        if (c.size() > 1 && c.front().isEqualTo(c.back())) c.pop_back();
        const int m = static_cast<int>(c.size());
        if (m < 3) return false;
        std::vector<double> t(m + 1, 0.0);
        for (int k = 1; k <= m; ++k) t[k] = t[k - 1] + c[k % m].distanceTo(c[k - 1]);
        const double total = t[m];
        for (double& v : t) v /= total;
        t[m] = 1.0;
        AcGeKnotVector U;
        for (int j = 0; j < p; ++j) U.append(t[m - p + j] - 1.0);
        for (int j = 0; j <= m; ++j) U.append(t[j]);
        for (int j = 1; j <= p; ++j) U.append(1.0 + t[j]);
        std::vector<double> a(m), b(m), cc(m);
        std::vector<AcGeVector3d> r(m);
        double N[kMaxDegree + 1];
        for (int k = 0; k < m; ++k) {
            // At knot t_k (index k + p) the non-zero functions belong to points k .. k + 2.
            basisFuns(k + p, t[k], p, U, N);
            a[k] = N[0];
            b[k] = N[1];
            cc[k] = N[2];
            r[k] = c[k].asVector();
        }
        // Unknown j is control point (j + 1) mod m.
        if (!solveCyclicTridiagonal(a, b, cc, r)) return false;
        AcGePoint3dArray cps;
        for (int i = 0; i < m + p; ++i) {
            const AcGeVector3d& v = r[(i + m - 1) % m];
            cps.append(AcGePoint3d(v.x, v.y, v.z));
        }
        m_degree = p;
        m_periodic = true;
        m_knots = U;
        knotsChanged();
        m_controlPoints = cps;
        m_weights.removeAll();
        return true;
    }

    if (n < 2) return false;
    // Chord-length parameters scaled to 0..1.
    std::vector<double> t(n, 0.0);
    for (int k = 1; k < n; ++k) t[k] = t[k - 1] + q[k].distanceTo(q[k - 1]);
    const double total = t[n - 1];
    for (double& v : t) v /= total;
    t[n - 1] = 1.0;

    // End derivatives with respect to the parameter: a given tangent keeps its direction
    // and gets the total chord length as magnitude; otherwise the parabola through the
    // three nearest fit points (the chord for two points).
    AcGeVector3d d0, d1;
    if (m_startTangentDefined)
        d0 = m_startTangent.normal() * total;
    else if (n == 2)
        d0 = q[1] - q[0];
    else
        d0 = parabolaStartDerivative(q[0], q[1], q[2], t[1], t[2] - t[1]);
    if (m_endTangentDefined)
        d1 = m_endTangent.normal() * total;
    else if (n == 2)
        d1 = q[1] - q[0];
    else
        d1 = -parabolaStartDerivative(q[n - 1], q[n - 2], q[n - 3], 1.0 - t[n - 2], t[n - 2] - t[n - 3]);

    AcGeKnotVector U;
    for (int j = 0; j <= p; ++j) U.append(0.0);
    for (int k = 1; k < n - 1; ++k) U.append(t[k]);
    for (int j = 0; j <= p; ++j) U.append(1.0);

    std::vector<AcGePoint3d> P(n + 2);
    P[0] = q[0];
    P[n + 1] = q[n - 1];
    P[1] = q[0] + d0 * (U[p + 1] / 3.0);
    P[n] = q[n - 1] - d1 * ((1.0 - U[n + 1]) / 3.0);
    if (n > 2) {
        // Unknowns P[2] .. P[n-1]; row k (fit point k = 1 .. n-2) involves P[k], P[k+1], P[k+2].
        const int rows = n - 2;
        std::vector<double> a(rows), b(rows), c(rows);
        std::vector<AcGeVector3d> r(rows);
        double N[kMaxDegree + 1];
        for (int k = 1; k <= rows; ++k) {
            basisFuns(k + p, t[k], p, U, N);
            a[k - 1] = N[0];
            b[k - 1] = N[1];
            c[k - 1] = N[2];
            r[k - 1] = q[k].asVector();
        }
        r[0] -= P[1].asVector() * a[0];
        r[rows - 1] -= P[n].asVector() * c[rows - 1];
        if (!solveTridiagonal(a, b, c, r)) return false;
        for (int j = 0; j < rows; ++j) P[j + 2].set(r[j].x, r[j].y, r[j].z);
    }
    m_degree = p;
    m_periodic = false;
    m_knots = U;
    knotsChanged();
    m_controlPoints = AcGePoint3dArray(std::move(P));
    m_weights.removeAll();
    return true;
}

namespace fendo::ge {

AcGeNurbCurve3d closedCurveThroughFitPoints(const AcGePoint3dArray& fitPoints, const AcGeTol& fitTolerance) {
    AcGeNurbCurve3d curve;
    curve.m_fitPoints = fitPoints;
    curve.m_fitTolerance = fitTolerance;
    curve.m_fitShape = AcGeNurbCurve3d::FitShape::kClosed;
    if (!curve.refit()) return AcGeNurbCurve3d();
    return curve;
}

}  // namespace fendo::ge

bool AcGeNurbCurve3d::isClosed(const AcGeTol& tol) const {
    return isValid() && startPoint().isEqualTo(endPoint(), tol);
}

bool AcGeNurbCurve3d::isValid() const {
    if (m_degree < 1 || m_degree > kMaxDegree) return false;
    if (m_controlPoints.length() < m_degree + 1) return false;
    if (m_knots.length() != m_controlPoints.length() + m_degree + 1) return false;
    if (!m_weights.isEmpty() && m_weights.length() != m_controlPoints.length()) return false;
    if (!knotsInOrder()) return false;
    return endParam() > startParam();
}

bool AcGeNurbCurve3d::knotsInOrder() const {
    if (m_knotsInOrder < 0) {
        m_knotsInOrder = 1;
        for (int i = 1; i < m_knots.length(); ++i)
            if (m_knots[i] < m_knots[i - 1]) m_knotsInOrder = 0;
    }
    return m_knotsInOrder == 1;
}

AcGeNurbCurve3d& AcGeNurbCurve3d::setControlPointAt(int index, const AcGePoint3d& point) {
    m_controlPoints[index] = point;
    purgeFitData();
    return *this;
}

AcGeNurbCurve3d& AcGeNurbCurve3d::setWeightAt(int index, double weight) {
    if (m_weights.isEmpty()) m_weights = AcGeDoubleArray(std::vector<double>(m_controlPoints.length(), 1.0));
    m_weights[index] = weight;
    purgeFitData();
    return *this;
}

void AcGeNurbCurve3d::getDefinitionData(int& degree, bool& rational, bool& periodic, AcGeKnotVector& knots,
                                        AcGePoint3dArray& controlPoints, AcGeDoubleArray& weights) const {
    degree = m_degree;
    rational = isRational();
    periodic = m_periodic;
    knots = m_knots;
    controlPoints = m_controlPoints;
    weights = m_weights;
}

double AcGeNurbCurve3d::startParam() const {
    return m_knots.length() > m_degree ? m_knots[m_degree] : 0.0;
}

double AcGeNurbCurve3d::endParam() const {
    const int i = m_knots.length() - m_degree - 1;
    return i >= 0 && i < m_knots.length() ? m_knots[i] : 0.0;
}

double AcGeNurbCurve3d::wrapParam(double param) const {
    const double a = startParam(), b = endParam();
    if (m_periodic && b > a) {
        const double period = b - a;
        double u = a + std::fmod(param - a, period);
        if (u < a) u += period;
        return u;
    }
    return std::clamp(param, a, b);
}

int AcGeNurbCurve3d::findSpan(double u) const {
    const int n = m_controlPoints.length() - 1;
    const int p = m_degree;
    if (u >= m_knots[n + 1]) {
        // The last non-empty span, so that the end parameter evaluates on it.
        int s = n;
        while (s > p && m_knots[s] >= m_knots[s + 1]) --s;
        return s;
    }
    if (u <= m_knots[p]) {
        int s = p;
        while (s < n && m_knots[s + 1] <= m_knots[s]) ++s;
        return s;
    }
    int low = p, high = n + 1;
    int mid = (low + high) / 2;
    while (u < m_knots[mid] || u >= m_knots[mid + 1]) {
        if (u < m_knots[mid])
            high = mid;
        else
            low = mid;
        mid = (low + high) / 2;
    }
    return mid;
}

AcGePoint3d AcGeNurbCurve3d::evalPoint(double param) const {
    if (!isValid()) return AcGePoint3d::kOrigin;
    const double u = wrapParam(param);
    const int span = findSpan(u);
    const int p = m_degree;
    double N[kMaxDegree + 1];
    basisFuns(span, u, p, m_knots, N);
    AcGeVector3d sum;
    double w = 0.0;
    for (int j = 0; j <= p; ++j) {
        const int i = span - p + j;
        const double wi = N[j] * weightAt(i);
        sum += m_controlPoints[i].asVector() * wi;
        w += wi;
    }
    if (w != 0.0) sum /= w;
    return {sum.x, sum.y, sum.z};
}

AcGePoint3d AcGeNurbCurve3d::evalPoint(double param, int numDeriv, AcGeVector3dArray& derivArray) const {
    derivArray.removeAll();
    if (!isValid()) return AcGePoint3d::kOrigin;
    const double u = wrapParam(param);
    const int span = findSpan(u);
    const int p = m_degree;
    const int nd = std::max(0, numDeriv);
    const int du = std::min(nd, p);
    // Up to the largest degree the rows live on the stack: this is called for every node of
    // a spline's faceting.
    std::array<BasisRow, kMaxDegree + 1> ders;
    std::fill(ders.begin(), ders.begin() + du + 1, BasisRow{});
    dersBasisFuns(span, u, p, du, m_knots, ders.data());
    // Derivatives of the weighted points A and of the weight function w, and of the curve C.
    std::array<AcGeVector3d, kMaxDegree + 1> fixedA, fixedC;
    std::array<double, kMaxDegree + 1> fixedW;
    std::vector<AcGeVector3d> moreA, moreC;
    std::vector<double> moreW;
    AcGeVector3d* A = fixedA.data();
    AcGeVector3d* C = fixedC.data();
    double* W = fixedW.data();
    if (nd > kMaxDegree) {
        moreA.resize(nd + 1);
        moreC.resize(nd + 1);
        moreW.resize(nd + 1);
        A = moreA.data();
        C = moreC.data();
        W = moreW.data();
    }
    std::fill(A, A + nd + 1, AcGeVector3d());
    std::fill(W, W + nd + 1, 0.0);
    for (int k = 0; k <= du; ++k)
        for (int j = 0; j <= p; ++j) {
            const int i = span - p + j;
            const double wi = weightAt(i);
            A[k] += m_controlPoints[i].asVector() * (ders[k][j] * wi);
            W[k] += ders[k][j] * wi;
        }
    // Quotient rule: C(k) = (A(k) - sum_{i=1..k} binom(k,i) w(i) C(k-i)) / w.
    for (int k = 0; k <= nd; ++k) {
        AcGeVector3d v = A[k];
        double binom = 1.0;
        for (int i = 1; i <= k; ++i) {
            binom = binom * (k - i + 1) / i;
            v -= C[k - i] * (binom * W[i]);
        }
        C[k] = W[0] != 0.0 ? v / W[0] : v;
    }
    for (int k = 1; k <= nd; ++k) derivArray.append(C[k]);
    return {C[0].x, C[0].y, C[0].z};
}

double AcGeNurbCurve3d::paramOf(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    if (!isValid()) return 0.0;
    const int p = m_degree;
    const int n = m_controlPoints.length() - 1;
    // Each non-empty span lies in the box of its control points (weights positive), so
    // spans whose box is farther than the best distance so far are skipped.
    struct Span {
        int index;
        double boxDistance;
    };
    std::vector<Span> spans;
    for (int s = p; s <= n; ++s) {
        if (m_knots[s + 1] <= m_knots[s]) continue;
        AcGePoint3d lo = m_controlPoints[s - p], hi = lo;
        for (int i = s - p + 1; i <= s; ++i)
            for (unsigned c = 0; c < 3; ++c) {
                lo[c] = std::min(lo[c], m_controlPoints[i][c]);
                hi[c] = std::max(hi[c], m_controlPoints[i][c]);
            }
        double d2 = 0.0;
        for (unsigned c = 0; c < 3; ++c) {
            const double gap = std::max({lo[c] - pnt[c], 0.0, pnt[c] - hi[c]});
            d2 += gap * gap;
        }
        spans.push_back({s, std::sqrt(d2)});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.boxDistance < b.boxDistance; });
    constexpr int kSamplesPerSpan = 8;
    constexpr int kNewtonSteps = 20;
    double bestParam = startParam();
    double bestDist = pnt.distanceTo(evalPoint(bestParam));
    AcGeVector3dArray d;
    for (const Span& sp : spans) {
        if (sp.boxDistance > bestDist) break;
        const double a = m_knots[sp.index], b = m_knots[sp.index + 1];
        double u = a, uDist = pnt.distanceTo(evalPoint(a));
        for (int k = 1; k <= kSamplesPerSpan; ++k) {
            const double v = a + (b - a) * k / kSamplesPerSpan;
            const double dv = pnt.distanceTo(evalPoint(v));
            if (dv < uDist) {
                u = v;
                uDist = dv;
            }
        }
        // Newton's method on f(u) = C'(u).(C(u) - P) within the span.
        for (int it = 0; it < kNewtonSteps; ++it) {
            const AcGePoint3d c = evalPoint(u, 2, d);
            const AcGeVector3d diff = c - pnt;
            const double f = d[0].dotProduct(diff);
            const double df = d[1].dotProduct(diff) + d[0].lengthSqrd();
            if (df <= 0.0) break;
            const double next = std::clamp(u - f / df, a, b);
            if (std::fabs(next - u) * d[0].length() <= tol.equalPoint() * 1e-3) {
                u = next;
                break;
            }
            u = next;
        }
        const double du = pnt.distanceTo(evalPoint(u));
        if (du < bestDist) {
            bestDist = du;
            bestParam = u;
        }
    }
    return bestParam;
}

AcGePoint3d AcGeNurbCurve3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return evalPoint(paramOf(pnt, tol));
}

bool AcGeNurbCurve3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const {
    return isValid() && pnt.distanceTo(closestPointTo(pnt, tol)) <= tol.equalPoint();
}

double AcGeNurbCurve3d::distanceTo(const AcGePoint3d& pnt) const { return pnt.distanceTo(closestPointTo(pnt)); }

double AcGeNurbCurve3d::length(double fromParam, double toParam) const {
    if (!isValid()) return 0.0;
    if (toParam < fromParam) return -length(toParam, fromParam);
    const double a = std::clamp(fromParam, startParam(), endParam());
    const double b = std::clamp(toParam, startParam(), endParam());
    std::vector<double> cuts{a};
    for (int i = 0; i < m_knots.length(); ++i)
        if (m_knots[i] > cuts.back() && m_knots[i] < b) cuts.push_back(m_knots[i]);
    cuts.push_back(b);
    double total = 0.0;
    for (size_t s = 0; s + 1 < cuts.size(); ++s) total += spanLength(*this, cuts[s], cuts[s + 1], 0);
    return total;
}

bool AcGeNurbCurve3d::getFitPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= m_fitPoints.length()) return false;
    point = m_fitPoints[index];
    return true;
}

bool AcGeNurbCurve3d::getFitTolerance(AcGeTol& fitTolerance) const {
    if (!hasFitData()) return false;
    fitTolerance = m_fitTolerance;
    return true;
}

bool AcGeNurbCurve3d::getFitTangents(AcGeVector3d& startTangent, AcGeVector3d& endTangent) const {
    if (!hasFitData() || !(m_startTangentDefined || m_endTangentDefined)) return false;
    startTangent = m_startTangentDefined ? m_startTangent : AcGeVector3d::kIdentity;
    endTangent = m_endTangentDefined ? m_endTangent : AcGeVector3d::kIdentity;
    return true;
}

bool AcGeNurbCurve3d::getFitData(AcGePoint3dArray& fitPoints, AcGeTol& fitTolerance, bool& tangentsExist,
                                 AcGeVector3d& startTangent, AcGeVector3d& endTangent) const {
    if (!hasFitData()) return false;
    fitPoints = m_fitPoints;
    fitTolerance = m_fitTolerance;
    tangentsExist = getFitTangents(startTangent, endTangent);
    if (!tangentsExist) startTangent = endTangent = AcGeVector3d::kIdentity;
    return true;
}

bool AcGeNurbCurve3d::setFitData(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                                 const AcGeVector3d& endTangent, const AcGeTol& fitTolerance) {
    AcGeNurbCurve3d trial = *this;
    trial.m_fitPoints = fitPoints;
    trial.m_fitTolerance = fitTolerance;
    trial.m_startTangentDefined = !startTangent.isZeroLength();
    trial.m_endTangentDefined = !endTangent.isZeroLength();
    trial.m_startTangent = startTangent;
    trial.m_endTangent = endTangent;
    if (!trial.refit()) return false;
    *this = trial;
    return true;
}

bool AcGeNurbCurve3d::setFitData(const AcGePoint3dArray& fitPoints, const AcGeTol& fitTolerance) {
    return setFitData(fitPoints, AcGeVector3d::kIdentity, AcGeVector3d::kIdentity, fitTolerance);
}

bool AcGeNurbCurve3d::setFitPointAt(int index, const AcGePoint3d& point) {
    if (index < 0 || index >= m_fitPoints.length()) return false;
    AcGeNurbCurve3d trial = *this;
    trial.m_fitPoints[index] = point;
    if (!trial.refit()) return false;
    *this = trial;
    return true;
}

bool AcGeNurbCurve3d::addFitPointAt(int index, const AcGePoint3d& point) {
    if (!hasFitData() || index < 0 || index > m_fitPoints.length()) return false;
    AcGeNurbCurve3d trial = *this;
    trial.m_fitPoints.insertAt(index, point);
    if (!trial.refit()) return false;
    *this = trial;
    return true;
}

bool AcGeNurbCurve3d::deleteFitPointAt(int index) {
    if (index < 0 || index >= m_fitPoints.length()) return false;
    AcGeNurbCurve3d trial = *this;
    trial.m_fitPoints.removeAt(index);
    if (!trial.refit()) return false;
    *this = trial;
    return true;
}

bool AcGeNurbCurve3d::setFitTangents(const AcGeVector3d& startTangent, const AcGeVector3d& endTangent) {
    if (!hasFitData()) return false;
    return setFitData(AcGePoint3dArray(m_fitPoints), startTangent, endTangent, m_fitTolerance);
}

bool AcGeNurbCurve3d::purgeFitData() {
    const bool had = hasFitData();
    m_fitPoints.removeAll();
    m_startTangentDefined = m_endTangentDefined = false;
    m_fitShape = FitShape::kOpen;
    return had;
}

AcGeNurbCurve3d& AcGeNurbCurve3d::reverseParam() {
    if (m_knots.isEmpty()) return *this;
    const double lo = m_knots.first(), hi = m_knots.last();
    AcGeKnotVector k = m_knots;
    for (int i = 0; i < k.length(); ++i) k[i] = lo + hi - m_knots[m_knots.length() - 1 - i];
    m_knots = k;
    knotsChanged();
    m_controlPoints.reverse();
    m_weights.reverse();
    m_fitPoints.reverse();
    std::swap(m_startTangent, m_endTangent);
    std::swap(m_startTangentDefined, m_endTangentDefined);
    m_startTangent = -m_startTangent;
    m_endTangent = -m_endTangent;
    return *this;
}

AcGeNurbCurve3d& AcGeNurbCurve3d::transformBy(const AcGeMatrix3d& m) {
    for (auto& p : m_controlPoints) p.transformBy(m);
    for (auto& p : m_fitPoints) p.transformBy(m);
    m_startTangent.transformBy(m);
    m_endTangent.transformBy(m);
    return *this;
}
