// Dialog life (open, initialise, end, close), data exchange and notification dispatch.
#include "host/dialogs/AdUiBaseDialog.h"

#include <exception>
#include <string>

#include "host/dialogs/DialogDriver.h"
#include "host/dialogs/HatchPreview.h"
#include "host/dialogs/HostWindow.h"
#include "host/dialogs/ResourceModule.h"
#include "host/editor/Editor.h"
#include "host/editor/Utf8.h"

using fendo::editor::editor;

namespace {

// No exception from dialog code gets out of a host call.
template <class Action> bool guarded(const wchar_t* where, Action&& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        editor().write(L"\nError in dialog " + std::wstring(where) + L": " +
                       fendo::editor::fromUtf8(e.what()));
    } catch (...) {
        editor().write(L"\nError in dialog " + std::wstring(where) + L": unexpected failure.");
    }
    return false;
}

} // namespace

CAdUiBaseDialog::CAdUiBaseDialog(UINT templateId, CWnd* parent, const ResourceModule* resources)
    : m_templateId(templateId), m_parent(parent), m_resources(resources)
{
}

CAdUiBaseDialog::~CAdUiBaseDialog()
{
    *m_alive = false;
    fendo::dialogs::unregisterModeless(this);
    m_window.reset();
}

bool CAdUiBaseDialog::openWindow(UINT templateId)
{
    const ResourceModule* resources = m_resources ? m_resources : currentResourceModule();
    if (!resources) {
        editor().write(L"\nNo resources are current for dialog " + std::to_wstring(templateId) + L".");
        return false;
    }
    const DialogTemplate* dialogTemplate = resources->findDialog(static_cast<int>(templateId));
    if (!dialogTemplate) {
        editor().write(L"\nDialog " + std::to_wstring(templateId) + L" is not among the resources of " +
                       fendo::editor::fromUtf8(resources->name()) + L".");
        return false;
    }
    m_window = fendo::dialogs::createDialogWindow(*dialogTemplate, resources, this);
    Attach(m_window.get());
    m_ended = false;
    m_result = IDCANCEL;
    m_editorCommand = false;
    m_reshow = false;
    m_dispatchDepth = 0;
    return true;
}

INT_PTR CAdUiBaseDialog::DoModal()
{
    if (m_hWnd || !openWindow(m_templateId)) return -1;
    m_modal = true;
    m_driven = true;
    const auto alive = m_alive;
    if (!guarded(L"initialisation", [this] { OnInitDialog(); })) EndDialog(IDCANCEL);
    if (!*alive) return IDCANCEL;
    fendo::dialogs::paintStaleControls(m_hWnd);
    if (m_hWnd && !m_ended) fendo::dialogs::driveDialog(*this, fendo::dialogs::DriveMode::Modal);
    if (!*alive) return IDCANCEL;
    m_driven = false;
    const int result = m_result;
    DestroyWindow();
    return result;
}

BOOL CAdUiBaseDialog::Create(UINT templateId, CWnd* parent)
{
    if (m_hWnd) return FALSE;
    m_templateId = templateId;
    if (parent) m_parent = parent;
    if (!openWindow(templateId)) return FALSE;
    m_modal = false;
    m_driven = false;
    fendo::dialogs::registerModeless(this);
    const auto alive = m_alive;
    if (!guarded(L"initialisation", [this] { OnInitDialog(); })) EndDialog(IDCANCEL);
    if (!*alive) return TRUE;
    fendo::dialogs::paintStaleControls(m_hWnd);
    if (m_ended) {
        DestroyWindow();
    } else if (m_hWnd) {
        editor().write(L"\nDialog \"" + fendo::dialogs::formCaption(*this) +
                       L"\" stays open: DIALOG at the command prompt fills it in.");
    }
    return TRUE;
}

BOOL CAdUiBaseDialog::DestroyWindow()
{
    if (!m_hWnd || m_destroying) return FALSE;
    m_destroying = true;
    const auto alive = m_alive;
    guarded(L"closing", [this] { OnDestroy(); });
    if (!*alive) return TRUE;
    fendo::dialogs::unregisterModeless(this);
    m_window.reset(); // detaches this object and every member control
    m_editorCommand = false;
    m_destroying = false;
    return TRUE;
}

void CAdUiBaseDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (!m_modal && m_hWnd && !m_driven && m_dispatchDepth == 0) DestroyWindow();
}

BOOL CAdUiBaseDialog::UpdateData(BOOL saveAndValidate)
{
    if (!m_hWnd) return FALSE;
    CDataExchange exchange(this, saveAndValidate);
    if (!guarded(L"data exchange", [&] { DoDataExchange(&exchange); })) return FALSE;
    return exchange.failed() ? FALSE : TRUE;
}

BOOL CAdUiBaseDialog::BeginEditorCommand()
{
    if (!m_hWnd) return FALSE;
    m_editorCommand = true;
    return TRUE;
}

void CAdUiBaseDialog::CompleteEditorCommand(BOOL restoreDialogs)
{
    if (!m_editorCommand) return;
    m_editorCommand = false;
    if (restoreDialogs && m_hWnd) m_reshow = true;
}

void CAdUiBaseDialog::CancelEditorCommand()
{
    if (!m_editorCommand) return;
    m_editorCommand = false;
    if (m_hWnd) m_reshow = true;
}

void CAdUiBaseDialog::SendNotify(int controlId, int notifyCode)
{
    if (!m_hWnd) return;
    const auto alive = m_alive;
    ++m_dispatchDepth;
    guarded(L"handler", [&] {
        const auto it = m_handlers.find({controlId, notifyCode});
        if (it != m_handlers.end()) {
            const std::function<void()> handler = it->second; // the handler may register others
            handler();
        } else if (notifyCode == BN_CLICKED && controlId == IDOK) {
            OnOK();
        } else if (notifyCode == BN_CLICKED && controlId == IDCANCEL) {
            OnCancel();
        }
    });
    if (!*alive) return;
    --m_dispatchDepth;
    finishDispatch();
}

void CAdUiBaseDialog::finishDispatch()
{
    // Controls whose look changed draw once the handlers have returned.
    if (m_dispatchDepth == 0) fendo::dialogs::paintStaleControls(m_hWnd);
    // A modeless dialog that ended outside the command-line driver closes once its handlers return.
    if (m_dispatchDepth == 0 && m_ended && !m_modal && !m_driven && m_hWnd) DestroyWindow();
}

BOOL CAdUiBaseDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CAdUiBaseDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CAdUiBaseDialog::OnCancel() { EndDialog(IDCANCEL); }

void CAdUiBaseDialog::DoDataExchange(CDataExchange*) {}

void CAdUiBaseDialog::OnDestroy() {}

void CAdUiBaseDialog::onCommand(int id, int code, std::function<void()> handler)
{
    m_handlers[{id, code}] = std::move(handler);
}
