// The preview control's properties and its picture file.
#include "host/dialogs/HatchPreview.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "host/dialogs/HostWindow.h"
#include "host/editor/Utf8.h"
#include "host/hatch/PatternFile.h"
#include "host/render/PatternSwatch.h"

namespace fendo::dialogs {

namespace fs = std::filesystem;
using namespace HatchPreviewDispid;

inline constexpr int kPreviewSide = 256;

struct HatchPreviewState {
    std::map<DISPID, COleVariant> properties{{kAppearance, short{0}},
                                             {kBackColor, OLE_COLOR{0xFFFFFF}},
                                             {kForeColor, OLE_COLOR{0}},
                                             {kBorderStyle, short{0}},
                                             {1, false},
                                             {kPatternScale, 1.0},
                                             {3, false},
                                             {4, short{0}},
                                             {kPattern, std::wstring()}};
    bool stale = false;
    std::string picture;  // the file drawn last; empty when none
};

namespace {

HatchPreviewState* stateOf(HostWindow* window, bool create)
{
    if (!isLiveWindow(window) || !window->isControlOf(ControlKind::HatchPreview)) return nullptr;
    if (!window->preview && create) window->preview = std::make_shared<HatchPreviewState>();
    return window->preview.get();
}

render::Rgb rgbOf(const COleVariant& value)
{
    const OLE_COLOR c = std::holds_alternative<OLE_COLOR>(value) ? std::get<OLE_COLOR>(value) : 0;
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

// A file name made of the pattern name: characters a file name cannot hold become '_'.
std::string pictureName(const std::string& patternName)
{
    std::string name;
    for (char c : patternName) name.push_back(c == '/' || c == '\\' || c == '\0' ? '_' : c);
    if (name.empty() || name == "." || name == "..") name = "_" + name;
    return name + ".png";
}

void forgetPicture(HostWindow& window, HatchPreviewState& state, const std::string& keep)
{
    if (!state.picture.empty() && state.picture != keep) {
        std::error_code ec;
        fs::remove(state.picture, ec);
    }
    state.picture = keep;
    window.text = editor::fromUtf8(keep);
}

// Draws the pattern of the control's pattern string; a string that names no readable pattern leaves
// the control empty, without a message.
void paint(HostWindow& window, HatchPreviewState& state)
{
    state.stale = false;
    const auto& reference = std::get<std::wstring>(state.properties[kPattern]);
    std::string path, name;
    std::optional<hatch::HatchPattern> pattern;
    if (hatch::splitPatternReference(editor::toUtf8(reference), path, name)) pattern = hatch::loadPattern(path, name);
    if (!pattern) return forgetPicture(window, state, "");

    render::SwatchOptions options;
    options.width = options.height = kPreviewSide;
    options.scale = std::get<double>(state.properties[kPatternScale]);
    options.foreground = rgbOf(state.properties[kForeColor]);
    options.background = rgbOf(state.properties[kBackColor]);
    const std::string folder = previewFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string file = (fs::path(folder) / pictureName(pattern->name)).string();
    forgetPicture(window, state, render::renderPatternSwatch(*pattern, file, options) ? file : "");
}

}  // namespace

std::string previewFolder()
{
    fs::path base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".cache";
    else
        base = fs::temp_directory_path();
    return (base / "KVO" / "Quorin" / "patterns").string();
}

void paintStaleControls(HostWindow* dialog)
{
    if (!isLiveWindow(dialog)) return;
    for (auto& child : dialog->children)
        if (HatchPreviewState* state = stateOf(child.get(), false); state && state->stale) paint(*child, *state);
}

}  // namespace fendo::dialogs

using fendo::dialogs::HatchPreviewState;

BOOL SetControlProperty(CWnd& control, DISPID id, const COleVariant& value)
{
    HatchPreviewState* state = fendo::dialogs::stateOf(control.GetSafeHwnd(), true);
    if (!state) return FALSE;
    const auto it = state->properties.find(id);
    if (it == state->properties.end() || it->second.index() != value.index()) return FALSE;
    const bool changed = it->second != value;
    it->second = value;
    // A new pattern string always draws, even the same one again: the file may have changed.
    using namespace HatchPreviewDispid;
    if ((changed && (id == kBackColor || id == kForeColor || id == kPatternScale)) || id == kPattern)
        state->stale = !std::get<std::wstring>(state->properties[kPattern]).empty() || !state->picture.empty();
    return TRUE;
}

COleVariant GetControlProperty(const CWnd& control, DISPID id)
{
    HatchPreviewState* state = fendo::dialogs::stateOf(control.GetSafeHwnd(), true);
    if (!state) return {};
    const auto it = state->properties.find(id);
    return it == state->properties.end() ? COleVariant{} : it->second;
}

BOOL InvokeControlMethod(CWnd& control, DISPID id)
{
    HostWindow* window = control.GetSafeHwnd();
    HatchPreviewState* state = fendo::dialogs::stateOf(window, true);
    if (!state || id != HatchPreviewDispid::kRefresh) return FALSE;
    fendo::dialogs::paint(*window, *state);
    return TRUE;
}
