// Converting the texts of a drawing held in memory: table cells take their table's style, names
// change only when asked and never onto a name in use, and the way back restores the bytes.
#include "host/db/VietTextConversion.h"

#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/AcDbText.h"

namespace
{

using fendo::viet::convertDrawing;
using fendo::viet::Direction;
using fendo::viet::NameScope;

AcDbObjectId addRecord(AcDbObjectId tableId, AcDbSymbolTableRecord* record, const wchar_t* name)
{
    record->setName(name);
    fendo::db::OpenedObject<AcDbSymbolTable> table(tableId, AcDb::kForWrite);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    return id;
}

AcDbObjectId addStyle(AcDbDatabase& db, const wchar_t* name, const wchar_t* font)
{
    auto* style = new AcDbTextStyleTableRecord;
    style->setFileName(font);
    return addRecord(db.textStyleTableId(), style, name);
}

AcDbObjectId append(AcDbDatabase& db, AcDbEntity* entity)
{
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ((fendo::db::openTableRecord<AcDbBlockTable>(&db, ACDB_MODEL_SPACE, space, AcDb::kForWrite)), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    space->close();
    return id;
}

const std::wstring& fontOf(AcDbObjectId style)
{
    return fendo::db::peekObject<AcDbTextStyleTableRecord>(style)->fileName();
}

TEST(VietDrawingConversion, TableCellsFollowTheStyleTheTableWritesIn)
{
    AcDbDatabase db(true);
    const AcDbObjectId vnt = addStyle(db, L"VNT", L".VnTime");
    db.setTextstyle(vnt);
    auto* table = new AcDbTable;
    table->setSize(2, 2);
    table->setTextString(0, 0, L"M\u00C6t c\u00BEt");
    table->setTextString(1, 1, L"{\\fVNI-Times;Vie\u00E4t}");
    table->setTextString(1, 0, L"Km 0+100");
    const AcDbObjectId tableId = append(db, table);

    const auto report =
        convertDrawing(db, Direction::ToUnicode, NameScope::TextsOnly, fendo::fonts::VietFontTable::installed());
    EXPECT_EQ(report.describe(Direction::ToUnicode), L"Converted to Unicode:\n  TABLE: 1\n  STYLE: 1");
    const auto* converted = fendo::db::peekObject<AcDbTable>(tableId);
    EXPECT_EQ(converted->textString(0, 0), AcString(L"Mặt cắt"));
    EXPECT_EQ(converted->textString(1, 1), AcString(L"{\\fTimes New Roman;Việt}"));
    EXPECT_EQ(converted->textString(1, 0), AcString(L"Km 0+100"));
    EXPECT_EQ(fontOf(vnt), L"times.ttf");

    const auto back =
        convertDrawing(db, Direction::ToTcvn3, NameScope::TextsOnly, fendo::fonts::VietFontTable::installed());
    EXPECT_EQ(back.total(), 2);
    EXPECT_EQ(converted->textString(0, 0), AcString(L"M\u00C6t c\u00BEt"));
    EXPECT_EQ(converted->textString(1, 1), AcString(L"{\\f.VnTime;Vi\u00D6t}"));
    EXPECT_EQ(fontOf(vnt), L"vntime.ttf");
}

TEST(VietDrawingConversion, NamesChangeOnlyWhenAskedAndNeverOntoANameInUse)
{
    AcDbDatabase db(true);
    addRecord(db.layerTableId(), new AcDbLayerTableRecord, L"\u00A7\u00AD\u00EAng");
    addRecord(db.layerTableId(), new AcDbLayerTableRecord, L"C\u00E8ng");
    addRecord(db.layerTableId(), new AcDbLayerTableRecord, L"Cống");
    const auto& fonts = fendo::fonts::VietFontTable::installed();

    EXPECT_EQ(convertDrawing(db, Direction::ToUnicode, NameScope::TextsOnly, fonts).total(), 0);
    AcDbObjectId id;
    auto* layers = fendo::db::peekObject<AcDbLayerTable>(db.layerTableId());
    EXPECT_EQ(layers->getAt(L"Đường", id), Acad::eKeyNotFound);

    const auto report = convertDrawing(db, Direction::ToUnicode, NameScope::TextsAndNames, fonts);
    EXPECT_EQ(report.total(), 1);
    EXPECT_EQ(layers->getAt(L"Đường", id), Acad::eOk);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0], L"LAYER C\u00E8ng: Cống exists already; name kept");
    EXPECT_EQ(layers->getAt(L"C\u00E8ng", id), Acad::eOk);
}

TEST(VietDrawingConversion, TextsWithoutATcvn3FormStayUnicodeAndAreReported)
{
    AcDbDatabase db(true);
    const AcDbObjectId arial = addStyle(db, L"A", L"arial.ttf");
    const AcDbObjectId good = append(db, new AcDbText(AcGePoint3d(0, 0, 0), L"Cống", arial));
    const AcDbObjectId bad = append(db, new AcDbText(AcGePoint3d(0, 5, 0), L"ẤP 3 中", arial));

    const auto report =
        convertDrawing(db, Direction::ToTcvn3, NameScope::TextsOnly, fendo::fonts::VietFontTable::installed());
    EXPECT_EQ(fendo::db::peekObject<AcDbText>(good)->textString(), AcString(L"C\u00E8ng"));
    EXPECT_EQ(fendo::db::peekObject<AcDbText>(bad)->textString(), AcString(L"ẤP 3 中"));
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find(L"no TCVN3 form for Ấ中"), std::wstring::npos) << report.problems[0];
    EXPECT_EQ(fontOf(arial), L"vnarial.ttf");
}

}  // namespace
