// Maps text style font names to installed outline font files through fontconfig.
#include "host/fonts/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace fendo::fonts {

namespace {

std::string toUtf8(std::wstring_view text)
{
    std::string out;
    for (wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Family names compared without case and blanks ("Times New Roman" == "timesnewroman").
std::string familyKey(std::string_view family)
{
    std::string key;
    for (unsigned char c : family)
        if (!std::isspace(c)) key += static_cast<char>(std::tolower(c));
    return key;
}

bool endsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

constexpr std::array kFontExtensions{".ttf", ".ttc", ".otf", ".otc", ".shx", ".pfb", ".pfm", ".fon"};
constexpr std::array kOutlineExtensions{".ttf", ".ttc", ".otf", ".otc"};

// Shape fonts that drawings name without extension.
constexpr std::array kShapeFontNames{"txt",     "simplex", "romans",  "romand",  "romanc", "romant",
                                     "italic",  "italicc", "italict", "complex", "isocp",  "isocp2",
                                     "isocp3",  "isoct",   "isoct2",  "isoct3",  "gdt",    "monotxt",
                                     "scripts", "scriptc", "greeks",  "greekc",  "gothice", "gothicg",
                                     "gothici", "syastro", "symap",   "symath",  "symeteo", "symusic",
                                     "bigfont", "chineset", "extfont"};

// Windows file stems to the family they hold, so that "times.ttf" finds Times New Roman (or its twin).
struct StemFamily {
    const char* stem;
    const char* family;
};
constexpr std::array kWindowsFontFiles{
    StemFamily{"arial", "Arial"},           StemFamily{"arialbd", "Arial"},
    StemFamily{"ariali", "Arial"},          StemFamily{"arialn", "Arial Narrow"},
    StemFamily{"times", "Times New Roman"}, StemFamily{"timesbd", "Times New Roman"},
    StemFamily{"timesi", "Times New Roman"}, StemFamily{"cour", "Courier New"},
    StemFamily{"courbd", "Courier New"},    StemFamily{"tahoma", "Tahoma"},
    StemFamily{"verdana", "Verdana"},       StemFamily{"calibri", "Calibri"},
    StemFamily{"cambria", "Cambria"},       StemFamily{"georgia", "Georgia"},
    StemFamily{"trebuc", "Trebuchet MS"},   StemFamily{"segoeui", "Segoe UI"},
    StemFamily{"time", "Times New Roman"}, // what remains of the TCVN3 family ".VnTime"
};

// Metric-compatible twins: a match on one of these keeps the widths of the named font.
struct FamilyTwins {
    const char* family;
    std::array<const char*, 2> twins;
};
constexpr std::array kMetricTwins{
    FamilyTwins{"Arial", {"Liberation Sans", "Arimo"}},
    FamilyTwins{"Times New Roman", {"Liberation Serif", "Tinos"}},
    FamilyTwins{"Courier New", {"Liberation Mono", "Cousine"}},
    FamilyTwins{"Calibri", {"Carlito", "Carlito"}},
    FamilyTwins{"Cambria", {"Caladea", "Caladea"}},
};

bool isOutlineFile(const std::string& path)
{
    const std::string l = lower(path);
    return std::any_of(kOutlineExtensions.begin(), kOutlineExtensions.end(),
                       [&](const char* ext) { return endsWith(l, ext); });
}

} // namespace

std::string fontNameStem(std::wstring_view fontFile)
{
    std::string name = toUtf8(fontFile);
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    // Drawings sometimes carry trailing blanks after the name.
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.pop_back();
    name = lower(name);
    for (const char* ext : kFontExtensions) {
        if (endsWith(name, ext)) {
            name.resize(name.size() - std::string_view(ext).size());
            break;
        }
    }
    return name;
}

bool isShapeFontName(std::wstring_view fontFile)
{
    std::string name = lower(toUtf8(fontFile));
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.pop_back();
    if (endsWith(name, ".shx")) return true;
    if (name.find('.') != std::string::npos && name.front() != '.') return false; // another extension
    const std::string stem = fontNameStem(fontFile);
    return std::any_of(kShapeFontNames.begin(), kShapeFontNames.end(),
                       [&](const char* shape) { return stem == shape; });
}

FontResolver::FontResolver(FontResolverOptions options) : m_options(std::move(options))
{
    m_config = m_options.systemFonts == SystemFonts::Use ? FcInitLoadConfigAndFonts() : FcConfigCreate();
    if (m_config && !m_options.extraFolder.empty())
        FcConfigAppFontAddDir(m_config, reinterpret_cast<const FcChar8*>(m_options.extraFolder.c_str()));
}

FontResolver::~FontResolver()
{
    if (m_config) FcConfigDestroy(m_config);
}

FontResolver& FontResolver::instance()
{
    static FontResolver shared([] {
        FontResolverOptions options;
        if (const char* dir = std::getenv(kFontDirVariable)) options.extraFolder = dir;
        return options;
    }());
    return shared;
}

void FontResolver::buildFileIndex()
{
    m_indexed = true;
    if (!m_options.extraFolder.empty()) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_options.extraFolder, ec)) {
            const std::string path = entry.path().string();
            if (!entry.is_regular_file(ec) || !isOutlineFile(path)) continue;
            m_folderFiles.emplace(lower(entry.path().stem().string()),
                                  ResolvedFont{path, 0, FontSource::FontFolder});
        }
    }
    if (!m_config || m_options.systemFonts == SystemFonts::Ignore) return;

    FcPattern* all = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
    FcFontSet* set = FcFontList(m_config, all, fields);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
            FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
            const std::string path = reinterpret_cast<const char*>(file);
            if (!isOutlineFile(path)) continue;
            const std::string stem = lower(std::filesystem::path(path).stem().string());
            // Keep the first face of a collection; it is the regular one.
            auto [it, inserted] = m_systemFiles.emplace(stem, ResolvedFont{path, index, FontSource::SystemFont});
            if (!inserted && index < it->second.faceIndex) it->second.faceIndex = index;
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(fields);
    FcPatternDestroy(all);
}

// Asks fontconfig for the family and keeps its answer only when the font found is that family or
// one of its metric twins; fontconfig otherwise returns its default font, which is no match.
ResolvedFont FontResolver::matchFamily(const std::string& family)
{
    if (!m_config || family.empty()) return {};
    std::vector<std::string> accepted{familyKey(family)};
    for (const auto& twins : kMetricTwins)
        if (familyKey(twins.family) == accepted.front())
            for (const char* twin : twins.twins) accepted.push_back(familyKey(twin));

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(m_config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(m_config, pattern, &result);
    ResolvedFont found;
    if (match) {
        bool familyMatches = false;
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
            const std::string key = familyKey(reinterpret_cast<const char*>(name));
            if (std::find(accepted.begin(), accepted.end(), key) != accepted.end()) familyMatches = true;
        }
        FcChar8* file = nullptr;
        int index = 0;
        if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            const std::string path = reinterpret_cast<const char*>(file);
            if (isOutlineFile(path)) found = ResolvedFont{path, index, FontSource::SystemFont};
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

ResolvedFont FontResolver::lookup(const std::string& stem)
{
    if (!m_indexed) buildFileIndex();
    if (auto it = m_folderFiles.find(stem); it != m_folderFiles.end()) return it->second;
    if (auto it = m_systemFiles.find(stem); it != m_systemFiles.end()) return it->second;
    if (auto found = matchFamily(stem); found.source != FontSource::None) return found;
    for (const auto& known : kWindowsFontFiles)
        if (stem == known.stem)
            if (auto found = matchFamily(known.family); found.source != FontSource::None) return found;
    return {};
}

const ResolvedFont& FontResolver::fallback()
{
    if (m_haveFallback) return m_fallback;
    m_haveFallback = true;
    m_fallback = matchFamily(kFallbackFamily);
    if (m_fallback.source == FontSource::None && m_config) {
        // Without the fallback family, any scalable sans font fontconfig offers will do.
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(m_config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(m_config, pattern, &result)) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                const std::string path = reinterpret_cast<const char*>(file);
                if (isOutlineFile(path)) m_fallback = ResolvedFont{path, index, FontSource::SystemFont};
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    if (m_fallback.source != FontSource::None) m_fallback.source = FontSource::Fallback;
    return m_fallback;
}

const ResolvedFont& FontResolver::resolve(std::wstring_view fontFile, std::wstring_view /*bigFontFile*/)
{
    for (const auto& [name, answer] : m_asked)
        if (name == fontFile) return *answer;
    std::string key = lower(toUtf8(fontFile));
    auto remember = [&](const ResolvedFont& answer) -> const ResolvedFont& {
        if (m_asked.size() < 64) m_asked.emplace_back(std::wstring(fontFile), &answer);
        return answer;
    };
    if (auto it = m_cache.find(key); it != m_cache.end()) return remember(it->second);

    ResolvedFont found;
    const std::string stem = fontNameStem(fontFile);
    if (!stem.empty() && !isShapeFontName(fontFile)) {
        found = lookup(stem);
        // TCVN3 families (".VnArial", ".VnTimeH") are Latin fonts with Vietnamese letters in place of
        // others; their widths follow the base family, upper-case variants ending in "H".
        if (found.source == FontSource::None && stem.starts_with(".vn") && stem.size() > 3) {
            std::string base = stem.substr(3);
            found = lookup(base);
            if (found.source == FontSource::None && base.size() > 1 && base.back() == 'h') {
                base.pop_back();
                found = lookup(base);
            }
        }
    }
    if (found.source == FontSource::None) found = fallback();
    return remember(m_cache.emplace(std::move(key), found).first->second);
}

} // namespace fendo::fonts
