// The graphics target behind pictures: entities draw themselves through it (worldDraw) and
// their primitives land on a cairo surface in plan view, coloured by the entity's or the
// sub-entity's colour with ByLayer and ByBlock resolved, and left out on layers that are
// off or frozen.
#pragma once
#include <cairo.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/fonts/TextMetrics.h"
#include "host/ge/AcGePoint2d.h"
#include "host/gi/AcGi.h"

class AcDbDatabase;

namespace fendo::render {

// World plan coordinates to device units (pixels or points): uniform scale, y up in the
// world and down on the page.
struct ViewTransform {
    double scale = 1.0;
    double worldLeft = 0.0;
    double worldTop = 0.0;
    double deviceWidth = 0.0;  // the page, in device units
    double deviceHeight = 0.0;
    AcGePoint2d toDevice(const AcGePoint3d& p) const { return {(p.x - worldLeft) * scale, (worldTop - p.y) * scale}; }
};

// What a block reference passes on to the entities it draws: its resolved colour (for
// ByBlock) and its layer (for entities on layer "0").
struct BlockContext {
    AcCmEntityColor color{AcCm::kByACI};  // index 7 at the top level
    AcDbObjectId layer;                   // null at the top level
    int depth = 0;
};

class CairoWorldDraw : public AcGiViewportDraw,
                       public AcGiViewport,
                       public AcGiWorldGeometry,
                       public AcGiSubEntityTraits {
public:
    CairoWorldDraw(cairo_t* cr, const ViewTransform& view, AcDbDatabase* db);

    // Starts drawing `entity`: takes its colour, layer and text style font. False when its
    // layer is off or frozen (the caller skips it).
    bool beginEntity(const AcDbEntity& entity, const BlockContext& block);
    // For an entity whose texts are Unicode already: an 8-bit Vietnamese style font is replaced by
    // the Unicode font that stands in for it, so that its texts are not decoded a second time.
    void useUnicodeFont();
    // The entity's colour resolved for its children (a block reference's ByBlock colour).
    AcCmEntityColor resolvedEntityColor() const;
    // The layer an entity's children on layer "0" take: the entity's own, or the block's.
    AcDbObjectId effectiveLayer() const;
    // Whether the layer shows (not off, not frozen).
    bool layerVisible(AcDbObjectId layerId);

    // The RGB drawn for a colour on a white page: index 7 and true white draw black.
    static std::uint32_t pageRgb(const AcCmEntityColor& color);

    // AcGiWorldDraw
    AcGiWorldGeometry& geometry() const override { return const_cast<CairoWorldDraw&>(*this); }
    AcGiSubEntityTraits& subEntityTraits() const override { return const_cast<CairoWorldDraw&>(*this); }
    AcGiRegenType regenType() const override { return kAcGiStandardDisplay; }
    bool regenAbort() const override { return false; }

    // AcGiViewportDraw, AcGiViewport: the page is the view.
    AcGiViewport& viewport() const override { return const_cast<CairoWorldDraw&>(*this); }
    void getViewportDcCorners(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const override
    {
        lowerLeft.set(0.0, 0.0);
        upperRight.set(m_view.deviceWidth, m_view.deviceHeight);
    }
    void getNumPixelsInUnitSquare(const AcGePoint3d&, AcGePoint2d& pixelArea, bool = true) const override
    {
        pixelArea.set(m_view.scale, m_view.scale);
    }

    // AcGiWorldGeometry
    bool polyline(std::uint32_t count, const AcGePoint3d* points, const AcGeVector3d* normal = nullptr,
                  std::intptr_t subEntMarker = -1) override;
    bool polygon(std::uint32_t count, const AcGePoint3d* points) override;
    bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override;
    bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                     const AcGeVector3d& startVector, double sweepAngle,
                     AcGiArcType arcType = kAcGiArcSimple) override;
    bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction, double height,
              double width, double oblique, const ACHAR* message) override;
    bool pline(const AcDbPolyline& polyline, std::uint32_t fromIndex = 0, std::uint32_t numSegs = 0) override;

    // AcGiSubEntityTraits
    void setColor(Adesk::UInt16 colorIndex) override;
    void setTrueColor(const AcCmEntityColor& color) override { m_color = color; }
    void setLayer(AcDbObjectId layerId) override { m_layer = layerId; }
    void setLineType(AcDbObjectId) override {}
    void setSelectionMarker(std::intptr_t) override {}
    void setFillType(AcGiFillType type) override { m_fill = type; }
    void setLineWeight(int) override {}
    Adesk::UInt16 color() const override { return m_color.colorIndex(); }
    AcCmEntityColor trueColor() const override { return m_color; }
    AcDbObjectId layerId() const override { return m_layer; }
    AcGiFillType fillType() const override { return m_fill; }

private:
    struct LayerInfo {
        bool visible = true;
        bool isZero = false;
        AcCmEntityColor color{AcCm::kByACI};
    };
    const LayerInfo& layerInfo(AcDbObjectId layerId);
    // The layer primitives are drawn on now: layer "0" inside a block stands for the block's.
    AcDbObjectId drawingLayer();
    // Sets the source colour; false when the current layer does not show.
    bool prepare();
    void strokePoints(const std::vector<AcGePoint2d>& device, bool closed);
    void fillPoints(const std::vector<AcGePoint2d>& device);
    // Device points of an arc about `normal`, start vector of length radius.
    std::vector<AcGePoint2d> arcPoints(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                       const AcGeVector3d& start, double sweep) const;
    int arcSegments(double radius, double sweep) const;

    cairo_t* m_cr;
    ViewTransform m_view;
    AcDbDatabase* m_db;
    BlockContext m_block;
    AcCmEntityColor m_entityColor;
    AcCmEntityColor m_color;
    AcDbObjectId m_entityLayer;
    AcDbObjectId m_layer;
    AcGiFillType m_fill = kAcGiFillNever;
    fonts::TextStyleFont m_font;
    std::unordered_map<const void*, LayerInfo> m_layers;
};

// The font of the text style an entity writes with (a text, attribute or paragraph text's
// own style, else the drawing's current style, else "Standard").
fonts::TextStyleFont textStyleFontFor(const AcDbEntity& entity, AcDbDatabase* db);

}  // namespace fendo::render
