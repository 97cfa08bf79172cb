// What the browser page is told, as JSON: the question being asked (with the dialog form or the
// message box buttons it needs) and the changes of the picture since the page last saw it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/editor/Editor.h"
#include "host/render/DrawingRenderer.h"

class CAdUiBaseDialog;
class AcDbDatabase;

namespace fendo::web {

// `text` as a JSON string, quotes included.
std::string jsonString(std::string_view utf8);
std::string jsonString(std::wstring_view text);
// A handle as the drawing writes it: upper-case hexadecimal.
std::string handleText(std::uint64_t handle);

// The form of a dialog: caption, template id and each control (id, kind, label or text, state,
// entries), in template order.
std::string dialogJson(const CAdUiBaseDialog& dialog, bool modeless);

// The question: its kind, the prompt's last line, the selected handles, the buttons of a message
// box and the dialog form, plus every open modeless dialog.
std::string requestJson(const editor::Request& request, std::wstring_view prompt);

// The picture as the page has it, and what changed since: objects drawn differently or new
// are put (in drawing order, after the ones kept), objects gone or no longer drawn removed.
class PictureTracker {
public:
    struct Change {
        std::vector<std::uint64_t> removed;
        std::vector<const render::ObjectPicture*> put;  // valid until the next update
        bool empty() const { return removed.empty() && put.empty(); }
    };
    // Takes the newest pictures of all objects and returns what changed.
    Change update(std::vector<render::ObjectPicture> pictures);
    // Brings the picture up to date with the drawing, redrawing only what may have changed:
    // objects opened for write since the last refresh and objects new in model space; all of
    // them when something else changed that objects draw with (a layer, a style, a block).
    Change refresh(AcDbDatabase& db, const render::ViewTransform& view);
    // The whole picture: every object's group in drawing order.
    std::string fullSvg() const;
    std::size_t objectCount() const { return current_.size(); }

private:
    std::vector<render::ObjectPicture> current_;
    std::unordered_map<std::uint64_t, std::size_t> index_;  // handle -> position in current_
    AcDbDatabase* tracked_ = nullptr;  // the drawing whose writes are followed
};

// The picture change as the page reads it: {"full":..., "remove":[...], "put":[[h,svg],...]}.
std::string pictureJson(const PictureTracker::Change& change);
std::string fullPictureJson(const PictureTracker& tracker, const render::ViewTransform& view, int width, int height);

}  // namespace fendo::web
