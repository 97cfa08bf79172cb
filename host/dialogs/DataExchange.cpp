// Dialog data exchange between members and controls.
#include "host/dialogs/DataExchange.h"

#include <cstdint>
#include <cwchar>

#include "host/dialogs/Controls.h"
#include "host/dialogs/HostWindow.h"
#include "host/editor/AnswerGrammar.h"
#include "host/editor/Editor.h"

namespace {

HostWindow* controlOf(CDataExchange* pDX, int id)
{
    if (!pDX || pDX->failed() || !pDX->m_pDlgWnd) return nullptr;
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!item) return nullptr;
    pDX->m_idLastControl = id;
    return item->m_hWnd;
}

CWnd* wrapper(CDataExchange* pDX, int id) { return pDX->m_pDlgWnd->GetDlgItem(id); }

// The host's own message box texts for a box that does not convert, with the box named, since
// the form is answered by control id.
void failWith(CDataExchange* pDX, int id, const wchar_t* what)
{
    fendo::editor::editor().write(L"\n" + std::wstring(what) + L" (control " + std::to_wstring(id) + L")");
    pDX->Fail();
}

CString textOf(CWnd* window)
{
    CString text;
    window->GetWindowText(text);
    return text;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    if (!controlOf(pDX, id)) return;
    if (pDX->m_bSaveAndValidate)
        value = textOf(wrapper(pDX, id));
    else
        wrapper(pDX, id)->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int id, std::wstring& value)
{
    if (!controlOf(pDX, id)) return;
    if (pDX->m_bSaveAndValidate)
        value = textOf(wrapper(pDX, id));
    else
        wrapper(pDX, id)->SetWindowText(value.c_str());
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    if (!controlOf(pDX, id)) return;
    if (!pDX->m_bSaveAndValidate) {
        wrapper(pDX, id)->SetWindowText(std::to_wstring(value).c_str());
        return;
    }
    const auto parsed = fendo::editor::parseInteger(fendo::editor::trimBlanks(textOf(wrapper(pDX, id))));
    if (!parsed || *parsed < INT32_MIN || *parsed > INT32_MAX) return failWith(pDX, id, L"Please enter an integer.");
    value = static_cast<int>(*parsed);
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    if (!controlOf(pDX, id)) return;
    if (!pDX->m_bSaveAndValidate) {
        wchar_t text[64];
        std::swprintf(text, 64, L"%.15g", value);
        wrapper(pDX, id)->SetWindowText(text);
        return;
    }
    const auto parsed = fendo::editor::parseNumber(fendo::editor::trimBlanks(textOf(wrapper(pDX, id))));
    if (!parsed) return failWith(pDX, id, L"Please enter a number.");
    value = *parsed;
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HostWindow* control = controlOf(pDX, id);
    if (!control) return;
    if (pDX->m_bSaveAndValidate)
        value = control->check;
    else if (control->isControlOf(ControlKind::CheckBox) || control->isControlOf(ControlKind::RadioButton))
        control->check = value;
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    HostWindow* first = controlOf(pDX, firstId);
    if (!first) return;
    const auto group = fendo::dialogs::radioGroupOf(first);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->check == BST_CHECKED) value = static_cast<int>(i);
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        group[i]->check = static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED;
}

static bool isCombo(const HostWindow* control)
{
    return control &&
           (control->isControlOf(ControlKind::ComboBox) || control->isControlOf(ControlKind::ColorCombo));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& value)
{
    HostWindow* control = controlOf(pDX, id);
    if (!isCombo(control)) return;
    auto* combo = static_cast<CComboBox*>(wrapper(pDX, id));
    if (pDX->m_bSaveAndValidate)
        value = combo->GetCurSel();
    else
        combo->SetCurSel(value);
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& value)
{
    HostWindow* control = controlOf(pDX, id);
    if (!control || !control->isControlOf(ControlKind::ListBox)) return;
    auto* list = static_cast<CListBox*>(wrapper(pDX, id));
    if (pDX->m_bSaveAndValidate)
        value = list->GetCurSel();
    else
        list->SetCurSel(value);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value)
{
    HostWindow* control = controlOf(pDX, id);
    if (!isCombo(control)) return;
    auto* combo = static_cast<CComboBox*>(wrapper(pDX, id));
    if (pDX->m_bSaveAndValidate) {
        value = textOf(combo);
        return;
    }
    if (combo->SelectString(-1, value) == CB_ERR && combo->AllowsTyping()) combo->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!controlOf(pDX, id) || control.m_hWnd) return;
    control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

bool CheckNumberFields(CWnd* dialog, const std::vector<int>& realIds, const std::vector<int>& integerIds)
{
    CDataExchange dx(dialog, TRUE);
    for (const int id : realIds) {
        double value = 0.0;
        DDX_Text(&dx, id, value);
    }
    for (const int id : integerIds) {
        int value = 0;
        DDX_Text(&dx, id, value);
    }
    return !dx.failed();
}
