// Message boxes answered on the command line.
#include "host/editor/MessageBox.h"

#include <string>
#include <vector>

#include "host/core/adsdef.h"
#include "host/editor/Editor.h"

using namespace fendo::editor;

namespace {

struct Button {
    const wchar_t* name;  // the answer that presses it
    int id;
};

std::vector<Button> buttonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{L"OK", IDOK}, {L"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{L"Abort", IDABORT}, {L"Retry", IDRETRY}, {L"Ignore", IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{L"Yes", IDYES}, {L"No", IDNO}, {L"Cancel", IDCANCEL}};
    case MB_YESNO:
        return {{L"Yes", IDYES}, {L"No", IDNO}};
    case MB_RETRYCANCEL:
        return {{L"Retry", IDRETRY}, {L"Cancel", IDCANCEL}};
    default:
        return {{L"OK", IDOK}};
    }
}

// The button a closed box (end of input, "^C") reports: Cancel when there is one, else the
// last button (No, Ignore), which never confirms anything.
int closedResult(const std::vector<Button>& buttons)
{
    for (const auto& b : buttons) {
        if (b.id == IDCANCEL) {
            return IDCANCEL;
        }
    }
    return buttons.back().id;
}

}  // namespace

int acedMessageBox(const ACHAR* text, const ACHAR* caption, unsigned type)
{
    Editor& ed = editor();
    const auto buttons = buttonsOf(type);
    std::wstring box = (caption && *caption) ? L"\n[" + std::wstring(caption) + L"]\n" : std::wstring(L"\n");
    box += text ? text : L"";
    if (buttons.size() == 1) {
        ed.write(box + L"\n");
        return buttons.front().id;
    }
    std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    if (defaultIndex >= buttons.size()) {
        defaultIndex = 0;
    }
    std::wstring choices;
    for (const auto& b : buttons) {
        choices += (choices.empty() ? L"" : L"/") + std::wstring(b.name);
    }
    ed.write(box);
    const std::wstring prompt = L"\n" + choices + L" <" + buttons[defaultIndex].name + L">: ";
    int badAnswers = 0;
    RequestScope scope(Request{RequestKind::MessageBox, {}, choices, nullptr, false});
    for (;;) {
        std::wstring answer;
        if (ed.ask(prompt, answer) != AnswerStatus::Text) {
            return closedResult(buttons);
        }
        const auto typed = trimBlanks(answer);
        if (typed.empty()) {
            return buttons[defaultIndex].id;
        }
        for (const auto& b : buttons) {
            if (equalsNoCase(typed, b.name)) {
                return b.id;
            }
        }
        ed.write(L"\nAnswer " + choices + L".");
        if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
            return closedResult(buttons);
        }
    }
}
