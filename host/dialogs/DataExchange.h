// Dialog data exchange: a dialog's DoDataExchange lists, once, which member goes with which control;
// UpdateData(FALSE) copies members into the controls and UpdateData(TRUE) reads them back, stopping
// at the first control whose text does not convert (the user is told and UpdateData returns FALSE).
//
//     void DoDataExchange(CDataExchange* pDX) override
//     {
//         CAcUiDialog::DoDataExchange(pDX);
//         DDX_Control(pDX, 1019, m_shortColor);
//         DDX_Text(pDX, 1009, m_divisionLength);   // double
//         DDX_Check(pDX, 1020, m_reversed);        // int, BST_*
//         DDX_Radio(pDX, 1033, m_mode);            // index within the group, -1 for none
//     }
#pragma once
#include <string>
#include <vector>

#include "host/dialogs/CString.h"
#include "host/dialogs/WinTypes.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
    {
    }

    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0; // the control of the last exchange, for the failure message

    // Stops the exchange: the exchanges after it are skipped and UpdateData returns FALSE.
    void Fail() { m_failed = true; }
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};

// Text of an edit box (or any window); numbers are shown with "%d" and "%.15g" and must read back
// whole (blanks around them allowed).
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, std::wstring& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
// Check box state: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The radio group starting at `firstId`: the position of the checked button, -1 when none.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
// Selected position of a combo or list box, -1 when none.
void DDX_CBIndex(CDataExchange* pDX, int id, int& value);
void DDX_LBIndex(CDataExchange* pDX, int id, int& value);
// Combo box text: saving reads the window text (typed or selected); loading selects the first entry
// starting with the value, or types it into a combo box with free typing.
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
// Attaches a member control to the dialog's control `id` (the first time only).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Checks, as UpdateData(TRUE) does for DDX_Text, that each listed box holds a whole number text
// (`realIds`) or integer text (`integerIds`); boxes the dialog does not have are skipped. The
// first that does not is reported ("Please enter a number.") and false is returned, so the
// dialog stays open and the field can be answered again.
bool CheckNumberFields(CWnd* dialog, const std::vector<int>& realIds, const std::vector<int>& integerIds = {});
