// Finds the outline font file that stands in for a drawing's text style font.
// Drawings name fonts as the CAD host does ("arial.ttf", "Arial", "txt", "romans.shx"); this maps
// each name to a TrueType/OpenType file on this machine through fontconfig.
#pragma once

#include <map>
#include <vector>
#include <string>
#include <string_view>

using FcConfig = struct _FcConfig;

namespace fendo::fonts {

// Family used for shape fonts (.shx) and for names no installed font matches well.
inline constexpr const char* kFallbackFamily = "DejaVu Sans";
// Environment variable naming one extra folder of font files, searched before the system fonts.
inline constexpr const char* kFontDirVariable = "FENDO_FONT_DIR";

enum class FontSource {
    FontFolder,   // a file of the extra font folder whose name matches
    SystemFont,   // an installed font matching the name (file name, family or a metric twin)
    Fallback,     // the fallback family, for shape fonts and unmatched names
    None          // no outline font could be found at all
};

struct ResolvedFont {
    std::string path;  // empty when source is None
    int faceIndex = 0; // face inside a collection file (.ttc)
    FontSource source = FontSource::None;
};

enum class SystemFonts { Use, Ignore };

struct FontResolverOptions {
    std::string extraFolder;                  // empty: none
    SystemFonts systemFonts = SystemFonts::Use;
};

// Resolves font names and caches the answer per name. Not thread-safe: the host calls it from the
// user-interface thread only.
class FontResolver {
public:
    explicit FontResolver(FontResolverOptions options = {});
    ~FontResolver();
    FontResolver(const FontResolver&) = delete;
    FontResolver& operator=(const FontResolver&) = delete;

    // The shared resolver; its extra folder comes from FENDO_FONT_DIR, read on first use.
    static FontResolver& instance();

    // fontFile as the text style carries it; bigFontFile is accepted for completeness but plays no
    // part, since outline fonts carry their own wide characters.
    const ResolvedFont& resolve(std::wstring_view fontFile, std::wstring_view bigFontFile = {});
    const ResolvedFont& fallback();

private:
    ResolvedFont lookup(const std::string& stem);
    ResolvedFont matchFamily(const std::string& family);
    void buildFileIndex();

    FontResolverOptions m_options;
    FcConfig* m_config = nullptr;
    bool m_indexed = false;
    std::map<std::string, ResolvedFont> m_folderFiles; // lower-case file stem -> file
    std::map<std::string, ResolvedFont> m_systemFiles; // lower-case file stem -> file
    std::map<std::string, ResolvedFont> m_cache;       // lower-case name as given -> answer
    // Names asked as given, with their answers (nodes of m_cache): a drawing asks for a
    // handful of fonts text after text, and the lower-case key costs more than the answer.
    std::vector<std::pair<std::wstring, const ResolvedFont*>> m_asked;
    bool m_haveFallback = false;
    ResolvedFont m_fallback;
};

// The name reduced to what resolution compares: no folder, no font extension, lower case, UTF-8.
std::string fontNameStem(std::wstring_view fontFile);
// True for names of the host's shape fonts (".shx" files and the bare names of the common ones).
bool isShapeFontName(std::wstring_view fontFile);

} // namespace fendo::fonts
