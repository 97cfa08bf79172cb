// Host-convention printf formatting (see the header for the conventions).
#include "host/editor/HostFormat.h"

#include <cstdint>
#include <cstdio>
#include <cwchar>

#include "host/editor/Utf8.h"

namespace fendo::editor {

namespace {

enum class Length { None, Char, Short, Long, LongLong, LongDouble, Size, Max, PtrDiff };

struct FormatSpec {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    wchar_t conversion = 0;
};

// Pads a converted string to the field width; counts characters, not bytes.
void appendPadded(std::wstring& out, std::wstring_view text, const FormatSpec& fmtSpec)
{
    if (fmtSpec.precision >= 0 && static_cast<int>(text.size()) > fmtSpec.precision) {
        text = text.substr(0, static_cast<std::size_t>(fmtSpec.precision));
    }
    const int pad =
        fmtSpec.width > static_cast<int>(text.size()) ? fmtSpec.width - static_cast<int>(text.size()) : 0;
    const bool left = fmtSpec.flags.find('-') != std::string::npos;
    if (!left) {
        out.append(static_cast<std::size_t>(pad), L' ');
    }
    out.append(text);
    if (left) {
        out.append(static_cast<std::size_t>(pad), L' ');
    }
}

// Formats one numeric value through the narrow C printf, whose numeric output is ASCII.
template <typename T>
void appendNumber(std::wstring& out, const FormatSpec& fmtSpec, const char* lengthText, char conversion, T value)
{
    std::string format = "%" + fmtSpec.flags;
    if (fmtSpec.width >= 0) {
        format += std::to_string(fmtSpec.width);
    }
    if (fmtSpec.precision >= 0) {
        format += "." + std::to_string(fmtSpec.precision);
    }
    format += lengthText;
    format += conversion;
    char small[128];
    const int needed = std::snprintf(small, sizeof small, format.c_str(), value);
    if (needed < 0) {
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, small + needed);
        return;
    }
    std::string big(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(big.data(), big.size(), format.c_str(), value);
    big.resize(static_cast<std::size_t>(needed));
    out.append(big.begin(), big.end());
}

}  // namespace

std::wstring formatHost(const wchar_t* format, va_list args)
{
    std::wstring out;
    if (!format) {
        return out;
    }
    va_list ap;
    va_copy(ap, args);
    const wchar_t* p = format;
    while (*p) {
        if (*p != L'%') {
            out.push_back(*p++);
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out.push_back(L'%');
            ++p;
            continue;
        }
        FormatSpec fmtSpec;
        while (*p && std::wcschr(L"-+ #0", *p)) {
            fmtSpec.flags.push_back(static_cast<char>(*p++));
        }
        if (*p == L'*') {
            fmtSpec.width = va_arg(ap, int);
            if (fmtSpec.width < 0) {
                fmtSpec.flags.push_back('-');
                fmtSpec.width = -fmtSpec.width;
            }
            ++p;
        } else {
            while (*p >= L'0' && *p <= L'9') {
                fmtSpec.width = (fmtSpec.width < 0 ? 0 : fmtSpec.width * 10) + (*p++ - L'0');
            }
        }
        if (*p == L'.') {
            ++p;
            fmtSpec.precision = 0;
            if (*p == L'*') {
                fmtSpec.precision = va_arg(ap, int);
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    fmtSpec.precision = fmtSpec.precision * 10 + (*p++ - L'0');
                }
            }
        }
        bool narrowText = false;
        bool wideText = false;
        if (p[0] == L'h' && p[1] == L'h') {
            fmtSpec.length = Length::Char, p += 2;
        } else if (*p == L'h') {
            fmtSpec.length = Length::Short, narrowText = true, ++p;
        } else if (p[0] == L'l' && p[1] == L'l') {
            fmtSpec.length = Length::LongLong, p += 2;
        } else if (*p == L'l' || *p == L'w') {
            fmtSpec.length = Length::Long, wideText = true, ++p;
        } else if (*p == L'L') {
            fmtSpec.length = Length::LongDouble, ++p;
        } else if (*p == L'z') {
            fmtSpec.length = Length::Size, ++p;
        } else if (*p == L'j') {
            fmtSpec.length = Length::Max, ++p;
        } else if (*p == L't') {
            fmtSpec.length = Length::PtrDiff, ++p;
        } else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            fmtSpec.length = Length::LongLong, p += 3;
        } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
            fmtSpec.length = Length::None, p += 3;
        } else if (*p == L'I') {
            fmtSpec.length = Length::Size, ++p;
        }
        fmtSpec.conversion = *p;
        if (!*p) {
            out.append(start);  // a lone '%' at the end is shown as typed
            break;
        }
        ++p;
        switch (fmtSpec.conversion) {
        case L'd':
        case L'i':
            switch (fmtSpec.length) {
            case Length::LongLong:
            case Length::Max:
                appendNumber(out, fmtSpec, "ll", 'd', static_cast<long long>(va_arg(ap, long long)));
                break;
            case Length::Long:
            case Length::Size:
            case Length::PtrDiff:
                appendNumber(out, fmtSpec, "l", 'd', static_cast<long>(va_arg(ap, long)));
                break;
            case Length::Short:
                appendNumber(out, fmtSpec, "", 'd', static_cast<int>(static_cast<short>(va_arg(ap, int))));
                break;
            case Length::Char:
                appendNumber(out, fmtSpec, "", 'd', static_cast<int>(static_cast<signed char>(va_arg(ap, int))));
                break;
            default:
                appendNumber(out, fmtSpec, "", 'd', va_arg(ap, int));
            }
            break;
        case L'u':
        case L'o':
        case L'x':
        case L'X': {
            const char conv = static_cast<char>(fmtSpec.conversion);
            switch (fmtSpec.length) {
            case Length::LongLong:
            case Length::Max:
                appendNumber(out, fmtSpec, "ll", conv, va_arg(ap, unsigned long long));
                break;
            case Length::Long:
            case Length::Size:
            case Length::PtrDiff:
                appendNumber(out, fmtSpec, "l", conv, va_arg(ap, unsigned long));
                break;
            case Length::Short:
                appendNumber(out, fmtSpec, "", conv,
                             static_cast<unsigned>(static_cast<unsigned short>(va_arg(ap, unsigned))));
                break;
            case Length::Char:
                appendNumber(out, fmtSpec, "", conv,
                             static_cast<unsigned>(static_cast<unsigned char>(va_arg(ap, unsigned))));
                break;
            default:
                appendNumber(out, fmtSpec, "", conv, va_arg(ap, unsigned));
            }
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            if (fmtSpec.length == Length::LongDouble) {
                appendNumber(out, fmtSpec, "L", static_cast<char>(fmtSpec.conversion), va_arg(ap, long double));
            } else {
                appendNumber(out, fmtSpec, "", static_cast<char>(fmtSpec.conversion), va_arg(ap, double));
            }
            break;
        case L'p': {
            FormatSpec plain = fmtSpec;
            appendNumber(out, plain, "", 'p', va_arg(ap, void*));
            break;
        }
        case L'c':
        case L'C': {
            const bool narrow = fmtSpec.conversion == L'C' ? !wideText : narrowText;
            const int value = narrow ? va_arg(ap, int) : static_cast<int>(va_arg(ap, wint_t));
            const wchar_t c = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(value))
                                     : static_cast<wchar_t>(value);
            appendPadded(out, std::wstring_view(&c, 1), fmtSpec);
            break;
        }
        case L's':
        case L'S': {
            const bool narrow = fmtSpec.conversion == L'S' ? !wideText : narrowText;
            if (narrow) {
                const char* s = va_arg(ap, const char*);
                appendPadded(out, s ? fromUtf8(s) : std::wstring(L"(null)"), fmtSpec);
            } else {
                const wchar_t* s = va_arg(ap, const wchar_t*);
                appendPadded(out, s ? std::wstring_view(s) : std::wstring_view(L"(null)"), fmtSpec);
            }
            break;
        }
        case L'n':
            (void)va_arg(ap, void*);  // never written: a format must not change memory
            break;
        default:
            out.append(start, p);  // unknown conversion: show it as typed
        }
    }
    va_end(ap);
    return out;
}

std::wstring formatHostV(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring out = formatHost(format, args);
    va_end(args);
    return out;
}

}  // namespace fendo::editor
