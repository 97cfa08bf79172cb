// Fuzzes the binary DXF reader: every input is read as the bytes after the
// binary sentinel (inputs that already start with it, such as binary files of
// the seed corpus, as they are).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/DxfFuzzCommon.h"
#include "host/dxf/DxfTagReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    if (input.starts_with(fendo::dxf::DxfTagReader::kBinarySentinel)) {
        fendo::fuzz::readAndRewrite(input);
    } else {
        std::string file(fendo::dxf::DxfTagReader::kBinarySentinel);
        file.append(input);
        fendo::fuzz::readAndRewrite(file);
    }
    return 0;
}
