// Pattern files from anywhere: the reader must refuse bad text with a message, and whatever it
// accepts must cut into strokes inside a square without hanging or running out of memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/hatch/PatternFile.h"
#include "host/hatch/PatternStrokes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fendo::hatch;
    const auto contents = parsePatternText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.pat");
    const HatchLoop square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true};
    StrokeLimits limits;
    limits.maxLines = 10000;
    limits.maxStrokes = 100000;
    for (const HatchPattern& pattern : contents.patterns) {
        std::vector<PatternStroke> strokes;
        patternStrokes(definitionLines(pattern, 1.0, 0.0), {square}, HatchStyle::Normal, strokes, limits);
    }
    return 0;
}
