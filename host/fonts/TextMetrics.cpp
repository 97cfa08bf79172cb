// Text measuring from FreeType glyph metrics, scaled so that capital letters are the text height.
#include "host/fonts/TextMetrics.h"
#include "host/fonts/VietFonts.h"

#include "host/fonts/FontResolver.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>
#include <unordered_map>
#include <memory>
#include <utility>
#include <vector>

namespace fendo::fonts {

namespace {

constexpr wchar_t kDegreeSign = 0x00B0;
constexpr wchar_t kPlusMinusSign = 0x00B1;
constexpr wchar_t kDiameterSign = 0x2300;

// Unscaled, unhinted outlines keep every measure proportional to the text height, so a box measured
// at one height can be rescaled (aligned and fitted texts rely on that).
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM;

struct LoadedFace;

// What measuring needs of one character's glyph, in font units, and the face it came from.
struct GlyphMeasure {
    const LoadedFace* fallback = nullptr;  // the secondary face it was looked up with
    const LoadedFace* face = nullptr;      // null: the glyph could not be loaded
    FT_Pos width = 0, height = 0, bearingX = 0, bearingY = 0, advance = 0;
};

struct LoadedFace {
    FT_Face face = nullptr;
    double capUnits = 0.0;       // capital-letter height, font units
    double descenderUnits = 0.0; // descender line, font units, <= 0
    // Characters measured with this face as the primary one: loading a glyph from FreeType
    // costs far more than measuring with it.
    mutable std::unordered_map<wchar_t, GlyphMeasure> glyphs;
};

// Height of capitals: the OS/2 table's value when the font gives one, else the top of 'H', else
// the ascender (fonts without Latin capitals).
double capHeightUnits(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version >= 2 && os2->sCapHeight > 0) return os2->sCapHeight;
    if (FT_UInt h = FT_Get_Char_Index(face, 'H'); h != 0 && FT_Load_Glyph(face, h, kLoadFlags) == 0) {
        if (face->glyph->metrics.horiBearingY > 0) return static_cast<double>(face->glyph->metrics.horiBearingY);
    }
    if (face->ascender > 0) return face->ascender;
    return face->units_per_EM > 0 ? face->units_per_EM : 1.0;
}

// FreeType library and open faces, kept for the life of the process (user-interface thread only).
class FaceCache {
public:
    ~FaceCache()
    {
        for (auto& [key, loaded] : m_faces)
            if (loaded.face) FT_Done_Face(loaded.face);
        if (m_library) FT_Done_FreeType(m_library);
    }

    const LoadedFace* get(const ResolvedFont& font)
    {
        if (font.source == FontSource::None || font.path.empty()) return nullptr;
        auto it = m_faces.find(std::pair<std::string_view, int>(font.path, font.faceIndex));
        if (it == m_faces.end()) it = m_faces.emplace(std::make_pair(font.path, font.faceIndex), open(font)).first;
        return it->second.face ? &it->second : nullptr;
    }

private:
    LoadedFace open(const ResolvedFont& font)
    {
        LoadedFace loaded;
        if (!m_library && FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
            return loaded;
        }
        if (FT_New_Face(m_library, font.path.c_str(), font.faceIndex, &loaded.face) != 0) {
            loaded.face = nullptr;
            return loaded;
        }
        if (!FT_IS_SCALABLE(loaded.face)) {
            FT_Done_Face(loaded.face);
            loaded.face = nullptr;
            return loaded;
        }
        FT_Select_Charmap(loaded.face, FT_ENCODING_UNICODE);
        loaded.capUnits = capHeightUnits(loaded.face);
        loaded.descenderUnits = std::min<double>(0.0, loaded.face->descender);
        return loaded;
    }

    FT_Library m_library = nullptr;
    // Looked up by a view of the path: measuring asks for its faces text after text.
    struct KeyLess {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const
        {
            return std::pair<std::string_view, int>(a.first, a.second) < std::pair<std::string_view, int>(b.first, b.second);
        }
    };
    std::map<std::pair<std::string, int>, LoadedFace, KeyLess> m_faces;
};

// The glyph of c in the primary face, or in the secondary one when the primary lacks it; a
// character neither has takes the primary's missing-glyph box (glyph 0).
const GlyphMeasure& glyphOf(const LoadedFace& primary, const LoadedFace* secondary, wchar_t c)
{
    auto [it, added] = primary.glyphs.try_emplace(c);
    if (!added && it->second.fallback == secondary) return it->second;
    const LoadedFace* face = &primary;
    FT_UInt glyph = FT_Get_Char_Index(primary.face, static_cast<FT_ULong>(c));
    if (glyph == 0 && secondary) {
        if (FT_UInt other = FT_Get_Char_Index(secondary->face, static_cast<FT_ULong>(c)); other != 0) {
            face = secondary;
            glyph = other;
        }
    }
    GlyphMeasure m;
    if (FT_Load_Glyph(face->face, glyph, kLoadFlags) == 0) {
        const FT_Glyph_Metrics& gm = face->face->glyph->metrics;
        m = GlyphMeasure{secondary, face, gm.width, gm.height, gm.horiBearingX, gm.horiBearingY, gm.horiAdvance};
    }
    m.fallback = secondary;
    it->second = m;
    return it->second;
}

// Whether texts of a style's font are stored as Unicode (not in an 8-bit Vietnamese
// encoding), remembered for the fonts asked so far: a drawing uses a handful of them.
bool isUnicodeFont(std::wstring_view fontFile)
{
    static std::vector<std::pair<std::wstring, bool>> known;
    for (const auto& [font, unicode] : known)
        if (font == fontFile) return unicode;
    const bool unicode = encodingOfFont(fontFile) == viet::Encoding::Unicode;
    if (known.size() < 64) known.emplace_back(fontFile, unicode);
    return unicode;
}

FaceCache& faceCache()
{
    static FaceCache cache;
    return cache;
}

double effectiveWidthFactor(double widthFactor)
{
    return widthFactor > 0.0 ? widthFactor : 1.0;
}

int hexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool isDrawn(wchar_t c)
{
    return c >= 0x20;
}

// Completes the measure from the advance and the ink box (ink may be absent).
void finishBoxes(TextMeasure& m, double height, double oblique, bool haveInk, const TextBox& ink)
{
    m.box = TextBox{0.0, m.advance, 0.0, height};
    if (haveInk) {
        m.box.left = std::min(m.box.left, ink.left);
        m.box.right = std::max(m.box.right, ink.right);
        m.box.bottom = std::min(m.box.bottom, ink.bottom);
        m.box.top = std::max(m.box.top, ink.top);
    }
    const double slant = std::tan(oblique);
    m.obliqueBox = m.box;
    m.obliqueBox.left += std::min(slant * m.box.bottom, slant * m.box.top);
    m.obliqueBox.right += std::max(slant * m.box.bottom, slant * m.box.top);
}

} // namespace

std::wstring expandTextControlCodes(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const wchar_t c = text[i];
        if (c == L'%' && i + 2 < n && text[i + 1] == L'%') {
            const wchar_t code = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i + 2])));
            switch (code) {
            case L'd': out += kDegreeSign; i += 3; continue;
            case L'p': out += kPlusMinusSign; i += 3; continue;
            case L'c': out += kDiameterSign; i += 3; continue;
            case L'%': out += L'%'; i += 3; continue;
            case L'u':
            case L'o': i += 3; continue;
            default: break;
            }
            if (code >= L'0' && code <= L'9') {
                size_t j = i + 2;
                unsigned value = 0;
                while (j < n && j < i + 5 && text[j] >= L'0' && text[j] <= L'9') value = value * 10 + (text[j++] - L'0');
                out += static_cast<wchar_t>(value);
                i = j;
                continue;
            }
            out += L"%%";
            i += 2;
            continue;
        }
        if (c == L'\\' && i + 6 < n && (text[i + 1] == L'U' || text[i + 1] == L'u') && text[i + 2] == L'+') {
            int value = 0;
            bool valid = true;
            for (size_t k = i + 3; k < i + 7; ++k) {
                const int digit = hexValue(text[k]);
                if (digit < 0) {
                    valid = false;
                    break;
                }
                value = value * 16 + digit;
            }
            if (valid) {
                out += static_cast<wchar_t>(value);
                i += 7;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

TextMeasure measureTextFixed(std::wstring_view text, const TextFormat& format)
{
    const std::wstring expanded = expandTextControlCodes(text);
    const double height = std::abs(format.height);
    const double count = static_cast<double>(std::count_if(expanded.begin(), expanded.end(), isDrawn));
    TextMeasure m;
    m.model = TextModel::FixedAdvance;
    m.empty = count == 0;
    m.advance = count * kFixedAdvancePerHeight * height * effectiveWidthFactor(format.widthFactor);
    finishBoxes(m, height, format.oblique, false, TextBox{});
    return m;
}

TextMeasure measureText(std::wstring_view text, const TextStyleFont& font, const TextFormat& format)
{
    return measureText(text, font, format, FontResolver::instance());
}

TextMeasure measureText(std::wstring_view storedText, const TextStyleFont& styleFont, const TextFormat& format,
                        FontResolver& resolver)
{
    // Texts of 8-bit Vietnamese fonts are measured as they are drawn: decoded, in a Unicode font.
    // Most fonts are Unicode ones, whose texts are measured as stored, without copies.
    const bool unicodeFont = isUnicodeFont(styleFont.fontFile);
    const DisplayText shown = unicodeFont ? DisplayText{} : displayText(storedText, styleFont.fontFile);
    const std::wstring_view text = unicodeFont ? storedText : std::wstring_view(shown.text);
    const std::wstring_view fontFile = unicodeFont ? std::wstring_view(styleFont.fontFile) : shown.fontFile;
    const TextStyleFont font{std::wstring(fontFile), styleFont.bigFontFile};
    const LoadedFace* primary = faceCache().get(resolver.resolve(font.fontFile, font.bigFontFile));
    // Characters the style's font lacks are measured in the fallback font, as the host substitutes.
    const LoadedFace* secondary = faceCache().get(resolver.fallback());
    if (!primary) std::swap(primary, secondary);
    if (secondary == primary) secondary = nullptr;
    if (!primary) return measureTextFixed(text, format);

    // Texts without control codes (most) are measured as they are.
    std::wstring expandedStore;
    std::wstring_view expanded = text;
    if (text.find_first_of(L"%\\") != std::wstring_view::npos) expanded = expandedStore = expandTextControlCodes(text);
    const double height = std::abs(format.height);
    const double widthFactor = effectiveWidthFactor(format.widthFactor);

    TextMeasure m;
    m.model = TextModel::Outline;
    m.descent = primary->descenderUnits * height / primary->capUnits;
    TextBox ink;
    bool haveInk = false;
    double pen = 0.0;
    for (wchar_t c : expanded) {
        if (!isDrawn(c)) continue;
        m.empty = false;
        const GlyphMeasure& gm = glyphOf(*primary, secondary, c);
        if (!gm.face) continue;
        const double scale = height / gm.face->capUnits;
        if (gm.width > 0 && gm.height > 0) {
            const TextBox g{pen + gm.bearingX * scale * widthFactor,
                            pen + (gm.bearingX + gm.width) * scale * widthFactor,
                            (gm.bearingY - gm.height) * scale, gm.bearingY * scale};
            if (!haveInk) {
                ink = g;
                haveInk = true;
            } else {
                ink.left = std::min(ink.left, g.left);
                ink.right = std::max(ink.right, g.right);
                ink.bottom = std::min(ink.bottom, g.bottom);
                ink.top = std::max(ink.top, g.top);
            }
        }
        pen += gm.advance * scale * widthFactor;
    }
    m.advance = pen;
    finishBoxes(m, height, format.oblique, haveInk, ink);
    return m;
}

} // namespace fendo::fonts
