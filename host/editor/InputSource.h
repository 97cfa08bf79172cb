// Where the editor's answers come from: a script (file, standard input or a string) or a
// person at a terminal with line editing and history.
#pragma once
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fendo::editor {

enum class ReadResult { Line, EndOfInput };

class InputSource {
public:
    virtual ~InputSource() = default;
    // Reads the next answer into `line` (without the line end). An interactive source shows
    // `promptLine` (the last line of the prompt, UTF-8) itself; a script ignores it because the
    // editor has already printed the prompt.
    virtual ReadResult readLine(std::string_view promptLine, std::wstring& line) = 0;
    // True when a person answers: re-asks are not capped and the progress meter may draw.
    virtual bool interactive() const = 0;
    // True when each consumed answer is to be printed after its prompt, so that a script's log
    // reads like a terminal session.
    virtual bool echoesAnswers() const { return false; }
    // Where the last answer came from ("plot.scr:12"), for messages; empty when meaningless.
    virtual std::string position() const { return {}; }
};

enum class ScriptEcho { On, Off };

// One answer per line. Lines whose first non-blank character is '#' are comments; a trailing
// '\r' is dropped so that scripts written on Windows work; text is UTF-8 (a leading byte-order
// mark is ignored).
class ScriptInput : public InputSource {
public:
    // `path` "-" reads standard input. Returns null and fills `error` when the file cannot be opened.
    static std::unique_ptr<ScriptInput> fromFile(const std::string& path, std::string* error = nullptr,
                                                 ScriptEcho echo = ScriptEcho::On);
    // A script held in memory, mainly for tests.
    static std::unique_ptr<ScriptInput> fromString(std::string_view text, ScriptEcho echo = ScriptEcho::On);

    ReadResult readLine(std::string_view promptLine, std::wstring& line) override;
    bool interactive() const override { return false; }
    bool echoesAnswers() const override { return echo_ == ScriptEcho::On; }
    std::string position() const override;

    void setEcho(ScriptEcho echo) { echo_ = echo; }
    int lineNumber() const { return lineNumber_; }

private:
    ScriptInput(std::unique_ptr<std::istream> owned, std::istream* stream, std::string name, ScriptEcho echo);

    std::unique_ptr<std::istream> owned_;
    std::istream* stream_;
    std::string name_;
    ScriptEcho echo_;
    int lineNumber_ = 0;
};

// GNU readline. Ctrl-C while typing gives the answer "^C" (cancel); Ctrl-C during long work is
// remembered for acedUsrBrk. At the "Command:" prompt Tab completes command names and F1 runs
// HELP. The history is kept between sessions in historyFile().
class TerminalInput : public InputSource {
public:
    TerminalInput();
    ~TerminalInput() override;
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    ReadResult readLine(std::string_view promptLine, std::wstring& line) override;
    bool interactive() const override { return true; }

private:
    std::string history_;
};

// The names Tab completes at the "Command:" prompt (any letter case), asked at each completion.
void setCommandNameSource(std::function<std::vector<std::wstring>()> source);

// $XDG_STATE_HOME/fendo/history (~/.local/state/fendo/history without it); empty when neither
// that nor HOME is set.
std::string historyFile();

// True once after Ctrl-C was pressed outside a prompt (cleared by the call).
bool takeTerminalBreak();

}  // namespace fendo::editor
