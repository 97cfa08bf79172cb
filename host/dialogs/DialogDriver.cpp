// Dialogs on the command line: the form, the answer lines and the DIALOG command.
#include "host/dialogs/DialogDriver.h"

#include <algorithm>
#include <optional>

#include "host/dialogs/AcUiColorComboBox.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/HostWindow.h"
#include "host/editor/AnswerGrammar.h"
#include "host/editor/Editor.h"
#include "host/editor/PromptCommands.h"

namespace fendo::dialogs {

using editor::AnswerStatus;
using editor::editor;
using editor::equalsNoCase;
using editor::trimBlanks;

namespace {

constexpr const wchar_t* kDialogPrompt = L"\nDialog> ";

// "&Thoát" shows as "Thoát": the ampersand only marks the access key; "&&" stands for one '&'.
std::wstring withoutAccessKey(const std::wstring& text)
{
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        shown.push_back(text[i]);
    }
    return shown;
}

const wchar_t* kindName(const HostWindow& w)
{
    switch (w.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: return L"button";
    case ControlKind::CheckBox: return L"check";
    case ControlKind::RadioButton: return L"radio";
    case ControlKind::GroupBox: return L"group";
    case ControlKind::Label: return L"label";
    case ControlKind::Picture: return L"picture";
    case ControlKind::Edit: return L"edit";
    case ControlKind::ComboBox: return L"combo";
    case ControlKind::ListBox: return L"list";
    case ControlKind::ColorCombo: return L"colour";
    case ControlKind::HatchPreview: return L"preview";
    }
    return L"control";
}

std::wstring padLeft(std::wstring text, std::size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), L' ');
    return text;
}

std::wstring padRight(std::wstring text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), L' ');
    return text;
}

std::wstring entryList(const HostWindow& w)
{
    if (w.items.empty()) return L"(no entries)";
    std::wstring list;
    for (std::size_t i = 0; i < w.items.size(); ++i)
        list += (i ? L" | #" : L"#") + std::to_wstring(i) + L" " + w.items[i].text;
    return list;
}

std::wstring selectedText(const HostWindow& w)
{
    if (w.allowsTyping()) return w.text;
    return w.curSel >= 0 && w.curSel < static_cast<int>(w.items.size())
               ? w.items[static_cast<std::size_t>(w.curSel)].text
               : std::wstring();
}

std::wstring valueOf(const HostWindow& w)
{
    const std::wstring label = withoutAccessKey(w.text);
    switch (w.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        std::wstring shown =
            label.empty() && w.imageId ? L"[icon " + std::to_wstring(w.imageId) + L"]" : L"[" + label + L"]";
        return w.kind == ControlKind::DefPushButton ? shown + L" (default)" : shown;
    }
    case ControlKind::CheckBox:
        return (w.check == BST_CHECKED ? L"[x] " : w.check == BST_INDETERMINATE ? L"[-] " : L"[ ] ") + label;
    case ControlKind::RadioButton: return (w.check == BST_CHECKED ? L"(o) " : L"( ) ") + label;
    case ControlKind::GroupBox:
    case ControlKind::Label: return label;
    case ControlKind::Picture:
        if (!w.imageId) return L"(no image)";
        return L"image " + std::to_wstring(w.imageId) +
               (w.imageWidth ? L", " + std::to_wstring(w.imageWidth) + L" x " + std::to_wstring(w.imageHeight)
                             : L"");
    case ControlKind::Edit: return L"\"" + w.text + L"\"" + (w.readOnly ? L" (read-only)" : L"");
    case ControlKind::ComboBox:
        return L"\"" + selectedText(w) + L"\"" + (w.allowsTyping() ? L" (typing allowed)" : L"") + L"\n" +
               std::wstring(17, L' ') + entryList(w);
    case ControlKind::ListBox:
        return L"\"" + selectedText(w) + L"\"\n" + std::wstring(17, L' ') + entryList(w);
    case ControlKind::ColorCombo: {
        const int index =
            w.curSel >= 0 ? static_cast<int>(w.items[static_cast<std::size_t>(w.curSel)].data) : -1;
        return (index < 0 ? std::wstring(L"(none)") : std::to_wstring(index) + L" " + colorIndexName(index)) +
               L"\n" + std::wstring(17, L' ') + entryList(w);
    }
    case ControlKind::HatchPreview: return w.className + (w.text.empty() ? L" (empty)" : L" " + w.text);
    }
    return {};
}

std::wstring entryOf(const HostWindow& w)
{
    if (!w.visible) return {};
    std::wstring line =
        L"  " + padLeft(std::to_wstring(w.id), 5) + L"  " + padRight(kindName(w), 8) + valueOf(w);
    if (!w.enabled) line += L" (disabled)";
    return line;
}

std::wstring answerHint(DriveMode mode)
{
    return std::wstring(L"Answer ID=TEXT, ID=#N (entry N), ID=on, ID=off, click ID, show") +
           (mode == DriveMode::Modeless ? L", done (leave it open)" : L"") +
           L"; Enter presses the default button, ^C cancels.";
}

HostWindow* findControl(const CAdUiBaseDialog& dialog, int id)
{
    HostWindow* window = dialog.GetSafeHwnd();
    if (!window) return nullptr;
    for (auto& child : window->children)
        if (child->id == id) return child.get();
    return nullptr;
}

using Refusal = std::optional<std::wstring>;

Refusal selectEntry(HostWindow* w, int index)
{
    if (index < 0 || index >= static_cast<int>(w->items.size()))
        return L"control " + std::to_wstring(w->id) + L" has no entry #" + std::to_wstring(index);
    w->curSel = index;
    if (w->allowsTyping()) w->text = w->items[static_cast<std::size_t>(index)].text;
    if (w->kind == ControlKind::ListBox) {
        // A list box reports selection changes only when its style asks for it.
        if (hasStyle(w->style, ControlStyle::Notify)) notifyParent(w, LBN_SELCHANGE);
    } else {
        notifyParent(w, CBN_SELCHANGE);
    }
    return std::nullopt;
}

int findEntryByText(const HostWindow* w, const std::wstring& text)
{
    for (std::size_t i = 0; i < w->items.size(); ++i)
        if (equalsNoCase(w->items[i].text, text)) return static_cast<int>(i);
    return -1;
}

Refusal setListText(HostWindow* w, const std::wstring& text)
{
    if (w->kind == ControlKind::ColorCombo) {
        if (const auto number = editor::parseInteger(text)) {
            if (*number < kColorByBlock || *number > kColorByLayer)
                return std::wstring(L"a colour index goes from 0 (ByBlock) to 256 (ByLayer)");
            CAcUiColorComboBox* combo = static_cast<CAcUiColorComboBox*>(w->permanent.get());
            return selectEntry(w, combo->AddColorToMRU(static_cast<int>(*number)));
        }
    }
    const int index = findEntryByText(w, text);
    if (index >= 0) return selectEntry(w, index);
    if (w->allowsTyping()) {
        w->text = text;
        w->curSel = -1;
        notifyParent(w, CBN_EDITCHANGE);
        return std::nullopt;
    }
    return L"control " + std::to_wstring(w->id) + L" has no entry \"" + text + L"\" (its entries: " +
           entryList(*w) + L")";
}

Refusal setEditText(HostWindow* w, const std::wstring& text)
{
    if (w->readOnly) return L"control " + std::to_wstring(w->id) + L" is read-only";
    w->permanent->SetWindowText(text.c_str()); // EN_CHANGE when the text changes
    // Typing ends by leaving the box.
    if (isLiveWindow(w)) notifyParent(w, EN_KILLFOCUS);
    return std::nullopt;
}

Refusal setRadio(HostWindow* w)
{
    for (HostWindow* member : radioGroupOf(w)) member->check = member == w ? BST_CHECKED : BST_UNCHECKED;
    notifyParent(w, BN_CLICKED);
    return std::nullopt;
}

Refusal click(HostWindow* w)
{
    switch (w->kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: notifyParent(w, BN_CLICKED); return std::nullopt;
    case ControlKind::CheckBox:
        w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        notifyParent(w, BN_CLICKED);
        return std::nullopt;
    case ControlKind::RadioButton: return setRadio(w);
    default: break;
    }
    return L"control " + std::to_wstring(w->id) + L" (" + kindName(*w) + L") is not a button";
}

Refusal setOnOff(HostWindow* w, bool on, const std::wstring& typed)
{
    if (w->kind == ControlKind::CheckBox) {
        const int wanted = on ? BST_CHECKED : BST_UNCHECKED;
        if (w->check != wanted) {
            w->check = wanted;
            notifyParent(w, BN_CLICKED);
        }
        return std::nullopt;
    }
    if (w->kind == ControlKind::RadioButton) {
        if (on) return setRadio(w);
        w->check = BST_UNCHECKED;
        return std::nullopt;
    }
    if (w->kind == ControlKind::Edit) return setEditText(w, typed);
    return setListText(w, typed);
}

Refusal apply(CAdUiBaseDialog& dialog, const DialogAnswer& answer)
{
    if (answer.kind == DialogAnswer::Kind::Enter) {
        HostWindow* target = nullptr;
        for (auto& child : dialog.GetSafeHwnd()->children)
            if (child->kind == ControlKind::DefPushButton && child->visible && child->enabled)
                target = child.get();
        if (!target) {
            HostWindow* ok = findControl(dialog, IDOK);
            if (ok && ok->visible && ok->enabled && ok->isButtonLike()) target = ok;
        }
        if (!target) return std::wstring(L"the dialog has no default button");
        return click(target);
    }
    HostWindow* w = findControl(dialog, answer.id);
    if (!w || !w->visible) return L"there is no control " + std::to_wstring(answer.id) + L" in this dialog";
    if (!w->enabled) return L"control " + std::to_wstring(answer.id) + L" is disabled";
    if (answer.kind == DialogAnswer::Kind::Click) return click(w);

    const bool button = w->kind == ControlKind::PushButton || w->kind == ControlKind::DefPushButton;
    if (button)
        return L"control " + std::to_wstring(w->id) + L" is a button: press it with click " +
               std::to_wstring(w->id);
    const bool listLike = w->kind == ControlKind::ComboBox || w->kind == ControlKind::ListBox ||
                          w->kind == ControlKind::ColorCombo;
    const bool checkable = w->kind == ControlKind::CheckBox || w->kind == ControlKind::RadioButton;
    if (!listLike && !checkable && w->kind != ControlKind::Edit)
        return L"control " + std::to_wstring(w->id) + L" (" + kindName(*w) + L") cannot be changed";

    switch (answer.kind) {
    case DialogAnswer::Kind::On: return setOnOff(w, true, answer.text);
    case DialogAnswer::Kind::Off: return setOnOff(w, false, answer.text);
    case DialogAnswer::Kind::SetIndex:
        if (listLike) return selectEntry(w, answer.index);
        break;
    default: break;
    }
    if (checkable) return L"answer " + std::to_wstring(w->id) + L"=on or " + std::to_wstring(w->id) + L"=off";
    if (w->kind == ControlKind::Edit) return setEditText(w, answer.text);
    return setListText(w, answer.text);
}

// Escape: the Cancel command, which the dialog may handle; the dialog ends in any case.
void cancelDialog(CAdUiBaseDialog& dialog)
{
    const auto alive = dialog.lifeToken();
    dialog.SendNotify(IDCANCEL, BN_CLICKED);
    if (*alive && dialog.GetSafeHwnd() && !dialog.endRequested()) dialog.EndDialog(IDCANCEL);
}

void printChanges(const std::wstring& captionBefore, const std::vector<std::wstring>& before,
                  const CAdUiBaseDialog& dialog)
{
    const std::wstring caption = formCaption(dialog);
    if (caption != captionBefore) editor().write(L"\nDialog \"" + caption + L"\":");
    const auto after = formEntries(dialog);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < before.size() && before[i] == after[i]) continue;
        if (!after[i].empty()) {
            editor().write(L"\n" + after[i]);
        } else if (i < before.size()) {
            HostWindow* w = dialog.GetSafeHwnd()->children[i].get();
            editor().write(L"\n  " + padLeft(std::to_wstring(w->id), 5) + L"  (hidden)");
        }
    }
}

std::vector<CAdUiBaseDialog*>& modeless()
{
    static std::vector<CAdUiBaseDialog*> dialogs;
    return dialogs;
}

void listModeless()
{
    editor().write(L"\nOpen dialogs:");
    int number = 1;
    for (CAdUiBaseDialog* dialog : modeless())
        editor().write(L"\n  " + std::to_wstring(number++) + L"  " + formCaption(*dialog) + L"  (dialog " +
                       std::to_wstring(dialog->GetTemplateId()) + L")");
}

CAdUiBaseDialog* chooseModeless(std::wstring_view choice)
{
    const auto& open = modeless();
    if (const auto number = editor::parseInteger(choice))
        return *number >= 1 && *number <= static_cast<long>(open.size())
                   ? open[static_cast<std::size_t>(*number - 1)]
                   : nullptr;
    for (CAdUiBaseDialog* dialog : open)
        if (equalsNoCase(formCaption(*dialog), choice)) return dialog;
    return nullptr;
}

[[maybe_unused]] const bool kDialogCommandRegistered = [] {
    editor::registerPromptCommand(L"DIALOG", L"fills in an open dialog: DIALOG [number | caption | ?]",
                                  dialogCommand);
    return true;
}();

} // namespace

std::wstring formCaption(const CAdUiBaseDialog& dialog)
{
    return dialog.GetSafeHwnd() ? withoutAccessKey(dialog.GetSafeHwnd()->text) : std::wstring();
}

std::vector<std::wstring> formEntries(const CAdUiBaseDialog& dialog)
{
    std::vector<std::wstring> entries;
    if (HostWindow* window = dialog.GetSafeHwnd())
        for (const auto& child : window->children) entries.push_back(entryOf(*child));
    return entries;
}

void showForm(const CAdUiBaseDialog& dialog, DriveMode mode)
{
    std::wstring form = L"\nDialog \"" + formCaption(dialog) + L"\":";
    for (const std::wstring& entry : formEntries(dialog))
        if (!entry.empty()) form += L"\n" + entry;
    editor().write(form + L"\n" + answerHint(mode));
}

DialogAnswer parseDialogAnswer(std::wstring_view line)
{
    using Kind = DialogAnswer::Kind;
    const auto answerOf = [](Kind kind, int id = 0) {
        DialogAnswer a;
        a.kind = kind;
        a.id = id;
        return a;
    };
    DialogAnswer answer;
    const auto typed = trimBlanks(line);
    if (typed.empty()) return answerOf(Kind::Enter);
    if (equalsNoCase(typed, L"show")) return answerOf(Kind::Show);
    if (equalsNoCase(typed, L"done")) return answerOf(Kind::Done);
    const auto blank = typed.find_first_of(L" \t");
    if (blank != std::wstring_view::npos && equalsNoCase(typed.substr(0, blank), L"click")) {
        const auto id = editor::parseInteger(trimBlanks(typed.substr(blank)));
        if (!id) return answerOf(Kind::Bad);
        return answerOf(Kind::Click, static_cast<int>(*id));
    }
    const auto equals = typed.find(L'=');
    if (equals == std::wstring_view::npos) return answerOf(Kind::Bad);
    const auto id = editor::parseInteger(trimBlanks(typed.substr(0, equals)));
    if (!id) return answerOf(Kind::Bad);
    answer.id = static_cast<int>(*id);
    answer.text = std::wstring(trimBlanks(typed.substr(equals + 1)));
    answer.kind = Kind::SetText;
    if (equalsNoCase(answer.text, L"on"))
        answer.kind = Kind::On;
    else if (equalsNoCase(answer.text, L"off"))
        answer.kind = Kind::Off;
    else if (answer.text.size() > 1 && answer.text.front() == L'#') {
        if (const auto index = editor::parseInteger(std::wstring_view(answer.text).substr(1));
            index && *index >= 0) {
            answer.kind = Kind::SetIndex;
            answer.index = static_cast<int>(*index);
        }
    }
    return answer;
}

void driveDialog(CAdUiBaseDialog& dialog, DriveMode mode)
{
    editor::Editor& ed = editor();
    const auto alive = dialog.lifeToken();
    const auto open = [&] { return *alive && dialog.GetSafeHwnd() && !dialog.endRequested(); };
    if (!open()) return;
    dialog.setDriven(true);
    showForm(dialog, mode);
    dialog.takeReshowRequest();
    int badAnswers = 0;
    std::wstring caption = formCaption(dialog); // for the closing line, when the window is gone
    while (open()) {
        caption = formCaption(dialog);
        // A handler that stepped aside and did not come back is brought back here.
        if (dialog.EditorCommandActive()) dialog.CompleteEditorCommand();
        if (dialog.takeReshowRequest()) showForm(dialog, mode);
        std::wstring line;
        const AnswerStatus status = ed.ask(kDialogPrompt, line);
        if (status == AnswerStatus::EndOfInput) {
            if (mode == DriveMode::Modal) cancelDialog(dialog);
            break;
        }
        if (status == AnswerStatus::Cancel) {
            ed.write(L"\n*Cancel*");
            cancelDialog(dialog);
            break;
        }
        const DialogAnswer answer = parseDialogAnswer(line);
        Refusal refusal;
        if (answer.kind == DialogAnswer::Kind::Show) {
            showForm(dialog, mode);
            continue;
        }
        if (answer.kind == DialogAnswer::Kind::Done && mode == DriveMode::Modeless) break;
        if (answer.kind == DialogAnswer::Kind::Bad || answer.kind == DialogAnswer::Kind::Done) {
            ed.write(L"\nDialog answer \"" + std::wstring(trimBlanks(line)) + L"\" not understood. " +
                     answerHint(mode));
            refusal = L"";
        } else {
            const auto before = formEntries(dialog);
            refusal = apply(dialog, answer);
            if (refusal) {
                ed.write(L"\nDialog answer \"" + std::wstring(trimBlanks(line)) + L"\": " + *refusal + L".");
            } else if (open()) {
                if (dialog.EditorCommandActive()) dialog.CompleteEditorCommand();
                // After stepping aside the whole form comes back; otherwise only what changed.
                if (dialog.takeReshowRequest())
                    showForm(dialog, mode);
                else
                    printChanges(caption, before, dialog);
            }
        }
        if (!refusal) {
            badAnswers = 0;
        } else if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
            ed.write(L"\nToo many answers the dialog cannot take; it is cancelled.");
            cancelDialog(dialog);
        }
    }
    if (!*alive) return;
    dialog.setDriven(false);
    if (mode != DriveMode::Modeless) return;
    if (dialog.GetSafeHwnd() && dialog.endRequested()) {
        caption = formCaption(dialog);
        dialog.DestroyWindow();
    }
    if (!dialog.GetSafeHwnd()) ed.write(L"\nDialog \"" + caption + L"\" closed.");
}

void registerModeless(CAdUiBaseDialog* dialog)
{
    if (dialog && std::find(modeless().begin(), modeless().end(), dialog) == modeless().end())
        modeless().push_back(dialog);
}

void unregisterModeless(CAdUiBaseDialog* dialog)
{
    auto& open = modeless();
    open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

const std::vector<CAdUiBaseDialog*>& openModelessDialogs() { return modeless(); }

void dialogCommand(std::wstring_view argument)
{
    editor::Editor& ed = editor();
    if (modeless().empty()) {
        ed.write(L"\nNo dialog is open.");
        return;
    }
    std::wstring choice(trimBlanks(argument));
    if (choice == L"?") {
        listModeless();
        return;
    }
    CAdUiBaseDialog* dialog = nullptr;
    if (choice.empty() && modeless().size() == 1) {
        dialog = modeless().front();
    } else if (choice.empty()) {
        listModeless();
        if (!editor::argumentOrAsk({}, L"\nDialog number or caption: ", choice)) return;
    }
    if (!dialog) dialog = chooseModeless(choice);
    if (!dialog) {
        ed.write(L"\nNo open dialog \"" + choice + L"\"; DIALOG ? lists them.");
        return;
    }
    driveDialog(*dialog, DriveMode::Modeless);
}

} // namespace fendo::dialogs
