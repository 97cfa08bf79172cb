// The selection index: one R-tree per space over single-precision boxes rounded
// outwards, each value naming the entity by its place in the space's entity
// list, which only grows. Entities new to a space are found by reading the list
// past its known length; changed ones come from the database's list of objects
// opened for write, erased or added.
#include "host/editor/SelectionIndex.h"

#include <algorithm>
// GCC takes some of the tree's fixed-size node buffers for uninitialised reads (clang has no
// such warning, and would refuse the name).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "host/db/AcDbCurve.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/editor/aced.h"
#include "host/gi/FlattenDraw.h"

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace fendo::editor {
namespace {

SelectionSearch g_search = SelectionSearch::Indexed;

using Point = bg::model::point<float, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;
using Value = std::pair<Box, std::uint32_t>;  // the box and the entity's place
                                              // in its space
using Tree = bgi::rtree<Value, bgi::quadratic<16>>;

float down(double v) { return std::nextafter(static_cast<float>(v), -HUGE_VALF); }
float up(double v) { return std::nextafter(static_cast<float>(v), HUGE_VALF); }

// The plan box of a world box, or nothing when it is empty. Rounded outwards so
// the single-precision box holds every double-precision point.
std::optional<Box> planBox(const gi::DrawnBounds& b)
{
    if (b.isEmpty()) return std::nullopt;
    return Box(Point(down(b.lo.x), down(b.lo.y)), Point(up(b.hi.x), up(b.hi.y)));
}

void addBounds(gi::DrawnBounds& to, const gi::DrawnBounds& b)
{
    if (b.isEmpty()) return;
    for (unsigned k = 0; k < 3; ++k) {
        to.lo[k] = std::min(to.lo[k], b.lo[k]);
        to.hi[k] = std::max(to.hi[k], b.hi[k]);
    }
}

// Curves whose drawing, carried by a block reference's transform, stays inside the
// carried box of their own drawing: their drawn points lie on the curve itself.
bool carriedByTransform(const AcDbEntity& e)
{
    return AcDbLine::cast(&e) || AcDbArc::cast(&e) || AcDbCircle::cast(&e) || AcDbPolyline::cast(&e) ||
           AcDb2dPolyline::cast(&e) || AcDb3dPolyline::cast(&e);
}

// Entities whose drawing depends only on their own data (and the flatten
// settings); the others (block references, texts, dimensions, tables, unknown
// classes) are drawn again whenever a block definition or a text style changes.
bool drawsFromOwnData(AcDbEntity& e) { return AcDbCurve::cast(&e) || AcDbPoint::cast(&e); }

struct SpaceIndex {
    Tree tree;
    std::vector<Box> boxes;                 // by place; valid where the flags say kInTree
    std::vector<std::uint8_t> flags;        // by place
    std::vector<std::uint32_t> dependents;  // places of entities drawn from other objects
    size_t known = 0;                       // places read from the space's entity list
};
constexpr std::uint8_t kInTree = 1, kClassified = 2;

class Index : public AcDbDatabase::Attachment {
public:
    FlattenSettings settings;
    std::map<AcDbStub*, SpaceIndex> spaces;
    std::vector<AcDbStub*> pending;  // changed objects open for write at the last search

    SpaceIndex& space(AcDbStub* spaceStub);
    void catchUp(AcDbDatabase& db);

private:
    // What an entity draws, block references through the box of their block.
    gi::DrawnBounds boundsOf(AcDbEntity& e, int depth = 0);
    // The box of a block definition's drawing in its own coordinates, kept per block;
    // nothing when the block holds entities a transform does not simply carry (texts,
    // points, hatches ...), whose references are then drawn one by one.
    const std::optional<gi::DrawnBounds>& blockBounds(AcDbObjectId block, int depth);
    std::unordered_map<AcDbStub*, std::optional<gi::DrawnBounds>> m_blocks;

    void place(SpaceIndex& si, const std::vector<AcDbObjectId>& ids, std::uint32_t at, std::vector<Value>* bulk);
    void redrawDependents();
};

// Reads the entity at a place and puts its box in the tree (or collects it for
// a bulk load); an entity open for write waits in pending.
void Index::place(SpaceIndex& si, const std::vector<AcDbObjectId>& ids, std::uint32_t at, std::vector<Value>* bulk)
{
    AcDbStub* stub = ids[at].stub();
    stub->cacheSlot = at + 1;
    if (si.flags[at] & kInTree) {
        si.tree.remove(Value(si.boxes[at], at));
        si.flags[at] &= ~kInTree;
    }
    AcDbEntity* e = nullptr;
    const Acad::ErrorStatus es = acdbOpenObject(e, ids[at], AcDb::kForRead, true);
    if (es == Acad::eWasOpenForWrite) {
        pending.push_back(stub);
        return;
    }
    if (es != Acad::eOk) return;
    if (!(si.flags[at] & kClassified)) {
        si.flags[at] |= kClassified;
        if (!drawsFromOwnData(*e)) si.dependents.push_back(at);
    }
    if (auto box = planBox(boundsOf(*e))) {
        si.boxes[at] = *box;
        si.flags[at] |= kInTree;
        if (bulk)
            bulk->emplace_back(*box, at);
        else
            si.tree.insert(Value(*box, at));
    }
    e->close();
}

gi::DrawnBounds Index::boundsOf(AcDbEntity& e, int depth)
{
    auto* ref = AcDbBlockReference::cast(&e);
    if (!ref) return gi::drawnBounds(e);
    const std::optional<gi::DrawnBounds>& content = blockBounds(ref->blockTableRecord(), depth + 1);
    if (!content) return gi::drawnBounds(e);
    gi::DrawnBounds b;
    if (!content->isEmpty()) {
        const AcGeMatrix3d xf = ref->blockTransform();
        for (int corner = 0; corner < 8; ++corner) {
            AcGePoint3d p((corner & 1) ? content->hi.x : content->lo.x, (corner & 2) ? content->hi.y : content->lo.y,
                          (corner & 4) ? content->hi.z : content->lo.z);
            p.transformBy(xf);
            addBounds(b, gi::DrawnBounds{p, p});
        }
    }
    for (AcDbAttribute* a : ref->attributes())
        if (!a->isInvisible()) addBounds(b, gi::drawnBounds(*a));
    return b;
}

const std::optional<gi::DrawnBounds>& Index::blockBounds(AcDbObjectId block, int depth)
{
    static const std::optional<gi::DrawnBounds> kNone;
    if (depth >= 16) return kNone;  // a block that holds itself
    if (auto it = m_blocks.find(block.stub()); it != m_blocks.end()) return it->second;
    std::optional<gi::DrawnBounds> bounds = gi::DrawnBounds{};
    if (const auto* btr = fendo::db::peekObject<AcDbBlockTableRecord>(block)) {
        for (const AcDbObjectId& id : btr->entityIds()) {
            auto* e = fendo::db::peekObject<AcDbEntity>(id);
            if (!e || AcDbAttributeDefinition::cast(e)) continue;
            if (carriedByTransform(*e)) {
                addBounds(*bounds, gi::drawnBounds(*e));
            } else if (AcDbBlockReference::cast(e) && blockBounds(AcDbBlockReference::cast(e)->blockTableRecord(), depth + 1)) {
                addBounds(*bounds, boundsOf(*e, depth));
            } else {
                bounds.reset();
                break;
            }
        }
    } else {
        bounds.reset();
    }
    return m_blocks[block.stub()] = bounds;
}

SpaceIndex& Index::space(AcDbStub* spaceStub)
{
    SpaceIndex& si = spaces[spaceStub];
    const auto* btr = spaceStub && spaceStub->object ? AcDbBlockTableRecord::cast(spaceStub->object) : nullptr;
    if (!btr) return si;
    const std::vector<AcDbObjectId>& ids = btr->entityIds();
    if (si.known == ids.size()) return si;
    si.boxes.resize(ids.size());
    si.flags.resize(ids.size(), 0);
    // A first read loads the tree in one packed step; later additions go in one
    // by one. Reading a big drawing whole shows the progress meter.
    std::vector<Value> bulk;
    const bool first = si.known == 0;
    constexpr size_t kMeterFrom = 10000, kMeterStep = 2000;
    const bool meter = first && ids.size() > kMeterFrom;
    if (meter) acedSetStatusBarProgressMeter(L"Indexing", 0, static_cast<int>(ids.size()));
    for (size_t at = si.known; at < ids.size(); ++at) {
        if (meter && at % kMeterStep == 0) acedSetStatusBarProgressMeterPos(static_cast<int>(at));
        place(si, ids, static_cast<std::uint32_t>(at), first ? &bulk : nullptr);
    }
    if (first) si.tree = Tree(bulk.begin(), bulk.end());
    if (meter) acedRestoreStatusBar();
    si.known = ids.size();
    return si;
}

void Index::redrawDependents()
{
    m_blocks.clear();
    for (auto& [stub, si] : spaces) {
        const auto* btr = stub->object ? AcDbBlockTableRecord::cast(stub->object) : nullptr;
        if (!btr) continue;
        for (std::uint32_t at : si.dependents)
            if (at < si.known) place(si, btr->entityIds(), at, nullptr);
    }
}

void Index::catchUp(AcDbDatabase& db)
{
    std::vector<AcDbStub*> changed;
    changed.swap(pending);
    db.takeTouched(changed);
    bool dependencyChanged = false;
    for (AcDbStub* stub : changed) {
        AcDbObject* obj = stub->object;
        if (!obj) continue;
        // A vertex or attribute changes what its owner draws.
        AcDbObject* owner = obj->ownerId().stub() ? obj->ownerId().stub()->object : nullptr;
        if (AcDbEntity::cast(obj) && owner && AcDbEntity::cast(owner)) {
            stub = obj->ownerId().stub();
            obj = owner;
            owner = obj->ownerId().stub() ? obj->ownerId().stub()->object : nullptr;
        }
        if (AcDbEntity::cast(obj)) {
            const AcDbObjectId ownerId = obj->ownerId();
            if (ownerId == db.modelSpaceId() || ownerId == db.paperSpaceId()) {
                auto it = spaces.find(ownerId.stub());
                if (it == spaces.end() || !owner) continue;  // read whole at its first search
                SpaceIndex& si = it->second;
                const std::uint32_t at = stub->cacheSlot - 1;
                const auto& ids = AcDbBlockTableRecord::cast(owner)->entityIds();
                // Not yet read from its space (slot 0 or beyond the known length): the
                // next read of the space's list finds it.
                if (stub->cacheSlot != 0 && at < si.known && ids[at].stub() == stub) place(si, ids, at, nullptr);
            } else if (owner && AcDbBlockTableRecord::cast(owner)) {
                dependencyChanged = true;  // an entity of a block definition
            }
        } else if (AcDbTextStyleTableRecord::cast(obj) ||
                   (AcDbBlockTableRecord::cast(obj) && stub != db.modelSpaceId().stub() &&
                    stub != db.paperSpaceId().stub())) {
            dependencyChanged = true;
        }
    }
    if (dependencyChanged) redrawDependents();
}

Index& indexOf(AcDbDatabase& db, const FlattenSettings& settings)
{
    auto* index = dynamic_cast<Index*>(db.attachment());
    if (!index || !(index->settings == settings)) {
        // New settings draw every entity again: start from nothing.
        for (const AcDbStub& stub : db.stubs()) const_cast<AcDbStub&>(stub).cacheSlot = 0;
        auto fresh = std::make_unique<Index>();
        fresh->settings = settings;
        index = fresh.get();
        db.setAttachment(std::move(fresh));
    }
    return *index;
}

}  // namespace

void setSelectionSearch(SelectionSearch search) { g_search = search; }

void prepareSelectionIndex(AcDbDatabase& db)
{
    Index& index = indexOf(db, FlattenSettings{db.pdmode(), db.pdsize()});
    index.catchUp(db);
    index.space(db.modelSpaceId().stub());
    index.space(db.paperSpaceId().stub());
}
SelectionSearch selectionSearch() { return g_search; }

std::vector<AcDbObjectId> entitiesNear(AcDbDatabase& db, AcDbObjectId space, const FlattenSettings& settings,
                                       const AcGePoint2d& lo, const AcGePoint2d& hi)
{
    Index& index = indexOf(db, settings);
    index.catchUp(db);
    SpaceIndex& si = index.space(space.stub());
    std::vector<AcDbObjectId> out;
    const auto* btr = space.stub() && space.stub()->object ? AcDbBlockTableRecord::cast(space.stub()->object) : nullptr;
    if (!btr) return out;
    std::vector<Value> found;
    si.tree.query(bgi::intersects(Box(Point(down(lo.x), down(lo.y)), Point(up(hi.x), up(hi.y)))),
                  std::back_inserter(found));
    std::vector<std::uint32_t> places;
    places.reserve(found.size());
    for (const Value& v : found) places.push_back(v.second);
    std::sort(places.begin(), places.end());
    out.reserve(places.size());
    for (std::uint32_t at : places) out.push_back(btr->entityIds()[at]);
    return out;
}

}  // namespace fendo::editor
