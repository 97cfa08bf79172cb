// Pictures of drawings: SVG and PNG files, colours resolved through layers and blocks, layers
// off or frozen left out, windows, and custom objects drawn through their worldDraw.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>

#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/render/DrawingRenderer.h"
#include "tests/host/RenderTestSupport.h"
#include "support/TestDrawing.h"
#include "support/TestSupport.h"

ACRX_DXF_DEFINE_MEMBERS(RenderTestMark, AcDbEntity, 27, 1, 0, FENDOTESTMARK, FendoTests)

namespace rendertest {

AcDbObjectId addLayer(AcDbDatabase& db, const wchar_t* name, int color, bool off, bool frozen)
{
    AcDbLayerTable* table = nullptr;
    AcDbObjectId id;
    if (db.getSymbolTable(table, AcDb::kForWrite) != Acad::eOk) return id;
    auto* rec = new AcDbLayerTableRecord;
    rec->setName(name);
    AcCmColor c;
    c.setColorIndex(static_cast<Adesk::UInt16>(color));
    rec->setColor(c);
    rec->setIsOff(off);
    rec->setIsFrozen(frozen);
    if (table->add(id, rec) == Acad::eOk) rec->close();
    else delete rec;
    table->close();
    return id;
}

AcDbObjectId append(AcDbDatabase& db, AcDbEntity* e, const wchar_t* layer, int color, AcDbObjectId owner)
{
    AcDbBlockTableRecord* space = nullptr;
    AcDbObjectId id;
    if (acdbOpenObject(space, owner.isNull() ? db.modelSpaceId() : owner, AcDb::kForWrite) != Acad::eOk) return id;
    if (space->appendAcDbEntity(id, e) == Acad::eOk) {
        e->setLayer(layer);
        e->setColorIndex(static_cast<Adesk::UInt16>(color));
        e->close();
    } else {
        delete e;
    }
    space->close();
    return id;
}

}  // namespace rendertest

namespace {

namespace fs = std::filesystem;
using namespace rendertest;
using fendo::render::DrawingWindow;
using fendo::render::RenderOptions;

// Pixels by tint: lines are antialiased, so a red line shows as reds paler than pure red.
constexpr char kWhite = 'w', kRed = 'r', kGreen = 'g', kBlue = 'b', kBlack = 'k', kOther = 'o';

char tintOf(std::uint32_t px)
{
    const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    constexpr int kClear = 60;
    if (r > 240 && g > 240 && b > 240) return kWhite;
    if (std::max({r, g, b}) - std::min({r, g, b}) < kClear) return kBlack;
    if (r > g + kClear && r > b + kClear) return kRed;
    if (g > r + kClear && g > b + kClear) return kGreen;
    if (b > r + kClear && b > g + kClear) return kBlue;
    return kOther;
}

fs::path render(AcDbDatabase& db, const std::string& name, RenderOptions options = {})
{
    const fs::path out = fendo::test::scratchDir("render") / name;
    std::string error;
    EXPECT_EQ(fendo::render::renderDrawing(db, out.string(), options, &error), Acad::eOk) << error;
    return out;
}

// The tints of a PNG's pixels.
std::set<char> colours(const fs::path& png)
{
    std::set<char> found;
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.string().c_str());
    EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; data && y < cairo_image_surface_get_height(s); ++y)
        for (int x = 0; x < cairo_image_surface_get_width(s); ++x)
            found.insert(tintOf(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF));
    cairo_surface_destroy(s);
    return found;
}

// A line in red, a circle ByLayer on a green layer, a text, and a blue circle on a layer that
// is off and another on a frozen one.
void lineCircleText(AcDbDatabase& db)
{
    addLayer(db, L"GREEN", 3);
    addLayer(db, L"HIDDEN", 5, /*off=*/true);
    addLayer(db, L"ICE", 5, /*off=*/false, /*frozen=*/true);
    append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 50, 0)), L"0", 1);
    append(db, new AcDbCircle(AcGePoint3d(50, 25, 0), AcGeVector3d::kZAxis, 20), L"GREEN");
    append(db, new AcDbText(AcGePoint3d(10, 40, 0), L"Fendo", AcDbObjectId(), 5.0), L"0", 7);
    append(db, new AcDbCircle(AcGePoint3d(80, 10, 0), AcGeVector3d::kZAxis, 5), L"HIDDEN");
    append(db, new AcDbCircle(AcGePoint3d(80, 10, 0), AcGeVector3d::kZAxis, 6), L"ICE");
}

TEST(RenderSvg, DrawsLinesCirclesAndGlyphsInLayerColoursAndLeavesHiddenLayersOut)
{
    AcDbDatabase db;
    lineCircleText(db);
    const std::string svg = fendo::test::readFile(render(db, "drawing.svg"));
    ASSERT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("stroke:rgb(100%,0%,0%)"), std::string::npos) << "the red line";
    EXPECT_NE(svg.find("stroke:rgb(0%,100%,0%)"), std::string::npos) << "the circle ByLayer";
    // Colour 7 draws black on the white page; the text is filled glyph outlines with curves.
    const size_t fill = svg.find("fill:rgb(0%,0%,0%)");
    ASSERT_NE(fill, std::string::npos) << "the text";
    EXPECT_NE(svg.find(" C ", fill), std::string::npos);
    EXPECT_EQ(svg.find("rgb(0%,0%,100%)"), std::string::npos) << "circles on layers off or frozen";
}

TEST(RenderPng, HasTheAskedSizeAndAWindowCropsTheDrawing)
{
    AcDbDatabase db;
    lineCircleText(db);
    append(db, new AcDbCircle(AcGePoint3d(200, 200, 0), AcGeVector3d::kZAxis, 5), L"0", 5);
    RenderOptions options;
    options.width = 320;
    options.height = 200;
    const fs::path whole = render(db, "whole.png", options);
    const std::string bytes = fendo::test::readFile(whole);
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
               (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint32_t(std::uint8_t(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 320u);
    EXPECT_EQ(be32(20), 200u);
    const auto all = colours(whole);
    for (char c : {kRed, kGreen, kBlue, kBlack}) EXPECT_TRUE(all.count(c)) << c;

    // A window around the far circle only.
    options.window = DrawingWindow{AcGePoint2d(190, 190), AcGePoint2d(210, 210)};
    const auto cropped = colours(render(db, "window.png", options));
    EXPECT_TRUE(cropped.count(kBlue));
    EXPECT_FALSE(cropped.count(kRed));
    EXPECT_FALSE(cropped.count(kGreen));
}

TEST(RenderBlocks, EntitiesInABlockTakeTheReferencesColourAndLayer)
{
    AcDbDatabase db;
    const AcDbObjectId refLayer = addLayer(db, L"REF", 3);
    const AcDbObjectId blockId = fendo::test::addBlock(db, L"B");
    // ByBlock takes the reference's red; ByLayer on layer "0" takes the reference's layer.
    append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), L"0", 0, blockId);
    append(db, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 3), L"0", 256, blockId);
    append(db, new AcDbBlockReference(AcGePoint3d(50, 50, 0), blockId), L"REF", 1);
    RenderOptions options;
    options.width = options.height = 200;
    const auto shown = colours(render(db, "block.png", options));
    EXPECT_TRUE(shown.count(kRed));
    EXPECT_TRUE(shown.count(kGreen));

    {
        fendo::db::OpenedObject<AcDbLayerTableRecord> layer(refLayer, AcDb::kForWrite);
        ASSERT_TRUE(layer);
        layer->setIsOff(true);
    }
    options.window = DrawingWindow{AcGePoint2d(40, 40), AcGePoint2d(60, 60)};
    EXPECT_EQ(colours(render(db, "block-off.png", options)), std::set<char>{kWhite});
}

TEST(RenderCustom, CustomObjectsAreDrawnThroughTheirWorldDraw)
{
    AcDbDatabase db;
    auto* mark = new RenderTestMark;
    mark->at = AcGePoint3d(5, 5, 0);
    append(db, mark, L"0", 3);
    RenderOptions options;
    options.width = options.height = 100;
    const auto shown = colours(render(db, "mark.png", options));
    EXPECT_TRUE(shown.count(kGreen)) << "the entity's own colour";
    EXPECT_TRUE(shown.count(kRed)) << "the colour its worldDraw sets";
}

TEST(RenderOptionsText, WindowsAndSizesAreReadStrictly)
{
    DrawingWindow w;
    ASSERT_TRUE(fendo::render::parseWindow("10,20,-5,4.5", w));
    EXPECT_EQ(w.lo, AcGePoint2d(-5, 4.5));
    EXPECT_EQ(w.hi, AcGePoint2d(10, 20));
    for (const char* bad : {"1,2,3", "0,0,0,5", "0,0,5,0", "a,0,1,1", "0,0,1,1,2", ""})
        EXPECT_FALSE(fendo::render::parseWindow(bad, w)) << bad;
    int width = 0, height = 0;
    ASSERT_TRUE(fendo::render::parseSize("640x480", width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    for (const char* bad : {"640", "0x10", "10x", "x10", "640x480x2", "99999x10"})
        EXPECT_FALSE(fendo::render::parseSize(bad, width, height)) << bad;

    AcDbDatabase db;
    std::string error;
    EXPECT_EQ(fendo::render::renderDrawing(db, "/tmp/picture.jpg", {}, &error), Acad::eInvalidInput);
    EXPECT_NE(error.find(".svg or .png"), std::string::npos);
    EXPECT_EQ(fendo::render::renderDrawing(db, "/no/such/folder/picture.png", {}, &error), Acad::eFileAccessErr);
}

}  // namespace
