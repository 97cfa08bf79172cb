// Iterator over the subentities of a heavy polyline or a block reference (vertices,
// attributes), in order, skipping erased ones.
#pragma once
#include <vector>
#include "host/db/AcDbEntity.h"

class AcDbObjectIterator {
public:
    struct Item {
        AcDbObjectId id;       // null for subentities of an entity not in a database
        AcDbEntity* entity;    // the subentity (not opened by the iterator); null until asked
                               // for a subentity its owner holds compactly
    };
    explicit AcDbObjectIterator(std::vector<Item> items) : m_items(std::move(items)) { skipErased(true); }

    bool done() const { return m_pos < 0 || m_pos >= static_cast<long>(m_items.size()); }
    void start(bool atEnd = false);
    void step(bool backwards = false, bool skipErased = true);
    bool seek(AcDbObjectId id);
    bool seek(const AcDbEntity* entity);
    AcDbObjectId objectId() const { return done() ? AcDbObjectId() : m_items[m_pos].id; }
    // The subentity itself; open it by objectId() for changes when it is in a database.
    AcDbEntity* entity() const;

private:
    void skipErased(bool forward);
    mutable std::vector<Item> m_items;
    long m_pos = 0;
};
