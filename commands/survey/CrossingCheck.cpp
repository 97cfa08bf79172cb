// "CIP": pairwise crossing check of contour-like polylines. Marks every place where two polylines of different
// elevation cross with a red circle and turns both red.
#include "commands/survey/CrossingCheck.h"

#include <algorithm>
#include <cstdint>

#include "commands/survey/PlanGrid.h"
#include "commands/survey/SurveyLineCommands.h"
#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::survey {

std::unique_ptr<AcDbPolyline> chordPolyline(const PlanPolyline& pline)
{
    auto out = std::make_unique<AcDbPolyline>(static_cast<unsigned int>(pline.vertices.size()));
    for (std::size_t i = 0; i < pline.vertices.size(); ++i)
        out->addVertexAt(static_cast<unsigned int>(i), pline.vertices[i]);
    return out;
}

std::vector<Crossing> findCrossings(const std::vector<PlanPolyline>& plines)
{
    std::vector<Crossing> out;
    // Segments of every polyline in one grid (a lone vertex stands as a segment of no length), counted first so that
    // their lists are made once at their size.
    std::size_t count = 0;
    for (const PlanPolyline& p : plines) count += p.vertices.size() <= 1 ? p.vertices.size() : p.vertices.size() - 1;
    if (count == 0) return out;
    std::vector<std::uint32_t> owner;
    std::vector<PlanBox> boxes;
    owner.reserve(count);
    boxes.reserve(count);
    PlanBox world;
    double extent = 0.0;
    for (std::size_t i = 0; i < plines.size(); ++i) {
        const auto& v = plines[i].vertices;
        for (std::size_t k = 0; k + 1 < v.size() || (k == 0 && v.size() == 1); ++k) {
            const AcGePoint2d& a = v[k];
            const AcGePoint2d& b = v.size() == 1 ? v[k] : v[k + 1];
            owner.push_back(static_cast<std::uint32_t>(i));
            boxes.push_back(PlanBox::around(a.x, a.y, b.x, b.y));
            world.add(boxes.back());
            extent += std::max(boxes.back().maxX - boxes.back().minX, boxes.back().maxY - boxes.back().minY);
        }
    }
    const double slack = planSlack(world);
    PlanGrid grid(world, count, extent / static_cast<double>(count));
    for (PlanBox& box : boxes) box = box.grown(slack);
    grid.insertAll(std::move(boxes));

    std::vector<std::unique_ptr<AcDbPolyline>> chords(plines.size());
    auto chord = [&](std::size_t i) -> const AcDbPolyline& {
        if (!chords[i]) chords[i] = chordPolyline(plines[i]);
        return *chords[i];
    };
    std::vector<std::size_t> near, partners;
    std::size_t s = 0;
    for (std::size_t i = 0; i < plines.size(); ++i) {
        partners.clear();
        for (; s < count && owner[s] == i; ++s) {
            grid.query(grid.box(s), near);
            for (std::size_t t : near) {
                const std::size_t j = owner[t];
                if (j > i && plines[j].elevation != plines[i].elevation) partners.push_back(j);
            }
        }
        std::sort(partners.begin(), partners.end());
        partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
        for (std::size_t j : partners) {
            Crossing c{i, j, {}};
            if (chord(i).intersectWith(&chord(j), AcDb::kOnBothOperands, c.points) != Acad::eOk) continue;
            if (!c.points.isEmpty()) out.push_back(std::move(c));
        }
        chords[i].reset();
    }
    return out;
}

}  // namespace fendo::survey

namespace {
constexpr double kMarkRadius = 0.5;
constexpr Adesk::UInt16 kRed = 1;

void turnRed(AcDbObjectId id)
{
    fendo::db::OpenedObject<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity) entity->setColorIndex(kRed);
}
}  // namespace

void cmdCrossingCheck()
{
    using namespace fendo::survey;
    FilterObjects filter;
    filter.addType(L"LWPOLYLINE");
    if (filter.select(LoadPrompt(67).c_str()) == 0) return;
    std::vector<PlanPolyline> plines;
    std::vector<AcDbObjectId> ids;
    plines.reserve(filter.ids().size());
    ids.reserve(filter.ids().size());
    fendo::WalkProgress progress(L"CIP", filter.ids().size());
    for (const AcDbObjectId& id : filter.ids()) {
        progress.next();
        fendo::db::OpenedObject<AcDbPolyline> source(id, AcDb::kForRead);
        if (!source) continue;
        PlanPolyline p;
        p.elevation = source->elevation();
        p.vertices.reserve(source->numVerts());
        for (unsigned int k = 0; k < source->numVerts(); ++k) {
            AcGePoint2d v;
            source->getPointAt(k, v);
            p.vertices.push_back(v);
        }
        plines.push_back(std::move(p));
        ids.push_back(id);
    }
    for (const Crossing& c : findCrossings(plines)) {
        for (const AcGePoint3d& point : c.points) {
            auto* mark = new AcDbCircle(point, AcGeVector3d::kZAxis, kMarkRadius);
            mark->setColorIndex(kRed);
            appendToCurrentSpace(mark);
        }
        turnRed(ids[c.first]);
        turnRed(ids[c.second]);
    }
}
