// The window model of the headless dialog framework: CWnd wraps a window handle (a dialog, one of its
// controls, or the host's main frame) and offers the text, state, font and child access dialog code
// uses. Several wrappers may share one window (a dialog's member control and the one GetDlgItem hands
// out); the window's state lives behind the handle, so they always agree.
#pragma once
#include <string>

#include "host/core/AcadTypes.h"
#include "host/dialogs/CString.h"
#include "host/dialogs/WinTypes.h"

class CFont;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Null before the window exists and after it is destroyed; every member then does nothing and
    // returns an empty or zero result.
    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Makes this wrapper refer to an existing window (FALSE when it already refers to one).
    BOOL Attach(HWND window);
    HWND Detach();
    // Attaches this wrapper to the parent's control `id`, as a dialog does for its member controls.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    virtual BOOL DestroyWindow();

    // ---- text ---------------------------------------------------------------------------
    // Texts are wide; a window created from a template holds each stored byte as one character.
    void SetWindowText(const ACHAR* text);
    int GetWindowText(ACHAR* buffer, int bufferSize) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;

    // ---- state --------------------------------------------------------------------------
    BOOL EnableWindow(BOOL enable = TRUE); // returns TRUE when the window was disabled before
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command); // SW_HIDE, SW_SHOW; returns TRUE when it was visible before
    BOOL IsWindowVisible() const;
    CWnd* SetFocus(); // nothing has a keyboard here; returns the window that had the focus

    // ---- identity and family -------------------------------------------------------------
    int GetDlgCtrlID() const;
    // "Button", "Static", "Edit", "ComboBox", "ListBox", "#32770" for a dialog, or a custom class.
    CString GetWindowClassName() const;
    CWnd* GetParent() const;
    // The control `id` of this dialog, or null.
    CWnd* GetDlgItem(int id) const;
    // GW_CHILD: the first child; GW_HWNDNEXT / GW_HWNDPREV: the next or previous sibling;
    // GW_HWNDFIRST / GW_HWNDLAST: the first or last sibling.
    CWnd* GetWindow(UINT relation) const;
    CWnd* GetNextWindow(UINT relation = GW_HWNDNEXT) const { return GetWindow(relation); }

    // ---- dialog item conveniences ----------------------------------------------------------
    void SetDlgItemText(int id, const ACHAR* text);
    int GetDlgItemText(int id, CString& text) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    // Checks `checkId` and clears the other radio buttons from `firstId` to `lastId`.
    void CheckRadioButton(int firstId, int lastId, int checkId);
    // The checked radio button between `firstId` and `lastId`, or 0.
    int GetCheckedRadioButton(int firstId, int lastId) const;

    // ---- font -----------------------------------------------------------------------------
    // The font is not owned; it must outlive the window. `redraw` only says whether the window is
    // repainted, which a headless host has no need to do.
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
};

// The handle-based calls of the platform, for code that works with handles.
BOOL IsWindow(HWND window);
// The window text as 8-bit text: the low byte of each character, cut to bufferSize - 1 bytes and
// 0-terminated. Returns the number of bytes copied.
int GetWindowTextA(HWND window, char* buffer, int bufferSize);
int GetWindowTextW(HWND window, ACHAR* buffer, int bufferSize);
BOOL SetWindowTextW(HWND window, const ACHAR* text);
// The window class name, cut to bufferSize - 1 characters; returns the number copied.
int GetClassNameW(HWND window, ACHAR* buffer, int bufferSize);

// The host's main window, parent of the dialogs commands show.
CWnd* acedGetAcadFrame();
