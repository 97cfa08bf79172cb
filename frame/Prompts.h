// Loading the module's prompts and messages from its string table as text ready for host calls.
#pragma once

#include <string>

// The decoded text of string-table entry `id`; empty when the table has no such entry.
std::wstring LoadPrompt(int id);
