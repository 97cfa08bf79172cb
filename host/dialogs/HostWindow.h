// What a window handle refers to: the record of one window of the headless dialog framework (its
// class, text, state, entries and children). Private to host/dialogs; module code sees only CWnd.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host/dialogs/DialogTemplate.h"
#include "host/dialogs/WinTypes.h"

class CAdUiBaseDialog;
class CFont;
class CWnd;
class ResourceModule;
namespace fendo::dialogs {
struct HatchPreviewState;
}

enum class WindowRole { Frame, Dialog, Control };

struct ListEntry {
    std::wstring text;
    DWORD_PTR data = 0;
};

struct HostWindow {
    HostWindow();
    ~HostWindow(); // detaches every wrapper and destroys the children first
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    WindowRole role = WindowRole::Control;
    int id = 0;
    ControlKind kind = ControlKind::Label; // controls only
    std::wstring className;
    std::wstring text;
    ControlStyle style = ControlStyle::None;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    int check = BST_UNCHECKED;
    std::vector<ListEntry> items;
    int curSel = -1;
    int imageId = 0;
    int imageWidth = 0; // pixels, from the image resource when there is one
    int imageHeight = 0;
    CFont* font = nullptr;
    std::shared_ptr<fendo::dialogs::HatchPreviewState> preview; // the preview control's properties

    HostWindow* parent = nullptr;
    std::vector<std::unique_ptr<HostWindow>> children;
    std::unique_ptr<CWnd> permanent;   // the wrapper GetDlgItem hands out, of the control's class
    std::vector<CWnd*> attached;       // every wrapper whose m_hWnd is this window
    CAdUiBaseDialog* dialog = nullptr; // role Dialog: the dialog object

    bool isControlOf(ControlKind k) const { return role == WindowRole::Control && kind == k; }
    bool isButtonLike() const; // push, default push, check box, radio button
    bool allowsTyping() const; // a combo box with free typing
    int indexInParent() const;
};

namespace fendo::dialogs {

bool isLiveWindow(const HostWindow* window);

// Builds a dialog window and its controls from a template. `resources` supplies image sizes.
std::unique_ptr<HostWindow> createDialogWindow(const DialogTemplate& dialogTemplate,
                                               const ResourceModule* resources, CAdUiBaseDialog* owner);

// Tells the control's dialog that `code` happened to it, as the control would (WM_COMMAND). The
// dialog's handler may destroy the control, so callers do not touch `control` afterwards.
void notifyParent(HostWindow* control, int code);

// The radio buttons of `radio`'s group in template order: from the nearest control at or before it
// that starts a group up to the next one that starts a group.
std::vector<HostWindow*> radioGroupOf(HostWindow* radio);

// Colour combo entries: ByLayer, ByBlock, the seven standard colours, then the recent colours.
void fillColorComboEntries(HostWindow& combo);
std::wstring colorIndexName(int colorIndex);

} // namespace fendo::dialogs
