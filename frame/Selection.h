// How commands ask for their objects: selection by DXF type and layer through a host
// filter (FilterObjects), selection by class after the pick (sset predicates), single
// picks, the document write lock, owned result-buffer chains and erasing by id.
#pragma once
#include <string>
#include <vector>
#include "host/core/adsdef.h"
#include "host/db/AcDbEntity.h"

// An owned chain of host result buffers (head and tail).
class CResbuf {
public:
    CResbuf() = default;
    CResbuf(short code, const ACHAR* text);
    CResbuf(const CResbuf& other);
    CResbuf(const CResbuf& first, const CResbuf& second);
    CResbuf& operator=(const CResbuf& other);
    ~CResbuf();

    resbuf* head() const { return m_head; }
    bool isEmpty() const { return m_head == nullptr; }
    // Appends a copy of another chain.
    void append(const CResbuf& other);
    void append(short code, const ACHAR* text);
    void release();

private:
    void appendCopy(const resbuf* chain);
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

// Selection by DXF type names and layers; one per command run.
class FilterObjects {
public:
    FilterObjects() = default;
    FilterObjects(const FilterObjects&) = delete;
    FilterObjects& operator=(const FilterObjects&) = delete;

    void addType(const ACHAR* dxfName);
    void addLayer(const ACHAR* layerName);
    // Forgets types, layers and ids and excludes viewports.
    void reset();

    int select(const ACHAR* prompt);
    int selectOne(const ACHAR* prompt);
    int selectAll();
    // kind 0 crossing polygon, 1 fence, 2 window polygon; any other kind selects nothing.
    int selectPolygon(const AcGePoint3dArray& points, int kind);

    int count() const { return static_cast<int>(m_ids.size()); }
    AcDbObjectId idAt(int index) const { return m_ids.at(index); }
    const std::vector<AcDbObjectId>& ids() const { return m_ids; }
    // The filter chain of the last selection, or null when no condition applied.
    const resbuf* filter() const { return m_filter.head(); }

private:
    void buildFilter();
    int run(const ACHAR* mode, const void* pt1, const void* pt2);

    CResbuf m_filter;
    std::vector<std::wstring> m_types;
    std::vector<std::wstring> m_excludedTypes;
    std::wstring m_layers;
    std::vector<AcDbObjectId> m_ids;
};

namespace sset {
class EntityCondition {
public:
    virtual ~EntityCondition() = default;
    virtual bool test(const AcDbEntity* entity) const;
};

// The entity's class is cls or derives from it.
class KindOf : public EntityCondition {
public:
    explicit KindOf(AcRxClass* cls) : m_class(cls) {}
    bool test(const AcDbEntity* entity) const override;

private:
    AcRxClass* m_class;
};

class BinaryCondition : public EntityCondition {
public:
    BinaryCondition(const EntityCondition& left, const EntityCondition& right) : m_left(left), m_right(right) {}

protected:
    const EntityCondition& m_left;
    const EntityCondition& m_right;
};

class OrCondition : public BinaryCondition {
public:
    using BinaryCondition::BinaryCondition;
    bool test(const AcDbEntity* entity) const override;
};
}  // namespace sset

// The document write lock for the lifetime of the scope.
class OpenForWrite {
public:
    OpenForWrite();
    ~OpenForWrite();
    OpenForWrite(const OpenForWrite&) = delete;
    OpenForWrite& operator=(const OpenForWrite&) = delete;
};

enum class Highlight { No, Yes };

// Selects with the host's general selection, keeping the objects the condition accepts in
// the order they were picked. Returns their number.
int selectMatching(std::vector<AcDbObjectId>& ids, const sset::EntityCondition& condition, const ACHAR* selectPrompt,
                   const ACHAR* removePrompt, Highlight highlight);
// One pick; the null id when nothing was picked. pickPoint receives the point picked at.
AcDbObjectId pickEntity(const ACHAR* prompt, Highlight highlight, AcGePoint3d* pickPoint = nullptr);
// One pick that must pass the condition.
bool pickMatching(AcDbObjectId& id, const ACHAR* prompt, const sset::EntityCondition& condition, Highlight highlight);
// Every object matching a hand-built filter, without asking.
enum class AppendIds { No, Yes };
int selectAllByFilter(const CResbuf& filter, std::vector<AcDbObjectId>& ids, AppendIds append);
void eraseEntity(AcDbObjectId id);
