// The strokes a hatch pattern draws inside boundary loops: every line family becomes parallel lines
// cut by the loops (one scan of the loop edges per line, from an edge table sorted across the
// lines, so the work grows with lines times the edges a line meets, not with loops squared), then
// cut into the family's dashes.
#pragma once
#include <cstddef>
#include <vector>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeVector2d.h"
#include "host/hatch/PatternFile.h"

namespace fendo::hatch {

// A line family as a hatch holds it: angle, base point and the step from one line to the next are
// already rotated and scaled into the hatch's plane; dashes are scaled.
struct DefinitionLine {
    double angle = 0.0;  // radians
    AcGePoint2d base;
    AcGeVector2d offset;
    std::vector<double> dashes;
};

// The definition lines of a pattern drawn at `scale` and turned by `angle` (radians): origins,
// steps and dashes are scaled, angles are not.
std::vector<DefinitionLine> definitionLines(const HatchPattern& pattern, double scale, double angle);

// Which areas a hatch fills when loops lie inside loops.
enum class HatchStyle {
    Normal = 0,  // alternate: islands stay empty, islands in islands are filled again
    Outer = 1,   // only the outermost area, up to the first islands
    Ignore = 2,  // the outermost loops alone, islands ignored
};

struct HatchLoop {
    std::vector<AcGePoint2d> points;  // closed implicitly
    bool outermost = false;           // an outer boundary, not an island
};

// One stroke of a pattern; a dot has `from == to`.
struct PatternStroke {
    AcGePoint2d from;
    AcGePoint2d to;
};

struct StrokeLimits {
    // More lines or strokes than this make the pattern too dense to draw.
    std::size_t maxLines = 200000;
    std::size_t maxStrokes = 4000000;
    // A dash pattern shorter than this draws as a solid line (a pattern finer than a pixel).
    double minDashPeriod = 0.0;
};

enum class StrokeStatus { Ok, TooDense };

// Appends the strokes of `lines` inside `loops` (as `style` chooses the areas) to `strokes`.
// TooDense leaves `strokes` as it was.
StrokeStatus patternStrokes(const std::vector<DefinitionLine>& lines, const std::vector<HatchLoop>& loops,
                            HatchStyle style, std::vector<PatternStroke>& strokes, const StrokeLimits& limits = {});

}  // namespace fendo::hatch
