// Code page and escape decoding of drawing file text.
#include "host/dxf/CodePage.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>

#include "host/dxf/CodePageTables.h"

namespace fendo::dxf {

struct TextDecoder::Iconv {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    ~Iconv()
    {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

TextDecoder::TextDecoder() : m_table(codepages::kCp1252) {}
TextDecoder::~TextDecoder() = default;

void TextDecoder::setCodePage(std::string_view name)
{
    std::string upper;
    for (char c : name)
        if (c != ' ' && c != '\r') upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
    const std::string_view number = upper.starts_with("ANSI_") ? std::string_view(upper).substr(5) : upper;
    static const std::pair<std::string_view, const std::uint16_t*> kSingle[] = {
        {"1250", codepages::kCp1250}, {"1251", codepages::kCp1251}, {"1252", codepages::kCp1252},
        {"1253", codepages::kCp1253}, {"1254", codepages::kCp1254}, {"1255", codepages::kCp1255},
        {"1256", codepages::kCp1256}, {"1257", codepages::kCp1257}, {"1258", codepages::kCp1258},
        {"874", codepages::kCp874},
    };
    m_table = codepages::kCp1252;
    m_iconv.reset();
    for (const auto& [n, table] : kSingle)
        if (n == number) {
            m_table = table;
            return;
        }
    static const std::pair<std::string_view, const char*> kMulti[] = {
        {"932", "CP932"}, {"936", "CP936"}, {"949", "CP949"}, {"950", "CP950"}};
    for (const auto& [n, iconvName] : kMulti)
        if (n == number) {
            auto ic = std::make_unique<Iconv>();
            ic->cd = iconv_open("UTF-8", iconvName);
            if (ic->cd != reinterpret_cast<iconv_t>(-1)) m_iconv = std::move(ic);
            return;
        }
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += extra + 1;
    }
    return true;
}

std::string decodeUnicodeEscapes(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') && s[i + 2] == '+') {
            char32_t cp = 0;
            bool ok = true;
            for (int k = 3; k < 7; ++k) {
                const char c = s[i + k];
                int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                       : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
                if (d < 0) {
                    ok = false;
                    break;
                }
                cp = cp * 16 + static_cast<char32_t>(d);
            }
            if (ok) {
                appendUtf8(out, cp);
                i += 7;
                continue;
            }
        }
        out.push_back(s[i++]);
    }
    return out;
}

bool TextDecoder::needsDecoding(std::string_view text) const
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
        if (c == '\\' && !m_utf8) return true;
    }
    return false;
}

std::string TextDecoder::decode(std::string_view text) const
{
    bool high = false;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) high = true;
    if (m_utf8) {
        if (!high || isValidUtf8(text)) return std::string(text);
    }
    std::string out;
    if (!high) {
        out.assign(text);
    } else if (m_iconv && !m_utf8) {
        std::string in(text);
        out.resize(in.size() * 4 + 4);
        char* src = in.data();
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        iconv(m_iconv->cd, nullptr, nullptr, nullptr, nullptr);
        while (srcLeft > 0) {
            if (iconv(m_iconv->cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
                // An invalid byte reads as the replacement character and is skipped.
                if (dstLeft < 3) break;
                std::memcpy(dst, "\xEF\xBF\xBD", 3);
                dst += 3;
                dstLeft -= 3;
                ++src;
                --srcLeft;
            }
        }
        out.resize(out.size() - dstLeft);
    } else {
        const std::uint16_t* table = m_utf8 ? codepages::kCp1252 : m_table;
        out.reserve(text.size() + 8);
        for (char c : text) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80)
                out.push_back(c);
            else
                appendUtf8(out, table[b - 0x80]);
        }
    }
    if (!m_utf8 && out.find('\\') != std::string::npos) return decodeUnicodeEscapes(out);
    return out;
}

}  // namespace fendo::dxf
