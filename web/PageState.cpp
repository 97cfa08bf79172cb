// JSON of the question, the dialog forms and the picture changes for the browser page.
#include "web/PageState.h"

#include <cstdio>
#include <unordered_set>
#include <utility>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/DialogDriver.h"
#include "host/dialogs/HostWindow.h"
#include "host/editor/Utf8.h"

namespace fendo::web {

std::string jsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonString(std::wstring_view text) { return jsonString(editor::toUtf8(text)); }

std::string handleText(std::uint64_t handle)
{
    char text[20];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(handle));
    return text;
}

namespace {

const char* kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::DefPushButton: return "default";
    case ControlKind::CheckBox: return "check";
    case ControlKind::RadioButton: return "radio";
    case ControlKind::GroupBox: return "group";
    case ControlKind::Label: return "label";
    case ControlKind::Picture: return "picture";
    case ControlKind::Edit: return "edit";
    case ControlKind::ComboBox: return "combo";
    case ControlKind::ListBox: return "list";
    case ControlKind::ColorCombo: return "colour";
    case ControlKind::HatchPreview: return "preview";
    }
    return "control";
}

std::string controlJson(const HostWindow& w)
{
    std::string json = "{\"id\":" + std::to_string(w.id) + ",\"kind\":\"" + kindName(w.kind)
        + "\",\"text\":" + jsonString(w.text) + ",\"enabled\":" + (w.enabled ? "true" : "false")
        + ",\"visible\":" + (w.visible ? "true" : "false") + ",\"readOnly\":" + (w.readOnly ? "true" : "false")
        + ",\"check\":" + std::to_string(w.check) + ",\"typing\":" + (w.allowsTyping() ? "true" : "false")
        + ",\"sel\":" + std::to_string(w.curSel) + ",\"image\":" + std::to_string(w.imageId) + ",\"imageWidth\":"
        + std::to_string(w.imageWidth) + ",\"imageHeight\":" + std::to_string(w.imageHeight) + ",\"items\":[";
    for (std::size_t i = 0; i < w.items.size(); ++i) {
        if (i) json += ",";
        json += "{\"text\":" + jsonString(w.items[i].text) + ",\"data\":" + std::to_string(w.items[i].data) + "}";
    }
    return json + "]}";
}

}  // namespace

std::string dialogJson(const CAdUiBaseDialog& dialog, bool modeless)
{
    std::string json = "{\"caption\":" + jsonString(dialogs::formCaption(dialog)) + ",\"template\":"
        + std::to_string(dialog.GetTemplateId()) + ",\"modeless\":" + (modeless ? "true" : "false") + ",\"controls\":[";
    if (HostWindow* window = dialog.GetSafeHwnd()) {
        bool first = true;
        for (const auto& child : window->children) {
            if (!first) json += ",";
            first = false;
            json += controlJson(*child);
        }
    }
    return json + "]}";
}

std::string requestJson(const editor::Request& request, std::wstring_view prompt)
{
    static const char* kinds[] = { "text", "command", "point", "selection", "entity", "dialog", "message" };
    const auto cut = prompt.rfind(L'\n');
    const std::wstring_view last = cut == std::wstring_view::npos ? prompt : prompt.substr(cut + 1);
    std::string json = std::string("{\"kind\":\"") + kinds[static_cast<int>(request.kind)]
        + "\",\"prompt\":" + jsonString(last) + ",\"selected\":[";
    for (std::size_t i = 0; i < request.selected.size(); ++i)
        json += (i ? ",\"" : "\"") + handleText(request.selected[i]) + "\"";
    json += "],\"choices\":" + jsonString(request.choices);
    const auto* active = static_cast<const CAdUiBaseDialog*>(request.dialog);
    if (request.kind == editor::RequestKind::Dialog && active && active->GetSafeHwnd())
        json += ",\"dialog\":" + dialogJson(*active, request.modeless);
    json += ",\"modeless\":[";
    bool first = true;
    for (const CAdUiBaseDialog* open : dialogs::openModelessDialogs()) {
        if (!open->GetSafeHwnd()) continue;
        json += (first ? "" : ",") + dialogJson(*open, true);
        first = false;
    }
    return json + "]}";
}

PictureTracker::Change PictureTracker::update(std::vector<render::ObjectPicture> pictures)
{
    Change change;
    std::unordered_map<std::uint64_t, std::size_t> index;
    index.reserve(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) index.emplace(pictures[i].handle, i);
    for (const render::ObjectPicture& old : current_) {
        const auto found = index.find(old.handle);
        if (!old.svg.empty() && (found == index.end() || pictures[found->second].svg.empty()))
            change.removed.push_back(old.handle);
    }
    const std::vector<render::ObjectPicture> before = std::exchange(current_, std::move(pictures));
    const auto beforeIndex = std::exchange(index_, std::move(index));
    for (const render::ObjectPicture& now : current_) {
        if (now.svg.empty()) continue;
        const auto old = beforeIndex.find(now.handle);
        if (old == beforeIndex.end() || before[old->second].svg != now.svg) change.put.push_back(&now);
    }
    return change;
}

namespace {

const AcDbEntity* liveEntity(AcDbObjectId id)
{
    const AcDbStub* stub = id.stub();
    return stub && stub->object && !stub->erased ? AcDbEntity::cast(stub->object) : nullptr;
}

}  // namespace

PictureTracker::Change PictureTracker::refresh(AcDbDatabase& db, const render::ViewTransform& view)
{
    const AcDbObjectId space = db.modelSpaceId();
    bool everything = tracked_ != &db;
    std::unordered_set<std::uint64_t> touched;
    std::unordered_set<const AcDbStub*> layers;  // layer records changed (on, off, colour ...)
    if (!everything) {
        for (AcDbObjectId id : db.takeWriteOpens()) {
            const AcDbStub* stub = id.stub();
            const AcDbObject* object = stub ? stub->object : nullptr;
            if (!object || id == space || AcDbDictionary::cast(object)) continue;
            if (AcDbEntity::cast(object) && object->ownerId() == space)
                touched.insert(id.handle().value());
            else if (AcDbLayerTableRecord::cast(object))
                layers.insert(stub);
            else
                everything = true;
        }
    }
    if (everything) {
        db.setTrackWriteOpens(true);
        tracked_ = &db;
        return update(render::drawObjectsAsSvg(db, view));
    }

    const auto* record = db::peekObject<AcDbBlockTableRecord>(space);
    if (!record) return update({});
    render::SvgObjectDrawer drawer(db, view);
    std::vector<render::ObjectPicture> next;
    std::unordered_map<std::uint64_t, std::size_t> index;
    std::vector<char> kept(current_.size(), 0);
    std::vector<std::size_t> put;
    Change change;
    for (AcDbObjectId id : record->entityIds()) {
        const AcDbEntity* entity = liveEntity(id);
        if (!entity) continue;
        const std::uint64_t handle = id.handle().value();
        const auto old = index_.find(handle);
        if (old != index_.end()) kept[old->second] = 1;
        // A block reference may draw on any layer through its block's objects.
        const bool layerChanged
            = !layers.empty() && (layers.count(entity->layerId().stub()) || AcDbBlockReference::cast(entity));
        if (old != index_.end() && !touched.count(handle) && !layerChanged) {
            next.push_back(std::move(current_[old->second]));
        } else {
            render::ObjectPicture drawn = drawer.draw(id);
            const std::string* before = old == index_.end() ? nullptr : &current_[old->second].svg;
            if (before && !before->empty() && drawn.svg.empty())
                change.removed.push_back(handle);
            else if (!drawn.svg.empty() && (!before || *before != drawn.svg))
                put.push_back(next.size());
            next.push_back(std::move(drawn));
        }
        index.emplace(handle, next.size() - 1);
    }
    for (std::size_t i = 0; i < current_.size(); ++i)
        if (!kept[i] && !current_[i].svg.empty()) change.removed.push_back(current_[i].handle);
    current_ = std::move(next);
    index_ = std::move(index);
    for (std::size_t at : put) change.put.push_back(&current_[at]);
    return change;
}

std::string PictureTracker::fullSvg() const
{
    std::string svg;
    for (const render::ObjectPicture& p : current_) svg += p.svg;
    return svg;
}

std::string pictureJson(const PictureTracker::Change& change)
{
    std::string json = "{\"full\":false,\"remove\":[";
    for (std::size_t i = 0; i < change.removed.size(); ++i)
        json += (i ? ",\"" : "\"") + handleText(change.removed[i]) + "\"";
    json += "],\"put\":[";
    for (std::size_t i = 0; i < change.put.size(); ++i)
        json += (i ? ",[" : "[") + jsonString(handleText(change.put[i]->handle)) + "," + jsonString(change.put[i]->svg)
            + "]";
    return json + "]}";
}

std::string fullPictureJson(const PictureTracker& tracker, const render::ViewTransform& view, int width, int height)
{
    char head[256];
    std::snprintf(head, sizeof head,
        "{\"full\":true,\"view\":{\"scale\":%.17g,\"left\":%.17g,\"top\":%.17g,\"width\":%d,\"height\":%d},"
        "\"svg\":",
        view.scale, view.worldLeft, view.worldTop, width, height);
    return head + jsonString(tracker.fullSvg()) + "}";
}

}  // namespace fendo::web
