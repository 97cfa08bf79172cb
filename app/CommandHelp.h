// HELP at the command prompt: one line per command grouped by family, and HELP NAME with the whole
// description and an example. The descriptions are rows of one table (CommandHelp.cpp).
#pragma once
#include <span>
#include <string_view>

namespace fendo::app {

struct CommandHelp {
    const wchar_t* name;     // as typed (local name for module commands)
    const wchar_t* family;   // the heading it is listed under, as in the README
    const wchar_t* summary;  // one line for the list
    const wchar_t* details;  // the whole description for HELP NAME
    const wchar_t* example;  // lines to type, separated by '\n'
};

// Every row, families in the order they are listed.
std::span<const CommandHelp> commandHelpTable();
// The row of a name (any letter case, local or TEMPLATE_ global name), or null.
const CommandHelp* findCommandHelp(std::wstring_view name);

// Registers HELP [NAME] at the command prompt (replacing the host's plain list).
void registerHelpCommand();

}  // namespace fendo::app
