// The hatch: filing of its modelled and kept groups, and its picture (filled loops, or pattern
// lines cut by the loops).
#include "host/db/entities/AcDbHatch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "host/db/entities/EntityUtil.h"
#include "host/ge/AcGeVector2d.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/AcGi.h"
#include "host/hatch/PatternLibrary.h"
#include "host/hatch/PatternStrokes.h"

using namespace fendo::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, 0, 0, 0, HATCH, ObjectDBX Classes)

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180.0;
constexpr int kOutermostLoop = 16;  // boundary path flag of an outer loop

// Reads the kept loop groups of a hatch one after another.
class LoopReader {
public:
    explicit LoopReader(const RawTags& boundary) : m_tags(boundary) {}
    bool atEnd() const { return m_at >= m_tags.size(); }
    short peek() const { return atEnd() ? -1 : m_tags[m_at].code; }
    // The value of the next group when it has `code` (else 0, nothing consumed).
    double take(short code)
    {
        if (peek() != code) return 0.0;
        return std::strtod(m_tags[m_at++].value.c_str(), nullptr);
    }
    void skip() { ++m_at; }

private:
    const RawTags& m_tags;
    size_t m_at = 0;
};

// Points of an arc edge (angles in degrees, clockwise edges stored with mirrored angles).
void addArcEdge(std::vector<AcGePoint2d>& pts, const AcGePoint2d& c, double rx, const AcGeVector2d& major, double ratio,
                double a0, double a1, bool ccw)
{
    constexpr int kSegmentsPerTurn = 72;
    if (!ccw) {
        a0 = 360.0 - a0;
        a1 = 360.0 - a1;
        std::swap(a0, a1);
    }
    double sweep = a1 - a0;
    while (sweep <= 0) sweep += 360.0;
    const int k = std::max(2, static_cast<int>(sweep / 360.0 * kSegmentsPerTurn));
    const AcGeVector2d u = major.isZeroLength() ? AcGeVector2d(rx, 0) : major;
    const AcGeVector2d v(-u.y * ratio, u.x * ratio);
    std::vector<AcGePoint2d> arc;
    for (int j = 0; j <= k; ++j) {
        const double t = (a0 + sweep * j / k) * kDegrees;
        arc.push_back(c + u * std::cos(t) + v * std::sin(t));
    }
    if (!ccw) std::reverse(arc.begin(), arc.end());
    pts.insert(pts.end(), arc.begin(), arc.end());
}

std::vector<fendo::hatch::HatchLoop> hatchLoops(const RawTags& boundary)
{
    std::vector<fendo::hatch::HatchLoop> loops;
    LoopReader r(boundary);
    const int count = static_cast<int>(r.take(91));
    for (int loop = 0; loop < count && r.peek() == 92; ++loop) {
        const int flags = static_cast<int>(r.take(92));
        std::vector<AcGePoint2d> pts;
        if (flags & 2) {
            const bool bulges = r.take(72) != 0;
            r.take(73);
            const int n = static_cast<int>(r.take(93));
            std::vector<double> bulge;
            for (int i = 0; i < n && r.peek() == 10; ++i) {
                const double x = r.take(10), y = r.take(20);
                pts.emplace_back(x, y);
                bulge.push_back(bulges ? r.take(42) : 0.0);
            }
            std::vector<AcGePoint2d> faceted;
            for (size_t i = 0; i < pts.size(); ++i) {
                faceted.push_back(pts[i]);
                const AcGePoint2d& b = pts[(i + 1) % pts.size()];
                if (std::abs(bulge[i]) > fendo::ge::kStraightBulge)
                    for (int j = 1; j < 16; ++j)
                        faceted.push_back(fendo::ge::pointOnBulgeSegment(pts[i], b, bulge[i], j / 16.0));
            }
            pts = std::move(faceted);
        } else {
            const int edges = static_cast<int>(r.take(93));
            for (int e = 0; e < edges && r.peek() == 72; ++e) {
                const int type = static_cast<int>(r.take(72));
                if (type == 1) {
                    const double x0 = r.take(10), y0 = r.take(20), x1 = r.take(11), y1 = r.take(21);
                    pts.emplace_back(x0, y0);
                    pts.emplace_back(x1, y1);
                } else if (type == 2) {
                    const double cx = r.take(10), cy = r.take(20), rad = r.take(40), a0 = r.take(50), a1 = r.take(51);
                    const bool ccw = r.take(73) != 0;
                    addArcEdge(pts, AcGePoint2d(cx, cy), rad, AcGeVector2d(rad, 0), 1.0, a0, a1, ccw);
                } else if (type == 3) {
                    const double cx = r.take(10), cy = r.take(20), mx = r.take(11), my = r.take(21), ratio = r.take(40),
                                 a0 = r.take(50), a1 = r.take(51);
                    const bool ccw = r.take(73) != 0;
                    addArcEdge(pts, AcGePoint2d(cx, cy), 0, AcGeVector2d(mx, my), ratio, a0, a1, ccw);
                } else {
                    // A spline edge: its fit points when it has them, else its control points.
                    std::vector<AcGePoint2d> control, fit;
                    while (!r.atEnd() && r.peek() != 72 && r.peek() != 97) {
                        const short c = r.peek();
                        if (c == 10) {
                            const double x = r.take(10);
                            control.emplace_back(x, r.take(20));
                        } else if (c == 11) {
                            const double x = r.take(11);
                            fit.emplace_back(x, r.take(21));
                        } else {
                            r.skip();
                        }
                    }
                    const auto& use = fit.empty() ? control : fit;
                    pts.insert(pts.end(), use.begin(), use.end());
                }
            }
        }
        // Source boundary references.
        const int sources = static_cast<int>(r.take(97));
        for (int i = 0; i < sources && r.peek() == 330; ++i) r.skip();
        if (pts.size() >= 2) loops.push_back({std::move(pts), (flags & kOutermostLoop) != 0});
    }
    return loops;
}

}  // namespace

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name)
{
    assertWriteEnabled();
    m_patternType = type;
    m_pattern = name;
    m_solid = fendo::equalsNoCase(m_pattern, L"SOLID");
    loadLibraryDefinitions();
    return Acad::eOk;
}

void AcDbHatch::loadLibraryDefinitions()
{
    m_definitions.clear();
    if (m_solid || m_patternType == kUserDefined) return;
    const auto pattern = fendo::hatch::findLibraryPattern(fendo::toUtf8(m_pattern.c_str()));
    if (!pattern) return;
    for (const auto& line : fendo::hatch::definitionLines(*pattern, m_patternScale, m_patternAngle))
        m_definitions.push_back({line.angle, line.base.x, line.base.y, line.offset.x, line.offset.y, line.dashes});
}

Acad::ErrorStatus AcDbHatch::setElevation(double e)
{
    assertWriteEnabled();
    m_elevation = e;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& n)
{
    if (n.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = ent::unitNormal(n);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle style)
{
    if (style < kNormal || style > kIgnore) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_style = style;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle)
{
    if (!std::isfinite(angle)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_patternAngle = angle;
    loadLibraryDefinitions();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double scale)
{
    if (!(scale > 0.0) || !std::isfinite(scale)) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_patternScale = scale;
    loadLibraryDefinitions();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY,
                                                    double& offsetX, double& offsetY, AcGeDoubleArray& dashes) const
{
    if (index < 0 || index >= numPatternDefinitions()) return Acad::eInvalidIndex;
    const DefinitionLine& d = m_definitions[static_cast<size_t>(index)];
    angle = d.angle;
    baseX = d.baseX;
    baseY = d.baseY;
    offsetX = d.offsetX;
    offsetY = d.offsetY;
    dashes.setLogicalLength(0);
    for (double v : d.dashes) dashes.append(v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    const AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    for (const auto& loop : hatchLoops(m_boundary))
        for (const AcGePoint2d& p : loop.points) extents.addPoint(toWorld * AcGePoint3d(p.x, p.y, m_elevation));
    return extents.isEmpty() ? Acad::eInvalidExtents : Acad::eOk;
}

bool AcDbHatch::worldDraw(AcGiWorldDraw* wd)
{
    using namespace fendo::hatch;
    const AcGeMatrix3d toWorld = ent::ocsToWcs(m_normal);
    const auto world = [&](const AcGePoint2d& p) { return toWorld * AcGePoint3d(p.x, p.y, m_elevation); };
    const std::vector<HatchLoop> loops = hatchLoops(m_boundary);

    std::vector<fendo::hatch::DefinitionLine> lines;
    for (const DefinitionLine& d : m_definitions)
        lines.push_back({d.angle, AcGePoint2d(d.baseX, d.baseY), AcGeVector2d(d.offsetX, d.offsetY), d.dashes});
    if (lines.empty() && !m_solid)
        if (const auto pattern = findLibraryPattern(fendo::toUtf8(m_pattern.c_str())))
            lines = definitionLines(*pattern, m_patternScale, m_patternAngle);
    std::vector<PatternStroke> strokes;
    const bool drawPattern =
        !m_solid && !lines.empty() &&
        patternStrokes(lines, loops, static_cast<fendo::hatch::HatchStyle>(m_style), strokes) == StrokeStatus::Ok;
    if (drawPattern) {
        for (const PatternStroke& s : strokes) {
            const AcGePoint3d ends[2] = {world(s.from), world(s.to)};
            wd->geometry().polyline(2, ends);
        }
        return true;
    }

    const AcGiFillType before = wd->subEntityTraits().fillType();
    if (m_solid) wd->subEntityTraits().setFillType(kAcGiFillAlways);
    for (const auto& loop : loops) {
        std::vector<AcGePoint3d> pts;
        for (const AcGePoint2d& p : loop.points) pts.push_back(world(p));
        if (m_solid) {
            wd->geometry().polygon(static_cast<std::uint32_t>(pts.size()), pts.data());
        } else {
            pts.push_back(pts.front());
            wd->geometry().polyline(static_cast<std::uint32_t>(pts.size()), pts.data());
        }
    }
    wd->subEntityTraits().setFillType(before);
    return true;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& xform)
{
    if (xform.isEqualTo(AcGeMatrix3d::kIdentity)) return Acad::eOk;
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbHatch::dxfInFields(AcDbDxfFiler* filer)
{
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    ent::enterSection(filer, L"AcDbHatch");
    m_definitions.clear();
    m_boundary.clear();
    m_trailing.clear();
    const auto keptHere = [this] {
        size_t n = 0;
        if (const auto* kept = keptGroups())
            for (const KeptGroup& g : *kept) n += g.subclass == L"AcDbHatch";
        return n;
    };
    const size_t keptBefore = keptHere();
    size_t boundaryEnd = SIZE_MAX;  // kept groups of this section that belong to the loops

    // The head is modelled; the loops (which reuse codes 10, 70, 72 ...) are kept from the loop
    // count on; the style, pattern type, angle, scale and definition lines are modelled; everything
    // after them is kept again.
    enum class Part { Head, Loops, Pattern, Rest } part = Part::Head;
    es = ent::readSection(filer, [&](const resbuf& rb) {
        const short code = rb.restype;
        if (code == 75 && (part == Part::Head || part == Part::Loops)) {
            boundaryEnd = keptHere() - keptBefore;
            part = Part::Pattern;
        }
        switch (part) {
        case Part::Head:
            switch (code) {
            case 10:
                m_elevation = ent::asPoint(rb).z;
                return true;
            case 210:
                m_normal = ent::unitNormal(ent::asVector(rb));
                return true;
            case 2:
                m_pattern = ent::asString(rb);
                return true;
            case 70:
                m_solid = ent::asInt(rb) != 0;
                return true;
            case 71:
                m_associative = ent::asInt(rb) != 0;
                return true;
            case 91:
                m_loops = ent::asInt(rb);
                break;
            default:
                break;
            }
            part = Part::Loops;
            return false;
        case Part::Loops:
            return false;
        case Part::Pattern:
            switch (code) {
            case 75:
                m_style = static_cast<HatchStyle>(std::clamp(ent::asInt(rb), 0, 2));
                return true;
            case 76:
                m_patternType = static_cast<HatchPatternType>(std::clamp(ent::asInt(rb), 0, 2));
                return true;
            case 52:
                m_patternAngle = ent::angleOfLastItem(filer);
                return true;
            case 41:
                m_patternScale = ent::asReal(rb);
                return true;
            case 77:
                m_patternDouble = ent::asInt(rb) != 0;
                return true;
            case 78:
                return true;  // the count follows from the lines
            case 53:
                m_definitions.push_back({ent::angleOfLastItem(filer), 0, 0, 0, 0, {}});
                return true;
            case 43:
            case 44:
            case 45:
            case 46:
            case 49:
            case 79: {
                if (m_definitions.empty()) return false;
                DefinitionLine& d = m_definitions.back();
                const double v = code == 79 ? 0.0 : ent::asReal(rb);
                if (code == 43) d.baseX = v;
                if (code == 44) d.baseY = v;
                if (code == 45) d.offsetX = v;
                if (code == 46) d.offsetY = v;
                if (code == 49) d.dashes.push_back(v);
                return true;
            }
            default:
                part = Part::Rest;
                return false;
            }
        case Part::Rest:
            return false;
        }
        return false;
    });
    if (es != Acad::eOk) return es;

    // The kept groups of this section move into the hatch, so that it writes them in order.
    if (const auto* kept = keptGroups()) {
        size_t at = 0;
        for (const KeptGroup& g : *kept) {
            if (g.subclass != L"AcDbHatch") continue;
            if (at++ < keptBefore) continue;
            (at - 1 - keptBefore < boundaryEnd ? m_boundary : m_trailing).push_back(g.tag);
        }
        ent::dropKeptSection(this, L"AcDbHatch");
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"AcDbHatch");
    filer->writePoint3d(AcDb::kDxfXCoord, AcGePoint3d(0, 0, m_elevation));
    filer->writeVector3d(AcDb::kDxfNormalX, m_normal);
    filer->writeString(AcDb::kDxfShapeName, m_pattern);
    filer->writeInt16(AcDb::kDxfInt16, m_solid ? 1 : 0);
    filer->writeInt16(static_cast<AcDb::DxfCode>(71), m_associative ? 1 : 0);
    // A hatch made here has no loop data of its own: an empty boundary keeps the record valid.
    if (m_boundary.empty()) filer->writeInt32(static_cast<AcDb::DxfCode>(91), 0);
    for (const RawTag& tag : m_boundary) filer->writeRaw(tag);
    filer->writeInt16(static_cast<AcDb::DxfCode>(75), static_cast<std::int16_t>(m_style));
    filer->writeInt16(static_cast<AcDb::DxfCode>(76), static_cast<std::int16_t>(m_patternType));
    if (!m_solid) {
        filer->writeAngle(static_cast<AcDb::DxfCode>(52), m_patternAngle);
        filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_patternScale);
        filer->writeInt16(static_cast<AcDb::DxfCode>(77), m_patternDouble ? 1 : 0);
        filer->writeInt16(static_cast<AcDb::DxfCode>(78), static_cast<std::int16_t>(m_definitions.size()));
        for (const DefinitionLine& d : m_definitions) {
            filer->writeAngle(static_cast<AcDb::DxfCode>(53), d.angle);
            filer->writeDouble(static_cast<AcDb::DxfCode>(43), d.baseX);
            filer->writeDouble(static_cast<AcDb::DxfCode>(44), d.baseY);
            filer->writeDouble(static_cast<AcDb::DxfCode>(45), d.offsetX);
            filer->writeDouble(static_cast<AcDb::DxfCode>(46), d.offsetY);
            filer->writeInt16(static_cast<AcDb::DxfCode>(79), static_cast<std::int16_t>(d.dashes.size()));
            for (double v : d.dashes) filer->writeDouble(static_cast<AcDb::DxfCode>(49), v);
        }
    }
    if (m_trailing.empty()) filer->writeInt32(static_cast<AcDb::DxfCode>(98), 0);
    for (const RawTag& tag : m_trailing) filer->writeRaw(tag);
    return filer->filerStatus();
}
