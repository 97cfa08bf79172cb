// Host commands reachable through acedCommand ("_.redraw" and any the host registers).
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/editor/AnswerGrammar.h"

namespace fendo::editor {

// One argument after the command name, as passed to acedCommand.
struct CommandArgument {
    int type = 0;  // RTSTR, RTREAL, RTPOINT, RTSHORT, ...
    std::wstring text;
    double real = 0.0;
    Point3 point{0.0, 0.0, 0.0};
    long integer = 0;
};

using HostCommand = std::function<int(const std::vector<CommandArgument>&)>;

// Names are matched case-insensitively without the "_" and "." prefixes.
void registerHostCommand(std::wstring_view name, HostCommand command);
void unregisterHostCommand(std::wstring_view name);

bool isHostCommand(std::wstring_view name);
// The registered names, upper case and sorted.
std::vector<std::wstring> hostCommandNames();

// Runs a command by name; RTERROR with the host's "Unknown command" line when it is unknown.
int runHostCommand(std::wstring_view name, const std::vector<CommandArgument>& args);

}  // namespace fendo::editor
