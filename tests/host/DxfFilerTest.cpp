// The DXF filer: typed values and point merging on input, subclass sections, groups kept
// for writing back in their section, files without subclass markers, number formatting;
// and the binary copy filer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/dxf/DxfOutput.h"

using fendo::db::RawTag;
using fendo::db::RawTags;

namespace {

std::string joined(const RawTags& tags)
{
    std::string out;
    for (const RawTag& t : tags) out += std::to_string(t.code) + "=" + t.value + " ";
    return out;
}

TEST(DxfFilerInput, MergesCoordinateGroupsIntoPointsWithOptionalZ)
{
    AcDbDxfFiler filer(nullptr);
    filer.setInput({{10, "1.5"}, {20, "-2"}, {30, "3e2"}, {11, "4"}, {21, "5"}, {40, " 7.25 "}, {1010, "1"}, {1020, "2"}});
    resbuf rb{};
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.restype, 10);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[0], 1.5);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], -2.0);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[2], 300.0);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.restype, 11);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 5.0);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[2], 0.0);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 7.25);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.restype, 1010);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 2.0);
    EXPECT_EQ(filer.readItem(&rb), Acad::eEndOfObject);
}

TEST(DxfFilerInput, GivesTypedValuesByGroupCodeRange)
{
    AcDbDatabase db(false);
    AcDbDxfFiler filer(&db);
    filer.setInput({{1, "Cao độ"}, {70, "12"}, {90, "70000"}, {290, "1"}, {160, "123456789012"}, {330, "1F"},
                    {310, "00FF10"}, {5, "2A"}});
    resbuf rb{};
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_STREQ(rb.resval.rstring, L"Cao độ");
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.resval.rint, 12);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.resval.rlong, 70000);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.resval.rint, 1);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.resval.mnInt64, 123456789012LL);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    AcDbObjectId id;
    acdbGetObjectId(id, rb.resval.rlname);
    EXPECT_EQ(id.handle().value(), 0x1Fu);  // a handle not loaded yet still names its stub
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    ASSERT_EQ(rb.resval.rbinary.clen, 3);
    EXPECT_EQ(static_cast<unsigned char>(rb.resval.rbinary.buf[1]), 0xFF);
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_STREQ(rb.resval.rstring, L"2A");
}

TEST(DxfFilerInput, MalformedNumberNamesTheLineAndTheGroupCode)
{
    AcDbDxfFiler filer(nullptr);
    filer.setInput({{10, "1"}, {20, "x2"}}, true, 40);
    resbuf rb{};
    EXPECT_EQ(filer.readItem(&rb), Acad::eInvalidDxfCode);
    EXPECT_EQ(filer.errorMessage(), "line 42: group code 20: expected a number, found 'x2'");
}

TEST(DxfFilerInput, SectionsEndAtSubclassMarkersAndPushBackRereads)
{
    AcDbDxfFiler filer(nullptr);
    filer.setInput({{5, "A"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbLine"}, {10, "1"}, {20, "2"}});
    resbuf rb{};
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(filer.readItem(&rb), Acad::eEndOfObject);
    // Asking for a later section skips the unread one between.
    ASSERT_TRUE(filer.atSubclassData(L"AcDbLine"));
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_EQ(rb.restype, 10);
    filer.pushBackItem();
    ASSERT_EQ(filer.readItem(&rb), Acad::eOk);
    EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 2.0);
    EXPECT_TRUE(filer.atEOF());
    EXPECT_FALSE(filer.atSubclassData(L"AcDbCircle"));
}

TEST(DxfFilerKeptGroups, UnreadAndUnknownGroupsAreWrittenBackInTheirSections)
{
    AcDbDatabase db(false);
    AcDbDictionary dict;
    AcDbDxfFiler in(&db);
    in.setObjectBeingRead(&dict);
    in.setInput({{5, "1C"},
                 {102, "{MYAPP"},
                 {1, "kept"},
                 {102, "}"},
                 {330, "0"},
                 {100, "AcDbDictionary"},
                 {281, "1"},
                 {999, "a note"},
                 {3, "KEY"},
                 {350, "1D"},
                 {100, "AcDbOther"},
                 {40, "2.5"}});
    ASSERT_EQ(dict.dxfInFields(&in), Acad::eOk);
    in.finishReading();
    ASSERT_EQ(dict.numEntries(), 1);

    AcDbDxfFiler out(&db);
    out.setObjectBeingWritten(&dict);
    ASSERT_EQ(dict.dxfOutFields(&out), Acad::eOk);
    const std::string text = joined(out.takeOutput());
    EXPECT_EQ(text, "330=0 102={MYAPP 1=kept 102=} 100=AcDbDictionary 281=1 3=KEY 350=1D 999=a note "
                    "100=AcDbOther 40=2.5 ");
}

TEST(DxfFilerKeptGroups, FilesWithoutMarkersOfferEveryGroupToEachClassLevel)
{
    AcDbDatabase db;
    AcDbLayerTableRecord layer;
    AcDbDxfFiler in(&db);
    in.setObjectBeingRead(&layer);
    in.setInput({{2, "DUONG"}, {70, "4"}, {62, "-3"}, {6, "CONTINUOUS"}, {77, "9"}}, false);
    ASSERT_EQ(layer.dxfInFields(&in), Acad::eOk);
    in.finishReading();
    EXPECT_EQ(layer.name(), L"DUONG");
    EXPECT_TRUE(layer.isLocked());
    EXPECT_TRUE(layer.isOff());
    EXPECT_EQ(layer.color().colorIndex(), 3);
    EXPECT_FALSE(layer.linetypeObjectId().isNull());
    ASSERT_NE(layer.keptGroups(), nullptr);
    ASSERT_EQ(layer.keptGroups()->size(), 1u);
    EXPECT_EQ(layer.keptGroups()->front().tag, (RawTag{77, "9"}));
}

TEST(DxfFilerOutput, WritesShortestExactRealsUpperCaseHandlesAndChunkedBytes)
{
    AcDbDxfFiler out(nullptr);
    const double third = 1.0 / 3.0;
    out.writeDouble(AcDb::kDxfReal, 0.1);
    out.writeDouble(AcDb::kDxfReal, 1.0);
    out.writeDouble(AcDb::kDxfReal, third);
    out.writeDouble(AcDb::kDxfReal, -0.0);
    out.writeDouble(AcDb::kDxfReal, 1e20);
    out.writeHandle(AcDb::kDxfHandle, AcDbHandle(0xABCDEFu));
    out.writeAngle(AcDb::kDxfAngle, std::acos(-1.0) / 2);
    const std::string bytes(300, '\x5A');
    out.writeBytes(AcDb::kDxfBinaryChunk, bytes.data(), bytes.size());
    const RawTags tags = out.takeOutput();
    ASSERT_EQ(tags.size(), 10u);
    EXPECT_EQ(tags[0].value, "0.1");
    EXPECT_EQ(tags[1].value, "1.0");
    EXPECT_EQ(std::stod(tags[2].value), third);
    EXPECT_EQ(tags[3].value, "0.0");
    EXPECT_EQ(std::stod(tags[4].value), 1e20);
    EXPECT_EQ(tags[5].value, "ABCDEF");
    EXPECT_EQ(tags[6].value, "90.0");
    EXPECT_EQ(tags[7].value.size(), 254u);
    EXPECT_EQ(tags[9].value.size(), 2u * (300 - 254));
}

TEST(DxfFilerOutput, TextWriterRightAlignsCodesAsCadProgramsDo)
{
    fendo::dxf::DxfOutput out;
    out.group(0, "LINE");
    out.groupDouble(10, 2.5);
    out.groupInt(1071, 7);
    EXPECT_EQ(out.buffer(), "  0\nLINE\n 10\n2.5\n1071\n7\n");
}

TEST(DwgFiler, ReadsBackWhatWasWrittenInOrder)
{
    AcDbDwgFiler f;
    f.writeInt16(-7);
    f.writeString(L"Mốc 12");
    f.writePoint3d(AcGePoint3d(1, 2, 3));
    f.writeDouble(0.1);
    f.seekToStart();
    std::int16_t i = 0;
    AcString s;
    AcGePoint3d p;
    double d = 0;
    f.readInt16(&i);
    f.readString(s);
    f.readPoint3d(&p);
    f.readDouble(&d);
    EXPECT_EQ(i, -7);
    EXPECT_EQ(s, L"Mốc 12");
    EXPECT_EQ(p, AcGePoint3d(1, 2, 3));
    EXPECT_EQ(d, 0.1);
    EXPECT_EQ(f.readDouble(&d), Acad::eEndOfFile);
}

}  // namespace
