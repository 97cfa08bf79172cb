// Joining lines and 3D polylines of the drawing into 3D polylines.
#include "geometry/JointSegmentAcad.h"

#include <cmath>

#include "frame/DrawingHelpers.h"
#include "geometry/CurveReaders.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "host/editor/aced.h"

namespace {

// A piece whose ends differ in height by at least this much is sloping.
constexpr double kLevelTolerance = 0.0001;

// The points of a line (its ends) or a 3D polyline (its distinct vertices).
void piecePoints(const AcDbEntity* e, AcGePoint3dArray& points)
{
    points.removeAll();
    if (const AcDbLine* line = AcDbLine::cast(e)) {
        points.append(line->startPoint());
        points.append(line->endPoint());
    } else if (const AcDb3dPolyline* pline = AcDb3dPolyline::cast(e)) {
        read3dPolylineVertices(pline, points);
    }
}

bool readPiece(AcDbObjectId id, bool reversed, AcGePoint3dArray& points)
{
    fendo::db::OpenedObject<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) return false;
    piecePoints(e.get(), points);
    if (reversed) points.reverse();
    return true;
}

void erasePiece(AcDbObjectId id)
{
    fendo::db::OpenedObject<AcDbEntity> e(id, AcDb::kForWrite);
    if (e) e->erase();
}

}  // namespace

AcDbObjectId JointSegmentAcad::pieceId(Adesk::Int32 identifier) const
{
    if (identifier < 0 || static_cast<size_t>(identifier) >= m_pieces.size()) return AcDbObjectId();
    return m_pieces[identifier];
}

void JointSegmentAcad::addEntities(const AcDbObjectIdArray& ids)
{
    acedSetStatusBarProgressMeter(L"", 0, ids.length());
    m_pieces.reserve(m_pieces.size() + static_cast<size_t>(ids.length()));
    data().reserve(data().links().size() + static_cast<size_t>(ids.length()));
    AcGePoint3dArray points;
    for (int i = 0; i < ids.length(); ++i) {
        acedSetStatusBarProgressMeterPos(i);
        {
            fendo::db::OpenedObject<AcDbEntity> e(ids[i], AcDb::kForRead);
            if (!e) continue;
            piecePoints(e.get(), points);
        }
        if (points.isEmpty()) continue;
        // The engine knows pieces by their place in m_pieces; object ids do not fit 32 bits.
        const auto identifier = static_cast<Adesk::Int32>(m_pieces.size());
        m_pieces.push_back(ids[i]);
        addSegment(identifier, points.first(), points.last());
    }
    acedRestoreStatusBar();
}

void JointSegmentAcad::writeOut(const AcGePoint3dArray& points, AcDbObjectId source)
{
    AcDbCurve* pline = nullptr;
    if (m_output == Output::Polyline2d) {
        pline = new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, false);
    } else {
        pline = new AcDb3dPolyline(AcDb::k3dSimplePoly, points, false);
    }
    {
        fendo::db::OpenedObject<AcDbEntity> r(source, AcDb::kForWrite);
        if (r) {
            pline->setPropertiesFrom(r.get());
            if (resbuf* xdata = r->xData()) {
                pline->setXData(xdata);
                acutRelRb(xdata);
            }
            r->erase();
        }
    }
    AcDbObjectId id;
    if (appendToSpace(pline, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk) {
        if (id.isNull()) delete pline;
        return;
    }
    m_created.append(id);
}

int JointSegmentAcad::onChain(const std::vector<Adesk::Int32>& ids, const std::vector<int>& flags, int count)
{
    if (count <= 0) return 0;
    AcGePoint3dArray a;
    AcDbObjectId source = pieceId(ids[0]);
    readPiece(source, flags[0] == 1, a);
    AcGePoint3dArray b;
    for (int k = 1; k < count; ++k) {
        const AcDbObjectId piece = pieceId(ids[k]);
        if (!readPiece(piece, flags[k] == 1, b) || b.isEmpty()) continue;
        if (std::fabs(b.last().z - b.first().z) >= kLevelTolerance) {
            if (a.length() > 1) writeOut(a, source);
            a = b;
            source = piece;
        } else {
            for (int i = 1; i < b.length(); ++i) a.append(b[i]);
            erasePiece(piece);
        }
    }
    if (a.length() > 1) writeOut(a, source);
    return 0;
}
