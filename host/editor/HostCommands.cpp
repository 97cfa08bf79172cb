// Host commands reachable through acedCommand.
#include "host/editor/HostCommands.h"

#include <map>

#include "host/core/adsdef.h"
#include "host/editor/Editor.h"

namespace fendo::editor {

namespace {
std::wstring commandKey(std::wstring_view name)
{
    name = trimBlanks(name);
    // "_" asks for the global name and "." for the built-in one; both are the same here.
    while (!name.empty() && (name.front() == L'_' || name.front() == L'.' || name.front() == L'\'')) {
        name.remove_prefix(1);
    }
    return toUpper(name);
}

std::map<std::wstring, HostCommand>& commands()
{
    static std::map<std::wstring, HostCommand> table = [] {
        std::map<std::wstring, HostCommand> t;
        // The view is redrawn: the temporary acedGrDraw vectors go.
        t[L"REDRAW"] = [](const std::vector<CommandArgument>&) {
            editor().vectors().clear();
            return RTNORM;
        };
        t[L"REDRAWALL"] = t[L"REDRAW"];
        return t;
    }();
    return table;
}
}  // namespace

void registerHostCommand(std::wstring_view name, HostCommand command)
{
    commands()[commandKey(name)] = std::move(command);
}

void unregisterHostCommand(std::wstring_view name)
{
    commands().erase(commandKey(name));
}

bool isHostCommand(std::wstring_view name)
{
    return commands().count(commandKey(name)) != 0;
}

std::vector<std::wstring> hostCommandNames()
{
    std::vector<std::wstring> names;
    for (const auto& [name, command] : commands()) names.push_back(name);
    return names;
}

int runHostCommand(std::wstring_view name, const std::vector<CommandArgument>& args)
{
    const auto it = commands().find(commandKey(name));
    if (it == commands().end()) {
        editor().write(L"\nUnknown command \"" + toUpper(trimBlanks(name)) + L"\".  Press F1 for help.");
        return RTERROR;
    }
    return it->second(args);
}

}  // namespace fendo::editor
