// An index of the plan-view extents of the entities of model and paper space,
// so that a pick, window, crossing, fence or polygon visits only the objects
// near it instead of flattening the whole drawing. It lives with its database
// and catches up with the objects added, changed, erased or unerased since the
// last search.
#pragma once
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint2d.h"

class AcDbDatabase;

namespace fendo::editor {

// How selection finds its candidates. Scan visits every object and exists to
// check the index against it.
enum class SelectionSearch { Indexed, Scan };
void setSelectionSearch(SelectionSearch search);
SelectionSearch selectionSearch();

// What the drawn shapes depend on besides the objects themselves: a change
// rebuilds the index. (Arcs are boxed to their true extremes, so the chord
// tolerance of a search does not matter.)
struct FlattenSettings {
    int pdmode = 0;
    double pdsize = 0;
    bool operator==(const FlattenSettings&) const = default;
};

// The entities of space whose shapes, flattened with settings, may reach the
// box from lo to hi, in drawing order. Entities with nothing to draw are never
// listed; erased ones may be (callers skip them as they skip everything they
// cannot open).
std::vector<AcDbObjectId> entitiesNear(AcDbDatabase& db, AcDbObjectId space, const FlattenSettings& settings,
                                       const AcGePoint2d& lo, const AcGePoint2d& hi);

// Reads every entity of model and paper space into the index now, with the
// drawing's point style, so that the first pick answers at once: a session a
// person works in does this as it opens a drawing.
void prepareSelectionIndex(AcDbDatabase& db);

}  // namespace fendo::editor
