// "22", "33", "11" and "44" driven through fendo with scripts on saved drawings.
#include <gtest/gtest.h>

#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {
AcDbLine* line(double x0, double y0, double x1, double y1)
{
    return new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
}

// Three layers with one horizontal line each: ROAD at y=0, KERB at y=10, TREES at y=20.
void threeLayerDrawing(TestDrawing& d)
{
    d.add(line(0, 0, 10, 0), L"ROAD");
    d.add(line(0, 10, 10, 10), L"KERB");
    d.add(line(0, 20, 10, 20), L"TREES");
}

void setLocked(AcDbDatabase& db, const wchar_t* name)
{
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(db.getLayerTable(table, AcDb::kForRead), Acad::eOk);
    AcDbLayerTableRecord* record = nullptr;
    ASSERT_EQ(table->getAt(name, record, AcDb::kForWrite), Acad::eOk);
    record->setIsLocked(true);
    record->close();
    table->close();
}

std::vector<std::wstring> layersOf(AcDbDatabase& db)
{
    std::vector<std::wstring> names;
    for (const AcDbObjectId& id : modelSpaceEntities(db)) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
        names.push_back(e->layer());
        e->close();
    }
    return names;
}
}  // namespace

TEST(LayerOffByPick, TurnsOffEachPickedLayerUntilAPickMisses)
{
    TestDrawing d;
    threeLayerDrawing(d);
    const Session s = runSession(d, "22\n5,0\n5,20\n50,50\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(layerIsOff(*s.result, L"ROAD"));
    EXPECT_TRUE(layerIsOff(*s.result, L"TREES"));
    EXPECT_FALSE(layerIsOff(*s.result, L"KERB"));
    // The miss ends the command with the alert.
    EXPECT_NE(s.run.output.find("Không chọn được đối tượng!"), std::string::npos) << s.run.output;
}

TEST(LayerOffByPick, TurnsOffTheCurrentLayerLikeAnyOther)
{
    TestDrawing d;
    d.add(line(0, 0, 10, 0));  // on layer 0, the current layer
    const Session s = runSession(d, "22\n5,0\n^C\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_TRUE(layerIsOff(*s.result, L"0"));
}

TEST(KeepPickedLayers, TurnsOffEveryLayerButThePickedOnes)
{
    TestDrawing d;
    threeLayerDrawing(d);
    const Session s = runSession(d, "33\n5,10\n5,10\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_FALSE(layerIsOff(*s.result, L"KERB"));
    EXPECT_TRUE(layerIsOff(*s.result, L"ROAD"));
    EXPECT_TRUE(layerIsOff(*s.result, L"TREES"));
    EXPECT_TRUE(layerIsOff(*s.result, L"0"));
}

TEST(KeepPickedLayers, AFailedFirstPickTurnsEveryLayerOffAndAllLayersOnUndoesIt)
{
    TestDrawing d;
    threeLayerDrawing(d);
    const Session off = runSession(d, "33\n50,50\n");
    ASSERT_TRUE(off.result) << off.run.output;
    for (const wchar_t* name : {L"0", L"ROAD", L"KERB", L"TREES"}) EXPECT_TRUE(layerIsOff(*off.result, name)) << name;

    const Session on = runSession(off.output, "11\n");
    ASSERT_TRUE(on.result) << on.run.output;
    for (const wchar_t* name : {L"0", L"ROAD", L"KERB", L"TREES"}) EXPECT_FALSE(layerIsOff(*on.result, name)) << name;
}

TEST(EraseByLayer, ErasesEveryObjectOnThePickedLayerAfterConfirmation)
{
    TestDrawing d;
    threeLayerDrawing(d);
    d.add(line(20, 0, 30, 0), L"ROAD");
    const Session s = runSession(d, "44\n5,0\nok\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(layersOf(*s.result), (std::vector<std::wstring>{L"KERB", L"TREES"}));
    EXPECT_NE(s.run.output.find("Co chac chan xoa \"ROAD\" không ?"), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("da xoa duoc 2 doi tuong lớp ROAD !"), std::string::npos) << s.run.output;
}

TEST(EraseByLayer, CancellingTheQuestionErasesNothing)
{
    TestDrawing d;
    threeLayerDrawing(d);
    const Session s = runSession(d, "44\n5,0\ncancel\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(layersOf(*s.result).size(), 3u);
}

TEST(EraseByLayer, TheLayerNameIsUsedAsAWildcardPattern)
{
    TestDrawing d;
    d.add(line(0, 0, 10, 0), L"P#");
    d.add(line(0, 10, 10, 10), L"P1");
    d.add(line(0, 20, 10, 20), L"P2");
    d.add(line(0, 30, 10, 30), L"PX");
    const Session s = runSession(d, "44\n5,0\nok\n");
    ASSERT_TRUE(s.result) << s.run.output;
    // "#" matches any digit: P1 and P2 go; P# itself does not match "#" and stays, as does PX.
    EXPECT_EQ(layersOf(*s.result), (std::vector<std::wstring>{L"P#", L"PX"}));
    EXPECT_NE(s.run.output.find("da xoa duoc 2 doi tuong"), std::string::npos) << s.run.output;
}

TEST(EraseByLayer, ObjectsOnALockedLayerStayButAreCounted)
{
    TestDrawing d;
    d.add(line(0, 0, 10, 0), L"ROAD");
    d.add(line(0, 5, 10, 5), L"ROAD");
    setLocked(d.db(), L"ROAD");
    const Session s = runSession(d, "44\n5,0\nok\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(layersOf(*s.result).size(), 2u);
    EXPECT_NE(s.run.output.find("da xoa duoc 2 doi tuong lớp ROAD !"), std::string::npos) << s.run.output;
}
