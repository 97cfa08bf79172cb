// Glyph outlines through FreeType, scaled like the text measurer scales its metrics.
#include "host/render/GlyphOutlines.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <utility>

#include "host/fonts/FontResolver.h"

namespace fendo::render {
namespace {

constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM;

struct Face {
    FT_Face face = nullptr;
    double capUnits = 1.0;
};

// Same rule as the measurer: OS/2 cap height, else the top of 'H', else the ascender.
double capHeightUnits(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version >= 2 && os2->sCapHeight > 0) return os2->sCapHeight;
    if (FT_UInt h = FT_Get_Char_Index(face, 'H'); h != 0 && FT_Load_Glyph(face, h, kLoadFlags) == 0)
        if (face->glyph->metrics.horiBearingY > 0) return static_cast<double>(face->glyph->metrics.horiBearingY);
    if (face->ascender > 0) return face->ascender;
    return face->units_per_EM > 0 ? face->units_per_EM : 1.0;
}

// Open faces for the life of the process (pictures are made on the user-interface thread).
class Faces {
public:
    ~Faces()
    {
        for (auto& [key, f] : m_faces)
            if (f.face) FT_Done_Face(f.face);
        if (m_lib) FT_Done_FreeType(m_lib);
    }
    const Face* get(const fonts::ResolvedFont& font)
    {
        if (font.source == fonts::FontSource::None || font.path.empty()) return nullptr;
        auto key = std::make_pair(font.path, font.faceIndex);
        auto it = m_faces.find(key);
        if (it == m_faces.end()) it = m_faces.emplace(key, open(font)).first;
        return it->second.face ? &it->second : nullptr;
    }

private:
    Face open(const fonts::ResolvedFont& font)
    {
        Face f;
        if (!m_lib && FT_Init_FreeType(&m_lib) != 0) {
            m_lib = nullptr;
            return f;
        }
        if (FT_New_Face(m_lib, font.path.c_str(), font.faceIndex, &f.face) != 0) return Face{};
        if (!FT_IS_SCALABLE(f.face)) {
            FT_Done_Face(f.face);
            return Face{};
        }
        FT_Select_Charmap(f.face, FT_ENCODING_UNICODE);
        f.capUnits = capHeightUnits(f.face);
        return f;
    }
    FT_Library m_lib = nullptr;
    std::map<std::pair<std::string, int>, Face> m_faces;
};

Faces& faces()
{
    static Faces cache;
    return cache;
}

// Walks one glyph's outline, mapping font units to text heights and shifting by the pen.
struct Walker {
    OutlineSink* sink;
    double scale;
    double pen;
    double lastX = 0, lastY = 0;
    bool open = false;

    double x(const FT_Vector* v) const { return pen + v->x * scale; }
    double y(const FT_Vector* v) const { return v->y * scale; }

    static Walker& self(void* user) { return *static_cast<Walker*>(user); }
    static int move(const FT_Vector* to, void* user)
    {
        Walker& w = self(user);
        if (w.open) w.sink->closeContour();
        w.lastX = w.x(to);
        w.lastY = w.y(to);
        w.sink->moveTo(w.lastX, w.lastY);
        w.open = true;
        return 0;
    }
    static int line(const FT_Vector* to, void* user)
    {
        Walker& w = self(user);
        w.lastX = w.x(to);
        w.lastY = w.y(to);
        w.sink->lineTo(w.lastX, w.lastY);
        return 0;
    }
    static int conic(const FT_Vector* c, const FT_Vector* to, void* user)
    {
        Walker& w = self(user);
        const double cx = w.x(c), cy = w.y(c), tx = w.x(to), ty = w.y(to);
        // A quadratic is the cubic with control points two thirds of the way to its control.
        w.sink->cubicTo(w.lastX + 2.0 / 3.0 * (cx - w.lastX), w.lastY + 2.0 / 3.0 * (cy - w.lastY),
                        tx + 2.0 / 3.0 * (cx - tx), ty + 2.0 / 3.0 * (cy - ty), tx, ty);
        w.lastX = tx;
        w.lastY = ty;
        return 0;
    }
    static int cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        Walker& w = self(user);
        w.lastX = w.x(to);
        w.lastY = w.y(to);
        w.sink->cubicTo(w.x(c1), w.y(c1), w.x(c2), w.y(c2), w.lastX, w.lastY);
        return 0;
    }
};

}  // namespace

bool outlineText(std::wstring_view text, const fonts::TextStyleFont& font, OutlineSink& sink, double& advance)
{
    auto& resolver = fonts::FontResolver::instance();
    const Face* primary = faces().get(resolver.resolve(font.fontFile, font.bigFontFile));
    const Face* secondary = faces().get(resolver.fallback());
    if (!primary) std::swap(primary, secondary);
    if (secondary == primary) secondary = nullptr;
    advance = 0.0;
    if (!primary) return false;

    static const FT_Outline_Funcs funcs = {&Walker::move, &Walker::line, &Walker::conic, &Walker::cubic, 0, 0};
    for (wchar_t c : fonts::expandTextControlCodes(text)) {
        if (c < 0x20) continue;
        const Face* face = primary;
        FT_UInt glyph = FT_Get_Char_Index(primary->face, static_cast<FT_ULong>(c));
        if (glyph == 0 && secondary)
            if (FT_UInt other = FT_Get_Char_Index(secondary->face, static_cast<FT_ULong>(c)); other != 0) {
                face = secondary;
                glyph = other;
            }
        if (FT_Load_Glyph(face->face, glyph, kLoadFlags) != 0) continue;
        const double scale = 1.0 / face->capUnits;
        FT_GlyphSlot slot = face->face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points > 0) {
            Walker w{&sink, scale, advance};
            FT_Outline_Decompose(&slot->outline, &funcs, &w);
            if (w.open) sink.closeContour();
        }
        advance += slot->metrics.horiAdvance * scale;
    }
    return true;
}

}  // namespace fendo::render
