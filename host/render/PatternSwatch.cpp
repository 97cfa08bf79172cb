// Swatches are drawn without antialiasing, so the lines stay one crisp pixel in two colours.
#include "host/render/PatternSwatch.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "host/hatch/PatternStrokes.h"
#include "host/render/DrawingRenderer.h"

namespace fendo::render {

namespace {

constexpr int kMaxSwatchSide = 20000;

void setColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// Draws the strokes of the pattern; the picture's centre is the pattern origin.
void drawSwatch(cairo_t* cr, const fendo::hatch::HatchPattern& pattern, const SwatchOptions& options)
{
    using namespace fendo::hatch;
    setColour(cr, options.background);
    cairo_paint(cr);

    const double pixelsPerUnit = std::min(options.width, options.height) / options.extent;
    const double unitsPerPixel = 1.0 / pixelsPerUnit;
    const double halfW = options.width / 2.0 * unitsPerPixel + unitsPerPixel;
    const double halfH = options.height / 2.0 * unitsPerPixel + unitsPerPixel;
    HatchLoop frame;
    frame.outermost = true;
    frame.points = {{-halfW, -halfH}, {halfW, -halfH}, {halfW, halfH}, {-halfW, halfH}};

    StrokeLimits limits;
    limits.minDashPeriod = unitsPerPixel;
    limits.maxLines = 8 * static_cast<std::size_t>(options.width + options.height) * (pattern.families.size() + 1);
    std::vector<PatternStroke> strokes;
    setColour(cr, options.foreground);
    if (patternStrokes(definitionLines(pattern, options.scale, 0.0), {frame}, HatchStyle::Normal, strokes, limits) ==
        StrokeStatus::TooDense) {
        // Lines closer than a pixel fill the picture.
        cairo_paint(cr);
        return;
    }
    const auto px = [&](const AcGePoint2d& p) {
        return std::pair(options.width / 2.0 + p.x * pixelsPerUnit, options.height / 2.0 - p.y * pixelsPerUnit);
    };
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    for (const PatternStroke& s : strokes) {
        const auto [x0, y0] = px(s.from);
        const auto [x1, y1] = px(s.to);
        if (s.from == s.to) {
            cairo_rectangle(cr, std::floor(x0), std::floor(y0), 1, 1);
            cairo_fill(cr);
            continue;
        }
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
    }
}

}  // namespace

bool renderPatternSwatch(const fendo::hatch::HatchPattern& pattern, const std::string& path,
                         const SwatchOptions& options, std::string* error)
{
    const auto fail = [&](const std::string& why) {
        if (error) *error = path + ": cannot draw the swatch: " + why;
        return false;
    };
    const auto format = imageFormatFor(path);
    if (!format) return fail("the file name must end in .svg or .png");
    if (options.width < 1 || options.height < 1 || options.width > kMaxSwatchSide || options.height > kMaxSwatchSide)
        return fail("bad picture size");
    if (!(options.scale > 0.0) || !std::isfinite(options.scale)) return fail("the scale must be a positive number");

    const std::string target = *format == ImageFormat::Png ? path + ".part" : path;
    cairo_surface_t* surface = *format == ImageFormat::Svg
                                   ? cairo_svg_surface_create(target.c_str(), options.width, options.height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, options.width, options.height);
    cairo_status_t status = cairo_surface_status(surface);
    if (status == CAIRO_STATUS_SUCCESS) {
        cairo_t* cr = cairo_create(surface);
        drawSwatch(cr, pattern, options);
        cairo_destroy(cr);
        if (*format == ImageFormat::Png) status = cairo_surface_write_to_png(surface, target.c_str());
        cairo_surface_finish(surface);
        if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    }
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::remove(target.c_str());
        return fail(cairo_status_to_string(status));
    }
    if (target != path) {
        std::error_code ec;
        std::filesystem::rename(target, path, ec);
        if (ec) {
            std::remove(target.c_str());
            return fail(ec.message());
        }
    }
    if (error) error->clear();
    return true;
}

}  // namespace fendo::render
