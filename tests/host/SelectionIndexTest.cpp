// Selection through the extents index finds exactly what a scan of every object finds, in
// the same order, on random drawings edited between searches.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EditorTestSupport.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/SelectionIndex.h"
#include "host/dxf/DxfIo.h"
#include "host/gi/FlattenDraw.h"
#include "host/editor/acedSS.h"
#include "host/ge/AcGeMatrix3d.h"
#include "support/TestDrawing.h"

using fendo::editor::SelectionSearch;

namespace {

// Appends the entity to a block definition and closes it.
void appendToBlock(AcDbObjectId block, AcDbEntity* e)
{
    fendo::db::OpenedObject<AcDbBlockTableRecord> record(block, AcDb::kForWrite);
    if (record->appendAcDbEntity(e) == Acad::eOk)
        e->close();
    else
        delete e;
}

// A drawing of random lines, bulged polylines, circles, points, texts and block
// references over a 100 x 100 square, some on a layer that is off or frozen.
class SelectionOnRandomDrawing : public EditorSession {
protected:
    void SetUp() override
    {
        for (const auto& [name, off] : {std::pair{L"OFF", true}, std::pair{L"FROZEN", false}}) {
            fendo::db::OpenedObject<AcDbLayerTableRecord> layer(drawing.layer(name), AcDb::kForWrite);
            if (off)
                layer->setIsOff(true);
            else
                layer->setIsFrozen(true);
        }
        block = newBlock(L"MARK");
        appendToBlock(block, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1));
    }
    void TearDown() override
    {
        fendo::editor::setSelectionSearch(SelectionSearch::Indexed);
        EditorSession::TearDown();
    }

    AcDbObjectId newBlock(const wchar_t* name) { return fendo::test::addBlock(db, name); }

    double coord() { return std::uniform_real_distribution<double>(0, 100)(rng); }
    double size() { return std::uniform_real_distribution<double>(0.1, 8)(rng); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    AcGePoint3d point() { return AcGePoint3d(coord(), coord(), 0); }

    AcDbObjectId addRandom()
    {
        static const wchar_t* const kLayers[] = {L"0", L"0", L"0", L"0", L"OFF", L"FROZEN"};
        const AcGePoint3d p = point();
        AcDbEntity* e = nullptr;
        switch (pick(6)) {
        case 0: e = new AcDbLine(p, p + AcGeVector3d(size() - 4, size() - 4, 0)); break;
        case 1: {
            auto* pl = new AcDbPolyline;
            for (unsigned i = 0, n = 2 + pick(4); i < n; ++i)
                pl->addVertexAt(i, AcGePoint2d(p.x + size(), p.y + size()), pick(2) ? 0.0 : size() / 8 - 0.5);
            e = pl;
            break;
        }
        case 2: e = new AcDbCircle(p, AcGeVector3d::kZAxis, size()); break;
        case 3: e = new AcDbPoint(p); break;
        case 4: e = new AcDbText(p, L"SPOT 12.34", AcDbObjectId::kNull, size() / 4, 0); break;
        default: e = new AcDbBlockReference(p, block); break;
        }
        const AcDbObjectId id = drawing.add(e, kLayers[pick(6)]);
        ids.push_back(id);
        return id;
    }

    // Moves, scales, erases, unerases and adds objects, and edits the block definition; in
    // one round also changes how points draw.
    void edit(bool pointStyle)
    {
        for (int i = 0; i < 150; ++i) {
            const AcDbObjectId id = ids[pick(static_cast<int>(ids.size()))];
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForWrite, true) != Acad::eOk) continue;
            switch (pick(3)) {
            case 0: e->transformBy(AcGeMatrix3d::translation(AcGeVector3d(size() - 4, size() - 4, 0))); break;
            case 1: e->erase(!e->isErased()); break;
            default: e->transformBy(AcGeMatrix3d::scaling(1.5, AcGePoint3d(coord(), coord(), 0))); break;
            }
            e->close();
        }
        for (int i = 0; i < 10; ++i) addRandom();
        appendToBlock(block, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(size(), size(), 0)));
        if (pointStyle) {
            db.setPdmode(3);
            db.setPdsize(size());
        }
    }

    std::vector<AcDbObjectId> setIds(ads_name ss)
    {
        std::vector<AcDbObjectId> out;
        Adesk::Int32 n = 0;
        acedSSLength(ss, &n);
        for (Adesk::Int32 i = 0; i < n; ++i) {
            ads_name ent;
            AcDbObjectId id;
            acedSSName(ss, i, ent);
            acdbGetObjectId(id, ent);
            out.push_back(id);
        }
        acedSSFree(ss);
        return out;
    }

    // The objects one search finds, by the given way of searching.
    std::vector<AcDbObjectId> search(SelectionSearch how, int kind, const std::vector<AcGePoint2d>& pts)
    {
        fendo::editor::setSelectionSearch(how);
        ads_name ss;
        if (kind == 0) {  // a pick
            answers(std::to_string(pts[0].x) + "," + std::to_string(pts[0].y) + "\n");
            ads_point at;
            if (acedEntSel(L"Pick: ", ss, at) != RTNORM) return {};
            AcDbObjectId id;
            acdbGetObjectId(id, ss);
            return {id};
        }
        if (kind == 1 || kind == 2) {
            const ads_point a = {pts[0].x, pts[0].y, 0}, b = {pts[1].x, pts[1].y, 0};
            if (acedSSGet(kind == 1 ? L"_W" : L"_C", a, b, nullptr, ss) != RTNORM) return {};
            return setIds(ss);
        }
        resbuf* chain = nullptr;
        for (auto it = pts.rbegin(); it != pts.rend(); ++it) {
            resbuf* rb = acutNewRb(RTPOINT);
            rb->resval.rpoint[0] = it->x;
            rb->resval.rpoint[1] = it->y;
            rb->rbnext = chain;
            chain = rb;
        }
        static const wchar_t* const kModes[] = {L"_WP", L"_CP", L"_F"};
        const int rc = acedSSGet(kModes[kind - 3], chain, nullptr, nullptr, ss);
        acutRelRb(chain);
        return rc == RTNORM ? setIds(ss) : std::vector<AcDbObjectId>{};
    }

    // Random searches of every kind; the index must agree with the scan on each.
    void compareSearches(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int kind = i % 6;
            std::vector<AcGePoint2d> pts;
            const int n = kind == 0 ? 1 : kind <= 2 ? 2 : 3 + pick(3);
            for (int k = 0; k < n; ++k) {
                // Small windows and pick points close to objects, so that searches find something.
                const AcGePoint2d c(coord(), coord());
                pts.push_back(k == 0 ? c : AcGePoint2d(pts[0].x + size() * 3 - 8, pts[0].y + size() * 3 - 8));
            }
            const auto scanned = search(SelectionSearch::Scan, kind, pts);
            const auto indexed = search(SelectionSearch::Indexed, kind, pts);
            ASSERT_EQ(indexed, scanned) << "search kind " << kind << " at " << pts[0].x << "," << pts[0].y;
            found += scanned.size();
        }
    }

    fendo::test::TestDrawing drawing;
    AcDbDatabase& db = drawing.db();
    AcDbObjectId block;
    std::vector<AcDbObjectId> ids;
    std::mt19937 rng{12345};
    size_t found = 0;
};

}  // namespace

TEST_F(SelectionOnRandomDrawing, IndexedSearchesFindWhatTheScanFindsThroughEdits)
{
    for (int seed = 1; seed <= 3; ++seed) {
        rng.seed(seed);
        for (int i = 0; i < 400; ++i) addRandom();
        for (int round = 0; round < 3; ++round) {
            compareSearches(48);
            edit(round == 1);
        }
    }
    EXPECT_GT(found, 500u) << "the searches should find objects, not only agree on finding nothing";
}

TEST_F(SelectionOnRandomDrawing, APickTakesTheNearestAndTiesGoToTheLastDrawnEvenAfterErasingAndUndoing)
{
    const AcDbObjectId first = drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    const AcDbObjectId second = drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    drawing.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), L"OFF");
    const AcDbObjectId nearer = drawing.add(new AcDbLine(AcGePoint3d(0, 0.1, 0), AcGePoint3d(10, 0.1, 0)));
    auto pickAt = [&](double x, double y) { return search(SelectionSearch::Indexed, 0, {AcGePoint2d(x, y)}); };
    EXPECT_EQ(pickAt(5, 0.2), std::vector<AcDbObjectId>{nearer});
    EXPECT_EQ(pickAt(5, -0.2), std::vector<AcDbObjectId>{second}) << "a tie goes to the object drawn last";
    auto setErased = [](AcDbObjectId id, bool erased) {
        fendo::db::OpenedObject<AcDbEntity> e(id, AcDb::kForWrite, true);
        e->erase(erased);
    };
    setErased(second, true);
    EXPECT_EQ(pickAt(5, -0.2), std::vector<AcDbObjectId>{first});
    setErased(second, false);
    EXPECT_EQ(pickAt(5, -0.2), std::vector<AcDbObjectId>{second});
    // Moved away, it is no longer found where it was, and is found where it went.
    {
        fendo::db::OpenedObject<AcDbEntity> e(second, AcDb::kForWrite);
        e->transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 50, 0)));
    }
    EXPECT_EQ(pickAt(5, -0.2), std::vector<AcDbObjectId>{first});
    EXPECT_EQ(pickAt(5, 50), std::vector<AcDbObjectId>{second});
}

// The index boxes what entities draw without faceting arcs: the box must hold the flattened
// shapes at every chord tolerance (a smaller one would lose objects near its edges), and
// not be much larger (it would cost searches).
TEST_F(SelectionOnRandomDrawing, BoxesHoldTheFlattenedShapesAtEveryTolerance)
{
    for (int i = 0; i < 300; ++i) addRandom();
    db.setPdmode(35);
    db.setPdsize(2);
    for (const AcDbObjectId& id : ids) {
        fendo::db::OpenedObject<AcDbEntity> e(id, AcDb::kForRead);
        const fendo::gi::DrawnBounds b = fendo::gi::drawnBounds(*e.get());
        ASSERT_FALSE(b.isEmpty()) << e->isA()->name();
        const double eps = 1e-9 * (1 + std::abs(b.hi.x) + std::abs(b.hi.y));
        for (double tol : {1.0, 0.01, 1e-5}) {
            AcGePoint2d lo(HUGE_VAL, HUGE_VAL), hi(-HUGE_VAL, -HUGE_VAL);
            for (const fendo::gi::FlatShape& s : fendo::gi::flattenEntity(*e.get(), tol))
                for (const AcGePoint2d& p : s.points) {
                    lo = AcGePoint2d(std::min(lo.x, p.x), std::min(lo.y, p.y));
                    hi = AcGePoint2d(std::max(hi.x, p.x), std::max(hi.y, p.y));
                }
            EXPECT_LE(b.lo.x, lo.x + eps) << e->isA()->name() << " at tolerance " << tol;
            EXPECT_LE(b.lo.y, lo.y + eps) << e->isA()->name() << " at tolerance " << tol;
            EXPECT_GE(b.hi.x, hi.x - eps) << e->isA()->name() << " at tolerance " << tol;
            EXPECT_GE(b.hi.y, hi.y - eps) << e->isA()->name() << " at tolerance " << tol;
            if (tol == 1e-5) {
                EXPECT_NEAR(b.lo.x, lo.x, 2e-5) << e->isA()->name();
                EXPECT_NEAR(b.hi.y, hi.y, 2e-5) << e->isA()->name();
            }
        }
    }
}

// References to a block are boxed through the block's own box, carried by each reference's
// transform; picks on rotated, scaled and mirrored references and on nested blocks find
// what the scan finds, before and after the block definition changes.
TEST_F(SelectionOnRandomDrawing, ReferencesAreFoundThroughTheirBlocksBoxUnderEveryTransform)
{
    const AcDbObjectId outer = newBlock(L"NEST");
    appendToBlock(outer, new AcDbBlockReference(AcGePoint3d(3, 1, 0), block));
    auto* arc = new AcDbPolyline;
    arc->addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    arc->addVertexAt(1, AcGePoint2d(4, 0));
    appendToBlock(outer, arc);
    for (int i = 0; i < 200; ++i) {
        auto* ref = new AcDbBlockReference(point(), pick(2) ? block : outer);
        ref->setRotation(coord() / 10);
        ref->setScaleFactors(AcGeScale3d(pick(2) ? -size() / 2 : size() / 2, size() / 2, 1));
        ids.push_back(drawing.add(ref));
    }
    compareSearches(120);
    appendToBlock(block, new AcDbLine(AcGePoint3d(-2, -2, 0), AcGePoint3d(3, 0, 0)));
    compareSearches(120);
    EXPECT_GT(found, 40u);
}

// Filters remember their answers per layer and per class during one walk; objects kept as
// read share one class but carry their own type names, and must each be asked.
TEST(SelectionFilters, ObjectsKeptAsReadAreMatchedByTheirOwnTypeNames)
{
    AcDbDatabase db(false);
    const std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nFOO\n8\nA\n0\nBAR\n8\nA\n0\nFOO\n8\nB\n0\nLINE\n8\nA\n"
                            "10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n";
    ASSERT_EQ(fendo::dxf::readDxfData(db, dxf, "kept.dxf"), Acad::eOk);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    auto count = [](int code, const wchar_t* pattern) {
        // Built by hand: a chain list ends at a type of 0, the type group's own code.
        resbuf* filter = acutNewRb(code);
        filter->resval.rstring = new ACHAR[std::wcslen(pattern) + 1];
        std::wcscpy(filter->resval.rstring, pattern);
        ads_name ss;
        Adesk::Int32 n = 0;
        if (acedSSGet(L"X", nullptr, nullptr, filter, ss) == RTNORM) {
            acedSSLength(ss, &n);
            acedSSFree(ss);
        }
        acutRelRb(filter);
        return n;
    };
    EXPECT_EQ(count(0, L"FOO"), 2);
    EXPECT_EQ(count(0, L"BAR"), 1);
    EXPECT_EQ(count(0, L"B*,LINE"), 2);
    EXPECT_EQ(count(8, L"A"), 3);
    EXPECT_EQ(count(8, L"~A"), 1);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
