// Joining lines and 3D polylines of a drawing: the written polylines, whose properties they
// carry, what is erased and what stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "geometry/CurveReaders.h"
#include "geometry/JointSegmentAcad.h"
#include "host/core/adsdef.h"
#include "host/db/DbHelpers.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbLine.h"
#include "support/TestDrawing.h"

namespace {

using fendo::db::OpenedObject;
using fendo::test::TestDrawing;

constexpr double kJoinTolerance = 0.05;

class JoinTolerance {
public:
    JoinTolerance() { JointSegment::setTolerance(kJoinTolerance); }
    ~JoinTolerance() { JointSegment::setTolerance(0.01); }
};

AcDbObjectId addLine(TestDrawing& dwg, const AcGePoint3d& a, const AcGePoint3d& b, int color = 256,
                     const wchar_t* tag = nullptr)
{
    auto* line = new AcDbLine(a, b);
    if (tag) {
        acdbRegApp(L"FENDO_TEST");
        resbuf* xd = acutBuildList(AcDb::kDxfRegAppName, L"FENDO_TEST", AcDb::kDxfXdAsciiString, tag, RTNONE);
        line->setXData(xd);
        acutRelRb(xd);
    }
    const AcDbObjectId id = dwg.add(line);
    OpenedObject<AcDbEntity> e(id, AcDb::kForWrite);
    e->setColorIndex(static_cast<Adesk::UInt16>(color));
    return id;
}

bool isErased(AcDbObjectId id)
{
    OpenedObject<AcDbEntity> e(id, AcDb::kForRead, true);
    return e && e->isErased();
}

std::wstring tagOf(const AcDbEntity* e)
{
    resbuf* xd = e->xData(L"FENDO_TEST");
    std::wstring tag;
    for (resbuf* rb = xd; rb; rb = rb->rbnext)
        if (rb->restype == AcDb::kDxfXdAsciiString) tag = rb->resval.rstring;
    acutRelRb(xd);
    return tag;
}

AcGePoint3dArray verticesOf(AcDbObjectId id)
{
    AcGePoint3dArray pts;
    OpenedObject<AcDb3dPolyline> pl(id, AcDb::kForRead);
    if (pl) read3dPolylineVertices(pl.get(), pts);
    return pts;
}

}  // namespace

TEST(JointSegmentAcad, ThreeLevelLinesInAnyOrderAndDirectionBecomeOnePolylineOfTheFirstPiece)
{
    JoinTolerance tol;
    const std::array<AcGePoint3d, 4> path{AcGePoint3d(0, 0, 2), AcGePoint3d(10, 0, 2), AcGePoint3d(10, 10, 2),
                                          AcGePoint3d(20, 10, 2)};
    std::array<int, 3> order{0, 1, 2};
    do {
        for (int directions = 0; directions < 8; ++directions) {
            TestDrawing dwg;
            AcDbObjectIdArray ids;
            std::array<AcDbObjectId, 3> byPiece;
            for (int piece : order) {
                AcGePoint3d a = path[piece], b = path[piece + 1];
                if (directions & (1 << piece)) std::swap(a, b);
                const std::wstring tag = L"piece" + std::to_wstring(piece);
                byPiece[piece] = addLine(dwg, a, b, piece + 1, tag.c_str());
                ids.append(byPiece[piece]);
            }
            JointSegmentAcad joint;
            joint.addEntities(ids);
            ASSERT_EQ(joint.run(), 1);
            ASSERT_EQ(joint.createdIds().length(), 1);
            const AcGePoint3dArray pts = verticesOf(joint.createdIds()[0]);
            ASSERT_EQ(pts.length(), 4);
            // The polyline runs along the path one way or the other and takes the colour and
            // extended data of the piece it starts with.
            const bool forward = pts[0].isEqualTo(path[0]);
            for (int i = 0; i < 4; ++i) EXPECT_TRUE(pts[i].isEqualTo(path[forward ? i : 3 - i]));
            const int firstPiece = forward ? 0 : 2;
            OpenedObject<AcDbEntity> result(joint.createdIds()[0], AcDb::kForRead);
            EXPECT_EQ(result->colorIndex(), firstPiece + 1);
            EXPECT_EQ(tagOf(result.get()), L"piece" + std::to_wstring(firstPiece));
            for (const AcDbObjectId& id : byPiece) EXPECT_TRUE(isErased(id));
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(JointSegmentAcad, ASlopingPieceStartsTheNextPolyline)
{
    JoinTolerance tol;
    TestDrawing dwg;
    AcDbObjectIdArray ids;
    ids.append(addLine(dwg, {0, 0, 0}, {10, 0, 0}, 1));
    ids.append(addLine(dwg, {10, 0, 0}, {20, 0, 5}, 2));
    ids.append(addLine(dwg, {20, 0, 5}, {30, 0, 5}, 3));
    JointSegmentAcad joint;
    joint.addEntities(ids);
    ASSERT_EQ(joint.run(), 1);
    ASSERT_EQ(joint.createdIds().length(), 2);
    std::vector<int> sizes, colors;
    for (const AcDbObjectId& id : joint.createdIds()) {
        sizes.push_back(verticesOf(id).length());
        OpenedObject<AcDbEntity> e(id, AcDb::kForRead);
        colors.push_back(e->colorIndex());
    }
    // One polyline holds the first level piece, the other the sloping piece and the level
    // piece after it (the chain may run either way).
    if (colors[0] == 1) {
        EXPECT_EQ(sizes, (std::vector<int>{2, 3}));
        EXPECT_EQ(colors, (std::vector<int>{1, 2}));
    } else {
        EXPECT_EQ(colors[0], 3);
        EXPECT_EQ(sizes[0], 2);
    }
    for (const AcDbObjectId& id : ids) EXPECT_TRUE(isErased(id));
}

TEST(JointSegmentAcad, DuplicatesAndShortPiecesStayInTheDrawingUntouched)
{
    JoinTolerance tol;
    TestDrawing dwg;
    AcDbObjectIdArray ids;
    const AcDbObjectId first = addLine(dwg, {0, 0, 0}, {10, 0, 0});
    const AcDbObjectId duplicate = addLine(dwg, {10, 0, 1}, {0, 0, 1});
    const AcDbObjectId shortLine = addLine(dwg, {10, 0, 0}, {10.04, 0, 0});
    const AcDbObjectId next = addLine(dwg, {10, 0, 0}, {10, 10, 0});
    ids.append({first, duplicate, shortLine, next});
    JointSegmentAcad joint;
    joint.addEntities(ids);
    EXPECT_EQ(joint.run(), 1);
    ASSERT_EQ(joint.createdIds().length(), 1);
    EXPECT_EQ(verticesOf(joint.createdIds()[0]).length(), 3);
    EXPECT_TRUE(isErased(first));
    EXPECT_TRUE(isErased(next));
    EXPECT_FALSE(isErased(duplicate));
    EXPECT_FALSE(isErased(shortLine));
}

TEST(JointSegmentAcad, ThreeDPolylinesJoinByTheirEnds)
{
    JoinTolerance tol;
    TestDrawing dwg;
    AcGePoint3dArray a{{0, 0, 1}, {5, 1, 1}, {10, 0, 1}};
    AcGePoint3dArray b{{20, 0, 1}, {15, -1, 1}, {10.03, 0.02, 1}};
    AcDbObjectIdArray ids;
    ids.append(dwg.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, a)));
    ids.append(dwg.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, b)));
    JointSegmentAcad joint;
    joint.addEntities(ids);
    ASSERT_EQ(joint.run(), 1);
    ASSERT_EQ(joint.createdIds().length(), 1);
    // The shared end is written once, from the first piece.
    EXPECT_EQ(verticesOf(joint.createdIds()[0]).length(), 5);
}
