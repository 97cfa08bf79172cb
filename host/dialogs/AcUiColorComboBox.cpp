// The colour combo box's entries and the command-line colour dialog.
#include "host/dialogs/AcUiColorComboBox.h"

#include <array>

#include "host/dialogs/HostWindow.h"
#include "host/editor/AnswerGrammar.h"
#include "host/editor/Editor.h"

namespace {

constexpr std::array<const wchar_t*, 8> kStandardNames = {L"",     L"Red",  L"Yellow",  L"Green",
                                                          L"Cyan", L"Blue", L"Magenta", L"White"};
constexpr int kFixedEntries = 9; // ByLayer, ByBlock and colours 1..7

bool isColorCombo(const HostWindow* w) { return w && w->isControlOf(ControlKind::ColorCombo); }

bool validColorIndex(int index) { return index >= kColorByBlock && index <= kColorByLayer; }

// A typed colour: a number or a colour name; -1 when it is neither.
int parseColor(std::wstring_view typed)
{
    if (const auto number = fendo::editor::parseInteger(typed))
        return *number >= kColorByBlock && *number <= kColorByLayer ? static_cast<int>(*number) : -1;
    for (int index : {kColorByLayer, kColorByBlock, 1, 2, 3, 4, 5, 6, 7})
        if (fendo::editor::equalsNoCase(typed, fendo::dialogs::colorIndexName(index))) return index;
    return -1;
}

} // namespace

namespace fendo::dialogs {

std::wstring colorIndexName(int colorIndex)
{
    if (colorIndex == kColorByLayer) return L"ByLayer";
    if (colorIndex == kColorByBlock) return L"ByBlock";
    if (colorIndex >= 1 && colorIndex <= 7) return kStandardNames[static_cast<std::size_t>(colorIndex)];
    return L"Color " + std::to_wstring(colorIndex);
}

void fillColorComboEntries(HostWindow& combo)
{
    combo.items.clear();
    combo.items.push_back({colorIndexName(kColorByLayer), kColorByLayer});
    combo.items.push_back({colorIndexName(kColorByBlock), kColorByBlock});
    for (int index = 1; index <= 7; ++index)
        combo.items.push_back({colorIndexName(index), static_cast<DWORD_PTR>(index)});
    combo.curSel = -1;
}

} // namespace fendo::dialogs

int CAcUiColorComboBox::GetColorIndex() const { return GetItemColorIndex(GetCurSel()); }

int CAcUiColorComboBox::SetColorIndex(int colorIndex)
{
    if (!isColorCombo(m_hWnd) || !validColorIndex(colorIndex)) return CB_ERR;
    const int item = AddColorToMRU(colorIndex);
    return SetCurSel(item);
}

int CAcUiColorComboBox::FindItemByColorIndex(int colorIndex) const
{
    if (!isColorCombo(m_hWnd)) return CB_ERR;
    for (std::size_t i = 0; i < m_hWnd->items.size(); ++i)
        if (m_hWnd->items[i].data == static_cast<DWORD_PTR>(colorIndex)) return static_cast<int>(i);
    return CB_ERR;
}

int CAcUiColorComboBox::AddColorToMRU(int colorIndex)
{
    if (!isColorCombo(m_hWnd) || !validColorIndex(colorIndex)) return CB_ERR;
    const int existing = FindItemByColorIndex(colorIndex);
    if (existing != CB_ERR) return existing;
    auto& items = m_hWnd->items;
    if (static_cast<int>(items.size()) >= kFixedEntries + kMaxRecentColors) {
        const int oldest = kFixedEntries;
        items.erase(items.begin() + oldest);
        if (m_hWnd->curSel == oldest)
            m_hWnd->curSel = -1;
        else if (m_hWnd->curSel > oldest)
            --m_hWnd->curSel;
    }
    items.push_back({fendo::dialogs::colorIndexName(colorIndex), static_cast<DWORD_PTR>(colorIndex)});
    return static_cast<int>(items.size()) - 1;
}

int CAcUiColorComboBox::GetItemColorIndex(int item) const
{
    if (!isColorCombo(m_hWnd) || item < 0 || item >= static_cast<int>(m_hWnd->items.size())) return -1;
    return static_cast<int>(m_hWnd->items[static_cast<std::size_t>(item)].data);
}

bool acedSetColorDialog(int& colorIndex, bool allowMetaColor, int currentLayerColor)
{
    using namespace fendo::editor;
    Editor& ed = editor();
    const std::wstring range = allowMetaColor ? L"1-255, 0 ByBlock, 256 ByLayer" : L"1-255";
    const std::wstring prompt = L"\nColor index (" + range + L"; ByLayer is " +
                                std::to_wstring(currentLayerColor) + L") <" + std::to_wstring(colorIndex) +
                                L">: ";
    for (int badAnswers = 0;;) {
        std::wstring answer;
        if (ed.ask(prompt, answer) != AnswerStatus::Text) return false;
        const auto typed = trimBlanks(answer);
        if (typed.empty()) return true;
        const int chosen = parseColor(typed);
        const bool meta = chosen == kColorByBlock || chosen == kColorByLayer;
        if (chosen >= 0 && (allowMetaColor || !meta)) {
            colorIndex = chosen;
            return true;
        }
        ed.write(L"\nEnter a colour index (" + range + L") or a colour name.");
        if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) return false;
    }
}
