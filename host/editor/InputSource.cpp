// Script and terminal answer sources.
#include "host/editor/InputSource.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <readline/history.h>
#include <readline/readline.h>
#include <unistd.h>

#include "host/editor/Utf8.h"

namespace fendo::editor {

// ---- ScriptInput -------------------------------------------------------------

ScriptInput::ScriptInput(std::unique_ptr<std::istream> owned, std::istream* stream, std::string name,
                         ScriptEcho echo)
    : owned_(std::move(owned))
    , stream_(stream)
    , name_(std::move(name))
    , echo_(echo)
{
}

std::unique_ptr<ScriptInput> ScriptInput::fromFile(const std::string& path, std::string* error,
                                                   ScriptEcho echo)
{
    if (path == "-") {
        return std::unique_ptr<ScriptInput>(new ScriptInput(nullptr, &std::cin, "<stdin>", echo));
    }
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open()) {
        if (error) {
            *error = "cannot open script " + path;
        }
        return nullptr;
    }
    std::istream* raw = file.get();
    return std::unique_ptr<ScriptInput>(new ScriptInput(std::move(file), raw, path, echo));
}

std::unique_ptr<ScriptInput> ScriptInput::fromString(std::string_view text, ScriptEcho echo)
{
    auto stream = std::make_unique<std::istringstream>(std::string(text));
    std::istream* raw = stream.get();
    return std::unique_ptr<ScriptInput>(new ScriptInput(std::move(stream), raw, "<script>", echo));
}

ReadResult ScriptInput::readLine(std::string_view, std::wstring& line)
{
    std::string raw;
    while (std::getline(*stream_, raw)) {
        ++lineNumber_;
        if (lineNumber_ == 1 && raw.starts_with("\xEF\xBB\xBF")) {
            raw.erase(0, 3);
        }
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        const auto first = raw.find_first_not_of(" \t");
        if (first != std::string::npos && raw[first] == '#') {
            continue;
        }
        line = fromUtf8(raw);
        return ReadResult::Line;
    }
    return ReadResult::EndOfInput;
}

std::string ScriptInput::position() const
{
    return name_ + ":" + std::to_string(lineNumber_);
}

// ---- TerminalInput -------------------------------------------------------------

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
volatile std::sig_atomic_t g_inPrompt = 0;
struct sigaction g_previousSigint;

void onSigint(int)
{
    g_interrupted = 1;
}

// readline's key reader, made to give up when Ctrl-C interrupts the read: the line is emptied
// and ended, and the caller turns the interruption into a cancel. (readline's own reader would
// retry the read and swallow the next key.)
int interruptibleGetc(FILE* stream)
{
    for (;;) {
        unsigned char c = 0;
        const ssize_t n = ::read(fileno(stream), &c, 1);
        if (n == 1) {
            return c;
        }
        if (n == 0 || errno != EINTR) {
            return EOF;
        }
        if (g_interrupted) {
            rl_replace_line("", 0);
            return '\n';
        }
    }
}
}  // namespace

namespace {
std::function<std::vector<std::wstring>()>& commandNameSource()
{
    static std::function<std::vector<std::wstring>()> source;
    return source;
}

// The prompt line readline is showing, to tell the command prompt from the others.
std::string& shownPrompt()
{
    static std::string prompt;
    return prompt;
}

bool atCommandPrompt()
{
    const std::string& prompt = shownPrompt();
    return prompt.size() >= 9 && prompt.compare(prompt.size() - 9, 9, "Command: ") == 0;
}

std::vector<std::string>& completionMatches()
{
    static std::vector<std::string> matches;
    return matches;
}

char* nextCommandName(const char* text, int state)
{
    auto& matches = completionMatches();
    if (state == 0) {
        matches.clear();
        std::wstring typed = fromUtf8(text);
        for (auto& c : typed) c = static_cast<wchar_t>(std::towupper(c));
        if (commandNameSource())
            for (std::wstring name : commandNameSource()()) {
                for (auto& c : name) c = static_cast<wchar_t>(std::towupper(c));
                if (name.compare(0, typed.size(), typed) == 0) matches.push_back(toUtf8(name));
            }
    }
    const auto index = static_cast<std::size_t>(state);
    return index < matches.size() ? strdup(matches[index].c_str()) : nullptr;
}

// Tab on the first word at the command prompt completes command names; elsewhere readline's
// own file name completion serves (SAVEAS, RENDER, APPLOAD paths).
char** completeCommandName(const char* text, int start, int)
{
    if (start != 0 || !atCommandPrompt()) return nullptr;
    rl_attempted_completion_over = 1;
    return rl_completion_matches(text, nextCommandName);
}

// F1 at the command prompt answers HELP, as the "Unknown command" line promises.
int helpKey(int, int)
{
    if (!atCommandPrompt()) return rl_ding();
    rl_replace_line("HELP", 0);
    rl_point = rl_end;
    return rl_newline(1, '\n');
}
}  // namespace

void setCommandNameSource(std::function<std::vector<std::wstring>()> source)
{
    commandNameSource() = std::move(source);
}

std::string historyFile()
{
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        base = state;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "state";
    else
        return {};
    return (base / "fendo" / "history").string();
}

namespace {
constexpr int kHistoryLines = 1000;
}  // namespace

TerminalInput::TerminalInput()
{
    struct sigaction action { };
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked read must see the interruption
    sigaction(SIGINT, &action, &g_previousSigint);
    rl_catch_signals = 0;  // our handler alone sees Ctrl-C
    rl_getc_function = interruptibleGetc;
    rl_attempted_completion_function = completeCommandName;
    rl_add_defun("fendo-help", helpKey, -1);
    for (const char* f1 : {"\\eOP", "\\e[11~", "\\e[[A"}) rl_bind_keyseq(f1, helpKey);
    using_history();
    history_ = historyFile();
    if (!history_.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(history_).parent_path(), ec);
        read_history(history_.c_str());
        // append_history needs the file to be there.
        std::ofstream(history_, std::ios::app).close();
    }
}

TerminalInput::~TerminalInput()
{
    if (!history_.empty()) history_truncate_file(history_.c_str(), kHistoryLines);
    rl_getc_function = rl_getc;
    sigaction(SIGINT, &g_previousSigint, nullptr);
}

ReadResult TerminalInput::readLine(std::string_view promptLine, std::wstring& line)
{
    std::fflush(stdout);
    g_interrupted = 0;
    g_inPrompt = 1;
    shownPrompt() = std::string(promptLine);
    char* text = readline(shownPrompt().c_str());
    g_inPrompt = 0;
    if (g_interrupted) {
        g_interrupted = 0;
        std::free(text);
        line = L"^C";
        return ReadResult::Line;
    }
    if (!text) {
        std::fputc('\n', stdout);  // Ctrl-D leaves the cursor after the prompt
        return ReadResult::EndOfInput;
    }
    if (*text) {
        add_history(text);
        // Written at once, so a session that ends abruptly keeps what was typed.
        if (!history_.empty()) append_history(1, history_.c_str());
    }
    line = fromUtf8(text);
    std::free(text);
    return ReadResult::Line;
}

bool takeTerminalBreak()
{
    if (g_interrupted && !g_inPrompt) {
        g_interrupted = 0;
        return true;
    }
    return false;
}

}  // namespace fendo::editor
