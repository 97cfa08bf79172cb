// Cairo drawing of world-draw primitives in plan view.
#include "host/render/CairoWorldDraw.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/fonts/VietFonts.h"
#include "host/db/entities/EntityUtil.h"
#include "host/ge/BulgeArc.h"
#include "host/render/GlyphOutlines.h"

namespace fendo::render {
namespace {

// Thin lines one device unit wide; a point is a dot of this radius.
constexpr double kLineWidth = 1.0;
constexpr double kDotRadius = 1.0;
// Arcs are faceted so that no chord strays more than this many device units from the arc.
constexpr double kChordTolerance = 0.2;
constexpr int kMaxArcSegments = 2048;
// Below this length a direction or normal is taken as missing.
constexpr double kTinyVector = 1e-12;

AcGeVector3d unitOr(const AcGeVector3d& v, const AcGeVector3d& fallback)
{
    const double len = v.length();
    return len < kTinyVector ? fallback : v / len;
}

void setRgb(cairo_t* cr, std::uint32_t rgb)
{
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// Glyph outlines mapped from the text frame to the page.
class CairoOutline : public OutlineSink {
public:
    CairoOutline(cairo_t* cr, const ViewTransform& view, const AcGePoint3d& origin, const AcGeVector3d& x,
                 const AcGeVector3d& y)
        : m_cr(cr), m_view(view), m_origin(origin), m_x(x), m_y(y)
    {
    }
    void moveTo(double u, double v) override
    {
        const AcGePoint2d p = map(u, v);
        cairo_move_to(m_cr, p.x, p.y);
    }
    void lineTo(double u, double v) override
    {
        const AcGePoint2d p = map(u, v);
        cairo_line_to(m_cr, p.x, p.y);
    }
    void cubicTo(double u1, double v1, double u2, double v2, double u3, double v3) override
    {
        const AcGePoint2d a = map(u1, v1), b = map(u2, v2), c = map(u3, v3);
        cairo_curve_to(m_cr, a.x, a.y, b.x, b.y, c.x, c.y);
    }
    void closeContour() override { cairo_close_path(m_cr); }
    AcGePoint2d map(double u, double v) const { return m_view.toDevice(m_origin + m_x * u + m_y * v); }

private:
    cairo_t* m_cr;
    const ViewTransform& m_view;
    AcGePoint3d m_origin;
    AcGeVector3d m_x, m_y;
};

}  // namespace

fonts::TextStyleFont textStyleFontFor(const AcDbEntity& entity, AcDbDatabase* db)
{
    AcDbObjectId style;
    if (const auto* text = AcDbText::cast(&entity)) style = text->textStyle();
    else if (const auto* mtext = AcDbMText::cast(&entity)) style = mtext->textStyle();
    if (style.isNull() && db) style = db->textstyle();
    if (style.isNull() && db) style = db::ent::lookupRecord(db, db->textStyleTableId(), L"Standard");
    if (const auto* rec = db::peekObject<AcDbTextStyleTableRecord>(style))
        return {rec->fileName(), rec->bigFontFileName()};
    return {L"arial.ttf", L""};
}

CairoWorldDraw::CairoWorldDraw(cairo_t* cr, const ViewTransform& view, AcDbDatabase* db)
    : m_cr(cr), m_view(view), m_db(db)
{
    cairo_set_line_width(m_cr, kLineWidth);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
}

std::uint32_t CairoWorldDraw::pageRgb(const AcCmEntityColor& color)
{
    constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
    if (color.isByColor()) return color.rgb() == kWhite ? kBlack : color.rgb();
    const Adesk::UInt16 index = color.colorIndex();
    if (index == 0 || index >= 256 || index == 7) return kBlack;
    return AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(index));
}

const CairoWorldDraw::LayerInfo& CairoWorldDraw::layerInfo(AcDbObjectId layerId)
{
    auto [it, added] = m_layers.try_emplace(layerId.stub());
    if (added) {
        if (const auto* rec = db::peekObject<AcDbLayerTableRecord>(layerId)) {
            it->second.visible = !rec->isOff() && !rec->isFrozen();
            it->second.isZero = rec->name() == L"0";
            AcCmEntityColor c = rec->color();
            if (c.isByACI() && (c.colorIndex() == 0 || c.colorIndex() >= 256)) c.setColorIndex(7);
            it->second.color = c;
        }
    }
    return it->second;
}

bool CairoWorldDraw::layerVisible(AcDbObjectId layerId) { return layerInfo(layerId).visible; }

AcDbObjectId CairoWorldDraw::drawingLayer()
{
    if (!m_block.layer.isNull() && (m_layer.isNull() || layerInfo(m_layer).isZero)) return m_block.layer;
    return m_layer;
}

AcDbObjectId CairoWorldDraw::effectiveLayer() const
{
    return const_cast<CairoWorldDraw*>(this)->drawingLayer();
}

AcCmEntityColor CairoWorldDraw::resolvedEntityColor() const
{
    auto* self = const_cast<CairoWorldDraw*>(this);
    if (m_entityColor.isByBlock()) return m_block.color;
    if (m_entityColor.isByLayer()) return self->layerInfo(self->effectiveLayer()).color;
    return m_entityColor;
}

bool CairoWorldDraw::beginEntity(const AcDbEntity& entity, const BlockContext& block)
{
    m_block = block;
    m_entityColor = m_color = entity.entityColor();
    m_entityLayer = m_layer = entity.layerId();
    m_fill = kAcGiFillNever;
    m_font = textStyleFontFor(entity, m_db);
    return layerInfo(drawingLayer()).visible;
}

void CairoWorldDraw::useUnicodeFont() { m_font.fontFile = fonts::displayText(L"", m_font.fontFile).fontFile; }

void CairoWorldDraw::setColor(Adesk::UInt16 colorIndex)
{
    m_color = AcCmEntityColor();
    m_color.setColorIndex(colorIndex);
}

bool CairoWorldDraw::prepare()
{
    const AcDbObjectId layer = drawingLayer();
    const LayerInfo& info = layerInfo(layer);
    if (!info.visible) return false;
    AcCmEntityColor c = m_color;
    if (c.isByBlock()) c = m_block.color;
    else if (c.isByLayer()) c = info.color;
    setRgb(m_cr, pageRgb(c));
    return true;
}

void CairoWorldDraw::strokePoints(const std::vector<AcGePoint2d>& device, bool closed)
{
    if (device.empty()) return;
    bool dot = true;
    for (const AcGePoint2d& p : device) dot = dot && std::abs(p.x - device[0].x) < 0.5 && std::abs(p.y - device[0].y) < 0.5;
    if (dot) {
        cairo_new_path(m_cr);
        cairo_arc(m_cr, device[0].x, device[0].y, kDotRadius, 0, 2 * std::numbers::pi);
        cairo_fill(m_cr);
        return;
    }
    cairo_new_path(m_cr);
    cairo_move_to(m_cr, device[0].x, device[0].y);
    for (size_t i = 1; i < device.size(); ++i) cairo_line_to(m_cr, device[i].x, device[i].y);
    if (closed) cairo_close_path(m_cr);
    cairo_stroke(m_cr);
}

void CairoWorldDraw::fillPoints(const std::vector<AcGePoint2d>& device)
{
    if (device.size() < 3) return strokePoints(device, false);
    cairo_new_path(m_cr);
    cairo_move_to(m_cr, device[0].x, device[0].y);
    for (size_t i = 1; i < device.size(); ++i) cairo_line_to(m_cr, device[i].x, device[i].y);
    cairo_close_path(m_cr);
    // Stroked as well, so that a sliver thinner than a pixel still shows.
    cairo_fill_preserve(m_cr);
    cairo_stroke(m_cr);
}

int CairoWorldDraw::arcSegments(double radius, double sweep) const
{
    const double r = std::abs(radius) * m_view.scale;
    const double a = std::abs(sweep);
    if (r <= kChordTolerance || a <= 0) return std::max(1, static_cast<int>(std::ceil(a / (std::numbers::pi / 2))));
    const double step = 2.0 * std::acos(1.0 - kChordTolerance / r);
    return std::clamp(static_cast<int>(std::ceil(a / step)), 1, kMaxArcSegments);
}

std::vector<AcGePoint2d> CairoWorldDraw::arcPoints(const AcGePoint3d& center, double radius,
                                                   const AcGeVector3d& normal, const AcGeVector3d& start,
                                                   double sweep) const
{
    const AcGeVector3d n = unitOr(normal, AcGeVector3d::kZAxis);
    const AcGeVector3d u = unitOr(start - n * start.dotProduct(n), n.perpVector().normal()) * radius;
    const AcGeVector3d v = n.crossProduct(u);
    const int k = arcSegments(radius, sweep);
    std::vector<AcGePoint2d> pts;
    pts.reserve(static_cast<size_t>(k) + 1);
    for (int j = 0; j <= k; ++j) {
        const double t = sweep * j / k;
        pts.push_back(m_view.toDevice(center + u * std::cos(t) + v * std::sin(t)));
    }
    return pts;
}

bool CairoWorldDraw::polyline(std::uint32_t count, const AcGePoint3d* points, const AcGeVector3d*, std::intptr_t)
{
    if (count == 0 || !prepare()) return false;
    std::vector<AcGePoint2d> device;
    device.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) device.push_back(m_view.toDevice(points[i]));
    strokePoints(device, false);
    return false;
}

bool CairoWorldDraw::polygon(std::uint32_t count, const AcGePoint3d* points)
{
    if (count == 0 || !prepare()) return false;
    std::vector<AcGePoint2d> device;
    device.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) device.push_back(m_view.toDevice(points[i]));
    if (m_fill == kAcGiFillAlways) fillPoints(device);
    else strokePoints(device, true);
    return false;
}

bool CairoWorldDraw::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal)
{
    if (!prepare()) return false;
    const AcGeVector3d n = unitOr(normal, AcGeVector3d::kZAxis);
    strokePoints(arcPoints(center, radius, n, n.perpVector(), 2 * std::numbers::pi), true);
    return false;
}

bool CairoWorldDraw::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                 const AcGeVector3d& startVector, double sweepAngle, AcGiArcType arcType)
{
    if (!prepare()) return false;
    std::vector<AcGePoint2d> pts = arcPoints(center, radius, normal, startVector, sweepAngle);
    if (arcType == kAcGiArcSector) pts.push_back(m_view.toDevice(center));
    if (arcType != kAcGiArcSimple && m_fill == kAcGiFillAlways) fillPoints(pts);
    else strokePoints(pts, arcType != kAcGiArcSimple);
    return false;
}

bool CairoWorldDraw::text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                          double height, double width, double oblique, const ACHAR* message)
{
    if (!message || !*message || height == 0.0 || !prepare()) return false;
    const AcGeVector3d n = unitOr(normal, AcGeVector3d::kZAxis);
    const AcGeVector3d x = unitOr(direction - n * direction.dotProduct(n), n.perpVector().normal());
    const AcGeVector3d y = n.crossProduct(x);
    const double wf = width > 0 ? width : 1.0;
    // One text-frame unit along the baseline and one up (slanted by the obliquing angle).
    const AcGeVector3d ux = x * (height * wf);
    const AcGeVector3d uy = y * height + x * (height * std::tan(oblique));
    CairoOutline sink(m_cr, m_view, position, ux, uy);
    cairo_new_path(m_cr);
    double advance = 0;
    // Texts of 8-bit Vietnamese fonts are drawn decoded, in a Unicode font of the same look.
    const fonts::DisplayText shown = fonts::displayText(message, m_font.fontFile);
    if (outlineText(shown.text, fonts::TextStyleFont{shown.fontFile, m_font.bigFontFile}, sink, advance)) {
        cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(m_cr);
        return false;
    }
    // No outline font at all: the text's box in the fixed model.
    const fonts::TextMeasure m = fonts::measureTextFixed(shown.text, fonts::TextFormat{1.0, 1.0, 0.0});
    std::vector<AcGePoint2d> box = {sink.map(0, 0), sink.map(m.advance, 0), sink.map(m.advance, 1), sink.map(0, 1)};
    strokePoints(box, true);
    return false;
}

bool CairoWorldDraw::pline(const AcDbPolyline& pl, std::uint32_t fromIndex, std::uint32_t numSegs)
{
    const unsigned n = pl.numVerts();
    if (n == 0 || !prepare()) return false;
    const unsigned segCount = pl.isClosed() ? n : n - 1;
    const unsigned last = numSegs ? std::min<unsigned>(segCount, fromIndex + numSegs) : segCount;
    AcGeMatrix3d toWorld;
    toWorld.setToPlaneToWorld(pl.normal());
    const double elev = pl.elevation();
    auto device = [&](const AcGePoint2d& p) {
        AcGePoint3d w(p.x, p.y, elev);
        w.transformBy(toWorld);
        return m_view.toDevice(w);
    };
    std::vector<AcGePoint2d> path;
    AcGePoint2d p0;
    pl.getPointAt(fromIndex, p0);
    path.push_back(device(p0));
    for (unsigned i = fromIndex; i < last; ++i) {
        AcGePoint2d a, b;
        double bulge = 0, w0 = 0, w1 = 0;
        pl.getPointAt(i, a);
        pl.getPointAt((i + 1) % n, b);
        pl.getBulgeAt(i, bulge);
        pl.getWidthsAt(i, w0, w1);
        std::vector<AcGePoint2d> seg;
        int k = 1;
        if (auto arc = ge::arcFromBulge(a, b, bulge)) k = arcSegments(arc->radius, arc->sweep);
        for (int j = 1; j <= k; ++j) seg.push_back(device(ge::pointOnBulgeSegment(a, b, bulge, double(j) / k)));
        if (w0 > 0 || w1 > 0) {
            // A wide segment: the band between its two offsets, filled.
            std::vector<AcGePoint2d> left, right;
            for (int j = 0; j <= k; ++j) {
                const double f = double(j) / k;
                const AcGePoint2d c = ge::pointOnBulgeSegment(a, b, bulge, f);
                const AcGeVector2d t = ge::tangentOnBulgeSegment(a, b, bulge, f);
                const AcGeVector2d side(-t.y, t.x);
                const double half = (w0 + (w1 - w0) * f) / 2;
                left.push_back(device(c + side * half));
                right.push_back(device(c - side * half));
            }
            left.insert(left.end(), right.rbegin(), right.rend());
            fillPoints(left);
        }
        path.insert(path.end(), seg.begin(), seg.end());
    }
    strokePoints(path, false);
    return false;
}

}  // namespace fendo::render
