// The swatch is the same picture the pattern browser's preview shows, white on black.
#include "app/PatternSwatchOption.h"

#include "app/Session.h"
#include "host/hatch/PatternFile.h"
#include "host/render/DrawingRenderer.h"
#include "host/render/PatternSwatch.h"

namespace fendo::app {

int drawPatternSwatch(const std::vector<std::string>& args, double scale, const std::string& size)
{
    if (args.size() != 3) {
        reportFailure("--pattern needs FILE.pat NAME OUT.png|OUT.svg");
        return 1;
    }
    render::SwatchOptions options;
    options.scale = scale;
    if (!size.empty() && !render::parseSize(size, options.width, options.height)) {
        reportFailure("--size " + size + ": expected WIDTHxHEIGHT");
        return 1;
    }
    hatch::PatternError error;
    const auto pattern = hatch::loadPattern(args[0], args[1], &error);
    if (!pattern) {
        reportFailure(error.toString());
        return 1;
    }
    std::string why;
    if (!render::renderPatternSwatch(*pattern, args[2], options, &why)) {
        reportFailure(why);
        return 1;
    }
    return 0;
}

}  // namespace fendo::app
