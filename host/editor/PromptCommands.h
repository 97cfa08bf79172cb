// The command prompt: host commands typed there (HELP, APPLOAD, ARX, and those the program
// and other host parts register: SAVE, SAVEAS, QUIT ...), and the loop that reads command
// names and runs them, module commands first.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fendo::editor {

// `argument` is the rest of the typed line after the name, trimmed ("SAVEAS out.dxf" gives
// "out.dxf"); when it is empty the command asks for what it needs.
using PromptCommandHandler = std::function<void(std::wstring_view argument)>;

struct PromptCommand {
    std::wstring name;     // upper case
    std::wstring summary;  // one line for HELP
    PromptCommandHandler handler;
};

// Adds or replaces a host command. Names are case-insensitive.
void registerPromptCommand(std::wstring_view name, std::wstring_view summary, PromptCommandHandler handler);
void unregisterPromptCommand(std::wstring_view name);
const PromptCommand* findPromptCommand(std::wstring_view name);
// Sorted by name.
std::vector<const PromptCommand*> promptCommands();

// Runs one line typed at the command prompt: a module command by local or global name, else
// a host command, else a command of the acedCommand table (REDRAW); an unknown name prints
// `Unknown command "NAME".  Press F1 for help.`. A leading '.' asks for the host's own command
// before a module's of the same name. Nothing a handler throws gets out.
void runCommandLine(std::wstring_view line);

// Asks the command loop to stop after the running command (QUIT, EXIT).
void requestSessionEnd();
bool sessionEndRequested();

// Reads commands with readCommand and runs them until the input ends or the session end
// is requested.
void runCommandLoop();

// Reads one text answer for a host command: `argument` when not empty, else asks `prompt`.
// False when the answer is cancelled or the input ends.
bool argumentOrAsk(std::wstring_view argument, std::wstring_view prompt, std::wstring& answer);

}  // namespace fendo::editor
