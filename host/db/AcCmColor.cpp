// Entity colours and the 256-entry index palette.
#include "host/db/AcCmColor.h"

#include <array>

namespace {

// The index palette: 1..9 the named colours, 10..249 twenty-four hues 15 degrees apart,
// each as five values (255, 165, 127, 76, 38) at full and at half saturation, 250..255
// six greys from dark to white.
std::array<std::uint32_t, 256> buildPalette()
{
    std::array<std::uint32_t, 256> p{};
    auto rgb = [](unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; };
    p[0] = rgb(0, 0, 0);
    p[1] = rgb(255, 0, 0);
    p[2] = rgb(255, 255, 0);
    p[3] = rgb(0, 255, 0);
    p[4] = rgb(0, 255, 255);
    p[5] = rgb(0, 0, 255);
    p[6] = rgb(255, 0, 255);
    p[7] = rgb(255, 255, 255);
    p[8] = rgb(128, 128, 128);
    p[9] = rgb(192, 192, 192);
    static constexpr unsigned kValues[5] = {255, 165, 127, 76, 38};
    for (int i = 10; i <= 249; ++i) {
        const int hue = ((i - 10) / 10) * 15;
        const unsigned v = kValues[(i % 10) / 2];
        const unsigned lo = (i % 2) ? v / 2 : 0;
        const double f = (hue % 60) / 60.0;
        const auto rising = static_cast<unsigned>(lo + (v - lo) * f);
        const auto falling = static_cast<unsigned>(v - (v - lo) * f);
        unsigned r = 0, g = 0, b = 0;
        switch (hue / 60) {
        case 0: r = v, g = rising, b = lo; break;
        case 1: r = falling, g = v, b = lo; break;
        case 2: r = lo, g = v, b = rising; break;
        case 3: r = lo, g = falling, b = v; break;
        case 4: r = rising, g = lo, b = v; break;
        default: r = v, g = lo, b = falling; break;
        }
        p[i] = rgb(r, g, b);
    }
    static constexpr unsigned kGreys[6] = {51, 91, 132, 173, 214, 255};
    for (int i = 0; i < 6; ++i) p[250 + i] = rgb(kGreys[i], kGreys[i], kGreys[i]);
    return p;
}

const std::array<std::uint32_t, 256>& palette()
{
    static const std::array<std::uint32_t, 256> p = buildPalette();
    return p;
}

}  // namespace

std::uint32_t AcCmEntityColor::lookUpRGB(Adesk::UInt8 index) { return palette()[index]; }

Adesk::UInt8 AcCmEntityColor::lookUpACI(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b)
{
    // Nearest palette entry by squared distance; the lowest index wins a tie.
    int best = 7;
    long bestDist = -1;
    for (int i = 1; i <= 255; ++i) {
        const std::uint32_t c = palette()[i];
        const long dr = static_cast<long>((c >> 16) & 0xFF) - r;
        const long dg = static_cast<long>((c >> 8) & 0xFF) - g;
        const long db = static_cast<long>(c & 0xFF) - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return static_cast<Adesk::UInt8>(best);
}

Adesk::UInt16 AcCmEntityColor::colorIndex() const
{
    switch (m_method) {
    case AcCm::kByLayer: return kByLayerIndex;
    case AcCm::kByBlock: return kByBlockIndex;
    case AcCm::kByACI: return m_index;
    case AcCm::kByColor: return lookUpACI(m_r, m_g, m_b);
    case AcCm::kForeground: return 7;
    case AcCm::kNone: return 0;
    }
    return m_index;
}

void AcCmEntityColor::setColorIndex(Adesk::UInt16 index)
{
    if (index == kByBlockIndex) {
        m_method = AcCm::kByBlock;
        m_index = 0;
    } else if (index >= kByLayerIndex) {
        m_method = AcCm::kByLayer;
        m_index = 256;
    } else {
        m_method = AcCm::kByACI;
        m_index = index;
    }
}

void AcCmEntityColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b)
{
    m_method = AcCm::kByColor;
    m_index = kByLayerIndex;
    m_r = r;
    m_g = g;
    m_b = b;
}

std::uint32_t AcCmEntityColor::rgb() const
{
    if (m_method == AcCm::kByColor) return (std::uint32_t(m_r) << 16) | (std::uint32_t(m_g) << 8) | m_b;
    if (m_method == AcCm::kByACI && m_index >= 1 && m_index <= 255) return lookUpRGB(static_cast<Adesk::UInt8>(m_index));
    if (m_method == AcCm::kForeground) return lookUpRGB(7);
    return 0;
}

bool AcCmEntityColor::operator==(const AcCmEntityColor& o) const
{
    if (isByLayer() || o.isByLayer()) return isByLayer() && o.isByLayer();
    if (isByBlock() || o.isByBlock()) return isByBlock() && o.isByBlock();
    if (m_method != o.m_method) return false;
    if (m_method == AcCm::kByColor) return m_r == o.m_r && m_g == o.m_g && m_b == o.m_b;
    return m_index == o.m_index;
}
