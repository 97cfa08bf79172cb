// Proxy graphics: the binary picture that CAD programs keep with an object whose module is
// not loaded, so that readers without the module still draw it. This world-draw target
// encodes what an entity draws as those commands (extents, polylines, polygons, circles,
// arcs, texts, and colour, layer, linetype, line weight and fill attributes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/gi/AcGi.h"

class AcDbDatabase;
class AcDbEntity;

namespace fendo::gi {

// Command numbers of the format.
enum class ProxyCommand : std::uint32_t {
    Extents = 1,
    Circle = 2,
    CircularArc = 4,
    Polyline = 6,
    Polygon = 7,
    Color = 14,
    Layer = 16,
    Linetype = 18,
    Fill = 20,
    TrueColor = 22,
    LineWeight = 23,
    UnicodeText2 = 38,
};

class ProxyGraphicsWriter : public AcGiWorldDraw, public AcGiWorldGeometry, public AcGiSubEntityTraits {
public:
    // Layers and linetypes are written as their positions in db's tables; the text font is
    // the one named in UNICODE_TEXT2 commands.
    explicit ProxyGraphicsWriter(AcDbDatabase* db, std::wstring fontFile = L"arial.ttf");

    // The whole picture: header (total size, command count) and the commands; empty when
    // nothing was drawn.
    std::vector<std::uint8_t> data() const;
    std::uint32_t commandCount() const { return m_count; }

    // Starts the picture with the entity's extents, layer and (when not ByLayer) colour, as
    // the primitives of a proxy take the object's properties only through these attributes.
    void beginEntity(const AcDbEntity& entity);

    // AcGiWorldDraw
    AcGiWorldGeometry& geometry() const override { return const_cast<ProxyGraphicsWriter&>(*this); }
    AcGiSubEntityTraits& subEntityTraits() const override { return const_cast<ProxyGraphicsWriter&>(*this); }
    AcGiRegenType regenType() const override { return kAcGiSaveWorldDrawForProxy; }
    bool regenAbort() const override { return false; }

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
    void setTrueColor(const AcCmEntityColor& color) override;
    void setLayer(AcDbObjectId layerId) override;
    void setLineType(AcDbObjectId linetypeId) override;
    void setSelectionMarker(std::intptr_t) override {}
    void setFillType(AcGiFillType type) override { m_fill = type; }
    void setLineWeight(int lineWeight) override;
    Adesk::UInt16 color() const override { return m_color.colorIndex(); }
    AcCmEntityColor trueColor() const override { return m_color; }
    AcDbObjectId layerId() const override { return m_layer; }
    AcGiFillType fillType() const override { return m_fill; }

private:
    void begin(ProxyCommand command);
    void end();
    void u32(std::uint32_t v);
    void f64(double v);
    void point(const AcGePoint3d& p);
    void vector(const AcGeVector3d& v);
    void unicode(const std::wstring& s);
    void points(ProxyCommand command, std::uint32_t count, const AcGePoint3d* pts);
    // The position of a record in one of db's tables; -1 when it is not there.
    long tableIndex(AcDbObjectId tableId, AcDbObjectId recordId) const;

    AcDbDatabase* m_db;
    std::wstring m_font;
    std::vector<std::uint8_t> m_body;
    size_t m_commandStart = 0;
    std::uint32_t m_count = 0;
    AcCmEntityColor m_color;
    AcDbObjectId m_layer;
    AcGiFillType m_fill = kAcGiFillNever;
};

// The proxy graphics of an entity drawn through its worldDraw; empty when it draws nothing.
std::vector<std::uint8_t> proxyGraphicsFor(AcDbEntity& entity);

}  // namespace fendo::gi
