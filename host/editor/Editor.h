// The editor: the one place that reads answers and writes prompts and messages for the
// host's C-style input and output functions (acedGetPoint, acutPrintf ...).
#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/editor/AnswerGrammar.h"
#include "host/editor/InputSource.h"

namespace fendo::editor {

// acedInitGet state: flags and keywords, consumed by the next get call.
struct InitGetState {
    int flags = 0;
    KeywordList keywords;
};

enum class AnswerStatus {
    Text,        // an answer (possibly empty)
    Cancel,      // "^C" typed
    EndOfInput,  // the script or terminal is exhausted; the session is over
};

// A temporary vector drawn with acedGrDraw; kept until a redraw.
struct GrVector {
    Point3 from;
    Point3 to;
    int color = 0;
    int highlight = 0;
};

class Editor {
public:
    Editor();

    // ---- input -----------------------------------------------------------------
    // Replaces the answer source (null: answers end at once). Clears the exhausted state.
    void setInput(std::unique_ptr<InputSource> input);
    InputSource* input() const { return input_.get(); }
    bool interactive() const { return input_ && input_->interactive(); }

    // Prints `prompt` and reads one answer. "^C" gives Cancel; running out of input gives
    // EndOfInput and marks the input exhausted, after which every ask ends at once.
    AnswerStatus ask(std::wstring_view prompt, std::wstring& answer);
    bool inputExhausted() const { return exhausted_; }

    // Bad answers from a script are re-asked this many times, then the request is cancelled,
    // so that a wrong script cannot loop for ever. A person is asked until he answers.
    int scriptRetryLimit() const { return retryLimit_; }
    void setScriptRetryLimit(int limit) { retryLimit_ = limit; }

    // ---- output ----------------------------------------------------------------
    // Output goes to `file` (stdout by default) or, for tests, into `capture`.
    void setOutput(std::FILE* file);
    void captureOutput(std::string* capture);
    // Writes text as UTF-8. A leading newline right after an answer is dropped: the answer's
    // own line end already started the new line, as on the host's command line.
    void write(std::wstring_view text);
    // Ends the current output line if something is on it (at the end of a session).
    void finishLine();

    // ---- request state ------------------------------------------------------------
    void setInitGet(int flags, const wchar_t* keywordList);
    // Returns the pending acedInitGet state and clears it.
    InitGetState takeInitGet();

    const Point3& lastPoint() const { return lastPoint_; }
    void setLastPoint(const Point3& p) { lastPoint_ = p; }

    // The keyword or arbitrary text of the last get, for acedGetInput.
    const std::wstring& lastInput() const { return lastInput_; }
    void setLastInput(std::wstring text) { lastInput_ = std::move(text); }

    // A user break (Ctrl-C during long work) waiting for acedUsrBrk.
    void requestBreak() { breakPending_ = true; }
    bool takeBreak();

    // The command repeated by an empty line at the command prompt.
    const std::wstring& lastCommand() const { return lastCommand_; }
    void setLastCommand(std::wstring name)
    {
        priorCommand_ = std::move(lastCommand_);
        lastCommand_ = std::move(name);
    }
    // A name that turned out to be unknown is not repeated: the one before it is again.
    void forgetLastCommand() { lastCommand_ = priorCommand_; }

    std::vector<GrVector>& vectors() { return vectors_; }

    // Back to a fresh session: no input, stdout, no pending state. For tests and new drawings.
    void reset();

private:
    void emit(std::string_view utf8);

    std::unique_ptr<InputSource> input_;
    std::FILE* file_ = stdout;
    std::string* capture_ = nullptr;
    bool swallowNewline_ = false;
    bool lineOpen_ = false;
    bool exhausted_ = false;
    int retryLimit_ = 3;
    InitGetState initGet_;
    Point3 lastPoint_{0.0, 0.0, 0.0};
    std::wstring lastInput_;
    bool breakPending_ = false;
    std::wstring lastCommand_;
    std::wstring priorCommand_;
    std::vector<GrVector> vectors_;
};

Editor& editor();

// Prints "\nCommand: " and reads the next command name. An empty line repeats the last
// command; "^C" asks again. Returns false when the input is exhausted.
bool readCommand(std::wstring& name);

}  // namespace fendo::editor
