// Encodings implied by Vietnamese 8-bit fonts and the table of fonts standing
// in for them.
#include "host/fonts/VietFonts.h"

#include <fstream>
#include <sstream>

#include "host/db/AcString.h"
#include "host/fonts/FontResolver.h"
#include "host/rx/ModuleLoader.h"

namespace fendo::fonts
{
namespace
{

constexpr const char* kTableFile = "/Data/VietFonts.ini";

constexpr const char* kBuiltInTable = R"(
[unicode]
vnarial* = arial.ttf | Arial
vnhelve* = arial.ttf | Arial
vni-helve* = arial.ttf | Arial
vni-arial* = arial.ttf | Arial
vncourier* = cour.ttf | Courier New
vni-couri* = cour.ttf | Courier New
* = times.ttf | Times New Roman
[tcvn3]
arial* = vnarial.ttf | .VnArial
cour* = vncour.ttf | .VnCourier New
* = vntime.ttf | .VnTime
)";

// '*' matches any run of characters; everything else itself.
bool wildcardMatch(std::string_view text, std::string_view pattern)
{
    std::size_t t = 0, p = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string vietFontKey(std::wstring_view fontFile)
{
    std::string key = fontNameStem(fontFile);
    while (!key.empty() && key.front() == '.')
        key.erase(0, 1);
    return key;
}

viet::Encoding encodingOfFont(std::wstring_view fontFile)
{
    const std::string key = vietFontKey(fontFile);
    if (key.starts_with("vni-") || key.starts_with("vni ") || key.starts_with("vni_")) return viet::Encoding::Vni;
    if (!key.starts_with("vn") || key.size() < 3) return viet::Encoding::Unicode;
    std::string_view rest(key);
    for (std::string_view style : {"bi", "b", "i"})
        if (rest.size() > style.size() + 1 && rest.ends_with(style) && rest[rest.size() - style.size() - 1] == 'h') {
            rest.remove_suffix(style.size());
            break;
        }
    return rest.ends_with('h') ? viet::Encoding::Tcvn3Capitals : viet::Encoding::Tcvn3;
}

bool VietFontTable::parse(std::string_view text, std::string* error)
{
    m_rows.clear();
    std::optional<FontDirection> section;
    int lineNumber = 0;
    std::istringstream in{std::string(text)};
    for (std::string raw; std::getline(in, raw);) {
        ++lineNumber;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        auto fail = [&](const std::string& what) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        if (line.front() == '[') {
            if (line == "[unicode]")
                section = FontDirection::ToUnicode;
            else if (line == "[tcvn3]")
                section = FontDirection::ToTcvn3;
            else
                return fail("expected [unicode] or [tcvn3], found " + std::string(line));
            continue;
        }
        if (!section) return fail("expected [unicode] or [tcvn3] before the first font");
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return fail("expected pattern = font file | family");
        std::string pattern(trimmed(line.substr(0, equals)));
        const std::string_view right = trimmed(line.substr(equals + 1));
        const std::size_t bar = right.find('|');
        const std::string_view file = trimmed(right.substr(0, bar));
        const std::string_view family =
            bar == std::string_view::npos ? std::string_view() : trimmed(right.substr(bar + 1));
        if (pattern.empty() || file.empty()) return fail("expected pattern = font file | family");
        for (char& c : pattern)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        while (!pattern.empty() && pattern.front() == '.')
            pattern.erase(0, 1);
        m_rows.push_back({*section, pattern, {fendo::fromUtf8(file), fendo::fromUtf8(family)}});
    }
    return true;
}

const char* VietFontTable::builtInText()
{
    return kBuiltInTable;
}

const VietFontTable& VietFontTable::installed()
{
    static const VietFontTable table = [] {
        VietFontTable t;
        std::ifstream file(fendo::rx::executableFolder() + kTableFile);
        std::stringstream text;
        text << file.rdbuf();
        if (!file || !t.parse(text.str())) t.parse(kBuiltInTable);
        return t;
    }();
    return table;
}

std::optional<FontChoice> VietFontTable::find(std::wstring_view fontFile, FontDirection direction) const
{
    const std::string key = vietFontKey(fontFile);
    for (const Row& row : m_rows)
        if (row.direction == direction && wildcardMatch(key, row.pattern)) return row.font;
    return std::nullopt;
}

DisplayText displayText(std::wstring_view text, std::wstring_view fontFile)
{
    const viet::Encoding encoding = encodingOfFont(fontFile);
    if (encoding == viet::Encoding::Unicode) return {std::wstring(text), std::wstring(fontFile)};
    const std::optional<FontChoice> font = VietFontTable::installed().find(fontFile, FontDirection::ToUnicode);
    const std::wstring file = font ? font->file : std::wstring(fontFile);
    std::optional<std::wstring> decoded = viet::decodeStored(text, encoding);
    return {decoded ? std::move(*decoded) : std::wstring(text), file};
}

}  // namespace fendo::fonts
