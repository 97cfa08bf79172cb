// Bounding boxes of drawn primitives; arcs are bounded exactly, not by sampling.
#include "host/gi/ExtentsCollector.h"

#include <cmath>
#include <numbers>

#include "host/db/entities/AcDbPolyline.h"

namespace fendo::gi {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Below this length a normal or start vector is taken as missing.
constexpr double kTinyVector = 1e-12;
// Width of a character in the fixed text model, as a fraction of the text height.
constexpr double kFixedCharWidth = 0.8;

AcGeVector3d unit(const AcGeVector3d& v, const AcGeVector3d& fallback)
{
    const double len = std::sqrt(v.lengthSqrd());
    return len < kTinyVector ? fallback : v / len;
}

// Adds the arc centre + r (cos t u + sin t v), t from 0 to sweep, with u and v unit and
// perpendicular: its ends and, per axis, the turning points inside the sweep.
void addArc(AcDbExtents& ext, const AcGePoint3d& c, double r, const AcGeVector3d& u, const AcGeVector3d& v,
            double sweep)
{
    auto at = [&](double t) { return c + u * (r * std::cos(t)) + v * (r * std::sin(t)); };
    const double lo = std::min(0.0, sweep), hi = std::max(0.0, sweep);
    ext.addPoint(at(lo));
    ext.addPoint(at(hi));
    for (int axis = 0; axis < 3; ++axis) {
        // Coordinate is c + r A cos(t - phi): turning points at phi and phi + pi.
        const double phi = std::atan2(v[axis], u[axis]);
        for (double base : {phi, phi + std::numbers::pi}) {
            double t = base - std::floor((base - lo) / kTwoPi) * kTwoPi;  // first at or after lo
            for (; t <= hi; t += kTwoPi) ext.addPoint(at(t));
        }
    }
}

}  // namespace

bool ExtentsCollector::polyline(std::uint32_t count, const AcGePoint3d* points, const AcGeVector3d*, std::intptr_t)
{
    for (std::uint32_t i = 0; i < count; ++i) m_extents.addPoint(points[i]);
    return false;
}

bool ExtentsCollector::polygon(std::uint32_t count, const AcGePoint3d* points)
{
    return polyline(count, points);
}

bool ExtentsCollector::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal)
{
    const AcGeVector3d n = unit(normal, AcGeVector3d::kZAxis);
    AcGeVector3d half;
    for (int axis = 0; axis < 3; ++axis) half[axis] = std::abs(radius) * std::sqrt(std::max(0.0, 1.0 - n[axis] * n[axis]));
    m_extents.addPoint(center - half);
    m_extents.addPoint(center + half);
    return false;
}

bool ExtentsCollector::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                   const AcGeVector3d& startVector, double sweepAngle, AcGiArcType arcType)
{
    const AcGeVector3d n = unit(normal, AcGeVector3d::kZAxis);
    // The start direction projected into the arc's plane.
    AcGeVector3d u = startVector - n * startVector.dotProduct(n);
    if (u.lengthSqrd() < kTinyVector * kTinyVector) return circle(center, radius, n);
    u = unit(u, AcGeVector3d::kXAxis);
    const AcGeVector3d v = n.crossProduct(u);
    addArc(m_extents, center, radius, u, v, sweepAngle);
    if (arcType == kAcGiArcSector) m_extents.addPoint(center);
    return false;
}

bool ExtentsCollector::text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                            double height, double width, double oblique, const ACHAR* message)
{
    const AcGeVector3d n = unit(normal, AcGeVector3d::kZAxis);
    const AcGeVector3d x = unit(direction - n * direction.dotProduct(n), AcGeVector3d::kXAxis);
    const AcGeVector3d y = n.crossProduct(x);
    size_t chars = 0;
    for (const ACHAR* p = message; p && *p; ++p) ++chars;
    const double advance = static_cast<double>(chars) * kFixedCharWidth * height * (width > 0 ? width : 1.0);
    const AcGeVector3d slant = x * (height * std::tan(oblique));
    m_extents.addPoint(position);
    m_extents.addPoint(position + x * advance);
    m_extents.addPoint(position + y * height + slant);
    m_extents.addPoint(position + x * advance + y * height + slant);
    return false;
}

bool ExtentsCollector::pline(const AcDbPolyline& pl, std::uint32_t fromIndex, std::uint32_t numSegs)
{
    const unsigned int nv = pl.numVerts();
    if (nv == 0) return false;
    const unsigned int segCount = pl.isClosed() ? nv : nv - 1;
    const unsigned int last = numSegs == 0 ? segCount : std::min<unsigned int>(segCount, fromIndex + numSegs);
    const AcGeVector3d n = unit(pl.normal(), AcGeVector3d::kZAxis);
    if (nv == 1) {
        AcGePoint3d p;
        pl.getPointAt(0, p);
        m_extents.addPoint(p);
    }
    for (unsigned int i = fromIndex; i < last; ++i) {
        AcGePoint3d p0, p1;
        double bulge = 0;
        pl.getPointAt(i, p0);
        pl.getPointAt((i + 1) % nv, p1);
        pl.getBulgeAt(i, bulge);
        m_extents.addPoint(p0);
        m_extents.addPoint(p1);
        const AcGeVector3d chord = p1 - p0;
        const double d = std::sqrt(chord.lengthSqrd());
        if (std::abs(bulge) < 1e-12 || d < kTinyVector) continue;
        // Centre on the left of the chord for a counter-clockwise arc of less than half a turn.
        const AcGeVector3d left = n.crossProduct(chord / d);
        const AcGePoint3d centre = p0 + chord * 0.5 + left * (d * 0.5 * (1 - bulge * bulge) / (2 * bulge));
        const double radius = d * 0.25 * (1 + bulge * bulge) / std::abs(bulge);
        circularArc(centre, radius, n, p0 - centre, 4 * std::atan(bulge));
    }
    return false;
}

}  // namespace fendo::gi
