// TCVN3 and VNI decoding and encoding, and the bytes behind texts as drawings
// keep them.
#include "host/core/VietEncodings.h"

#include <array>
#include <map>
#include <unordered_map>

#include "host/dxf/CodePageTables.h"

namespace fendo::viet
{
namespace
{

// One vowel in its six tones (none, grave, hook above, tilde, acute, dot
// below), lower case, with the VNI bytes of each. Capitals are made from these:
// each letter's capital, each byte's Latin-1 capital (VNI's capital marks sit
// 0x20 below the small ones, as Latin-1 capitals do).
struct VniRow {
    std::array<wchar_t, 6> letters;
    std::array<const char*, 6> bytes;
};

constexpr VniRow kVniRows[] = {
    {{L'a', L'\u00E0', L'\u1EA3', L'\u00E3', L'\u00E1', L'\u1EA1'}, {"a", "a\xF8", "a\xFB", "a\xF5", "a\xF9", "a\xEF"}},
    {{L'\u0103', L'\u1EB1', L'\u1EB3', L'\u1EB5', L'\u1EAF', L'\u1EB7'},
     {"a\xEA", "a\xE8", "a\xFA", "a\xFC", "a\xE9", "a\xEB"}},
    {{L'\u00E2', L'\u1EA7', L'\u1EA9', L'\u1EAB', L'\u1EA5', L'\u1EAD'},
     {"a\xE2", "a\xE0", "a\xE5", "a\xE3", "a\xE1", "a\xE4"}},
    {{L'e', L'\u00E8', L'\u1EBB', L'\u1EBD', L'\u00E9', L'\u1EB9'}, {"e", "e\xF8", "e\xFB", "e\xF5", "e\xF9", "e\xEF"}},
    {{L'\u00EA', L'\u1EC1', L'\u1EC3', L'\u1EC5', L'\u1EBF', L'\u1EC7'},
     {"e\xE2", "e\xE0", "e\xE5", "e\xE3", "e\xE1", "e\xE4"}},
    {{L'i', L'\u00EC', L'\u1EC9', L'\u0129', L'\u00ED', L'\u1ECB'}, {"i", "\xEC", "\xE6", "\xF3", "\xED", "\xF2"}},
    {{L'o', L'\u00F2', L'\u1ECF', L'\u00F5', L'\u00F3', L'\u1ECD'}, {"o", "o\xF8", "o\xFB", "o\xF5", "o\xF9", "o\xEF"}},
    {{L'\u00F4', L'\u1ED3', L'\u1ED5', L'\u1ED7', L'\u1ED1', L'\u1ED9'},
     {"o\xE2", "o\xE0", "o\xE5", "o\xE3", "o\xE1", "o\xE4"}},
    {{L'\u01A1', L'\u1EDD', L'\u1EDF', L'\u1EE1', L'\u1EDB', L'\u1EE3'},
     {"\xF4", "\xF4\xF8", "\xF4\xFB", "\xF4\xF5", "\xF4\xF9", "\xF4\xEF"}},
    {{L'u', L'\u00F9', L'\u1EE7', L'\u0169', L'\u00FA', L'\u1EE5'}, {"u", "u\xF8", "u\xFB", "u\xF5", "u\xF9", "u\xEF"}},
    {{L'\u01B0', L'\u1EEB', L'\u1EED', L'\u1EEF', L'\u1EE9', L'\u1EF1'},
     {"\xF6", "\xF6\xF8", "\xF6\xFB", "\xF6\xF5", "\xF6\xF9", "\xF6\xEF"}},
    {{L'y', L'\u1EF3', L'\u1EF7', L'\u1EF9', L'\u00FD', L'\u1EF5'}, {"y", "y\xF8", "y\xFB", "y\xF5", "y\xF9", "\xEE"}},
};
constexpr wchar_t kSmallDStroke = L'\u0111';
constexpr char kVniSmallDStroke = '\xF1';

char latin1Upper(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
    return byte;
}

struct VniTables {
    std::map<std::string, wchar_t> decode;  // one or two bytes -> letter
    std::unordered_map<wchar_t, std::string> encode;

    VniTables()
    {
        auto add = [&](wchar_t letter, std::string bytes) {
            if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80) return;  // plain ASCII vowel
            decode.emplace(bytes, letter);
            encode.emplace(letter, bytes);
        };
        for (const VniRow& row : kVniRows)
            for (std::size_t tone = 0; tone < row.letters.size(); ++tone) {
                std::string small = row.bytes[tone];
                std::string capital = small;
                for (char& b : capital)
                    b = latin1Upper(b);
                add(row.letters[tone], small);
                add(toUpperLetter(row.letters[tone]), capital);
            }
        add(kSmallDStroke, std::string(1, kVniSmallDStroke));
        add(toUpperLetter(kSmallDStroke), std::string(1, latin1Upper(kVniSmallDStroke)));
    }
};

const VniTables& vniTables()
{
    static const VniTables tables;
    return tables;
}

const std::unordered_map<wchar_t, unsigned char>& tcvn3EncodeTable()
{
    static const auto table = [] {
        std::unordered_map<wchar_t, unsigned char> t;
        for (const auto& [byte, letter] : kTcvn3Letters)
            t.emplace(static_cast<wchar_t>(letter), byte);
        return t;
    }();
    return table;
}

const std::array<wchar_t, 256>& tcvn3DecodeTable()
{
    static const auto table = [] {
        std::array<wchar_t, 256> t{};
        for (std::size_t b = 0; b < t.size(); ++b)
            t[b] = storedText(std::string(1, static_cast<char>(b)))[0];
        for (const auto& [byte, letter] : kTcvn3Letters)
            t[byte] = static_cast<wchar_t>(letter);
        return t;
    }();
    return table;
}

// Characters of the code pages drawings store 8-bit text in, back to their
// bytes.
const std::unordered_map<wchar_t, unsigned char>& byteOfCharacter()
{
    static const auto table = [] {
        std::unordered_map<wchar_t, unsigned char> t;
        for (const std::uint16_t* page : {dxf::codepages::kCp1252, dxf::codepages::kCp1258})
            for (unsigned b = 0x80; b < 0x100; ++b)
                if (page[b - 0x80] != 0xFFFD)
                    t.emplace(static_cast<wchar_t>(page[b - 0x80]), static_cast<unsigned char>(b));
        for (unsigned b = 0x80; b < 0x100; ++b)
            t.emplace(static_cast<wchar_t>(b), static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

}  // namespace

wchar_t toUpperLetter(wchar_t c)
{
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<wchar_t>(c - 0x20);
    switch (c) {
    case L'\u0103':
    case L'\u0111':
    case L'\u0129':
    case L'\u0169':
    case L'\u01A1':
    case L'\u01B0':
        return static_cast<wchar_t>(c - 1);
    default:
        break;
    }
    // Latin Extended Additional pairs capitals (even) with small letters (odd).
    if (c >= 0x1EA0 && c <= 0x1EF9 && (c & 1)) return static_cast<wchar_t>(c - 1);
    return c;
}

std::wstring decode(std::string_view bytes, Encoding encoding)
{
    std::wstring out;
    out.reserve(bytes.size());
    switch (encoding) {
    case Encoding::Unicode:
        return storedText(bytes);
    case Encoding::Tcvn3:
    case Encoding::Tcvn3Capitals:
        for (char c : bytes) {
            const wchar_t letter = tcvn3DecodeTable()[static_cast<unsigned char>(c)];
            out.push_back(encoding == Encoding::Tcvn3Capitals ? toUpperLetter(letter) : letter);
        }
        return out;
    case Encoding::Vni: {
        const auto& table = vniTables().decode;
        for (std::size_t i = 0; i < bytes.size();) {
            bool matched = false;
            for (std::size_t n : {2, 1}) {
                if (i + n > bytes.size()) continue;
                const auto it = table.find(std::string(bytes.substr(i, n)));
                if (it == table.end()) continue;
                out.push_back(it->second);
                i += n;
                matched = true;
                break;
            }
            if (!matched) out += storedText(bytes.substr(i++, 1));
        }
        return out;
    }
    }
    return out;
}

std::string encode(std::wstring_view text, Encoding encoding, std::wstring* missing)
{
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    auto cannot = [&](wchar_t c) {
        if (missing && missing->find(c) == std::wstring::npos) missing->push_back(c);
        out.push_back('?');
    };
    for (wchar_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        switch (encoding) {
        case Encoding::Unicode: {
            const auto it = byteOfCharacter().find(c);
            if (it != byteOfCharacter().end())
                out.push_back(static_cast<char>(it->second));
            else
                cannot(c);
            break;
        }
        case Encoding::Tcvn3:
        case Encoding::Tcvn3Capitals: {
            const auto& table = tcvn3EncodeTable();
            auto it = table.end();
            if (encoding == Encoding::Tcvn3Capitals) {
                // A capital is written as its small letter, which the capitals font
                // draws as a capital.
                for (const auto& [byte, letter] : kTcvn3Letters)
                    if (letter != c && toUpperLetter(static_cast<wchar_t>(letter)) == c) {
                        it = table.find(static_cast<wchar_t>(letter));
                        break;
                    }
            }
            if (it == table.end()) it = table.find(c);
            if (it != table.end())
                out.push_back(static_cast<char>(it->second));
            else if (const auto plain = byteOfCharacter().find(c);
                     plain != byteOfCharacter().end() && tcvn3DecodeTable()[plain->second] == c)
                out.push_back(static_cast<char>(plain->second));  // a symbol TCVN3 keeps (degree sign ...)
            else
                cannot(c);
            break;
        }
        case Encoding::Vni: {
            const auto& table = vniTables().encode;
            if (const auto it = table.find(c); it != table.end()) {
                out += it->second;
                break;
            }
            const auto plain = byteOfCharacter().find(c);
            if (plain != byteOfCharacter().end() && vniTables().decode.count(std::string(1, plain->second)) == 0)
                out.push_back(static_cast<char>(plain->second));
            else
                cannot(c);
            break;
        }
        }
    }
    return out;
}

std::optional<std::string> storedBytes(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto& table = byteOfCharacter();
    for (wchar_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const auto it = table.find(c);
        if (it == table.end()) return std::nullopt;
        out.push_back(static_cast<char>(it->second));
    }
    return out;
}

std::wstring storedText(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const std::uint16_t cp1252 = b < 0x80 ? b : dxf::codepages::kCp1252[b - 0x80];
        out.push_back(static_cast<wchar_t>(cp1252 == 0xFFFD ? b : cp1252));
    }
    return out;
}

std::optional<std::wstring> decodeStored(std::wstring_view text, Encoding encoding)
{
    if (encoding == Encoding::Unicode) return std::nullopt;
    bool high = false;
    for (wchar_t c : text)
        high = high || c >= 0x80;
    if (!high) return std::nullopt;
    const std::optional<std::string> bytes = storedBytes(text);
    if (!bytes) return std::nullopt;
    return decode(*bytes, encoding);
}

}  // namespace fendo::viet
