// The host's dialog classes: CAdUiBaseDialog (and CAcUiDialog, the plug-in flavour derived from it),
// built from a dialog template of the current resource module and shown on the command line.
//
// A dialog declares its exchanges in DoDataExchange and its handlers in its constructor:
//
//     class DlgEditLine : public CAcUiDialog {
//     public:
//         explicit DlgEditLine(CWnd* parent) : CAcUiDialog(168, parent)
//         {
//             onCommand(1101, BN_CLICKED, &DlgEditLine::OnAnchorChanged);
//         }
//     protected:
//         BOOL OnInitDialog() override;         // call the base first, LocaliseDialog last
//         void DoDataExchange(CDataExchange* pDX) override;
//         void OnOK() override;                 // may refuse to close by not calling the base
//     };
//
// DoModal shows the dialog and returns when it ends (IDOK, IDCANCEL or the EndDialog code; -1 when the
// template is missing). Create shows it modeless: it stays open after the command returns and is
// driven from the command prompt with the DIALOG command until it closes.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>

#include "host/dialogs/Controls.h"
#include "host/dialogs/DataExchange.h"
#include "host/dialogs/Wnd.h"
#include "host/editor/MessageBox.h" // IDOK, IDCANCEL

class ResourceModule;

class CAdUiBaseDialog : public CWnd {
public:
    // `resources` null: the template is looked up in the current resource module when the dialog opens.
    explicit CAdUiBaseDialog(UINT templateId, CWnd* parent = nullptr,
                             const ResourceModule* resources = nullptr);
    ~CAdUiBaseDialog() override;

    // Shows the dialog and answers it from the command line; returns the EndDialog code.
    virtual INT_PTR DoModal();
    // Opens the dialog modeless; FALSE when its template is missing or it is already open.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create() { return Create(m_templateId, m_parent); }
    // Closes the window (OnDestroy runs first while the controls still exist). The object remains.
    BOOL DestroyWindow() override;
    // Ends the dialog with `result`. A modal dialog returns it from DoModal after the current answer;
    // a modeless dialog closes.
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT GetTemplateId() const { return m_templateId; }
    bool IsModeless() const { return m_hWnd && !m_modal; }
    CWnd* parentWindow() const { return m_parent; }

    // Stepping aside for the command line: between BeginEditorCommand and CompleteEditorCommand the
    // dialog is hidden and the editor's prompts (acedGetPoint, acedSSGet ...) take the next answers;
    // then the dialog comes back and is shown again. CancelEditorCommand ends the hand-over after a
    // cancelled pick: the dialog comes back as it was.
    BOOL BeginEditorCommand();
    void CompleteEditorCommand(BOOL restoreDialogs = TRUE);
    void CancelEditorCommand();
    bool EditorCommandActive() const { return m_editorCommand; }

    // Delivers a control's notification as the control does: the handler registered for (id, code);
    // without one, BN_CLICKED of IDOK runs OnOK and of IDCANCEL runs OnCancel.
    void SendNotify(int controlId, int notifyCode);

    // The dialog's state as the command line driver needs it.
    bool endRequested() const { return m_ended; }
    int endResult() const { return m_result; }
    // Set when the dialog has to be shown again in full (after stepping aside).
    bool takeReshowRequest() { return std::exchange(m_reshow, false); }
    // Observes the object's life: false once it is deleted.
    std::shared_ptr<const bool> lifeToken() const { return m_alive; }
    // While the command line driver reads answers for the dialog, a modeless EndDialog waits for the
    // current answer to finish before the window closes.
    void setDriven(bool driven) { m_driven = driven; }

protected:
    // Runs when the controls exist; the base exchanges data into the controls (UpdateData(FALSE)).
    virtual BOOL OnInitDialog();
    // The base reads the controls (UpdateData(TRUE)) and ends the dialog with IDOK when that succeeds.
    virtual void OnOK();
    // The base ends the dialog with IDCANCEL.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs as the window closes, controls still present.
    virtual void OnDestroy();

    // Registers `handler` for notification `code` (BN_CLICKED, EN_CHANGE, EN_KILLFOCUS, CBN_SELCHANGE,
    // LBN_SELCHANGE ...) of control `id`; a later registration for the same pair replaces it.
    template <class Dialog> void onCommand(int id, int code, void (Dialog::*handler)())
    {
        static_assert(std::is_base_of_v<CAdUiBaseDialog, Dialog>, "the handler must be a member of a dialog");
        onCommand(id, code,
                  std::function<void()>([this, handler] { (static_cast<Dialog*>(this)->*handler)(); }));
    }
    void onCommand(int id, int code, std::function<void()> handler);

private:
    bool openWindow(UINT templateId);
    void finishDispatch();

    UINT m_templateId;
    CWnd* m_parent;
    const ResourceModule* m_resources;
    std::unique_ptr<HostWindow> m_window;
    std::map<std::pair<int, int>, std::function<void()>> m_handlers;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_modal = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
    bool m_editorCommand = false;
    bool m_reshow = false;
    bool m_driven = false;
    bool m_destroying = false;
    int m_dispatchDepth = 0;
};

// The plug-in's dialog base; it adds nothing the stand-in host needs beyond its base.
class CAcUiDialog : public CAdUiBaseDialog {
public:
    using CAdUiBaseDialog::CAdUiBaseDialog;
};

// The plain dialog name some dialogs are written against.
using CDialog = CAdUiBaseDialog;
