// Times the browser page's picture of a large drawing: the first picture of every object, and
// the refresh after an answer that changed one object, and after one that turned a layer off.
//
// usage: bench_web_picture [object count]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/render/DrawingRenderer.h"
#include "web/PageState.h"

namespace {

// Processor time, which a busy machine disturbs less than the clock on the wall.
double cpuSecondsSince(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

// Lines and lightweight polylines over a 1 km square on twenty layers.
AcDbObjectId build(AcDbDatabase& db, long count, AcDbObjectId layers[20])
{
    AcDbLayerTable* table = nullptr;
    db.getSymbolTable(table, AcDb::kForWrite);
    for (int i = 0; i < 20; ++i) {
        auto* rec = new AcDbLayerTableRecord;
        rec->setName((L"L" + std::to_wstring(i)).c_str());
        table->add(layers[i], rec);
        rec->close();
    }
    table->close();
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
    AcDbObjectId first;
    for (long i = 0; i < count; ++i) {
        const double x = (i % 1000) * 1.0123, y = (i / 1000) * 1.0456;
        AcDbEntity* ent = nullptr;
        if (i % 2) {
            ent = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 0.7, y + 0.35, 0));
        } else {
            auto* pl = new AcDbPolyline;
            for (unsigned v = 0; v < 4; ++v) pl->addVertexAt(v, AcGePoint2d(x + v * 0.25, y + (v % 2) * 0.2));
            ent = pl;
        }
        ent->setLayer(layers[i % 20]);
        AcDbObjectId id;
        ms->appendAcDbEntity(id, ent);
        if (i == 0) first = id;
        ent->close();
    }
    ms->close();
    return first;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    AcDbDatabase db(true);
    AcDbObjectId layers[20];
    const AcDbObjectId first = build(db, count, layers);
    fendo::render::RenderOptions fit;
    const auto view = fendo::render::pictureView(db, fit);
    fendo::web::PictureTracker tracker;

    std::clock_t start = std::clock();
    const auto all = tracker.refresh(db, view);
    std::printf("first picture of %ld objects: %.3f s (%zu groups, %.1f MB of SVG)\n", count, cpuSecondsSince(start),
        all.put.size(), tracker.fullSvg().size() / 1e6);

    {
        fendo::db::OpenedObject<AcDbLine> line(first, AcDb::kForWrite);
    }
    start = std::clock();
    const auto one = tracker.refresh(db, view);
    std::printf(
        "refresh after one object opened for write: %.3f s (%zu sent)\n", cpuSecondsSince(start), one.put.size());

    {
        fendo::db::OpenedObject<AcDbLayerTableRecord> layer(layers[3], AcDb::kForWrite);
        layer.get()->setIsOff(true);
    }
    start = std::clock();
    const auto off = tracker.refresh(db, view);
    std::printf("refresh after a layer turned off: %.3f s (%zu removed)\n", cpuSecondsSince(start), off.removed.size());
    return 0;
}
