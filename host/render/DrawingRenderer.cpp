// Walks model space and draws each entity through the cairo world-draw target; block
// references are opened here so that their entities inherit the reference's colour and layer.
#include "host/render/DrawingRenderer.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/VietTextConversion.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbViewport.h"
#include "host/render/CairoWorldDraw.h"

namespace fendo::render {
namespace {

// Block references nested deeper than this are not drawn (a block that holds itself).
constexpr int kMaxBlockDepth = 16;
constexpr int kMaxImageSide = 20000;
// A drawing with no extent in one direction still gets this much room.
constexpr double kMinimumWindow = 1.0;

AcDbEntity* liveEntity(AcDbObjectId id)
{
    const AcDbStub* stub = id.stub();
    return stub && stub->object && !stub->erased ? AcDbEntity::cast(stub->object) : nullptr;
}

bool drawnAtAll(const AcDbEntity& e)
{
    return e.visibility() == AcDb::kVisible && !AcDbViewport::cast(&e);
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool parseNumber(std::string_view text, double& value)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(value);
}

class Renderer {
public:
    Renderer(cairo_t* cr, const ViewTransform& view, AcDbDatabase& db) : m_draw(cr, view, &db) {}

    void drawEntity(AcDbEntity& e, const BlockContext& block)
    {
        if (!drawnAtAll(e) || block.depth > kMaxBlockDepth) return;
        if (!m_draw.beginEntity(e, block)) return;
        const BlockContext inner{m_draw.resolvedEntityColor(), m_draw.effectiveLayer(), block.depth + 1};
        if (auto* ref = AcDbBlockReference::cast(&e)) {
            AcDbVoidPtrArray pieces;
            ref->explode(pieces);
            drawPieces(pieces, inner);
            for (AcDbAttribute* a : ref->attributes())
                if (!a->isInvisible()) drawEntity(*a, inner);
            return;
        }
        if (auto* dim = AcDbDimension::cast(&e)) {
            // A dimension from a drawing program comes with the block that draws it.
            if (const auto* rec = db::peekObject<AcDbBlockTableRecord>(dim->dimBlockId());
                rec && !rec->entityIds().empty()) {
                for (AcDbObjectId id : rec->entityIds())
                    if (AcDbEntity* piece = liveEntity(id)) drawEntity(*piece, inner);
                return;
            }
        }
        if (drawnAsUnicode(e)) return;
        // Sizes relative to the view (a point's PDSIZE) are drawn through the view.
        if (!e.worldDraw(&m_draw)) e.viewportDraw(&m_draw);
    }

private:
    // An MTEXT with Vietnamese 8-bit runs (in its style's font or in fonts named inline) is drawn
    // as a copy converted run by run, since drawing sees only the text without its font codes.
    bool drawnAsUnicode(AcDbEntity& e)
    {
        const auto* mtext = AcDbMText::cast(&e);
        if (!mtext) return false;
        const fonts::TextStyleFont font = textStyleFontFor(e, e.database());
        const auto converted = viet::convertMText(mtext->contents(), font.fontFile, viet::Direction::ToUnicode);
        if (!converted) return false;
        std::unique_ptr<AcDbMText> copy(AcDbMText::cast(mtext->clone()));
        if (!copy) return false;
        copy->setContents(converted->text.c_str());
        m_draw.useUnicodeFont();
        copy->worldDraw(&m_draw);
        return true;
    }

    void drawPieces(AcDbVoidPtrArray& pieces, const BlockContext& block)
    {
        for (void* p : pieces) {
            std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(p));
            drawEntity(*piece, block);
        }
    }

    CairoWorldDraw m_draw;
};

ViewTransform fitView(const DrawingWindow& w, int width, int height)
{
    double x0 = std::min(w.lo.x, w.hi.x), x1 = std::max(w.lo.x, w.hi.x);
    double y0 = std::min(w.lo.y, w.hi.y), y1 = std::max(w.lo.y, w.hi.y);
    const double scale = std::min(width / (x1 - x0), height / (y1 - y0));
    // Centred on the page.
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    return ViewTransform{scale, cx - width / 2.0 / scale, cy + height / 2.0 / scale, double(width), double(height)};
}

DrawingWindow fitWindow(const AcDbExtents& ext)
{
    if (ext.isEmpty()) return {AcGePoint2d(0, 0), AcGePoint2d(100, 100)};
    double x0 = ext.minPoint().x, x1 = ext.maxPoint().x, y0 = ext.minPoint().y, y1 = ext.maxPoint().y;
    double w = x1 - x0, h = y1 - y0;
    const double side = std::max({w, h, kMinimumWindow});
    if (w < side * 1e-6) w = side;
    if (h < side * 1e-6) h = side;
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    w *= 0.5 + kFitMargin;
    h *= 0.5 + kFitMargin;
    return {AcGePoint2d(cx - w, cy - h), AcGePoint2d(cx + w, cy + h)};
}

}  // namespace

std::optional<ImageFormat> imageFormatFor(std::string_view path)
{
    const std::string p = lower(path);
    auto endsWith = [&](std::string_view ext) { return p.size() > ext.size() && p.ends_with(ext); };
    if (endsWith(".svg")) return ImageFormat::Svg;
    if (endsWith(".png")) return ImageFormat::Png;
    return std::nullopt;
}

bool parseWindow(std::string_view text, DrawingWindow& window)
{
    double v[4];
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !parseNumber(text.substr(0, comma), v[i])) return false;
        text.remove_prefix(i < 3 ? comma + 1 : text.size());
    }
    if (v[0] == v[2] || v[1] == v[3]) return false;
    window = {AcGePoint2d(std::min(v[0], v[2]), std::min(v[1], v[3])),
              AcGePoint2d(std::max(v[0], v[2]), std::max(v[1], v[3]))};
    return true;
}

bool parseSize(std::string_view text, int& width, int& height)
{
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    int w = 0, h = 0;
    auto num = [](std::string_view s, int& out) {
        const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
        return r.ec == std::errc() && r.ptr == s.data() + s.size() && out >= 1 && out <= kMaxImageSide;
    };
    if (!num(text.substr(0, x), w) || !num(text.substr(x + 1), h)) return false;
    width = w;
    height = h;
    return true;
}

AcDbExtents visibleExtents(AcDbDatabase& db)
{
    AcDbExtents all;
    const auto* space = db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId());
    if (!space) return all;
    for (AcDbObjectId id : space->entityIds()) {
        AcDbEntity* e = liveEntity(id);
        if (!e || !drawnAtAll(*e)) continue;
        const auto* layer = db::peekObject<AcDbLayerTableRecord>(e->layerId());
        if (layer && (layer->isOff() || layer->isFrozen())) continue;
        AcDbExtents ext;
        if (e->getGeomExtents(ext) == Acad::eOk && !ext.isEmpty()) all.addExt(ext);
    }
    return all;
}

Acad::ErrorStatus renderDrawing(AcDbDatabase& db, const std::string& path, const RenderOptions& options,
                                std::string* error)
{
    auto fail = [&](const std::string& why, Acad::ErrorStatus es) {
        if (error) *error = path + ": cannot render: " + why;
        return es;
    };
    const auto format = imageFormatFor(path);
    if (!format) return fail("the file name must end in .svg or .png", Acad::eInvalidInput);
    if (options.width < 1 || options.height < 1 || options.width > kMaxImageSide || options.height > kMaxImageSide)
        return fail("bad picture size", Acad::eInvalidInput);

    cairo_surface_t* surface =
        *format == ImageFormat::Svg
            ? cairo_svg_surface_create(path.c_str(), options.width, options.height)
            : cairo_image_surface_create(CAIRO_FORMAT_RGB24, options.width, options.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        const std::string why = cairo_status_to_string(cairo_surface_status(surface));
        cairo_surface_destroy(surface);
        return fail(why, Acad::eFileAccessErr);
    }
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);

    const DrawingWindow window = options.window ? *options.window : fitWindow(visibleExtents(db));
    const ViewTransform view = fitView(window, options.width, options.height);
    cairo_rectangle(cr, 0, 0, options.width, options.height);
    cairo_clip(cr);
    {
        Renderer renderer(cr, view, db);
        if (const auto* space = db::peekObject<AcDbBlockTableRecord>(db.modelSpaceId()))
            for (AcDbObjectId id : space->entityIds())
                if (AcDbEntity* e = liveEntity(id)) renderer.drawEntity(*e, BlockContext{});
    }
    cairo_destroy(cr);

    cairo_status_t status = CAIRO_STATUS_SUCCESS;
    if (*format == ImageFormat::Png) status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) return fail(cairo_status_to_string(status), Acad::eFileAccessErr);
    if (error) error->clear();
    return Acad::eOk;
}

}  // namespace fendo::render
