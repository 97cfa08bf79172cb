// Pictures of a drawing: model space drawn through each entity's worldDraw onto an SVG or
// PNG file, fitted to the visible extents or to a window of the drawing.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/AcadTypes.h"
#include "host/db/AcDbExtents.h"
#include "host/ge/AcGePoint2d.h"
#include "host/render/CairoWorldDraw.h"

class AcDbDatabase;

namespace fendo::render {

enum class ImageFormat { Svg, Png };

struct DrawingWindow {
    AcGePoint2d lo;
    AcGePoint2d hi;
};

struct RenderOptions {
    std::optional<DrawingWindow> window;  // none: the visible extents with a margin
    int width = 1600;                     // pixels for PNG, points for SVG
    int height = 1200;
};

// The fraction of the extents added on every side when no window is given.
inline constexpr double kFitMargin = 0.05;

// The format named by the file's extension (".svg" or ".png", any case).
std::optional<ImageFormat> imageFormatFor(std::string_view path);

// "x1,y1,x2,y2" (corners in any order); false for anything else or an empty window.
bool parseWindow(std::string_view text, DrawingWindow& window);
// "WIDTHxHEIGHT", each 1..20000.
bool parseSize(std::string_view text, int& width, int& height);

// The bounding box of the model-space entities on layers that show; empty when none.
AcDbExtents visibleExtents(AcDbDatabase& db);

// Draws model space on a white page to `path`; eInvalidInput for an unknown extension or a
// bad size, eFileAccessErr when the file cannot be written (with `error` filled).
Acad::ErrorStatus renderDrawing(AcDbDatabase& db, const std::string& path, const RenderOptions& options,
                                std::string* error = nullptr);

// The view a picture of `options.width` x `options.height` uses: the window given, else the
// visible extents with the margin, centred.
ViewTransform pictureView(AcDbDatabase& db, const RenderOptions& options);

// One model-space object drawn as SVG: `<g data-handle="2A">` holding one path per stroke or
// fill, each carrying the handle too. Empty `svg` when the object draws nothing (hidden layer).
struct ObjectPicture {
    std::uint64_t handle = 0;
    std::string svg;
};

// Draws single objects as SVG groups in one view, for pictures kept up to date object by object.
class SvgObjectDrawer {
public:
    SvgObjectDrawer(AcDbDatabase& db, const ViewTransform& view);
    ~SvgObjectDrawer();
    SvgObjectDrawer(const SvgObjectDrawer&) = delete;
    SvgObjectDrawer& operator=(const SvgObjectDrawer&) = delete;

    // The group of a model-space object (empty when it draws nothing).
    ObjectPicture draw(AcDbObjectId id);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

// Every model-space object in drawing order, in the device units of `view`; paths are left
// unstyled for line width (the page sets it), coloured by stroke and fill attributes.
std::vector<ObjectPicture> drawObjectsAsSvg(AcDbDatabase& db, const ViewTransform& view);

}  // namespace fendo::render
