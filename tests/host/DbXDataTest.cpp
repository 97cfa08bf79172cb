// Result-buffer chains and extended data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/db/DbHelpers.h"
#include "tests/host/DbTestEntity.h"

using dbtest::appendSegment;
using dbtest::WorkingDrawing;

namespace {

int chainLength(const resbuf* rb)
{
    int n = 0;
    for (; rb; rb = rb->rbnext) ++n;
    return n;
}

// The chain as "code:value" items, for comparing whole chains at once.
std::string describe(const resbuf* rb)
{
    std::string out;
    for (; rb; rb = rb->rbnext) {
        out += std::to_string(rb->restype) + ":";
        switch (resValueKind(rb->restype)) {
        case ResValueKind::String:
        case ResValueKind::Handle: out += fendo::toUtf8(rb->resval.rstring); break;
        case ResValueKind::Real: out += std::to_string(rb->resval.rreal); break;
        case ResValueKind::Point:
            out += std::to_string(rb->resval.rpoint[0]) + "," + std::to_string(rb->resval.rpoint[1]) + "," +
                   std::to_string(rb->resval.rpoint[2]);
            break;
        case ResValueKind::Int16: out += std::to_string(rb->resval.rint); break;
        case ResValueKind::Int32: out += std::to_string(rb->resval.rlong); break;
        case ResValueKind::Binary: out += std::string(rb->resval.rbinary.buf, rb->resval.rbinary.clen); break;
        default: break;
        }
        out += " ";
    }
    return out;
}

}  // namespace

TEST(ResBuf, GroupCodesMapToTheirValueKinds)
{
    EXPECT_EQ(resValueKind(1), ResValueKind::String);
    EXPECT_EQ(resValueKind(10), ResValueKind::Point);
    EXPECT_EQ(resValueKind(40), ResValueKind::Real);
    EXPECT_EQ(resValueKind(62), ResValueKind::Int16);
    EXPECT_EQ(resValueKind(90), ResValueKind::Int32);
    EXPECT_EQ(resValueKind(160), ResValueKind::Int64);
    EXPECT_EQ(resValueKind(290), ResValueKind::Bool);
    EXPECT_EQ(resValueKind(310), ResValueKind::Binary);
    EXPECT_EQ(resValueKind(330), ResValueKind::Name);
    EXPECT_EQ(resValueKind(1005), ResValueKind::Handle);
    EXPECT_EQ(resValueKind(1011), ResValueKind::Point);
    EXPECT_EQ(resValueKind(1071), ResValueKind::Int32);
    EXPECT_EQ(resValueKind(RTSTR), ResValueKind::String);
    EXPECT_EQ(resValueKind(RT3DPOINT), ResValueKind::Point);
    EXPECT_EQ(resValueKind(85), ResValueKind::None);
}

TEST(ResBuf, BuildDuplicateAndReleaseOwnTheirStrings)
{
    ads_point pt = {1.5, 2.5, 3.5};
    char bytes[3] = {'a', 0, 'b'};
    ads_binary bin{3, bytes};
    std::wstring text = L"Đường";
    resbuf* list = acutBuildList(RTSTR, text.c_str(), 1010, pt, 1040, 2.25, 1070, 7, 1071, 70000, 1004, &bin,
                                 RTLB, RTLE, RTNONE);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(chainLength(list), 8);
    text = L"changed";  // the chain holds its own copy
    bytes[0] = 'z';
    const std::string expected = describe(list);
    EXPECT_NE(expected.find("Đường"), std::string::npos);
    EXPECT_NE(expected.find(std::string("a\0b", 3)), std::string::npos);

    resbuf* copy = acutDupRb(list);
    EXPECT_NE(copy->resval.rstring, list->resval.rstring);
    EXPECT_EQ(describe(copy), expected);
    acutRelRb(list);
    EXPECT_EQ(describe(copy), expected);  // the copy survives the original
    acutRelRb(copy);

    EXPECT_EQ(acutBuildList(85, 1, RTNONE), nullptr);  // no value kind: refused
    EXPECT_EQ(acutBuildList(RTNONE), nullptr);
}

TEST(XData, SetGetAndReplacePerApplication)
{
    WorkingDrawing w;
    ASSERT_TRUE(acdbRegApp(L"KVO_DIEMMIA"));
    ASSERT_TRUE(acdbRegApp(L"TKD_GPMB"));
    ASSERT_TRUE(acdbRegApp(L"kvo_diemmia"));  // already there, whatever the case
    const AcDbObjectId id = appendSegment(w.db);
    fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
    ads_point p = {10, 20, 1.25};

    resbuf* first = acutBuildList(1001, L"KVO_DIEMMIA", 1000, L"A1", 1010, p, 1040, 12.5, 1070, 3, RTNONE);
    resbuf* second = acutBuildList(1001, L"TKD_GPMB", 1002, L"{", 1071, 123456, 1002, L"}", RTNONE);
    ASSERT_EQ(ent->setXData(first), Acad::eOk);
    ASSERT_EQ(ent->setXData(second), Acad::eOk);

    resbuf* mine = ent->xData(L"kvo_diemmia");
    EXPECT_EQ(describe(mine), describe(first));
    acutRelRb(mine);
    resbuf* all = ent->xData();
    EXPECT_EQ(chainLength(all), chainLength(first) + chainLength(second));
    acutRelRb(all);

    // Replacing one application leaves the other; an application with no values goes.
    resbuf* replacement = acutBuildList(1001, L"KVO_DIEMMIA", 1000, L"B2", RTNONE);
    ASSERT_EQ(ent->setXData(replacement), Acad::eOk);
    mine = ent->xData(L"KVO_DIEMMIA");
    EXPECT_EQ(describe(mine), describe(replacement));
    acutRelRb(mine);
    resbuf* other = ent->xData(L"TKD_GPMB");
    EXPECT_EQ(describe(other), describe(second));
    acutRelRb(other);
    resbuf* removal = acutBuildList(1001, L"TKD_GPMB", RTNONE);
    ASSERT_EQ(ent->setXData(removal), Acad::eOk);
    EXPECT_EQ(ent->xData(L"TKD_GPMB"), nullptr);
    EXPECT_TRUE(ent->hasXData());

    for (resbuf* rb : {first, second, replacement, removal}) acutRelRb(rb);
}

TEST(XData, BadChainsChangeNothing)
{
    WorkingDrawing w;
    acdbRegApp(L"KVO_DIEMMIA");
    const AcDbObjectId id = appendSegment(w.db);
    fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
    resbuf* good = acutBuildList(1001, L"KVO_DIEMMIA", 1000, L"keep", RTNONE);
    ASSERT_EQ(ent->setXData(good), Acad::eOk);

    resbuf* unregistered = acutBuildList(1001, L"KVO_DIEMMIA", 1000, L"x", 1001, L"NOBODY", 1000, L"y", RTNONE);
    EXPECT_EQ(ent->setXData(unregistered), Acad::eRegappIdNotFound);
    resbuf* noApp = acutBuildList(1000, L"orphan", RTNONE);
    EXPECT_EQ(ent->setXData(noApp), Acad::eInvalidResBuf);
    resbuf* unbalanced = acutBuildList(1001, L"KVO_DIEMMIA", 1002, L"{", 1000, L"x", RTNONE);
    EXPECT_EQ(ent->setXData(unbalanced), Acad::eInvalidResBuf);
    resbuf* notXData = acutBuildList(1001, L"KVO_DIEMMIA", 40, 1.0, RTNONE);
    EXPECT_EQ(ent->setXData(notXData), Acad::eInvalidResBuf);

    resbuf* now = ent->xData();
    EXPECT_EQ(describe(now), describe(good));
    for (resbuf* rb : {good, unregistered, noApp, unbalanced, notXData, now}) acutRelRb(rb);
}

TEST(XData, GroupsReadFromAFileComeBackAsValuesAndStayUnchanged)
{
    WorkingDrawing w;
    const AcDbObjectId id = appendSegment(w.db);
    fendo::db::OpenedObject<AcDbEntity> ent(id, AcDb::kForWrite);
    const fendo::db::RawTags raw = {{1001, "KVO_DIEMMIA"}, {1000, "Cao độ"},  {1010, "1.0"},
                                    {1020, " 2.50"},       {1030, "0.0"},     {1040, "3.14159265358979"},
                                    {1070, "     5"},      {1005, "2F"},      {1004, "00FF10"}};
    ent->setRawXData(raw);
    resbuf* rb = ent->xData();
    ASSERT_EQ(chainLength(rb), 7);
    const resbuf* point = rb->rbnext->rbnext;
    EXPECT_EQ(point->restype, 1010);
    EXPECT_DOUBLE_EQ(point->resval.rpoint[1], 2.5);
    EXPECT_EQ(fendo::toUtf8(rb->rbnext->resval.rstring), "Cao độ");
    EXPECT_EQ(point->rbnext->rbnext->resval.rint, 5);
    const resbuf* bin = point->rbnext->rbnext->rbnext->rbnext;
    ASSERT_EQ(bin->resval.rbinary.clen, 3);
    EXPECT_EQ(static_cast<unsigned char>(bin->resval.rbinary.buf[1]), 0xFF);
    acutRelRb(rb);
    // Reading does not rewrite the groups: they go back to a file as they came.
    EXPECT_EQ(*ent->rawXData(), raw);
}
