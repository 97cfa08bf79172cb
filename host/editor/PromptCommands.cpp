// The command prompt's dispatcher, its host commands and the command loop.
#include "host/editor/PromptCommands.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <variant>

#include "host/core/adsdef.h"
#include "host/editor/AnswerGrammar.h"
#include "host/editor/CommandStack.h"
#include "host/editor/Editor.h"
#include "host/editor/HostCommands.h"
#include "host/editor/HostFormat.h"
#include "host/editor/InputSource.h"
#include "host/editor/SysVars.h"
#include "host/editor/Utf8.h"
#include "host/rx/ModuleLoader.h"

namespace fendo::editor {

namespace {

bool gEndRequested = false;

std::wstring padded(std::wstring text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), L' ');
    return text;
}

void listCommands(std::wstring_view)
{
    Editor& ed = editor();
    const auto moduleCommands = acedRegCmds->commands();
    if (moduleCommands.empty()) {
        ed.write(L"\nNo module commands are loaded.");
    } else {
        std::size_t groupWidth = 5, localWidth = 5;
        for (const AcEdCommand* c : moduleCommands) {
            groupWidth = std::max(groupWidth, std::wstring_view(c->groupName()).size());
            localWidth = std::max(localWidth, std::wstring_view(c->localName()).size());
        }
        ed.write(L"\nModule commands (group, name, global name):");
        for (const AcEdCommand* c : moduleCommands)
            ed.write(L"\n  " + padded(c->groupName(), groupWidth + 2) + padded(c->localName(), localWidth + 2) +
                     c->globalName());
    }
    ed.write(L"\nHost commands:");
    std::size_t nameWidth = 0;
    for (const PromptCommand* c : promptCommands()) nameWidth = std::max(nameWidth, c->name.size());
    for (const PromptCommand* c : promptCommands())
        ed.write(L"\n  " + padded(c->name, nameWidth + 2) + c->summary);
}

fendo::rx::ModuleKind kindOf(const std::string& path)
{
    const std::string ext = toUtf8(toUpper(fromUtf8(std::filesystem::path(path).extension().string())));
    return ext == ".DBX" ? fendo::rx::ModuleKind::Companion : fendo::rx::ModuleKind::Module;
}

// A bare file name that is not in the current folder is looked for beside the program, where
// the module and its libraries are installed.
std::string resolveModulePath(const std::wstring& typed)
{
    const std::string path = toUtf8(typed);
    std::error_code ec;
    if (path.find('/') == std::string::npos && !std::filesystem::exists(path, ec)) {
        const std::string beside = fendo::rx::executableFolder() + "/" + path;
        if (std::filesystem::exists(beside, ec)) return beside;
    }
    return path;
}

void loadModuleCommand(std::wstring_view argument)
{
    std::wstring file;
    if (!argumentOrAsk(argument, L"\nFile to load: ", file)) return;
    const std::string path = resolveModulePath(file);
    std::string error;
    if (fendo::rx::ModuleLoader::instance().load(path, kindOf(path), &error))
        editor().write(L"\n" + fromUtf8(std::filesystem::path(path).filename().string()) + L" successfully loaded.");
    else
        editor().write(L"\n" + fromUtf8(error));
}

void unloadModuleCommand(std::wstring_view argument)
{
    std::wstring name;
    if (!argumentOrAsk(argument, L"\nName of the module to unload: ", name)) return;
    std::string error;
    if (fendo::rx::ModuleLoader::instance().unload(toUtf8(name), fendo::rx::UnloadMode::OnRequest, &error))
        editor().write(L"\n" + name + L" successfully unloaded.");
    else
        editor().write(L"\n" + fromUtf8(error));
}

void listModules()
{
    const auto& modules = fendo::rx::ModuleLoader::instance().modules();
    if (modules.empty()) editor().write(L"\nNo modules are loaded.");
    for (const auto& m : modules)
        editor().write(L"\n  " + padded(fromUtf8(m.name), 20) + fromUtf8(m.path) + (m.locked ? L"  (locked)" : L""));
}

// ARX [?|Load|Unload] [file]
void arxCommand(std::wstring_view argument)
{
    std::wstring option;
    std::wstring_view rest;
    argument = trimBlanks(argument);
    const auto blank = argument.find_first_of(L" \t");
    option = std::wstring(argument.substr(0, blank));
    if (blank != std::wstring_view::npos) rest = trimBlanks(argument.substr(blank));
    const KeywordList keywords(L"? Load Unload");
    for (int tries = 0;; ++tries) {
        if (option.empty() && !argumentOrAsk({}, L"\nEnter an option [?/Load/Unload]: ", option)) return;
        if (option == L"?") return listModules();
        if (const auto kw = keywords.match(option)) {
            if (*kw == L"Load") return loadModuleCommand(rest);
            if (*kw == L"Unload") return unloadModuleCommand(rest);
        }
        editor().write(L"\nInvalid option keyword.");
        if (!editor().interactive() && tries + 1 >= editor().scriptRetryLimit()) return;
        option.clear();
        rest = {};
    }
}

std::wstring describeValue(const SysVarValue& value)
{
    if (const auto* s = std::get_if<short>(&value)) return std::to_wstring(*s);
    if (const auto* d = std::get_if<double>(&value)) return formatHostV(L"%.4f", *d);
    if (const auto* text = std::get_if<std::wstring>(&value)) return L"\"" + *text + L"\"";
    const Point3& p = std::get<Point3>(value);
    return formatHostV(L"%.4f,%.4f,%.4f", p[0], p[1], p[2]);
}

// Sets the variable from typed text read as the kind of value it holds.
bool assignTyped(const std::wstring& name, const SysVarValue& current, std::wstring_view text)
{
    resbuf rb{};
    std::wstring copy(text);
    if (std::holds_alternative<short>(current)) {
        const auto n = parseInteger(text);
        // acedSetVar refuses what does not fit a short; larger values must not wrap first.
        if (!n || *n < -32768 || *n > 32767) return false;
        rb.restype = RTLONG;
        rb.resval.rlong = static_cast<std::int32_t>(*n);
    } else if (std::holds_alternative<double>(current)) {
        const auto d = parseNumber(text);
        if (!d) return false;
        rb.restype = RTREAL;
        rb.resval.rreal = *d;
    } else if (std::holds_alternative<std::wstring>(current)) {
        rb.restype = RTSTR;
        rb.resval.rstring = copy.data();
    } else {
        const auto p = parsePoint(text, Point3{0.0, 0.0, 0.0});
        if (!p) return false;
        rb.restype = RT3DPOINT;
        for (int i = 0; i < 3; ++i) rb.resval.rpoint[i] = (*p)[i];
    }
    return acedSetVar(name.c_str(), &rb) == RTNORM;
}

// SETVAR name [value]: shows a system variable's value and sets it to the value given or
// typed at the prompt (an empty answer keeps it).
void setVarCommand(std::wstring_view argument)
{
    argument = trimBlanks(argument);
    const auto blank = argument.find_first_of(L" \t");
    std::wstring name(argument.substr(0, blank));
    std::wstring value(blank == std::wstring_view::npos ? std::wstring_view{} : trimBlanks(argument.substr(blank)));
    if (name.empty() && !argumentOrAsk({}, L"\nEnter variable name: ", name)) return;
    name = toUpper(name);
    const auto current = getSysVar(name);
    if (!current) {
        editor().write(L"\nUnknown variable name.");
        return;
    }
    if (value.empty()) {
        std::wstring typed;
        if (editor().ask(L"\nEnter new value for " + name + L" <" + describeValue(*current) + L">: ", typed) !=
            AnswerStatus::Text)
            return;
        value = std::wstring(trimBlanks(typed));
        if (value.empty()) return;
    }
    if (!assignTyped(name, *current, value)) editor().write(L"\nCannot set " + name + L" to that value.");
}

std::map<std::wstring, PromptCommand>& table()
{
    static std::map<std::wstring, PromptCommand> commands = [] {
        std::map<std::wstring, PromptCommand> t;
        t[L"HELP"] = {L"HELP", L"lists the commands", listCommands};
        t[L"APPLOAD"] = {L"APPLOAD", L"loads a module or object library: APPLOAD path", loadModuleCommand};
        t[L"ARX"] = {L"ARX", L"lists, loads or unloads modules: ARX ? | ARX Load path | ARX Unload name",
                     arxCommand};
        t[L"SETVAR"] = {L"SETVAR", L"shows or sets a system variable: SETVAR name [value]", setVarCommand};
        return t;
    }();
    return commands;
}

bool runGuarded(const std::wstring& name, const PromptCommandHandler& handler, std::wstring_view argument)
{
    try {
        handler(argument);
        return true;
    } catch (const std::exception& e) {
        editor().write(L"\nError in command " + name + L": " + fromUtf8(e.what()));
    } catch (...) {
        editor().write(L"\nError in command " + name + L": unexpected failure.");
    }
    return false;
}

// Every name that runs something at the command prompt, for Tab completion.
std::vector<std::wstring> commandNames()
{
    std::vector<std::wstring> names = hostCommandNames();
    for (const AcEdCommand* c : acedRegCmds->commands()) names.push_back(c->localName());
    for (const auto& [key, command] : table()) names.push_back(key);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

[[maybe_unused]] const bool kCompletionSourceSet = [] {
    setCommandNameSource(commandNames);
    return true;
}();

}  // namespace

void registerPromptCommand(std::wstring_view name, std::wstring_view summary, PromptCommandHandler handler)
{
    const std::wstring key = toUpper(trimBlanks(name));
    table()[key] = PromptCommand{key, std::wstring(summary), std::move(handler)};
}

void unregisterPromptCommand(std::wstring_view name)
{
    table().erase(toUpper(trimBlanks(name)));
}

const PromptCommand* findPromptCommand(std::wstring_view name)
{
    const auto it = table().find(toUpper(trimBlanks(name)));
    return it == table().end() ? nullptr : &it->second;
}

std::vector<const PromptCommand*> promptCommands()
{
    std::vector<const PromptCommand*> list;
    for (const auto& [key, command] : table()) list.push_back(&command);
    return list;
}

void runCommandLine(std::wstring_view line)
{
    line = trimBlanks(line);
    if (line.empty()) return;
    const auto blank = line.find_first_of(L" \t");
    const std::wstring typed(line.substr(0, blank));
    const std::wstring_view argument = blank == std::wstring_view::npos ? std::wstring_view{} : trimBlanks(line.substr(blank));

    std::wstring_view bare = typed;
    bool builtInFirst = false;
    while (!bare.empty() && (bare.front() == L'_' || bare.front() == L'.')) {
        builtInFirst = builtInFirst || bare.front() == L'.';
        bare.remove_prefix(1);
    }
    const PromptCommand* hostCommand = findPromptCommand(bare);
    if (builtInFirst && hostCommand) {
        runGuarded(hostCommand->name, hostCommand->handler, argument);
        return;
    }
    if (const AcEdCommand* command = acedRegCmds->lookupCmd(typed.c_str())) {
        // A module command takes its answers on the lines that follow, so text after its
        // name would otherwise be lost without a word.
        if (!argument.empty())
            editor().write(L"\nIgnored after " + typed + L": \"" + std::wstring(argument) +
                           L"\" (answers go on their own lines).");
        invokeCommand(*command);
        return;
    }
    if (hostCommand) {
        runGuarded(hostCommand->name, hostCommand->handler, argument);
        return;
    }
    // Host commands of the acedCommand table (REDRAW ...); this also prints the host's
    // "Unknown command" line for a name nobody knows.
    std::vector<CommandArgument> args;
    if (!argument.empty()) {
        CommandArgument text;
        text.type = RTSTR;
        text.text = std::wstring(argument);
        args.push_back(text);
    }
    if (!isHostCommand(typed)) editor().forgetLastCommand();
    try {
        runHostCommand(typed, args);
    } catch (...) {
        editor().write(L"\nError in command " + toUpper(typed) + L": unexpected failure.");
    }
}

void requestSessionEnd()
{
    gEndRequested = true;
}

bool sessionEndRequested()
{
    return gEndRequested;
}

void runCommandLoop()
{
    gEndRequested = false;
    std::wstring line;
    while (!gEndRequested && readCommand(line)) runCommandLine(line);
    gEndRequested = false;
}

bool argumentOrAsk(std::wstring_view argument, std::wstring_view prompt, std::wstring& answer)
{
    argument = trimBlanks(argument);
    if (!argument.empty()) {
        answer = std::wstring(argument);
        return true;
    }
    std::wstring typed;
    if (editor().ask(prompt, typed) != AnswerStatus::Text) return false;
    answer = std::wstring(trimBlanks(typed));
    return !answer.empty();
}

}  // namespace fendo::editor
