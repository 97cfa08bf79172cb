// A world-draw target that only measures: it gathers the bounding box of everything an
// entity draws, which is how entities without their own extents answer getGeomExtents.
#pragma once
#include "host/db/AcDbExtents.h"
#include "host/gi/AcGi.h"

namespace fendo::gi {

class ExtentsCollector : public AcGiWorldDraw, public AcGiWorldGeometry, public AcGiSubEntityTraits {
public:
    const AcDbExtents& extents() const { return m_extents; }

    // AcGiWorldDraw
    AcGiWorldGeometry& geometry() const override { return const_cast<ExtentsCollector&>(*this); }
    AcGiSubEntityTraits& subEntityTraits() const override { return const_cast<ExtentsCollector&>(*this); }
    AcGiRegenType regenType() const override { return kAcGiStandardDisplay; }
    bool regenAbort() const override { return false; }

    // AcGiWorldGeometry
    bool polyline(std::uint32_t count, const AcGePoint3d* points, const AcGeVector3d* normal = nullptr,
                  std::intptr_t subEntMarker = -1) override;
    bool polygon(std::uint32_t count, const AcGePoint3d* points) override;
    bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override;
    bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                     const AcGeVector3d& startVector, double sweepAngle,
                     AcGiArcType arcType = kAcGiArcSimple) override;
    // Approximate: the fixed text model (each character 0.8 x height x width wide, box from
    // the baseline to the height), since the primitive carries no font. Text entities
    // measure themselves with their style's font instead.
    bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction, double height,
              double width, double oblique, const ACHAR* message) override;
    bool pline(const AcDbPolyline& polyline, std::uint32_t fromIndex = 0, std::uint32_t numSegs = 0) override;

    // AcGiSubEntityTraits: remembered, not used for measuring.
    void setColor(Adesk::UInt16 colorIndex) override { m_color.setColorIndex(colorIndex); }
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
    AcDbExtents m_extents;
    AcCmEntityColor m_color;
    AcDbObjectId m_layer;
    AcGiFillType m_fill = kAcGiFillNever;
};

}  // namespace fendo::gi
