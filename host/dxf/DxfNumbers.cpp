// The shortest text of a double for drawing files, as std::to_chars writes it.
#include <fmt/format.h>

#include <cmath>

#include "host/dxf/DxfOutput.h"

namespace fendo::dxf {

char* DxfOutput::formatShortest(char* out, double v)
{
    // Dragonbox takes finite values other than zero.
    if (v == 0.0 || !std::isfinite(v)) return formatWithToChars(out, v);
    // The shortest digits that read back to v, and the power of ten of their last one: v is
    // significand x 10^exponent. The digits carry no trailing zeros.
    const auto decimal = fmt::detail::dragonbox::to_decimal(v < 0 ? -v : v);
    if (decimal.exponent <= 0 && decimal.exponent > -400)
        if (char* end = fewDecimalsText(out, v < 0, decimal.significand, -decimal.exponent)) return end;
    return formatWithToChars(out, v);
}

}  // namespace fendo::dxf
