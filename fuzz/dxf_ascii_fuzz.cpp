// Fuzzes the ASCII DXF reader (and the writer on whatever it accepts), and checks that the
// file read a few bytes at a time through the reader's windows gives what it gives whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/DxfFuzzCommon.h"
#include "host/dxf/DxfTagReader.h"

namespace {

// The input handed out seven bytes a call.
class FewBytes : public fendo::dxf::DxfByteSource {
public:
    explicit FewBytes(std::string_view data) : m_data(data) {}
    long read(char *to, std::size_t room) override
    {
        const std::size_t n = std::min({room, std::size_t(7), m_data.size()});
        std::memcpy(to, m_data.data(), n);
        m_data.remove_prefix(n);
        return static_cast<long>(n);
    }

private:
    std::string_view m_data;
};

// The drawing saved again, or the message that refused it.
std::string savedOrMessage(std::string_view input, fendo::dxf::DxfByteSource *windows)
{
    AcDbDatabase db(false);
    std::string error;
    if (fendo::dxf::readDxfData(db, input, "fuzz.dxf", &error, windows, 32) != Acad::eOk) return "refused: " + error;
    char *buffer = nullptr;
    size_t size = 0;
    std::FILE *memory = ::open_memstream(&buffer, &size);
    if (!memory) std::abort();
    fendo::dxf::writeDxfStream(db, memory, {});
    std::fclose(memory);
    std::string saved(buffer, size);
    std::free(buffer);
    return saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    if (input.starts_with(fendo::dxf::DxfTagReader::kBinarySentinel)) return 0;  // the binary target's inputs
    fendo::fuzz::readAndRewrite(input);
    FewBytes windows(input);
    if (savedOrMessage(input, nullptr) != savedOrMessage(input, &windows)) {
        std::fprintf(stderr, "the file read in windows differs from the file read whole\n");
        std::abort();
    }
    return 0;
}
