// Edge and toe polylines of a slope symbol read into point lists.
#include "slope/SourcePolyline.h"

#include <cmath>

#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/ge/BulgeArc.h"

namespace fendo::slope {

namespace {
// The chord rule's denominator: 12 times the faceting factor of 1.0 drawing unit.
constexpr double kChordRuleDivisor = 12.0 * 1.0;
}  // namespace

int arcChordCount(double sweep, double radius)
{
    const double theta = std::abs(sweep);
    const double chords = std::sqrt(theta * theta * theta * radius * radius / kChordRuleDivisor);
    return static_cast<int>(std::trunc(chords + 0.5));
}

void lightweightPolylinePoints(const AcDbPolyline& pline, AcGePoint3dArray& points)
{
    const unsigned int n = pline.numVerts();
    const double z = pline.elevation();
    for (unsigned int i = 0; i < n; ++i) {
        AcGePoint2d p0;
        pline.getPointAt(i, p0);
        points.append(AcGePoint3d(p0.x, p0.y, z));
        const bool hasSegment = i + 1 < n || (pline.isClosed() && n > 1);
        double bulge = 0.0;
        pline.getBulgeAt(i, bulge);
        if (!hasSegment || bulge == 0.0) continue;
        AcGePoint2d p1;
        pline.getPointAt(i + 1 < n ? i + 1 : 0, p1);
        const auto arc = fendo::ge::arcFromBulge(p0, p1, bulge);
        if (!arc) continue;
        const int chords = arcChordCount(arc->sweep, arc->radius);
        const double start = std::atan2(p0.y - arc->center.y, p0.x - arc->center.x);
        for (int k = 1; k < chords; ++k) {
            const double a = start + arc->sweep * k / chords;
            points.append(AcGePoint3d(arc->center.x + arc->radius * std::cos(a),
                                      arc->center.y + arc->radius * std::sin(a), z));
        }
    }
}

bool readSourcePolyline(AcDbObjectId id, AcGePoint3dArray& points)
{
    points.removeAll();
    fendo::db::OpenedObject<AcDbEntity> source(id, AcDb::kForRead);
    if (!source) return false;
    if (const auto* lw = AcDbPolyline::cast(source.get())) {
        lightweightPolylinePoints(*lw, points);
    } else if (const auto* p3 = AcDb3dPolyline::cast(source.get())) {
        AcDbObjectIterator* it = p3->vertexIterator();
        for (it->start(); !it->done(); it->step())
            if (const auto* v = AcDb3dPolylineVertex::cast(it->entity())) points.append(v->position());
        delete it;
    } else if (const auto* p2 = AcDb2dPolyline::cast(source.get())) {
        AcDbObjectIterator* it = p2->vertexIterator();
        for (it->start(); !it->done(); it->step())
            if (const auto* v = AcDb2dVertex::cast(it->entity())) points.append(v->position());
        delete it;
    }
    return points.length() > 0;
}

}  // namespace fendo::slope
