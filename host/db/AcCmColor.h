// Colours as the host keeps them: by layer (256), by block (0), an index 1..255, or a true colour.
#pragma once
#include <cstdint>
#include "host/core/AcadTypes.h"

namespace AcCm {
enum ColorMethod { kByLayer = 0xC0, kByBlock = 0xC1, kByColor = 0xC2, kByACI = 0xC3, kForeground = 0xC5, kNone = 0xC8 };
}

class AcCmEntityColor {
public:
    static constexpr Adesk::UInt16 kByBlockIndex = 0;
    static constexpr Adesk::UInt16 kByLayerIndex = 256;

    AcCmEntityColor() = default;
    // By index without an index means white (7), the colour of a new layer.
    AcCmEntityColor(AcCm::ColorMethod method)
        : m_index(method == AcCm::kByBlock ? 0 : (method == AcCm::kByACI ? 7 : 256)),
          m_method(static_cast<Adesk::UInt8>(method)) {}
    AcCmEntityColor(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) { setRGB(r, g, b); }

    AcCm::ColorMethod colorMethod() const { return static_cast<AcCm::ColorMethod>(m_method); }
    void setColorMethod(AcCm::ColorMethod m) { m_method = static_cast<Adesk::UInt8>(m); }
    bool isByLayer() const { return m_method == AcCm::kByLayer || (m_method == AcCm::kByACI && m_index == 256); }
    bool isByBlock() const { return m_method == AcCm::kByBlock || (m_method == AcCm::kByACI && m_index == 0); }
    bool isByACI() const { return m_method == AcCm::kByACI; }
    bool isByColor() const { return m_method == AcCm::kByColor; }

    // 0 by block, 256 by layer, 1..255 an index; for a true colour, the nearest index.
    Adesk::UInt16 colorIndex() const;
    void setColorIndex(Adesk::UInt16 index);
    void setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b);
    Adesk::UInt8 red() const { return m_r; }
    Adesk::UInt8 green() const { return m_g; }
    Adesk::UInt8 blue() const { return m_b; }
    // 0x00RRGGBB, for a true colour or the index's palette colour.
    std::uint32_t rgb() const;
    // The index a file gave beside a true colour (its stand-in for programs without true
    // colours), 256 when none; written back with the true colour. Setting a colour drops it.
    Adesk::UInt16 indexBesideRGB() const { return m_method == AcCm::kByColor ? m_index : kByLayerIndex; }
    void setIndexBesideRGB(Adesk::UInt16 index)
    {
        if (m_method == AcCm::kByColor) m_index = index;
    }

    bool operator==(const AcCmEntityColor& o) const;

    // The host's 256-entry index palette (entries 1..255 meaningful) as 0x00RRGGBB.
    static std::uint32_t lookUpRGB(Adesk::UInt8 index);
    static Adesk::UInt8 lookUpACI(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b);

private:
    // Six bytes: every entity holds one.
    Adesk::UInt16 m_index = 256;
    Adesk::UInt8 m_method = AcCm::kByLayer;
    Adesk::UInt8 m_r = 0, m_g = 0, m_b = 0;
};

class AcCmColor : public AcCmEntityColor {
public:
    AcCmColor() = default;
    AcCmColor(const AcCmEntityColor& c) : AcCmEntityColor(c) {}
    const AcCmEntityColor& entityColor() const { return *this; }
};
