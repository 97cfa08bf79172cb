// The host's hatch-pattern preview control, an ActiveX control driven through dispatch properties.
// It draws the pattern named by its pattern string "PATH(NAME)" at its scale and colours into a 256
// x 256 PNG under the user's cache folder ($XDG_CACHE_HOME, else ~/.cache, +
// "/KVO/Quorin/patterns/"), and shows the picture's path on its line of the dialog form. A change
// marks the picture stale; it is drawn again once the dialog code that made the change has returned
// (or at a refresh), so a handler setting several properties draws once.
#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "host/core/AcadTypes.h"
#include "host/dialogs/Wnd.h"

using DISPID = long;
// Colours as ActiveX controls take them: 0x00BBGGRR.
using OLE_COLOR = std::uint32_t;

// A property value of an ActiveX control; monostate for a property it does not have.
using COleVariant = std::variant<std::monostate, bool, short, OLE_COLOR, double, std::wstring>;

// Dispatch ids of the preview control.
namespace HatchPreviewDispid {
inline constexpr DISPID kAppearance = -520;
inline constexpr DISPID kBackColor = -501;
inline constexpr DISPID kForeColor = -513;
inline constexpr DISPID kBorderStyle = -504;
inline constexpr DISPID kRefresh = -550;
inline constexpr DISPID kPatternScale = 2;
inline constexpr DISPID kPattern = 5;
}  // namespace HatchPreviewDispid

// Property access of a host ActiveX control; FALSE (or monostate) for a window that is not one, an
// unknown id or a value of the wrong type.
BOOL SetControlProperty(CWnd& control, DISPID id, const COleVariant& value);
COleVariant GetControlProperty(const CWnd& control, DISPID id);
// Runs a method without arguments (the preview's refresh draws a stale picture now).
BOOL InvokeControlMethod(CWnd& control, DISPID id);

namespace fendo::dialogs {

// Where previews are written: $XDG_CACHE_HOME, else $HOME/.cache, + "/KVO/Quorin/patterns".
std::string previewFolder();

// Draws every stale preview control of a dialog window.
void paintStaleControls(HostWindow* dialog);

}  // namespace fendo::dialogs
