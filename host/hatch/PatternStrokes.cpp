// Scan-line cutting of pattern lines by hatch loops.
#include "host/hatch/PatternStrokes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace fendo::hatch {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Steps across the lines below this are lines on top of each other: the family draws once.
constexpr double kMinLineSpacing = 1e-12;

struct Edge {
    double s0, s1;  // positions across the lines of the two ends
    AcGePoint2d p0, p1;
    std::uint32_t loop;
    double lo() const { return std::min(s0, s1); }
    double hi() const { return std::max(s0, s1); }
};

struct Crossing {
    double t;  // position along the line
    std::uint32_t loop;
};

double dot(const AcGeVector2d& a, const AcGeVector2d& b) { return a.x * b.x + a.y * b.y; }

// Cuts [t0, t1] of one line into the family's dashes; false when the budget runs out.
bool addDashes(const DefinitionLine& line, double dashPeriod, double lineStart, double t0, double t1,
               const AcGePoint2d& lineOrigin, const AcGeVector2d& u, std::vector<PatternStroke>& out,
               std::size_t budget)
{
    const auto at = [&](double t) { return lineOrigin + u * t; };
    if (dashPeriod <= 0.0) {
        out.push_back({at(t0), at(t1)});
        return out.size() <= budget;
    }
    // Counted before they are made, so dashes far finer than the budget allows fail fast.
    const double expected = ((t1 - t0) / dashPeriod + 1.0) * static_cast<double>(line.dashes.size());
    if (static_cast<double>(out.size()) + expected > static_cast<double>(budget)) return false;
    const double first = lineStart + std::floor((t0 - lineStart) / dashPeriod) * dashPeriod;
    // Far from the origin a period can vanish in the rounding of the position: the line is solid.
    if (!(first + dashPeriod > first)) {
        out.push_back({at(t0), at(t1)});
        return out.size() <= budget;
    }
    const auto periods = static_cast<long long>(std::ceil((t1 - first) / dashPeriod));
    for (long long i = 0; i < periods; ++i) {
        const double period = first + static_cast<double>(i) * dashPeriod;
        double from = period;
        for (double dash : line.dashes) {
            const double to = from + std::abs(dash);
            if (dash > 0.0) {
                const double a = std::max(from, t0), b = std::min(to, t1);
                if (a < b) out.push_back({at(a), at(b)});
            } else if (dash == 0.0 && from >= t0 && from <= t1) {
                out.push_back({at(from), at(from)});
            }
            from = to;
        }
        if (out.size() > budget) return false;
    }
    return true;
}

}  // namespace

std::vector<DefinitionLine> definitionLines(const HatchPattern& pattern, double scale, double angle)
{
    std::vector<DefinitionLine> lines;
    const AcGeVector2d turn(std::cos(angle), std::sin(angle));
    const auto rotate = [](const AcGeVector2d& v, const AcGeVector2d& by) {
        return AcGeVector2d(v.x * by.x - v.y * by.y, v.x * by.y + v.y * by.x);
    };
    for (const PatternFamily& family : pattern.families) {
        DefinitionLine line;
        line.angle = family.angleDegrees * kPi / 180.0 + angle;
        const AcGeVector2d dir(std::cos(line.angle), std::sin(line.angle));
        line.base = AcGePoint2d::kOrigin + rotate(AcGeVector2d(family.originX, family.originY) * scale, turn);
        line.offset = rotate(AcGeVector2d(family.deltaX, family.deltaY) * scale, dir);
        for (double d : family.dashes) line.dashes.push_back(d * scale);
        lines.push_back(std::move(line));
    }
    return lines;
}

StrokeStatus patternStrokes(const std::vector<DefinitionLine>& lines, const std::vector<HatchLoop>& loops,
                            HatchStyle style, std::vector<PatternStroke>& strokes, const StrokeLimits& limits)
{
    // Ignore draws the outermost loops alone; without any marked outermost, the first loop is.
    std::vector<const HatchLoop*> used;
    bool anyOutermost = false;
    for (const HatchLoop& loop : loops) anyOutermost = anyOutermost || loop.outermost;
    for (std::size_t i = 0; i < loops.size(); ++i)
        if (style != HatchStyle::Ignore || loops[i].outermost || (!anyOutermost && i == 0)) used.push_back(&loops[i]);

    const std::size_t before = strokes.size();
    const std::size_t budget = before + limits.maxStrokes;
    std::vector<Edge> edges;
    std::vector<Crossing> crossings;
    std::vector<std::uint8_t> insideLoop(used.size(), 0);
    std::size_t lineCount = 0;

    for (const DefinitionLine& line : lines) {
        const AcGeVector2d u(std::cos(line.angle), std::sin(line.angle));
        const AcGeVector2d n(-u.y, u.x);
        const double across = dot(line.offset, n);
        const double along = dot(line.offset, u);
        const double baseS = dot(line.base.asVector(), n);

        edges.clear();
        double sMin = HUGE_VAL, sMax = -HUGE_VAL;
        for (std::uint32_t li = 0; li < used.size(); ++li) {
            const auto& pts = used[li]->points;
            for (std::size_t i = 0; i < pts.size(); ++i) {
                const AcGePoint2d& p0 = pts[i];
                const AcGePoint2d& p1 = pts[(i + 1) % pts.size()];
                const double s0 = dot(p0.asVector(), n) - baseS, s1 = dot(p1.asVector(), n) - baseS;
                if (s0 == s1) continue;  // along the lines: never crossed
                edges.push_back({s0, s1, p0, p1, li});
                sMin = std::min(sMin, std::min(s0, s1));
                sMax = std::max(sMax, std::max(s0, s1));
            }
        }
        if (edges.empty()) continue;

        // The lines k * across that meet the loops, visited from low to high positions.
        long long kFirst = 0, kLast = 0;
        const bool single = std::abs(across) < kMinLineSpacing;
        if (!single) {
            const double a = sMin / across, b = sMax / across;
            const double lo = std::ceil(std::min(a, b)), hi = std::floor(std::max(a, b));
            if (!std::isfinite(lo) || !std::isfinite(hi) ||
                hi - lo + 1 > static_cast<double>(limits.maxLines - std::min(lineCount, limits.maxLines))) {
                strokes.resize(before);
                return StrokeStatus::TooDense;
            }
            if (hi < lo) continue;
            kFirst = static_cast<long long>(lo);
            kLast = static_cast<long long>(hi);
            lineCount += static_cast<std::size_t>(kLast - kFirst + 1);
        }
        std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.lo() < b.lo(); });

        double dashPeriod = 0.0;
        for (double d : line.dashes) dashPeriod += std::abs(d);
        if (dashPeriod <= limits.minDashPeriod) dashPeriod = 0.0;
        if (!line.dashes.empty() && dashPeriod == 0.0 && limits.minDashPeriod <= 0.0) continue;  // dots on dots

        std::vector<const Edge*> active;
        std::size_t nextEdge = 0;
        const long long count = kLast - kFirst + 1;
        for (long long step = 0; step < count; ++step) {
            const long long k = across > 0 || single ? kFirst + step : kLast - step;
            const double s = single ? 0.0 : static_cast<double>(k) * across;
            while (nextEdge < edges.size() && edges[nextEdge].lo() <= s) active.push_back(&edges[nextEdge++]);
            // An edge counts for lo <= s < hi, so a line through a vertex crosses once.
            std::erase_if(active, [s](const Edge* e) { return e->hi() <= s; });

            const AcGePoint2d origin = line.base + n * s;
            crossings.clear();
            for (const Edge* e : active) {
                const double f = (s - e->s0) / (e->s1 - e->s0);
                const AcGePoint2d p = e->p0 + (e->p1 - e->p0) * f;
                crossings.push_back({dot(p - origin, u), e->loop});
            }
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& a, const Crossing& b) { return a.t < b.t; });

            const double lineStart = static_cast<double>(k) * along;
            int depth = 0, parity = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                std::uint8_t& in = insideLoop[crossings[i].loop];
                in ^= 1;
                depth += in ? 1 : -1;
                parity ^= 1;
                const bool filled = style == HatchStyle::Normal  ? parity == 1
                                    : style == HatchStyle::Outer ? depth == 1
                                                                 : depth >= 1;
                const double t0 = crossings[i].t, t1 = crossings[i + 1].t;
                if (!filled || t1 <= t0) continue;
                if (!addDashes(line, dashPeriod, lineStart, t0, t1, origin, u, strokes, budget)) {
                    strokes.resize(before);
                    std::fill(insideLoop.begin(), insideLoop.end(), 0);
                    return StrokeStatus::TooDense;
                }
            }
            for (const Crossing& c : crossings) insideLoop[c.loop] = 0;
        }
    }
    return StrokeStatus::Ok;
}

}  // namespace fendo::hatch
