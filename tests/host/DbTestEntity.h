// A minimal entity for database tests: a segment that draws itself as one polyline.
#pragma once
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/gi/AcGi.h"

class DbTestSegment : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(DbTestSegment);

public:
    AcGePoint3d from;
    AcGePoint3d to;
    bool worldDraw(AcGiWorldDraw* wd) override
    {
        const AcGePoint3d pts[2] = {from, to};
        wd->geometry().polyline(2, pts);
        return true;
    }
};

namespace dbtest {

// A default drawing made the working database for the test's lifetime.
struct WorkingDrawing {
    AcDbDatabase db;
    WorkingDrawing() { acdbHostApplicationServices()->setWorkingDatabase(&db); }
};

// Appends a segment to model space and closes it; returns its id.
inline AcDbObjectId appendSegment(AcDbDatabase& db, AcGePoint3d a = {0, 0, 0}, AcGePoint3d b = {1, 1, 0})
{
    AcDbBlockTableRecord* ms = nullptr;
    if (acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return {};
    auto* seg = new DbTestSegment;
    seg->from = a;
    seg->to = b;
    AcDbObjectId id;
    if (ms->appendAcDbEntity(id, seg) != Acad::eOk) delete seg;
    else seg->close();
    ms->close();
    return id;
}

}  // namespace dbtest
