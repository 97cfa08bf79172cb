// Prompt loading: the stored entry is read as 8-bit text, as the host's string loader would, and decoded.
#include "frame/Prompts.h"

#include "frame/Tcvn3.h"
#include "ui/StringTable.h"

#include <algorithm>
#include <cstring>

namespace {
// Size of the loader's buffer; an entry is cut to one byte less so the buffer stays 0-terminated.
constexpr std::size_t kPromptBufferSize = 256;
}  // namespace

std::wstring LoadPrompt(int id)
{
    const char* stored = fendo::ui::findStringTableEntry(id);
    if (stored == nullptr)
        return {};
    char buffer[kPromptBufferSize] = {};
    const std::size_t length = std::min(std::strlen(stored), kPromptBufferSize - 1);
    std::memcpy(buffer, stored, length);
    return DecodeTcvn3Text(std::string_view(buffer, length));
}
