// The input side of object selection and single-object picks: reading and parsing the
// answers. Turning an answer into objects is the drawing's business, reached through
// SelectionResolver, so this file knows objects only as opaque 64-bit handles.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/AcadTypes.h"
#include "host/editor/AnswerGrammar.h"

namespace fendo::editor {

struct SelectionItem {
    enum class Kind {
        Point,     // pick at points[0]
        Window,    // objects wholly inside the rectangle points[0], points[1]
        Crossing,  // objects inside or crossing the rectangle points[0], points[1]
        All,       // every selectable object
        Last,      // the object drawn last
        Previous,  // the previous selection set
        Handles,   // the objects with these handles
    };
    Kind kind = Kind::Point;
    bool remove = false;  // given in remove mode
    std::vector<Point3> points;
    std::vector<std::uint64_t> handles;
};

class SelectionResolver {
public:
    virtual ~SelectionResolver() = default;
    // The objects an item names, in drawing order; unknown handles are left out.
    virtual std::vector<std::uint64_t> resolve(const SelectionItem& item) = 0;
};

// One line of a selection answer.
struct SelectionAnswer {
    enum class Kind {
        Item,         // `item` is filled
        AddMode,      // "a": later items add
        RemoveMode,   // "r": later items remove
        End,          // empty line
        NeedCorners,  // "w" or "c" alone: the corners are asked next
        Invalid,
    };
    Kind kind = Kind::Invalid;
    SelectionItem item;
};

// Parses "x,y", "w x1,y1 x2,y2", "c x1,y1 x2,y2", "all", "l", "p", "h 2A 2B", "r", "a" or an
// empty line. Points may be relative ("@1,0") to `lastPoint`.
SelectionAnswer parseSelectionAnswer(std::wstring_view line, const Point3& lastPoint);

enum class SelectionMode { Multiple, Single };

// Runs the selection loop: prints the add prompt ("Select objects: " when null) or, in remove
// mode, the remove prompt ("Remove objects: " when null), resolves each item and reports
// "N found". The result keeps the order of first selection without duplicates.
// RTNORM when something is selected, RTERROR for an empty selection, RTCAN on "^C", the end
// of input or too many bad answers from a script. Single mode ends after the first item that
// finds something.
int readSelection(const ACHAR* addPrompt, const ACHAR* removePrompt, SelectionMode mode,
                  SelectionResolver& resolver, std::vector<std::uint64_t>& out);

struct EntityPickAnswer {
    enum class Kind { Point, Handle };
    Kind kind = Kind::Point;
    Point3 point{0.0, 0.0, 0.0};
    std::uint64_t handle = 0;
};

// Reads the answer to a single-object prompt: "x,y" or "h HANDLE". Honours the pending
// acedInitGet keywords (RTKWORD) and arbitrary input (RTINPUT); RTNONE for an empty line,
// RTCAN on cancel. The caller finds the object and re-asks when nothing is there.
int readEntityPick(const ACHAR* prompt, EntityPickAnswer& out);

}  // namespace fendo::editor
