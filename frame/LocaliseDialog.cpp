// Dialog localisation: font and decoded texts.
#include "frame/LocaliseDialog.h"

#include <cwctype>
#include <string_view>

#include "frame/ModuleApp.h"
#include "frame/Tcvn3.h"
#include "frame/WideText.h"
#include "host/dialogs/Wnd.h"

namespace {

constexpr int kControlTextBuffer = 128; // bytes, with the terminating 0
constexpr int kCaptionBuffer = 64;
constexpr int kClassNameBuffer = 64;

bool sameClass(const ACHAR* className, std::wstring_view wanted)
{
    const std::wstring_view name(className);
    if (name.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::towlower(static_cast<wint_t>(name[i])) != std::towlower(static_cast<wint_t>(wanted[i])))
            return false;
    return true;
}

// Reads the window's text as 8-bit text into a buffer of `bufferSize` bytes and sets it back decoded.
void decodeWindowText(CWnd* window, int bufferSize)
{
    char stored[kControlTextBuffer] = {};
    GetWindowTextA(window->GetSafeHwnd(), stored, bufferSize);
    const auto decoded = DecodeTcvn3(stored);
    window->SetWindowText(fendo::text::toWide(decoded.get()).c_str());
}

} // namespace

void LocaliseDialog(CWnd* dialog)
{
    if (!dialog || !dialog->GetSafeHwnd()) return;
    CFont* font = dialogFont();
    if (font) dialog->SetFont(font, FALSE);
    for (CWnd* child = dialog->GetWindow(GW_CHILD); child; child = child->GetNextWindow()) {
        ACHAR className[kClassNameBuffer] = {};
        GetClassNameW(child->GetSafeHwnd(), className, kClassNameBuffer);
        if (sameClass(className, L"Button") || sameClass(className, L"Static"))
            decodeWindowText(child, kControlTextBuffer);
    }
    decodeWindowText(dialog, kCaptionBuffer);
    if (font)
        for (CWnd* child = dialog->GetWindow(GW_CHILD); child; child = child->GetNextWindow())
            child->SetFont(font, TRUE);
}
