// Selection sets of the stand-in host: acedSSGet with its modes and filter lists,
// set access, acedEntSel, and the host's wildcard matching.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"
#include "host/db/AcString.h"
#include "host/editor/Editor.h"
#include "host/editor/SelectionIndex.h"
#include "host/editor/SelectionInput.h"
#include "host/editor/SysVars.h"
#include "host/editor/acedSS.h"
#include "host/gi/FlattenDraw.h"

namespace {
using fendo::gi::FlatShape;

// ---- wildcards ---------------------------------------------------------------------

bool matchOne(const std::wstring& s, size_t si, const std::wstring& p, size_t pi)
{
    while (pi < p.size()) {
        const wchar_t c = p[pi];
        if (c == L'*') {
            for (size_t k = si; k <= s.size(); ++k)
                if (matchOne(s, k, p, pi + 1)) return true;
            return false;
        }
        if (si >= s.size()) return false;
        const wchar_t ch = s[si];
        if (c == L'?') {
        } else if (c == L'#') {
            if (!std::iswdigit(ch)) return false;
        } else if (c == L'@') {
            if (!std::iswalpha(ch)) return false;
        } else if (c == L'.') {
            if (std::iswalnum(ch)) return false;
        } else if (c == L'[') {
            size_t end = p.find(L']', pi + 1);
            if (end == std::wstring::npos) return false;
            bool negate = pi + 1 < end && p[pi + 1] == L'~';
            bool hit = false;
            for (size_t k = pi + 1 + (negate ? 1 : 0); k < end; ++k) {
                if (k + 2 < end && p[k + 1] == L'-') {
                    if (std::towupper(ch) >= std::towupper(p[k]) && std::towupper(ch) <= std::towupper(p[k + 2]))
                        hit = true;
                    k += 2;
                } else if (std::towupper(p[k]) == std::towupper(ch)) {
                    hit = true;
                }
            }
            if (hit == negate) return false;
            pi = end + 1;
            ++si;
            continue;
        } else {
            wchar_t lit = c;
            if (c == L'`' && pi + 1 < p.size()) lit = p[++pi];
            if (std::towupper(lit) != std::towupper(ch)) return false;
        }
        ++pi;
        ++si;
    }
    return si == s.size();
}

// ---- filter evaluation -------------------------------------------------------------

// Answers of a filter's name groups already worked out during one walk: layer names by the
// layer's record, type names by the entity's class (objects kept as read carry their own
// type name and are asked each time). Saves building two names and matching wildcards per
// entity on walks over a whole drawing.
class FilterMemo {
public:
    template <typename Match>
    bool answer(const resbuf* group, const void* key, Match&& match)
    {
        if (!key) return match();
        // Entities come in runs of one class and one layer: the last answer is asked for most.
        if (group == m_lastGroup && key == m_lastKey) return m_lastAnswer;
        const auto [it, added] = m_answers.try_emplace(std::make_pair(group, key), false);
        if (added) it->second = match();
        m_lastGroup = group;
        m_lastKey = key;
        m_lastAnswer = it->second;
        return it->second;
    }

private:
    const resbuf* m_lastGroup = nullptr;
    const void* m_lastKey = nullptr;
    bool m_lastAnswer = false;
    struct KeyHash {
        size_t operator()(const std::pair<const resbuf*, const void*>& k) const noexcept
        {
            return std::hash<const void*>()(k.first) * 31 + std::hash<const void*>()(k.second);
        }
    };
    std::unordered_map<std::pair<const resbuf*, const void*>, bool, KeyHash> m_answers;
};

struct FilterEval {
    const resbuf* rb;
    AcDbEntity* entity;
    FilterMemo* memo;

    bool groupMatches(const resbuf* g) const
    {
        switch (g->restype) {
        case 0: {
            const void* key = memo && !AcDbUnknownEntity::cast(entity) ? entity->isA() : nullptr;
            auto match = [&] { return acutWcMatch(entity->dxfTypeName().c_str(), g->resval.rstring); };
            return memo ? memo->answer(g, key, match) : match();
        }
        case 8: {
            auto match = [&] { return acutWcMatch(entity->layer().c_str(), g->resval.rstring); };
            return memo ? memo->answer(g, entity->layerId().stub(), match) : match();
        }
        case 62: return entity->colorIndex() == g->resval.rint;
        default: return true;  // groups the host does not filter on here pass
        }
    }
    // Evaluates one term (a group or a bracketed operator); advances rb past it.
    bool term()
    {
        if (rb->restype != -4) {
            const bool ok = groupMatches(rb);
            rb = rb->rbnext;
            return ok;
        }
        // Runs once per entity on walks over a whole drawing: the operator is read in place and
        // its operands counted, with nothing allocated.
        const std::wstring_view op = rb->resval.rstring ? rb->resval.rstring : L"";
        rb = rb->rbnext;
        if (op.size() < 2) return true;
        const std::wstring_view name = op.substr(1);
        std::size_t operands = 0, passed = 0;
        bool firstPassed = false;
        while (rb && !(rb->restype == -4 && rb->resval.rstring && rb->resval.rstring[0] != L'<')) {
            const bool v = term();
            if (operands++ == 0) firstPassed = v;
            passed += v ? 1 : 0;
        }
        if (rb) rb = rb->rbnext;  // the closing operator
        if (fendo::equalsNoCase(name, L"and")) return passed == operands;
        if (fendo::equalsNoCase(name, L"or")) return passed > 0;
        if (fendo::equalsNoCase(name, L"xor")) return passed == 1;
        if (fendo::equalsNoCase(name, L"not")) return operands > 0 && !firstPassed;
        return true;
    }
};

bool passesFilter(AcDbEntity* entity, const resbuf* filter, FilterMemo* memo = nullptr)
{
    if (!filter) return true;
    FilterEval ev{filter, entity, memo};
    bool ok = true;
    while (ev.rb && ok) ok = ev.term();
    return ok;
}

// ---- the drawing side --------------------------------------------------------------

AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }

double sysReal(const wchar_t* name, double fallback)
{
    auto v = fendo::editor::getSysVar(name);
    if (!v) return fallback;
    if (auto* d = std::get_if<double>(&*v)) return *d;
    if (auto* s = std::get_if<short>(&*v)) return *s;
    return fallback;
}

// The pick-box radius in drawing units.
double pickRadius() { return sysReal(L"PICKBOX", 3) * 0.25 / 100.0 * sysReal(L"VIEWSIZE", 100); }

bool layerVisible(AcDbEntity* e)
{
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, e->layerId(), AcDb::kForRead) != Acad::eOk) return true;
    const bool visible = !layer->isOff() && !layer->isFrozen();
    layer->close();
    return visible;
}

enum class Visibility { OnlyVisible, Any };

// The entities of the current space (and, for "X", paper space too) in drawing order.
std::vector<AcDbObjectId> candidateIds(bool allSpaces)
{
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* d = db();
    if (!d) return ids;
    std::vector<AcDbObjectId> spaces{d->currentSpaceId()};
    if (allSpaces) {
        const AcDbObjectId other = spaces[0] == d->modelSpaceId() ? d->paperSpaceId() : d->modelSpaceId();
        if (!other.isNull()) spaces.push_back(other);
    }
    for (const AcDbObjectId& spaceId : spaces) {
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk) continue;
        for (const AcDbObjectId& id : space->entityIds())
            if (!id.isErased()) ids.push_back(id);
        space->close();
    }
    return ids;
}

double chordTolerance() { return std::max(pickRadius() / 4, 1e-6); }

// The vertices and end marker of a polyline kept as read (a polyface or polygon mesh) stay in
// their space's sequence after it, so that they are written back in place; they are parts of
// that polyline, never objects of their own to select.
bool isKeptSubentity(const AcDbEntity& e)
{
    if (!AcDbUnknownEntity::cast(&e)) return false;
    const std::wstring type = e.dxfTypeName();
    return type == L"VERTEX" || type == L"SEQEND";
}

// Visits the candidates (ids, in drawing order) that pass the filter, open for read.
template <typename Fn>
void forEachOf(const std::vector<AcDbObjectId>& ids, const resbuf* filter, Visibility visibility, Fn&& fn)
{
    const double tol = chordTolerance();
    FilterMemo memo;
    // Entities come in runs on one layer, and layers do not change during a walk.
    AcDbObjectId lastLayer;
    bool lastLayerVisible = true;
    auto onVisibleLayer = [&](AcDbEntity* e) {
        if (e->layerId() != lastLayer || lastLayer.isNull()) {
            lastLayer = e->layerId();
            lastLayerVisible = layerVisible(e);
        }
        return lastLayerVisible;
    };
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
        if (isKeptSubentity(*e)) {
            e->close();
            continue;
        }
        if ((visibility == Visibility::Any || (e->visibility() == AcDb::kVisible && onVisibleLayer(e))) &&
            passesFilter(e, filter, &memo)) {
            fn(id, *e, tol);
        }
        e->close();
    }
}

// Visits every entity of the current space (and for "X" of both spaces) that passes the filter.
template <typename Fn>
void forEachCandidate(const resbuf* filter, Visibility visibility, bool allSpaces, Fn&& fn)
{
    forEachOf(candidateIds(allSpaces), filter, visibility, std::forward<Fn>(fn));
}

// The entities of the current space whose shapes may reach the box from lo to hi, in
// drawing order: through the index, or every entity when selection scans.
std::vector<AcDbObjectId> candidatesNear(AcGePoint2d lo, AcGePoint2d hi)
{
    AcDbDatabase* d = db();
    if (!d) return {};
    if (fendo::editor::selectionSearch() == fendo::editor::SelectionSearch::Scan) return candidateIds(false);
    // Tests on the shapes round near the box's edges: widen it a little.
    const double e = 1e-9 * std::max({1.0, std::abs(lo.x), std::abs(lo.y), std::abs(hi.x), std::abs(hi.y)});
    lo = AcGePoint2d(lo.x - e, lo.y - e);
    hi = AcGePoint2d(hi.x + e, hi.y + e);
    const fendo::editor::FlattenSettings settings{d->pdmode(), d->pdsize()};
    return fendo::editor::entitiesNear(*d, d->currentSpaceId(), settings, lo, hi);
}

std::vector<AcDbObjectId> candidatesNear(const std::vector<AcGePoint2d>& points)
{
    AcGePoint2d lo(HUGE_VAL, HUGE_VAL), hi(-HUGE_VAL, -HUGE_VAL);
    for (const AcGePoint2d& p : points) {
        lo = AcGePoint2d(std::min(lo.x, p.x), std::min(lo.y, p.y));
        hi = AcGePoint2d(std::max(hi.x, p.x), std::max(hi.y, p.y));
    }
    return candidatesNear(lo, hi);
}

std::vector<FlatShape> shapesOf(AcDbEntity& e, double tol) { return fendo::gi::flattenEntity(e, tol); }

std::optional<AcDbObjectId> nearestAt(const AcGePoint2d& p, const resbuf* filter)
{
    const double r = pickRadius();
    std::optional<AcDbObjectId> best;
    double bestDist = HUGE_VAL;
    const auto near = candidatesNear(AcGePoint2d(p.x - r, p.y - r), AcGePoint2d(p.x + r, p.y + r));
    forEachOf(near, filter, Visibility::OnlyVisible, [&](const AcDbObjectId& id, AcDbEntity& e, double tol) {
        double d = HUGE_VAL;
        for (const FlatShape& s : shapesOf(e, tol)) d = std::min(d, fendo::gi::distanceToShape(s, p));
        if (d <= r && d <= bestDist) {  // "<=": a tie goes to the object drawn last
            bestDist = d;
            best = id;
        }
    });
    return best;
}

enum class AreaTest { Inside, Touches, Fence };

std::vector<AcDbObjectId> byArea(const std::vector<AcGePoint2d>& polygon, AreaTest test, const resbuf* filter)
{
    std::vector<AcDbObjectId> out;
    const auto near = candidatesNear(polygon);
    forEachOf(near, filter, Visibility::OnlyVisible, [&](const AcDbObjectId& id, AcDbEntity& e, double tol) {
        const auto shapes = shapesOf(e, tol);
        if (shapes.empty()) return;
        bool hit = false;
        switch (test) {
        case AreaTest::Inside:
            hit = std::all_of(shapes.begin(), shapes.end(),
                              [&](const FlatShape& s) { return fendo::gi::shapeInsidePolygon(s, polygon); });
            break;
        case AreaTest::Touches:
            hit = std::any_of(shapes.begin(), shapes.end(),
                              [&](const FlatShape& s) { return fendo::gi::shapeTouchesPolygon(s, polygon); });
            break;
        case AreaTest::Fence:
            hit = std::any_of(shapes.begin(), shapes.end(),
                              [&](const FlatShape& s) { return fendo::gi::shapeCrossesFence(s, polygon); });
            break;
        }
        if (hit) out.push_back(id);
    });
    return out;
}

std::vector<AcGePoint2d> rect(const fendo::editor::Point3& a, const fendo::editor::Point3& b)
{
    const double x0 = std::min(a[0], b[0]), x1 = std::max(a[0], b[0]), y0 = std::min(a[1], b[1]), y1 = std::max(a[1], b[1]);
    // A window of no width still selects what lies on its line.
    const double e = 1e-9 * std::max({1.0, std::abs(x1), std::abs(y1)});
    return {AcGePoint2d(x0 - e, y0 - e), AcGePoint2d(x1 + e, y0 - e), AcGePoint2d(x1 + e, y1 + e),
            AcGePoint2d(x0 - e, y1 + e)};
}

AcDbObjectId lastEntity(const resbuf* filter)
{
    AcDbObjectId last;
    forEachCandidate(filter, Visibility::Any, false, [&](const AcDbObjectId& id, AcDbEntity&, double) { last = id; });
    return last;
}

// ---- selection sets ----------------------------------------------------------------

struct SetStore {
    std::map<std::int64_t, std::vector<AcDbObjectId>> sets;
    std::int64_t next = 1;
    std::vector<AcDbObjectId> previous;
};
SetStore& store()
{
    static SetStore s;
    return s;
}

int makeSet(std::vector<AcDbObjectId> ids, ads_name ss)
{
    if (ids.empty()) return RTERROR;
    store().previous = ids;
    const std::int64_t key = store().next++;
    store().sets[key] = std::move(ids);
    ss[0] = key;
    ss[1] = 0;
    return RTNORM;
}

const std::vector<AcDbObjectId>* findSet(const ads_name ss)
{
    auto it = store().sets.find(ss[0]);
    return it == store().sets.end() ? nullptr : &it->second;
}

AcDbObjectId byHandle(std::uint64_t h)
{
    AcDbDatabase* d = db();
    if (!d) return {};
    AcDbObjectId id = d->idFromHandle(AcDbHandle(h));
    if (!id.isValid() || id.isErased()) return {};
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return {};
    e->close();
    return id;
}

class DrawingResolver : public fendo::editor::SelectionResolver {
public:
    explicit DrawingResolver(const resbuf* filter) : m_filter(filter) {}
    std::vector<std::uint64_t> resolve(const fendo::editor::SelectionItem& item) override
    {
        using Kind = fendo::editor::SelectionItem::Kind;
        std::vector<AcDbObjectId> ids;
        switch (item.kind) {
        case Kind::Point:
            if (auto id = nearestAt(AcGePoint2d(item.points[0][0], item.points[0][1]), m_filter)) ids.push_back(*id);
            break;
        case Kind::Window: ids = byArea(rect(item.points[0], item.points[1]), AreaTest::Inside, m_filter); break;
        case Kind::Crossing: ids = byArea(rect(item.points[0], item.points[1]), AreaTest::Touches, m_filter); break;
        case Kind::All:
            forEachCandidate(m_filter, Visibility::OnlyVisible, false,
                             [&](const AcDbObjectId& id, AcDbEntity&, double) { ids.push_back(id); });
            break;
        case Kind::Last:
            if (AcDbObjectId id = lastEntity(m_filter); !id.isNull()) ids.push_back(id);
            break;
        case Kind::Previous: ids = store().previous; break;
        case Kind::Handles:
            for (std::uint64_t h : item.handles) {
                AcDbObjectId id = byHandle(h);
                if (id.isNull()) continue;
                AcDbEntity* e = nullptr;
                if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
                if (passesFilter(e, m_filter)) ids.push_back(id);
                e->close();
            }
            break;
        }
        std::vector<std::uint64_t> handles;
        for (const auto& id : ids) handles.push_back(id.handle().value());
        return handles;
    }

private:
    const resbuf* m_filter;
};

std::vector<AcGePoint2d> pointsFromChain(const void* pt1)
{
    std::vector<AcGePoint2d> pts;
    for (auto* rb = static_cast<const resbuf*>(pt1); rb; rb = rb->rbnext)
        if (rb->restype == RTPOINT || rb->restype == RT3DPOINT) pts.emplace_back(rb->resval.rpoint[0], rb->resval.rpoint[1]);
    return pts;
}

std::vector<AcDbObjectId> idsFromHandles(const std::vector<std::uint64_t>& handles)
{
    std::vector<AcDbObjectId> ids;
    for (std::uint64_t h : handles)
        if (AcDbObjectId id = db()->idFromHandle(AcDbHandle(h)); !id.isNull()) ids.push_back(id);
    return ids;
}
}  // namespace

bool acutWcMatch(const ACHAR* string, const ACHAR* pattern)
{
    if (!string || !pattern) return false;
    const std::wstring s = string;
    std::wstring p = pattern;
    // Comma-separated alternatives; "`," is a literal comma.
    std::vector<std::wstring> alternatives(1);
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == L'`' && i + 1 < p.size()) {
            alternatives.back() += p[i];
            alternatives.back() += p[++i];
        } else if (p[i] == L',') {
            alternatives.emplace_back();
        } else {
            alternatives.back() += p[i];
        }
    }
    for (const auto& alt : alternatives) {
        if (!alt.empty() && alt[0] == L'~') {
            if (!matchOne(s, 0, alt, 1)) return true;
        } else if (matchOne(s, 0, alt, 0)) {
            return true;
        }
    }
    return false;
}

int acedSSGet(const ACHAR* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss)
{
    if (!db()) return RTERROR;
    const std::wstring m = mode ? mode : L"";
    std::vector<AcDbObjectId> ids;
    if (m == L"X" || m == L"_X") {
        forEachCandidate(filter, Visibility::Any, true,
                         [&](const AcDbObjectId& id, AcDbEntity&, double) { ids.push_back(id); });
        return makeSet(std::move(ids), ss);
    }
    if (m == L"_CP" || m == L"CP" || m == L"_WP" || m == L"WP" || m == L"_F" || m == L"F") {
        const auto pts = pointsFromChain(pt1);
        const AreaTest test = (m.find(L"CP") != std::wstring::npos) ? AreaTest::Touches
                              : (m.find(L"WP") != std::wstring::npos) ? AreaTest::Inside
                                                                       : AreaTest::Fence;
        if (pts.size() < (test == AreaTest::Fence ? 2u : 3u)) return RTERROR;
        return makeSet(byArea(pts, test, filter), ss);
    }
    if ((m == L"_W" || m == L"W" || m == L"_C" || m == L"C") && pt1 && pt2) {
        const auto* a = static_cast<const double*>(pt1);
        const auto* b = static_cast<const double*>(pt2);
        const auto r = rect({a[0], a[1], 0}, {b[0], b[1], 0});
        return makeSet(byArea(r, m.back() == L'W' ? AreaTest::Inside : AreaTest::Touches, filter), ss);
    }
    if (m == L"_L" || m == L"L") {
        if (AcDbObjectId id = lastEntity(filter); !id.isNull()) ids.push_back(id);
        return makeSet(std::move(ids), ss);
    }
    if (m == L"_P" || m == L"P") return makeSet(store().previous, ss);

    // Interactive modes.
    const ACHAR* addPrompt = nullptr;
    const ACHAR* removePrompt = nullptr;
    if (m.find(L":$") != std::wstring::npos && pt1) {
        const auto* prompts = static_cast<const ACHAR* const*>(pt1);
        addPrompt = prompts[0];
        removePrompt = prompts[1];
    }
    const bool single = m.find(L":S") != std::wstring::npos;
    DrawingResolver resolver(filter);
    std::vector<std::uint64_t> handles;
    const int rc = fendo::editor::readSelection(
        addPrompt, removePrompt, single ? fendo::editor::SelectionMode::Single : fendo::editor::SelectionMode::Multiple,
        resolver, handles);
    if (rc != RTNORM) return rc;
    return makeSet(idsFromHandles(handles), ss);
}

int acedSSLength(const ads_name ss, Adesk::Int32* length)
{
    const auto* set = findSet(ss);
    if (!set || !length) return RTERROR;
    *length = static_cast<Adesk::Int32>(set->size());
    return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 index, ads_name entity)
{
    const auto* set = findSet(ss);
    if (!set || index < 0 || static_cast<size_t>(index) >= set->size()) return RTERROR;
    return acdbGetAdsName(entity, (*set)[static_cast<size_t>(index)]) == Acad::eOk ? RTNORM : RTERROR;
}

int acedSSNameX(resbuf** result, const ads_name ss, Adesk::Int32 index, unsigned int)
{
    ads_name ent;
    if (!result || acedSSName(ss, index, ent) != RTNORM) return RTERROR;
    resbuf* head = acutNewRb(RTLB);
    resbuf* method = acutNewRb(RTSHORT);
    method->resval.rint = 0;
    resbuf* name = acutNewRb(RTENAME);
    acdbNameSet(ent, name->resval.rlname);
    resbuf* tail = acutNewRb(RTLE);
    head->rbnext = method;
    method->rbnext = name;
    name->rbnext = tail;
    *result = head;
    return RTNORM;
}

int acedSSFree(const ads_name ss) { return store().sets.erase(ss[0]) ? RTNORM : RTERROR; }

int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result)
{
    std::vector<AcDbObjectId> ids;
    if (ss && !acdbNameNil(ss))
        if (const auto* set = findSet(ss)) ids = *set;
    if (entity) {
        AcDbObjectId id;
        if (acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    }
    if (ss && !acdbNameNil(ss) && findSet(ss)) {
        store().sets[ss[0]] = std::move(ids);
        acdbNameSet(ss, result);
        return RTNORM;
    }
    const std::int64_t key = store().next++;
    store().sets[key] = std::move(ids);
    result[0] = key;
    result[1] = 0;
    return RTNORM;
}

int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point pickPoint)
{
    if (!db()) return RTERROR;
    fendo::editor::EntityPickAnswer answer;
    const int rc = fendo::editor::readEntityPick(prompt ? prompt : L"\nSelect object: ", answer);
    if (rc != RTNORM) return rc;
    AcDbObjectId id;
    AcGePoint3d at(answer.point[0], answer.point[1], answer.point[2]);
    if (answer.kind == fendo::editor::EntityPickAnswer::Kind::Handle) {
        id = byHandle(answer.handle);
        if (!id.isNull()) {
            // A pick by handle picks at the first point the object draws.
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) == Acad::eOk) {
                const auto shapes = fendo::gi::flattenEntity(*e, 0.01);
                if (!shapes.empty()) at = AcGePoint3d(shapes[0].points[0].x, shapes[0].points[0].y, 0);
                e->close();
            }
        }
    } else if (auto found = nearestAt(AcGePoint2d(at.x, at.y), nullptr)) {
        id = *found;
    }
    if (id.isNull()) {
        fendo::editor::editor().write(L"\nNothing selected.");
        return RTERROR;
    }
    acdbGetAdsName(entity, id);
    pickPoint[0] = at.x;
    pickPoint[1] = at.y;
    pickPoint[2] = at.z;
    return RTNORM;
}

int acdbEntLast(ads_name entity)
{
    AcDbObjectId id = lastEntity(nullptr);
    if (id.isNull()) return RTERROR;
    return acdbGetAdsName(entity, id) == Acad::eOk ? RTNORM : RTERROR;
}
