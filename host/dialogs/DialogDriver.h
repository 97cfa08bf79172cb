// The command-line face of dialogs: a shown dialog prints as a form (caption, then each control with
// its id, kind, label and value) and reads answer lines until it ends. Modeless dialogs stay listed
// after their command and are filled in through the DIALOG command.
//
// Answer lines: "ID=TEXT" types into an edit box or picks a combo or list entry by its text,
// "ID=#N" picks entry N (from 0), "ID=on" / "ID=off" sets a check box or radio button, "click ID"
// presses a button, "show" prints the form again, an empty line presses the default button, "^C"
// cancels; "done" leaves a modeless dialog open and returns to the command prompt.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class CAdUiBaseDialog;

namespace fendo::dialogs {

enum class DriveMode {
    Modal,    // until the dialog ends; the end of input cancels it
    Modeless, // until "done", the end of input (the dialog stays open) or the dialog closes
};

// Reads and applies answer lines for `dialog`, printing the form first.
void driveDialog(CAdUiBaseDialog& dialog, DriveMode mode);

// The form: the caption line and one entry per visible control (combo and list entries on a line of
// their own within the entry).
std::wstring formCaption(const CAdUiBaseDialog& dialog);
std::vector<std::wstring> formEntries(const CAdUiBaseDialog& dialog);
void showForm(const CAdUiBaseDialog& dialog, DriveMode mode);

struct DialogAnswer {
    enum class Kind { SetText, SetIndex, On, Off, Click, Show, Done, Enter, Bad };
    Kind kind = Kind::Bad;
    int id = 0;
    std::wstring text; // the value as typed after '=', for every kind that has one
    int index = -1;    // SetIndex
};
DialogAnswer parseDialogAnswer(std::wstring_view line);

// Open modeless dialogs, in the order they were opened.
void registerModeless(CAdUiBaseDialog* dialog);
void unregisterModeless(CAdUiBaseDialog* dialog);
const std::vector<CAdUiBaseDialog*>& openModelessDialogs();

// The DIALOG command: "DIALOG" drives the only open dialog (or asks which), "DIALOG N" or
// "DIALOG caption" names one, "DIALOG ?" lists them.
void dialogCommand(std::wstring_view argument);

} // namespace fendo::dialogs
