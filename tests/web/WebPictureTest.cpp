// The page's picture: one SVG group per object carrying its handle, and the changes sent
// after a command (only objects drawn differently, new or gone).
#include <gtest/gtest.h>

#include <regex>

#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbText.h"
#include "host/render/DrawingRenderer.h"
#include "support/TestDrawing.h"
#include "web/PageState.h"
#include "web/WebTestSupport.h"

using namespace fendo;
using fendo::test::TestDrawing;

namespace {

render::ViewTransform unitView() { return render::ViewTransform { 10.0, 0.0, 100.0 }; }

render::ObjectPicture picture(std::uint64_t handle, std::string svg) { return render::ObjectPicture { handle, svg }; }

}  // namespace

TEST(WebPicture, EveryPathOfAnObjectCarriesItsHandleInsideTheObjectsGroup)
{
    TestDrawing d;
    const AcDbObjectId line = d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 0)));
    const AcDbObjectId circle = d.add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2));
    const auto pictures = render::drawObjectsAsSvg(d.db(), unitView());
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].handle, line.handle().value());
    EXPECT_EQ(pictures[1].handle, circle.handle().value());
    for (const auto& p : pictures) {
        const std::string h = web::handleText(p.handle);
        EXPECT_EQ(p.svg.rfind("<g data-handle=\"" + h + "\">", 0), 0u) << p.svg;
        const std::regex path("<path data-handle=\"([0-9A-F]+)\"");
        int paths = 0;
        for (std::sregex_iterator it(p.svg.begin(), p.svg.end(), path), end; it != end; ++it, ++paths)
            EXPECT_EQ((*it)[1], h);
        EXPECT_GE(paths, 1);
    }
    // The line from 0,0 to 10,5 in the view: x * 10, (100 - y) * 10; colour 7 draws black.
    EXPECT_NE(pictures[0].svg.find("d=\"M0.000 1000.000L100.000 950.000\""), std::string::npos) << pictures[0].svg;
    EXPECT_NE(pictures[0].svg.find("stroke=\"#000000\" fill=\"none\""), std::string::npos);
}

TEST(WebPicture, ObjectsOnLayersThatAreOffDrawNothingButKeepTheirPlace)
{
    TestDrawing d;
    d.layer(L"HIDDEN", 1);
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)), L"HIDDEN");
    d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 1, 0)));
    fendo::test::web::setLayerOff(d.layer(L"HIDDEN"));
    const auto pictures = render::drawObjectsAsSvg(d.db(), unitView());
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_TRUE(pictures[0].svg.empty());
    EXPECT_FALSE(pictures[1].svg.empty());
}

TEST(WebPicture, ChangesHoldOnlyWhatIsNewDrawnDifferentlyOrGone)
{
    web::PictureTracker tracker;
    auto first = tracker.update({ picture(1, "<g>a</g>"), picture(2, "<g>b</g>"), picture(3, "") });
    ASSERT_EQ(first.put.size(), 2u);  // an object that draws nothing is not sent
    EXPECT_TRUE(first.removed.empty());

    // 1 unchanged, 2 drawn differently, 3 now shown, 4 new, and then 2 erased.
    auto second = tracker.update(
        { picture(1, "<g>a</g>"), picture(2, "<g>B</g>"), picture(3, "<g>c</g>"), picture(4, "<g>d</g>") });
    std::vector<std::uint64_t> put;
    for (const auto* p : second.put) put.push_back(p->handle);
    EXPECT_EQ(put, (std::vector<std::uint64_t> { 2, 3, 4 }));
    EXPECT_TRUE(second.removed.empty());

    auto third = tracker.update({ picture(1, ""), picture(3, "<g>c</g>"), picture(4, "<g>d</g>") });
    EXPECT_TRUE(third.put.empty());
    EXPECT_EQ(third.removed, (std::vector<std::uint64_t> { 1, 2 }));  // 1 hidden, 2 erased
    EXPECT_EQ(tracker.fullSvg(), "<g>c</g><g>d</g>");

    EXPECT_TRUE(tracker.update({ picture(3, "<g>c</g>"), picture(4, "<g>d</g>") }).empty());
}

TEST(WebPicture, TheJsonSentToThePageEscapesTextAndKeepsVietnamese)
{
    EXPECT_EQ(web::jsonString(std::string_view("a\"b\\c\nd\te\x01")), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    EXPECT_EQ(web::jsonString(std::wstring_view(L"Chọn đối tượng")), "\"Chọn đối tượng\"");
    web::PictureTracker tracker;
    const auto change = tracker.update({ picture(0x2A, "<g data-handle=\"2A\"></g>") });
    EXPECT_EQ(web::pictureJson(change),
        "{\"full\":false,\"remove\":[],\"put\":[[\"2A\",\"<g data-handle=\\\"2A\\\"></g>\"]]}");

    editor::Request request;
    request.kind = editor::RequestKind::Selection;
    request.selected = { 0x2A, 0x1F0 };
    EXPECT_EQ(web::requestJson(request, L"\n2 found\nSelect objects: "),
        "{\"kind\":\"selection\",\"prompt\":\"Select objects: \",\"selected\":[\"2A\",\"1F0\"],\"choices\":\"\","
        "\"modeless\":[]}");
}

// After the first picture only what was opened for write, new objects and the objects of
// changed layers are drawn again; the result matches a picture drawn from scratch.
TEST(WebPicture, RefreshRedrawsWhatChangedAndMatchesAFreshPicture)
{
    TestDrawing d;
    d.layer(L"ROAD", 1);
    const AcDbObjectId moved = d.add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    const AcDbObjectId erased = d.add(new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
    const AcDbObjectId onRoad = d.add(new AcDbLine(AcGePoint3d(0, 2, 0), AcGePoint3d(1, 2, 0)), L"ROAD");
    const AcDbObjectId still = d.add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 1));
    web::PictureTracker tracker;
    EXPECT_EQ(tracker.refresh(d.db(), unitView()).put.size(), 4u);
    EXPECT_TRUE(tracker.refresh(d.db(), unitView()).empty());

    {
        db::OpenedObject<AcDbLine> line(moved, AcDb::kForWrite);
        line.get()->setEndPoint(AcGePoint3d(3, 0, 0));
    }
    {
        db::OpenedObject<AcDbLine> line(erased, AcDb::kForWrite);
        line.get()->erase();
    }
    const AcDbObjectId added = d.add(new AcDbLine(AcGePoint3d(0, 3, 0), AcGePoint3d(1, 3, 0)));
    auto change = tracker.refresh(d.db(), unitView());
    std::vector<std::uint64_t> put;
    for (const auto* p : change.put) put.push_back(p->handle);
    EXPECT_EQ(put, (std::vector<std::uint64_t> { moved.handle().value(), added.handle().value() }));
    EXPECT_EQ(change.removed, (std::vector<std::uint64_t> { erased.handle().value() }));

    // Commands often open for read and upgrade to write once they know they will change it.
    {
        db::OpenedObject<AcDbCircle> circle(still, AcDb::kForRead);
        ASSERT_EQ(circle.get()->upgradeOpen(), Acad::eOk);
        circle.get()->setRadius(2);
    }
    change = tracker.refresh(d.db(), unitView());
    ASSERT_EQ(change.put.size(), 1u);
    EXPECT_EQ(change.put[0]->handle, still.handle().value());

    fendo::test::web::setLayerOff(d.layer(L"ROAD"));
    change = tracker.refresh(d.db(), unitView());
    EXPECT_TRUE(change.put.empty());
    EXPECT_EQ(change.removed, (std::vector<std::uint64_t> { onRoad.handle().value() }));

    std::string fresh;
    for (const auto& p : render::drawObjectsAsSvg(d.db(), unitView())) fresh += p.svg;
    EXPECT_EQ(tracker.fullSvg(), fresh);
    EXPECT_NE(fresh.find("data-handle=\"" + web::handleText(still.handle().value()) + "\""), std::string::npos);
}
