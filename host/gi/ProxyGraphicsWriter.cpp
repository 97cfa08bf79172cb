// Encoding of world-draw primitives as proxy graphics commands: little-endian, every
// command a size and a number followed by its data, padded to four bytes.
#include "host/gi/ProxyGraphicsWriter.h"

#include <cmath>
#include <cstring>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/fonts/VietFonts.h"
#include "host/ge/BulgeArc.h"
#include "host/gi/ExtentsCollector.h"

namespace fendo::gi {
namespace {

// Header: total size and command count.
constexpr size_t kHeaderSize = 8;
// Colour method in the top byte of a true colour, as the format packs it.
constexpr std::uint32_t kRgbMethod = 0xC2u << 24;
constexpr double kTrackingNone = 1.0;

std::wstring styleFontFile(const AcDbEntity& e, AcDbDatabase* db)
{
    AcDbObjectId style;
    if (const auto* t = AcDbText::cast(&e)) style = t->textStyle();
    else if (const auto* m = AcDbMText::cast(&e)) style = m->textStyle();
    if (style.isNull() && db) style = db->textstyle();
    if (const auto* rec = db::peekObject<AcDbTextStyleTableRecord>(style))
        if (!rec->fileName().empty()) return rec->fileName();
    return L"arial.ttf";
}

}  // namespace

ProxyGraphicsWriter::ProxyGraphicsWriter(AcDbDatabase* db, std::wstring fontFile) : m_db(db), m_font(std::move(fontFile))
{
}

std::vector<std::uint8_t> ProxyGraphicsWriter::data() const
{
    std::vector<std::uint8_t> out;
    if (m_count == 0) return out;
    const auto total = static_cast<std::uint32_t>(kHeaderSize + m_body.size());
    out.resize(total);
    std::memcpy(out.data(), &total, 4);  // the host is little-endian, as the format is
    std::memcpy(out.data() + 4, &m_count, 4);
    std::memcpy(out.data() + kHeaderSize, m_body.data(), m_body.size());
    return out;
}

void ProxyGraphicsWriter::begin(ProxyCommand command)
{
    m_commandStart = m_body.size();
    u32(0);  // size, filled in by end()
    u32(static_cast<std::uint32_t>(command));
}

void ProxyGraphicsWriter::end()
{
    while (m_body.size() % 4) m_body.push_back(0);
    const auto size = static_cast<std::uint32_t>(m_body.size() - m_commandStart);
    std::memcpy(m_body.data() + m_commandStart, &size, 4);
    ++m_count;
}

void ProxyGraphicsWriter::u32(std::uint32_t v)
{
    const auto* b = reinterpret_cast<const std::uint8_t*>(&v);
    m_body.insert(m_body.end(), b, b + 4);
}

void ProxyGraphicsWriter::f64(double v)
{
    const auto* b = reinterpret_cast<const std::uint8_t*>(&v);
    m_body.insert(m_body.end(), b, b + 8);
}

void ProxyGraphicsWriter::point(const AcGePoint3d& p)
{
    f64(p.x);
    f64(p.y);
    f64(p.z);
}

void ProxyGraphicsWriter::vector(const AcGeVector3d& v)
{
    f64(v.x);
    f64(v.y);
    f64(v.z);
}

// UTF-16LE, ended by a zero character and padded to four bytes.
void ProxyGraphicsWriter::unicode(const std::wstring& s)
{
    auto unit = [&](std::uint16_t u) {
        m_body.push_back(static_cast<std::uint8_t>(u & 0xFF));
        m_body.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (wchar_t c : s) {
        auto cp = static_cast<std::uint32_t>(c);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            unit(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            unit(static_cast<std::uint16_t>(cp));
        }
    }
    unit(0);
    while (m_body.size() % 4) m_body.push_back(0);
}

long ProxyGraphicsWriter::tableIndex(AcDbObjectId tableId, AcDbObjectId recordId) const
{
    const auto* table = db::peekObject<AcDbSymbolTable>(tableId);
    if (!table || recordId.isNull()) return -1;
    long index = 0;
    for (AcDbObjectId id : table->recordIds()) {
        if (id == recordId) return index;
        if (!id.isErased()) ++index;
    }
    return -1;
}

void ProxyGraphicsWriter::beginEntity(const AcDbEntity& entity)
{
    m_font = styleFontFile(entity, m_db ? m_db : entity.database());
    ExtentsCollector extents;
    const_cast<AcDbEntity&>(entity).worldDraw(&extents);
    if (!extents.extents().isEmpty()) {
        begin(ProxyCommand::Extents);
        point(extents.extents().minPoint());
        point(extents.extents().maxPoint());
        end();
    }
    setLayer(entity.layerId());
    const AcCmEntityColor c = entity.entityColor();
    if (c.isByColor()) setTrueColor(c);
    else if (!c.isByLayer()) setColor(c.colorIndex());
    m_color = c;
}

void ProxyGraphicsWriter::setColor(Adesk::UInt16 colorIndex)
{
    m_color = AcCmEntityColor();
    m_color.setColorIndex(colorIndex);
    begin(ProxyCommand::Color);
    u32(colorIndex);
    end();
}

void ProxyGraphicsWriter::setTrueColor(const AcCmEntityColor& color)
{
    if (!color.isByColor()) return setColor(color.colorIndex());
    m_color = color;
    begin(ProxyCommand::TrueColor);
    u32(kRgbMethod | (color.rgb() & 0xFFFFFF));
    end();
}

void ProxyGraphicsWriter::setLayer(AcDbObjectId layerId)
{
    m_layer = layerId;
    AcDbDatabase* db = m_db;
    const long index = db ? tableIndex(db->layerTableId(), layerId) : -1;
    if (index < 0) return;
    begin(ProxyCommand::Layer);
    u32(static_cast<std::uint32_t>(index));
    end();
}

void ProxyGraphicsWriter::setLineType(AcDbObjectId linetypeId)
{
    const long index = m_db ? tableIndex(m_db->linetypeTableId(), linetypeId) : -1;
    if (index < 0) return;
    begin(ProxyCommand::Linetype);
    u32(static_cast<std::uint32_t>(index));
    end();
}

void ProxyGraphicsWriter::setLineWeight(int lineWeight)
{
    begin(ProxyCommand::LineWeight);
    u32(static_cast<std::uint32_t>(lineWeight));
    end();
}

void ProxyGraphicsWriter::points(ProxyCommand command, std::uint32_t count, const AcGePoint3d* pts)
{
    begin(command);
    u32(count);
    for (std::uint32_t i = 0; i < count; ++i) point(pts[i]);
    end();
}

bool ProxyGraphicsWriter::polyline(std::uint32_t count, const AcGePoint3d* pts, const AcGeVector3d*, std::intptr_t)
{
    if (count > 0) points(ProxyCommand::Polyline, count, pts);
    return false;
}

bool ProxyGraphicsWriter::polygon(std::uint32_t count, const AcGePoint3d* pts)
{
    if (count == 0) return false;
    // Readers drop the fill state after every primitive, so a filled polygon says so itself.
    if (m_fill == kAcGiFillAlways) {
        begin(ProxyCommand::Fill);
        u32(1);
        end();
    }
    points(ProxyCommand::Polygon, count, pts);
    if (m_fill == kAcGiFillAlways) {
        begin(ProxyCommand::Fill);
        u32(0);
        end();
    }
    return false;
}

bool ProxyGraphicsWriter::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal)
{
    begin(ProxyCommand::Circle);
    point(center);
    f64(radius);
    vector(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal());
    end();
    return false;
}

bool ProxyGraphicsWriter::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                      const AcGeVector3d& startVector, double sweepAngle, AcGiArcType arcType)
{
    begin(ProxyCommand::CircularArc);
    point(center);
    f64(radius);
    vector(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal());
    vector(startVector.isZeroLength() ? AcGeVector3d::kXAxis : startVector.normal());
    f64(sweepAngle);
    u32(static_cast<std::uint32_t>(arcType));
    end();
    return false;
}

bool ProxyGraphicsWriter::text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                               double height, double width, double oblique, const ACHAR* message)
{
    // Texts of 8-bit Vietnamese fonts are kept decoded, with a Unicode font of the same look.
    const fonts::DisplayText shown = fonts::displayText(message ? message : L"", m_font);
    const std::wstring& s = shown.text;
    begin(ProxyCommand::UnicodeText2);
    point(position);
    vector(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal());
    vector(direction.isZeroLength() ? AcGeVector3d::kXAxis : direction.normal());
    unicode(s);
    u32(static_cast<std::uint32_t>(s.size()));  // length
    u32(0);                                     // not raw: control codes are interpreted
    f64(height);
    f64(width > 0 ? width : 1.0);
    f64(oblique);
    f64(kTrackingNone);
    for (int i = 0; i < 5; ++i) u32(0);  // backwards, upside down, vertical, underline, overline
    for (int i = 0; i < 4; ++i) u32(0);  // bold, italic, character set, pitch
    unicode(L"");                        // typeface
    unicode(shown.fontFile);
    unicode(L"");  // big font
    end();
    return false;
}

bool ProxyGraphicsWriter::pline(const AcDbPolyline& pl, std::uint32_t fromIndex, std::uint32_t numSegs)
{
    const unsigned n = pl.numVerts();
    if (n == 0) return false;
    const unsigned segCount = pl.isClosed() ? n : n - 1;
    const unsigned last = numSegs ? std::min<unsigned>(segCount, fromIndex + numSegs) : segCount;
    const AcGeVector3d normal = pl.normal().isZeroLength() ? AcGeVector3d::kZAxis : pl.normal().normal();
    // Straight runs become polylines and bulged segments arcs, so arcs stay exact.
    std::vector<AcGePoint3d> run;
    auto flush = [&] {
        if (run.size() >= 2) polyline(static_cast<std::uint32_t>(run.size()), run.data());
        run.clear();
    };
    if (n == 1) {
        AcGePoint3d p;
        pl.getPointAt(0, p);
        AcGePoint3d pts[2] = {p, p};
        return polyline(2, pts);
    }
    for (unsigned i = fromIndex; i < last; ++i) {
        AcGePoint3d a, b;
        double bulge = 0;
        pl.getPointAt(i, a);
        pl.getPointAt((i + 1) % n, b);
        pl.getBulgeAt(i, bulge);
        const AcGeVector3d chord = b - a;
        const double d = chord.length();
        if (std::abs(bulge) <= ge::kStraightBulge || d == 0.0) {
            if (run.empty()) run.push_back(a);
            run.push_back(b);
            continue;
        }
        flush();
        // Centre to the left of the chord for a counter-clockwise arc of less than half a turn.
        const AcGeVector3d left = normal.crossProduct(chord / d);
        const AcGePoint3d centre = a + chord * 0.5 + left * (d * 0.5 * (1 - bulge * bulge) / (2 * bulge));
        const double radius = d * 0.25 * (1 + bulge * bulge) / std::abs(bulge);
        circularArc(centre, radius, normal, a - centre, 4 * std::atan(bulge));
    }
    flush();
    return false;
}

std::vector<std::uint8_t> proxyGraphicsFor(AcDbEntity& entity)
{
    ProxyGraphicsWriter writer(entity.database());
    writer.beginEntity(entity);
    const std::uint32_t attributesOnly = writer.commandCount();
    entity.worldDraw(&writer);
    // A picture of attributes alone shows nothing.
    if (writer.commandCount() == attributesOnly) return {};
    return writer.data();
}

}  // namespace fendo::gi
