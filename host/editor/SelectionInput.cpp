// Reading object selections and single-object picks.
#include "host/editor/SelectionInput.h"

#include <algorithm>
#include <unordered_set>

#include "host/core/adsdef.h"
#include "host/editor/Editor.h"
#include "host/editor/aced.h"

namespace fendo::editor {

namespace {

std::optional<std::uint64_t> parseHandle(std::wstring_view text)
{
    if (text.empty() || text.size() > 16) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        int digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    if (value == 0) {
        return std::nullopt;  // handle 0 names no object
    }
    return value;
}

// The handles after the "h" word of "h 2A 2B".
std::optional<std::vector<std::uint64_t>> parseHandles(const std::vector<std::wstring_view>& words)
{
    if (words.size() < 2) {
        return std::nullopt;
    }
    std::vector<std::uint64_t> handles;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto h = parseHandle(words[i]);
        if (!h) {
            return std::nullopt;
        }
        handles.push_back(*h);
    }
    return handles;
}

SelectionAnswer itemAnswer(SelectionItem item)
{
    SelectionAnswer a;
    a.kind = SelectionAnswer::Kind::Item;
    a.item = std::move(item);
    return a;
}

SelectionAnswer simple(SelectionAnswer::Kind kind)
{
    SelectionAnswer a;
    a.kind = kind;
    return a;
}

}  // namespace

SelectionAnswer parseSelectionAnswer(std::wstring_view line, const Point3& lastPoint)
{
    using K = SelectionAnswer::Kind;
    const auto typed = trimBlanks(line);
    if (typed.empty()) {
        return simple(K::End);
    }
    const auto words = splitBlanks(typed);
    const auto& head = words.front();
    SelectionItem item;
    if (equalsNoCase(head, L"w") || equalsNoCase(head, L"window") || equalsNoCase(head, L"c") ||
        equalsNoCase(head, L"crossing")) {
        item.kind = (head[0] == L'w' || head[0] == L'W') ? SelectionItem::Kind::Window
                                                         : SelectionItem::Kind::Crossing;
        if (words.size() == 1) {
            SelectionAnswer a = simple(K::NeedCorners);
            a.item = item;
            return a;
        }
        if (words.size() != 3) {
            return simple(K::Invalid);
        }
        for (std::size_t i = 1; i < 3; ++i) {
            const auto p = parsePoint(words[i], i == 1 ? lastPoint : item.points[0]);
            if (!p) {
                return simple(K::Invalid);
            }
            item.points.push_back(*p);
        }
        return itemAnswer(std::move(item));
    }
    if (words.size() == 1) {
        if (equalsNoCase(head, L"all")) {
            item.kind = SelectionItem::Kind::All;
            return itemAnswer(std::move(item));
        }
        if (equalsNoCase(head, L"l") || equalsNoCase(head, L"last")) {
            item.kind = SelectionItem::Kind::Last;
            return itemAnswer(std::move(item));
        }
        if (equalsNoCase(head, L"p") || equalsNoCase(head, L"previous")) {
            item.kind = SelectionItem::Kind::Previous;
            return itemAnswer(std::move(item));
        }
        if (equalsNoCase(head, L"r") || equalsNoCase(head, L"remove")) {
            return simple(K::RemoveMode);
        }
        if (equalsNoCase(head, L"a") || equalsNoCase(head, L"add")) {
            return simple(K::AddMode);
        }
    }
    if (equalsNoCase(head, L"h") || equalsNoCase(head, L"handle")) {
        const auto handles = parseHandles(words);
        if (!handles) {
            return simple(K::Invalid);
        }
        item.kind = SelectionItem::Kind::Handles;
        item.handles = *handles;
        return itemAnswer(std::move(item));
    }
    // A point may be typed with blanks after the commas ("1, 2").
    if (const auto p = parsePoint(typed, lastPoint)) {
        item.kind = SelectionItem::Kind::Point;
        item.points.push_back(*p);
        return itemAnswer(std::move(item));
    }
    return simple(K::Invalid);
}

namespace {

// Asks the two corners of a window or crossing typed as "w" or "c" alone.
int askCorners(SelectionItem& item)
{
    Editor& ed = editor();
    const wchar_t* prompts[2] = {L"\nSpecify first corner: ", L"\nSpecify opposite corner: "};
    RequestScope scope(RequestKind::Point);
    for (const wchar_t* prompt : prompts) {
        int badAnswers = 0;
        for (;;) {
            std::wstring answer;
            if (ed.ask(prompt, answer) != AnswerStatus::Text) {
                ed.write(L"\n*Cancel*");
                return RTCAN;
            }
            if (const auto p = parsePoint(answer, ed.lastPoint())) {
                item.points.push_back(*p);
                ed.setLastPoint(*p);
                break;
            }
            ed.write(L"\nInvalid point.");
            if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
                ed.write(L"\n*Cancel*");
                return RTCAN;
            }
        }
    }
    return RTNORM;
}

std::wstring countLine(std::size_t found, std::size_t duplicates, std::size_t removed, std::size_t total,
                       bool removing)
{
    std::wstring line = std::to_wstring(found) + L" found";
    if (removing) {
        line += L", " + std::to_wstring(removed) + L" removed";
    } else if (duplicates > 0) {
        line += L" (" + std::to_wstring(duplicates) + L" duplicate)";
    }
    if (total != found || duplicates > 0 || removing) {
        line += L", " + std::to_wstring(total) + L" total";
    }
    return line;
}

}  // namespace

int readSelection(const ACHAR* addPrompt, const ACHAR* removePrompt, SelectionMode mode,
                  SelectionResolver& resolver, std::vector<std::uint64_t>& out)
{
    Editor& ed = editor();
    ed.takeInitGet();
    out.clear();
    const std::wstring add = addPrompt ? std::wstring(addPrompt) : std::wstring(L"\nSelect objects: ");
    const std::wstring remove =
        removePrompt ? std::wstring(removePrompt) : std::wstring(L"\nRemove objects: ");
    std::unordered_set<std::uint64_t> chosen;
    bool removing = false;
    int badAnswers = 0;
    RequestScope scope(RequestKind::Selection);
    for (;;) {
        std::wstring answer;
        ed.request().selected = out;
        if (ed.ask(removing ? remove : add, answer) != AnswerStatus::Text) {
            ed.write(L"\n*Cancel*");
            out.clear();
            return RTCAN;
        }
        SelectionAnswer parsed = parseSelectionAnswer(answer, ed.lastPoint());
        using K = SelectionAnswer::Kind;
        const bool modeSwitch = parsed.kind == K::AddMode || parsed.kind == K::RemoveMode;
        if (parsed.kind == K::Invalid || (mode == SelectionMode::Single && modeSwitch)) {
            ed.write(L"\n*Invalid selection*\nExpects a point or Window/Crossing/ALL/Last/Previous/Handle" +
                     std::wstring(mode == SelectionMode::Multiple ? L"/Add/Remove." : L"."));
            if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
                ed.write(L"\n*Cancel*");
                out.clear();
                return RTCAN;
            }
            continue;
        }
        switch (parsed.kind) {
        case K::End:
            return out.empty() ? RTERROR : RTNORM;
        case K::AddMode:
            removing = false;
            continue;
        case K::RemoveMode:
            removing = true;
            continue;
        case K::NeedCorners:
            if (const int rc = askCorners(parsed.item); rc != RTNORM) {
                out.clear();
                return rc;
            }
            break;
        default:
            break;
        }
        SelectionItem& item = parsed.item;
        item.remove = removing;
        if (item.kind == SelectionItem::Kind::Point) {
            ed.setLastPoint(item.points.front());
        }
        const auto found = resolver.resolve(item);
        std::size_t duplicates = 0;
        std::size_t removed = 0;
        for (const auto id : found) {
            if (removing) {
                if (chosen.erase(id) > 0) {
                    out.erase(std::find(out.begin(), out.end(), id));
                    ++removed;
                }
            } else if (chosen.insert(id).second) {
                out.push_back(id);
            } else {
                ++duplicates;
            }
        }
        ed.write(L"\n" + countLine(found.size(), duplicates, removed, out.size(), removing));
        if (mode == SelectionMode::Single && !out.empty()) {
            return RTNORM;
        }
    }
}

int readEntityPick(const ACHAR* prompt, EntityPickAnswer& out)
{
    Editor& ed = editor();
    const InitGetState initGet = ed.takeInitGet();
    int badAnswers = 0;
    RequestScope scope(RequestKind::Entity);
    for (;;) {
        std::wstring answer;
        if (ed.ask(prompt ? prompt : L"\nSelect object: ", answer) != AnswerStatus::Text) {
            ed.write(L"\n*Cancel*");
            return RTCAN;
        }
        const auto typed = trimBlanks(answer);
        if (typed.empty()) {
            return RTNONE;
        }
        const SelectionAnswer parsed = parseSelectionAnswer(typed, ed.lastPoint());
        if (parsed.kind == SelectionAnswer::Kind::Item) {
            const SelectionItem& item = parsed.item;
            if (item.kind == SelectionItem::Kind::Point) {
                out.kind = EntityPickAnswer::Kind::Point;
                out.point = item.points.front();
                ed.setLastPoint(out.point);
                return RTNORM;
            }
            if (item.kind == SelectionItem::Kind::Handles && item.handles.size() == 1) {
                out.kind = EntityPickAnswer::Kind::Handle;
                out.handle = item.handles.front();
                return RTNORM;
            }
        }
        if (auto keyword = initGet.keywords.match(typed)) {
            ed.setLastInput(*keyword);
            return RTKWORD;
        }
        if (initGet.flags & RSG_OTHER) {
            ed.setLastInput(std::wstring(typed));
            return RTINPUT;
        }
        ed.write(initGet.keywords.empty() ? L"\n*Invalid selection*\nExpects a point or Handle."
                                          : L"\nPoint or option keyword required.");
        if (!ed.interactive() && ++badAnswers > ed.scriptRetryLimit()) {
            ed.write(L"\n*Cancel*");
            return RTCAN;
        }
    }
}

}  // namespace fendo::editor
