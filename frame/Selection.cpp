// Selection toolkit of the module.
#include "frame/Selection.h"

#include <cstring>
#include "host/db/AcDbObject.h"
#include "host/editor/AcApDocManager.h"
#include "host/editor/acedSS.h"

namespace {
ACHAR* copyText(const ACHAR* text)
{
    const size_t n = text ? std::wcslen(text) : 0;
    auto* copy = new ACHAR[n + 1];
    if (n) std::wmemcpy(copy, text, n);
    copy[n] = 0;
    return copy;
}

// Converts every member of a selection set to ids, in set order, and frees the set.
int idsFromSet(const ads_name ss, std::vector<AcDbObjectId>& ids)
{
    Adesk::Int32 length = 0;
    if (acedSSLength(ss, &length) != RTNORM) {
        acedSSFree(ss);
        return 0;
    }
    ids.assign(static_cast<size_t>(length), AcDbObjectId());
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name ent;
        if (acedSSName(ss, i, ent) == RTNORM) acdbGetObjectId(ids[static_cast<size_t>(i)], ent);
    }
    acedSSFree(ss);
    return static_cast<int>(ids.size());
}
}  // namespace

// ---- CResbuf -----------------------------------------------------------------------

CResbuf::CResbuf(short code, const ACHAR* text) { append(code, text); }

CResbuf::CResbuf(const CResbuf& other) { appendCopy(other.m_head); }

CResbuf::CResbuf(const CResbuf& first, const CResbuf& second)
{
    appendCopy(first.m_head);
    appendCopy(second.m_head);
}

CResbuf& CResbuf::operator=(const CResbuf& other)
{
    if (this != &other) {
        release();
        appendCopy(other.m_head);
    }
    return *this;
}

CResbuf::~CResbuf() { release(); }

void CResbuf::append(const CResbuf& other) { appendCopy(other.m_head); }

void CResbuf::append(short code, const ACHAR* text)
{
    resbuf* rb = acutNewRb(code);
    rb->resval.rstring = copyText(text);
    if (m_tail)
        m_tail->rbnext = rb;
    else
        m_head = rb;
    m_tail = rb;
}

void CResbuf::appendCopy(const resbuf* chain)
{
    if (!chain) return;
    resbuf* copy = acutDupRb(chain);
    if (m_tail)
        m_tail->rbnext = copy;
    else
        m_head = copy;
    m_tail = copy;
    while (m_tail->rbnext) m_tail = m_tail->rbnext;
}

void CResbuf::release()
{
    if (m_head) acutRelRb(m_head);
    m_head = m_tail = nullptr;
}

// ---- FilterObjects -----------------------------------------------------------------

void FilterObjects::addType(const ACHAR* dxfName)
{
    if (!dxfName) return;
    for (const auto& t : m_types)
        if (t == dxfName) return;
    m_types.emplace_back(dxfName);
}

void FilterObjects::addLayer(const ACHAR* layerName)
{
    if (!layerName) return;
    if (m_layers.empty())
        m_layers = layerName;
    else if (m_layers.find(layerName) == std::wstring::npos)
        m_layers += std::wstring(L",") + layerName;
}

void FilterObjects::reset()
{
    m_filter.release();
    m_types.clear();
    m_excludedTypes.clear();
    m_layers.clear();
    m_excludedTypes.emplace_back(L"VIEWPORT");
    m_ids.clear();
}

void FilterObjects::buildFilter()
{
    m_filter.release();
    bool any = false;
    m_filter.append(-4, L"<and");
    if (!m_types.empty()) {
        m_filter.append(-4, L"<or");
        for (const auto& t : m_types) m_filter.append(0, t.c_str());
        m_filter.append(-4, L"or>");
        any = true;
    }
    for (const auto& t : m_excludedTypes) {
        m_filter.append(-4, L"<not");
        m_filter.append(0, t.c_str());
        m_filter.append(-4, L"not>");
        any = true;
    }
    if (!m_layers.empty()) {
        m_filter.append(-4, L"<or");
        m_filter.append(8, m_layers.c_str());
        m_filter.append(-4, L"or>");
        any = true;
    }
    m_filter.append(-4, L"and>");
    if (!any) m_filter.release();
}

int FilterObjects::run(const ACHAR* mode, const void* pt1, const void* pt2)
{
    buildFilter();
    ads_name ss;
    if (acedSSGet(mode, pt1, pt2, m_filter.head(), ss) != RTNORM) return 0;
    return idsFromSet(ss, m_ids);
}

int FilterObjects::select(const ACHAR* prompt)
{
    const ACHAR* prompts[2] = {prompt, prompt};
    return run(L":$", prompts, nullptr);
}

int FilterObjects::selectOne(const ACHAR* prompt)
{
    const ACHAR* prompts[2] = {prompt, prompt};
    return run(L":$+.:S", prompts, nullptr);
}

int FilterObjects::selectAll() { return run(L"X", nullptr, nullptr); }

int FilterObjects::selectPolygon(const AcGePoint3dArray& points, int kind)
{
    static const ACHAR* const modes[] = {L"_CP", L"_F", L"_WP"};
    if (kind < 0 || kind > 2) return 0;
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (const AcGePoint3d& p : points) {
        resbuf* rb = acutNewRb(RT3DPOINT);
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
    }
    const int n = run(modes[kind], head, nullptr);
    if (head) acutRelRb(head);
    return n;
}

// ---- predicates --------------------------------------------------------------------

bool sset::EntityCondition::test(const AcDbEntity*) const { return false; }

bool sset::KindOf::test(const AcDbEntity* entity) const { return entity && entity->isKindOf(m_class); }

bool sset::OrCondition::test(const AcDbEntity* entity) const { return m_left.test(entity) || m_right.test(entity); }

// ---- lock, picks, erase ------------------------------------------------------------

OpenForWrite::OpenForWrite() { acDocManagerPtr()->lockDocument(acDocManagerPtr()->curDocument(), AcAp::kWrite); }

OpenForWrite::~OpenForWrite() { acDocManagerPtr()->unlockDocument(acDocManagerPtr()->curDocument()); }

int selectMatching(std::vector<AcDbObjectId>& ids, const sset::EntityCondition& condition, const ACHAR* selectPrompt,
                   const ACHAR* removePrompt, Highlight highlight)
{
    ids.clear();
    const ACHAR* prompts[2] = {selectPrompt, removePrompt};
    ads_name ss;
    if (acedSSGet(L":$", prompts, nullptr, nullptr, ss) != RTNORM) return 0;
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name ent;
        AcDbObjectId id;
        if (acedSSName(ss, i, ent) != RTNORM || acdbGetObjectId(id, ent) != Acad::eOk) continue;
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        if (condition.test(entity)) {
            ids.push_back(id);
            if (highlight == Highlight::Yes) entity->highlight();
        }
        entity->close();
    }
    acedSSFree(ss);
    return static_cast<int>(ids.size());
}

AcDbObjectId pickEntity(const ACHAR* prompt, Highlight highlight, AcGePoint3d* pickPoint)
{
    ads_name ent;
    ads_point pt;
    if (acedEntSel(prompt, ent, pt) != RTNORM) return AcDbObjectId();
    AcDbObjectId id;
    if (acdbGetObjectId(id, ent) != Acad::eOk) return AcDbObjectId();
    if (pickPoint) *pickPoint = AcGePoint3d(pt[0], pt[1], pt[2]);
    if (highlight == Highlight::Yes) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) == Acad::eOk) {
            entity->highlight();
            entity->close();
        }
    }
    return id;
}

bool pickMatching(AcDbObjectId& id, const ACHAR* prompt, const sset::EntityCondition& condition, Highlight highlight)
{
    id = pickEntity(prompt ? prompt : L"\nSelect object: ", Highlight::No);
    if (id.isNull()) return false;
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    const bool ok = condition.test(entity);
    if (ok && highlight == Highlight::Yes) entity->highlight();
    entity->close();
    return ok;
}

int selectAllByFilter(const CResbuf& filter, std::vector<AcDbObjectId>& ids, AppendIds append)
{
    ads_name ss;
    if (append == AppendIds::No) ids.clear();
    if (acedSSGet(L"X", nullptr, nullptr, filter.head(), ss) != RTNORM) return static_cast<int>(ids.size());
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name ent;
        AcDbObjectId id;
        if (acedSSName(ss, i, ent) == RTNORM && acdbGetObjectId(id, ent) == Acad::eOk) ids.push_back(id);
    }
    acedSSFree(ss);
    return static_cast<int>(ids.size());
}

void eraseEntity(AcDbObjectId id)
{
    if (id.isNull()) return;
    OpenForWrite lock;
    AcDbObject* obj = nullptr;
    if (acdbOpenObject(obj, id, AcDb::kForWrite) != Acad::eOk) return;
    obj->erase();
    obj->close();
}
