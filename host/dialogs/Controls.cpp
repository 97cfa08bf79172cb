// Members of the standard controls over their window records.
#include "host/dialogs/Controls.h"

#include <algorithm>
#include <cwchar>

#include "host/dialogs/HostWindow.h"

namespace {

bool isListLike(const HostWindow* w)
{
    return w && (w->isControlOf(ControlKind::ComboBox) || w->isControlOf(ControlKind::ColorCombo) ||
                 w->isControlOf(ControlKind::ListBox));
}

bool validIndex(const HostWindow* w, int index)
{
    return index >= 0 && index < static_cast<int>(w->items.size());
}

bool startsWithNoCase(const std::wstring& text, const ACHAR* prefix)
{
    const CString head(text.substr(0, std::wcslen(prefix)));
    return head.GetLength() == static_cast<int>(std::wcslen(prefix)) && head.CompareNoCase(prefix) == 0;
}

// The entry operations shared by combo and list boxes.
namespace entries {

int add(HostWindow* w, const ACHAR* text)
{
    if (!isListLike(w)) return CB_ERR;
    ListEntry entry{text ? text : L"", 0};
    auto at = w->items.end();
    if (hasStyle(w->style, ControlStyle::Sorted))
        at = std::find_if(w->items.begin(), w->items.end(), [&](const ListEntry& e) {
            return CString(entry.text).CompareNoCase(e.text.c_str()) < 0;
        });
    const int index = static_cast<int>(at - w->items.begin());
    w->items.insert(at, std::move(entry));
    if (w->curSel >= index) ++w->curSel;
    return index;
}

int insert(HostWindow* w, int index, const ACHAR* text)
{
    if (!isListLike(w)) return CB_ERR;
    if (index < 0) index = static_cast<int>(w->items.size());
    if (index > static_cast<int>(w->items.size())) return CB_ERR;
    w->items.insert(w->items.begin() + index, ListEntry{text ? text : L"", 0});
    if (w->curSel >= index) ++w->curSel;
    return index;
}

int remove(HostWindow* w, int index)
{
    if (!isListLike(w) || !validIndex(w, index)) return CB_ERR;
    w->items.erase(w->items.begin() + index);
    if (w->curSel == index)
        w->curSel = -1;
    else if (w->curSel > index)
        --w->curSel;
    return static_cast<int>(w->items.size());
}

void reset(HostWindow* w)
{
    if (!isListLike(w)) return;
    w->items.clear();
    w->curSel = -1;
    w->text.clear();
}

int setCurSel(HostWindow* w, int index)
{
    if (!isListLike(w)) return CB_ERR;
    if (index < 0 || !validIndex(w, index)) {
        w->curSel = -1; // -1 clears the selection; out of range clears it too, as the platform does
        return CB_ERR;
    }
    w->curSel = index;
    if (w->allowsTyping()) w->text = w->items[static_cast<std::size_t>(index)].text;
    return index;
}

int text(const HostWindow* w, int index, ACHAR* buffer)
{
    if (!isListLike(w) || !validIndex(w, index) || !buffer) return CB_ERR;
    const std::wstring& t = w->items[static_cast<std::size_t>(index)].text;
    std::copy(t.begin(), t.end(), buffer);
    buffer[t.size()] = L'\0';
    return static_cast<int>(t.size());
}

int find(const HostWindow* w, int startAfter, const ACHAR* wanted, bool exact)
{
    if (!isListLike(w) || !wanted || w->items.empty()) return CB_ERR;
    const int count = static_cast<int>(w->items.size());
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        const std::wstring& t = w->items[static_cast<std::size_t>(i)].text;
        if (exact ? CString(t).CompareNoCase(wanted) == 0 : startsWithNoCase(t, wanted)) return i;
    }
    return CB_ERR;
}

int setData(HostWindow* w, int index, DWORD_PTR data)
{
    if (!isListLike(w) || !validIndex(w, index)) return CB_ERR;
    w->items[static_cast<std::size_t>(index)].data = data;
    return 0;
}

DWORD_PTR data(const HostWindow* w, int index)
{
    if (!isListLike(w) || !validIndex(w, index)) return static_cast<DWORD_PTR>(CB_ERR);
    return w->items[static_cast<std::size_t>(index)].data;
}

} // namespace entries
} // namespace

// ---- CButton, CStatic, CEdit -----------------------------------------------------------------------

int CButton::GetCheck() const { return m_hWnd ? m_hWnd->check : BST_UNCHECKED; }

void CButton::SetCheck(int check)
{
    if (!m_hWnd || !m_hWnd->isButtonLike()) return;
    if (m_hWnd->kind == ControlKind::PushButton || m_hWnd->kind == ControlKind::DefPushButton) return;
    m_hWnd->check = check;
}

BOOL CButton::IsDefaultButton() const
{
    return m_hWnd && m_hWnd->kind == ControlKind::DefPushButton ? TRUE : FALSE;
}

int CStatic::GetImageId() const { return m_hWnd ? m_hWnd->imageId : 0; }

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    if (!m_hWnd) return FALSE;
    m_hWnd->readOnly = readOnly != FALSE;
    return TRUE;
}

BOOL CEdit::IsReadOnly() const { return m_hWnd && m_hWnd->readOnly ? TRUE : FALSE; }

// ---- CComboBox --------------------------------------------------------------------------------------

int CComboBox::AddString(const ACHAR* text) { return entries::add(m_hWnd, text); }
int CComboBox::InsertString(int index, const ACHAR* text) { return entries::insert(m_hWnd, index, text); }
int CComboBox::DeleteString(int index) { return entries::remove(m_hWnd, index); }
void CComboBox::ResetContent() { entries::reset(m_hWnd); }
int CComboBox::GetCount() const { return m_hWnd ? static_cast<int>(m_hWnd->items.size()) : CB_ERR; }
int CComboBox::GetCurSel() const { return m_hWnd && m_hWnd->curSel >= 0 ? m_hWnd->curSel : CB_ERR; }
int CComboBox::SetCurSel(int index) { return entries::setCurSel(m_hWnd, index); }
int CComboBox::GetLBText(int index, ACHAR* buffer) const { return entries::text(m_hWnd, index, buffer); }

void CComboBox::GetLBText(int index, CString& text) const
{
    text.Empty();
    if (m_hWnd && validIndex(m_hWnd, index)) text = m_hWnd->items[static_cast<std::size_t>(index)].text;
}

int CComboBox::GetLBTextLen(int index) const
{
    return m_hWnd && validIndex(m_hWnd, index)
               ? static_cast<int>(m_hWnd->items[static_cast<std::size_t>(index)].text.size())
               : CB_ERR;
}

int CComboBox::FindString(int startAfter, const ACHAR* prefix) const
{
    return entries::find(m_hWnd, startAfter, prefix, false);
}

int CComboBox::FindStringExact(int startAfter, const ACHAR* text) const
{
    return entries::find(m_hWnd, startAfter, text, true);
}

int CComboBox::SelectString(int startAfter, const ACHAR* prefix)
{
    const int index = FindString(startAfter, prefix);
    return index == CB_ERR ? CB_ERR : SetCurSel(index);
}

int CComboBox::SetItemData(int index, DWORD_PTR data) { return entries::setData(m_hWnd, index, data); }
DWORD_PTR CComboBox::GetItemData(int index) const { return entries::data(m_hWnd, index); }
BOOL CComboBox::AllowsTyping() const { return m_hWnd && m_hWnd->allowsTyping() ? TRUE : FALSE; }

// ---- CListBox ---------------------------------------------------------------------------------------

int CListBox::AddString(const ACHAR* text) { return entries::add(m_hWnd, text); }
int CListBox::InsertString(int index, const ACHAR* text) { return entries::insert(m_hWnd, index, text); }
int CListBox::DeleteString(int index) { return entries::remove(m_hWnd, index); }
void CListBox::ResetContent() { entries::reset(m_hWnd); }
int CListBox::GetCount() const { return m_hWnd ? static_cast<int>(m_hWnd->items.size()) : LB_ERR; }
int CListBox::GetCurSel() const { return m_hWnd && m_hWnd->curSel >= 0 ? m_hWnd->curSel : LB_ERR; }
int CListBox::SetCurSel(int index) { return entries::setCurSel(m_hWnd, index); }
int CListBox::GetText(int index, ACHAR* buffer) const { return entries::text(m_hWnd, index, buffer); }

void CListBox::GetText(int index, CString& text) const
{
    text.Empty();
    if (m_hWnd && validIndex(m_hWnd, index)) text = m_hWnd->items[static_cast<std::size_t>(index)].text;
}

int CListBox::GetTextLen(int index) const
{
    return m_hWnd && validIndex(m_hWnd, index)
               ? static_cast<int>(m_hWnd->items[static_cast<std::size_t>(index)].text.size())
               : LB_ERR;
}

int CListBox::FindString(int startAfter, const ACHAR* prefix) const
{
    return entries::find(m_hWnd, startAfter, prefix, false);
}

int CListBox::FindStringExact(int startAfter, const ACHAR* text) const
{
    return entries::find(m_hWnd, startAfter, text, true);
}

int CListBox::SelectString(int startAfter, const ACHAR* prefix)
{
    const int index = FindString(startAfter, prefix);
    return index == LB_ERR ? LB_ERR : SetCurSel(index);
}

int CListBox::SetItemData(int index, DWORD_PTR data) { return entries::setData(m_hWnd, index, data); }
DWORD_PTR CListBox::GetItemData(int index) const { return entries::data(m_hWnd, index); }
