// A swatch of a hatch pattern: the pattern's plane around its origin drawn with one-pixel lines on
// a plain background, to a PNG or SVG file.
#pragma once
#include <cstdint>
#include <string>

#include "host/hatch/PatternFile.h"

namespace fendo::render {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct SwatchOptions {
    double scale = 1.0;  // pattern scale
    int width = 256;     // pixels for PNG, points for SVG
    int height = 256;
    // Drawing units shown across the smaller side of the picture, centred on the pattern origin.
    double extent = 100.0;
    Rgb foreground{255, 255, 255};
    Rgb background{0, 0, 0};
};

// Draws the swatch to `path` (".png" or ".svg"); PNG files are written to a temporary name and
// renamed, so a reader never sees half a picture. False with `error` filled when the options are
// bad or the file cannot be written.
bool renderPatternSwatch(const fendo::hatch::HatchPattern& pattern, const std::string& path,
                         const SwatchOptions& options, std::string* error = nullptr);

}  // namespace fendo::render
