// Fuzzes the ASCII DXF reader (and the writer on whatever it accepts).
#include <cstddef>
#include <cstdint>

#include "fuzz/DxfFuzzCommon.h"
#include "host/dxf/DxfTagReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    if (input.starts_with(fendo::dxf::DxfTagReader::kBinarySentinel)) return 0;  // the binary target's inputs
    fendo::fuzz::readAndRewrite(input);
    return 0;
}
