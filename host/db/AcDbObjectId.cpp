// Handles in their hexadecimal file form, and the null object id.
#include "host/db/AcDbObjectId.h"

#include <cwchar>

const AcDbObjectId AcDbObjectId::kNull;

namespace {

int hexDigit(unsigned c)
{
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return -1;
}

// Parses up to 16 hex digits, surrounding blanks allowed; false on anything else.
template <typename Char>
bool parseHex(const Char* s, size_t n, std::uint64_t& value)
{
    size_t i = 0;
    while (i < n && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
    while (n > i && (s[n - 1] == ' ' || s[n - 1] == '\t' || s[n - 1] == '\r')) --n;
    if (i == n || n - i > 16) return false;
    value = 0;
    for (; i < n; ++i) {
        const int d = hexDigit(static_cast<unsigned>(s[i]));
        if (d < 0) return false;
        value = (value << 4) | static_cast<unsigned>(d);
    }
    return true;
}

}  // namespace

AcDbHandle::AcDbHandle(const ACHAR* hex)
{
    std::uint64_t v = 0;
    if (hex && parseHex(hex, std::wcslen(hex), v)) m_value = v;
}

AcDbHandle AcDbHandle::fromHex(std::string_view hex, bool* ok)
{
    std::uint64_t v = 0;
    const bool good = parseHex(hex.data(), hex.size(), v);
    if (ok) *ok = good;
    return AcDbHandle(good ? v : 0);
}

std::string AcDbHandle::hex() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buf[17];
    int pos = 16;
    std::uint64_t v = m_value;
    do {
        buf[--pos] = kDigits[v & 0xF];
        v >>= 4;
    } while (v);
    return std::string(buf + pos, buf + 16);
}

void AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const
{
    if (!buffer || bufferLength == 0) return;
    const std::string h = hex();
    size_t i = 0;
    for (; i < h.size() && i + 1 < bufferLength; ++i) buffer[i] = static_cast<ACHAR>(h[i]);
    buffer[i] = 0;
}
