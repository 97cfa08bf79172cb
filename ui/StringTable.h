// The module's string table: prompts, messages, dialog titles and tool tips by id, each held in its
// stored TCVN3 form and decoded when loaded (LoadPrompt).
#pragma once

#include <span>

namespace fendo::ui {

struct StringTableEntry {
    int id;
    const char* text;  // TCVN3 bytes, 0-terminated
};

// Every entry, in ascending id order.
std::span<const StringTableEntry> stringTable();

// The stored text of entry `id`, or null when the table has no such entry.
const char* findStringTableEntry(int id);

}  // namespace fendo::ui
