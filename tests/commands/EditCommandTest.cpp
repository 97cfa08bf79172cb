// "EM" through fendo: what each kind of picked object offers for editing and how the value is
// written, the run's undo journal, the value dialogs' capitals box and pick marker, survey
// point codes, and the modeless vertex editor driven with DIALOG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "companions/pelmar/PelmarObjects.h"
#include "frame/Tcvn3.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "support/PolylinePoints.h"
#include "ui/EditTextDlg.h"
#include "support/TestDrawing.h"

using namespace fendo::test;

namespace {

std::wstring stringOf(AcDbObjectId id)
{
    AcDbText* text = nullptr;
    if (acdbOpenObject(text, id, AcDb::kForRead) != Acad::eOk) return L"<unopened>";
    std::wstring s = text->textString().c_str();
    text->close();
    return s;
}

// The strings of the result's texts (attributes and definitions not included), in drawing
// order.
std::vector<std::wstring> texts(const Session& s)
{
    std::vector<std::wstring> out;
    for (const AcDbObjectId& id : modelSpaceEntities(*s.result, AcDbText::desc())) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
        const bool plain = e->isA() == AcDbText::desc();
        e->close();
        if (plain) out.push_back(stringOf(id));
    }
    return out;
}

// Neither the X of a value dialog (colour 3 lines) nor the vertex editor's circle (colour 80)
// may reach a saved drawing; fendo ends cleanly, also with the vertex editor still open.
void expectNoMarkers(const Session& s)
{
    EXPECT_EQ(s.run.exitCode, 0) << s.run.output;
    for (const AcDbObjectId& id : modelSpaceEntities(*s.result)) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
        const bool marker =
            (AcDbLine::cast(e) && e->colorIndex() == 3) || (AcDbCircle::cast(e) && e->colorIndex() == 80);
        e->close();
        EXPECT_FALSE(marker) << "a marker was saved";
    }
}

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

AcDbText* text(double x, double y, const wchar_t* s)
{
    return new AcDbText(AcGePoint3d(x, y, 0), s, AcDbObjectId::kNull, 1.0);
}

constexpr const char* kNothingToUndo = "Command has been completely undone.";

// The per-user folder (for "temp.temp") in a scratch folder of its own.
class EditCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_userData = scratchDir("em-user");
        setenv("XDG_DATA_HOME", m_userData.string().c_str(), 1);
    }
    std::filesystem::path userFolder() const { return m_userData / "KVO" / "Quorin"; }

private:
    std::filesystem::path m_userData;
};

}  // namespace

TEST_F(EditCommand, UndoTakesBackTheRunsEditsLastFirstThenSaysThereIsNothingLeft)
{
    TestDrawing d;
    d.add(text(0, 0, L"alpha"));
    const auto s = runSession(d, "EM\nundo\n0.5,0.3\n1006=beta\nclick 1\n0.5,0.3\n1006=gamma\nclick 1\n"
                                 "Undo\nU\nxyz\n\nSETVAR\nCMDECHO\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(texts(s), std::vector<std::wstring>{L"alpha"});
    // Once before any edit, once for the third undo ("xyz" is any text, which undoes too).
    EXPECT_EQ(occurrences(s.run.output, kNothingToUndo), 2u) << s.run.output;
    // The echo is switched off only while the command runs.
    EXPECT_NE(s.run.output.find("CMDECHO <1>"), std::string::npos) << s.run.output;
    expectNoMarkers(s);
}

// The entry is recorded before the dialog opens: undoing a cancelled edit writes the value it
// showed, and the next undo reaches the edit before it.
TEST_F(EditCommand, ACancelledDialogStillLeavesAnEntryThatWritesTheSameValue)
{
    TestDrawing d;
    d.add(text(0, 0, L"alpha"));
    const auto first = runSession(d, "EM\n0.5,0.3\n1006=beta\nclick 1\n0.5,0.3\n1006=zzz\nclick 2\nundo\n\n");
    ASSERT_TRUE(first.result) << first.run.output;
    EXPECT_EQ(texts(first), std::vector<std::wstring>{L"beta"});
    const auto second = runSession(d, "EM\n0.5,0.3\n1006=beta\nclick 1\n0.5,0.3\n^C\nundo\nundo\n\n");
    EXPECT_EQ(texts(second), std::vector<std::wstring>{L"alpha"}) << second.run.output;
    EXPECT_EQ(occurrences(second.run.output, kNothingToUndo), 0u);
}

TEST_F(EditCommand, ARestartedRunCannotUndoTheEditsOfThePreviousOne)
{
    TestDrawing d;
    d.add(text(0, 0, L"alpha"));
    const auto s = runSession(d, "EM\n0.5,0.3\n1006=beta\nclick 1\n\nEM\nundo\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(texts(s), std::vector<std::wstring>{L"beta"});
    EXPECT_EQ(occurrences(s.run.output, kNothingToUndo), 1u);
}

// Ticking shows the typed text in capitals (Vietnamese letters too); clearing brings back the
// value the dialog opened with, not the one typed before ticking.
TEST_F(EditCommand, CapitalsBoxTickedThenClearedGivesTheInitialValueBack)
{
    TestDrawing d;
    d.add(text(0, 0, L"alpha"));
    d.add(text(0, 10, L"x"));
    const auto s = runSession(d, "EM\n0.5,0.3\n1006=đường số 5\n1020=on\n1020=off\nclick "
                                 "1\n0.5,10.3\n1006=cột điện\n1020=on\nclick 1\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_NE(s.run.output.find("\"ĐƯỜNG SỐ 5\""), std::string::npos) << s.run.output;
    EXPECT_EQ(texts(s), (std::vector<std::wstring>{L"alpha", L"CỘT ĐIỆN"}));
    expectNoMarkers(s);
}

// Each kind shows its value under its own title and takes the typed value back; numbers show
// LUPREC decimals and a typed word counts as 0.
TEST_F(EditCommand, EachKindShowsItsValueUnderItsTitleAndTakesTheNewOne)
{
    TestDrawing d;
    auto* mtext = new AcDbMText;
    mtext->setLocation(AcGePoint3d(0, 1, 0));
    mtext->setTextHeight(1.0);
    mtext->setContents(L"note");
    d.add(mtext);
    d.add(new AcDbPoint(AcGePoint3d(0, 10, 7)));
    auto* lw = new AcDbPolyline;
    lw->addVertexAt(0, AcGePoint2d(0, 20));
    lw->addVertexAt(1, AcGePoint2d(10, 20));
    lw->setElevation(3.25);
    d.add(lw);
    AcGePoint3dArray pts;
    pts.append(AcGePoint3d(0, 30, 0));
    pts.append(AcGePoint3d(10, 30, 0));
    d.add(new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 1.5));
    d.add(new AcDbRotatedDimension(0, AcGePoint3d(0, 40, 0), AcGePoint3d(10, 40, 0), AcGePoint3d(5, 44, 0)));
    auto* suite = new KvoDbPolyline;
    suite->addVertexAt(0, AcGePoint2d(0, 60));
    suite->addVertexAt(1, AcGePoint2d(10, 60));
    d.add(suite);
    const auto s = runSession(d, "SETVAR\nLUPREC\n2\nEM\n"
                                 "0.2,0\n1006=memo\nclick 1\n"
                                 "0,10\n1006=8.5\nclick 1\n"
                                 "5,20\n1006=abc\nclick 1\n"
                                 "5,30\n1006=2.75\nclick 1\n"
                                 "5,44\n1006=<> m\nclick 1\n"
                                 "5,60\n1006=4\nclick 1\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    for (const char* shown : {"Dialog \"Hiệu chỉnh MText\"", "\"note\"", "Dialog \"Thay đổi cao độ điểm\"", "\"7.00\"",
                              "Dialog \"Thay đổi cao độ polyline\"", "\"3.25\"", "\"1.50\"",
                              "Dialog \"Hiệu chỉnh giá trị kích thước\"", "\"<>\"", "\"0.00\""})
        EXPECT_NE(s.run.output.find(shown), std::string::npos) << shown << "\n" << s.run.output;

    auto& db = *s.result;
    fendo::db::OpenedObject<AcDbMText> memo(modelSpaceEntities(db, AcDbMText::desc()).at(0), AcDb::kForRead);
    EXPECT_EQ(std::wstring(memo->contents().c_str()), L"memo");
    fendo::db::OpenedObject<AcDbPoint> point(modelSpaceEntities(db, AcDbPoint::desc()).at(0), AcDb::kForRead);
    EXPECT_DOUBLE_EQ(point->position().z, 8.5);
    const auto polylines = modelSpaceEntities(db, AcDbPolyline::desc());
    ASSERT_EQ(polylines.size(), 2u);
    fendo::db::OpenedObject<AcDbPolyline> plain(polylines[0], AcDb::kForRead);
    EXPECT_DOUBLE_EQ(plain->elevation(), 0.0);  // "abc" is not a number
    fendo::db::OpenedObject<KvoDbPolyline> made(polylines[1], AcDb::kForRead);
    ASSERT_TRUE(made);
    EXPECT_DOUBLE_EQ(made->Elevation(), 4.0);
    EXPECT_TRUE(made->FlagAt(0));
    fendo::db::OpenedObject<AcDb2dPolyline> old(modelSpaceEntities(db, AcDb2dPolyline::desc()).at(0), AcDb::kForRead);
    EXPECT_DOUBLE_EQ(old->elevation(), 2.75);
    fendo::db::OpenedObject<AcDbRotatedDimension> dim(modelSpaceEntities(db, AcDbRotatedDimension::desc()).at(0),
                                                      AcDb::kForRead);
    EXPECT_EQ(std::wstring(dim->dimensionText().c_str()), L"<> m");
    expectNoMarkers(s);
}

TEST_F(EditCommand, ABlockEditsTheAttributeNearestThePickAndADefinitionItsTag)
{
    TestDrawing d;
    const AcDbObjectId blockId = addBlock(d.db(), L"MOC", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0))});
    const AcDbObjectId ref = d.add(new AcDbBlockReference(AcGePoint3d(0, 0, 0), blockId));
    {
        fendo::db::OpenedObject<AcDbBlockReference> block(ref, AcDb::kForWrite);
        ASSERT_TRUE(block);
        block->appendAttribute(new AcDbAttribute(AcGePoint3d(0, 1, 0), L"left", L"A"));
        block->appendAttribute(new AcDbAttribute(AcGePoint3d(9, 1, 0), L"right", L"B"));
    }
    d.add(new AcDbAttributeDefinition(AcGePoint3d(0, 20, 0), L"default", L"TAG", L"prompt"));
    const auto s = runSession(d, "EM\n8,0\n1006=changed\nclick 1\n0.5,20.3\n1006=NEWTAG\nclick 1\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const std::string blockTitle = "Dialog \"Hiệu chỉnh thuộc tính của block\"";
    EXPECT_NE(s.run.output.find(blockTitle), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("\"right\""), std::string::npos);
    EXPECT_NE(s.run.output.find("\"TAG\""), std::string::npos) << "a definition shows its tag";

    const auto refs = modelSpaceEntities(*s.result, AcDbBlockReference::desc());
    ASSERT_EQ(refs.size(), 1u);
    fendo::db::OpenedObject<AcDbBlockReference> block(refs[0], AcDb::kForRead);
    std::vector<std::wstring> values;
    AcDbObjectIterator* it = block->attributeIterator();
    for (it->start(); !it->done(); it->step()) values.push_back(stringOf(it->objectId()));
    delete it;
    EXPECT_EQ(values, (std::vector<std::wstring>{L"left", L"changed"}));
    fendo::db::OpenedObject<AcDbAttributeDefinition> definition(
        modelSpaceEntities(*s.result, AcDbAttributeDefinition::desc()).at(0), AcDb::kForRead);
    EXPECT_EQ(std::wstring(definition->tag().c_str()), L"NEWTAG");
    EXPECT_EQ(std::wstring(definition->textString().c_str()), L"default");
}

// The elevation and code dialog: the list holds the code file's names then the built-in codes;
// a typed code is stored TCVN3-encoded, one unit per byte, through the scratch file; the
// point's other two texts stay.
TEST_F(EditCommand, SurveyPointTakesElevationAndATypedVietnameseCodeInStoredForm)
{
    TestDrawing d;
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(0, 0, 12.5), L"12.50", L"MT1", L"note");
    d.add(p);
    const auto s = runSession(d, "EM\n0,0\n1006=13.25\n1019=Cột điện mới\nclick 1\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    const std::string title = "Dialog \"Thay đổi cao độ điểm,mã điểm\"";
    EXPECT_NE(s.run.output.find(title), std::string::npos) << s.run.output;
    EXPECT_NE(s.run.output.find("#6 MT1 | #7 MP1 | #8 MT2 | #9 MP2 | #10 MT3 | "
                                "#11 MP3 | #12 DC1 | #13 DC2"),
              std::string::npos)
        << "the shipped list's six names come first\n"
        << s.run.output;
    EXPECT_NE(s.run.output.find("\"MT1\""), std::string::npos) << "the current code is chosen";

    fendo::db::OpenedObject<KvoDbPointObj> point(modelSpaceEntities(*s.result, KvoDbPointObj::desc()).at(0),
                                                 AcDb::kForRead);
    ASSERT_TRUE(point);
    EXPECT_DOUBLE_EQ(point->GetPoint().z, 13.25);
    std::wstring expected;
    for (const char byte : EncodeTcvn3Text(L"Cột điện mới"))
        expected.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    EXPECT_EQ(std::wstring(point->Get(1)), expected);
    EXPECT_EQ(std::wstring(point->Get(0)), L"12.50");
    EXPECT_EQ(std::wstring(point->Get(2)), L"note");
    EXPECT_TRUE(std::filesystem::exists(userFolder() / "temp.temp"));
    expectNoMarkers(s);
}

// Undo writes a survey point's elevation and code back as the dialog would.
TEST_F(EditCommand, UndoOnASurveyPointRestoresElevationAndCode)
{
    TestDrawing d;
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(0, 0, 12.5), L"", L"DC1", nullptr);
    d.add(p);
    const auto s = runSession(d, "EM\n0,0\n1006=1\n1019=#0\nclick 1\nundo\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    fendo::db::OpenedObject<KvoDbPointObj> point(modelSpaceEntities(*s.result, KvoDbPointObj::desc()).at(0),
                                                 AcDb::kForRead);
    EXPECT_DOUBLE_EQ(point->GetPoint().z, 12.5);
    EXPECT_EQ(std::wstring(point->Get(1)), L"DC1");
}

// An alignment holding a pole of the edited point draws the point's code and elevation again on
// its mark layer, replacing the marks it drew before.
TEST_F(EditCommand, SurveyPointEditRedrawsTheMarksOfTheAlignmentHoldingItsPole)
{
    TestDrawing d;
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(0, 0, 5), L"", L"MT1", nullptr);
    const AcDbObjectId pointId = d.add(p);
    auto* alignment = new KvoDbAlignment;
    alignment->addVertexAt(0, AcGePoint2d(-50, -50));
    alignment->addVertexAt(1, AcGePoint2d(-40, -50));
    alignment->SetName(L"T1");
    alignment->SetScales(500, 1000);
    alignment->AddPole(KvoGePole{L"C1", AcGePoint3d(100, 0, 0), pointId});
    d.add(alignment);
    const auto s = runSession(d, "EM\n0,0\n1006=6\nclick 1\n0,0\n1006=7\nclick 1\n\n");
    ASSERT_TRUE(s.result) << s.run.output;
    std::vector<std::wstring> marks;
    for (const AcDbObjectId& id : modelSpaceEntities(*s.result, AcDbText::desc())) {
        fendo::db::OpenedObject<AcDbText> t(id, AcDb::kForRead);
        EXPECT_EQ(std::wstring(t->layer().c_str()), L"T1_DIEMMIA");
        EXPECT_DOUBLE_EQ(t->height(), 3.0);  // 1.5 at 1:1000, twice at 1:500
        marks.push_back(t->textString().c_str());
    }
    EXPECT_EQ(marks, (std::vector<std::wstring>{L"MT1", L"7.00"}));
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(s.result->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(layers->has(L"DiaVatTN"));
    layers->close();
}

// Vertices 50 apart in plan: z 10 at the first, Next, slope 2 % and apply give 9.00 at the
// second. The editor outlives "EM"; its circle never reaches a saved drawing, open or closed.
TEST_F(EditCommand, VertexEditorSetsElevationFromSlopeAndDistance)
{
    TestDrawing d;
    AcGePoint3dArray pts;
    for (double x : {0.0, 30.0, 60.0}) pts.append(AcGePoint3d(x, x * 4.0 / 3.0, 0));  // 50 apart in plan
    pts.append(AcGePoint3d(100, 40, 3));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, pts));
    const auto open = runSession(d, "EM\n15,20\n\nDIALOG\n1278=10\nclick 1281\n1032=2\nclick 1\ndone\n");
    ASSERT_TRUE(open.result) << open.run.output;
    EXPECT_NE(open.run.output.find("1031  edit    \"50.00\" (read-only)"), std::string::npos) << open.run.output;
    EXPECT_NE(open.run.output.find("1278  edit    \"9.00\""), std::string::npos);
    const auto line = modelSpaceEntities(*open.result, AcDb3dPolyline::desc());
    ASSERT_EQ(line.size(), 1u);
    const Points v = verticesOf(line[0]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_DOUBLE_EQ(v[0].z, 10.0);
    EXPECT_DOUBLE_EQ(v[1].z, 9.0);
    expectNoMarkers(open);

    // Next writes the box into the vertex; previous from vertex 1 wraps to the last, keeping
    // the reference and distance: only the distance given, apply shows the slope and keeps the
    // value.
    const auto walk = runSession(d, "EM\n15,20\n\nDIALOG\n1278=10\nclick 1281\n1278=12\nclick 1\n"
                                    "click 1280\nclick 1280\n1278=4\nclick 1\nclick 2\nDIALOG ?\n");
    ASSERT_TRUE(walk.result) << walk.run.output;
    EXPECT_NE(walk.run.output.find("1032  edit    \"-4.00\""), std::string::npos) << walk.run.output;
    EXPECT_NE(walk.run.output.find("1278  edit    \"3\""), std::string::npos) << "wrapped to the last vertex";
    const Points w = verticesOf(modelSpaceEntities(*walk.result, AcDb3dPolyline::desc()).at(0));
    EXPECT_DOUBLE_EQ(w[0].z, 10.0);
    EXPECT_DOUBLE_EQ(w[1].z, 12.0);
    EXPECT_DOUBLE_EQ(w[3].z, 4.0);
    expectNoMarkers(walk);
}

// One editor at a time: a second pick replaces the first; unloading the module closes it and
// takes its circle away.
TEST_F(EditCommand, VertexEditorIsReplacedByANewPickAndClosedAtUnload)
{
    TestDrawing d;
    AcGePoint3dArray pts;
    pts.append(AcGePoint3d(0, 0, 1));
    pts.append(AcGePoint3d(30, 40, 2));
    d.add(new AcDb3dPolyline(AcDb::k3dSimplePoly, pts));
    const auto s = runSession(d, "EM\n15,20\n15,20\n\nDIALOG ?\nARX\nUnload\nFendo17.arx\nDIALOG ?\n");
    ASSERT_TRUE(s.result) << s.run.output;
    EXPECT_EQ(occurrences(s.run.output, "(dialog 238)"), 1u) << s.run.output;
    EXPECT_NE(s.run.output.find("No dialog is open."), std::string::npos) << s.run.output;
    expectNoMarkers(s);
    EXPECT_EQ(modelSpaceEntities(*s.result).size(), 1u);
}

// The code list takes the name of each line with exactly two tab-separated parts, from a UTF-8
// file or an older TCVN3 one alike, then the built-in codes; no file gives those alone.
TEST(EditCodeList, ReadsUtf8AndTcvn3FilesAndEndsWithTheBuiltInCodes)
{
    const auto dir = scratchDir("em-codes");
    writeFile(dir / "utf8.txt",
              "1\tC\xE1\xBB\x99t \xC4\x91i\xE1\xBB\x87n\r\nno tab here\n2\ta\tb\n3\tGi\xE1\xBA\xBFng\n");
    writeFile(dir / "tcvn3.txt", "1\tC\xE9t \xAEi\xD6n\n");
    const std::vector<std::wstring> builtIn = {L"MT1", L"MP1", L"MT2", L"MP2", L"MT3", L"MP3", L"DC1", L"DC2"};
    auto expected = std::vector<std::wstring>{L"Cột điện", L"Giếng"};
    expected.insert(expected.end(), builtIn.begin(), builtIn.end());
    EXPECT_EQ(EditTextDlgD::codeNames((dir / "utf8.txt").wstring()), expected);
    expected = {L"Cột điện"};
    expected.insert(expected.end(), builtIn.begin(), builtIn.end());
    EXPECT_EQ(EditTextDlgD::codeNames((dir / "tcvn3.txt").wstring()), expected);
    EXPECT_EQ(EditTextDlgD::codeNames((dir / "missing.txt").wstring()), builtIn);
}
