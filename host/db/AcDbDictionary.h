// Dictionaries: named, ordered collections of objects (the named object dictionary,
// ACAD_GROUP, ACAD_TABLESTYLE, extension dictionaries).
#pragma once
#include <map>
#include <vector>
#include "host/db/AcDbObject.h"

class AcDbDictionaryIterator;

class AcDbDictionary : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbDictionary);

public:
    Acad::ErrorStatus getAt(const ACHAR* key, AcDbObject*& obj, AcDb::OpenMode mode) const;
    Acad::ErrorStatus getAt(const ACHAR* key, AcDbObjectId& id) const;
    bool has(const ACHAR* key) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus nameAt(AcDbObjectId id, AcString& key) const;
    // Adds or replaces an entry (the dictionary must be open for write). A new object is
    // added to the database and owned by this dictionary; it stays open for the caller.
    Acad::ErrorStatus setAt(const ACHAR* key, AcDbObject* newValue, AcDbObjectId& newId);
    Acad::ErrorStatus remove(const ACHAR* key);
    Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
    int numEntries() const { return static_cast<int>(m_order.size()); }
    // Entries in the order they were added.
    const std::vector<std::pair<std::wstring, AcDbObjectId>>& entries() const { return m_order; }
    AcDbDictionaryIterator* newIterator() const;
    // Group 281 (duplicate record cloning) and 280 (hard owner) as read.
    int mergeStyle() const { return m_merge; }
    bool isHardOwner() const { return m_hardOwner; }
    void setHardOwner(bool hard) { m_hardOwner = hard; }

    // Used while loading: adds an entry without checks.
    void appendLoadedEntry(const std::wstring& key, AcDbObjectId id);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::vector<std::pair<std::wstring, AcDbObjectId>> m_order;
    // Entries a file gave as hard owners (360) in a dictionary not marked so (280): written
    // back as they were, beside the soft-owner (350) ones.
    std::vector<AcDbObjectId> m_hardEntries;
    int m_merge = 1;
    bool m_hardOwner = false;
};

class AcDbDictionaryIterator {
public:
    const ACHAR* name() const;
    AcDbObjectId objectId() const;
    Acad::ErrorStatus getObject(AcDbObject*& obj, AcDb::OpenMode mode) const;
    bool done() const { return m_pos >= m_entries.size(); }
    bool next() { ++m_pos; return !done(); }

private:
    friend class AcDbDictionary;
    explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
        : m_entries(std::move(entries)) {}
    std::vector<std::pair<std::wstring, AcDbObjectId>> m_entries;
    size_t m_pos = 0;
};
