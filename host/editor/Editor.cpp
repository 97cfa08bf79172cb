// The editor singleton: answer source, output sink and the state shared by the get calls.
#include "host/editor/Editor.h"

#include "host/editor/Utf8.h"

namespace fendo::editor {

Editor::Editor() = default;

Editor& editor()
{
    static Editor instance;
    return instance;
}

void Editor::setInput(std::unique_ptr<InputSource> input)
{
    input_ = std::move(input);
    exhausted_ = false;
}

void Editor::setOutput(std::FILE* file)
{
    file_ = file ? file : stdout;
    capture_ = nullptr;
}

void Editor::captureOutput(std::string* capture)
{
    capture_ = capture;
}

void Editor::emit(std::string_view utf8)
{
    if (utf8.empty()) {
        return;
    }
    if (capture_) {
        capture_->append(utf8);
    } else {
        std::fwrite(utf8.data(), 1, utf8.size(), file_);
    }
    lineOpen_ = utf8.back() != '\n';
}

void Editor::write(std::wstring_view text)
{
    if (text.empty()) {
        return;
    }
    if (swallowNewline_ && text.front() == L'\n') {
        text.remove_prefix(1);
    }
    swallowNewline_ = false;
    emit(toUtf8(text));
}

void Editor::finishLine()
{
    if (lineOpen_) {
        emit("\n");
    }
    if (!capture_) {
        std::fflush(file_);
    }
}

AnswerStatus Editor::ask(std::wstring_view prompt, std::wstring& answer)
{
    answer.clear();
    if (exhausted_ || !input_) {
        exhausted_ = true;
        return AnswerStatus::EndOfInput;
    }
    ReadResult result;
    if (input_->interactive() && !capture_) {
        // readline draws the last prompt line itself so that editing redraws it correctly.
        const auto cut = prompt.rfind(L'\n');
        const auto head = cut == std::wstring_view::npos ? std::wstring_view{} : prompt.substr(0, cut + 1);
        const auto tail = cut == std::wstring_view::npos ? prompt : prompt.substr(cut + 1);
        write(head);
        swallowNewline_ = false;
        std::fflush(file_);
        result = input_->readLine(toUtf8(tail), answer);
        lineOpen_ = false;
    } else {
        write(prompt);
        result = input_->readLine({}, answer);
        if (result == ReadResult::Line && input_->echoesAnswers()) {
            emit(toUtf8(answer));
        }
        if (result == ReadResult::Line) {
            emit("\n");
        }
    }
    if (result == ReadResult::EndOfInput) {
        exhausted_ = true;
        return AnswerStatus::EndOfInput;
    }
    swallowNewline_ = true;
    if (equalsNoCase(trimBlanks(answer), L"^C")) {
        return AnswerStatus::Cancel;
    }
    return AnswerStatus::Text;
}

void Editor::setInitGet(int flags, const wchar_t* keywordList)
{
    initGet_.flags = flags;
    initGet_.keywords = KeywordList(keywordList ? std::wstring_view(keywordList) : std::wstring_view{});
}

InitGetState Editor::takeInitGet()
{
    InitGetState state = std::move(initGet_);
    initGet_ = InitGetState{};
    return state;
}

bool Editor::takeBreak()
{
    if (takeTerminalBreak()) {
        breakPending_ = true;
    }
    const bool pending = breakPending_;
    breakPending_ = false;
    return pending;
}

void Editor::reset()
{
    input_.reset();
    file_ = stdout;
    capture_ = nullptr;
    swallowNewline_ = false;
    lineOpen_ = false;
    exhausted_ = false;
    retryLimit_ = 3;
    initGet_ = InitGetState{};
    lastPoint_ = {0.0, 0.0, 0.0};
    lastInput_.clear();
    breakPending_ = false;
    lastCommand_.clear();
    priorCommand_.clear();
    vectors_.clear();
}

bool readCommand(std::wstring& name)
{
    Editor& ed = editor();
    ed.takeInitGet();  // a get left unused by the last command must not leak into the next
    for (;;) {
        std::wstring answer;
        const auto status = ed.ask(L"\nCommand: ", answer);
        if (status == AnswerStatus::EndOfInput) {
            return false;
        }
        if (status == AnswerStatus::Cancel) {
            ed.write(L"*Cancel*");
            continue;
        }
        const auto typed = trimBlanks(answer);
        if (typed.empty()) {
            if (ed.lastCommand().empty()) {
                continue;
            }
            name = ed.lastCommand();
            return true;
        }
        name = std::wstring(typed);
        ed.setLastCommand(name);
        return true;
    }
}

}  // namespace fendo::editor
