// Window records, their creation from templates, and the CWnd members over them.
#include "host/dialogs/Wnd.h"

#include <algorithm>
#include <unordered_set>

#include "host/dialogs/AcUiColorComboBox.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/Controls.h"
#include "host/dialogs/HostWindow.h"
#include "host/dialogs/ResourceModule.h"

namespace {

// Windows live on the one user-interface thread, so the registry needs no lock.
std::unordered_set<const HostWindow*>& liveWindows()
{
    static std::unordered_set<const HostWindow*> windows;
    return windows;
}

std::wstring widenStored(const char* text)
{
    std::wstring wide;
    for (const char* p = text ? text : ""; *p; ++p)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return wide;
}

std::unique_ptr<CWnd> wrapperFor(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox: return std::make_unique<CButton>();
    case ControlKind::Label:
    case ControlKind::Picture: return std::make_unique<CStatic>();
    case ControlKind::Edit: return std::make_unique<CEdit>();
    case ControlKind::ComboBox: return std::make_unique<CComboBox>();
    case ControlKind::ColorCombo: return std::make_unique<CAcUiColorComboBox>();
    case ControlKind::ListBox: return std::make_unique<CListBox>();
    case ControlKind::HatchPreview: break;
    }
    return std::make_unique<CWnd>();
}

void attach(HostWindow* window, CWnd* wrapper)
{
    wrapper->m_hWnd = window;
    window->attached.push_back(wrapper);
}

void detach(CWnd* wrapper)
{
    HostWindow* window = wrapper->m_hWnd;
    if (!window) return;
    auto& list = window->attached;
    list.erase(std::remove(list.begin(), list.end(), wrapper), list.end());
    wrapper->m_hWnd = nullptr;
}

CWnd* wrapperOf(HostWindow* window)
{
    if (!window) return nullptr;
    if (window->permanent) return window->permanent.get();
    if (window->role == WindowRole::Dialog && window->dialog) return window->dialog;
    return window->attached.empty() ? nullptr : window->attached.front();
}

HostWindow* childById(HostWindow* parent, int id)
{
    if (!parent) return nullptr;
    for (auto& child : parent->children)
        if (child->id == id) return child.get();
    return nullptr;
}

} // namespace

// ---- HostWindow -------------------------------------------------------------------------------------

HostWindow::HostWindow() { liveWindows().insert(this); }

HostWindow::~HostWindow()
{
    children.clear();
    for (CWnd* wrapper : attached) wrapper->m_hWnd = nullptr;
    attached.clear();
    permanent.reset();
    liveWindows().erase(this);
}

bool HostWindow::isButtonLike() const
{
    return role == WindowRole::Control &&
           (kind == ControlKind::PushButton || kind == ControlKind::DefPushButton ||
            kind == ControlKind::CheckBox || kind == ControlKind::RadioButton);
}

bool HostWindow::allowsTyping() const
{
    return isControlOf(ControlKind::ComboBox) && !hasStyle(style, ControlStyle::DropDownList) &&
           hasStyle(style, ControlStyle::DropDown);
}

int HostWindow::indexInParent() const
{
    if (!parent) return -1;
    for (std::size_t i = 0; i < parent->children.size(); ++i)
        if (parent->children[i].get() == this) return static_cast<int>(i);
    return -1;
}

namespace fendo::dialogs {

bool isLiveWindow(const HostWindow* window) { return window && liveWindows().count(window) > 0; }

std::unique_ptr<HostWindow> createDialogWindow(const DialogTemplate& dialogTemplate,
                                               const ResourceModule* resources, CAdUiBaseDialog* owner)
{
    auto dialog = std::make_unique<HostWindow>();
    dialog->role = WindowRole::Dialog;
    dialog->className = L"#32770";
    dialog->text = widenStored(dialogTemplate.caption);
    dialog->dialog = owner;
    for (const ControlTemplate& source : dialogTemplate.controls) {
        auto control = std::make_unique<HostWindow>();
        control->role = WindowRole::Control;
        control->id = source.id;
        control->kind = source.kind;
        control->className = widenStored(windowClassOf(source.kind));
        control->style = source.style;
        control->enabled = !hasStyle(source.style, ControlStyle::Disabled);
        control->readOnly = hasStyle(source.style, ControlStyle::ReadOnly);
        control->imageId = source.imageId;
        if (const ImageResource* image = resources ? resources->findImage(source.imageId) : nullptr) {
            control->imageWidth = image->width;
            control->imageHeight = image->height;
        }
        control->parent = dialog.get();
        if (source.kind == ControlKind::ColorCombo) {
            fillColorComboEntries(*control);
        } else if (source.kind == ControlKind::ComboBox || source.kind == ControlKind::ListBox) {
            for (const char* item : source.items) control->items.push_back({widenStored(item), 0});
            if (hasStyle(source.style, ControlStyle::Sorted))
                std::stable_sort(control->items.begin(), control->items.end(),
                                 [](const ListEntry& a, const ListEntry& b) {
                                     return CString(a.text).CompareNoCase(b.text.c_str()) < 0;
                                 });
        } else {
            control->text = widenStored(source.text);
        }
        control->permanent = wrapperFor(source.kind);
        attach(control.get(), control->permanent.get());
        dialog->children.push_back(std::move(control));
    }
    return dialog;
}

void notifyParent(HostWindow* control, int code)
{
    if (!control || !control->parent || control->parent->role != WindowRole::Dialog) return;
    if (CAdUiBaseDialog* dialog = control->parent->dialog) dialog->SendNotify(control->id, code);
}

std::vector<HostWindow*> radioGroupOf(HostWindow* radio)
{
    std::vector<HostWindow*> group;
    if (!radio || !radio->parent) return group;
    const auto& siblings = radio->parent->children;
    int first = radio->indexInParent();
    while (first > 0 && !hasStyle(siblings[static_cast<std::size_t>(first)]->style, ControlStyle::GroupStart))
        --first;
    for (std::size_t i = static_cast<std::size_t>(first); i < siblings.size(); ++i) {
        HostWindow* w = siblings[i].get();
        if (i != static_cast<std::size_t>(first) && hasStyle(w->style, ControlStyle::GroupStart)) break;
        if (w->isControlOf(ControlKind::RadioButton)) group.push_back(w);
    }
    return group;
}

} // namespace fendo::dialogs

using fendo::dialogs::notifyParent;

// ---- CWnd ----------------------------------------------------------------------------------------

CWnd::~CWnd() { detach(this); }

BOOL CWnd::Attach(HWND window)
{
    if (m_hWnd || !fendo::dialogs::isLiveWindow(window)) return FALSE;
    attach(window, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND window = m_hWnd;
    detach(this);
    return window;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (!parent || !parent->m_hWnd) return FALSE;
    HostWindow* control = childById(parent->m_hWnd, static_cast<int>(id));
    return control ? Attach(control) : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    HostWindow* window = m_hWnd;
    if (!window) return FALSE;
    if (window->role != WindowRole::Control || !window->parent) return FALSE;
    auto& siblings = window->parent->children;
    const auto it =
        std::find_if(siblings.begin(), siblings.end(), [window](const auto& c) { return c.get() == window; });
    if (it == siblings.end()) return FALSE;
    std::unique_ptr<HostWindow> doomed = std::move(*it);
    siblings.erase(it);
    return TRUE;
}

void CWnd::SetWindowText(const ACHAR* text)
{
    HostWindow* window = m_hWnd;
    if (!window) return;
    const std::wstring value = text ? text : L"";
    if (window->isControlOf(ControlKind::ComboBox) || window->isControlOf(ControlKind::ColorCombo)) {
        if (window->allowsTyping()) {
            window->text = value;
        } else {
            for (std::size_t i = 0; i < window->items.size(); ++i)
                if (CString(window->items[i].text).CompareNoCase(value.c_str()) == 0)
                    window->curSel = static_cast<int>(i);
        }
        return;
    }
    const bool changed = window->text != value;
    window->text = value;
    // An edit box reports every change of its text, whoever makes it.
    if (changed && window->isControlOf(ControlKind::Edit)) notifyParent(window, EN_CHANGE);
}

namespace {
std::wstring currentText(const HostWindow* window)
{
    if (window->isControlOf(ControlKind::ComboBox) || window->isControlOf(ControlKind::ColorCombo) ||
        window->isControlOf(ControlKind::ListBox)) {
        if (window->allowsTyping()) return window->text;
        return window->curSel >= 0 && window->curSel < static_cast<int>(window->items.size())
                   ? window->items[static_cast<std::size_t>(window->curSel)].text
                   : std::wstring();
    }
    return window->text;
}
} // namespace

int CWnd::GetWindowText(ACHAR* buffer, int bufferSize) const
{
    return GetWindowTextW(m_hWnd, buffer, bufferSize);
}

void CWnd::GetWindowText(CString& text) const { text = m_hWnd ? CString(currentText(m_hWnd)) : CString(); }

int CWnd::GetWindowTextLength() const { return m_hWnd ? static_cast<int>(currentText(m_hWnd).size()) : 0; }

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_hWnd) return FALSE;
    const BOOL wasDisabled = m_hWnd->enabled ? FALSE : TRUE;
    m_hWnd->enabled = enable != FALSE;
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && m_hWnd->enabled ? TRUE : FALSE; }

BOOL CWnd::ShowWindow(int command)
{
    if (!m_hWnd) return FALSE;
    const BOOL wasVisible = m_hWnd->visible ? TRUE : FALSE;
    m_hWnd->visible = command != SW_HIDE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return m_hWnd && m_hWnd->visible ? TRUE : FALSE; }

CWnd* CWnd::SetFocus() { return nullptr; }

int CWnd::GetDlgCtrlID() const { return m_hWnd ? m_hWnd->id : 0; }

CString CWnd::GetWindowClassName() const { return m_hWnd ? CString(m_hWnd->className) : CString(); }

CWnd* CWnd::GetParent() const
{
    if (!m_hWnd) return nullptr;
    if (m_hWnd->parent) return wrapperOf(m_hWnd->parent);
    if (m_hWnd->role == WindowRole::Dialog && m_hWnd->dialog) return m_hWnd->dialog->parentWindow();
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const { return m_hWnd ? wrapperOf(childById(m_hWnd, id)) : nullptr; }

CWnd* CWnd::GetWindow(UINT relation) const
{
    HostWindow* window = m_hWnd;
    if (!window) return nullptr;
    if (relation == GW_CHILD)
        return window->children.empty() ? nullptr : wrapperOf(window->children.front().get());
    if (!window->parent) return nullptr;
    const auto& siblings = window->parent->children;
    const int at = window->indexInParent();
    const int count = static_cast<int>(siblings.size());
    int target = -1;
    switch (relation) {
    case GW_HWNDFIRST: target = 0; break;
    case GW_HWNDLAST: target = count - 1; break;
    case GW_HWNDNEXT: target = at + 1; break;
    case GW_HWNDPREV: target = at - 1; break;
    default: return nullptr;
    }
    return target >= 0 && target < count ? wrapperOf(siblings[static_cast<std::size_t>(target)].get())
                                         : nullptr;
}

void CWnd::SetDlgItemText(int id, const ACHAR* text)
{
    if (CWnd* item = GetDlgItem(id)) item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    text.Empty();
    if (CWnd* item = GetDlgItem(id)) item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    HostWindow* control = m_hWnd ? childById(m_hWnd, id) : nullptr;
    if (control && control->isButtonLike() && control->kind != ControlKind::PushButton &&
        control->kind != ControlKind::DefPushButton)
        control->check = static_cast<int>(check);
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    HostWindow* control = m_hWnd ? childById(m_hWnd, id) : nullptr;
    return control ? static_cast<UINT>(control->check) : 0u;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId)
{
    if (!m_hWnd) return;
    for (auto& child : m_hWnd->children)
        if (child->id >= firstId && child->id <= lastId && child->isButtonLike())
            child->check = child->id == checkId ? BST_CHECKED : BST_UNCHECKED;
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const
{
    if (!m_hWnd) return 0;
    for (auto& child : m_hWnd->children)
        if (child->id >= firstId && child->id <= lastId && child->isButtonLike() &&
            child->check == BST_CHECKED)
            return child->id;
    return 0;
}

void CWnd::SetFont(CFont* font, BOOL)
{
    if (m_hWnd) m_hWnd->font = font;
}

CFont* CWnd::GetFont() const { return m_hWnd ? m_hWnd->font : nullptr; }

// ---- handle-based calls ----------------------------------------------------------------------------

BOOL IsWindow(HWND window) { return fendo::dialogs::isLiveWindow(window) ? TRUE : FALSE; }

int GetWindowTextA(HWND window, char* buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0) return 0;
    buffer[0] = '\0';
    if (!IsWindow(window)) return 0;
    const std::wstring text = currentText(window);
    const int length = std::min(static_cast<int>(text.size()), bufferSize - 1);
    for (int i = 0; i < length; ++i) buffer[i] = static_cast<char>(text[static_cast<std::size_t>(i)] & 0xFF);
    buffer[length] = '\0';
    return length;
}

int GetWindowTextW(HWND window, ACHAR* buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0) return 0;
    buffer[0] = L'\0';
    if (!IsWindow(window)) return 0;
    const std::wstring text = currentText(window);
    const int length = std::min(static_cast<int>(text.size()), bufferSize - 1);
    std::copy_n(text.begin(), length, buffer);
    buffer[length] = L'\0';
    return length;
}

BOOL SetWindowTextW(HWND window, const ACHAR* text)
{
    if (!IsWindow(window)) return FALSE;
    CWnd* wrapper = wrapperOf(window);
    if (!wrapper) return FALSE;
    wrapper->SetWindowText(text);
    return TRUE;
}

int GetClassNameW(HWND window, ACHAR* buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0) return 0;
    buffer[0] = L'\0';
    if (!IsWindow(window)) return 0;
    const int length = std::min(static_cast<int>(window->className.size()), bufferSize - 1);
    std::copy_n(window->className.begin(), length, buffer);
    buffer[length] = L'\0';
    return length;
}

CWnd* acedGetAcadFrame()
{
    static HostWindow frameWindow;
    static CWnd frame;
    if (!frame.m_hWnd) {
        frameWindow.role = WindowRole::Frame;
        frameWindow.className = L"AfxFrameOrView";
        frameWindow.text = L"Fendo";
        frame.Attach(&frameWindow);
    }
    return &frame;
}
