// The standard controls of dialog templates: buttons (push, default, check box, radio button, group
// box), labels and pictures, edit boxes, combo boxes and list boxes. Each class only adds members to
// CWnd; the state lives in the window, so GetDlgItem's object and a dialog's member agree.
#pragma once
#include "host/dialogs/Wnd.h"

class CButton : public CWnd {
public:
    // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE; push buttons are always unchecked.
    int GetCheck() const;
    // Changes the state without a click notification, as a program's change does.
    void SetCheck(int check);
    BOOL IsDefaultButton() const;
};

// A label, or a picture showing an image resource.
class CStatic : public CWnd {
public:
    // The image resource shown, 0 for a text label.
    int GetImageId() const;
};

class CEdit : public CWnd {
public:
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL IsReadOnly() const;
};

// Entries are wide strings with a user value each. A sorted combo box keeps its entries in order
// (compared without regard to case) when they are added with AddString; InsertString never sorts.
// The window text is the selected entry's text, or the typed text of a combo box with free typing.
class CComboBox : public CWnd {
public:
    int AddString(const ACHAR* text);               // position of the new entry
    int InsertString(int index, const ACHAR* text); // -1 appends
    int DeleteString(int index);                    // entries left, or CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;                         // CB_ERR when nothing is selected
    int SetCurSel(int index);                      // -1 clears the selection; CB_ERR when out of range
    int GetLBText(int index, ACHAR* buffer) const; // buffer of GetLBTextLen + 1; length or CB_ERR
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    // Searches after `startAfter` (-1: from the start), wrapping round; case is ignored.
    int FindString(int startAfter, const ACHAR* prefix) const;
    int FindStringExact(int startAfter, const ACHAR* text) const;
    // Selects the first entry starting with `prefix`; its position or CB_ERR.
    int SelectString(int startAfter, const ACHAR* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    // True when the user may type text that is not an entry.
    BOOL AllowsTyping() const;
};

// Single-selection list box with the same entry operations.
class CListBox : public CWnd {
public:
    int AddString(const ACHAR* text);
    int InsertString(int index, const ACHAR* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetText(int index, ACHAR* buffer) const;
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    int FindString(int startAfter, const ACHAR* prefix) const;
    int FindStringExact(int startAfter, const ACHAR* text) const;
    int SelectString(int startAfter, const ACHAR* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
};
